#include "Base/Gph/GphImage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "Base/App/Globals.h"
#include "Base/App/Log.h"
#include "Base/App/Platform.h"
#include "Base/App/TaggedText.h"
#include "Base/Gph/GphImageBmp.h"
#include "Base/Gph/GphImageJpg.h"
#include "Base/Gph/GphImagePcx.h"

GphImage* GphImage::load(const std::string& fileName, bool transparency)
{
    if (fileName.empty()) return nullptr;

    auto cached = GphImageCache.find(fileName);
    if (cached != GphImageCache.end()) {
        cached->second->addRef();
        return cached->second;
    }

    const size_t dot = fileName.rfind('.');
    if (dot == std::string::npos) return nullptr;
    const std::string extension = fileName.substr(dot + 1);

    GphImage* image = nullptr;
    if (extension == "bmp" || extension == "BMP") {
        image = new GphImageBmp(fileName, transparency);
    } else if (extension == "jpg" || extension == "JPG") {
        image = new GphImageJpg(fileName, transparency);
    } else if (extension == "pcx" || extension == "PCX") {
        image = new GphImagePcx(fileName, transparency);
    } else {
        LOG("ERROR! Unsupported image file type!");
        return nullptr;
    }

    if (image->load() != 0) {
        delete image;
        return nullptr;
    }
    image->setTransparency(transparency);
    GphImageCache[fileName] = image;
    return image;
}

void GphImage::release(GphImage*& image)
{
    if (image == nullptr) return;
    image->decRef();
    if (image->getRefCount() > 0) {
        image = nullptr;
        return;
    }
    auto entry = GphImageCache.find(image->getFileName());
    if (entry != GphImageCache.end() && entry->second == image) {
        GphImageCache.erase(entry);
    } else {
        LOG("ERROR! Failed to find image in map");
    }
    delete image;
    image = nullptr;
}

GphImage* GphImage::readTagged(std::istream& in)
{
    // The block's seven tokens are taken by position: "<FILENAME>", the name,
    // "</FILENAME>", "<TRANSPARENCY>", the flag, "</TRANSPARENCY>", "</IMAGE>".
    std::string tag;
    std::string fileName;
    int flag = 0;
    bool ok = TaggedText::readToken(in, tag) && TaggedText::readToken(in, fileName) &&
              TaggedText::readToken(in, tag) && TaggedText::readToken(in, tag);
    ok = ok && static_cast<bool>(in >> flag);
    ok = ok && TaggedText::readToken(in, tag) && TaggedText::readToken(in, tag);
    if (!ok) {
        LOG("ERROR! Failed to read image block");
        return nullptr;
    }
    return load(fileName, flag != 0);
}

GphImage::GphImage(const std::string& fileName, bool transparency)
    : _pixels(nullptr),
      _fileName(fileName),
      _width(0),
      _height(0),
      _bitsPerPixel(0),
      _transparent(transparency),
      _refCount(1)
{
}

GphImage::~GphImage()
{
    freePixels();
}

int GphImage::checkFileName()
{
    if (_fileName.empty()) {
        LOG("ERROR! Invalid file name!");
        return -1;
    }
    return 0;
}

int GphImage::write(std::ostream& out)
{
    out << "<IMAGE>\n";
    TaggedText::writeField(out, "FILENAME", _fileName);
    TaggedText::writeField(out, "TRANSPARENCY", _transparent ? 1 : 0);
    out << "</IMAGE>\n";
    return 0;
}

unsigned char* GphImage::getPixels()
{
    if (_pixels == nullptr) {
        if (load() != 0) {
            LOG("Failed to re-read image file!");
            freePixels();
            return nullptr;
        }
        setTransparency(_transparent);
    }
    return _pixels;
}

void GphImage::freePixels()
{
    delete[] _pixels;
    _pixels = nullptr;
}

