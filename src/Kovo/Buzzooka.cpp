#include "Kovo/Buzzooka.h"

#include <string>
#include <vector>

#include "Base/Gph/GphRect.h"
#include "Common/CharacterRecord.h"
#include "Common/GameConstants.h"
#include "Common/Map.h"
#include "Kovo/CharacterBlock.h"
#include "Kovo/Player.h"

namespace {

const double kSide = 120.0;
// The collision box starts 15 below its top, matching the picture drawn 15 low.
const double kTopInset = 15.0;
const double kDrawDrop = 15.0;
const int kHitPoints = 1;
const double kAlarmRange = 300.0;
const double kSightRange = 300.0;
// Saved with the character block; the robot reads neither.
const int kIdleTurn = 2;
const int kReserved = 2;
// Shots come more than three seconds apart; the clock starts at 2500, so the first comes
// after half a second of work.
const int kFirePeriod = 3000;
const int kFirstFireTimer = 2500;
const unsigned kWalkFrameTime = 25;
// The gun's muzzle stands this high above its feet.
const double kMuzzleHeight = 52.0;

std::vector<std::string> walkFrames(const char* way)
{
    std::vector<std::string> files;
    for (int i = 1; i <= 8; ++i) {
        const std::string number = (i < 10 ? "0" : "") + std::to_string(i);
        files.push_back(std::string("buzzooka_") + way + number + ".pcx");
    }
    return files;
}

}  // namespace

Buzzooka::Buzzooka(Map* map, Player* player, double x, double y, double z, double leftLimit,
                   double rightLimit, CharacterState state, bool facingLeft)
    : Character(map, player, CharacterTypeBuzzooka, 0, kTopInset, 8, true, true, kHitPoints,
                GameConstants::walkSpeed, GameConstants::walkSpeed, kAlarmRange, kSightRange,
                kIdleTurn, kReserved, state, facingLeft, false),
      _off(false),
      _left_limit(leftLimit),
      _right_limit(rightLimit),
      _fire_timer(kFirstFireTimer),
      _fire_request(false),
      _gun_sound(nullptr)
{
    setAnchor(8);
    buildAnimations();
    makeDrawable(x, y, z, kSide, kSide);
    setSize(kSide, kSide);
    _gun_sound = loadSound("turret.wav");
    // A robot that starts at rest waits for its switch.
    setVisible(!isAsleep());
}

Character* Buzzooka::build(Map* map, Player* player, const CharacterRecord& record)
{
    return new Buzzooka(map, player, record.x, record.y, record.depth(), record.a, record.b,
                        record.state, record.facingLeft);
}

void Buzzooka::buildAnimations()
{
    addAnimation(CharacterStateMoveRight, walkFrames("right"), kWalkFrameTime);
    addAnimation(CharacterStateMoveLeft, walkFrames("left"), kWalkFrameTime);
    addAnimation(CharacterStateAsleepRight, {"buzzooka_offright.pcx"});
    addAnimation(CharacterStateAsleepLeft, {"buzzooka_offleft.pcx"});
}

bool Buzzooka::takeFireRequest()
{
    const bool request = _fire_request;
    _fire_request = false;
    return request;
}

bool Buzzooka::takeRequest(CharacterRequest& request)
{
    if (!takeFireRequest()) return false;
    request = CharacterRequest::bullet(_facing_left ? getLeft() : getRight(),
                                       getY() + kMuzzleHeight, _facing_left);
    return true;
}

void Buzzooka::setOff(bool off)
{
    if (isVisible()) _off = off;
}

void Buzzooka::think(unsigned ms, double seconds)
{
    if (isVisible() && !_off) {
        if (_state == CharacterStateAsleepLeft) _state = CharacterStateMoveLeft;
        else if (_state == CharacterStateAsleepRight) _state = CharacterStateMoveRight;
    } else {
        if (_state == CharacterStateMoveLeft) _state = CharacterStateAsleepLeft;
        else if (_state == CharacterStateMoveRight) _state = CharacterStateAsleepRight;
    }

    switch (_state) {
    case CharacterStateMoveLeft: patrol(ms, seconds, true); break;
    case CharacterStateMoveRight: patrol(ms, seconds, false); break;
    case CharacterStateAsleepLeft:
    case CharacterStateAsleepRight: showStateAnimation(); break;
    default: break;  // bonked by a crate: it stands
    }
    advanceAnimation(ms);
}

bool Buzzooka::heroInSight(bool left) const
{
    if (!_player || _player->isDying()) return false;
    const double heroX = _player->getX();
    // A hero whose top is level with its feet still counts.
    if (_player->getTop() < getBottom() || _player->getBottom() > getTop()) return false;
    if (left) return heroX < getX() && heroX >= getLeft() - _sight_range;
    return heroX > getX() && heroX <= getRight() + _sight_range;
}

void Buzzooka::patrol(unsigned ms, double seconds, bool left)
{
    if (_fire_timer > kFirePeriod && heroInSight(left)) {
        _fire_timer = 0;
        _fire_request = true;
        // Heard only when seen; the shot comes all the same.
        if (_drawable && _drawable->isVisible()) playSound(_gun_sound);
    } else if (_fire_timer <= kFirePeriod) {
        _fire_timer += ms;
    }

    double dx = (left ? -1 : 1) * _speed * seconds;
    double dy = 0;
    int reason = 0;
    const bool free = _map && _map->walkAlongFloor(getX(), getY(), getLeft(), getRight(), getTop(),
                                                   getBottom(), true, false, false, &dx, &dy,
                                                   &reason);
    if (!free || (left ? getLeft() + dx <= _left_limit : getRight() + dx >= _right_limit)) {
        if (enterState(left ? CharacterStateMoveRight : CharacterStateMoveLeft, false))
            _facing_left = !left;
        return;
    }
    showStateAnimation();
    move(dx, dy, 0);
}

void Buzzooka::draw()
{
    if (!_drawable) return;
    _drawable->move(0, -kDrawDrop, 0);
    Character::draw();
    _drawable->move(0, kDrawDrop, 0);
}

int Buzzooka::writeState(std::ostream& out)
{
    return CharacterBlock::write(out, "BUZZOOKA", *this, [this](std::ostream& s) {
        s << _fire_timer << ' ' << (_fire_request ? 1 : 0) << ' ';
    });
}

int Buzzooka::readState(std::istream& in)
{
    int fireTimer = 0;
    bool fireRequest = false;
    return CharacterBlock::read(
        in, *this,
        [&](std::istream& s) { return static_cast<bool>(s >> fireTimer >> fireRequest); },
        [&] {
            _fire_timer = fireTimer;
            _fire_request = fireRequest;
        });
}
