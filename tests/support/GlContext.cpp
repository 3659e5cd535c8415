#include "support/GlContext.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <dlfcn.h>

#include <string>

namespace testsupport {

void keepGlDriverLoaded()
{
    // Mesa unloads its driver when the last context goes; the leak checker then cannot
    // name the driver's own allocations and so cannot tell them from ours.
    static bool done = false;
    if (done) return;
    done = true;
    for (const char* name : {"libgallium_dri.so", "swrast_dri.so"}) {
        const std::string path = std::string("/usr/lib/x86_64-linux-gnu/dri/") + name;
        dlopen(path.c_str(), RTLD_LAZY | RTLD_NODELETE);
    }
    for (const char* name : {"libEGL_mesa.so.0", "libGLX_mesa.so.0"})
        dlopen(name, RTLD_LAZY | RTLD_NODELETE);
}

GlContext::GlContext(int width, int height) : _ok(false)
{
    keepGlDriverLoaded();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0 || SDL_WasInit(SDL_INIT_VIDEO) == 0) return;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    _ok = SDL_SetVideoMode(width, height, 0, SDL_OPENGL) != nullptr;
}

GlContext::~GlContext()
{
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

std::array<unsigned char, 3> readPixel(int x, int y)
{
    std::array<unsigned char, 3> rgb{};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // Under Xvfb the visual may have no back buffer even when double buffering was asked
    // for; read whichever buffer drawing goes to.
    GLint drawBuffer = GL_BACK;
    glGetIntegerv(GL_DRAW_BUFFER, &drawBuffer);
    glReadBuffer(static_cast<GLenum>(drawBuffer));
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

}  // namespace testsupport
