#include "Kovo/Thief3.h"


#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Common/GameRandom.h"
#include "Common/GameConstants.h"
#include "Kovo/Player.h"
#include "Kovo/ThiefPictures.h"

namespace {

const double kSide = 100.0;
const int kHitPoints = 3;
const double kAlarmRange = 250.0;
// How far ahead it sees the hero while it runs, and while it stands after a blocked run
// or volley.
const double kSightRange = 310.0;
const double kWatchRange = 500.0;
const unsigned kGassedFrameMs = 150;
// The run points its first shown think sets, before it has met the hero.
const double kFirstTurnaroundX = 100.0;
const double kFirstReturnToX = 200.0;
// Two shots at least 100 ms apart; a volley that ends standing waits a second longer.
const int kShotsPerVolley = 2;
const int kShotGap = 100;
const int kStandingShotDelay = -1000;
// How far it runs after a volley before it may shoot again, and past the hero before it
// turns.
const double kRunBetweenVolleys = 200.0;
const double kOvershoot = 200.0;
// With the hero dying it runs off left and stops somewhere this far along the room.
const int kRandomSpotSpread = 300;
const double kRandomSpotFrom = 200.0;
// How far above or below, and how far beyond its front edge, still counts as the hero
// being just ahead.
const double kAheadBand = 100.0;
const double kAheadReach = 400.0;
// Facing left with nobody about, one draw in this many a frame turns it, once the idle time
// has passed.
const int kTurnOdds = 50;
// Its Z pictures rise 25 in from the side of its head, 60 above its feet.
const double kSleepZInset = 25.0;
const double kSleepZHeight = 60.0;

}  // namespace

Thief3::Thief3(Map* map, Player* player, double x, double y, double z, double leftLimit,
               double rightLimit, CharacterState state, bool facingLeft)
    : Charger(map, player, CharacterTypeThief3, 0, 0, false, true, kHitPoints,
              GameConstants::walkSpeed, GameConstants::walkSpeed, kAlarmRange, kSightRange, state,
              facingLeft, true, leftLimit, rightLimit),
      _activation_pending(true),
      _alert_timer(0),
      _cough_sound(nullptr),
      _gun_sound(nullptr),
      _fire_request(false),
      _shot_timer(kShotGap),
      _shot_count(0),
      _idle_timer(0),
      _cough_played(false),
      _hit_points_seen(kHitPoints),
      _run_distance(0)
{
    buildAnimations();
    makeDrawable(x, y, z, kSide, kSide);
    setSize(kSide, kSide);
    _cough_sound = loadSound("cough.wav");
    _gun_sound = loadSound("gun.wav");
}

void Thief3::buildAnimations()
{
    // Standing it already holds its gun up: the shooting pictures.
    addAnimation(CharacterStateStandLeft, {"thief_shootleft.pcx"});
    addAnimation(CharacterStateStandRight, {"thief_shootright.pcx"});
    addAnimation(CharacterStateShootLeft, {"thief_shootleft.pcx"});
    addAnimation(CharacterStateShootRight, {"thief_shootright.pcx"});
    addAnimation(CharacterStateMoveLeft, ThiefPictures::run("left"), ThiefPictures::kRunFrameMs);
    addAnimation(CharacterStateMoveRight, ThiefPictures::run("right"), ThiefPictures::kRunFrameMs);
    addAnimation(CharacterStateStunnedLeft,
                 coughFrames("thief_gassedleft1.pcx", "thief_gassedleft2.pcx"), kGassedFrameMs);
    addAnimation(CharacterStateStunnedRight,
                 coughFrames("thief_gassedright1.pcx", "thief_gassedright2.pcx"), kGassedFrameMs);
    addAnimation(CharacterStateAsleepLeft, {"thief_sleepleft.pcx"});
    addAnimation(CharacterStateAsleepRight, {"thief_sleepright.pcx"});
}

void Thief3::draw()
{
    if (isVisible()) Sprite::draw();
}

void Thief3::drawEffects()
{
    if (isVisible()) Character::drawEffects();
}

// ---------------------------------------------------------------------------------------------
// Helpers

