#include "Kovo/Goat.h"

#include <string>
#include <vector>

#include "Base/App/Log.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Common/CharacterRecord.h"
#include "Common/GameConstants.h"
#include "Common/GameRandom.h"
#include "Common/Map.h"
#include "Kovo/CharacterBlock.h"
#include "Kovo/Player.h"

namespace {

const double kSide = 100.0;
const int kHitPoints = 2;
// How far ahead it would notice a comrade (it never looks) and sees the hero.
const double kAlarmRange = 400.0;
const double kSightRange = 400.0;
// Saved with the character block; the goat reads neither.
const int kIdleTurn = 2;
const int kReserved = 2;

// The hero counts as in view while his feet are less than this above its head and his head
// less than this below its feet.
const double kSightBand = 40.0;
// How far past the hero a charge runs before it turns back.
const double kOvershoot = 400.0;
// On the way back, the hero still counts as ahead within this much above or below it.
const double kAheadBand = 100.0;
// Once roused it runs off on its own with this chance (one in) per think, hero out of view.
const int kRunOffChance = 500;
// The stun ends, and the goat charges or falls asleep, when its picture shows this frame.
const unsigned kStunOutFrame = 1;
// Sleep Z pictures appear 20 beyond the side its head lies on, 20 above its feet.
const double kSleepZAcross = -20.0;
const double kSleepZUp = 20.0;

}  // namespace

Goat::Goat(Map* map, Player* player, double x, double y, double z, double leftLimit,
           double rightLimit, CharacterState state, bool facingLeft)
    : Character(map, player, CharacterTypeGoat, 0, 0, 8, true, false, kHitPoints,
                GameConstants::walkSpeed, GameConstants::runSpeed, kAlarmRange, kSightRange,
                kIdleTurn, kReserved, state, facingLeft, true),
      _turnaround_x(-1),
      _return_to_x(-1),
      _left_limit(leftLimit),
      _right_limit(rightLimit),
      _hit_sound(nullptr),
      _charge_sound(nullptr),
      _hit_points_seen(kHitPoints),
      _roused(false)
{
    setAnchor(8);
    buildAnimations();
    setSize(kSide, kSide);
    makeDrawable(x, y, z, kSide, kSide);
    _hit_sound = loadSound("goat2.wav");
    _charge_sound = loadSound("goat.wav");
}

Character* Goat::build(Map* map, Player* player, const CharacterRecord& record)
{
    return new Goat(map, player, record.x, record.y, record.depth(), record.a, record.b,
                  record.state, record.facingLeft);
}

void Goat::buildAnimations()
{
    addAnimation(CharacterStateStandLeft, {"goat_faceleft1.pcx"});
    addAnimation(CharacterStateStandRight, {"goat_faceright1.pcx"});
    // Each run picture twice in a row: 10 frames of 25 ms.
    addAnimation(CharacterStateMoveLeft, runFramesTwice("goat_", "left", 5), 25);
    addAnimation(CharacterStateMoveRight, runFramesTwice("goat_", "right", 5), 25);
    addAnimation(CharacterStateStunnedLeft, {"goat_gassedleft.pcx", "goat_gassedleft.pcx"}, 375);
    addAnimation(CharacterStateStunnedRight, {"goat_gassedright.pcx", "goat_gassedright.pcx"},
                 375);
    addAnimation(CharacterStateAsleepLeft, {"goat_sleepleft.pcx"});
    addAnimation(CharacterStateAsleepRight, {"goat_sleepright.pcx"});
}

// ---------------------------------------------------------------------------------------------
// Helpers

bool Goat::seesHero() const
{
    if (!_player || _player->isDying()) return false;
    if (!(_player->getTop() > getBottom() - kSightBand &&
          _player->getBottom() < getTop() + kSightBand))
        return false;
    const double heroX = _player->getX();
    if (_facing_left) return heroX < getX() && heroX >= getLeft() - _sight_range;
    return heroX > getX() && heroX <= getRight() + _sight_range;
}

bool Goat::step(bool left, bool running, double seconds, double* dx, double* dy)
{
    *dx = (left ? -1 : 1) * _speed * seconds;
    *dy = 0;
    if (!_map) return false;
    return _map->moveHorizontally(getX(), getY(), getLeft(), getRight(), getTop(), getBottom(),
                                  running, true, false, dx, dy);
}

bool Goat::withinLimits(bool left, double dx) const
{
    return left ? getLeft() + dx > _left_limit : getRight() + dx < _right_limit;
}

void Goat::turnBack(bool wasLeft)
{
    if (turnTo(wasLeft ? CharacterStateMoveRight : CharacterStateMoveLeft, !wasLeft))
        _turnaround_x = -1;
}

void Goat::stopRunning(bool wasLeft)
{
    if (enterState(wasLeft ? CharacterStateStandLeft : CharacterStateStandRight, false)) {
        _turnaround_x = -1;
        _return_to_x = -1;
    }
}

// ---------------------------------------------------------------------------------------------
// The frame

