#include "Kovo/Player.h"

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Kovo/PlayerInternal.h"

// The hero's frame step: his picture chosen from state, facing, held keys and equipment, the
// short states ended, the throw charged and the launcher fired, the idle clock and beep.

using namespace PlayerInternal;

namespace {

// Standing still for longer than this starts the beep.
const int idleThreshold = 15000;

// The run animations show the fifth stride picture at these frames and the tenth at the
// next pair; the matching jump poses show them at frames 0 and 1.
const unsigned runFifthPicture = 8;
const unsigned runTenthPicture = 18;
const unsigned runHalf = 10;

// Picture keys replaced by another while he carries the launcher.
int launcherVariant(int key)
{
    switch (key) {
    case CharacterStateStandLeft: return CharacterStateLauncherStandLeft;
    case CharacterStateStandRight: return CharacterStateLauncherStandRight;
    case CharacterStateMoveLeft: return CharacterStateLauncherRunLeft;
    case CharacterStateMoveRight: return CharacterStateLauncherRunRight;
    case CharacterStateJumpLeft: return CharacterStateLauncherJumpLeft;
    case CharacterStateJumpRight: return CharacterStateLauncherJumpRight;
    case CharacterStateFallLeft: return CharacterStateLauncherFallLeft;
    case CharacterStateFallRight: return CharacterStateLauncherFallRight;
    case CharacterStateLookUpLeft: return CharacterStateLauncherLookUpLeft;
    case CharacterStateLookUpRight: return CharacterStateLauncherLookUpRight;
    case CharacterStateLookDownLeft: return CharacterStateLauncherLookDownLeft;
    case CharacterStateLookDownRight: return CharacterStateLauncherLookDownRight;
    default: return key;
    }
}

}  // namespace

GphAnimatedTexture* Player::findAnimation(int key) const
{
    auto it = _animations.find(key);
    return it == _animations.end() ? nullptr : it->second;
}

int Player::pictureKey(int key) const
{
    return _launcher ? launcherVariant(key) : key;
}

GphAnimatedTexture* Player::show(int key)
{
    GphAnimatedTexture* animation = findAnimation(pictureKey(key));
    if (animation) _body->setAnimatedTexture(animation);
    return animation;
}

GphAnimatedTexture* Player::showState(int key, CharacterState state)
{
    GphAnimatedTexture* animation = show(key);
    if (animation) _state = state;
    return animation;
}

bool Player::isHandThrow() const
{
    return _state == CharacterStateThrowLeft || _state == CharacterStateThrowRight;
}

void Player::update(unsigned ms, double seconds)
{
    if (_state == CharacterStateMoveBack) {
        show(CharacterStateMoveBack);
        _idle_clock = 0;
    } else if (_state == CharacterStateFlipSwitch) {
        updateSwitchFlip();
        _idle_clock = 0;
    } else if (_state == CharacterStateShootLeft || _state == CharacterStateShootRight) {
        updateShotPose();
        _idle_clock = 0;
    } else if (isDying()) {
        show(_state);
        _idle_clock = 0;
    } else if (isHandThrow()) {
        updateHandThrow();
        _idle_clock = 0;
    } else if (_charging) {
        updateCharge(seconds);
        _idle_clock = 0;
    } else if (!_jumping && _up_held) {
        updateLook(CharacterStateLookUpLeft);
    } else if (!_jumping && _down_held) {
        updateLook(CharacterStateLookDownLeft);
    } else if (!_left_held && !_right_held) {
        updateStill(ms);
    } else {
        updateRun(_left_held);
        _idle_clock = 0;
    }

    // The jump pose holds the frame chosen above, and a charge holds the throw picture on
    // its first frame.
    const bool jumpPose = _state == CharacterStateJumpLeft || _state == CharacterStateJumpRight;
    if (!jumpPose && (!_charging || isHandThrow()))
        GphAnimatedTexture::advance(_body->getAnimatedTexture(), ms);
}

