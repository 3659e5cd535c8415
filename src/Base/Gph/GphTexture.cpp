#include "Base/Gph/GphTexture.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "Base/App/Globals.h"
#include "Base/App/Log.h"
#include "Base/App/TaggedText.h"
#include "Base/Gph/GphImage.h"

GLuint GphTexture::s_lastBoundId = 0;

GphTexture::GphTexture()
    : _image(nullptr),
      _id(0),
      _minFilter(0),
      _magFilter(0),
      _sWrap(0),
      _tWrap(0),
      _mode(0),
      _blendColour(nullptr)
{
    enlist();
}

GphTexture::GphTexture(GphImage* image, GLenum minFilter, GLenum magFilter, GLenum sWrap, GLenum tWrap,
                       GLenum mode, const float* blendColour)
    : _image(image),
      _id(0),
      _minFilter(minFilter),
      _magFilter(magFilter),
      _sWrap(sWrap),
      _tWrap(tWrap),
      _mode(mode),
      _blendColour(nullptr)
{
    if (_image == nullptr) return;
    setBlendColour(blendColour);
    acquireId();
    enlist();
}

GphTexture::GphTexture(const GphTexture& other)
    : _image(nullptr),
      _id(0),
      _minFilter(other._minFilter),
      _magFilter(other._magFilter),
      _sWrap(other._sWrap),
      _tWrap(other._tWrap),
      _mode(other._mode),
      _blendColour(nullptr)
{
    setBlendColour(other._blendColour);
    if (other._image != nullptr) {
        _image = GphImage::load(other._image->getFileName(), other._image->isTransparent());
        if (_image != nullptr) acquireId();
    }
    enlist();
}

GphTexture::~GphTexture()
{
    auto listed = std::find(GphTextureList.begin(), GphTextureList.end(), this);
    if (listed != GphTextureList.end()) GphTextureList.erase(listed);
    setBlendColour(nullptr);
    releaseId();
    GphImage::release(_image);
}

int GphTexture::read(std::istream& in)
{
    int value = 0;
    auto readEnum = [&](GLenum& field) {
        if (TaggedText::readValue(in, value) != 0) return -1;
        field = static_cast<GLenum>(value);
        return 0;
    };
    const int result = TaggedText::readBlock(in, "</TEXTURE>", [&](const std::string& tag) {
        if (tag == "<IMAGE>") {
            // A texture that already had a picture gives it up for the one read.
            releaseId();
            GphImage::release(_image);
            _image = GphImage::readTagged(in);
            return _image != nullptr ? 0 : -1;
        }
        if (tag == "<MIN_FILTER>") return readEnum(_minFilter);
        if (tag == "<MAG_FILTER>") return readEnum(_magFilter);
        if (tag == "<S_WRAP>") return readEnum(_sWrap);
        if (tag == "<T_WRAP>") return readEnum(_tWrap);
        if (tag == "<MODE>") return readEnum(_mode);
        if (tag == "<BLEND_COLOR>") {
            float colour[4];
            if (!(in >> colour[0] >> colour[1] >> colour[2] >> colour[3])) return -1;
            std::string closing;
            if (!TaggedText::readToken(in, closing)) return -1;
            setBlendColour(colour);
            return 0;
        }
        return TaggedText::kUnknownTag;
    });
    if (result != 0) return -1;
    if (_image != nullptr && _id == 0) {
        acquireId();
        enlist();
    }
    return 0;
}

int GphTexture::write(std::ostream& out)
{
    out << "<TEXTURE>\n";
    TaggedText::writeField(out, "MIN_FILTER", _minFilter);
    TaggedText::writeField(out, "MAG_FILTER", _magFilter);
    TaggedText::writeField(out, "S_WRAP", _sWrap);
    TaggedText::writeField(out, "T_WRAP", _tWrap);
    TaggedText::writeField(out, "MODE", _mode);
    if (_blendColour != nullptr) {
        out << "<BLEND_COLOR>\n"
            << _blendColour[0] << ' ' << _blendColour[1] << ' ' << _blendColour[2] << ' ' << _blendColour[3]
            << "\n</BLEND_COLOR>\n";
    }
    const int result = _image != nullptr ? _image->write(out) : -1;
    if (result == 0) out << "</TEXTURE>\n";
    return result;
}

