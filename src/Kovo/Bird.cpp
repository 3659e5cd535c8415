#include "Kovo/Bird.h"

#include <string>
#include <vector>

#include "Base/App/Log.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Common/CharacterRecord.h"
#include "Common/GameConstants.h"
#include "Common/Map.h"
#include "Kovo/CharacterBlock.h"
#include "Kovo/Player.h"

namespace {

const double kSide = 40.0;
const int kHitPoints = 1;
const double kAlarmRange = 400.0;
const double kSightRange = 400.0;
// Saved with the character block; the bird reads neither.
const int kIdleTurn = 2;
const int kReserved = 2;
// It sees the hero as far as 400 below its feet, and up to 10 above its head.
const double kSightDepth = 400.0;
const double kSightHeight = 10.0;
// Where it turns after passing the hero, and how far back it flies from a wall to try again.
const double kOvershoot = 300.0;
const double kRetry = 150.0;
// Pursuing, it climbs or sinks toward the hero's height at this speed; flying right it
// keeps 40 inside his height.
const double kClimbSpeed = GameConstants::slowSpeed;
const double kRightMargin = 40.0;
const unsigned kFlapFrameTime = 30;
// Asleep, its Z pictures rise 10 beside the edge its head is on, at its own height.
const double kSleepZSide = 10.0;

std::vector<std::string> flapFrames(const char* way)
{
    std::vector<std::string> files;
    for (int i = 1; i <= 8; ++i)
        files.push_back(std::string("bird_fly") + way + std::to_string(i) + ".pcx");
    return files;
}

}  // namespace

Bird::Bird(Map* map, Player* player, double x, double y, double z, CharacterState state,
           bool facingLeft)
    : Character(map, player, CharacterTypeBird, 0, 0, 4, true, false, kHitPoints,
                GameConstants::slowSpeed, GameConstants::mediumSpeed, kAlarmRange, kSightRange,
                kIdleTurn, kReserved, state, facingLeft, false),
      _turnaround_x(-1),
      _return_to_x(-1),
      _screech(nullptr),
      _cry(nullptr),
      _pursuing(false)
{
    buildAnimations();
    setSize(kSide, kSide);
    makeDrawable(x, y, z, kSide, kSide);
    _screech = loadSound("bird_screech.wav");
    _cry = loadSound("bird_cry.wav");
}

Character* Bird::build(Map* map, Player* player, const CharacterRecord& record)
{
    return new Bird(map, player, record.x, record.y, record.depth(), record.state,
                    record.facingLeft);
}

void Bird::buildAnimations()
{
    addAnimation(CharacterStateFlyRight, flapFrames("right"), kFlapFrameTime);
    addAnimation(CharacterStateFlyLeft, flapFrames("left"), kFlapFrameTime);
    addAnimation(CharacterStateStunnedRight, {"bird_gassedright.pcx"});
    addAnimation(CharacterStateStunnedLeft, {"bird_gassedleft.pcx"});
    addAnimation(CharacterStateAsleepRight, {"bird_sleepright.pcx"});
    addAnimation(CharacterStateAsleepLeft, {"bird_sleepleft.pcx"});
}

void Bird::think(unsigned ms, double seconds)
{
    updateSleepZ(seconds);
    switch (_state) {
    case CharacterStateFlyLeft: fly(seconds, true); break;
    case CharacterStateFlyRight: fly(seconds, false); break;
    case CharacterStateStunnedLeft:
    case CharacterStateStunnedRight: fall(seconds); break;
    case CharacterStateAsleepLeft:
    case CharacterStateAsleepRight:
        sleep(ms, {SleepZSpot::LeftEdge, -kSleepZSide, 0});
        break;
    default: break;
    }
    advanceAnimation(ms);
}

bool Bird::heroInView() const
{
    if (!_player || _player->isDying()) return false;
    const double heroX = _player->getX();
    return _player->getTop() > getBottom() - kSightDepth &&
           _player->getBottom() < getTop() + kSightHeight &&
           getLeft() - _sight_range <= heroX && heroX <= getRight() + _sight_range;
}

