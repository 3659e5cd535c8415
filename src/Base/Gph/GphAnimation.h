#ifndef KOVO_BASE_GPH_GPHANIMATION_H
#define KOVO_BASE_GPH_GPHANIMATION_H

#include <vector>

class GphImage;
class ShpRect;

// A frame sequence of images drawn straight to the frame buffer, paced by draws rather
// than by time: every `period` draws show the next image. The images are not owned.
class GphAnimation {
public:
    GphAnimation();
    virtual ~GphAnimation();

    void addFrame(GphImage* image);
    // Drops every entry of the image.
    void removeFrame(GphImage* image);
    bool containsFrame(const GphImage* image) const;
    unsigned getFrameCount() const { return static_cast<unsigned>(_frames.size()); }

    // A number at or beyond the frame count selects the last frame; the counter restarts.
    void setCurrentFrame(unsigned frame);
    unsigned getCurrentFrame() const { return _currentFrame; }
    void setDrawsPerFrame(unsigned draws) { _drawsPerFrame = draws; }
    unsigned getDrawsPerFrame() const { return _drawsPerFrame; }

    // The current image, null without frames.
    GphImage* getCurrentImage() const;
    unsigned getCurrentFrameWidth() const;
    unsigned getCurrentFrameHeight() const;

    // Draws the source part of the current image into the destination, then counts the
    // draw towards the next frame.
    void draw(const ShpRect& source, const ShpRect& destination);

private:
    std::vector<GphImage*> _frames;
    unsigned _currentFrame;
    unsigned _drawsPerFrame;
    unsigned _counter;
};

#endif
