#include "Kovo/Buzzooka.h"

#include <string>
#include <vector>

#include "Base/Gph/GphRect.h"
#include "Common/GameConstants.h"
#include "Common/Map.h"
#include "Kovo/CharacterBlock.h"

namespace {

const double kSide = 120.0;
// The collision box starts 15 below its top, matching the picture drawn 15 low.
const double kTopInset = 15.0;
const double kDrawDrop = 15.0;
const int kHitPoints = 1;
const double kAlarmRange = 300.0;
const double kSightRange = 300.0;
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
    : Walker(map, player, CharacterTypeBuzzooka, 0, kTopInset, true, true, kHitPoints,
             GameConstants::walkSpeed, GameConstants::walkSpeed, kAlarmRange, kSightRange, state,
             facingLeft, false, leftLimit, rightLimit),
      _off(false),
      _fire_timer(kFirstFireTimer),
      _fire_request(false),
      _gun_sound(nullptr)
{
    buildAnimations();
    makeDrawable(x, y, z, kSide, kSide);
    setSize(kSide, kSide);
    _gun_sound = loadSound("turret.wav");
    // A robot that starts at rest waits for its switch.
    setVisible(!isAsleep());
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
    return takeBullet(_fire_request, kMuzzleHeight, request);
}

void Buzzooka::setOff(bool off)
{
    if (isVisible()) _off = off;
}

void Buzzooka::think(unsigned ms, double seconds)
{
    restOrWalk(isVisible() && !_off);

    switch (_state) {
    case CharacterStateMoveLeft: patrol(ms, seconds, true); break;
    case CharacterStateMoveRight: patrol(ms, seconds, false); break;
    case CharacterStateAsleepLeft:
    case CharacterStateAsleepRight: showStateAnimation(); break;
    default: break;  // bonked by a crate: it stands
    }
    advanceAnimation(ms);
}

void Buzzooka::patrol(unsigned ms, double seconds, bool left)
{
    // In its line of fire on the side it walks toward, within its sight.
    if (_fire_timer > kFirePeriod && seesHero(left)) {
        _fire_timer = 0;
        _fire_request = true;
        // Heard only when seen; the shot comes all the same.
        if (_drawable && _drawable->isVisible()) playSound(_gun_sound);
    } else if (_fire_timer <= kFirePeriod) {
        _fire_timer += ms;
    }

    double dx, dy;
    int reason;
    const bool free = stepAlongFloor(left, StepMove, seconds, &dx, &dy, &reason);
    if (!free || !withinLimits(left, dx)) {
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
