#ifndef KOVO_TESTS_BASE_GPH_GPHDRAWTESTSUPPORT_H
#define KOVO_TESTS_BASE_GPH_GPHDRAWTESTSUPPORT_H

#include <SDL/SDL.h>
#include <dlfcn.h>

#include <string>

#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphViewportOrthogonal.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "ImageFiles.h"
#include "support/Files.h"
#include "support/GlContext.h"

// The picture and the window of the drawing tests.
namespace gphdraw {

// 64 x 64: the top half red, the bottom half blue, the leftmost 16 columns black. Every
// 8 x 8 block is one colour, so that even JPEG gives the colours back without bleeding.
inline imagefiles::Picture redTopBlueBottom()
{
    imagefiles::Picture p(64, 64);
    for (int row = 0; row < 64; ++row) {
        for (int x = 0; x < 64; ++x) {
            p.at(x, row) = x < 16 ? imagefiles::kBlack : row < 32 ? imagefiles::kRed : imagefiles::kBlue;
        }
    }
    return p;
}

// Writes the picture in the format its name's extension says.
inline void writePicture(const std::string& name, const imagefiles::Picture& p)
{
    const std::string extension = name.substr(name.rfind('.') + 1);
    if (extension == "bmp") {
        testsupport::writeFile(name, imagefiles::bmpBytes(p));
    } else if (extension == "pcx") {
        testsupport::writeFile(name, imagefiles::pcxBytes(p));
    } else {
        imagefiles::writeJpeg(name, p);
    }
}

// The game's window: 800 x 600, orthogonal, zoom 400 so that one world unit is one pixel,
// the camera at the origin in the window's centre. A suite that opens it closes it at its end.
inline GphWindow* openWindow()
{
    testsupport::keepGlDriverLoaded();
    // Mesa's EGL vendor library is unloaded with SDL's video and loaded again with the next
    // window; kept mapped, the leak checker can name (and so tell apart) its allocations.
    dlopen("libEGL_mesa.so.0", RTLD_LAZY | RTLD_NODELETE);
    // A test that shut SDL's video down took the window's OpenGL context with it: the
    // window object left behind is of no use and a new one is opened.
    GphWindow* stale = GphWindow::getInstance();
    if (stale && (!SDL_WasInit(SDL_INIT_VIDEO) || !SDL_GetVideoSurface())) delete stale;
    if (!SDL_WasInit(SDL_INIT_VIDEO)) SDL_InitSubSystem(SDL_INIT_VIDEO);
    GphWindow* window = GphWindow::create(800, 600, 16, false, true, 1.0, 10000.0, 45.0, 400.0, nullptr);
    if (!window) return nullptr;
    // Another test may have left the window at another zoom or place.
    if (auto* ortho = dynamic_cast<GphViewportOrthogonal*>(window->getViewport())) ortho->setZoom(400.0);
    window->getCamera()->setPosition(ShpCoord(0, 0, 0));
    window->disableLighting();
    return window;
}

// Closes the window, so that the next suite starts without one.
inline void closeWindow()
{
    delete GphWindow::getInstance();
}

}  // namespace gphdraw

#endif
