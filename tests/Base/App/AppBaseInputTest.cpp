#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include <utility>
#include <vector>

#include "Base/App/AppBase.h"
#include "AppBaseTestApp.h"
#include "support/GlContext.h"

// Real SDL events pushed into the real main loop of a small application under the test
// display: each must reach the right hook with the right argument.

namespace {

// Starts the application, runs its loop and shuts it down as the entry point does.
void runApp(RecordingApp& app)
{
    testsupport::keepGlDriverLoaded();
    ASSERT_EQ(0, app.init());
    app.run();
    app.shutdown();
}

const std::vector<std::pair<int, AppKey>>& keyTable()
{
    static const std::vector<std::pair<int, AppKey>> table = {
        {SDLK_LSHIFT, 0}, {SDLK_RSHIFT, 0}, {SDLK_LCTRL, 1}, {SDLK_RCTRL, 1}, {SDLK_LALT, 2},
        {SDLK_RALT, 2}, {SDLK_TAB, 3}, {SDLK_LEFT, 4}, {SDLK_RIGHT, 5}, {SDLK_UP, 6},
        {SDLK_DOWN, 7}, {SDLK_INSERT, 8}, {SDLK_DELETE, 9}, {SDLK_HOME, 10}, {SDLK_END, 11},
        {SDLK_PAGEUP, 12}, {SDLK_PAGEDOWN, 13}, {SDLK_F1, 14}, {SDLK_F2, 15}, {SDLK_F3, 16},
        {SDLK_F4, 17}, {SDLK_F5, 18}, {SDLK_F6, 19}, {SDLK_F7, 20}, {SDLK_F8, 21},
        {SDLK_F9, 22}, {SDLK_F10, 23}, {SDLK_F11, 24}, {SDLK_F12, 25},
    };
    return table;
}

}  // namespace

TEST(AppBaseInput, SpecialKeysGiveTheirCodesWhateverTheModifiers)
{
    const auto& table = keyTable();
    RecordingApp app;
    // One key pressed and released per pass; every other one with Shift and Ctrl held.
    app.script = [&](RecordingApp& a, int frame) {
        const size_t i = static_cast<size_t>(frame - 1);
        if (i < table.size()) {
            const int mod = i % 2 ? (KMOD_LSHIFT | KMOD_RCTRL) : KMOD_NONE;
            pushKey(true, table[i].first, mod);
            pushKey(false, table[i].first, mod);
        } else {
            a.quit();
        }
    };
    runApp(app);

    std::vector<std::string> expected;
    for (const auto& entry : table) {
        expected.push_back(keyDown(entry.second));
        expected.push_back(keyUp(entry.second));
    }
    EXPECT_EQ(expected, app.keyboardCalls());
}

TEST(AppBaseInput, ShiftMapAppliesOnlyWhileShiftIsInTheEventsModifiers)
{
    const std::vector<std::pair<char, char>> shiftMap = {
        {'1', '!'}, {'2', '@'}, {'3', '#'}, {'4', '$'},  {'5', '%'}, {'6', '^'}, {'7', '&'},
        {'8', '*'}, {'9', '('}, {'0', ')'}, {'-', '_'},  {'=', '+'}, {',', '<'}, {'.', '>'},
        {'/', '?'}, {';', ':'}, {'\'', '"'}, {'[', '{'}, {']', '}'}, {'\\', '|'}, {'`', '~'},
    };
    RecordingApp app;
    app.script = [&](RecordingApp& a, int frame) {
        if (frame == 1) {
            // Shift, "1", Shift released first, then "1".
            pushKey(true, SDLK_LSHIFT, KMOD_LSHIFT);
            pushKey(true, SDLK_1, KMOD_LSHIFT);
            pushKey(false, SDLK_LSHIFT, KMOD_NONE);
            pushKey(false, SDLK_1, KMOD_NONE);
        } else if (frame == 2) {
            for (const auto& p : shiftMap) pushKey(true, p.first, KMOD_RSHIFT);
        } else if (frame == 3) {
            // Letters stay lower case with Shift or Caps Lock; other modifiers change nothing.
            pushKey(true, SDLK_a, KMOD_LSHIFT);
            pushKey(true, SDLK_z, KMOD_CAPS);
            pushKey(true, SDLK_1, KMOD_CAPS);
            pushKey(true, SDLK_1, KMOD_LCTRL | KMOD_LALT);
            pushKey(true, SDLK_RETURN, KMOD_LSHIFT);
            pushKey(true, SDLK_ESCAPE);
            pushKey(true, SDLK_BACKSPACE);
            pushKey(true, SDLK_SPACE, KMOD_RSHIFT);
        } else {
            a.quit();
        }
    };
    runApp(app);

    std::vector<std::string> expected = {keyDown(AppKeyShift), charDown('!'), keyUp(AppKeyShift), charUp('1')};
    for (const auto& p : shiftMap) expected.push_back(charDown(p.second));
    for (char c : {'a', 'z', '1', '1', '\r', '\x1b', '\b', ' '}) expected.push_back(charDown(c));
    EXPECT_EQ(expected, app.keyboardCalls());
}