void Goat::think(unsigned ms, double seconds)
{
    updateSleepZ(seconds);

    // Asleep is final. Falling asleep takes the last hit points, which is no new hit: a goat
    // the room puts to sleep as the hero comes back must not cry and be stunned again.
    if (!isAsleep() && _hit_points < _hit_points_seen) {
        _hit_points_seen = _hit_points;
        playSound(_hit_sound);
        _state = _facing_left ? CharacterStateStunnedLeft : CharacterStateStunnedRight;
        _roused = true;
    }

    switch (_state) {
    case CharacterStateStandLeft:
    case CharacterStateStandRight: stand(seconds); break;
    case CharacterStateMoveLeft:
    case CharacterStateMoveRight: run(seconds); break;
    case CharacterStateStunnedLeft:
    case CharacterStateStunnedRight: stunned(seconds); break;
    case CharacterStateAsleepLeft:
    case CharacterStateAsleepRight:
        sleep(ms, {SleepZSpot::LeftEdge, kSleepZAcross, kSleepZUp});
        break;
    default: break;
    }

    advanceAnimation(ms);
}

void Goat::stand(double seconds)
{
    const bool left = _state == CharacterStateStandLeft;
    _turnaround_x = -1;
    _return_to_x = -1;

    if (seesHero()) {
        // A probe: the goat does not move, and a hero behind a wall is never charged.
        double dx, dy;
        if (step(left, false, seconds, &dx, &dy) && withinLimits(left, dx) &&
            enterState(left ? CharacterStateMoveLeft : CharacterStateMoveRight, true)) {
            playSound(_charge_sound);
            _roused = true;
        }
        return;
    }
    if (_roused && GameRandom::draw() % kRunOffChance == 0)
        turnTo(left ? CharacterStateMoveRight : CharacterStateMoveLeft, !left);
}

void Goat::run(double seconds)
{
    const bool left = _state == CharacterStateMoveLeft;
    double dx, dy;
    const bool free = step(left, true, seconds, &dx, &dy) && withinLimits(left, dx);
    move(dx, dy, 0);

    if (!free) {
        // Stopped short of a pending turning point, it turns; otherwise it stands.
        if (_turnaround_x != -1 &&
            (left ? getLeft() > _turnaround_x : getRight() < _turnaround_x))
            turnBack(left);
        else
            stopRunning(left);
        return;
    }
    if (!_player) return;

    const double x = getX();
    const double heroX = _player->getX();
    if (_turnaround_x == -1 && (left ? x <= heroX : x >= heroX) &&
        getBottom() <= _player->getTop()) {
        // Past the hero: on to a turning point, within the room.
        if (left) {
            _turnaround_x = x - kOvershoot < 0 ? 0 : x - kOvershoot;
            _return_to_x = x < 0 ? 0 : x;
        } else {
            const double width = _map ? _map->getWidth() : x + kOvershoot;
            _turnaround_x = x + kOvershoot > width ? width : x + kOvershoot;
            _return_to_x = x > width ? width : x;
        }
    } else if (_turnaround_x != -1 &&
               (left ? getLeft() <= _turnaround_x : getRight() >= _turnaround_x)) {
        turnBack(left);
    } else if (_turnaround_x == -1 && _return_to_x != -1 &&
               (left ? x <= _return_to_x : x >= _return_to_x)) {
        const bool heroAhead = getBottom() < _player->getTop() + kAheadBand &&
                               getTop() > _player->getBottom() - kAheadBand &&
                               (left ? getLeft() > heroX : getRight() < heroX);
        if (heroAhead) {
            // Still ahead on its level: the run goes on until a limit or a wall.
            _return_to_x = -1;
        } else {
            if (left) LOG("Goat reached return_to_x point, but lost player");
            stopRunning(left);
        }
    }
}

void Goat::stunned(double seconds)
{
    const bool left = _state == CharacterStateStunnedLeft;
    showStateAnimation();
    if (!showsFrame(_state, kStunOutFrame)) return;
    findAnimation(_state)->setCurrentFrame(0);
    if (_hit_points <= 0) {
        fallAsleep();
        return;
    }
    // It charges on the way it faces unless that way is shut, then the other way.
    double dx, dy;
    bool ahead = step(left, true, seconds, &dx, &dy) && withinLimits(left, dx);
    const bool runLeft = left ? ahead : !ahead;
    turnTo(runLeft ? CharacterStateMoveLeft : CharacterStateMoveRight, runLeft);
}

// ---------------------------------------------------------------------------------------------
// Saved state

int Goat::writeState(std::ostream& out)
{
    // The flag and the character block touch: the flag is read as a number, which stops at
    // the block's "<".
    return CharacterBlock::write(out, "GOAT", *this, [this](std::ostream& s) {
        s << _turnaround_x << ' ' << _return_to_x << ' ' << _hit_points_seen << ' '
          << (_roused ? 1 : 0);
    });
}

int Goat::readState(std::istream& in)
{
    double turnaroundX = 0, returnToX = 0;
    int hitPointsSeen = 0;
    bool roused = false;
    return CharacterBlock::read(
        in, *this,
        [&](std::istream& s) {
            return static_cast<bool>(s >> turnaroundX >> returnToX >> hitPointsSeen >> roused);
        },
        [&] {
            _turnaround_x = turnaroundX;
            _return_to_x = returnToX;
            _hit_points_seen = hitPointsSeen;
            _roused = roused;
        });
}
