#include "Base/App/AppBase.h"

#include <cstdlib>

#include "Base/App/Log.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Snd/SndSoundEffect.h"

namespace {

// Dead zones of the joystick's axes: the vertical one is wider so that a stick pushed
// sideways does not also look up or down.
const Sint32 axisDeadZoneX = 10000;
const Sint32 axisDeadZoneY = 15000;

}  // namespace

AppBase::AppBase() : _window(nullptr), _quit(false), _clock(), _joystick(nullptr), _axis_x(0), _axis_y(0) {}

AppBase::~AppBase()
{
    delete _window;
    _window = nullptr;
}

int AppBase::init()
{
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK) < 0) {
        LOG("ERROR! Failed to initialize SDL!");
        LOG("       SDL returned error: " << SDL_GetError());
        return -1;
    }
    if (SDL_NumJoysticks() > 0) _joystick = SDL_JoystickOpen(0);
    atexit(SDL_Quit);

    onInit();

    if (_window) return 0;
    if (_joystick) {
        SDL_JoystickClose(_joystick);
        _joystick = nullptr;
    }
    return -1;
}

void AppBase::run()
{
    try {
        _clock.start();
        while (!_quit) {
            const unsigned int elapsed = _clock.step();
            pollEvents();
            update(elapsed);
            SndSoundEffect::updateAll();
            SDL_Delay(1);
        }
    } catch (...) {
        LOG("Received unknown exception!");
    }
}

void AppBase::shutdown()
{
    onShutdown();
    if (_joystick) {
        SDL_JoystickClose(_joystick);
        _joystick = nullptr;
    }
}

void AppBase::pollEvents()
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) handleEvent(event);

    // Axis events are not used: the stick is read once the queue is empty, so a burst of
    // motion gives at most one press or release per pass.
    if (_joystick) {
        SDL_JoystickUpdate();
        joyAxis(0, SDL_JoystickGetAxis(_joystick, 0));
        joyAxis(1, SDL_JoystickGetAxis(_joystick, 1));
    }
}

void AppBase::handleEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_ACTIVEEVENT:
        if (event.active.state & SDL_APPACTIVE) {
            if (event.active.gain == 1)
                onActivated();
            else
                onDeactivated();
        } else if (event.active.state & SDL_APPINPUTFOCUS) {
            if (event.active.gain == 1)
                onInputFocusGained();
            else
                onInputFocusLost();
        }
        break;
    case SDL_KEYDOWN:
        keyEvent(event.key.keysym, true);
        break;
    case SDL_KEYUP:
        keyEvent(event.key.keysym, false);
        break;
    case SDL_MOUSEMOTION:
        onMouseMove(static_cast<double>(event.motion.x), static_cast<double>(event.motion.y));
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const bool down = event.type == SDL_MOUSEBUTTONDOWN;
        const double x = event.button.x;
        const double y = event.button.y;
        switch (event.button.button) {
        case SDL_BUTTON_LEFT:
            down ? onLeftButtonDown(x, y) : onLeftButtonUp(x, y);
            break;
        case SDL_BUTTON_MIDDLE:
            down ? onMiddleButtonDown(x, y) : onMiddleButtonUp(x, y);
            break;
        case SDL_BUTTON_RIGHT:
            down ? onRightButtonDown(x, y) : onRightButtonUp(x, y);
            break;
        default:  // the wheel
            break;
        }
        break;
    }
    case SDL_JOYBUTTONDOWN:
        joyButton(event.jbutton.button, true);
        break;
    case SDL_JOYBUTTONUP:
        joyButton(event.jbutton.button, false);
        break;
    case SDL_QUIT:
        quit();
        break;
    default:
        break;
    }
}

void AppBase::keyEvent(const SDL_keysym& keysym, bool down)
{
    AppKey key;
    if (specialKey(keysym.sym, key)) {
        down ? onKeyDown(key) : onKeyUp(key);
        return;
    }
    char c;
    if (!keyChar(keysym.sym, keysym.mod, c)) return;
    down ? onCharDown(c) : onCharUp(c);
}