TEST(AppBaseInput, KeypadGivesItsCharactersAndKeysWithoutOneGiveNothing)
{
    RecordingApp app;
    app.script = [&](RecordingApp& a, int frame) {
        if (frame == 1) {
            for (int sym = SDLK_KP0; sym <= SDLK_KP9; ++sym) pushKey(true, sym);
            for (int sym : {SDLK_KP_PERIOD, SDLK_KP_DIVIDE, SDLK_KP_MULTIPLY, SDLK_KP_MINUS, SDLK_KP_PLUS,
                            SDLK_KP_ENTER, SDLK_KP_EQUALS})
                pushKey(true, sym);
            // The keypad's keys are not the digit row: Shift does not map them.
            pushKey(true, SDLK_KP1, KMOD_LSHIFT);
            pushKey(false, SDLK_KP0);
        } else if (frame == 2) {
            // Keys beyond the 8-bit range without a character of their own, and a key SDL
            // cannot name: none must arrive as a control character.
            for (int sym : {SDLK_NUMLOCK, SDLK_CAPSLOCK, SDLK_SCROLLOCK, SDLK_F13, SDLK_F15, SDLK_LSUPER,
                            SDLK_RMETA, SDLK_MODE, SDLK_PRINT, SDLK_MENU, SDLK_UNKNOWN}) {
                pushKey(true, sym);
                pushKey(false, sym);
            }
        } else {
            a.quit();
        }
    };
    runApp(app);

    std::vector<std::string> expected;
    for (char c : std::string("0123456789./*-+\r=1")) expected.push_back(charDown(c));
    expected.push_back(charUp('0'));
    EXPECT_EQ(expected, app.keyboardCalls());
}

TEST(AppBaseInput, MouseMotionAndButtonsReachTheirHooksAtTheEventsPosition)
{
    RecordingApp app;
    app.script = [&](RecordingApp& a, int frame) {
        if (frame == 1) {
            pushMouseMotion(10, 20);
            pushMouseButton(true, SDL_BUTTON_LEFT, 100, 200);
            pushMouseButton(false, SDL_BUTTON_LEFT, 101, 201);
            pushMouseButton(true, SDL_BUTTON_MIDDLE, 0, 0);
            pushMouseButton(false, SDL_BUTTON_MIDDLE, 799, 599);
            pushMouseButton(true, SDL_BUTTON_RIGHT, 300, 400);
            pushMouseButton(false, SDL_BUTTON_RIGHT, 301, 401);
            // The wheel calls nothing.
            pushMouseButton(true, SDL_BUTTON_WHEELUP, 5, 5);
            pushMouseButton(false, SDL_BUTTON_WHEELUP, 5, 5);
            pushMouseButton(true, SDL_BUTTON_WHEELDOWN, 5, 5);
            pushMouseButton(false, SDL_BUTTON_WHEELDOWN, 5, 5);
            // Positions are unsigned.
            pushMouseMotion(40000, 65535);
        } else {
            a.quit();
        }
    };
    runApp(app);

    const std::vector<std::string> expected = {
        RecordingApp::mouseCall("onMouseMove", 10, 20),
        RecordingApp::mouseCall("onLeftButtonDown", 100, 200),
        RecordingApp::mouseCall("onLeftButtonUp", 101, 201),
        RecordingApp::mouseCall("onMiddleButtonDown", 0, 0),
        RecordingApp::mouseCall("onMiddleButtonUp", 799, 599),
        RecordingApp::mouseCall("onRightButtonDown", 300, 400),
        RecordingApp::mouseCall("onRightButtonUp", 301, 401),
        RecordingApp::mouseCall("onMouseMove", 40000, 65535),
    };
    const auto mouse = app.callsOf({"onMouse", "onLeft", "onMiddle", "onRight"});
    EXPECT_TRUE(containsRun(mouse, expected)) << ::testing::PrintToString(mouse);
    EXPECT_TRUE(app.keyboardCalls().empty());
}

