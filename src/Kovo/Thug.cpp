#include "Kovo/Thug.h"

#include <cstdlib>
#include <new>
#include <string>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Common/GameConstants.h"
#include "Common/Map.h"
#include "Kovo/Player.h"
#include "Kovo/Reaction.h"

namespace {

const double side = 120.0;
const double horizontalInset = 30.0;
const double topInset = 5.0;
const int hitPoints = 1;
const double alarmRange = 250.0;
const double sightRange = 310.0;
const int idleTurn = 2;
const int reserved = 2;

// How far past the hero a charge runs before it turns, and past a floor's end before it
// topples.
const double overshoot = 200.0;
const double ledgeRun = 120.0;
// Time after finding an alarm before the thug turns to it.
const int alarmDelay = 500;
// How far a body moves back off a wall once it has slammed into it.
const double slamRebound = 40.0;
// Where a new sleep Z appears: in from the head's side, above the feet.
const double sleepZInset = 25.0;
const double sleepZHeight = 60.0;
const int sleepZPeriod = 1000;
// How much further above or below the hero still counts as the hero being ahead of a charge
// on its way back.
const double aheadBand = 100.0;

std::vector<std::string> runFrames(const char* side)
{
    // Each picture twice in a row: 20 frames of 25 ms.
    std::vector<std::string> files;
    for (int i = 1; i <= 10; ++i) {
        const std::string file = std::string("thug1_run") + side + std::to_string(i) + ".pcx";
        files.push_back(file);
        files.push_back(file);
    }
    return files;
}

}  // namespace

Thug::Thug(Map* map, Player* player, double x, double y, double z, double leftLimit,
           double rightLimit, CharacterState state, bool facingLeft)
    : Character(map, player, CharacterTypeThug, horizontalInset, topInset, 8, true, false,
                hitPoints, GameConstants::slowSpeed, GameConstants::mediumSpeed, alarmRange,
                sightRange, idleTurn, reserved, state, facingLeft, false),
      _turnaround_x(-1),
      _return_to_x(-1),
      _stop_x(-1),
      _vertical_speed(0),
      _left_limit(leftLimit),
      _right_limit(rightLimit),
      _gasp_sound(nullptr),
      _bonk_sound(nullptr),
      _crash_sound(nullptr),
      _fall_sound(nullptr),
      _clang_sound(nullptr),
      _sleep_z_list(),
      _sleep_z_timer(0),
      _idle_timer(0),
      _sound_played(false),
      _alert_timer(0),
      _reaction_shown(false),
      _knock_blocked(false),
      _alarm_timer(0)
{
    setAnchor(8);
    buildAnimations();
    makeDrawable(x, y, z, side, side);
    setSize(side, side);
    _gasp_sound = SndSoundEffect::create("gasp.wav");
    _bonk_sound = SndSoundEffect::create("bonk.wav");
    _crash_sound = SndSoundEffect::create("crash2.wav");
    _fall_sound = SndSoundEffect::create("fall.wav");
    _clang_sound = SndSoundEffect::create("clangwhiz.wav");
}

Thug::~Thug()
{
    _sleep_z_list.clear();
    SndSoundEffect::release(_gasp_sound);
    SndSoundEffect::release(_bonk_sound);
    SndSoundEffect::release(_crash_sound);
    SndSoundEffect::release(_fall_sound);
    SndSoundEffect::release(_clang_sound);
}

