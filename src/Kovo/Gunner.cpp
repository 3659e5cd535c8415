#include "Kovo/Gunner.h"

#include <string>
#include <vector>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Common/GameConstants.h"
#include "Common/GameRandom.h"
#include "Kovo/Player.h"
#include "Kovo/Reaction.h"

namespace {

// 120 by 120, its collision box 30 in from each side.
const double kSide = 120.0;
const double kHorizontalInset = 30.0;
const int kHitPoints = 2;
// How far behind it notices a downed or alerted comrade, and how far ahead it sees the hero.
const double kAlarmRange = 310.0;
const double kSightRange = 310.0;
// After a burst that it could not follow up with a run it watches further ahead.
const double kWaitingSightRange = 500.0;

// A burst: four shots, the next one due when this much time has passed since the last.
const int kBurstShots = 4;
const int kShotInterval = 100;
// After a burst that ended standing, the next burst's first shot waits this much longer.
const int kWaitAfterBurst = -1000;
// Its bullets leave from the edge it faces, this high above its feet.
const double kMuzzleHeight = 63.0;
// A run fires again once it has covered this much, and runs this far past the hero.
const double kRunBeforeFiring = 200.0;
const double kOvershoot = 200.0;
// On the way back, the hero still counts as ahead within this much above or below it.
const double kAheadBand = 100.0;
// Time after finding an alarm behind it before it turns round.
const int kAlarmDelay = 500;
// Once idle long enough, each think draws one in this many: 1 turns it round, 2 holds the
// idle clock.
const int kIdleTurnChance = 50;
// A stun or a bonk runs out when its picture shows this frame, a second after it began.
const unsigned kKnockOutFrame = 1;
// Sleep Z pictures appear 25 in from the side its head lies on, 60 above its feet.
const double kSleepZAcross = -25.0;
const double kSleepZUp = 60.0;

}  // namespace

Gunner::Gunner(Map* map, Player* player, double x, double y, double z, double leftLimit,
               double rightLimit, CharacterState state, bool facingLeft)
    : Charger(map, player, CharacterTypeGunner, kHorizontalInset, 0, true, false, kHitPoints,
              GameConstants::slowSpeed, GameConstants::mediumSpeed, kAlarmRange, kSightRange,
              state, facingLeft, true, leftLimit, rightLimit),
      _cough_sound(nullptr),
      _bonk_sound(nullptr),
      _gun_sound(nullptr),
      _idle_timer(0),
      _alert_timer(0),
      _reaction_shown(false),
      _fire_request(false),
      _shot_timer(kShotInterval),
      _shot_count(0),
      _hit_points_seen(kHitPoints),
      _run_distance(0),
      _turn_timer(0)
{
    buildAnimations();
    makeDrawable(x, y, z, kSide, kSide);
    setSize(kSide, kSide);
    _cough_sound = loadSound("cough.wav");
    _bonk_sound = loadSound("bonk.wav");
    _gun_sound = loadSound("gun.wav");
}

void Gunner::buildAnimations()
{
    // Shooting (14, 15) has no picture of its own: it shows the stand picture of its side.
    addAnimation(CharacterStateStandLeft, {"tommygun_faceleft.pcx"});
    addAnimation(CharacterStateStandRight, {"tommygun_faceright.pcx"});
    // Each run picture twice in a row: 20 frames of 25 ms. Run pictures are spelt "tommygunn_".
    addAnimation(CharacterStateMoveLeft, runFramesTwice("tommygunn_", "left", 10), 25);
    addAnimation(CharacterStateMoveRight, runFramesTwice("tommygunn_", "right", 10), 25);
    addAnimation(CharacterStateBonkedLeft, {"tommygun_gassedleft.pcx", "tommygun_gassedleft.pcx"},
                 1000);
    addAnimation(CharacterStateStunnedLeft,
                 {"tommygun_gassedleft.pcx", "tommygun_gassedleft.pcx"}, 1000);
    addAnimation(CharacterStateBonkedRight,
                 {"tommygun_gassedright.pcx", "tommygun_gassedright.pcx"}, 1000);
    addAnimation(CharacterStateStunnedRight,
                 {"tommygun_gassedright.pcx", "tommygun_gassedright.pcx"}, 1000);
    addAnimation(CharacterStateAsleepLeft, {"tommygunn_sleepleft.pcx"});
    addAnimation(CharacterStateAsleepRight, {"tommygunn_sleepright.pcx"});
}

