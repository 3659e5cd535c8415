#include "Base/Gph/GphAnimation.h"

#include "Base/Gph/GphImage.h"
#include "Base/Shp/ShpRect.h"

GphAnimation::GphAnimation() : _currentFrame(0), _drawsPerFrame(1), _counter(0) {}

GphAnimation::~GphAnimation() {}

void GphAnimation::addFrame(GphImage* image)
{
    _frames.push_back(image);
}

void GphAnimation::removeFrame(GphImage* image)
{
    std::vector<GphImage*> kept;
    for (GphImage* frame : _frames) {
        if (frame != image) kept.push_back(frame);
    }
    _frames.swap(kept);
    if (_currentFrame >= getFrameCount()) _currentFrame = 0;
}

bool GphAnimation::containsFrame(const GphImage* image) const
{
    for (const GphImage* frame : _frames) {
        if (frame == image) return true;
    }
    return false;
}

void GphAnimation::setCurrentFrame(unsigned frame)
{
    const unsigned count = getFrameCount();
    if (frame < count) {
        _currentFrame = frame;
    } else {
        _currentFrame = count > 0 ? count - 1 : 0;
    }
    _counter = 0;
}

GphImage* GphAnimation::getCurrentImage() const
{
    return _currentFrame < _frames.size() ? _frames[_currentFrame] : nullptr;
}

unsigned GphAnimation::getCurrentFrameWidth() const
{
    GphImage* image = getCurrentImage();
    return image ? image->getWidth() : 0;
}

unsigned GphAnimation::getCurrentFrameHeight() const
{
    GphImage* image = getCurrentImage();
    return image ? image->getHeight() : 0;
}

void GphAnimation::draw(const ShpRect& source, const ShpRect& destination)
{
    GphImage* image = getCurrentImage();
    if (!image) return;
    image->draw(source, destination);
    if (++_counter < _drawsPerFrame) return;
    _counter = 0;
    if (++_currentFrame >= getFrameCount()) _currentFrame = 0;
}
