#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <SDL/SDL_syswm.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "Base/App/Platform.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphCursor.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphObject.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Gph/GphViewportOrthogonal.h"
#include "Base/Gph/GphViewportPerspective.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Gph/ImageFiles.h"
#include "support/Files.h"
#include "support/GlContext.h"

// Faults injected into SDL itself, to reach the window's failure paths on a machine
// where every mode can be set. Each switch is off unless a test turns it on.
namespace sdlfault {
bool failFullscreenModes = false;  // SDL_SetVideoMode refuses any full-screen mode
bool failEveryMode = false;        // SDL_SetVideoMode refuses everything
bool refuseModeCheck = false;      // SDL_VideoModeOK answers 0
bool noVideoInfo = false;          // SDL_GetVideoInfo answers null
int acceleration = -1;             // -1 real answer; 0 or 1 that answer; 2 a failed query
// What the window handed to SDL_WM_SetIcon, passed on unchanged.
int iconsSet = 0;
int lastIconWidth = 0;
}  // namespace sdlfault

template <class F>
static F realSdl(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

extern "C" SDL_Surface* SDL_SetVideoMode(int width, int height, int bpp, Uint32 flags)
{
    static auto real = realSdl<SDL_Surface* (*)(int, int, int, Uint32)>("SDL_SetVideoMode");
    if (sdlfault::failEveryMode) return nullptr;
    if (sdlfault::failFullscreenModes && (flags & SDL_FULLSCREEN) != 0) return nullptr;
    return real(width, height, bpp, flags);
}

extern "C" void SDL_WM_SetIcon(SDL_Surface* icon, Uint8* mask)
{
    static auto real = realSdl<void (*)(SDL_Surface*, Uint8*)>("SDL_WM_SetIcon");
    ++sdlfault::iconsSet;
    sdlfault::lastIconWidth = icon != nullptr ? icon->w : -1;
    real(icon, mask);
}

extern "C" int SDL_VideoModeOK(int width, int height, int bpp, Uint32 flags)
{
    static auto real = realSdl<int (*)(int, int, int, Uint32)>("SDL_VideoModeOK");
    if (sdlfault::refuseModeCheck) return 0;
    return real(width, height, bpp, flags);
}

extern "C" const SDL_VideoInfo* SDL_GetVideoInfo(void)
{
    static auto real = realSdl<const SDL_VideoInfo* (*)(void)>("SDL_GetVideoInfo");
    if (sdlfault::noVideoInfo) return nullptr;
    return real();
}

extern "C" int SDL_GL_GetAttribute(SDL_GLattr attr, int* value)
{
    static auto real = realSdl<int (*)(SDL_GLattr, int*)>("SDL_GL_GetAttribute");
    if (attr == SDL_GL_ACCELERATED_VISUAL && sdlfault::acceleration >= 0) {
        if (sdlfault::acceleration == 2) return -1;
        *value = sdlfault::acceleration;
        return 0;
    }
    return real(attr, value);
}

namespace {

using imagefiles::Picture;

void resetFaults()
{
    sdlfault::failFullscreenModes = false;
    sdlfault::failEveryMode = false;
    sdlfault::refuseModeCheck = false;
    sdlfault::noVideoInfo = false;
    sdlfault::acceleration = -1;
    sdlfault::iconsSet = 0;
    sdlfault::lastIconWidth = 0;
}

// Starts SDL's video on the X11 driver whatever the environment asks for: these tests need a
// window the display holds.
bool startX11Video()
{
    const char* kDriver = "SDL_VIDEODRIVER";
    const char* previous = std::getenv(kDriver);
    const std::string kept = previous != nullptr ? previous : "";
    setenv(kDriver, "x11", 1);
    const bool started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0 && SDL_WasInit(SDL_INIT_VIDEO) != 0;
    if (previous != nullptr) {
        setenv(kDriver, kept.c_str(), 1);
    } else {
        unsetenv(kDriver);
    }
    return started;
}

GphWindow* openGameWindow(bool fullscreen = false)
{
    return GphWindow::create(800, 600, 16, fullscreen, true, 1.0, 10000.0, 45.0, 512.0, nullptr);
}

// Every test starts with SDL's video up and no window, and ends with both gone.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::keepGlDriverLoaded();
        resetFaults();
        ASSERT_TRUE(startX11Video()) << SDL_GetError();
        ASSERT_EQ(nullptr, GphWindow::getInstance());
    }
    void TearDown() override
    {
        delete GphWindow::getInstance();
        resetFaults();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    // Draws `texture` over a 20 by 20 pixel square at the window's centre and reads the
    // centre pixel back.
    static std::array<unsigned char, 3> drawTextured(GphWindow* window, GphTexture& texture)
    {
        window->clear();
        window->enableTexturing();
        texture.bind();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(0, 0, -10);
        glColor4f(1, 1, 1, 1);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0);
        glVertex3f(-10, -10, 0);
        glTexCoord2f(1, 0);
        glVertex3f(10, -10, 0);
        glTexCoord2f(1, 1);
        glVertex3f(10, 10, 0);
        glTexCoord2f(0, 1);
        glVertex3f(-10, 10, 0);
        glEnd();
        window->disableTexturing();
        return testsupport::readPixel(400, 300);
    }

    static void writePicture(const std::string& name, imagefiles::Rgb colour)
    {
        testsupport::writeFile(name, imagefiles::bmpBytes(Picture(8, 8, colour)));
    }
};

