#include "Kovo/Turret.h"


#include "Common/CharacterRecord.h"
#include "Common/GameConstants.h"
#include "Kovo/CharacterBlock.h"

namespace {

const double kSide = 60.0;
const int kHitPoints = 1;
// Saved with the character block; the turret reads neither the ranges nor these.
const double kAlarmRange = 250.0;
const double kSightRange = 310.0;
const int kIdleTurn = 2;
const int kReserved = 2;
// The count is tested before it grows, so a shot comes up to two frames after this.
const int kFirePeriod = 3000;
// Its muzzle, either side of its centre.
const double kMuzzleLeft = 25.0;
const double kMuzzleRight = 30.0;

}  // namespace

Turret::Turret(Map* map, Player* player, double x, double y, double z, int fireTimer,
               CharacterState state, bool facingLeft)
    : Character(map, player, CharacterTypeTurret, 0, 0, 4, false, true, kHitPoints,
                GameConstants::walkSpeed, GameConstants::walkSpeed, kAlarmRange, kSightRange,
                kIdleTurn, kReserved, state, facingLeft, false),
      _fire_timer(fireTimer),
      _fire_request(false),
      _turret_sound(nullptr)
{
    addTraits(TraitDrawnBehind);
    buildAnimations();
    makeDrawable(x, y, z, kSide, kSide);
    setSize(kSide, kSide);
    _turret_sound = loadSound("turret.wav");
}

Character* Turret::build(Map* map, Player* player, const CharacterRecord& record)
{
    return new Turret(map, player, record.x, record.y, record.depth(), record.n, record.state, record.facingLeft);
}

void Turret::buildAnimations()
{
    addAnimation(CharacterStateShootLeft, {"turret_left.pcx"});
    addAnimation(CharacterStateShootRight, {"turret_right.pcx"});
}

void Turret::think(unsigned ms, double)
{
    // Shown it counts (14, 15); hidden it waits (41, 42).
    if (isVisible()) {
        if (_state == CharacterStateAsleepLeft) _state = CharacterStateShootLeft;
        else if (_state == CharacterStateAsleepRight) _state = CharacterStateShootRight;
    } else {
        if (_state == CharacterStateShootLeft) _state = CharacterStateAsleepLeft;
        else if (_state == CharacterStateShootRight) _state = CharacterStateAsleepRight;
    }

    switch (_state) {
    case CharacterStateShootLeft:
    case CharacterStateShootRight:
        showStateAnimation();
        if (_fire_timer > kFirePeriod) {
            _fire_timer = 0;
            _fire_request = true;
            if (isOnScreen()) playSound(_turret_sound);
        } else {
            _fire_timer += ms;
        }
        break;
    case CharacterStateAsleepLeft: showState(CharacterStateShootLeft); break;
    case CharacterStateAsleepRight: showState(CharacterStateShootRight); break;
    default: break;
    }
    advanceAnimation(ms);
}

bool Turret::takeRequest(CharacterRequest& request)
{
    if (!_fire_request) return false;
    _fire_request = false;
    request = CharacterRequest::bullet(getX() + (_facing_left ? -kMuzzleLeft : kMuzzleRight),
                                       getY(), _facing_left);
    return true;
}

int Turret::writeState(std::ostream& out)
{
    return CharacterBlock::write(out, "TURRET", *this, [this](std::ostream& s) {
        s << _fire_timer << ' ' << (_fire_request ? 1 : 0) << ' ';
    });
}

int Turret::readState(std::istream& in)
{
    int fireTimer = 0;
    bool fireRequest = false;
    return CharacterBlock::read(
        in, *this, [&](std::istream& s) { return static_cast<bool>(s >> fireTimer >> fireRequest); },
        [&] {
            _fire_timer = fireTimer;
            _fire_request = fireRequest;
        });
}