void GphTexture::bind()
{
    if (_id == s_lastBoundId) return;
    glBindTexture(GL_TEXTURE_2D, _id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(_magFilter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(_minFilter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(_sWrap));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(_tWrap));
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLint>(_mode));
    if (_mode == GL_BLEND && _blendColour != nullptr) glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, _blendColour);
    s_lastBoundId = _id;
}

void GphTexture::deleteAll()
{
    std::map<GphImage*, bool> done;
    for (GphTexture* texture : GphTextureList) {
        if (texture->_image == nullptr || texture->_id == 0 || done[texture->_image]) continue;
        done[texture->_image] = true;
        glDeleteTextures(1, &texture->_id);
    }
    // The names just freed may come back from glGenTextures for other pictures.
    s_lastBoundId = 0;
}

void GphTexture::reloadAll()
{
    s_lastBoundId = 0;

    // Old ids are looked up in a copy of the counts, and their entries replaced only at the
    // end: a newly generated name may equal the old id of a picture not reloaded yet.
    const std::map<unsigned int, int> oldCounts = GphTextureRefCounts;
    struct Reloaded {
        GLuint oldId;
        GLuint newId;
        int count;
    };
    std::vector<Reloaded> reloaded;
    std::map<GphImage*, GLuint> done;

    for (GphTexture* texture : GphTextureList) {
        if (texture->_image == nullptr || texture->_id == 0) continue;
        auto already = done.find(texture->_image);
        if (already != done.end()) {
            texture->_id = already->second;
            continue;
        }
        auto idEntry = GphTextureIdMap.find(texture->_image);
        auto countEntry = oldCounts.find(texture->_id);
        if (idEntry == GphTextureIdMap.end() || countEntry == oldCounts.end()) {
            LOG("Failed to find reference count for texture id");
            continue;
        }
        GLuint newId = 0;
        glGenTextures(1, &newId);
        reloaded.push_back({texture->_id, newId, countEntry->second});
        idEntry->second = newId;
        texture->_id = newId;
        texture->bind();
        upload(texture->_image);
        done[texture->_image] = newId;
    }

    for (const Reloaded& r : reloaded) GphTextureRefCounts.erase(r.oldId);
    for (const Reloaded& r : reloaded) GphTextureRefCounts[r.newId] = r.count;
}

uint32_t GphTexture::getWidth() const
{
    return _image != nullptr ? _image->getWidth() : 0;
}

uint32_t GphTexture::getHeight() const
{
    return _image != nullptr ? _image->getHeight() : 0;
}

void GphTexture::setBlendColour(const float* colour)
{
    if (colour == nullptr) {
        delete[] _blendColour;
        _blendColour = nullptr;
        return;
    }
    if (_blendColour == nullptr) _blendColour = new float[4];
    std::copy(colour, colour + 4, _blendColour);
}

void GphTexture::acquireId()
{
    auto shared = GphTextureIdMap.find(_image);
    if (shared != GphTextureIdMap.end()) {
        _id = shared->second;
        ++GphTextureRefCounts[_id];
        return;
    }
    glGenTextures(1, &_id);
    GphTextureIdMap[_image] = _id;
    GphTextureRefCounts[_id] = 1;
    bind();
    upload(_image);
}

void GphTexture::releaseId()
{
    if (_id == 0) return;
    auto count = GphTextureRefCounts.find(_id);
    bool deleteTexture = true;
    if (count != GphTextureRefCounts.end()) {
        --count->second;
        deleteTexture = count->second < 1;
        if (deleteTexture) {
            GphTextureRefCounts.erase(count);
            GphTextureIdMap.erase(_image);
        }
    }
    if (deleteTexture) {
        glDeleteTextures(1, &_id);
        if (s_lastBoundId == _id) s_lastBoundId = 0;
    }
    _id = 0;
}

void GphTexture::upload(GphImage* image)
{
    const unsigned char* pixels = image->getPixels();
    if (pixels == nullptr) return;
    // Rows are tightly packed whatever their width.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(image->getBitsPerPixel() / 8),
                 static_cast<GLsizei>(image->getWidth()), static_cast<GLsizei>(image->getHeight()), 0,
                 image->getFormat(), image->getType(), pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    image->freePixels();
}

void GphTexture::enlist()
{
    if (std::find(GphTextureList.begin(), GphTextureList.end(), this) == GphTextureList.end())
        GphTextureList.push_back(this);
}
