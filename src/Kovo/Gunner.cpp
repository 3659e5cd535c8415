#include "Kovo/Gunner.h"

#include <string>
#include <vector>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Common/CharacterRecord.h"
#include "Common/GameConstants.h"
#include "Common/GameRandom.h"
#include "Common/Map.h"
#include "Kovo/CharacterBlock.h"
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
// Saved with the character block; the gunner reads neither.
const int kIdleTurn = 2;
const int kReserved = 2;

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
    : Character(map, player, CharacterTypeGunner, kHorizontalInset, 0, 8, true, false,
                kHitPoints, GameConstants::slowSpeed, GameConstants::mediumSpeed, kAlarmRange,
                kSightRange, kIdleTurn, kReserved, state, facingLeft, true),
      _turnaround_x(-1),
      _return_to_x(-1),
      _left_limit(leftLimit),
      _right_limit(rightLimit),
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
    setAnchor(8);
    buildAnimations();
    makeDrawable(x, y, z, kSide, kSide);
    setSize(kSide, kSide);
    _cough_sound = loadSound("cough.wav");
    _bonk_sound = loadSound("bonk.wav");
    _gun_sound = loadSound("gun.wav");
}

Character* Gunner::build(Map* map, Player* player, const CharacterRecord& record)
{
    return new Gunner(map, player, record.x, record.y, record.depth(), record.a, record.b,
                  record.state, record.facingLeft);
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

bool Gunner::heroInLine() const
{
    if (!_player) return false;
    if (!(_player->getTop() >= getBottom() && _player->getBottom() <= getTop())) return false;
    return _facing_left ? _player->getX() < getX() : _player->getX() > getX();
}

bool Gunner::seesHero() const
{
    if (!_player || _player->isDying() || !heroInLine()) return false;
    const double heroX = _player->getX();
    return _facing_left ? heroX >= getLeft() - _sight_range : heroX <= getRight() + _sight_range;
}

bool Gunner::step(bool running, double seconds, double* dx, double* dy, int* reason)
{
    *dx = (_facing_left ? -1 : 1) * _speed * seconds;
    *dy = 0;
    *reason = 0;
    if (!_map) return false;
    return _map->walkAlongFloor(getX(), getY(), getLeft(), getRight(), getTop(), getBottom(),
                                running, true, false, dx, dy, reason);
}

bool Gunner::withinLimits(bool left, double dx) const
{
    return left ? getLeft() + dx > _left_limit : getRight() + dx < _right_limit;
}

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

    if (_alert_timer > 0 || seesHero()) {
        double dx, dy;
        int reason;
        const bool passed = step(false, seconds, &dx, &dy, &reason);
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
    if (heroInLine()) return;
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
        if (step(false, seconds, &dx, &dy, &reason) && withinLimits(left, dx) &&
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
    const bool passed = step(true, seconds, &dx, &dy, &reason);

    if (!passed || !withinLimits(left, dx)) {
        if (_turnaround_x != -1 &&
            (left ? getLeft() > _turnaround_x : getRight() < _turnaround_x)) {
            // Stopped short of a pending turning point: back at once, without the step.
            if (turnTo(left ? CharacterStateMoveRight : CharacterStateMoveLeft, !left))
                _turnaround_x = -1;
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
        seesHero()) {
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
        if (turnTo(left ? CharacterStateMoveRight : CharacterStateMoveLeft, !left))
            _turnaround_x = -1;
    } else if (_turnaround_x == -1 && _return_to_x != -1 &&
               (left ? x <= _return_to_x : x >= _return_to_x)) {
        const bool heroAhead = getBottom() < _player->getTop() + kAheadBand &&
                               getTop() > _player->getBottom() - kAheadBand &&
                               (left ? getLeft() > heroX : getRight() < heroX);
        if (!heroAhead) standStill();
        _return_to_x = -1;
    }

    // The hero dying behind it ends the run; behind as it runs now, after any turn above.
    const bool runningLeft = _state == CharacterStateMoveLeft;
    if (_player->isDying() && (runningLeft || _state == CharacterStateMoveRight) &&
        (runningLeft ? heroX >= x : heroX <= x)) {
        standStill();
        _turnaround_x = -1;
        _return_to_x = -1;
    }
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
    if (!_fire_request) return false;
    _fire_request = false;
    request = CharacterRequest::bullet(_facing_left ? getLeft() : getRight(), getY() + kMuzzleHeight,
                                       _facing_left);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Saved state

int Gunner::writeState(std::ostream& out)
{
    return CharacterBlock::write(out, "GUNNER", *this, [this](std::ostream& s) {
        s << _turnaround_x << ' ' << _return_to_x << ' ' << _idle_timer << ' '
          << (_hurt_sound_played ? 1 : 0) << ' ';
    });
}

int Gunner::readState(std::istream& in)
{
    double turnaroundX = 0, returnToX = 0;
    int idleTimer = 0;
    bool hurtSoundPlayed = false;
    return CharacterBlock::read(
        in, *this,
        [&](std::istream& s) {
            return static_cast<bool>(s >> turnaroundX >> returnToX >> idleTimer >>
                                     hurtSoundPlayed);
        },
        [&] {
            _turnaround_x = turnaroundX;
            _return_to_x = returnToX;
            _idle_timer = idleTimer;
            _hurt_sound_played = hurtSoundPlayed;
            // The hit points read are no new hit.
            _hit_points_seen = _hit_points;
        });
}
