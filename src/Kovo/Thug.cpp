#include "Kovo/Thug.h"

#include <string>
#include <vector>

#include "Common/GameConstants.h"
#include "Common/GameRandom.h"
#include "Kovo/Player.h"
#include "Kovo/Reaction.h"

namespace {

// 120 by 120, its collision box 30 in from each side and 5 below its top.
const double kSide = 120.0;
const double kHorizontalInset = 30.0;
const double kTopInset = 5.0;
const int kHitPoints = 1;
// How far ahead it notices a downed comrade, and sees the hero.
const double kAlarmRange = 250.0;
const double kSightRange = 310.0;

// How far past the hero a charge runs before it turns, and past a floor's end before it
// topples.
const double kOvershoot = 200.0;
const double kLedgeRun = 120.0;
// Time after finding an alarm before the thug turns to it.
const int kAlarmDelay = 500;
// Idle, once the idle time has passed, one draw in this many a frame turns it round; facing
// right it turns back half as readily.
const int kTurnOddsLeft = 50;
const int kTurnOddsRight = 100;
// How far a body moves back off a wall once it has slammed into it.
const double kSlamRebound = 40.0;
// Where a new sleep Z appears: 25 in from the side of its head, 60 above its feet.
const double kSleepZInset = 25.0;
const double kSleepZHeight = 60.0;
// How much further above or below the hero still counts as the hero being ahead of a charge
// on its way back.
const double kAheadBand = 100.0;

}  // namespace

Thug::Thug(Map* map, Player* player, double x, double y, double z, double leftLimit,
           double rightLimit, CharacterState state, bool facingLeft)
    : Charger(map, player, CharacterTypeThug, kHorizontalInset, kTopInset, true, false,
              kHitPoints, GameConstants::slowSpeed, GameConstants::mediumSpeed, kAlarmRange,
              kSightRange, state, facingLeft, false, leftLimit, rightLimit),
      _stop_x(-1),
      _knock_out(),
      _idle_timer(0),
      _alert_timer(0),
      _reaction_shown(false),
      _alarm_timer(0)
{
    // Rolling machines knock it away, and it slams into another thug charging head on.
    addTraits(TraitBrawler);
    buildAnimations();
    makeDrawable(x, y, z, kSide, kSide);
    setSize(kSide, kSide);
    _knock_out.gasSound = loadSound("gasp.wav");
    _knock_out.bonkSound = loadSound("bonk.wav");
    _knock_out.slamSound = loadSound("crash2.wav");
    _knock_out.fallSound = loadSound("fall.wav");
    _knock_out.knockSound = loadSound("clangwhiz.wav");
    // Bonked and gassed, it falls asleep on the picture's second frame.
    _knock_out.outFrame = 1;
    _knock_out.slamRebound = kSlamRebound;
    _knock_out.sleepZ = {SleepZSpot::RightEdge, -kSleepZInset, kSleepZHeight};
}

void Thug::buildAnimations()
{
    addAnimation(CharacterStateStandLeft, {"thug1_faceleft.pcx"});
    addAnimation(CharacterStateStandRight, {"thug1_faceright.pcx"});
    // Each run picture twice in a row: 20 frames of 25 ms.
    addAnimation(CharacterStateMoveLeft, runFramesTwice("thug1_", "left", 10), 25);
    addAnimation(CharacterStateMoveRight, runFramesTwice("thug1_", "right", 10), 25);
    addAnimation(CharacterStateFallLeft,
                 {"thug1_fall1_left1.pcx", "thug1_fall1_left.pcx", "thug1_fall1_left.pcx"}, 1000);
    addAnimation(CharacterStateFallRight,
                 {"thug1_fall1_right1.pcx", "thug1_fall1_right.pcx", "thug1_fall1_right.pcx"},
                 1000);
    // Bonked and gassed look alike but keep animations of their own.
    addAnimation(CharacterStateBonkedLeft, {"thug1_gassedleft.pcx", "thug1_gassedleft.pcx"}, 1000);
    addAnimation(CharacterStateStunnedLeft, {"thug1_gassedleft.pcx", "thug1_gassedleft.pcx"}, 1000);
    addAnimation(CharacterStateBonkedRight, {"thug1_gassedright.pcx", "thug1_gassedright.pcx"},
                 1000);
    addAnimation(CharacterStateStunnedRight, {"thug1_gassedright.pcx", "thug1_gassedright.pcx"},
                 1000);
    addAnimation(CharacterStateAsleepLeft, {"thug1_sleepleft.pcx"});
    addAnimation(CharacterStateAsleepRight, {"thug1_sleepright.pcx"});
    addAnimation(CharacterStateWallSlamLeft,
                 {"thug_wallslam_left.pcx", "thug_wallslam_left.pcx"}, 1000);
    addAnimation(CharacterStateWallSlamRight,
                 {"thug_wallslam_right.pcx", "thug_wallslam_right.pcx"}, 1000);
}