bool Thief3::showFromStart(CharacterState shown, CharacterState state)
{
    GphAnimatedTexture* animation = findAnimation(shown);
    if (!animation) return false;
    animation->setCurrentFrame(0);
    if (_drawable) _drawable->setAnimatedTexture(animation);
    _state = state;
    return true;
}

void Thief3::runToRandomSpot()
{
    _turnaround_x = -1;
    _return_to_x = GameRandom::draw() % kRandomSpotSpread + kRandomSpotFrom;
    _run_distance = -kRunBetweenVolleys;
    // Left, whichever way it faces.
    enterState(CharacterStateMoveLeft, false);
}

void Thief3::standWatching(CharacterState state)
{
    _state = state;
    setSightRange(kWatchRange);
}

bool Thief3::heroNearAhead(bool left) const
{
    if (!heroAheadWithin(left, kAheadBand, kAheadBand)) return false;
    const double heroX = _player->getX();
    return left ? getLeft() - kAheadReach <= heroX : getRight() + kAheadReach >= heroX;
}

// ---------------------------------------------------------------------------------------------
// The frame

void Thief3::think(unsigned ms, double seconds)
{
    // Dormant until the level shows it.
    if (!isVisible()) return;
    if (_activation_pending) {
        _activation_pending = false;
        setHarmful(true);
        setGasImmune(false);
        _turnaround_x = kFirstTurnaroundX;
        _return_to_x = kFirstReturnToX;
    }
    updateSleepZ(seconds);
    // A grenade has hit it: it coughs whatever it was doing.
    if (_hit_points < _hit_points_seen) {
        _hit_points_seen = _hit_points;
        _state = _facing_left ? CharacterStateStunnedLeft : CharacterStateStunnedRight;
    }

    switch (_state) {
    case CharacterStateStandLeft: stand(true, ms, seconds); break;
    case CharacterStateStandRight: stand(false, ms, seconds); break;
    case CharacterStateShootLeft: shoot(true, ms, seconds); break;
    case CharacterStateShootRight: shoot(false, ms, seconds); break;
    case CharacterStateMoveLeft: run(true, seconds); break;
    case CharacterStateMoveRight: run(false, seconds); break;
    case CharacterStateStunnedLeft:
    case CharacterStateStunnedRight: gassed(); break;
    case CharacterStateAsleepLeft:
    case CharacterStateAsleepRight:
        sleep(ms, {SleepZSpot::RightEdge, -kSleepZInset, kSleepZHeight});
        break;
    default: break;
    }
    advanceAnimation(ms);
}

void Thief3::stand(bool left, unsigned ms, double seconds)
{
    if (!left) {
        _run_distance = 0;
        _turnaround_x = -1;
        _return_to_x = -1;
    }
    if (_alert_timer <= 0 && !seesHero(left)) {
        // Facing right it never turns back by itself; facing left it does, unless the hero
        // is on its level in front of it.
        if (!left || (heroOnLevel() && heroInFront(left))) return;
        if (_idle_timer < GameConstants::characterIdleTime) {
            _idle_timer += ms;
        } else if (GameRandom::draw() % kTurnOdds == 1 && showFromStart(CharacterStateStandRight,
                                                                  CharacterStateStandRight)) {
            _facing_left = false;
            _idle_timer = 0;
        }
        return;
    }
    // A wall between them hides the hero; a ledge does not.
    double dx, dy;
    int reason;
    const bool free = stepAlongFloor(left, StepProbe, seconds, &dx, &dy, &reason);
    if (_alert_timer <= 0 && !free && reason != 2) return;
    if (_alert_timer > GameConstants::characterTimerPeriod) {
        if (showFromStart(left ? CharacterStateStandLeft : CharacterStateStandRight,
                          left ? CharacterStateShootLeft : CharacterStateShootRight)) {
            _idle_timer = 0;
            _alert_timer = 0;
        }
    } else {
        _alert_timer += ms;
    }
}