bool isRed(const std::array<unsigned char, 3>& p) { return p[0] > 200 && p[1] < 50 && p[2] < 50; }
bool isBlue(const std::array<unsigned char, 3>& p) { return p[0] < 50 && p[1] < 50 && p[2] > 200; }

}  // namespace

TEST_F(WindowTest, OpensWindowed800By600AtTheDisplayDepth)
{
    const int displayDepth = SDL_GetVideoInfo()->vfmt->BitsPerPixel;
    GphWindow* window = openGameWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(window, GphWindow::getInstance());
    EXPECT_TRUE(testsupport::logContains("SDL recommends a color depth of "));

    SDL_Surface* screen = SDL_GetVideoSurface();
    ASSERT_NE(nullptr, screen);
    EXPECT_EQ(800, screen->w);
    EXPECT_EQ(600, screen->h);
    EXPECT_EQ(0u, screen->flags & SDL_FULLSCREEN);
    EXPECT_NE(0u, screen->flags & SDL_OPENGL);
    EXPECT_FALSE(window->isFullscreen());
    // 16 bits were asked about; the mode is set at the display's own depth.
    EXPECT_EQ(displayDepth, window->getBitsPerPixel());

    int value = 0;
    SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &value);
    EXPECT_EQ(1, value);
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &value);
    EXPECT_GE(value, 16);
    SDL_GL_GetAttribute(SDL_GL_RED_SIZE, &value);
    EXPECT_GE(value, 5);

    // The fixed OpenGL state.
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    GLint shade = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shade);
    EXPECT_EQ(GL_FLAT, shade);

    // A second create hands back the same window and ignores what it was asked.
    EXPECT_EQ(window, GphWindow::create(320, 200, 8, true, false, 2, 3, 4, 5, nullptr));
    EXPECT_EQ(800, SDL_GetVideoSurface()->w);
    EXPECT_FALSE(window->isFullscreen());
}

TEST_F(WindowTest, BuildsTheCameraAndTheMenuViewportForEveryone)
{
    GphWindow* window = openGameWindow();
    ASSERT_NE(nullptr, window);
    GphCamera* camera = window->getCamera();
    ASSERT_NE(nullptr, camera);
    EXPECT_EQ(ShpCoord(0, 0, 0), *camera->getPosition());
    EXPECT_EQ(camera, GphObject::getCamera());
    EXPECT_EQ(camera, GphViewport::getCamera());
    auto* viewport = dynamic_cast<GphViewportOrthogonal*>(window->getViewport());
    ASSERT_NE(nullptr, viewport);
    EXPECT_EQ(viewport, camera->getViewport());
    EXPECT_EQ(512.0, viewport->getZoom());
    EXPECT_EQ(1.0, viewport->getNear());
    EXPECT_EQ(10000.0, viewport->getFar());
    EXPECT_EQ(-512.0, viewport->getLeft());
    EXPECT_EQ(384.0, viewport->getTop());

    // Once the window is gone nobody is left pointing at its camera.
    delete window;
    EXPECT_EQ(nullptr, GphWindow::getInstance());
    EXPECT_EQ(nullptr, GphObject::getCamera());
    EXPECT_EQ(nullptr, GphViewport::getCamera());
}

