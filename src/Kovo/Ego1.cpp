#include "Kovo/Ego1.h"

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Common/GameConstants.h"
#include "Kovo/CharacterBlock.h"

namespace {

const double kSide = 140.0;
const int kHitPoints = 1;
// Saved with the character block; the scientist reads neither.
const double kAlarmRange = 250.0;
const double kSightRange = 310.0;
// How long he must have been seen before he walks off.
const int kSeenTime = 500;
// His walk shows the standing picture as one frame.
const unsigned kWalkFrameTime = 25;

}  // namespace

Ego1::Ego1(Map* map, Player* player, double x, double y, double z, double leftLimit,
           double rightLimit, CharacterState state, bool facingLeft)
    : Walker(map, player, CharacterTypeEgo1, 0, 0, false, true, kHitPoints,
             GameConstants::walkSpeed, GameConstants::walkSpeed, kAlarmRange, kSightRange, state,
             facingLeft, true, leftLimit, rightLimit),
      _screen_timer(0)
{
    buildAnimations();
    makeDrawable(x, y, z, kSide, kSide);
    setSize(kSide, kSide);
}

void Ego1::buildAnimations()
{
    addAnimation(CharacterStateStandRight, {"scientist_faceright.pcx"});
    addAnimation(CharacterStateStandLeft, {"scientist_faceleft.pcx"});
    addAnimation(CharacterStateMoveRight, {"scientist_faceright.pcx"}, kWalkFrameTime);
    addAnimation(CharacterStateMoveLeft, {"scientist_faceleft.pcx"}, kWalkFrameTime);
}

void Ego1::onEnterState(CharacterState)
{
    _screen_timer = 0;
}

void Ego1::think(unsigned ms, double seconds)
{
    switch (_state) {
    case CharacterStateStandLeft: stand(ms, true); break;
    case CharacterStateStandRight: stand(ms, false); break;
    case CharacterStateMoveLeft: walk(seconds, true); break;
    case CharacterStateMoveRight: walk(seconds, false); break;
    case CharacterStateAsleepLeft:
    case CharacterStateAsleepRight:
        if (_drawable) _drawable->setAnimatedTexture(nullptr);
        break;
    default: break;
    }
    advanceAnimation(ms);
}

void Ego1::stand(unsigned ms, bool left)
{
    // Only the time he is in view counts.
    if (!_drawable || !_drawable->isVisible()) return;
    _screen_timer += ms;
    if (_screen_timer <= kSeenTime) return;
    // Facing left he walks off to the right, and the other way round.
    turnTo(left ? CharacterStateMoveRight : CharacterStateMoveLeft, !left);
}

void Ego1::walk(double seconds, bool left)
{
    const double dx = (left ? -1 : 1) * _speed * seconds;
    if (!withinLimits(left, dx)) {
        // Gone: no picture goes with it.
        _state = left ? CharacterStateAsleepLeft : CharacterStateAsleepRight;
        return;
    }
    move(dx, 0, 0);
}

void Ego1::draw()
{
    if (isAsleep()) return;
    Character::draw();
}

int Ego1::writeState(std::ostream& out)
{
    return CharacterBlock::write(out, "EGO1", *this);
}

int Ego1::readState(std::istream& in)
{
    return CharacterBlock::read(in, *this, [](std::istream&) { return true; }, [] {});
}