// ---------------------------------------------------------------------------------------------
// Helpers

void Gunner::standStill()
{
    enterState(_facing_left ? CharacterStateStandLeft : CharacterStateStandRight, false);
}

void Gunner::startShooting(bool left)
{
    const CharacterState picture = left ? CharacterStateStandLeft : CharacterStateStandRight;
    if (GphAnimatedTexture* animation = findAnimation(picture)) animation->setCurrentFrame(0);
    showState(picture);
    _state = left ? CharacterStateShootLeft : CharacterStateShootRight;
}

// ---------------------------------------------------------------------------------------------
// The frame

void Gunner::think(unsigned ms, double seconds)
{
    updateSleepZ(seconds);

    // Falling asleep after a bonk takes the last hit points, which this counts as one more
    // hit: the stunned picture runs once more, silently, and it falls asleep again.
    if (_hit_points < _hit_points_seen) {
        _hit_points_seen = _hit_points;
        _state = _facing_left ? CharacterStateStunnedLeft : CharacterStateStunnedRight;
    }

    switch (_state) {
    case CharacterStateStandLeft:
    case CharacterStateStandRight: stand(ms, seconds); break;
    case CharacterStateShootLeft:
    case CharacterStateShootRight: shoot(ms, seconds); break;
    case CharacterStateMoveLeft:
    case CharacterStateMoveRight: run(seconds); break;
    case CharacterStateStunnedLeft:
    case CharacterStateStunnedRight: stunned(); break;
    case CharacterStateBonkedLeft:
    case CharacterStateBonkedRight: bonked(); break;
    case CharacterStateAsleepLeft:
    case CharacterStateAsleepRight:
        sleep(ms, {SleepZSpot::RightEdge, kSleepZAcross, kSleepZUp});
        break;
    default: break;
    }

    // Shooting from the start it may have no picture yet; the advance leaves that alone.
    advanceAnimation(ms);
}

void Gunner::stand(unsigned ms, double seconds)
{
    const bool left = _state == CharacterStateStandLeft;
    _run_distance = 0;
    _turnaround_x = -1;
    _return_to_x = -1;

    if (turnToAlarm(ms, kAlarmDelay, _turn_timer, [this] { _idle_timer = 0; })) return;

    if (_alert_timer > 0 || seesHero(_facing_left)) {
        double dx, dy;
        int reason;
        const bool passed = stepAlongFloor(_facing_left, StepProbe, seconds, &dx, &dy, &reason);
        // A wall right in front hides the hero; the edge of a drop does not. Once the
        // countdown runs, nothing stops it.
        if (_alert_timer > 0 || passed || reason == 2) {
            if (_alert_timer > GameConstants::characterTimerPeriod) {
                startShooting(left);
                _idle_timer = 0;
                _alert_timer = 0;
                _reaction_shown = false;
            } else {
                _alert_timer += ms;
            }
        }
        return;
    }

    // While the hero stands in front, however far, the idle clock stops.
    if (heroOnLevel() && heroInFront(_facing_left)) return;
    if (_idle_timer < GameConstants::characterIdleTime) {
        _idle_timer += ms;
        return;
    }
    const int draw = GameRandom::draw() % kIdleTurnChance;
    if (draw == 1) {
        if (turnTo(left ? CharacterStateStandRight : CharacterStateStandLeft, !left))
            _idle_timer = 0;
    } else if (draw != 2) {
        _idle_timer += ms;
    }
}

