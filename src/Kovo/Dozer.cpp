#include "Kovo/Dozer.h"

#include <string>
#include <vector>

#include "Common/GameConstants.h"

namespace {

const double kSide = 100.0;
const int kHitPoints = 1;
const double kAlarmRange = 250.0;
const double kSightRange = 250.0;
const unsigned kWalkFrameTime = 25;

// The walk: pictures 1 to 4 and back, then 5 to 8 and back.
std::vector<std::string> walkFrames(const char* way)
{
    const int order[] = {1, 2, 3, 4, 4, 3, 2, 1, 5, 6, 7, 8, 8, 7, 6, 5};
    std::vector<std::string> files;
    for (int picture : order)
        files.push_back(std::string("worker_robot_move_") + way + std::to_string(picture) + ".pcx");
    return files;
}

}  // namespace

Dozer::Dozer(Map* map, Player* player, double x, double y, double z, double leftLimit,
             double rightLimit, CharacterState state, bool facingLeft)
    : Walker(map, player, CharacterTypeDozer, 0, 0, false, true, kHitPoints,
             GameConstants::walkSpeed, GameConstants::walkSpeed, kAlarmRange, kSightRange, state,
             facingLeft, false, leftLimit, rightLimit),
      _off(false)
{
    addTraits(TraitPusher | TraitKnocksAside);
    buildAnimations();
    makeDrawable(x, y, z, kSide, kSide);
    setSize(kSide, kSide);
    // A dozer that starts at rest waits for its switch.
    setVisible(!isAsleep());
}

void Dozer::buildAnimations()
{
    addAnimation(CharacterStateMoveRight, walkFrames("right"), kWalkFrameTime);
    addAnimation(CharacterStateMoveLeft, walkFrames("left"), kWalkFrameTime);
    addAnimation(CharacterStateAsleepRight, {"worker_robot_move_right5.pcx"});
    addAnimation(CharacterStateAsleepLeft, {"worker_robot_move_left5.pcx"});
}

void Dozer::setOff(bool off)
{
    if (off == _off) return;
    _off = off;
    setVisible(!off);
}

void Dozer::think(unsigned ms, double seconds)
{
    // The switch is read first; a bonk only stops it until then.
    if (isVisible() && _state == CharacterStateBonkedLeft) _state = CharacterStateMoveLeft;
    else if (isVisible() && _state == CharacterStateBonkedRight) _state = CharacterStateMoveRight;
    restOrWalk(isVisible());

    switch (_state) {
    case CharacterStateMoveLeft: walk(seconds, true); break;
    case CharacterStateMoveRight: walk(seconds, false); break;
    case CharacterStateAsleepLeft:
    case CharacterStateAsleepRight: showStateAnimation(); break;
    default: break;
    }
    advanceAnimation(ms);
}

void Dozer::walk(double seconds, bool left)
{
    double dx, dy;
    int reason;
    const bool free = stepAlongFloor(left, StepPush, seconds, &dx, &dy, &reason);
    // A wall, a ledge or a limit turns it round, without a step in this frame.
    if (!free || !withinLimits(left, dx)) {
        if (enterState(left ? CharacterStateMoveRight : CharacterStateMoveLeft, false))
            _facing_left = !left;
        return;
    }
    showStateAnimation();
    move(dx, dy, 0);
    _facing_left = left;
}