GLenum GphImage::getFormat() const
{
    if (_transparent) return GL_RGBA;
    if (_bitsPerPixel == 24) return GL_RGB;
    if (_bitsPerPixel == 32) return GL_RGBA;
    LOG("ERROR! Unsupported color depth!");
    return GL_RGB;
}

void GphImage::setTransparency(bool on)
{
    _transparent = on;
    if (!on || _pixels == nullptr) return;

    const size_t count = static_cast<size_t>(_width) * _height;
    if (_bitsPerPixel == 32) {
        for (size_t i = 0; i < count; ++i) {
            unsigned char* p = _pixels + 4 * i;
            p[3] = (p[0] == 0 && p[1] == 0 && p[2] == 0) ? 0 : 255;
        }
        return;
    }

    const unsigned char* old = _pixels;
    unsigned char* widened = allocatePixels(count * 4);
    auto isBlack = [&](size_t x, size_t row) {
        const unsigned char* p = old + 3 * (row * _width + x);
        return p[0] == 0 && p[1] == 0 && p[2] == 0;
    };
    for (size_t row = 0; row < _height; ++row) {
        for (size_t x = 0; x < _width; ++x) {
            const unsigned char* from = old + 3 * (row * _width + x);
            unsigned char* to = widened + 4 * (row * _width + x);
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
            if (isBlack(x, row)) {
                to[3] = 0;
                continue;
            }
            int blackNeighbours = 0;
            if (x > 0 && isBlack(x - 1, row)) ++blackNeighbours;
            if (x + 1 < _width && isBlack(x + 1, row)) ++blackNeighbours;
            if (row > 0 && isBlack(x, row - 1)) ++blackNeighbours;
            if (row + 1 < _height && isBlack(x, row + 1)) ++blackNeighbours;
            to[3] = blackNeighbours >= 2 ? 127 : blackNeighbours == 1 ? 191 : 255;
        }
    }
    setPixels(widened);
    _bitsPerPixel = 32;
}

void GphImage::draw(const ShpRect& source, const ShpRect& destination)
{
    unsigned char* pixels = getPixels();
    if (pixels == nullptr) return;

    const GLsizei sourceWidth = std::abs(source.right - source.left);
    const GLsizei sourceHeight = std::abs(source.bottom - source.top);
    if (sourceWidth == 0 || sourceHeight == 0) return;
    const GLint sourceX = std::min(source.left, source.right);
    const GLint sourceY = std::min(source.top, source.bottom);
    const int destinationWidth = std::abs(destination.right - destination.left);
    const int destinationHeight = std::abs(destination.bottom - destination.top);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslated(0.0, 0.0, -1.0);
    glRasterPos2i(std::min(destination.left, destination.right),
                  std::min(destination.top, destination.bottom));

    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(_width));
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, sourceX);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, sourceY);
    glPixelZoom(static_cast<GLfloat>(destinationWidth) / sourceWidth,
                static_cast<GLfloat>(destinationHeight) / sourceHeight);
    glDrawPixels(sourceWidth, sourceHeight, getFormat(), GL_UNSIGNED_BYTE, pixels);
    glFinish();

    // Leave the unpack state as texture uploads expect it.
    glPixelZoom(1.0f, 1.0f);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

void GphImage::setPixels(unsigned char* pixels)
{
    if (pixels != _pixels) delete[] _pixels;
    _pixels = pixels;
}

unsigned char* GphImage::allocatePixels(size_t bytes)
{
    unsigned char* buffer = new (std::nothrow) unsigned char[bytes]();
    if (buffer == nullptr) {
        KOVO_NEW_FAILED();
    }
    return buffer;
}

bool GphImage::checkSize(const std::string& fileName, int64_t width, int64_t height)
{
    if (width <= 0 || height <= 0 || static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kMaxPixels) {
        LOG("ERROR! Unsupported image size " << width << " x " << height << " in " << fileName);
        return false;
    }
    return true;
}
