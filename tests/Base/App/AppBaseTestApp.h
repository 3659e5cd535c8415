#ifndef KOVO_TESTS_BASE_APP_APPBASETESTAPP_H
#define KOVO_TESTS_BASE_APP_APPBASETESTAPP_H

#include <SDL/SDL.h>

#include <functional>
#include <string>
#include <vector>

#include "Base/App/AppBase.h"
#include "Base/Gph/GphWindow.h"

// A small application standing in for the game: it opens the real window in onInit (or
// none, when asked), records every hook it receives as text, and runs a script from its
// update hook so that a test can push SDL events into the real main loop.
class RecordingApp : public AppBase {
public:
    explicit RecordingApp(bool makeWindow = true) : _makeWindow(makeWindow) {}

    // Called from update with the frame number (1 for the first pass).
    std::function<void(RecordingApp&, int)> script;
    // Every hook but update, in the order received.
    std::vector<std::string> calls;
    // The milliseconds handed to each update.
    std::vector<unsigned int> elapsed;
    int frames = 0;
    int initCalls = 0;
    int shutdownCalls = 0;
    // A loop that never ends would hang the test program.
    int frameLimit = 2000;

    void onInit() override
    {
        ++initCalls;
        if (_makeWindow)
            _window = GphWindow::create(800, 600, 16, false, true, 1.0, 10000.0, 45.0, 512.0, nullptr);
    }
    void update(unsigned int ms) override
    {
        ++frames;
        elapsed.push_back(ms);
        if (script) script(*this, frames);
        if (frames >= frameLimit) quit();
    }
    void onShutdown() override { ++shutdownCalls; }
    void onInputFocusGained() override { calls.push_back("onInputFocusGained"); }
    void onInputFocusLost() override { calls.push_back("onInputFocusLost"); }
    void onDeactivated() override { calls.push_back("onDeactivated"); }
    void onActivated() override { calls.push_back("onActivated"); }
    void onCharDown(char c) override { calls.push_back(charCall("onCharDown", c)); }
    void onCharUp(char c) override { calls.push_back(charCall("onCharUp", c)); }
    void onKeyDown(AppKey key) override { calls.push_back(keyCall("onKeyDown", key)); }
    void onKeyUp(AppKey key) override { calls.push_back(keyCall("onKeyUp", key)); }
    void onMouseMove(double x, double y) override { calls.push_back(mouseCall("onMouseMove", x, y)); }
    void onLeftButtonDown(double x, double y) override { calls.push_back(mouseCall("onLeftButtonDown", x, y)); }
    void onLeftButtonUp(double x, double y) override { calls.push_back(mouseCall("onLeftButtonUp", x, y)); }
    void onMiddleButtonDown(double x, double y) override { calls.push_back(mouseCall("onMiddleButtonDown", x, y)); }
    void onMiddleButtonUp(double x, double y) override { calls.push_back(mouseCall("onMiddleButtonUp", x, y)); }
    void onRightButtonDown(double x, double y) override { calls.push_back(mouseCall("onRightButtonDown", x, y)); }
    void onRightButtonUp(double x, double y) override { calls.push_back(mouseCall("onRightButtonUp", x, y)); }

    using AppBase::joyAxis;
    using AppBase::joyButton;

    // The recorded calls whose hook name starts with one of the prefixes.
    std::vector<std::string> callsOf(const std::vector<std::string>& prefixes) const
    {
        std::vector<std::string> out;
        for (const std::string& c : calls)
            for (const std::string& p : prefixes)
                if (c.compare(0, p.size(), p) == 0) {
                    out.push_back(c);
                    break;
                }
        return out;
    }
    std::vector<std::string> keyboardCalls() const { return callsOf({"onChar", "onKey"}); }

    static std::string charCall(const char* hook, char c)
    {
        return std::string(hook) + " " + std::to_string(static_cast<int>(static_cast<unsigned char>(c)));
    }
    static std::string keyCall(const char* hook, AppKey key) { return std::string(hook) + " key " + std::to_string(key); }
    static std::string mouseCall(const char* hook, double x, double y)
    {
        return std::string(hook) + " " + std::to_string(x) + " " + std::to_string(y);
    }

private:
    bool _makeWindow;
};

inline std::string charDown(char c) { return RecordingApp::charCall("onCharDown", c); }
inline std::string charUp(char c) { return RecordingApp::charCall("onCharUp", c); }
inline std::string keyDown(AppKey k) { return RecordingApp::keyCall("onKeyDown", k); }
inline std::string keyUp(AppKey k) { return RecordingApp::keyCall("onKeyUp", k); }

// Events as SDL would deliver them, pushed into its queue.
inline void pushKey(bool down, int sym, int mod = KMOD_NONE)
{
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.type = e.type;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = static_cast<SDLKey>(sym);
    e.key.keysym.mod = static_cast<SDLMod>(mod);
    SDL_PushEvent(&e);
}

inline void pushMouseMotion(Uint16 x, Uint16 y)
{
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.type = e.type;
    e.motion.x = x;
    e.motion.y = y;
    SDL_PushEvent(&e);
}

inline void pushMouseButton(bool down, Uint8 button, Uint16 x, Uint16 y)
{
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.type = e.type;
    e.button.button = button;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
}

inline void pushActive(Uint8 gain, Uint8 state)
{
    SDL_Event e{};
    e.type = SDL_ACTIVEEVENT;
    e.active.type = e.type;
    e.active.gain = gain;
    e.active.state = state;
    SDL_PushEvent(&e);
}

inline void pushJoyButton(bool down, Uint8 button)
{
    SDL_Event e{};
    e.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    e.jbutton.type = e.type;
    e.jbutton.which = 0;
    e.jbutton.button = button;
    e.jbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&e);
}

inline void pushQuit()
{
    SDL_Event e{};
    e.type = SDL_QUIT;
    e.quit.type = e.type;
    SDL_PushEvent(&e);
}

// True when `run` stands somewhere in `calls` as one unbroken stretch. Xvfb sends a few
// focus and pointer events of its own when the window appears; pushed events that share
// a pass still reach the hooks together.
inline bool containsRun(const std::vector<std::string>& calls, const std::vector<std::string>& run)
{
    if (run.empty()) return true;
    for (size_t i = 0; i + run.size() <= calls.size(); ++i) {
        bool match = true;
        for (size_t j = 0; j < run.size() && match; ++j) match = calls[i + j] == run[j];
        if (match) return true;
    }
    return false;
}

#endif