void Gunner::shoot(unsigned ms, double seconds)
{
    const bool left = _state == CharacterStateShootLeft;
    if (_shot_count >= kBurstShots) {
        const CharacterState stand = left ? CharacterStateStandLeft : CharacterStateStandRight;
        if (_player && _player->isDying()) {
            // The count stays: the next burst fires nothing and goes straight on.
            _state = stand;
            return;
        }
        double dx, dy;
        int reason;
        if (stepAlongFloor(_facing_left, StepProbe, seconds, &dx, &dy, &reason) &&
            withinLimits(left, dx) &&
            enterState(left ? CharacterStateMoveLeft : CharacterStateMoveRight, true)) {
            _idle_timer = 0;
            _run_distance = 0;
            _sight_range = kSightRange;
        } else {
            _state = stand;
            _reaction_shown = true;
            _run_distance = 0;
            _shot_timer = kWaitAfterBurst;
            _sight_range = kWaitingSightRange;
        }
        _shot_count = 0;
        return;
    }
    if (_shot_timer >= kShotInterval) {
        _fire_request = true;
        playSound(_gun_sound);
        _shot_timer = 0;
        ++_shot_count;
    } else {
        _shot_timer += ms;
    }
}

void Gunner::run(double seconds)
{
    const bool left = _state == CharacterStateMoveLeft;
    double dx, dy;
    int reason;
    const bool passed = stepAlongFloor(_facing_left, StepMove, seconds, &dx, &dy, &reason);

    if (!passed || !withinLimits(left, dx)) {
        if (shortOfTurnaround(left)) {
            // Stopped short of a pending turning point: back at once, without the step.
            turnBack(left);
        } else {
            // The last step is made (clipped at a wall), then it stands and watches further.
            move(dx, dy, 0);
            standStill();
            _sight_range = kWaitingSightRange;
        }
        return;
    }

    move(dx, dy, 0);
    _run_distance += dx;
    if ((left ? _run_distance <= -kRunBeforeFiring : _run_distance >= kRunBeforeFiring) &&
        seesHero(_facing_left)) {
        startShooting(left);
        _idle_timer = 0;
        // The first shot of this burst comes at once.
        _shot_timer = kShotInterval;
        return;
    }
    if (!_player) return;

    const double x = getX();
    const double heroX = _player->getX();
    if (_turnaround_x == -1 && (left ? x <= heroX : x >= heroX)) {
        // Reached or passed the hero: on to a turning point, within the room.
        setRunPoints(left, kOvershoot);
    } else if (atTurnaround(left)) {
        turnBack(left);
    } else if (backAtReturnPoint(left)) {
        if (!heroAheadWithin(left, kAheadBand, kAheadBand)) standStill();
        _return_to_x = -1;
    }

    // The hero dying behind it ends the run.
    standIfHeroDyingBehind(left);
}

void Gunner::stunned()
{
    showStateAnimation();
    if (!_hurt_sound_played) {
        playSound(_cough_sound);
        _hurt_sound_played = true;
        return;
    }
    if (!showsFrame(_state, kKnockOutFrame)) return;
    findAnimation(_state)->setCurrentFrame(0);
    if (_hit_points <= 0) {
        fallAsleep();
        return;
    }
    // It faces the hero and fires back at once.
    const bool left = _player && getX() > _player->getX();
    _facing_left = left;
    startShooting(left);
    _idle_timer = 0;
    _shot_count = 0;
    _shot_timer = kShotInterval;
    _hurt_sound_played = false;
}

void Gunner::bonked()
{
    if (knockOutRunsOut(_bonk_sound, kKnockOutFrame)) fallAsleep();
    // Knocked out, it forgets what it saw.
    _alert_timer = 0;
    _reaction_shown = false;
}

// ---------------------------------------------------------------------------------------------
// What the room calls

Reaction* Gunner::react()
{
    return Reaction::onNotice(this, _player, _alert_timer, _reaction_shown);
}

bool Gunner::takeRequest(CharacterRequest& request)
{
    return takeBullet(_fire_request, kMuzzleHeight, request);
}

// ---------------------------------------------------------------------------------------------
// Saved state

int Gunner::writeState(std::ostream& out)
{
    return writeRunState(out, "GUNNER", _idle_timer, _hurt_sound_played);
}

int Gunner::readState(std::istream& in)
{
    if (readRunState(in, _idle_timer, _hurt_sound_played) != 0) return -1;
    // The hit points read are no new hit.
    _hit_points_seen = _hit_points;
    return 0;
}