TEST_F(WindowTest, PerspectiveWindowWhenAskedFor)
{
    GphWindow* window = GphWindow::create(800, 600, 16, false, false, 1, 10000, 45, 512, nullptr);
    ASSERT_NE(nullptr, window);
    auto* viewport = dynamic_cast<GphViewportPerspective*>(window->getViewport());
    ASSERT_NE(nullptr, viewport);
    EXPECT_EQ(45.0, viewport->getFovy());
    EXPECT_TRUE(testsupport::logContains("Initializing perspective viewport"));
}

TEST_F(WindowTest, OpensAtTheTopLeftCornerOfTheScreen)
{
    GphWindow* window = openGameWindow();
    ASSERT_NE(nullptr, window);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_GT(SDL_GetWMInfo(&info), 0) << SDL_GetError();
    ASSERT_EQ(SDL_SYSWM_X11, info.subsystem);
    Display* display = info.info.x11.display;
    Window child;
    int x = -1;
    int y = -1;
    XTranslateCoordinates(display, info.info.x11.window, DefaultRootWindow(display), 0, 0, &x, &y,
                          &child);
    EXPECT_EQ(0, x);
    EXPECT_EQ(0, y);
    // The request to SDL is not left behind for later windows.
    EXPECT_EQ(nullptr, std::getenv("SDL_VIDEO_WINDOW_POS"));
}

TEST_F(WindowTest, IconFromTheWorkingFolderWhenThereIsOne)
{
    // "icon.bmp" of the game's data is 32 pixels wide; it is set before the mode and
    // again before every later mode.
    GphWindow* window = openGameWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(1, sdlfault::iconsSet);
    EXPECT_EQ(32, sdlfault::lastIconWidth);
    window->toggleFullscreen();
    EXPECT_EQ(2, sdlfault::iconsSet);
    EXPECT_EQ(32, sdlfault::lastIconWidth);
    delete window;

    // Without the file the window opens all the same.
    sdlfault::iconsSet = 0;
    mkdir("window_without_icon", 0755);
    ASSERT_EQ(0, chdir("window_without_icon"));
    window = openGameWindow();
    EXPECT_EQ(0, chdir(".."));
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(0, sdlfault::iconsSet);
    window->toggleFullscreen();
    EXPECT_EQ(0, sdlfault::iconsSet);
}

TEST_F(WindowTest, CaptionsReachSdlAndEmptyOnesAreNone)
{
    GphWindow* window = openGameWindow();
    ASSERT_NE(nullptr, window);
    window->setCaption("Kovo Tarvell: Hush Courier!");
    EXPECT_EQ("Kovo Tarvell: Hush Courier!", window->getCaption());
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    ASSERT_NE(nullptr, title);
    EXPECT_STREQ("Kovo Tarvell: Hush Courier!", title);
    EXPECT_EQ(nullptr, icon);

    window->setIconCaption("Kovo");
    SDL_WM_GetCaption(&title, &icon);
    EXPECT_STREQ("Kovo Tarvell: Hush Courier!", title);
    ASSERT_NE(nullptr, icon);
    EXPECT_STREQ("Kovo", icon);

    window->setCaption("");
    SDL_WM_GetCaption(&title, &icon);
    EXPECT_EQ(nullptr, title);
    EXPECT_STREQ("Kovo", icon);
    EXPECT_EQ("", window->getCaption());
}

