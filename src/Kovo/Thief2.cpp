#include "Kovo/Thief2.h"

#include "Base/Gph/GphRect.h"
#include "Common/GameConstants.h"
#include "Kovo/CharacterBlock.h"
#include "Kovo/Player.h"
#include "Kovo/ThiefPictures.h"

namespace {

const double kSide = 100.0;
const int kHitPoints = 1;
// Saved with the character block; this thief reads neither.
const double kAlarmRange = 250.0;
const double kSightRange = 310.0;
// Time stood on screen before the volley.
const int kAlertTime = 500;
// A hero standing higher than this above its feet is not shot at.
const double kHeroAbove = 1.0;
// Two shots at least 100 ms apart; the first comes at once.
const int kShotsPerVolley = 2;
const int kShotGap = 100;

}  // namespace

Thief2::Thief2(Map* map, Player* player, double x, double y, double z, double leftLimit,
               double rightLimit, CharacterState state, bool facingLeft)
    : Walker(map, player, CharacterTypeThief2, 0, 0, false, true, kHitPoints,
             GameConstants::walkSpeed, GameConstants::walkSpeed, kAlarmRange, kSightRange, state,
             facingLeft, true, leftLimit, rightLimit),
      _alert_timer(0),
      _gun_sound(nullptr),
      _fire_request(false),
      _shot_timer(kShotGap),
      _shot_count(0)
{
    buildAnimations();
    makeDrawable(x, y, z, kSide, kSide);
    setSize(kSide, kSide);
    _gun_sound = loadSound("gun.wav");
}

void Thief2::buildAnimations()
{
    addAnimation(CharacterStateStandLeft, {"thief_faceleft.pcx"});
    addAnimation(CharacterStateStandRight, {"thief_faceright.pcx"});
    addAnimation(CharacterStateShootLeft, {"thief_shootleft.pcx"});
    addAnimation(CharacterStateShootRight, {"thief_shootright.pcx"});
    addAnimation(CharacterStateMoveLeft, ThiefPictures::run("left"), ThiefPictures::kRunFrameMs);
    addAnimation(CharacterStateMoveRight, ThiefPictures::run("right"), ThiefPictures::kRunFrameMs);
}

void Thief2::draw()
{
    if (isVisible() && !isAsleep()) Sprite::draw();
}

void Thief2::think(unsigned ms, double seconds)
{
    switch (_state) {
    case CharacterStateStandLeft:
    case CharacterStateStandRight: stand(ms); break;
    case CharacterStateShootLeft:
    case CharacterStateShootRight: shoot(ms); break;
    case CharacterStateMoveLeft: runOff(true, seconds); break;
    case CharacterStateMoveRight: runOff(false, seconds); break;
    case CharacterStateAsleepLeft:
    case CharacterStateAsleepRight:
        // Gone.
        if (_drawable) _drawable->setAnimatedTexture(nullptr);
        break;
    default: break;
    }
    advanceAnimation(ms);
}

void Thief2::stand(unsigned ms)
{
    // Started, the count runs on whatever the hero does.
    if (_alert_timer <= 0 && !(isOnScreen() && _player && _player->getY() <= getY() + kHeroAbove))
        return;
    _alert_timer += ms;
    if (_alert_timer <= kAlertTime) return;
    if (enterState(_state == CharacterStateStandLeft ? CharacterStateShootLeft
                                                     : CharacterStateShootRight,
                   false))
        _alert_timer = 0;
}

void Thief2::shoot(unsigned ms)
{
    const bool left = _state == CharacterStateShootLeft;
    if (_shot_count >= kShotsPerVolley) {
        if (_player && _player->isDying()) {
            // Stands with the shooting picture; the count stays spent.
            _state = left ? CharacterStateStandLeft : CharacterStateStandRight;
        } else if (turnTo(left ? CharacterStateMoveRight : CharacterStateMoveLeft, !left)) {
            _alert_timer = 0;
            _shot_count = 0;
        }
        return;
    }
    if (_shot_timer < kShotGap) {
        _shot_timer += ms;
        return;
    }
    _fire_request = true;
    playSound(_gun_sound);
    _shot_timer = 0;
    ++_shot_count;
}

bool Thief2::takeRequest(CharacterRequest& request)
{
    return takeBullet(_fire_request, ThiefPictures::kGunHeight, request);
}

int Thief2::writeState(std::ostream& out)
{
    return CharacterBlock::write(out, "THIEF2", *this);
}

int Thief2::readState(std::istream& in)
{
    return CharacterBlock::read(
        in, *this, [](std::istream&) { return true; }, [] {});
}
