#include "Kovo/Robot.h"

#include <string>
#include <vector>

#include "Common/CharacterRecord.h"
#include "Common/GameConstants.h"
#include "Common/Map.h"

namespace {

const double kSide = 100.0;
// Its collision box: 10 in from each side and below its top.
const double kInset = 10.0;
const int kHitPoints = 1;
// Saved with the character block; the robot reads neither the ranges nor these.
const double kAlarmRange = 250.0;
const double kSightRange = 250.0;
const int kIdleTurn = 2;
const int kReserved = 2;
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
    : Character(map, player, CharacterTypeRobot, kInset, kInset, 8, true, true, kHitPoints,
                GameConstants::walkSpeed, GameConstants::walkSpeed, kAlarmRange, kSightRange,
                kIdleTurn, kReserved, state, facingLeft, false),
      _off(false),
      _left_limit(leftLimit),
      _right_limit(rightLimit)
{
    setAnchor(8);
    buildAnimations();
    makeDrawable(x, y, z, kSide, kSide);
    setSize(kSide, kSide);
    setVisible(!isAsleep());
}

Character* Robot::build(Map* map, Player* player, const CharacterRecord& record)
{
    return new Robot(map, player, record.x, record.y, record.depth(), record.a, record.b, record.state, record.facingLeft);
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
    if (isVisible() && !_off) {
        if (_state == CharacterStateAsleepLeft) _state = CharacterStateMoveLeft;
        else if (_state == CharacterStateAsleepRight) _state = CharacterStateMoveRight;
    } else {
        if (_state == CharacterStateMoveLeft) _state = CharacterStateAsleepLeft;
        else if (_state == CharacterStateMoveRight) _state = CharacterStateAsleepRight;
    }

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
    double dx = (left ? -1 : 1) * seconds * _speed;
    double dy = 0;
    int reason = 0;
    const bool free = _map && _map->walkAlongFloor(getX(), getY(), getLeft(), getRight(),
                                                   getTop(), getBottom(), true, false, false,
                                                   &dx, &dy, &reason);
    const bool withinLimit = left ? getLeft() + dx > _left_limit : getRight() + dx < _right_limit;
    if (free && withinLimit) {
        showStateAnimation();
        move(dx, dy, 0);
        return;
    }
    // Turns round in place.
    _state = left ? CharacterStateMoveRight : CharacterStateMoveLeft;
    showStateAnimation();
}