TEST_F(WindowTest, CachedSwitchesReachOpenGlOnlyOnChange)
{
    GphWindow* window = openGameWindow();
    ASSERT_NE(nullptr, window);

    // Blending: the first enable sets the capability and the blend function.
    window->enableBlending();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint src = 0;
    GLint dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(GL_SRC_ALPHA, src);
    EXPECT_EQ(GL_ONE_MINUS_SRC_ALPHA, dst);
    // Switched off behind the window's back, a second enable changes nothing: it made
    // no OpenGL call.
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    window->enableBlending();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    glGetIntegerv(GL_BLEND_SRC, &src);
    EXPECT_EQ(GL_ONE, src);
    // The disable that follows reaches OpenGL once; a second one does not.
    glEnable(GL_BLEND);
    window->disableBlending();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    glEnable(GL_BLEND);
    window->disableBlending();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    glDisable(GL_BLEND);

    struct Switch {
        GLenum capability;
        void (GphWindow::*enable)();
        void (GphWindow::*disable)();
    };
    const Switch switches[] = {
        {GL_LIGHTING, &GphWindow::enableLighting, &GphWindow::disableLighting},
        {GL_TEXTURE_2D, &GphWindow::enableTexturing, &GphWindow::disableTexturing},
        {GL_DEPTH_TEST, &GphWindow::enableDepthTest, &GphWindow::disableDepthTest},
    };
    for (const Switch& s : switches) {
        (window->*s.enable)();
        EXPECT_TRUE(glIsEnabled(s.capability)) << s.capability;
        glDisable(s.capability);
        (window->*s.enable)();
        EXPECT_FALSE(glIsEnabled(s.capability)) << s.capability;
        glEnable(s.capability);
        (window->*s.disable)();
        EXPECT_FALSE(glIsEnabled(s.capability)) << s.capability;
        glEnable(s.capability);
        (window->*s.disable)();
        EXPECT_TRUE(glIsEnabled(s.capability)) << s.capability;
        glDisable(s.capability);
    }
    EXPECT_FALSE(window->isLightingEnabled());
    window->enableLighting();
    EXPECT_TRUE(window->isLightingEnabled());
    window->disableLighting();

    // Depth writes are not cached: each call reaches OpenGL.
    GLboolean mask = GL_FALSE;
    window->disableDepthWrite();
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_EQ(GL_FALSE, mask);
    glDepthMask(GL_TRUE);
    window->disableDepthWrite();
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_EQ(GL_FALSE, mask);
    window->enableDepthWrite();
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_EQ(GL_TRUE, mask);
}

TEST_F(WindowTest, OnlyTurningTheDepthTestOnEmptiesTheDepthBuffer)
{
    GphWindow* window = openGameWindow();
    ASSERT_NE(nullptr, window);
    auto depthAt = [](int x, int y) {
        GLfloat depth = -1;
        glReadPixels(x, y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        return depth;
    };
    // Leave a mark in the depth buffer at the centre.
    glDisable(GL_CULL_FACE);
    window->enableDepthTest();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -100);
    glBegin(GL_QUADS);
    glVertex3f(-10, -10, 0);
    glVertex3f(10, -10, 0);
    glVertex3f(10, 10, 0);
    glVertex3f(-10, 10, 0);
    glEnd();
    const GLfloat marked = depthAt(400, 300);
    EXPECT_LT(marked, 0.5f);

    // Clearing the frame leaves the depth buffer as it is.
    window->setClearColor(0, 0, 1, 1);
    window->clear();
    EXPECT_FLOAT_EQ(marked, depthAt(400, 300));
    EXPECT_TRUE(isBlue(testsupport::readPixel(400, 300)));

    // Turning the depth test off and on again empties it.
    window->disableDepthTest();
    EXPECT_FLOAT_EQ(marked, depthAt(400, 300));
    window->enableDepthTest();
    EXPECT_FLOAT_EQ(1.0f, depthAt(400, 300));
    window->disableDepthTest();
}