void Bird::fly(double seconds, bool left)
{
    const double heroX = _player ? _player->getX() : getX();
    const double width = _map ? _map->getWidth() : 0;
    double dx = (left ? -1 : 1) * _speed * seconds;
    double dy = 0;

    if (!_pursuing) {
        if (heroInView()) {
            LOG("Bird sees player");
            _pursuing = true;
            if (left) {
                _turnaround_x = heroX - kOvershoot < 0 ? 0 : heroX - kOvershoot;
            } else {
                _turnaround_x = heroX + kOvershoot > width ? width : heroX + kOvershoot;
            }
            playSound(_cry);
        }
    } else if (_player) {
        // Toward the hero's height; flying right it keeps 40 inside it.
        const double margin = left ? 0 : kRightMargin;
        const double climb = kClimbSpeed * seconds;
        if (getY() > _player->getTop() - margin) dy = -climb;
        else if (getY() < _player->getBottom() + margin) dy = climb;
    }

    const bool free = _map && _map->moveVertically(getX(), getY(), getLeft(), getRight(), getTop(),
                                                   getBottom(), false, &dx, &dy);
    if (!free) {
        if (left) LOG("Bird is not allowed to move any further left");
        else LOG("Bird is not allowed to move any further right");
        turnAtObstacle(left);
        return;
    }

    if (left) LOG("Bird is allowed to move - pursuing player left");
    else LOG("Bird is allowed to move - pursuing player right");
    move(dx, dy, 0);
    if (!_pursuing) return;

    const double x = getX();
    const bool passed = left ? x <= heroX : x >= heroX;
    if (_turnaround_x == -1 && passed) {
        if (left) {
            _turnaround_x = x - kOvershoot < 0 ? 0 : x - kOvershoot;
            _return_to_x = x < 0 ? 0 : x;
        } else {
            _turnaround_x = x + kOvershoot > width ? width : x + kOvershoot;
            _return_to_x = x > width ? width : x;
        }
        LOG("Bird passed player");
        LOG("   _turnaround_x = " << _turnaround_x);
        LOG("   _return_to_x = " << _return_to_x);
    } else if (_turnaround_x != -1 &&
               (left ? getLeft() <= _turnaround_x : getRight() >= _turnaround_x)) {
        turnAtTurnaround(left);
        if (left) LOG("Bird reached turnaround point, starts flying right");
        else LOG("Bird reached turnaround point, starts flying left");
    } else if (_turnaround_x == -1 && _return_to_x != -1 &&
               (left ? x <= _return_to_x : x >= _return_to_x)) {
        const bool heroAhead = left ? getLeft() > heroX : getRight() < heroX;
        if (heroAhead) {
            LOG("Bird reached return_to_x point, and sees player");
            _return_to_x = -1;
        } else {
            LOG("Bird reached return_to_x point, continuing pursuit");
            turnAtReturnPoint(left);
        }
    }
}

void Bird::turnAtTurnaround(bool left)
{
    // The new flight's wing beat starts from its first frame.
    if (turnTo(left ? CharacterStateFlyRight : CharacterStateFlyLeft, !left)) _turnaround_x = -1;
}

void Bird::turnAtReturnPoint(bool left)
{
    if (!enterState(left ? CharacterStateFlyRight : CharacterStateFlyLeft, false)) return;
    _facing_left = !left;
    _turnaround_x = -1;
    _return_to_x = -1;
}

void Bird::turnAtObstacle(bool left)
{
    if (!enterState(left ? CharacterStateFlyRight : CharacterStateFlyLeft, false)) return;
    _facing_left = !left;
    _turnaround_x = -1;
    _return_to_x = -1;
    // With the hero beyond the wall it flies back a little, turns and tries again.
    if (!_player) return;
    if (left && getLeft() > _player->getX()) _turnaround_x = getX() + kRetry;
    else if (!left && getRight() < _player->getX()) _turnaround_x = getX() - kRetry;
}

void Bird::fall(double seconds)
{
    showStateAnimation();
    if (!_hurt_sound_played) {
        playSound(_screech);
        _hurt_sound_played = true;
    }
    double dx = 0;
    double dy = _vertical_speed * seconds;
    if (!_map || !_map->moveVertically(getX(), getY(), getLeft(), getRight(), getTop(), getBottom(),
                                       true, &dx, &dy)) {
        fallAsleep();
        return;
    }
    accelerateDown(seconds);
    move(dx, dy, 0);
}

int Bird::writeState(std::ostream& out)
{
    // The pursuit flag runs straight into the character block's tag.
    return CharacterBlock::write(out, "BIRD", *this, [this](std::ostream& s) {
        s << _turnaround_x << ' ' << _return_to_x << ' ' << (_pursuing ? 1 : 0);
    });
}

int Bird::readState(std::istream& in)
{
    double turnaroundX = 0, returnToX = 0;
    bool pursuing = false;
    // Reading the flag as a number stops at the "<" of the tag that follows it.
    return CharacterBlock::read(
        in, *this,
        [&](std::istream& s) {
            return static_cast<bool>(s >> turnaroundX >> returnToX >> pursuing);
        },
        [&] {
            _turnaround_x = turnaroundX;
            _return_to_x = returnToX;
            _pursuing = pursuing;
        });
}
