#include "Base/Gph/GphAnimatedTexture.h"

#include <string>
#include <vector>

#include "Base/App/Log.h"
#include "Base/App/TaggedText.h"
#include "Base/Gph/GphTexture.h"

GphAnimatedTexture::GphAnimatedTexture()
    : _single(nullptr), _currentFrame(0), _msPerFrame(1), _tick(0)
{
}

GphAnimatedTexture::GphAnimatedTexture(const GphAnimatedTexture& other)
    : _single(nullptr), _currentFrame(0), _msPerFrame(1), _tick(0)
{
    for (const auto& frame : other._frames) addFrame(new GphTexture(*frame.second));
    _currentFrame = other._currentFrame;
    _msPerFrame = other._msPerFrame;
    _tick = other._tick;
}

GphAnimatedTexture::~GphAnimatedTexture()
{
    clear();
}

void GphAnimatedTexture::addFrame(GphTexture* texture)
{
    _frames[getFrameCount()] = texture;
    _single = _frames.size() == 1 ? texture : nullptr;
}

void GphAnimatedTexture::removeFrame(GphTexture* texture)
{
    if (_single == texture) _single = nullptr;
    for (auto it = _frames.begin(); it != _frames.end(); ++it) {
        if (it->second != texture) continue;
        delete it->second;
        _frames.erase(it);
        break;
    }
    // Frames are renumbered from 0 so that the next frame added, numbered by the count,
    // cannot land on a number still in use.
    std::map<unsigned, GphTexture*> renumbered;
    unsigned number = 0;
    for (const auto& frame : _frames) renumbered[number++] = frame.second;
    _frames.swap(renumbered);
    _single = _frames.size() == 1 ? _frames.begin()->second : nullptr;
}

bool GphAnimatedTexture::containsFrame(const GphTexture* texture) const
{
    for (const auto& frame : _frames) {
        if (frame.second == texture) return true;
    }
    return false;
}

void GphAnimatedTexture::clear()
{
    for (auto& frame : _frames) delete frame.second;
    _frames.clear();
    _single = nullptr;
}

void GphAnimatedTexture::setCurrentFrame(unsigned frame)
{
    const unsigned count = getFrameCount();
    if (frame < count) {
        _currentFrame = frame;
    } else {
        _currentFrame = count > 0 ? count - 1 : 0;
    }
    _tick = 0;
}

GphTexture* GphAnimatedTexture::getCurrentTexture() const
{
    if (_single) return _single;
    auto it = _frames.find(_currentFrame);
    return it != _frames.end() ? it->second : nullptr;
}

GphTexture* GphAnimatedTexture::findCurrent(const char* failure) const
{
    GphTexture* texture = getCurrentTexture();
    if (!texture) LOG(failure);
    return texture;
}

unsigned GphAnimatedTexture::getCurrentFrameWidth() const
{
    GphTexture* texture = findCurrent("ERROR!  Failed to find current frame!");
    return texture ? texture->getWidth() : 0;
}

unsigned GphAnimatedTexture::getCurrentFrameHeight() const
{
    GphTexture* texture = findCurrent("ERROR!  Failed to find current frame!");
    return texture ? texture->getHeight() : 0;
}

void GphAnimatedTexture::update(unsigned ms)
{
    _tick += ms;
    if (_tick < _msPerFrame) return;
    // One frame per call at most; the rest of the tick carries over.
    _tick -= _msPerFrame;
    ++_currentFrame;
    if (_currentFrame >= getFrameCount()) _currentFrame = 0;
}

void GphAnimatedTexture::advance(GphAnimatedTexture* animation, unsigned ms)
{
    if (animation) animation->update(ms);
}

void GphAnimatedTexture::bind()
{
    GphTexture* texture = findCurrent("ERROR! Failed to find current frame!");
    if (texture) texture->bind();
}

int GphAnimatedTexture::write(std::ostream& out)
{
    out << "<ANIMATED_TEXTURE>\n";
    TaggedText::writeField(out, "CURRENT_FRAME", _currentFrame);
    TaggedText::writeField(out, "MILLISECONDS_PER_FRAME", _msPerFrame);
    TaggedText::writeField(out, "CURRENT_TICK", _tick);
    int result = 0;
    for (const auto& frame : _frames) {
        out << "<FRAME>\n";
        result = frame.second->write(out);
        if (result != 0) break;
        out << "</FRAME>\n";
    }
    out << "</ANIMATED_TEXTURE>\n";
    out.flush();
    return result;
}

int GphAnimatedTexture::read(std::istream& in)
{
    return TaggedText::readBlock(in, "</ANIMATED_TEXTURE>", [&](const std::string& tag) {
        if (tag == "<CURRENT_FRAME>") return TaggedText::readValue(in, _currentFrame);
        if (tag == "<MILLISECONDS_PER_FRAME>") return TaggedText::readValue(in, _msPerFrame);
        if (tag == "<CURRENT_TICK>") return TaggedText::readValue(in, _tick);
        if (tag == "<FRAME>") {
            std::string token;
            if (!TaggedText::readToken(in, token)) return -1;  // the texture's opening tag
            GphTexture* texture = new GphTexture();
            const int result = texture->read(in);
            addFrame(texture);
            if (!TaggedText::readToken(in, token)) return -1;  // "</FRAME>"
            return result;
        }
        return TaggedText::kUnknownTag;
    });
}
