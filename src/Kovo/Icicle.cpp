#include "Kovo/Icicle.h"

#include <string>

#include "Common/CharacterRecord.h"
#include "Common/GameConstants.h"
#include "Common/Map.h"
#include "Kovo/CharacterBlock.h"
#include "Kovo/Player.h"

namespace {

// 40 wide, 80 high.
const double kLength = 80.0;
const double kWidth = 40.0;
const int kHitPoints = 1;
// Saved with the character block; the icicle reads neither.
const int kIdleTurn = 2;
const int kReserved = 2;
// The broken spike lies a little above the floor it hit, so that it shows whole.
const double kBrokenLift = 15.0;

}  // namespace

Icicle::Icicle(Map* map, Player* player, double x, double y, double z)
    : Character(map, player, CharacterTypeIcicle, 0, 0, 8, true, true, kHitPoints,
                GameConstants::walkSpeed, GameConstants::walkSpeed, 0, 0, kIdleTurn, kReserved,
                CharacterStateStill, true, false),
      _fall_sound(nullptr),
      _break_sound(nullptr)
{
    buildAnimations();
    setSize(kLength, kWidth);
    makeDrawable(x, y, z, kLength, kWidth);
    _fall_sound = loadSound("icicle.wav");
    _break_sound = loadSound("knife_deflection.wav");
    // Only a tip well inside the hero's sides hurts him.
    setContact(ContactCentreWellInside);
}

Character* Icicle::build(Map* map, Player* player, const CharacterRecord& record)
{
    return new Icicle(map, player, record.x, record.y, record.depth());
}

void Icicle::buildAnimations()
{
    // Hanging and falling look the same.
    addAnimation(CharacterStateStill, {"spike2.pcx"});
    addAnimation(CharacterStateAsleepLeft, {"spike3.pcx"});
}

void Icicle::think(unsigned ms, double seconds)
{
    switch (_state) {
    case CharacterStateStill: hang(); break;
    case CharacterStateFlyLeft: fall(seconds); break;
    case CharacterStateAsleepLeft: showStateAnimation(); break;
    default: break;
    }
    advanceAnimation(ms);
}

void Icicle::hang()
{
    showStateAnimation();
    if (!_player || _player->isDying()) return;
    const double heroX = _player->getX();
    // The hero at or below its tip, across its width, with no floor between them.
    if (getBottom() >= _player->getTop() && heroX <= getRight() && heroX >= getLeft() && _map &&
        _map->isVerticalPathClear(getX(), getY(), getLeft(), getRight(), getTop(), getBottom())) {
        _state = CharacterStateFlyLeft;
        playSound(_fall_sound);
    }
}

void Icicle::fall(double seconds)
{
    showState(CharacterStateStill);
    double dx = 0;
    double dy = seconds * _vertical_speed;
    if (landsOnFloor(&dx, &dy)) {
        // Broken where it hit, drawn behind the actors; the landing step itself is not made.
        _state = CharacterStateStunnedLeft;
        fallAsleep();
        move(0, kBrokenLift, 0);
        playSound(_break_sound);
        return;
    }
    accelerateDown(seconds);
    move(dx, dy, 0);
}

int Icicle::writeState(std::ostream& out)
{
    return CharacterBlock::write(out, "ICICLE", *this,
                                 [this](std::ostream& s) { s << _vertical_speed << ' '; });
}

int Icicle::readState(std::istream& in)
{
    double verticalSpeed = 0;
    return CharacterBlock::read(
        in, *this, [&](std::istream& s) { return static_cast<bool>(s >> verticalSpeed); },
        [&] { _vertical_speed = verticalSpeed; });
}
