#include "Base/Gph/GphWindow.h"

#include <GL/gl.h>

#include <new>

#include "Base/App/Log.h"
#include "Base/App/Platform.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphCursor.h"
#include "Base/Gph/GphObject.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Gph/GphViewportOrthogonal.h"
#include "Base/Gph/GphViewportPerspective.h"

namespace {

GphWindow* g_window = nullptr;

const char* const kModeRefusedText =
    "Required video mode not supported.\nIt is most likely a problem with your video driver.";
const char* const kErrorCaption = "Kovo Tarvell: error";
const char* const kNoAccelerationText =
    "No OpenGL hardware acceleration detected.\nGame performance may be slow.";
const char* const kWarningCaption = "Kovo Tarvell: warning";

Uint32 modeFlags(bool fullscreen)
{
    return SDL_HWSURFACE | SDL_OPENGL | SDL_DOUBLEBUF | (fullscreen ? SDL_FULLSCREEN : 0);
}

}  // namespace

GphWindow* GphWindow::create(int width, int height, int bpp, bool fullscreen, bool orthogonal,
                             double near, double far, double fovy, double zoom, GphCursor* cursor)
{
    if (g_window != nullptr) return g_window;

    const int answer =
        SDL_VideoModeOK(width, height, bpp, SDL_OPENGL | (fullscreen ? SDL_FULLSCREEN : 0));
    if (answer == 0) {
        AppPlatform::showMessage(kModeRefusedText, kErrorCaption);
        LOG("ERROR! Requested video mode not supported!");
        return nullptr;
    }
    LOG("SDL recommends a color depth of " << answer);

    GphWindow* window = new (std::nothrow)
        GphWindow(width, height, bpp, fullscreen, orthogonal, near, far, fovy, zoom, cursor);
    if (window == nullptr) {
        KOVO_NEW_FAILED();
    }
    g_window = window;
    return window;
}

GphWindow* GphWindow::getInstance()
{
    return g_window;
}

GphWindow::GphWindow(int width, int height, int bpp, bool fullscreen, bool orthogonal, double near,
                     double far, double fovy, double zoom, GphCursor* cursor)
    : _icon(nullptr),
      _screen(nullptr),
      _width(width),
      _height(height),
      _bpp(bpp),
      _fullscreen(fullscreen),
      _orthogonal(orthogonal),
      _near(near),
      _far(far),
      _zoom(zoom),
      _fovy(fovy),
      _cursor(nullptr),
      _defaultCursor(cursor),
      _camera(nullptr),
      _viewport(nullptr),
      _blending(false),
      _lighting(false),
      _texturing(false),
      _depthTest(false)
{
    prepareVideoMode();

    SDL_RWops* iconFile = SDL_RWFromFile("icon.bmp", "rb");
    if (iconFile != nullptr) _icon = SDL_LoadBMP_RW(iconFile, 1);
    if (_icon != nullptr) SDL_WM_SetIcon(_icon, nullptr);

    // A window starts at the top-left corner of the screen; later mode changes leave it be.
    if (!_fullscreen) AppPlatform::placeNextWindowTopLeft();
    const bool modeSet = setVideoMode();
    AppPlatform::forgetWindowPlacement();
    if (!modeSet) {
        LOG("ERROR! Failed to set video mode!");
        AppPlatform::exitFatal("ERROR! Failed to set video mode!");
    }

    warnWithoutAcceleration();
    setFixedGlState();

    _camera = new (std::nothrow) GphCamera();
    if (_camera == nullptr) {
        KOVO_NEW_FAILED();
    }
    GphViewport::setCamera(_camera);
    buildViewport();
    if (_orthogonal) glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    GphObject::setCamera(_camera);
}

GphWindow::~GphWindow()
{
    delete _viewport;
    _viewport = nullptr;
    if (GphViewport::getCamera() == _camera) GphViewport::setCamera(nullptr);
    if (GphObject::getCamera() == _camera) GphObject::setCamera(nullptr);
    delete _camera;
    _camera = nullptr;
    if (_icon != nullptr) SDL_FreeSurface(_icon);
    _icon = nullptr;
    if (g_window == this) g_window = nullptr;
}