void AppBase::joyButton(int button, bool down)
{
    switch (button) {
    case 0:
        down ? onKeyDown(AppKeyCtrl) : onKeyUp(AppKeyCtrl);
        break;
    case 1:
        down ? onCharDown(' ') : onCharUp(' ');
        break;
    case 2:
        down ? onCharDown('\n') : onCharUp('\n');
        break;
    default:
        break;
    }
}

void AppBase::joyAxis(int axis, Sint32 value)
{
    const bool horizontal = axis == 0;
    const Sint32 threshold = horizontal ? axisDeadZoneX : axisDeadZoneY;
    const AppKey negative = horizontal ? AppKeyLeft : AppKeyUp;
    const AppKey positive = horizontal ? AppKeyRight : AppKeyDown;
    Sint32& state = horizontal ? _axis_x : _axis_y;

    if (value < -threshold) {
        if (state >= 0) onKeyDown(negative);
        state = value;
    } else if (value > threshold) {
        if (state <= 0) onKeyDown(positive);
        state = value;
    } else if (state < -threshold) {
        onKeyUp(negative);
        state = 0;
    } else if (state > threshold) {
        onKeyUp(positive);
        state = 0;
    }
}

bool AppBase::specialKey(int sym, AppKey& key)
{
    switch (sym) {
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        key = AppKeyShift;
        return true;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        key = AppKeyCtrl;
        return true;
    case SDLK_LALT:
    case SDLK_RALT:
        key = AppKeyAlt;
        return true;
    case SDLK_TAB:
        key = AppKeyTab;
        return true;
    case SDLK_LEFT:
        key = AppKeyLeft;
        return true;
    case SDLK_RIGHT:
        key = AppKeyRight;
        return true;
    case SDLK_UP:
        key = AppKeyUp;
        return true;
    case SDLK_DOWN:
        key = AppKeyDown;
        return true;
    case SDLK_INSERT:
        key = AppKeyInsert;
        return true;
    case SDLK_DELETE:
        key = AppKeyDelete;
        return true;
    case SDLK_HOME:
        key = AppKeyHome;
        return true;
    case SDLK_END:
        key = AppKeyEnd;
        return true;
    case SDLK_PAGEUP:
        key = AppKeyPageUp;
        return true;
    case SDLK_PAGEDOWN:
        key = AppKeyPageDown;
        return true;
    default:
        break;
    }
    if (sym >= SDLK_F1 && sym <= SDLK_F12) {
        key = AppKeyF1 + (sym - SDLK_F1);
        return true;
    }
    return false;
}

bool AppBase::keyChar(int sym, int mod, char& c)
{
    if (sym > SDLK_UNKNOWN && sym < 256) {
        c = static_cast<char>(sym);
        if (mod & KMOD_SHIFT) c = shifted(c);
        return true;
    }
    // Beyond the 8-bit range only the keypad has characters; cutting the keysym to 8 bits
    // would turn its keys (and the lock keys) into control characters.
    if (sym >= SDLK_KP0 && sym <= SDLK_KP9) {
        c = static_cast<char>('0' + (sym - SDLK_KP0));
        return true;
    }
    switch (sym) {
    case SDLK_KP_PERIOD:
        c = '.';
        return true;
    case SDLK_KP_DIVIDE:
        c = '/';
        return true;
    case SDLK_KP_MULTIPLY:
        c = '*';
        return true;
    case SDLK_KP_MINUS:
        c = '-';
        return true;
    case SDLK_KP_PLUS:
        c = '+';
        return true;
    case SDLK_KP_ENTER:
        c = '\r';  // as the Return key
        return true;
    case SDLK_KP_EQUALS:
        c = '=';
        return true;
    default:
        return false;
    }
}

char AppBase::shifted(char c)
{
    switch (c) {
    case '1': return '!';
    case '2': return '@';
    case '3': return '#';
    case '4': return '$';
    case '5': return '%';
    case '6': return '^';
    case '7': return '&';
    case '8': return '*';
    case '9': return '(';
    case '0': return ')';
    case '-': return '_';
    case '=': return '+';
    case ',': return '<';
    case '.': return '>';
    case '/': return '?';
    case ';': return ':';
    case '\'': return '"';
    case '[': return '{';
    case ']': return '}';
    case '\\': return '|';
    case '`': return '~';
    default: return c;
    }
}
