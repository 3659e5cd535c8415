#ifndef KOVO_BASE_APP_APPBASE_H
#define KOVO_BASE_APP_APPBASE_H

#include <SDL/SDL.h>

#include "Base/App/AppClock.h"

class GphWindow;

// The code of a special key handed to onKeyDown and onKeyUp. Either Shift, Ctrl or Alt key
// gives the same code; every key not listed here arrives as a character instead.
typedef int AppKey;
enum : AppKey {
    AppKeyShift = 0,
    AppKeyCtrl = 1,
    AppKeyAlt = 2,
    AppKeyTab = 3,
    AppKeyLeft = 4,
    AppKeyRight = 5,
    AppKeyUp = 6,
    AppKeyDown = 7,
    AppKeyInsert = 8,
    AppKeyDelete = 9,
    AppKeyHome = 10,
    AppKeyEnd = 11,
    AppKeyPageUp = 12,
    AppKeyPageDown = 13,
    AppKeyF1 = 14,
    AppKeyF12 = 25
};

// The frame under the program: starts SDL, runs the one main loop and turns every input
// event into a call of a virtual hook. The application derives from it, creates the window
// in onInit and forwards the hooks to whatever it shows.
class AppBase {
public:
    AppBase();
    // Deletes the window, if any.
    virtual ~AppBase();

    // Starts SDL (video and joystick), opens the first joystick, arranges SDL's shutdown at
    // process exit and calls onInit. 0 when a window exists afterwards, else -1.
    int init();
    // The main loop: runs until the quit flag is set or an exception escapes a pass. Each
    // pass hands update the time its clock gives.
    void run();
    // The clock of the main loop; the machine's own until another is set.
    void setClock(const AppClock& clock) { _clock = clock; }
    // onShutdown, then closes the joystick.
    void shutdown();

    GphWindow* getWindow() { return _window; }
    // The loop ends at the start of its next pass.
    void quit() { _quit = true; }

    // Drains SDL's event queue into the hooks, then reads the joystick's first two axes.
    void pollEvents();

    // Hooks, all empty here.
    virtual void onInit() {}
    // `ms`: the elapsed time of the frame, at most 30.
    virtual void update(unsigned int /*ms*/) {}
    virtual void onShutdown() {}
    virtual void onInputFocusGained() {}
    virtual void onInputFocusLost() {}
    virtual void onDeactivated() {}
    virtual void onActivated() {}
    virtual void onCharDown(char /*c*/) {}
    virtual void onCharUp(char /*c*/) {}
    virtual void onKeyDown(AppKey /*key*/) {}
    virtual void onKeyUp(AppKey /*key*/) {}
    // Mouse positions are window pixels, origin at the top-left corner, y growing downward.
    virtual void onMouseMove(double /*x*/, double /*y*/) {}
    virtual void onLeftButtonDown(double /*x*/, double /*y*/) {}
    virtual void onLeftButtonUp(double /*x*/, double /*y*/) {}
    virtual void onMiddleButtonDown(double /*x*/, double /*y*/) {}
    virtual void onMiddleButtonUp(double /*x*/, double /*y*/) {}
    virtual void onRightButtonDown(double /*x*/, double /*y*/) {}
    virtual void onRightButtonUp(double /*x*/, double /*y*/) {}

    // The longest step handed to update: a slow frame slows the game rather than jumping it.
    static constexpr unsigned int maxFrameMs = AppClock::maxStepMs;

    // The special-key code of an SDL keysym; false for a character key.
    static bool specialKey(int sym, AppKey& key);
    // The character of a character key under the modifier state `mod` (Shift applies the
    // United States layout's shifted symbols; letters stay lower case). False for a key that
    // has no character: one SDL cannot name, or one beyond the 8-bit range other than the
    // keypad's, whose keys give the characters printed on them.
    static bool keyChar(int sym, int mod, char& c);
    // The character Shift gives with `c`, or `c` itself when Shift does not change it.
    static char shifted(char c);

protected:
    // One SDL event turned into its hooks.
    void handleEvent(const SDL_Event& event);
    // A key went down or up: a special-key hook or a character hook.
    void keyEvent(const SDL_keysym& keysym, bool down);
    // A joystick button went down or up: 0 is Ctrl, 1 the space bar, 2 a line feed.
    void joyButton(int button, bool down);
    // A reading of joystick axis 0 (left/right) or 1 (up/down): a press when the stick
    // leaves its dead zone, a release when it comes back.
    void joyAxis(int axis, Sint32 value);

    // Derived classes set the window in onInit; it is owned from then on.
    GphWindow* _window;

private:
    bool _quit;
    AppClock _clock;
    SDL_Joystick* _joystick;
    Sint32 _axis_x;
    Sint32 _axis_y;
};

#endif