void GphWindow::prepareVideoMode()
{
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (info == nullptr || info->vfmt == nullptr) {
        LOG("ERROR! Failed to get video information!");
        AppPlatform::exitFatal("ERROR! Failed to get video information!");
    }
    // The mode is set at the display's own depth; the depth asked for only served the
    // check in create.
    _bpp = info->vfmt->BitsPerPixel;

    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

bool GphWindow::setVideoMode()
{
    _screen = SDL_SetVideoMode(_width, _height, _bpp, modeFlags(_fullscreen));
    return _screen != nullptr;
}

void GphWindow::warnWithoutAcceleration()
{
    int accelerated = 1;
    if (SDL_GL_GetAttribute(SDL_GL_ACCELERATED_VISUAL, &accelerated) != 0) {
        LOG("Failed to retrieve hardware acceleration status");
        return;
    }
    if (accelerated == 0) AppPlatform::showMessage(kNoAccelerationText, kWarningCaption);
}

void GphWindow::setFixedGlState()
{
    glShadeModel(GL_FLAT);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}

void GphWindow::buildViewport()
{
    if (_orthogonal) {
        _viewport = new (std::nothrow)
            GphViewportOrthogonal(0, 0, _width, _height, _near, _far, _zoom);
    } else {
        _viewport = new (std::nothrow)
            GphViewportPerspective(0, 0, _width, _height, _near, _far, _fovy);
    }
    if (_viewport == nullptr) {
        KOVO_NEW_FAILED();
    }
    _camera->setViewport(_viewport);
}

void GphWindow::clearCachedSwitches()
{
    // A mode change may keep the OpenGL context; the capabilities are switched off so
    // that they agree with the cleared switches whether it did or not.
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    _blending = false;
    _lighting = false;
    _texturing = false;
    _depthTest = false;
}

int GphWindow::toggleFullscreen()
{
    _fullscreen = !_fullscreen;
    // The textures go before the mode does: the context they live in may go with it.
    GphTexture::deleteAll();

    prepareVideoMode();
    if (_icon != nullptr) SDL_WM_SetIcon(_icon, nullptr);
    int result = 0;
    if (!setVideoMode()) {
        LOG("ERROR! Failed to set video mode!");
        // Back to the mode the game was running in, so that it can go on as before.
        _fullscreen = !_fullscreen;
        prepareVideoMode();
        if (!setVideoMode()) {
            LOG("ERROR! Failed to restore the previous video mode!");
            AppPlatform::exitFatal("ERROR! Failed to restore the previous video mode!");
        }
        result = -1;
    }

    setFixedGlState();
    clearCachedSwitches();

    // The camera stays the same object for everyone who holds it, back at the origin
    // with its follow state cleared; the viewport is built again for the new context.
    _camera->setViewport(nullptr);
    delete _viewport;
    _viewport = nullptr;
    _camera->reset();
    GphViewport::setCamera(_camera);
    buildViewport();
    GphObject::setCamera(_camera);

    GphTexture::reloadAll();
    return result;
}

void GphWindow::clear()
{
    glClear(GL_COLOR_BUFFER_BIT);
}

void GphWindow::setClearColor(float r, float g, float b, float a)
{
    glClearColor(r, g, b, a);
}

void GphWindow::swapBuffers()
{
    SDL_GL_SwapBuffers();
}

void GphWindow::applyCaptions()
{
    SDL_WM_SetCaption(_caption.empty() ? nullptr : _caption.c_str(),
                      _iconCaption.empty() ? nullptr : _iconCaption.c_str());
}

void GphWindow::setCaption(const std::string& text)
{
    _caption = text;
    applyCaptions();
}

void GphWindow::setIconCaption(const std::string& text)
{
    _iconCaption = text;
    applyCaptions();
}

int GphWindow::iconify()
{
    if (SDL_WM_IconifyWindow() == 0) {
        LOG("ERROR! Failed to iconify window!");
        return -1;
    }
    return 0;
}

void GphWindow::showCursor()
{
    SDL_ShowCursor(SDL_ENABLE);
}

void GphWindow::hideCursor()
{
    SDL_ShowCursor(SDL_DISABLE);
}

bool GphWindow::isCursorShown() const
{
    return SDL_ShowCursor(SDL_QUERY) == 1;
}

void GphWindow::setCursor(GphCursor* cursor)
{
    _cursor = cursor;
    if (cursor != nullptr && cursor->getSdlCursor() != nullptr) SDL_SetCursor(cursor->getSdlCursor());
}

void GphWindow::enableBlending()
{
    if (_blending) return;
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    _blending = true;
}

void GphWindow::disableBlending()
{
    if (!_blending) return;
    glDisable(GL_BLEND);
    _blending = false;
}

void GphWindow::enableLighting()
{
    if (_lighting) return;
    glEnable(GL_LIGHTING);
    _lighting = true;
}

void GphWindow::disableLighting()
{
    if (!_lighting) return;
    glDisable(GL_LIGHTING);
    _lighting = false;
}

void GphWindow::enableTexturing()
{
    if (_texturing) return;
    glEnable(GL_TEXTURE_2D);
    _texturing = true;
}

void GphWindow::disableTexturing()
{
    if (!_texturing) return;
    glDisable(GL_TEXTURE_2D);
    _texturing = false;
}

void GphWindow::enableDepthTest()
{
    if (_depthTest) return;
    glClear(GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    _depthTest = true;
}

void GphWindow::disableDepthTest()
{
    if (!_depthTest) return;
    glDisable(GL_DEPTH_TEST);
    _depthTest = false;
}

void GphWindow::enableDepthWrite()
{
    glDepthMask(GL_TRUE);
}

void GphWindow::disableDepthWrite()
{
    glDepthMask(GL_FALSE);
}