void Player::updateSwitchFlip()
{
    GphAnimatedTexture* flip = findAnimation(CharacterStateFlipSwitch);
    if (!flip) return;
    if (flip->getCurrentFrame() != 1) {
        show(CharacterStateFlipSwitch);
        return;
    }
    flip->setCurrentFrame(0);
    _state = byFacing(_launcher ? CharacterStateLauncherStandLeft : CharacterStateStandLeft);
    show(_state);
}

void Player::updateShotPose()
{
    const bool left = _state == CharacterStateShootLeft;
    GphAnimatedTexture* shot = show(_state);
    if (!shot) return;
    if (static_cast<int>(shot->getCurrentFrame()) < static_cast<int>(shot->getFrameCount()) - 1)
        return;
    const CharacterState stand = left ? CharacterStateStandLeft : CharacterStateStandRight;
    _throw_velocity_x = 0;
    _throw_velocity_y = 0;
    showState(stand, stand);
}

void Player::updateHandThrow()
{
    GphAnimatedTexture* animation = findAnimation(_state);
    if (!animation) return;
    // A press and release handled before any frame leave the body on another picture: the
    // throw starts from its first frame, so that it runs, lets its grenade go and ends.
    if (_body->getAnimatedTexture() != animation) {
        animation->setCurrentFrame(0);
        _body->setAnimatedTexture(animation);
    }

    const int frame = static_cast<int>(animation->getCurrentFrame());
    const int last = static_cast<int>(animation->getFrameCount()) - 1;
    if (frame < last) {
        if (frame == 1 && !_grenade_thrown && _grenades > 0) {
            _projectile_released = true;
            _grenade_thrown = true;
            playSound(_throw_sound);
            --_grenades;
        }
        return;
    }

    // The last frame: he turns toward a direction still held.
    const bool endLeft = _state == CharacterStateThrowLeft ? !_right_held : _left_held;
    const CharacterState stand = endLeft ? CharacterStateStandLeft : CharacterStateStandRight;
    if (!_charging) {
        showState(stand, stand);
    } else {
        // A new charge has begun: the throw picture stays, back on its first frame.
        animation->setCurrentFrame(0);
        _state = stand;
    }
    _facing_left = endLeft;
    _throw_velocity_x = 0;
    _throw_velocity_y = 0;
    _grenade_thrown = false;
}

void Player::updateCharge(double seconds)
{
    if (_launcher) {
        fireLauncher();
        return;
    }
    const double across = (maxThrowSpeed + minThrowSpeed) * seconds;
    if (_facing_left) {
        if (_throw_velocity_x > -maxThrowSpeed) _throw_velocity_x -= across;
    } else {
        if (_throw_velocity_x < maxThrowSpeed) _throw_velocity_x += across;
    }
    if (_throw_velocity_y < maxThrowSpeed)
        _throw_velocity_y += (maxThrowSpeed + throwSpeedRange) * seconds;
    if (_facing_left) {
        if (_throw_velocity_x > -minThrowSpeed) _throw_velocity_x = -minThrowSpeed;
    } else {
        if (_throw_velocity_x < minThrowSpeed) _throw_velocity_x = minThrowSpeed;
    }

    GphAnimatedTexture* animation = findAnimation(byFacing(CharacterStateThrowLeft));
    if (animation) {
        animation->setCurrentFrame(0);
        _body->setAnimatedTexture(animation);
    }
}

bool Player::fireLauncher()
{
    if (!_launcher || _grenades <= 0) return false;
    const CharacterState pose = byFacing(CharacterStateShootLeft);
    GphAnimatedTexture* shot = findAnimation(pose);
    if (shot) {
        shot->setCurrentFrame(0);
        _body->setAnimatedTexture(shot);
        _state = pose;
    }
    playSound(_launcher_sound);
    _charging = false;
    --_grenades;
    return true;
}

