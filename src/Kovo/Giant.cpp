#include "Kovo/Giant.h"

#include <string>
#include <vector>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Common/GameConstants.h"
#include "Kovo/Player.h"
#include "Kovo/Reaction.h"

namespace {

const double kSide = 200.0;
const int kHitPoints = 3;
// How far behind it notices a downed or alerted comrade, and how far ahead it sees the hero.
const double kAlarmRange = 310.0;
const double kSightRange = 310.0;
// It sees the hero from its feet up to this much above its head.
const double kSightAbove = 100.0;
// How far past the hero a charge runs before it turns back.
const double kOvershoot = 300.0;
// On the way back, the hero still counts as ahead from this much below its feet to this much
// above its head.
const double kAheadBelowFeet = 100.0;
const double kAheadAboveHead = 200.0;
// Time after finding an alarm behind it before it turns round.
const int kAlarmDelay = 500;
// After a stun the giant counts as alerted (past the bubble's moment, so no new bubble): it
// charges once the way has been clear for the rest of the second.
const int kAlertAfterStun = GameConstants::characterReactThreshold + 1;
// A bonk ends asleep when its picture shows this frame, a second after it began.
const unsigned kBonkOutFrame = 1;
// Sleep Z pictures appear over the side its head lies on, 60 above its feet.
const double kSleepZUp = 60.0;

}  // namespace

Giant::Giant(Map* map, Player* player, double x, double y, double z, double leftLimit,
             double rightLimit, CharacterState state, bool facingLeft)
    : Charger(map, player, CharacterTypeGiant, 0, 0, true, false, kHitPoints,
              GameConstants::walkSpeed, GameConstants::runSpeed, kAlarmRange, kSightRange, state,
              facingLeft, true, leftLimit, rightLimit),
      _cough_sound(nullptr),
      _bonk_sound(nullptr),
      _own_reserved(0),
      _alert_timer(0),
      _hit_points_seen(kHitPoints),
      _reaction_shown(false),
      _turn_timer(0)
{
    buildAnimations();
    makeDrawable(x, y, z, kSide, kSide);
    setSize(kSide, kSide);
    _cough_sound = loadSound("cough2.wav");
    _bonk_sound = loadSound("bonkyell.wav");
}

void Giant::buildAnimations()
{
    addAnimation(CharacterStateStandLeft, {"giant_faceleft.pcx"});
    addAnimation(CharacterStateStandRight, {"giant_faceright.pcx"});
    // Each run picture twice in a row: 20 frames of 25 ms.
    addAnimation(CharacterStateMoveLeft, runFramesTwice("giant_", "left", 10), 25);
    addAnimation(CharacterStateMoveRight, runFramesTwice("giant_", "right", 10), 25);
    addAnimation(CharacterStateBonkedLeft, {"giant_gassedleft2.pcx", "giant_gassedleft2.pcx"},
                 1000);
    addAnimation(CharacterStateBonkedRight, {"giant_gassedright2.pcx", "giant_gassedright2.pcx"},
                 1000);
    addAnimation(CharacterStateStunnedLeft,
                 coughFrames("giant_gassedleft1.pcx", "giant_gassedleft2.pcx"), 150);
    addAnimation(CharacterStateStunnedRight,
                 coughFrames("giant_gassedright1.pcx", "giant_gassedright2.pcx"), 150);
    addAnimation(CharacterStateAsleepLeft, {"giant_sleepleft.pcx"});
    addAnimation(CharacterStateAsleepRight, {"giant_sleepright.pcx"});
}

// ---------------------------------------------------------------------------------------------
// Helpers

void Giant::stopRunning(bool wasLeft)
{
    enterState(wasLeft ? CharacterStateStandLeft : CharacterStateStandRight, false);
}

// ---------------------------------------------------------------------------------------------
// The frame

void Giant::think(unsigned ms, double seconds)
{
    updateSleepZ(seconds);

    if (!isAsleep() && _hit_points < _hit_points_seen) {
        _hit_points_seen = _hit_points;
        _state = _facing_left ? CharacterStateStunnedLeft : CharacterStateStunnedRight;
    }

    switch (_state) {
    case CharacterStateStandLeft:
    case CharacterStateStandRight: stand(ms, seconds); break;
    case CharacterStateMoveLeft:
    case CharacterStateMoveRight: run(seconds); break;
    case CharacterStateStunnedLeft:
    case CharacterStateStunnedRight: stunned(seconds); break;
    case CharacterStateBonkedLeft:
    case CharacterStateBonkedRight: bonked(); break;
    case CharacterStateAsleepLeft:
    case CharacterStateAsleepRight: sleep(ms, {SleepZSpot::LeftEdge, 0, kSleepZUp}); break;
    default: break;
    }

    advanceAnimation(ms);
}

