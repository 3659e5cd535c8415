#ifndef KOVO_TESTS_SUPPORT_GAMEPROGRAM_H
#define KOVO_TESTS_SUPPORT_GAMEPROGRAM_H

#include <sys/types.h>

#include <string>
#include <vector>

struct _XDisplay;

namespace testsupport {

// The built game program run as a child process in a folder of its own, its window driven
// through the X server as a player's keys and pointer would drive it. The program keeps its
// own time; a test waits for its frames (seen as redraws of its window), never for a span of
// wall-clock time. Wall-clock limits only end a test that is stuck.
class GameProgram {
public:
    // Ends a program still running.
    ~GameProgram();

    // Starts `program` in `dir` with the test's environment, but only SDL's X11 video driver
    // and no leak check (the OpenGL driver's allocations at exit are not the game's). With
    // `display` false it has no display to open. False when no process could be made.
    bool start(const std::string& program, const std::string& dir, bool display = true);
    // The exit status once the program has ended, -1 while it still runs after `seconds`.
    int waitForExit(double seconds);
    // Waits for the program's window (a new one with the game's caption) and for its first
    // frames. False if none came.
    bool connect();

    // Key and pointer events as the X server would deliver them, each a tenth of a second
    // after the one before (a release and a press of one key at the same moment would be
    // taken for the key's auto-repeat and dropped). Pointer positions are window pixels.
    void key(unsigned long keysym, bool down);
    void move(int x, int y);
    void button(bool down, int x, int y);
    // The events sent so far reach the program and `count` of its frames pass after them
    // (fewer when it ends meanwhile). False if the frames did not come.
    bool frames(int count = kStepFrames);

    // A key pressed and released, then frames.
    void type(unsigned long keysym);
    // Characters into a focused box (no frame between them), then frames.
    void typeText(const std::string& text);
    // A click of the first button, then frames.
    void click(int x, int y);

    pid_t pid() const { return _pid; }

private:
    // Enough for events to be read in one frame and shown in a later one: the program may
    // have drawn one frame ahead of the display when the events arrive.
    static constexpr int kStepFrames = 3;

    // Reaps the program if it has ended.
    bool ended();

    pid_t _pid = -1;
    int _status = -1;
    _XDisplay* _display = nullptr;
    std::vector<unsigned long> _before;
    unsigned long _window = 0;
    unsigned long _canvas = 0;
    unsigned long _damage = 0;
    int _damageEvent = 0;
    unsigned long _time = 1000;
};

}  // namespace testsupport

#endif