TEST_F(WindowTest, CursorVisibilityAndCursorObjects)
{
    GphWindow* window = openGameWindow();
    ASSERT_NE(nullptr, window);
    window->hideCursor();
    EXPECT_FALSE(window->isCursorShown());
    window->showCursor();
    EXPECT_TRUE(window->isCursorShown());

    EXPECT_EQ(nullptr, window->getCursor());
    GphCursor empty;
    window->setCursor(&empty);  // no SDL cursor yet: only remembered
    EXPECT_EQ(&empty, window->getCursor());
    Uint8 data[32] = {};
    Uint8 mask[32] = {};
    SDL_Cursor* sdlCursor = SDL_CreateCursor(data, mask, 16, 16, 0, 0);
    ASSERT_NE(nullptr, sdlCursor);
    {
        GphCursor arrow(nullptr, 3, 4);
        EXPECT_EQ(3, arrow.getHotSpotX());
        EXPECT_EQ(4, arrow.getHotSpotY());
        arrow.setSdlCursor(sdlCursor);
        window->setCursor(&arrow);
        EXPECT_EQ(sdlCursor, SDL_GetCursor());
        window->setCursor(nullptr);
    }
}

TEST_F(WindowTest, MissingAccelerationWarnsAndGoesOn)
{
    sdlfault::acceleration = 0;
    testing::internal::CaptureStderr();
    GphWindow* window = openGameWindow();
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_NE(nullptr, window);
    EXPECT_NE(std::string::npos, err.find("Kovo Tarvell: warning"));
    EXPECT_NE(std::string::npos, err.find("No OpenGL hardware acceleration detected.\nGame performance may be slow."));
    EXPECT_TRUE(testsupport::logContains("No OpenGL hardware acceleration detected. Game performance may be slow."));
    delete window;

    sdlfault::acceleration = 2;
    testing::internal::CaptureStderr();
    window = openGameWindow();
    EXPECT_EQ("", testing::internal::GetCapturedStderr());
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(testsupport::logContains("Failed to retrieve hardware acceleration status"));
}

TEST_F(WindowTest, RefusedModeTellsThePlayerAndGivesNoWindow)
{
    sdlfault::refuseModeCheck = true;
    testing::internal::CaptureStderr();
    EXPECT_EQ(nullptr, openGameWindow());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(nullptr, GphWindow::getInstance());
    EXPECT_NE(std::string::npos, err.find("Kovo Tarvell: error"));
    EXPECT_NE(std::string::npos, err.find("Required video mode not supported.\nIt is most likely a problem "
                                          "with your video driver."));
    EXPECT_TRUE(testsupport::logContains("ERROR! Requested video mode not supported!"));
}

TEST_F(WindowTest, FullscreenToggleKeepsTexturesAndTheCamera)
{
    writePicture("camwin_red.bmp", imagefiles::kRed);
    GphWindow* window = openGameWindow();
    ASSERT_NE(nullptr, window);
    GphTexture red(GphImage::load("camwin_red.bmp", false), GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT,
                   GL_MODULATE);
    GphTexture redAgain(red);
    ASSERT_NE(0u, red.getId());
    ASSERT_TRUE(isRed(drawTextured(window, red)));

    GphCamera* camera = window->getCamera();
    camera->setPosition(ShpCoord(300, -200, 0));
    camera->track(900, 50, 0.03);
    window->enableLighting();

    // Under the test display full screen may or may not be granted; either way the
    // game goes on with every texture usable and the same camera at the origin.
    for (int round = 0; round < 2; ++round) {
        const bool wasFullscreen = window->isFullscreen();
        const int result = window->toggleFullscreen();
        EXPECT_TRUE(result == 0 || result == -1);
        EXPECT_EQ(result == 0 ? !wasFullscreen : wasFullscreen, window->isFullscreen());
        EXPECT_NE(nullptr, SDL_GetVideoSurface());
        EXPECT_EQ(window->isFullscreen(), (SDL_GetVideoSurface()->flags & SDL_FULLSCREEN) != 0);

        EXPECT_EQ(camera, window->getCamera());
        EXPECT_EQ(camera, GphObject::getCamera());
        EXPECT_EQ(camera, GphViewport::getCamera());
        EXPECT_EQ(ShpCoord(0, 0, 0), *camera->getPosition());
        EXPECT_EQ(0.0, camera->getVelocity());
        auto* viewport = dynamic_cast<GphViewportOrthogonal*>(window->getViewport());
        ASSERT_NE(nullptr, viewport);
        EXPECT_EQ(viewport, camera->getViewport());
        EXPECT_EQ(512.0, viewport->getZoom());
        EXPECT_EQ(-512.0, viewport->getLeft());

        EXPECT_FALSE(window->isLightingEnabled());
        EXPECT_EQ(red.getId(), redAgain.getId());
        EXPECT_TRUE(isRed(drawTextured(window, red))) << "round " << round;
        EXPECT_TRUE(isRed(drawTextured(window, redAgain))) << "round " << round;
    }
}