void Giant::stand(unsigned ms, double seconds)
{
    const bool left = _state == CharacterStateStandLeft;
    _turnaround_x = -1;
    _return_to_x = -1;

    if (turnToAlarm(ms, kAlarmDelay, _turn_timer, [this] { _own_reserved = 0; })) return;
    if (!_player || _player->isDying()) return;
    // Once alerted it no longer needs to see the hero.
    if (_alert_timer <= 0 && !seesHero(left, kSightAbove)) return;

    // A probe: a wall between the giant and the hero refuses it too.
    double dx, dy;
    if (!stepAcross(left, StepProbe, seconds, &dx, &dy) || !withinLimits(left, dx)) return;
    if (_alert_timer > GameConstants::characterTimerPeriod) {
        if (enterState(left ? CharacterStateMoveLeft : CharacterStateMoveRight, true))
            _own_reserved = 0;
    } else {
        _alert_timer += ms;
    }
}

void Giant::run(double seconds)
{
    const bool left = _state == CharacterStateMoveLeft;
    double dx, dy;
    const bool free = stepAcross(left, StepMove, seconds, &dx, &dy) && withinLimits(left, dx);
    move(dx, dy, 0);

    if (!free) {
        if (shortOfTurnaround(left))
            turnBack(left);
        else
            stopRunning(left);
        return;
    }
    if (!_player) return;

    const double x = getX();
    const double heroX = _player->getX();
    if (_turnaround_x == -1 && (left ? x <= heroX : x >= heroX)) {
        // Past the hero: on to a turning point, within the room.
        setRunPoints(left, kOvershoot);
    } else if (atTurnaround(left)) {
        turnBack(left);
    } else if (backAtReturnPoint(left)) {
        if (!heroAheadWithin(left, kAheadBelowFeet, kAheadAboveHead)) stopRunning(left);
        _return_to_x = -1;
    }

    // The hero dying behind it ends the run.
    standIfHeroDyingBehind(left);
}

void Giant::stunned(double seconds)
{
    const bool left = _state == CharacterStateStunnedLeft;
    showStateAnimation();
    if (!_hurt_sound_played) {
        playSound(_cough_sound);
        _hurt_sound_played = true;
    } else if (showsFrame(_state, kLastFrame)) {
        findAnimation(_state)->setCurrentFrame(0);
        if (_hit_points <= 0) {
            fallAsleep();
        } else {
            // Toward the hero if the way is clear; standing that way if it is not.
            const double heroX = _player ? _player->getX() : getX();
            const bool towardLeft = left ? !(heroX > getX()) : heroX < getX();
            double dx, dy;
            const bool clear = stepAcross(towardLeft, StepMove, seconds, &dx, &dy) &&
                               withinLimits(towardLeft, dx);
            CharacterState next;
            if (towardLeft) next = clear ? CharacterStateMoveLeft : CharacterStateStandLeft;
            else next = clear ? CharacterStateMoveRight : CharacterStateStandRight;
            turnTo(next, towardLeft);
            _hurt_sound_played = false;
        }
    }
    _alert_timer = kAlertAfterStun;
    _reaction_shown = true;
}

void Giant::bonked()
{
    if (knockOutRunsOut(_bonk_sound, kBonkOutFrame)) fallAsleep();
    // Knocked out, it forgets what it saw.
    _alert_timer = 0;
    _reaction_shown = false;
}

// ---------------------------------------------------------------------------------------------
// What the room calls

Reaction* Giant::react()
{
    return Reaction::onNotice(this, _player, _alert_timer, _reaction_shown);
}

// ---------------------------------------------------------------------------------------------
// Saved state

int Giant::writeState(std::ostream& out)
{
    return writeRunState(out, "GIANT", _own_reserved, _hurt_sound_played);
}

int Giant::readState(std::istream& in)
{
    if (readRunState(in, _own_reserved, _hurt_sound_played) != 0) return -1;
    // The hit points read are no new hit.
    _hit_points_seen = _hit_points;
    return 0;
}
