#include "Kovo/Wolf.h"

#include <string>
#include <vector>

#include "Common/GameConstants.h"
#include "Kovo/CharacterBlock.h"
#include "Kovo/Player.h"
#include "Kovo/Reaction.h"

namespace {

const double kLength = 80.0;
const double kWidth = 160.0;
// Its collision box: 30 in from each side, 35 below its top.
const double kHorizontalInset = 30.0;
const double kTopInset = 35.0;
const int kHitPoints = 1;
const double kAlarmRange = 275.0;
const double kSightRange = 275.0;
const unsigned kRunFrameMs = 25;
const unsigned kGassedFrameMs = 375;
// How far above its back the hero's feet may be and still be seen.
const double kSightAbove = 200.0;
// How far past the place where it passed the hero a run goes before it turns.
const double kOvershoot = 500.0;
// How far above or below still counts as the hero being ahead on the way back.
const double kAheadBand = 100.0;
// The gassed pictures whimper while frames 1 and 3 show; the last one puts it to sleep.
const unsigned kWhimperFrame1 = 1;
const unsigned kWhimperFrame2 = 3;
// Its Z pictures rise 25 in from the side of its head, 20 above its feet.
const double kSleepZInset = 25.0;
const double kSleepZHeight = 20.0;

std::vector<std::string> runFrames(const char* way)
{
    // Five pictures, each three times in a row.
    std::vector<std::string> files;
    for (int i = 1; i <= 5; ++i)
        for (int n = 0; n < 3; ++n)
            files.push_back(std::string("wolf_run") + way + std::to_string(i) + ".pcx");
    return files;
}

std::vector<std::string> gassedFrames(const char* way)
{
    // The first and the second picture in turn, starting and ending with the first.
    const std::string first = std::string("wolf_gassed") + way + "1.pcx";
    const std::string second = std::string("wolf_gassed") + way + "2.pcx";
    return {first, second, first, second, first, second, first};
}

}  // namespace

Wolf::Wolf(Map* map, Player* player, double x, double y, double z, double leftLimit,
           double rightLimit, CharacterState state, bool facingLeft)
    : Charger(map, player, CharacterTypeWolf, kHorizontalInset, kTopInset, true, false,
              kHitPoints, GameConstants::walkSpeed, GameConstants::runSpeed, kAlarmRange,
              kSightRange, state, facingLeft, false, leftLimit, rightLimit),
      _pluck_sound(nullptr),
      _wolf_sound(nullptr),
      _alert_timer(0),
      _reaction_shown(false)
{
    buildAnimations();
    setSize(kLength, kWidth);
    makeDrawable(x, y, z, kLength, kWidth);
    _pluck_sound = loadSound("pluck.wav");
    _wolf_sound = loadSound("wolf.wav");
}

void Wolf::buildAnimations()
{
    addAnimation(CharacterStateStandLeft, {"wolf_faceleft.pcx"});
    addAnimation(CharacterStateStandRight, {"wolf_faceright.pcx"});
    addAnimation(CharacterStateMoveLeft, runFrames("left"), kRunFrameMs);
    addAnimation(CharacterStateMoveRight, runFrames("right"), kRunFrameMs);
    addAnimation(CharacterStateStunnedLeft, gassedFrames("left"), kGassedFrameMs);
    addAnimation(CharacterStateStunnedRight, gassedFrames("right"), kGassedFrameMs);
    addAnimation(CharacterStateAsleepLeft, {"wolf_sleepleft.pcx"});
    addAnimation(CharacterStateAsleepRight, {"wolf_sleepright.pcx"});
}

void Wolf::think(unsigned ms, double seconds)
{
    updateSleepZ(seconds);
    switch (_state) {
    case CharacterStateStandLeft: stand(true, ms, seconds); break;
    case CharacterStateStandRight: stand(false, ms, seconds); break;
    case CharacterStateMoveLeft: run(true, seconds); break;
    case CharacterStateMoveRight: run(false, seconds); break;
    case CharacterStateStunnedLeft:
    case CharacterStateStunnedRight: gassed(); break;
    case CharacterStateAsleepLeft:
    case CharacterStateAsleepRight:
        sleep(ms, {SleepZSpot::LeftEdge, kSleepZInset, kSleepZHeight});
        break;
    default: break;
    }
    advanceAnimation(ms);
}

void Wolf::stand(bool left, unsigned ms, double seconds)
{
    _turnaround_x = -1;
    _return_to_x = -1;
    // Once noticed, the run comes whatever the hero does.
    if (_alert_timer == 0 && !seesHero(left, kSightAbove)) return;
    // Seen behind a wall, across a gap or past its limit, the hero goes unnoticed.
    double dx, dy;
    const bool free = stepAcross(left, StepProbe, seconds, &dx, &dy);
    if (_alert_timer == 0 && !(free && withinLimits(left, dx))) return;
    if (_alert_timer > GameConstants::characterTimerPeriod) {
        if (enterState(left ? CharacterStateMoveLeft : CharacterStateMoveRight, true)) {
            playSound(_wolf_sound);
            _alert_timer = 0;
            _reaction_shown = false;
        }
    } else {
        _alert_timer += ms;
    }
}

void Wolf::run(bool left, double seconds)
{
    double dx, dy;
    const bool free = stepAcross(left, StepMove, seconds, &dx, &dy);
    if (!free || !withinLimits(left, dx)) {
        // Blocked short of its turning point it turns back; otherwise it stops.
        if (shortOfTurnaround(left)) {
            turnBack(left);
        } else {
            enterState(left ? CharacterStateStandLeft : CharacterStateStandRight, false);
        }
        return;
    }
    move(dx, dy, 0);

    const double x = getX();
    const double heroX = _player ? _player->getX() : x;
    if (_turnaround_x == -1 && (left ? x <= heroX : x >= heroX)) {
        // Past the hero: on to a turning point, within the room.
        setRunPoints(left, kOvershoot);
    } else if (atTurnaround(left)) {
        turnBack(left);
    } else if (backAtReturnPoint(left)) {
        // Back where it passed the hero: on again if he is ahead at about its level.
        if (!heroAheadWithin(left, kAheadBand, kAheadBand))
            enterState(left ? CharacterStateStandLeft : CharacterStateStandRight, false);
        _return_to_x = -1;
    }

    // A dead hero reached or passed ends the chase.
    if (_player && _player->isDying() && (left ? heroX >= getX() : heroX <= getX())) {
        enterState(left ? CharacterStateStandLeft : CharacterStateStandRight, false);
        _turnaround_x = -1;
        _return_to_x = -1;
    }
}

void Wolf::gassed()
{
    showStateAnimation();
    if (showsFrame(_state, kWhimperFrame1) || showsFrame(_state, kWhimperFrame2))
        playSound(_pluck_sound);
    else if (showsFrame(_state, kLastFrame))
        fallAsleep();
    _alert_timer = 0;
    _reaction_shown = false;
}

Reaction* Wolf::react()
{
    return Reaction::onNotice(this, _player, _alert_timer, _reaction_shown);
}

int Wolf::writeState(std::ostream& out)
{
    return CharacterBlock::write(out, "WOLF", *this, [this](std::ostream& s) {
        s << _turnaround_x << ' ' << _return_to_x << ' ';
    });
}

int Wolf::readState(std::istream& in)
{
    double turnaroundX = 0, returnToX = 0;
    return CharacterBlock::read(
        in, *this, [&](std::istream& s) { return static_cast<bool>(s >> turnaroundX >> returnToX); },
        [&] {
            _turnaround_x = turnaroundX;
            _return_to_x = returnToX;
        });
}