TEST_F(WindowTest, RefusedFullscreenRestoresTheWindowAndEveryTexture)
{
    writePicture("camwin_blue.bmp", imagefiles::kBlue);
    GphWindow* window = openGameWindow();
    ASSERT_NE(nullptr, window);
    GphTexture blue(GphImage::load("camwin_blue.bmp", false), GL_LINEAR, GL_LINEAR, GL_REPEAT,
                    GL_REPEAT, GL_MODULATE);
    ASSERT_TRUE(isBlue(drawTextured(window, blue)));
    GphCamera* camera = window->getCamera();
    camera->setPosition(ShpCoord(40, 40, 0));
    window->setCaption("Kovo Tarvell: Hush Courier!");

    sdlfault::failFullscreenModes = true;
    EXPECT_EQ(-1, window->toggleFullscreen());
    EXPECT_TRUE(testsupport::logContains("ERROR! Failed to set video mode!"));
    EXPECT_FALSE(window->isFullscreen());
    SDL_Surface* screen = SDL_GetVideoSurface();
    ASSERT_NE(nullptr, screen);
    EXPECT_EQ(800, screen->w);
    EXPECT_EQ(0u, screen->flags & SDL_FULLSCREEN);
    EXPECT_EQ(camera, window->getCamera());
    EXPECT_EQ(ShpCoord(0, 0, 0), *camera->getPosition());
    EXPECT_NE(nullptr, window->getViewport());
    EXPECT_TRUE(isBlue(drawTextured(window, blue)));
    EXPECT_EQ("Kovo Tarvell: Hush Courier!", window->getCaption());
}

// The fatal paths end the program; each runs in a child process forked from this one
// while SDL's video is down here, so that the child opens its own display connection.
// The child shares this program's log file.
class WindowDeathTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "fast");
        resetFaults();
        ASSERT_EQ(nullptr, GphWindow::getInstance());
        ASSERT_EQ(0u, SDL_WasInit(SDL_INIT_VIDEO));
    }
    void TearDown() override { resetFaults(); }
};

TEST_F(WindowDeathTest, ModeThatCannotBeSetEndsTheProgramWithAFailure)
{
    EXPECT_EXIT(
        {
            startX11Video();
            sdlfault::failEveryMode = true;
            openGameWindow();
        },
        testing::ExitedWithCode(AppPlatform::kFatalExitCode), "ERROR! Failed to set video mode!");
    EXPECT_TRUE(testsupport::logContains("ERROR! Failed to set video mode!"));
}

TEST_F(WindowDeathTest, NoVideoInformationEndsTheProgramWithAFailure)
{
    EXPECT_EXIT(
        {
            startX11Video();
            sdlfault::noVideoInfo = true;
            openGameWindow();
        },
        testing::ExitedWithCode(AppPlatform::kFatalExitCode), "ERROR! Failed to get video information!");
    EXPECT_TRUE(testsupport::logContains("ERROR! Failed to get video information!"));
}

TEST_F(WindowDeathTest, ToggleThatCanSetNoModeAtAllEndsTheProgramWithAFailure)
{
    EXPECT_EXIT(
        {
            startX11Video();
            GphWindow* window = openGameWindow();
            if (window != nullptr) {
                sdlfault::failEveryMode = true;
                window->toggleFullscreen();
            }
        },
        testing::ExitedWithCode(AppPlatform::kFatalExitCode), "Failed to restore the previous video mode");
    EXPECT_TRUE(testsupport::logContains("ERROR! Failed to restore the previous video mode!"));
}
