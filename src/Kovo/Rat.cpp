#include "Kovo/Rat.h"

#include <string>
#include <vector>

#include "Common/GameRandom.h"
#include "Common/GameConstants.h"

namespace {

const double kLength = 30.0;
const double kWidth = 60.0;
// Its collision box is 10 in from each side.
const double kHorizontalInset = 10.0;
const int kHitPoints = 1;
// Saved with the character block; the rat reads neither.
const double kAlarmRange = 250.0;
const double kSightRange = 250.0;
const unsigned kWalkFrameMs = 25;
// After a stand of the idle time, one draw in this many a frame starts a walk.
const int kWalkOdds = 50;
// Its Z pictures appear 5 out from the side it sleeps towards, 10 above its feet.
const double kSleepZOut = 5.0;
const double kSleepZHeight = 10.0;

std::vector<std::string> walkFrames(const char* way)
{
    // Three pictures, each twice in a row.
    std::vector<std::string> files;
    for (int i = 1; i <= 3; ++i) {
        const std::string file = std::string("rat_walk") + way + std::to_string(i) + ".pcx";
        files.push_back(file);
        files.push_back(file);
    }
    return files;
}

}  // namespace

Rat::Rat(Map* map, Player* player, double x, double y, double z, double leftLimit,
         double rightLimit, CharacterState state, bool facingLeft)
    : Walker(map, player, CharacterTypeRat, kHorizontalInset, 0, true, false, kHitPoints,
             GameConstants::slowSpeed, GameConstants::slowSpeed, kAlarmRange, kSightRange, state,
             facingLeft, false, leftLimit, rightLimit),
      _gas_sound(nullptr),
      _idle_timer(0)
{
    addTraits(TraitWideGasCatch);
    buildAnimations();
    setSize(kLength, kWidth);
    makeDrawable(x, y, z, kLength, kWidth);
    _gas_sound = loadSound("rat.wav");
}

void Rat::buildAnimations()
{
    addAnimation(CharacterStateStandLeft, {"rat_faceleft.pcx"});
    addAnimation(CharacterStateStandRight, {"rat_faceright.pcx"});
    addAnimation(CharacterStateMoveLeft, walkFrames("left"), kWalkFrameMs);
    addAnimation(CharacterStateMoveRight, walkFrames("right"), kWalkFrameMs);
    // Gassed and asleep look alike but keep animations of their own.
    addAnimation(CharacterStateStunnedLeft, {"rat_sleepleft.pcx"});
    addAnimation(CharacterStateAsleepLeft, {"rat_sleepleft.pcx"});
    addAnimation(CharacterStateStunnedRight, {"rat_sleepright.pcx"});
    addAnimation(CharacterStateAsleepRight, {"rat_sleepright.pcx"});
}

void Rat::think(unsigned ms, double seconds)
{
    updateSleepZ(seconds);
    switch (_state) {
    case CharacterStateStandLeft:
    case CharacterStateStandRight: stand(ms); break;
    case CharacterStateMoveLeft: walk(true, seconds); break;
    case CharacterStateMoveRight: walk(false, seconds); break;
    case CharacterStateBonkedLeft:
    case CharacterStateBonkedRight:
    case CharacterStateStunnedLeft:
    case CharacterStateStunnedRight: knockedOut(); break;
    case CharacterStateAsleepLeft:
    case CharacterStateAsleepRight:
        sleep(ms, {SleepZSpot::LeftEdge, -kSleepZOut, kSleepZHeight});
        break;
    default: break;
    }
    advanceAnimation(ms);
}

void Rat::stand(unsigned ms)
{
    if (_idle_timer < GameConstants::characterIdleTime) {
        _idle_timer += ms;
        return;
    }
    if (GameRandom::draw() % kWalkOdds != 1) {
        _idle_timer += ms;
        return;
    }
    // Off the other way.
    const bool wasLeft = _state == CharacterStateStandLeft;
    if (turnTo(wasLeft ? CharacterStateMoveRight : CharacterStateMoveLeft, !wasLeft))
        _idle_timer = 0;
}

void Rat::walk(bool left, double seconds)
{
    double dx, dy;
    if (stepAcross(left, StepMove, seconds, &dx, &dy) && withinLimits(left, dx)) {
        move(dx, dy, 0);
        return;
    }
    // Stands facing the way it went, without taking the step.
    enterState(left ? CharacterStateStandLeft : CharacterStateStandRight, false);
}

void Rat::knockedOut()
{
    // Bonked or gassed, it squeaks and is asleep at once, every time.
    const bool left =
        _state == CharacterStateBonkedLeft || _state == CharacterStateStunnedLeft;
    showState(left ? CharacterStateStunnedLeft : CharacterStateStunnedRight);
    playSound(_gas_sound);
    fallAsleep();
}
