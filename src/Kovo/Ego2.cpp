#include "Kovo/Ego2.h"

#include "Base/Gph/GphRect.h"
#include "Common/CharacterRecord.h"
#include "Common/GameConstants.h"
#include "Common/Map.h"
#include "Kovo/CharacterBlock.h"

namespace {

// 100 wide, 200 high.
const double kLength = 200.0;
const double kWidth = 100.0;
const int kHitPoints = 1;
// Stored for the room; he notices nothing.
const double kAlarmRange = 250.0;
const double kSightRange = 250.0;
// Saved with the character block; he reads neither.
const int kIdleTurn = 4;
const int kReserved = 4;

// The chair first sinks at this speed before its rocket lifts it.
const double kTakeOffSpeed = -GameConstants::slowSpeed;
// Above this height he has flown out of every room and is gone.
const double kGoneHeight = 2400.0;
// The rocket lifts with half the room's gravity.
const double kLiftShare = 0.5;

}  // namespace

Ego2::Ego2(Map* map, Player* player, double x, double y, double z, CharacterState state,
           bool facingLeft, const std::string& text1, const std::string& text2,
           const std::string& text3)
    : Character(map, player, CharacterTypeEgo2, 0, 0, 8, false, true, kHitPoints, 0, 0,
                kAlarmRange, kSightRange, kIdleTurn, kReserved, state, facingLeft, false),
      _linked_sprites(),
      _text1(text1),
      _text2(text2),
      _text3(text3),
      _shown(false)
{
    _vertical_speed = kTakeOffSpeed;
    buildAnimations();
    setSize(kLength, kWidth);
    makeDrawable(x, y, z, kLength, kWidth);
    // The hero meets him when their boxes overlap.
    setContact(ContactBoxes);
}

Character* Ego2::build(Map* map, Player* player, const CharacterRecord& record)
{
    return new Ego2(map, player, record.x, record.y, record.depth(), record.state,
                    record.facingLeft, record.text1, record.text2, record.text3);
}

void Ego2::buildAnimations()
{
    addAnimation(CharacterStateStandLeft, {"scientist_chair.pcx"});
    addAnimation(CharacterStateStandRight, {"scientist_chair.pcx"});
    addAnimation(CharacterStateFlyLeft, {"scientist_chair2.pcx", "scientist_chair3.pcx"}, 25);
}

void Ego2::setLinkedSprites(const std::list<Sprite*>& sprites)
{
    _linked_sprites = sprites;
}

void Ego2::getHintTexts(std::string& above, std::string& below, std::string& objective) const
{
    above = _text1;
    below = _text2;
    objective = _text3;
}

void Ego2::draw()
{
    if (!isAsleep()) Sprite::draw();
}

void Ego2::think(unsigned ms, double seconds)
{
    // The linked sprites follow the hint on every think, whatever else shows or hides them.
    if (_shown && !isAsleep()) _state = CharacterStateFlyLeft;
    for (Sprite* sprite : _linked_sprites) sprite->setVisible(_shown);

    if (_state == CharacterStateFlyLeft) fly(seconds);
    if (isAsleep() && _drawable) _drawable->setAnimatedTexture(nullptr);
    advanceAnimation(ms);
}

void Ego2::fly(double seconds)
{
    showStateAnimation();
    const double dy = seconds * _vertical_speed;
    if (getY() > kGoneHeight) {
        fallAsleep();
        return;
    }
    if (_vertical_speed < GameConstants::maxFallSpeed)
        _vertical_speed += (_map ? _map->getGravity() : 0.0) * seconds * kLiftShare;
    move(0, dy, 0);
}

int Ego2::writeState(std::ostream& out)
{
    return CharacterBlock::write(out, "EGO2", *this,
                                 [this](std::ostream& s) { s << _vertical_speed << ' '; });
}

int Ego2::readState(std::istream& in)
{
    double verticalSpeed = 0;
    return CharacterBlock::read(
        in, *this, [&](std::istream& s) { return static_cast<bool>(s >> verticalSpeed); },
        [&] { _vertical_speed = verticalSpeed; });
}
