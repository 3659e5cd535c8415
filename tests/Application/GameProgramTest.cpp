// The built game program itself, started as a child process in a folder of its own: a start
// without a display fails with a non-zero status, and a started game is left from the main
// menu with keys sent to its window through the X server, ending with status 0 after the
// screens have written their files.

// Google Test first: Xlib's macros (None, Status) would break its templates.
#include <gtest/gtest.h>
// (keeps the order)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "support/Files.h"

namespace {

namespace fs = std::filesystem;

const char* const Program = "../../kovo";
const char* const Caption = "Kovo Tarvell: Hush Courier!";

// Runs the program in `dir`; with `display` false it has no display to open.
pid_t startProgram(const fs::path& dir, bool display)
{
    const std::string program = fs::absolute(Program).string();
    // Everything the child needs is made before the fork.
    // In a sanitizer build the leak check stays with the in-process tests: the program
    // unloads the OpenGL driver at exit, after which the driver's own allocations can no
    // longer be told from the game's.
    static char noLeakCheck[] = "ASAN_OPTIONS=detect_leaks=0:halt_on_error=1";
    // Only the X11 driver, whatever the caller's environment says: without it SDL would
    // fall back to an offscreen driver and the start "without a display" would succeed.
    static char x11Only[] = "SDL_VIDEODRIVER=x11";
    std::vector<char*> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        if (!display && entry.rfind("DISPLAY=", 0) == 0) continue;
        if (entry.rfind("ASAN_OPTIONS=", 0) == 0) continue;
        if (entry.rfind("SDL_VIDEODRIVER=", 0) == 0) continue;
        env.push_back(*e);
    }
    env.push_back(noLeakCheck);
    env.push_back(x11Only);
    env.push_back(nullptr);
    char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0) _exit(127);
        execve(program.c_str(), argv, env.data());
        _exit(127);
    }
    return pid;
}

// The exit status, or -1 when the program is still running after `seconds`.
int waitForExit(pid_t pid, double seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return -1;
}

bool waitForLog(const fs::path& dir, const std::string& text, double seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (testsupport::readText((dir / "ktlog.txt").string()).find(text) != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

// The top-level windows whose title is the game's: the windows of other programs on the
// display (another test program's game among them) have it too.
void findWindows(Display* display, Window from, std::set<Window>& found)
{
    char* name = nullptr;
    if (XFetchName(display, from, &name) && name) {
        if (Caption == std::string(name)) found.insert(from);
        XFree(name);
    }
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, from, &root, &parent, &children, &count)) return;
    for (unsigned int i = 0; i < count; ++i) findWindows(display, children[i], found);
    if (children) XFree(children);
}

// The game's window that is not one of `before`.
Window findNewWindow(Display* display, const std::set<Window>& before)
{
    std::set<Window> now;
    findWindows(display, DefaultRootWindow(display), now);
    for (Window w : now)
        if (!before.count(w)) return w;
    return 0;
}

// A press and a release of the key, as the X server would deliver them to the window.
void sendKey(Display* display, Window window, KeySym sym)
{
    for (int type : {KeyPress, KeyRelease}) {
        XKeyEvent event{};
        event.type = type;
        event.display = display;
        event.window = window;
        event.root = DefaultRootWindow(display);
        event.subwindow = None;
        event.time = CurrentTime;
        event.same_screen = True;
        event.keycode = XKeysymToKeycode(display, sym);
        event.state = 0;
        XSendEvent(display, window, True, type == KeyPress ? KeyPressMask : KeyReleaseMask,
                   reinterpret_cast<XEvent*>(&event));
        XFlush(display);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

// An X error (a window gone meanwhile) fails the test instead of ending the test program.
int xErrors = 0;
int countXError(Display*, XErrorEvent*)
{
    ++xErrors;
    return 0;
}

class GameProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fs::exists(Program)) << "the game program is not built";
        dir = fs::absolute("program_work");
        fs::remove_all(dir);
        fs::create_directory(dir);
        for (const fs::directory_entry& entry : fs::directory_iterator(fs::current_path())) {
            if (!entry.is_symlink()) continue;
            fs::create_symlink(fs::path("..") / entry.path().filename(), dir / entry.path().filename());
        }
        // A window, not the full screen of a first start.
        testsupport::writeText((dir / "config.dat").string(), "0 1 1 1 \n");
    }
    void TearDown() override
    {
        if (pid > 0 && waitForExit(pid, 0) < 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    fs::path dir;
    pid_t pid = -1;
};

TEST_F(GameProgramTest, WithoutADisplayTheStartFailsWithANonZeroStatus)
{
    pid = startProgram(dir, false);
    ASSERT_GT(pid, 0);
    EXPECT_EQ(1, waitForExit(pid, 20));
    pid = -1;
    EXPECT_EQ(std::string::npos, testsupport::readText((dir / "ktlog.txt").string()).find("Initialized."));
}

TEST_F(GameProgramTest, AKeyOnTheTitleThenEscapeOnTheMainMenuEndsTheProgramWithStatusZero)
{
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(nullptr, display);
    XSetErrorHandler(countXError);
    std::set<Window> before;
    findWindows(display, DefaultRootWindow(display), before);
    // The test display now and then refuses a connection: a start that failed is tried again.
    bool started = false;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        pid = startProgram(dir, true);
        ASSERT_GT(pid, 0);
        started = waitForLog(dir, "Initialized.", 30);
        if (!started) {
            waitForExit(pid, 5);
            if (waitForExit(pid, 0) < 0) kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            pid = -1;
        }
    }
    ASSERT_TRUE(started);
    Window window = findNewWindow(display, before);
    ASSERT_NE(0u, window);

    sendKey(display, window, XK_a);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(-1, waitForExit(pid, 0)) << "a key on the title must not end the game";
    // Escape on the title would only lead to the main menu: the program ends only if the
    // first key got there already.
    sendKey(display, window, XK_Escape);
    const int status = waitForExit(pid, 20);
    XCloseDisplay(display);
    EXPECT_EQ(0, status);
    if (status >= 0) pid = -1;
    EXPECT_TRUE(fs::exists(dir / "scores.dat"));
    EXPECT_TRUE(fs::exists(dir / "save_index.txt"));
}

}  // namespace