void Thief3::shoot(bool left, unsigned ms, double seconds)
{
    if (_shot_count >= kShotsPerVolley) {
        if (_player && _player->isDying()) {
            runToRandomSpot();
            return;
        }
        double dx, dy;
        int reason;
        const bool free = stepAlongFloor(left, StepMove, seconds, &dx, &dy, &reason);
        _run_distance = 0;
        if (free && withinLimits(left, dx)) {
            const CharacterState running = left ? CharacterStateMoveLeft : CharacterStateMoveRight;
            if (showFromStart(running, running)) {
                _idle_timer = 0;
                _shot_count = 0;
                setSightRange(kSightRange);
            }
        } else {
            _shot_count = 0;
            _shot_timer = kStandingShotDelay;
            standWatching(left ? CharacterStateStandLeft : CharacterStateStandRight);
        }
        return;
    }
    if (_shot_timer < kShotGap) {
        _shot_timer += ms;
        return;
    }
    _fire_request = true;
    playSound(_gun_sound);
    _shot_timer = 0;
    ++_shot_count;
}

void Thief3::run(bool left, double seconds)
{
    double dx, dy;
    int reason;
    const bool free = stepAlongFloor(left, StepMove, seconds, &dx, &dy, &reason);

    if (!free || !withinLimits(left, dx)) {
        if (shortOfTurnaround(left)) {
            if (turnBack(left)) _run_distance = 0;
        } else {
            // The step the probe left (clipped at a wall), then it stands watching.
            move(dx, dy, 0);
            if (enterState(left ? CharacterStateStandLeft : CharacterStateStandRight, false))
                setSightRange(kWatchRange);
        }
        return;
    }
    move(dx, dy, 0);
    _run_distance += dx;

    const double x = getX();
    const double heroX = _player ? _player->getX() : x;
    // Running right under a hero who stands above it, it makes off to the left instead.
    const bool heroOverhead =
        !left && _player && getTop() <= _player->getBottom() && !_player->isJumping();
    if (heroOverhead) {
        runToRandomSpot();
    } else if ((left ? _run_distance <= -kRunBetweenVolleys : _run_distance >= kRunBetweenVolleys) &&
               seesHero(left)) {
        if (showFromStart(left ? CharacterStateStandLeft : CharacterStateStandRight,
                          left ? CharacterStateShootLeft : CharacterStateShootRight)) {
            _idle_timer = 0;
            _shot_timer = kShotGap;
        }
    } else if (backAtReturnPoint(left)) {
        // Back where it passed the hero: on again if he is just ahead.
        if (!heroNearAhead(left)) enterState(left ? CharacterStateStandLeft : CharacterStateStandRight, false);
        _return_to_x = -1;
    } else if (_turnaround_x == -1) {
        if (left ? x <= heroX : x >= heroX) {
            // Past the hero: on to a turning point, within the room.
            setRunPoints(left, kOvershoot);
        }
    } else if (atTurnaround(left)) {
        if (turnBack(left)) _run_distance = 0;
    }

    if (_player && _player->isDying()) runToRandomSpot();
}

void Thief3::gassed()
{
    showStateAnimation();
    if (!_cough_played) {
        playSound(_cough_sound);
        _cough_played = true;
        return;
    }
    GphAnimatedTexture* animation = findAnimation(_state);
    if (!animation || !showsFrame(_state, kLastFrame)) return;
    animation->setCurrentFrame(0);
    if (_hit_points <= 0) {
        fallAsleep();
        return;
    }
    // Facing right, a hero above its head makes it run off instead of shooting back.
    if (_state == CharacterStateStunnedRight && _player && getTop() < _player->getY()) {
        runToRandomSpot();
    } else if (_player && getX() > _player->getX()) {
        showFromStart(CharacterStateStandLeft, CharacterStateShootLeft);
        _facing_left = true;
    } else {
        showFromStart(CharacterStateStandRight, CharacterStateShootRight);
        _facing_left = false;
    }
    _idle_timer = 0;
    _shot_count = 0;
    _shot_timer = kShotGap;
    _cough_played = false;
}

bool Thief3::takeRequest(CharacterRequest& request)
{
    return takeBullet(_fire_request, ThiefPictures::kGunHeight, request);
}

// ---------------------------------------------------------------------------------------------
// Saved state

int Thief3::writeState(std::ostream& out)
{
    return writeRunState(out, "THIEF3", _idle_timer, _cough_played);
}

int Thief3::readState(std::istream& in)
{
    if (readRunState(in, _idle_timer, _cough_played) != 0) return -1;
    // The hit points read are no new hit.
    _hit_points_seen = _hit_points;
    return 0;
}
