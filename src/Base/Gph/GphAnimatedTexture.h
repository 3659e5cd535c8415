#ifndef KOVO_BASE_GPH_GPHANIMATEDTEXTURE_H
#define KOVO_BASE_GPH_GPHANIMATEDTEXTURE_H

#include <istream>
#include <map>
#include <ostream>

class GphTexture;

// The look of every drawn thing: numbered texture frames shown one at a time, advanced by
// elapsed milliseconds at a fixed number of milliseconds per frame. A still picture is an
// animation of one frame. It owns its frame textures.
class GphAnimatedTexture {
public:
    GphAnimatedTexture();
    GphAnimatedTexture(const GphAnimatedTexture& other);
    GphAnimatedTexture& operator=(const GphAnimatedTexture&) = delete;

    virtual ~GphAnimatedTexture();
    // The "<ANIMATED_TEXTURE>" block; the caller has taken the opening tag.
    virtual int read(std::istream& in);
    virtual int write(std::ostream& out);

    // Takes ownership of the texture as the next frame.
    void addFrame(GphTexture* texture);
    void removeFrame(GphTexture* texture);
    bool containsFrame(const GphTexture* texture) const;
    const std::map<unsigned, GphTexture*>& getFrames() const { return _frames; }
    void clear();

    // A number at or beyond the frame count selects the last frame; the tick restarts.
    void setCurrentFrame(unsigned frame);
    unsigned getCurrentFrame() const { return _currentFrame; }
    unsigned getFrameCount() const { return static_cast<unsigned>(_frames.size()); }
    void setMillisecondsPerFrame(unsigned ms) { _msPerFrame = ms; }
    unsigned getMillisecondsPerFrame() const { return _msPerFrame; }
    unsigned getTick() const { return _tick; }

    GphTexture* getCurrentTexture() const;
    unsigned getCurrentFrameWidth() const;
    unsigned getCurrentFrameHeight() const;

    // Adds the elapsed time and steps at most one frame, wrapping at the frame count.
    void update(unsigned ms);
    // The one way every owner advances a look that may be missing: a null animation
    // is left alone.
    static void advance(GphAnimatedTexture* animation, unsigned ms);

    void bind();

private:
    // The texture of the current frame, or null (logged) when there is none.
    GphTexture* findCurrent(const char* failure) const;

    std::map<unsigned, GphTexture*> _frames;
    GphTexture* _single;
    unsigned _currentFrame;
    unsigned _msPerFrame;
    unsigned _tick;
};

#endif