void Thug::onEnterState(CharacterState state)
{
    switch (state) {
    case CharacterStateStandLeft:
    case CharacterStateStandRight:
        _turnaround_x = -1;
        _return_to_x = -1;
        break;
    case CharacterStateFallLeft:
    case CharacterStateFallRight:
    case CharacterStateWallSlamLeft:
    case CharacterStateWallSlamRight:
        _turnaround_x = -1;
        _stop_x = -1;
        break;
    default: break;
    }
}

// ---------------------------------------------------------------------------------------------
// The frame

void Thug::think(unsigned ms, double seconds)
{
    updateSleepZ(seconds);

    switch (_state) {
    case CharacterStateStandLeft:
    case CharacterStateStandRight: stand(ms, seconds); break;
    case CharacterStateMoveLeft:
    case CharacterStateMoveRight: charge(seconds); break;
    default: thinkKnockedOut(ms, seconds, _knock_out); break;
    }

    advanceAnimation(ms);
}

void Thug::stand(unsigned ms, double seconds)
{
    const bool left = _state == CharacterStateStandLeft;
    _turnaround_x = -1;
    _return_to_x = -1;

    // A comrade down behind it, or one that has seen something, turns it around after a while.
    if (turnToAlarm(ms, kAlarmDelay, _alarm_timer, [this] { _idle_timer = 0; })) return;

    if (_alert_timer > 0 || seesHero(_facing_left)) {
        double dx, dy;
        int reason;
        const bool free = stepAlongFloor(left, StepProbe, seconds, &dx, &dy, &reason);
        // Seen behind a wall or across a gap, the hero goes unnoticed; once noticed, the
        // charge comes whatever the hero does.
        if (_alert_timer == 0 && !(free && withinLimits(left, dx) && reason == 0)) return;
        if (_alert_timer > GameConstants::characterTimerPeriod) {
            // The charge ends this noticing: the next one counts and shows its bubble afresh.
            if (enterState(left ? CharacterStateMoveLeft : CharacterStateMoveRight, true)) {
                _idle_timer = 0;
                _alert_timer = 0;
                _reaction_shown = false;
            }
        } else {
            _alert_timer += ms;
        }
        return;
    }

    // While the hero stands in front, however far, the idle clock stops.
    if (heroOnLevel() && heroInFront(left)) return;
    if (_idle_timer < GameConstants::characterIdleTime) {
        _idle_timer += ms;
        return;
    }
    const int draw = GameRandom::draw() % (left ? kTurnOddsLeft : kTurnOddsRight);
    if (draw == 1 && turnTo(left ? CharacterStateStandRight : CharacterStateStandLeft, !left))
        _idle_timer = 0;
}

void Thug::charge(double seconds)
{
    const bool left = _state == CharacterStateMoveLeft;
    double dx, dy;
    int reason;
    const bool free = stepAlongFloor(left, StepMove, seconds, &dx, &dy, &reason);

    if (free && withinLimits(left, dx)) {
        move(dx, dy, 0);
        const double x = getX();
        const double heroX = _player ? _player->getX() : x;
        if (_turnaround_x == -1 && (left ? x <= heroX : x >= heroX)) {
            // Past the hero: run on to a turning point, within the room.
            setRunPoints(left, kOvershoot);
        } else if (atTurnaround(left)) {
            turnBack(left);
        } else if (backAtReturnPoint(left)) {
            if (heroAheadWithin(left, kAheadBand, kAheadBand))
                _return_to_x = -1;
            else
                enterState(left ? CharacterStateStandLeft : CharacterStateStandRight, false);
        }

        // A dead hero behind it, as it ran when the step began, ends the chase.
        standIfHeroDyingBehind(left);
        return;
    }

    // Refused, or at a limit.
    if (_stop_x != -1) {
        // Running on over the edge of a floor.
        if (reason == 1)
            enterState(left ? CharacterStateWallSlamLeft : CharacterStateWallSlamRight, true);
        else if (left ? getX() <= _stop_x : getX() >= _stop_x)
            enterState(left ? CharacterStateFallLeft : CharacterStateFallRight, true);
        move(dx, dy, 0);
    } else if (shortOfTurnaround(left)) {
        // Overshooting the hero.
        if (reason == 1) {
            enterState(left ? CharacterStateWallSlamLeft : CharacterStateWallSlamRight, true);
        } else if (reason == 2) {
            _stop_x = getX() + (left ? -kLedgeRun : kLedgeRun);
            move(dx, dy, 0);
        } else {
            turnBack(left);
        }
    } else {
        // Still chasing: the last step is made, then it stands.
        move(dx, dy, 0);
        enterState(left ? CharacterStateStandLeft : CharacterStateStandRight, false);
    }
}

// ---------------------------------------------------------------------------------------------
// What the room calls

Reaction* Thug::react()
{
    return Reaction::onNotice(this, _player, _alert_timer, _reaction_shown);
}

// ---------------------------------------------------------------------------------------------
// Saved state

int Thug::writeState(std::ostream& out)
{
    return writeRunState(out, "THUG", _idle_timer, _hurt_sound_played);
}

int Thug::readState(std::istream& in)
{
    return readRunState(in, _idle_timer, _hurt_sound_played);
}
