#include "FloorLoop.h"

#include <SDL/SDL.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace bench {

namespace {

// A sprite-sized picture with a see-through surround, drawn blended as most of a room's
// rectangles are.
constexpr int kPictureSide = 64;
constexpr int kSurround = 8;
// The rectangles are laid over the window in rows, each pass shifted so that they do not
// all cover the same pixels.
constexpr double kPassShift = 23;

}  // namespace

FloorLoop::FloorLoop(int width, int height) : _width(width), _height(height), _texture(0)
{
    std::vector<unsigned char> pixels(kPictureSide * kPictureSide * 4);
    for (int y = 0; y < kPictureSide; ++y) {
        for (int x = 0; x < kPictureSide; ++x) {
            unsigned char* p = &pixels[static_cast<size_t>(4 * (y * kPictureSide + x))];
            const bool inside = x >= kSurround && y >= kSurround && x < kPictureSide - kSurround &&
                                y < kPictureSide - kSurround;
            p[0] = static_cast<unsigned char>(4 * x);
            p[1] = static_cast<unsigned char>(4 * y);
            p[2] = 160;
            p[3] = inside ? 255 : 0;
        }
    }
    GLint kept = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &kept);
    glGenTextures(1, &_texture);
    glBindTexture(GL_TEXTURE_2D, _texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kPictureSide, kPictureSide, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels.data());
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(kept));
}

FloorLoop::~FloorLoop()
{
    glDeleteTextures(1, &_texture);
}

void FloorLoop::begin()
{
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, _width, 0, _height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, _texture);
    glColor4f(1, 1, 1, 1);
}

void FloorLoop::frame(int count, int blended, double side)
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
    glClear(GL_COLOR_BUFFER_BIT);
    const double s = std::max(1.0, side);
    const int columns = std::max(1, static_cast<int>(_width / s));
    const int rows = std::max(1, static_cast<int>(_height / s));
    const int perPass = columns * rows;
    const int opaque = count - std::min(count, std::max(0, blended));
    glDisable(GL_BLEND);
    glBegin(GL_QUADS);
    for (int i = 0; i < count; ++i) {
        if (i == opaque) {
            glEnd();
            glEnable(GL_BLEND);
            glBegin(GL_QUADS);
        }
        const int pass = i / perPass;
        const int cell = i % perPass;
        const double shift = std::fmod(pass * kPassShift, s);
        const float x = static_cast<float>((cell % columns) * s + shift);
        const float y = static_cast<float>((cell / columns) * s + shift);
        const float e = static_cast<float>(s);
        glTexCoord2f(0, 0);
        glVertex2f(x, y);
        glTexCoord2f(1, 0);
        glVertex2f(x + e, y);
        glTexCoord2f(1, 1);
        glVertex2f(x + e, y + e);
        glTexCoord2f(0, 1);
        glVertex2f(x, y + e);
    }
    glEnd();
    SDL_GL_SwapBuffers();
}

void FloorLoop::end()
{
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
}

}  // namespace bench
