#ifndef KOVO_BENCH_FLOORLOOP_H
#define KOVO_BENCH_FLOORLOOP_H

#include <GL/gl.h>

namespace bench {

// The floor under the game's frame: as many textured rectangles as the game drew, of the
// same mean size in pixels and as many of them blended, drawn the way the barest SDL and
// OpenGL program draws them (one texture bound once, one batch of quads for the opaque ones
// and one for the blended ones, no game code), each frame draining SDL's events, clearing
// and swapping like the game.
//
// It draws in the window that is open, so that it meets the same driver, visual and load as
// the game frames measured beside it; begin and end keep the game's OpenGL state around it.
class FloorLoop {
public:
    // The window's size in pixels; the OpenGL context must be current.
    FloorLoop(int width, int height);
    ~FloorLoop();
    FloorLoop(const FloorLoop&) = delete;
    FloorLoop& operator=(const FloorLoop&) = delete;

    // Saves the game's state and sets the floor's own.
    void begin();
    // One frame of `count` squares of `side` pixels, the last `blended` of them blended.
    void frame(int count, int blended, double side);
    // Puts the game's state back.
    void end();

private:
    int _width;
    int _height;
    GLuint _texture;
};

}  // namespace bench

#endif
