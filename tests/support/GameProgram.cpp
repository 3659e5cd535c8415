#include "support/GameProgram.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "Application/KovoApplication.h"

// Xlib last: its macros (None, Status, Bool) would break the headers above.
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>

namespace testsupport {

namespace {

// Safety limits that only end a stuck test: a start under the sanitizers on a busy machine
// takes seconds, a frame far less than one.
constexpr double kStartSeconds = 60;
constexpr double kFramesSeconds = 30;

// An X error (a window gone meanwhile) must not end the test program.
int ignoreXError(Display*, XErrorEvent*) { return 0; }

// Every window with the game's caption under `from`: the test program's own window has it too.
void findWindows(Display* display, Window from, std::vector<unsigned long>& found)
{
    char* name = nullptr;
    if (XFetchName(display, from, &name) && name) {
        if (std::string(KovoApplication::kCaption) == name) found.push_back(from);
        XFree(name);
    }
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, from, &root, &parent, &children, &count)) return;
    for (unsigned int i = 0; i < count; ++i) findWindows(display, children[i], found);
    if (children) XFree(children);
}

}  // namespace

GameProgram::~GameProgram()
{
    if (_pid > 0 && !ended()) {
        kill(_pid, SIGKILL);
        waitpid(_pid, nullptr, 0);
    }
    if (_display) XCloseDisplay(_display);
}

bool GameProgram::start(const std::string& program, const std::string& dir, bool display)
{
    if (display) {
        _display = XOpenDisplay(nullptr);
        if (!_display) return false;
        XSetErrorHandler(ignoreXError);
        findWindows(_display, DefaultRootWindow(_display), _before);
    }
    // Everything the child needs is made before the fork.
    static char noLeakCheck[] = "ASAN_OPTIONS=detect_leaks=0:halt_on_error=1";
    // Without the X11 driver SDL would fall back to an offscreen one, and a start without a
    // display would succeed.
    static char x11Only[] = "SDL_VIDEODRIVER=x11";
    std::vector<char*> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        if (!display && entry.rfind("DISPLAY=", 0) == 0) continue;
        if (entry.rfind("ASAN_OPTIONS=", 0) == 0 || entry.rfind("SDL_VIDEODRIVER=", 0) == 0) continue;
        env.push_back(*e);
    }
    env.push_back(noLeakCheck);
    env.push_back(x11Only);
    env.push_back(nullptr);
    char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
    _pid = fork();
    if (_pid == 0) {
        if (chdir(dir.c_str()) != 0) _exit(127);
        execve(program.c_str(), argv, env.data());
        _exit(127);
    }
    return _pid > 0;
}

bool GameProgram::ended()
{
    if (_pid <= 0) return true;
    if (_status >= 0) return true;
    int status = 0;
    if (waitpid(_pid, &status, WNOHANG) != _pid) return false;
    _status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return true;
}

int GameProgram::waitForExit(double seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!ended()) {
        if (std::chrono::steady_clock::now() >= end) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return _status;
}

bool GameProgram::connect()
{
    if (!_display) return false;
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(kStartSeconds);
    while (!_window) {
        std::vector<unsigned long> now;
        findWindows(_display, DefaultRootWindow(_display), now);
        for (unsigned long w : now)
            if (std::find(_before.begin(), _before.end(), w) == _before.end()) _window = w;
        if (_window) break;
        if (ended() || std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // The pointer goes to the drawing window, when SDL made one inside the captioned one.
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    _canvas = _window;
    if (XQueryTree(_display, _window, &root, &parent, &children, &count) && count > 0) _canvas = children[0];
    if (children) XFree(children);

    int error = 0;
    if (!XDamageQueryExtension(_display, &_damageEvent, &error)) return false;
    _damage = XDamageCreate(_display, _window, XDamageReportNonEmpty);
    return frames();
}

void GameProgram::key(unsigned long keysym, bool down)
{
    XKeyEvent event{};
    event.type = down ? KeyPress : KeyRelease;
    event.display = _display;
    event.window = _window;
    event.root = DefaultRootWindow(_display);
    event.time = _time += 100;
    event.same_screen = True;
    event.keycode = XKeysymToKeycode(_display, keysym);
    XSendEvent(_display, _window, True, down ? KeyPressMask : KeyReleaseMask, reinterpret_cast<XEvent*>(&event));
}

void GameProgram::move(int x, int y)
{
    XEvent event{};
    XMotionEvent& m = event.xmotion;
    m.type = MotionNotify;
    m.display = _display;
    m.window = _canvas;
    m.root = DefaultRootWindow(_display);
    m.time = _time += 100;
    m.x = x;
    m.y = y;
    m.same_screen = True;
    XSendEvent(_display, _canvas, True, PointerMotionMask, &event);
}

void GameProgram::button(bool down, int x, int y)
{
    XEvent event{};
    XButtonEvent& b = event.xbutton;
    b.type = down ? ButtonPress : ButtonRelease;
    b.display = _display;
    b.window = _canvas;
    b.root = DefaultRootWindow(_display);
    b.time = _time += 100;
    b.x = x;
    b.y = y;
    b.button = Button1;
    b.same_screen = True;
    XSendEvent(_display, _canvas, True, down ? ButtonPressMask : ButtonReleaseMask, &event);
}

bool GameProgram::frames(int count)
{
    if (!_damage) return false;
    // Once the server has handled everything sent so far, the events are with the program;
    // what it drew before then does not count.
    XSync(_display, False);
    XDamageSubtract(_display, _damage, None, None);
    XSync(_display, False);
    XEvent event;
    while (XCheckTypedEvent(_display, _damageEvent + XDamageNotify, &event)) {
    }
    // A report comes when the window's damage goes from none to some: taking it away at
    // each report sees every frame, or fewer when frames come faster than the reports are
    // read, which only waits longer.
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(kFramesSeconds);
    int seen = 0;
    while (seen < count) {
        while (seen < count && XPending(_display)) {
            XNextEvent(_display, &event);
            if (event.type != _damageEvent + XDamageNotify) continue;
            ++seen;
            XDamageSubtract(_display, _damage, None, None);
        }
        if (seen >= count) break;
        if (ended()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        pollfd connection{ConnectionNumber(_display), POLLIN, 0};
        poll(&connection, 1, 20);
    }
    return true;
}

void GameProgram::type(unsigned long keysym)
{
    key(keysym, true);
    key(keysym, false);
    frames();
}

void GameProgram::typeText(const std::string& text)
{
    for (char c : text) {
        const unsigned long keysym = c == ' ' ? XK_space : static_cast<unsigned long>(static_cast<unsigned char>(c));
        key(keysym, true);
        key(keysym, false);
    }
    frames();
}

void GameProgram::click(int x, int y)
{
    move(x, y);
    button(true, x, y);
    button(false, x, y);
    frames();
}

}  // namespace testsupport
