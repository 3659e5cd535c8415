#include "Kovo/Drop.h"

#include "Base/Gph/GphRect.h"
#include "Common/CharacterRecord.h"
#include "Common/GameConstants.h"
#include "Kovo/CharacterBlock.h"

namespace {

const double kSide = 30.0;
const int kHitPoints = 1;
// It sees nothing and raises no alarm.
const double kRange = 0.0;
// Saved with the character block; the drop reads neither.
const int kIdleTurn = 2;
const int kReserved = 2;
// Each fall starts once the wait clock has passed this.
const double kWaitTime = 2000.0;
// Where a landed drop waits: below the room, out of sight and out of reach.
const double kHiddenY = -100.0;

}  // namespace

Drop::Drop(Map* map, Player* player, double x, double y, double z, double startX, double startY,
           double waitTimer)
    : Character(map, player, CharacterTypeDrop, 0, 0, 8, true, true, kHitPoints,
                GameConstants::walkSpeed, GameConstants::walkSpeed, kRange, kRange, kIdleTurn,
                kReserved, CharacterStateStill, true, true),
      _drip_sound(nullptr),
      _start_x(startX),
      _start_y(startY),
      _wait_timer(waitTimer)
{
    // It kills only a hero it falls on well inside his sides.
    setContact(ContactCentreWellInside);
    buildAnimations();
    setSize(kSide, kSide);
    makeDrawable(x, y, z, kSide, kSide);
    _drip_sound = loadSound("drop.wav");
}

Character* Drop::build(Map* map, Player* player, const CharacterRecord& record)
{
    return new Drop(map, player, record.x, record.y, record.depth(), record.a, record.b,
                    record.c);
}

void Drop::buildAnimations()
{
    // Falling shows the same still picture.
    addAnimation(CharacterStateStill, {"drop.pcx"});
}

void Drop::think(unsigned ms, double seconds)
{
    switch (_state) {
    case CharacterStateStill: wait(ms); break;
    case CharacterStateFlyLeft: fall(seconds); break;
    default: break;
    }
    // One still picture: nothing to advance.
}

void Drop::wait(unsigned ms)
{
    showStateAnimation();
    if (_wait_timer <= kWaitTime) {
        _wait_timer += ms;
        return;
    }
    setX(_start_x);
    setY(_start_y);
    _state = CharacterStateFlyLeft;
    _wait_timer = 0;
    _vertical_speed = 0;
    if (_drawable && _drawable->isVisible()) playSound(_drip_sound);
}

void Drop::fall(double seconds)
{
    showState(CharacterStateStill);
    double dx = 0;
    double dy = _vertical_speed * seconds;
    if (landsOnFloor(&dx, &dy)) {
        _state = CharacterStateStill;
        _wait_timer = 0;
        _vertical_speed = 0;
        setY(kHiddenY);
        return;
    }
    accelerateDown(seconds);
    move(dx, dy, 0);
}

void Drop::draw()
{
    if (_state == CharacterStateFlyLeft) Character::draw();
}

int Drop::writeState(std::ostream& out)
{
    return CharacterBlock::write(out, "ICICLE", *this, [this](std::ostream& s) {
        s << _vertical_speed << ' ' << _wait_timer << ' ';
    });
}

int Drop::readState(std::istream& in)
{
    double verticalSpeed = 0, waitTimer = 0;
    return CharacterBlock::read(
        in, *this,
        [&](std::istream& s) { return static_cast<bool>(s >> verticalSpeed >> waitTimer); },
        [&] {
            _vertical_speed = verticalSpeed;
            _wait_timer = waitTimer;
        });
}
