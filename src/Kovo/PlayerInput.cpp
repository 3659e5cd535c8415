#include "Kovo/Player.h"

#include "Kovo/PlayerInternal.h"

// The hero's keys as the level hands them on.

using namespace PlayerInternal;

void Player::leaveShotPose()
{
    if (_state != CharacterStateShootLeft && _state != CharacterStateShootRight) return;
    _state = _state == CharacterStateShootLeft ? CharacterStateStandLeft
                                               : CharacterStateStandRight;
    _throw_velocity_x = 0;
    _throw_velocity_y = 0;
}

void Player::onCharDown(unsigned char c)
{
    resetIdle();
    // A charge starts only on something solid, and not while another move holds him.
    if (isMovingBack() || isDying() || isInShotPose() || c != ' ' || _jumping ||
        _vertical_speed != 0)
        return;
    if (_state == CharacterStateShootLeft) _state = CharacterStateStandLeft;
    else if (_state == CharacterStateShootRight) _state = CharacterStateStandRight;
    _charging = true;
    _throw_velocity_x = 0;
    _throw_velocity_y = 0;
    if (_launcher && _grenades > 0) {
        // The room makes the launcher grenade from the flag; the next frame shows the shot.
        _throw_velocity_x = _facing_left ? -maxThrowSpeed : maxThrowSpeed;
        _throw_velocity_y = 0;
        _projectile_released = true;
    }
}

void Player::onCharUp(unsigned char c)
{
    if (c != ' ' || !_charging) return;
    if (isMovingBack() || isDying()) {
        _charging = false;
        return;
    }
    // Released before any frame has shown the launcher shot that the press fired: the
    // shot completes now instead of a hand throw following it.
    if (fireLauncher()) return;
    _charging = false;
    _state = byFacing(CharacterStateThrowLeft);
}

void Player::onKeyDown(AppKey key)
{
    resetIdle();
    if (isMovingBack() || isDying() || isInShotPose()) return;

    switch (key) {
    case AppKeyCtrl:
        if (isThrowing()) break;
        leaveShotPose();
        if (_vertical_speed == 0) {
            // The room gives the jump its speed on the same key.
            _jumping = true;
            _up_held = _down_held = false;
            _fall_sound_played = false;
            playSound(_super_shoes ? _jump2_sound : _jump1_sound);
        }
        break;
    case AppKeyAlt:
        onCharDown(' ');
        break;
    case AppKeyTab:
        if (!_charging) break;
        _charging = false;
        _throw_velocity_x = 0;
        _throw_velocity_y = 0;
        show(byFacing(CharacterStateStandLeft));
        _state = byFacing(CharacterStateStandLeft);
        _grenade_thrown = false;
        break;
    case AppKeyLeft:
    case AppKeyRight: {
        const bool left = key == AppKeyLeft;
        _left_held = left;
        _right_held = !left;
        _up_held = _down_held = false;
        // A throw keeps its direction; its end turns him toward the held key.
        if (!isThrowing()) _facing_left = left;
        leaveShotPose();
        break;
    }
    case AppKeyUp:
    case AppKeyDown:
        if (!isThrowing() && !_jumping && _vertical_speed == 0) {
            _up_held = key == AppKeyUp;
            _down_held = key == AppKeyDown;
            _left_held = _right_held = false;
        }
        leaveShotPose();
        break;
    default:
        break;
    }
}

void Player::onKeyUp(AppKey key)
{
    // A release still counts in the shot pose.
    if (isMovingBack() || isDying()) return;
    switch (key) {
    case AppKeyAlt: onCharUp(' '); break;
    case AppKeyLeft: _left_held = false; break;
    case AppKeyRight: _right_held = false; break;
    case AppKeyUp: _up_held = false; break;
    case AppKeyDown: _down_held = false; break;
    default: break;
    }
}