TEST(AppBaseInput, ActivationAndFocusEvents)
{
    RecordingApp app;
    app.script = [&](RecordingApp& a, int frame) {
        if (frame == 1) {
            pushActive(1, SDL_APPACTIVE);
            pushActive(0, SDL_APPACTIVE);
            pushActive(1, SDL_APPINPUTFOCUS);
            pushActive(0, SDL_APPINPUTFOCUS);
            // Iconifying takes the focus too: only the deactivation is told.
            pushActive(0, SDL_APPACTIVE | SDL_APPINPUTFOCUS);
            // The mouse focus alone tells nothing.
            pushActive(1, SDL_APPMOUSEFOCUS);
            pushActive(0, SDL_APPMOUSEFOCUS);
            pushActive(1, SDL_APPMOUSEFOCUS | SDL_APPINPUTFOCUS);
        } else {
            a.quit();
        }
    };
    runApp(app);

    const std::vector<std::string> expected = {"onActivated",      "onDeactivated", "onInputFocusGained",
                                               "onInputFocusLost", "onDeactivated", "onInputFocusGained"};
    const auto focus = app.callsOf({"onActivated", "onDeactivated", "onInputFocus"});
    EXPECT_TRUE(containsRun(focus, expected)) << ::testing::PrintToString(focus);
}

TEST(AppBaseInput, JoystickButtonsActAsCtrlSpaceAndLineFeed)
{
    RecordingApp app;
    app.script = [&](RecordingApp& a, int frame) {
        if (frame == 1) {
            for (Uint8 b = 0; b < 6; ++b) pushJoyButton(true, b);
            for (Uint8 b = 0; b < 6; ++b) pushJoyButton(false, b);
        } else {
            a.quit();
        }
    };
    runApp(app);

    const std::vector<std::string> expected = {keyDown(AppKeyCtrl), charDown(' '), charDown('\n'),
                                               keyUp(AppKeyCtrl),   charUp(' '),   charUp('\n')};
    EXPECT_EQ(expected, app.keyboardCalls());
}

// The stick is read only from a real joystick; the reading rule itself is tested here.
TEST(AppBaseJoystickAxes, HorizontalPressOnceOnLeavingTheDeadZoneReleaseOnReturn)
{
    RecordingApp app(false);
    app.joyAxis(0, -32768);
    app.joyAxis(0, -32768);
    app.joyAxis(0, -20000);
    EXPECT_EQ(std::vector<std::string>({keyDown(AppKeyLeft)}), app.calls);
    app.joyAxis(0, -10000);  // the edge counts as inside
    app.joyAxis(0, 0);
    EXPECT_EQ(std::vector<std::string>({keyDown(AppKeyLeft), keyUp(AppKeyLeft)}), app.calls);

    app.calls.clear();
    app.joyAxis(0, 10000);
    EXPECT_TRUE(app.calls.empty());
    app.joyAxis(0, 10001);
    app.joyAxis(0, 10000);
    EXPECT_EQ(std::vector<std::string>({keyDown(AppKeyRight), keyUp(AppKeyRight)}), app.calls);
}

TEST(AppBaseJoystickAxes, SwingAcrossPressesTheOtherSideWithoutReleasingTheFirst)
{
    RecordingApp app(false);
    app.joyAxis(0, -32768);
    app.joyAxis(0, 32767);
    app.joyAxis(0, 0);
    app.joyAxis(0, 0);
    EXPECT_EQ(std::vector<std::string>({keyDown(AppKeyLeft), keyDown(AppKeyRight), keyUp(AppKeyRight)}), app.calls);
}

TEST(AppBaseJoystickAxes, VerticalAxisHasAWiderDeadZoneAndItsOwnState)
{
    RecordingApp app(false);
    app.joyAxis(1, -12000);
    app.joyAxis(1, -15000);
    app.joyAxis(1, 15000);
    EXPECT_TRUE(app.calls.empty());
    app.joyAxis(1, -15001);
    EXPECT_EQ(std::vector<std::string>({keyDown(AppKeyUp)}), app.calls);

    // The horizontal axis leaves the held vertical direction alone.
    app.joyAxis(0, 12000);
    app.joyAxis(0, 0);
    app.joyAxis(1, -14000);
    app.joyAxis(1, 20000);
    app.joyAxis(1, 0);
    EXPECT_EQ(std::vector<std::string>({keyDown(AppKeyUp), keyDown(AppKeyRight), keyUp(AppKeyRight),
                                        keyUp(AppKeyUp), keyDown(AppKeyDown), keyUp(AppKeyDown)}),
              app.calls);
}
