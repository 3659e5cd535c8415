#ifndef KOVO_TESTS_SUPPORT_GLCONTEXT_H
#define KOVO_TESTS_SUPPORT_GLCONTEXT_H

#include <array>

namespace testsupport {

// A plain SDL OpenGL window for tests that need a current GL context but not the game's
// window object. Opens 800x600 windowed on construction, quits SDL's video on destruction.
class GlContext {
public:
    GlContext(int width = 800, int height = 600);
    ~GlContext();
    bool ok() const { return _ok; }

private:
    bool _ok;
};

// Keeps Mesa's driver mapped for the whole run so that leak reports can name it.
void keepGlDriverLoaded();

// One pixel of the back buffer (x from the left, y from the bottom, as OpenGL counts).
std::array<unsigned char, 3> readPixel(int x, int y);

}  // namespace testsupport

#endif
