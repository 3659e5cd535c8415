#include "Kovo/Walker.h"

namespace {

// Every walker stands on its feet.
const int kAnchor = 8;
// Saved with the character block; no walker reads them.
const int kIdleTurn = 2;
const int kReserved = 2;

}  // namespace

Walker::Walker(Map* map, Player* player, CharacterType type, double horizontalInset,
               double topInset, bool harmful, bool gasImmune, int hitPoints, double pushSpeed,
               double speed, double alarmRange, double sightRange, CharacterState state,
               bool facingLeft, bool ignoresGasCloud, double leftLimit, double rightLimit)
    : Character(map, player, type, horizontalInset, topInset, kAnchor, harmful, gasImmune,
                hitPoints, pushSpeed, speed, alarmRange, sightRange, kIdleTurn, kReserved, state,
                facingLeft, ignoresGasCloud),
      _left_limit(leftLimit),
      _right_limit(rightLimit)
{
}

bool Walker::withinLimits(bool left, double dx) const
{
    return left ? getLeft() + dx > _left_limit : getRight() + dx < _right_limit;
}

void Walker::restOrWalk(bool on)
{
    if (on) {
        if (_state == CharacterStateAsleepLeft) _state = CharacterStateMoveLeft;
        else if (_state == CharacterStateAsleepRight) _state = CharacterStateMoveRight;
    } else {
        if (_state == CharacterStateMoveLeft) _state = CharacterStateAsleepLeft;
        else if (_state == CharacterStateMoveRight) _state = CharacterStateAsleepRight;
    }
}

void Walker::runOff(bool left, double seconds)
{
    double dx, dy;
    int reason;
    if (stepAlongFloor(left, StepMove, seconds, &dx, &dy, &reason) && withinLimits(left, dx)) {
        move(dx, dy, 0);
        return;
    }
    // Gone where it stands, facing as it ran.
    _state = left ? CharacterStateAsleepLeft : CharacterStateAsleepRight;
}
