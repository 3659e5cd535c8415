#ifndef KOVO_TESTS_BASE_UI_UIHARNESS_H
#define KOVO_TESTS_BASE_UI_UIHARNESS_H

// Shared by the control tests with and without a sound device: an application that runs
// the real main loop with one screen, a screen that forwards input the way the menus do
// and records what its controls report, and helpers for events, pixels and pictures.

#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "Base/App/AppBase.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphViewportOrthogonal.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndManager.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Base/Ui/UiWindow.h"
#include "support/Files.h"
#include "support/GameTimeSound.h"
#include "support/GlContext.h"
#include "support/SoundSuite.h"

namespace uitest {

// The menus' view: an 800 x 600 window showing 1024 x 768 units around the origin.
constexpr double Zoom = 512.0;

// Window pixels of a world point in a view of that zoom (a game's view: 400).
inline double windowX(double wx, double zoom = Zoom) { return (wx / zoom + 1.0) * 400.0; }
inline double windowY(double wy, double zoom = Zoom) { return (1.0 - wy / (zoom * 0.75)) * 300.0; }
inline int pixelX(double wx, double zoom = Zoom) { return static_cast<int>(std::lround(windowX(wx, zoom))); }
inline int pixelY(double wy, double zoom = Zoom) { return static_cast<int>(std::lround(windowY(wy, zoom))); }

// The colour drawn at a world point of the last frame (read before the buffers swap).
inline std::array<unsigned char, 3> pixelAt(double wx, double wy, double zoom = Zoom)
{
    const int x = static_cast<int>(std::floor(windowX(wx, zoom)));
    const int y = 599 - static_cast<int>(std::floor(windowY(wy, zoom)));
    return testsupport::readPixel(x, y);
}

// Colours that differ by no more than `tolerance` in each channel.
inline bool near(const std::array<unsigned char, 3>& a, const std::array<unsigned char, 3>& b, int tolerance = 10)
{
    for (int i = 0; i < 3; ++i)
        if (std::abs(a[i] - b[i]) > tolerance) return false;
    return true;
}

inline int brightness(const std::array<unsigned char, 3>& c) { return c[0] + c[1] + c[2]; }

// A 24-bit BMP of one colour, bottom row first, rows padded to four bytes.
inline void writeSolidBmp(const std::string& name, unsigned char r, unsigned char g, unsigned char b, int width = 32,
                          int height = 32)
{
    const int row = (width * 3 + 3) / 4 * 4;
    const unsigned size = static_cast<unsigned>(54 + row * height);
    std::vector<unsigned char> bytes(size, 0);
    auto put16 = [&](int at, unsigned v) {
        bytes[at] = static_cast<unsigned char>(v & 0xFF);
        bytes[at + 1] = static_cast<unsigned char>((v >> 8) & 0xFF);
    };
    auto put32 = [&](int at, unsigned v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, size);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<unsigned>(width));
    put32(22, static_cast<unsigned>(height));
    put16(26, 1);
    put16(28, 24);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int at = 54 + y * row + x * 3;
            bytes[at] = b;
            bytes[at + 1] = g;
            bytes[at + 2] = r;
        }
    }
    testsupport::writeFile(name, bytes);
}

// The id of the newest sound effect, -1 when there is none.
inline int newestEffectId()
{
    if (!SndSoundEffectRegistry || SndSoundEffectRegistry->empty()) return -1;
    return SndSoundEffectRegistry->rbegin()->first;
}

// The effects made after the one with the given id, oldest first. A control makes its
// rollover effect first; a button, check box or text box makes its click effect last.
inline std::vector<SndSoundEffect*> effectsAfter(int id)
{
    std::vector<SndSoundEffect*> out;
    if (!SndSoundEffectRegistry) return out;
    for (auto it = SndSoundEffectRegistry->upper_bound(id); it != SndSoundEffectRegistry->end(); ++it)
        out.push_back(it->second);
    return out;
}

// The rollover and click effects of a widget built after `before` (either may be null
// when there is no sound device).
struct WidgetSounds {
    SndSoundEffect* rollover = nullptr;
    SndSoundEffect* click = nullptr;
};
inline WidgetSounds soundsAfter(int before)
{
    WidgetSounds s;
    std::vector<SndSoundEffect*> made = effectsAfter(before);
    if (made.empty()) return s;
    s.rollover = made.front();
    if (made.size() > 1) s.click = made.back();
    return s;
}

// Stops every effect so that a following play shows as a fresh one.
inline void stopAllEffects()
{
    if (!SndSoundEffectRegistry) return;
    for (auto& entry : *SndSoundEffectRegistry) entry.second->stop();
}

// A screen as the menus build them: mouse points become view points, every child hears
// the pointer's moves, a release goes to the control under the pointer, keys go to the
// focused child, and Tab or Down moves the focus to the next child, Up to the previous
// one. A child given as `windowChild` (a slide show) takes window pixels itself.
class RecordingScreen : public UiWindow {
public:
    explicit RecordingScreen(AppBase* app) : UiWindow(app, 1, true) {}