void Thug::buildAnimations()
{
    addAnimation(CharacterStateStandLeft, {"thug1_faceleft.pcx"});
    addAnimation(CharacterStateStandRight, {"thug1_faceright.pcx"});
    addAnimation(CharacterStateMoveLeft, runFrames("left"), 25);
    addAnimation(CharacterStateMoveRight, runFrames("right"), 25);
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

// ---------------------------------------------------------------------------------------------
// Helpers

bool Thug::switchTo(CharacterState state, bool rewind)
{
    GphAnimatedTexture* animation = findAnimation(state);
    if (!animation) return false;
    if (rewind) animation->setCurrentFrame(0);
    if (_drawable) _drawable->setAnimatedTexture(animation);
    _state = state;
    return true;
}

void Thug::show(CharacterState state)
{
    GphAnimatedTexture* animation = findAnimation(state);
    if (animation && _drawable) _drawable->setAnimatedTexture(animation);
}

void Thug::play(SndSoundEffect* sound)
{
    SndSoundEffect::playAt(sound, ShpCoord(getX(), getY(), 0));
}

bool Thug::heroOnLevel() const
{
    return _player && getBottom() <= _player->getTop() && getTop() >= _player->getBottom();
}

bool Thug::seesHero() const
{
    if (!_player || _player->isDying() || !heroOnLevel()) return false;
    const double heroX = _player->getX();
    if (_facing_left) return heroX < getX() && heroX >= getLeft() - _sight_range;
    return heroX > getX() && heroX <= getRight() + _sight_range;
}

bool Thug::alarmRaised() const
{
    if (!_map) return false;
    bool found = false;
    const bool answer =
        _map->findDownedCharacterAhead(getX(), getY(), _alarm_range, _facing_left, &found);
    return answer && found;
}

bool Thug::walk(bool moving, double* dx, double* dy, int* reason)
{
    *reason = 0;
    if (!_map) return false;
    return _map->walkAlongFloor(getX(), getY(), getLeft(), getRight(), getTop(), getBottom(),
                                moving, true, false, dx, dy, reason);
}

bool Thug::withinLimits(bool left, double dx) const
{
    return left ? getLeft() + dx > _left_limit : getRight() + dx < _right_limit;
}

void Thug::accelerateDown(double seconds)
{
    if (_vertical_speed > -GameConstants::maxFallSpeed)
        _vertical_speed -= (_map ? _map->getGravity() : 0.0) * seconds;
}

// ---------------------------------------------------------------------------------------------
// The frame

void Thug::think(unsigned ms, double seconds)
{
    _sleep_z_list.update(seconds);

    switch (_state) {
    case CharacterStateStandLeft:
    case CharacterStateStandRight: stand(ms, seconds); break;
    case CharacterStateMoveLeft:
    case CharacterStateMoveRight: charge(seconds); break;
    case CharacterStateFallLeft:
    case CharacterStateFallRight: fall(seconds); break;
    case CharacterStateBonkedLeft:
    case CharacterStateBonkedRight:
    case CharacterStateStunnedLeft:
    case CharacterStateStunnedRight: bonked(); break;
    case CharacterStateWallSlamLeft:
    case CharacterStateWallSlamRight: wallSlammed(); break;
    case CharacterStateKnockedBackLeft:
    case CharacterStateKnockedBackRight: knocked(seconds); break;
    case CharacterStateAsleepLeft:
    case CharacterStateAsleepRight: asleep(ms); break;
    default: break;
    }

    GphAnimatedTexture::advance(_drawable ? _drawable->getAnimatedTexture() : nullptr, ms);
}

void Thug::stand(unsigned ms, double seconds)
{
    const bool left = _state == CharacterStateStandLeft;
    _turnaround_x = -1;
    _return_to_x = -1;

    // A comrade down behind it, or one that has seen something, turns it around after a while.
    if (_alarm_timer == 0) {
        if (alarmRaised()) {
            _alarm_timer += ms;
            return;
        }
    } else if (_alarm_timer > alarmDelay) {
        if (switchTo(left ? CharacterStateStandRight : CharacterStateStandLeft, true)) {
            _facing_left = !left;
            _idle_timer = 0;
            _alarm_timer = 0;
        }
        return;
    } else {
        _alarm_timer += ms;
    }

    if (_alert_timer > 0 || seesHero()) {
        double dx = (left ? -1 : 1) * seconds * _speed;
        double dy = 0;
        int reason = 0;
        const bool free = walk(false, &dx, &dy, &reason);
        // Seen behind a wall or across a gap, the hero goes unnoticed; once noticed, the
        // charge comes whatever the hero does.
        if (_alert_timer == 0 && !(free && withinLimits(left, dx) && reason == 0)) return;
        if (_alert_timer > GameConstants::characterTimerPeriod) {
            if (switchTo(left ? CharacterStateMoveLeft : CharacterStateMoveRight, true)) {
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
    const bool inFront = heroOnLevel() &&
                         (left ? _player->getX() < getX() : _player->getX() > getX());
    if (inFront) return;
    if (_idle_timer < GameConstants::characterIdleTime) {
        _idle_timer += ms;
        return;
    }
    const int draw = std::rand() % (left ? 50 : 100);
    if (draw == 1 && switchTo(left ? CharacterStateStandRight : CharacterStateStandLeft, true)) {
        _facing_left = !left;
        _idle_timer = 0;
    }
}

void Thug::charge(double seconds)
{
    const bool left = _state == CharacterStateMoveLeft;
    double dx = (left ? -1 : 1) * seconds * _speed;
    double dy = 0;
    int reason = 0;
    const bool free = walk(true, &dx, &dy, &reason);

    if (free && withinLimits(left, dx)) {
        move(dx, dy, 0);
        const double x = getX();
        const double heroX = _player ? _player->getX() : x;
        if (_turnaround_x == -1 && (left ? x <= heroX : x >= heroX)) {
            // Past the hero: run on to a turning point, within the room.
            if (left) {
                _turnaround_x = x - overshoot < 0 ? 0 : x - overshoot;
                _return_to_x = x < 0 ? 0 : x;
            } else {
                const double width = _map ? _map->getWidth() : x + overshoot;
                _turnaround_x = x + overshoot > width ? width : x + overshoot;
                _return_to_x = x > width ? width : x;
            }
        } else if (_turnaround_x != -1 &&
                   (left ? getLeft() <= _turnaround_x : getRight() >= _turnaround_x)) {
            if (switchTo(left ? CharacterStateMoveRight : CharacterStateMoveLeft, true)) {
                _facing_left = !left;
                _turnaround_x = -1;
            }
        } else if (_turnaround_x == -1 && _return_to_x != -1 &&
                   (left ? x <= _return_to_x : x >= _return_to_x)) {
            const bool heroAhead =
                _player && getBottom() < _player->getTop() + aheadBand &&
                getTop() > _player->getBottom() - aheadBand &&
                (left ? getLeft() > heroX : getRight() < heroX);
            if (heroAhead) {
                _return_to_x = -1;
            } else if (switchTo(left ? CharacterStateStandLeft : CharacterStateStandRight, false)) {
                _return_to_x = -1;
            }
        }

        // A dead hero behind it ends the chase; checked in the direction it now runs.
        if (_player && _player->isDying() &&
            (_state == CharacterStateMoveLeft || _state == CharacterStateMoveRight)) {
            const bool nowLeft = _state == CharacterStateMoveLeft;
            const bool behind = nowLeft ? heroX >= getX() : heroX <= getX();
            if (behind &&
                switchTo(nowLeft ? CharacterStateStandLeft : CharacterStateStandRight, false)) {
                _turnaround_x = -1;
                _return_to_x = -1;
            }
        }
        return;
    }

    // Refused, or at a limit.
    if (_stop_x != -1) {
        // Running on over the edge of a floor.
        if (reason == 1) {
            if (switchTo(left ? CharacterStateWallSlamLeft : CharacterStateWallSlamRight, true)) {
                _turnaround_x = -1;
                _stop_x = -1;
            }
        } else if (left ? getX() <= _stop_x : getX() >= _stop_x) {
            if (switchTo(left ? CharacterStateFallLeft : CharacterStateFallRight, true)) {
                _turnaround_x = -1;
                _stop_x = -1;
            }
        }
        move(dx, dy, 0);
    } else if (_turnaround_x != -1 &&
               (left ? getLeft() > _turnaround_x : getRight() < _turnaround_x)) {
        // Overshooting the hero.
        if (reason == 1) {
            if (switchTo(left ? CharacterStateWallSlamLeft : CharacterStateWallSlamRight, true))
                _turnaround_x = -1;
        } else if (reason == 2) {
            _stop_x = getX() + (left ? -ledgeRun : ledgeRun);
            move(dx, dy, 0);
        } else if (switchTo(left ? CharacterStateMoveRight : CharacterStateMoveLeft, true)) {
            _facing_left = !left;
            _turnaround_x = -1;
        }
    } else {
        // Still chasing: the last step is made, then it stands.
        move(dx, dy, 0);
        switchTo(left ? CharacterStateStandLeft : CharacterStateStandRight, false);
    }
}

void Thug::fall(double seconds)
{
    show(_state);
    GphAnimatedTexture* animation = findAnimation(_state);
    if (!animation || animation->getFrameCount() == 0) return;
    const unsigned last = animation->getFrameCount() - 1;
    if (animation->getCurrentFrame() != last) return;
    animation->setCurrentFrame(last);

    if (!_sound_played) {
        play(_fall_sound);
        _sound_played = true;
        return;
    }
    double dx = 0;
    double dy = seconds * _vertical_speed;
    if (_map && _map->landOnFloor(getX(), getY(), getBottom(), &dx, &dy)) {
        fallAsleep();
        if (_fall_sound) _fall_sound->stop();
        play(_crash_sound);
        return;
    }
    accelerateDown(seconds);
    move(dx, dy, 0);
}

void Thug::bonked()
{
    show(_state);
    if (!_sound_played) {
        const bool gassed =
            _state == CharacterStateStunnedLeft || _state == CharacterStateStunnedRight;
        play(gassed ? _gasp_sound : _bonk_sound);
        _sound_played = true;
        return;
    }
    GphAnimatedTexture* animation = findAnimation(_state);
    if (animation && animation->getCurrentFrame() == 1) fallAsleep();
}

void Thug::wallSlammed()
{
    show(_state);
    if (!_sound_played) {
        play(_crash_sound);
        _sound_played = true;
        return;
    }
    GphAnimatedTexture* animation = findAnimation(_state);
    if (!animation || animation->getFrameCount() == 0) return;
    if (animation->getCurrentFrame() != animation->getFrameCount() - 1) return;
    const bool slammedLeft = _state == CharacterStateWallSlamLeft;
    fallAsleep();
    move(slammedLeft ? slamRebound : -slamRebound, 0, 0);
}

void Thug::knocked(double seconds)
{
    show(_facing_left ? CharacterStateStunnedLeft : CharacterStateStunnedRight);
    if (!_sound_played) {
        play(_clang_sound);
        _sound_played = true;
        return;
    }
    if (!_knock_blocked) {
        double dx = 2 * _speed * seconds * (_state == CharacterStateKnockedBackLeft ? -1 : 1);
        double dy = seconds * _vertical_speed;
        if (_map && _map->landOnFloor(getX(), getY(), getBottom(), &dx, &dy)) {
            fallAsleep();
            return;
        }
        if (_map && _map->moveVertically(getX(), getY(), getLeft(), getRight(), getTop(),
                                         getBottom(), false, &dx, &dy)) {
            move(dx, dy, 0);
        } else {
            // A wall: the flight goes on straight down.
            move(0, dy, 0);
            _knock_blocked = true;
        }
        accelerateDown(seconds);
        return;
    }
    double dx = 0;
    double dy = seconds * _vertical_speed;
    if (_map && _map->landOnFloor(getX(), getY(), getBottom(), &dx, &dy)) {
        fallAsleep();
        return;
    }
    accelerateDown(seconds);
    move(0, dy, 0);
}

void Thug::asleep(unsigned ms)
{
    show(_state);
    _sleep_z_timer += ms;
    if (_sleep_z_timer < sleepZPeriod) return;
    _sleep_z_timer = 0;
    const double x = _state == CharacterStateAsleepLeft ? getRight() - sleepZInset
                                                        : getLeft() + sleepZInset;
    _sleep_z_list.add(x, getY() + sleepZHeight);
}

void Thug::drawEffects()
{
    _sleep_z_list.draw();
}

// ---------------------------------------------------------------------------------------------
// What the room calls

Reaction* Thug::react()
{
    if (_reaction_shown || _alert_timer < GameConstants::characterReactThreshold) return nullptr;
    _reaction_shown = true;
    return new (std::nothrow)
        Reaction(this, GameConstants::characterTimerPeriod - _alert_timer, getX(),
                 getY() + _length + 20, _player && _player->isAirborne());
}

void Thug::knock(bool toRight)
{
    _state = toRight ? CharacterStateKnockedBackRight : CharacterStateKnockedBackLeft;
    _vertical_speed = GameConstants::jumpSpeed;
}

void Thug::slamWall()
{
    if (switchTo(_facing_left ? CharacterStateWallSlamLeft : CharacterStateWallSlamRight, true)) {
        _turnaround_x = -1;
        _stop_x = -1;
    }
}

// ---------------------------------------------------------------------------------------------
// Saved state

int Thug::writeState(std::ostream& out)
{
    out << "<THUG> " << _turnaround_x << ' ' << _return_to_x << ' ' << _idle_timer << ' '
        << (_sound_played ? 1 : 0) << ' ';
    const int result = Character::writeState(out);
    if (result == 0) out << "</THUG>\n";
    return result;
}

int Thug::readState(std::istream& in)
{
    // Read into locals first: a block cut short must not leave zeros behind.
    double turnaroundX, returnToX;
    int idleTimer;
    bool soundPlayed;
    std::string characterTag;
    if (!(in >> turnaroundX >> returnToX >> idleTimer >> soundPlayed >> characterTag)) return -1;
    const int result = Character::readState(in);
    if (result != 0) return result;
    _turnaround_x = turnaroundX;
    _return_to_x = returnToX;
    _idle_timer = idleTimer;
    _sound_played = soundPlayed;
    std::string closing;
    if (!(in >> closing)) return -1;
    return 0;
}