void Player::updateLook(int leftKey)
{
    show(byFacing(leftKey));
    if (_state == CharacterStateIdleLeft) _state = CharacterStateStandLeft;
    else if (_state == CharacterStateIdleRight) _state = CharacterStateStandRight;
    _idle_clock = 0;
}

void Player::updateStill(unsigned ms)
{
    const CharacterState jump = byFacing(CharacterStateJumpLeft);
    const CharacterState fall = byFacing(CharacterStateFallLeft);
    const CharacterState beep = byFacing(CharacterStateBeepLeft);
    const CharacterState idle = byFacing(CharacterStateIdleLeft);
    const CharacterState stand = byFacing(CharacterStateStandLeft);

    if (_jumping) {
        GphAnimatedTexture* pose = show(jump);
        if (pose) {
            pose->setCurrentFrame(1);
            _state = jump;
        }
        _idle_clock = 0;
        return;
    }
    if (_state == fall) {
        show(fall);
        _idle_clock = 0;
        return;
    }
    if (_launcher) {
        // Ready to fire: he neither beeps nor dreams.
        show(byFacing(CharacterStateLauncherStandLeft));
        _idle_clock = 0;
        return;
    }
    if (_state == beep) {
        GphAnimatedTexture* animation = showState(beep, beep);
        if (!animation) return;
        if (animation->getCurrentFrame() == 2) {
            if (_beep_sound && !_beep_played) {
                playSound(_beep_sound);
                _beep_played = true;
            }
        } else if (animation->getCurrentFrame() == 4) {
            animation->setCurrentFrame(0);
            showState(idle, idle);
            showIdlePicture();
        }
        return;
    }
    if (_state == idle) {
        GphAnimatedTexture* animation = showState(idle, idle);
        if (animation && animation->getCurrentFrame() == 1) {
            animation->setCurrentFrame(0);
            showState(stand, stand);
            deleteIdleBubble();
            _idle_clock = 0;
        }
        return;
    }

    showState(stand, stand);
    if (_velocity_x == 0 && _velocity_y == 0) _idle_clock += static_cast<int>(ms);
    else _idle_clock = 0;
    if (_idle_clock > idleThreshold) {
        showState(beep, beep);
        playSound(_beep_sound);
        _beep_played = false;
    }
}

void Player::updateRun(bool left)
{
    const CharacterState run = left ? CharacterStateMoveLeft : CharacterStateMoveRight;
    const CharacterState jump = left ? CharacterStateJumpLeft : CharacterStateJumpRight;
    const CharacterState fall = left ? CharacterStateFallLeft : CharacterStateFallRight;

    if (!_jumping) {
        if (_state == CharacterStateFallLeft || _state == CharacterStateFallRight) {
            showState(fall, fall);
            return;
        }
        GphAnimatedTexture* animation = findAnimation(pictureKey(run));
        if (!animation) return;
        if (_state != run) animation->setCurrentFrame(0);
        _body->setAnimatedTexture(animation);
        _state = run;
        return;
    }
    if (_state == CharacterStateJumpLeft || _state == CharacterStateJumpRight) {
        showState(jump, jump);
        return;
    }

    // A running jump: the stride goes on until the legs reach one of the jump pose's two
    // pictures, and the run picks up at the other half after landing.
    GphAnimatedTexture* stride = findAnimation(pictureKey(run));
    if (!stride) return;
    const unsigned frame = stride->getCurrentFrame();
    if (frame == runFifthPicture || frame == runFifthPicture + 1) {
        GphAnimatedTexture* pose = showState(jump, jump);
        if (pose) pose->setCurrentFrame(0);
        stride->setCurrentFrame(runHalf);
    } else if (frame == runTenthPicture || frame == runTenthPicture + 1) {
        GphAnimatedTexture* pose = showState(jump, jump);
        if (pose) pose->setCurrentFrame(1);
        stride->setCurrentFrame(0);
    } else {
        _body->setAnimatedTexture(stride);
        _state = run;
    }
}
