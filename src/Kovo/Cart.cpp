#include "Kovo/Cart.h"

#include <string>
#include <vector>

#include "Common/GameConstants.h"

namespace {

const double kSide = 80.0;
const int kHitPoints = 1;
const double kAlarmRange = 250.0;
const double kSightRange = 250.0;
const unsigned kRollFrameTime = 25;

}  // namespace

Cart::Cart(Map* map, Player* player, double x, double y, double z, double leftLimit,
           double rightLimit, CharacterState state, bool facingLeft)
    : Walker(map, player, CharacterTypeCart, 0, 0, true, true, kHitPoints,
             GameConstants::walkSpeed, GameConstants::walkSpeed, kAlarmRange, kSightRange, state,
             facingLeft, false, leftLimit, rightLimit)
{
    addTraits(TraitKnocksAside);
    buildAnimations();
    makeDrawable(x, y, z, kSide, kSide);
    setSize(kSide, kSide);
    // A cart that starts at rest waits for its switch.
    setVisible(!isAsleep());
}

void Cart::buildAnimations()
{
    // The wheels turn forward and back again.
    const std::vector<std::string> roll = {
        "mining_cart1.pcx", "mining_cart2.pcx", "mining_cart3.pcx", "mining_cart4.pcx",
        "mining_cart4.pcx", "mining_cart3.pcx", "mining_cart2.pcx", "mining_cart1.pcx"};
    addAnimation(CharacterStateMoveRight, roll, kRollFrameTime);
    addAnimation(CharacterStateMoveLeft, roll, kRollFrameTime);
    addAnimation(CharacterStateAsleepRight, {"mining_cart1.pcx"});
    addAnimation(CharacterStateAsleepLeft, {"mining_cart1.pcx"});
}

void Cart::think(unsigned ms, double seconds)
{
    // The switch is read before anything moves, so a cart switched on this frame rolls now.
    restOrWalk(isVisible());

    switch (_state) {
    case CharacterStateMoveLeft: roll(seconds, true); break;
    case CharacterStateMoveRight: roll(seconds, false); break;
    case CharacterStateAsleepLeft:
    case CharacterStateAsleepRight: showStateAnimation(); break;
    default: break;  // bonked by a crate: it stands
    }
    advanceAnimation(ms);
}

void Cart::roll(double seconds, bool left)
{
    const double dx = (left ? -1 : 1) * _speed * seconds;
    if (!withinLimits(left, dx)) {
        // Turns where the limit would be reached, without moving in this frame.
        enterState(left ? CharacterStateMoveRight : CharacterStateMoveLeft, false);
        return;
    }
    showStateAnimation();
    move(dx, 0, 0);
}