    std::vector<std::string> events;
    UiControl* windowChild = nullptr;

    void onMouseMove(double x, double y) override
    {
        if (windowChild) {
            windowChild->onMouseMove(x, y);
            return;
        }
        double wx = 0;
        double wy = 0;
        windowToWorld(x, y, wx, wy);
        for (UiControl* child : getChildren()) child->onMouseMove(wx, wy);
    }
    void onLeftButtonDown(double x, double y) override { mouseButton(x, y, true); }
    void onLeftButtonUp(double x, double y) override { mouseButton(x, y, false); }
    void onCharDown(char c) override
    {
        if (UiControl* focused = getFocusedChild()) focused->onCharDown(c);
    }
    void onKeyDown(AppKey key) override
    {
        if (key == AppKeyTab || key == AppKeyDown) {
            moveFocus(1);
        } else if (key == AppKeyUp) {
            moveFocus(-1);
        } else if (UiControl* focused = getFocusedChild()) {
            focused->onKeyDown(key);
        }
    }

    void onCommand(int id) override { events.push_back("command " + std::to_string(id)); }
    void onCheckBoxChanged(int id, bool state) override
    {
        events.push_back("checkbox " + std::to_string(id) + (state ? " on" : " off"));
    }
    void onCancel(int id) override { events.push_back("cancel " + std::to_string(id)); }
    void onTextBoxActivated(int id) override
    {
        events.push_back("activated " + std::to_string(id));
        // The menus start editing the box that asks for it.
        for (UiControl* child : getChildren())
            if (child->getId() == id) child->setFocus(true);
    }
    void onTextEntered(int id, const std::string& text) override
    {
        events.push_back("entered " + std::to_string(id) + " " + text);
    }

private:
    void mouseButton(double x, double y, bool down)
    {
        if (windowChild) {
            if (down)
                windowChild->onLeftButtonDown(x, y);
            else
                windowChild->onLeftButtonUp(x, y);
            return;
        }
        double wx = 0;
        double wy = 0;
        windowToWorld(x, y, wx, wy);
        UiControl* hit = findControlAt(wx, wy);
        if (!hit) return;
        if (down)
            hit->onLeftButtonDown(wx, wy);
        else
            hit->onLeftButtonUp(wx, wy);
    }
    void moveFocus(int step)
    {
        std::vector<UiControl*> list(getChildren().begin(), getChildren().end());
        if (list.empty()) return;
        const int count = static_cast<int>(list.size());
        int at = -1;
        for (int i = 0; i < count; ++i)
            if (list[i]->hasFocus()) at = i;
        const int next = at < 0 ? (step > 0 ? 0 : count - 1) : ((at + step) % count + count) % count;
        list[next]->setFocus(true);
    }
};

// The view of the shared window at the origin with the given zoom, and the window's cached
// switches agreeing with OpenGL again, whatever ran before on it (a new program's window
// starts that way).
inline void resyncWindow(GphWindow* w, double zoom = Zoom)
{
    if (!w) return;
    if (auto* ortho = dynamic_cast<GphViewportOrthogonal*>(w->getViewport())) ortho->setZoom(zoom);
    if (w->getCamera()) w->getCamera()->setPosition(ShpCoord(0, 0, 0));
    w->enableDepthTest();
    w->disableDepthTest();
    w->enableDepthWrite();
    w->enableLighting();
    w->disableLighting();
    w->enableBlending();
    w->disableBlending();
    w->enableTexturing();
    w->disableTexturing();
    w->showCursor();
}

// An application of the tests, derived from the application class `Base` that the screens
// under test expect: it opens the game's window in the view of the given zoom (the window is
// kept for the whole test program, so that every application of it shares one OpenGL
// context), runs on game time (every frame 16 ms long on any machine) and passes every input
// hook to its current screen.
template <class Base>
class ScreenApp : public Base {
public:
    UiWindow* current = nullptr;

    explicit ScreenApp(double zoom = Zoom) : _zoom(zoom) { this->setClock(AppClock::fixedStep(16)); }
    ~ScreenApp() override { this->_window = nullptr; }

    void onInit() override
    {
        this->_window = GphWindow::create(800, 600, 16, false, true, 1.0, 10000.0, 45.0, _zoom, nullptr);
    }
    // `count` passes of the main loop: the queued events through the hooks, then a frame of `ms`.
    void runFrames(int count = 1, unsigned int ms = 16)
    {
        for (int i = 0; i < count; ++i) {
            this->pollEvents();
            this->update(ms);
            SndSoundEffect::updateAll();
        }
    }

