#include "Kovo/Robot.h"

#include <string>
#include <vector>

#include "Common/GameConstants.h"

namespace {

const double kSide = 100.0;
// Its collision box: 10 in from each side and below its top.
const double kInset = 10.0;
const int kHitPoints = 1;
// Saved with the character block; the robot reads neither.
const double kAlarmRange = 250.0;
const double kSightRange = 250.0;
const unsigned kWalkFrameMs = 25;

// Four pictures out and back: 1, 2, 3, 4, 4, 3, 2, 1.
std::vector<std::string> walkFrames(const char* way)
{
    std::vector<std::string> files;
    for (int i : {1, 2, 3, 4, 4, 3, 2, 1})
        files.push_back(std::string("robot_move_") + way + std::to_string(i) + ".pcx");
    return files;
}

}  // namespace

Robot::Robot(Map* map, Player* player, double x, double y, double z, double leftLimit,
             double rightLimit, CharacterState state, bool facingLeft)
    : Walker(map, player, CharacterTypeRobot, kInset, kInset, true, true, kHitPoints,
             GameConstants::walkSpeed, GameConstants::walkSpeed, kAlarmRange, kSightRange, state,
             facingLeft, false, leftLimit, rightLimit),
      _off(false)
{
    buildAnimations();
    makeDrawable(x, y, z, kSide, kSide);
    setSize(kSide, kSide);
    setVisible(!isAsleep());
}

void Robot::buildAnimations()
{
    addAnimation(CharacterStateMoveLeft, walkFrames("left"), kWalkFrameMs);
    addAnimation(CharacterStateMoveRight, walkFrames("right"), kWalkFrameMs);
    addAnimation(CharacterStateAsleepLeft, {"robot_off_left.pcx"});
    addAnimation(CharacterStateAsleepRight, {"robot_off_right.pcx"});
}

void Robot::setOff(bool off)
{
    if (isVisible()) _off = off;
}

void Robot::think(unsigned ms, double seconds)
{
    restOrWalk(isVisible() && !_off);

    switch (_state) {
    case CharacterStateMoveLeft: walk(true, seconds); break;
    case CharacterStateMoveRight: walk(false, seconds); break;
    case CharacterStateAsleepLeft:
    case CharacterStateAsleepRight: showStateAnimation(); break;
    default: break;
    }
    advanceAnimation(ms);
}

void Robot::walk(bool left, double seconds)
{
    double dx, dy;
    int reason;
    if (stepAlongFloor(left, StepMove, seconds, &dx, &dy, &reason) && withinLimits(left, dx)) {
        showStateAnimation();
        move(dx, dy, 0);
        return;
    }
    // Turns round in place.
    _state = left ? CharacterStateMoveRight : CharacterStateMoveLeft;
    showStateAnimation();
}
