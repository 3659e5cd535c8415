#include "Kovo/Goat.h"

#include <string>
#include <vector>

#include "Base/App/Log.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Common/GameConstants.h"
#include "Common/GameRandom.h"
#include "Kovo/CharacterBlock.h"
#include "Kovo/Player.h"

namespace {

const double kSide = 100.0;
const int kHitPoints = 2;
// How far ahead it would notice a comrade (it never looks) and sees the hero.
const double kAlarmRange = 400.0;
const double kSightRange = 400.0;
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
    : Charger(map, player, CharacterTypeGoat, 0, 0, true, false, kHitPoints,
              GameConstants::walkSpeed, GameConstants::runSpeed, kAlarmRange, kSightRange, state,
              facingLeft, true, leftLimit, rightLimit),
      _hit_sound(nullptr),
      _charge_sound(nullptr),
      _hit_points_seen(kHitPoints),
      _roused(false)
{
    buildAnimations();
    setSize(kSide, kSide);
    makeDrawable(x, y, z, kSide, kSide);
    _hit_sound = loadSound("goat2.wav");
    _charge_sound = loadSound("goat.wav");
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

bool Goat::heroInView(bool left) const
{
    if (!_player || _player->isDying()) return false;
    // Its band is strict, and reaches a little beyond its feet and head.
    if (!(_player->getTop() > getBottom() - kSightBand &&
          _player->getBottom() < getTop() + kSightBand))
        return false;
    return heroWithinSight(left);
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

    if (heroInView(left)) {
        // A probe: the goat does not move, and a hero behind a wall is never charged.
        double dx, dy;
        if (stepAcross(left, StepProbe, seconds, &dx, &dy) && withinLimits(left, dx) &&
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
    const bool free = stepAcross(left, StepMove, seconds, &dx, &dy) && withinLimits(left, dx);
    move(dx, dy, 0);

    if (!free) {
        // Stopped short of a pending turning point, it turns; otherwise it stands.
        if (shortOfTurnaround(left))
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
        setRunPoints(left, kOvershoot);
    } else if (atTurnaround(left)) {
        turnBack(left);
    } else if (backAtReturnPoint(left)) {
        if (heroAheadWithin(left, kAheadBand, kAheadBand)) {
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
    bool ahead = stepAcross(left, StepMove, seconds, &dx, &dy) && withinLimits(left, dx);
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
    return readRunState(in, _hit_points_seen, _roused);
}