    void onInputFocusGained() override { current->onInputFocusGained(); }
    void onInputFocusLost() override { current->onInputFocusLost(); }
    void onDeactivated() override { current->onDeactivated(); }
    void onActivated() override { current->onActivated(); }
    void onCharDown(char c) override { current->onCharDown(c); }
    void onCharUp(char c) override { current->onCharUp(c); }
    void onKeyDown(AppKey key) override { current->onKeyDown(key); }
    void onKeyUp(AppKey key) override { current->onKeyUp(key); }
    void onMouseMove(double x, double y) override { current->onMouseMove(x, y); }
    void onLeftButtonDown(double x, double y) override { current->onLeftButtonDown(x, y); }
    void onLeftButtonUp(double x, double y) override { current->onLeftButtonUp(x, y); }
    void onMiddleButtonDown(double x, double y) override { current->onMiddleButtonDown(x, y); }
    void onMiddleButtonUp(double x, double y) override { current->onMiddleButtonUp(x, y); }
    void onRightButtonDown(double x, double y) override { current->onRightButtonDown(x, y); }
    void onRightButtonUp(double x, double y) override { current->onRightButtonUp(x, y); }

private:
    double _zoom;
};

// The application of the control tests: each frame updates the screen, clears, draws it,
// runs the test's script (which may read pixels before the swap) and swaps.
class UiTestApp : public ScreenApp<AppBase> {
public:
    std::function<void(int frame)> script;
    int frames = 0;
    int frameLimit = 2;

    void update(unsigned int ms) override
    {
        ++frames;
        testsupport::advanceSound(ms);
        if (current) {
            current->update(ms);
            _window->clear();
            current->draw();
        }
        if (script) script(frames);
        _window->swapBuffers();
        if (frames >= frameLimit) quit();
    }

    // Runs the real loop for `count` passes.
    void runFrames(int count)
    {
        frameLimit = count;
        run();
    }
};

// Events go through SDL's own queue, as the window system's would.
inline void flushEvents()
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
}

inline void pushKey(SDLKey sym, bool down, SDLMod mod = KMOD_NONE)
{
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = sym;
    event.key.keysym.mod = mod;
    SDL_PushEvent(&event);
}

// A press and a release.
inline void typeKey(SDLKey sym, SDLMod mod = KMOD_NONE)
{
    pushKey(sym, true, mod);
    pushKey(sym, false, mod);
}

inline void typeText(const std::string& text)
{
    for (char c : text) typeKey(static_cast<SDLKey>(c));
}

inline void pushMotionPixels(int x, int y)
{
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = static_cast<Uint16>(x);
    event.motion.y = static_cast<Uint16>(y);
    SDL_PushEvent(&event);
}

inline void pushButtonPixels(bool down, int x, int y, Uint8 button = SDL_BUTTON_LEFT)
{
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = button;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = static_cast<Uint16>(x);
    event.button.y = static_cast<Uint16>(y);
    SDL_PushEvent(&event);
}

// The same at a world point of a view, the menus' by default.
inline void pushMotion(double wx, double wy, double zoom = Zoom) { pushMotionPixels(pixelX(wx, zoom), pixelY(wy, zoom)); }
inline void pushClick(double wx, double wy, double zoom = Zoom)
{
    pushButtonPixels(true, pixelX(wx, zoom), pixelY(wy, zoom));
    pushButtonPixels(false, pixelX(wx, zoom), pixelY(wy, zoom));
}

// Set up once per test program: the sound engine (on a device, or with none at all when
// `withSound` is false) and, at the end, the window that the test applications shared.
class UiEnvironment : public ::testing::Environment {
public:
    explicit UiEnvironment(bool withSound) : _withSound(withSound) {}

    void SetUp() override
    {
        testsupport::keepGlDriverLoaded();
        // Read by OpenAL when the first device opens.
        if (!_withSound) setenv("ALSOFT_DRIVERS", "nosuchdriver", 1);
        _sound = new SndManager();
        soundStarted() = _sound->init() == 0;
    }
    void TearDown() override
    {
        delete GphWindow::getInstance();
        if (soundStarted()) _sound->shutdown();
        delete _sound;
        _sound = nullptr;
    }

    static bool& soundStarted()
    {
        static bool started = false;
        return started;
    }

private:
    bool _withSound;
    SndManager* _sound = nullptr;
};

using testsupport::SoundSuite;

// The menus' rollover and click sounds, linked into a folder of test pictures made in the
// working directory.
inline void linkMenuSounds(const std::string& dir)
{
    for (const char* wav : {"menu_item_rollover.wav", "menu_item_click1.wav"}) {
        const std::string link = dir + "/" + wav;
        std::remove(link.c_str());
        if (symlink((std::string("../") + wav).c_str(), link.c_str()) != 0) ADD_FAILURE() << link;
    }
}

// A fresh application with the shared window and a recording screen for each test.
class UiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        app = new UiTestApp();
        ASSERT_EQ(app->init(), 0);
        screen = new RecordingScreen(app);
        app->current = screen;
        flushEvents();
        stopAllEffects();
    }
    void TearDown() override
    {
        delete screen;
        delete app;
    }

    // Clears the frame, draws one control and leaves the picture in the back buffer.
    void drawOnly(UiControl& control)
    {
        app->getWindow()->clear();
        control.draw();
    }

    UiTestApp* app = nullptr;
    RecordingScreen* screen = nullptr;
};

}  // namespace uitest

#endif
