#include "Kovo/Knight.h"

#include <string>
#include <vector>

#include "Base/Gph/GphRect.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Common/GameConstants.h"
#include "Kovo/CharacterBlock.h"
#include "Kovo/Player.h"

namespace {

const int kHitPoints = 1;
const double kAlarmRange = 400.0;
const double kSightRange = 400.0;
const unsigned kSneakFrameMs = 40;
// Standing: a 120 square box and picture.
const double kStandSide = 120.0;
// Sneaking, crouched: a box 180 wide and 90 high, a picture 200 wide and 100 high.
const double kSneakLength = 90.0;
const double kSneakWidth = 180.0;
const double kSneakPictureAcross = 200.0;
const double kSneakPictureUp = 100.0;
// The hero must be further than this from its middle for a sneak to start.
const double kSneakDistance = 200.0;
// Standing, it is drawn at the very back, raised off the floor it stands on.
const double kStandingDepth = -205.0;
const double kStandingRaise = 20.0;

std::vector<std::string> sneakFrames(const char* way)
{
    std::vector<std::string> files;
    for (int i = 1; i <= 6; ++i)
        files.push_back(std::string("knight_sneak") + way + std::to_string(i) + ".pcx");
    return files;
}

}  // namespace

Knight::Knight(Map* map, Player* player, double x, double y, double z, double leftLimit,
               double rightLimit, CharacterState state, bool facingLeft)
    : Walker(map, player, CharacterTypeKnight, 0, 0, true, true, kHitPoints,
             GameConstants::slowSpeed, GameConstants::slowSpeed, kAlarmRange, kSightRange, state,
             facingLeft, true, leftLimit, rightLimit),
      _sneak_sound(nullptr),
      _spare(0),
      _hero_passed(false),
      _last_hero_x(player ? player->getX() : 0)
{
    // Drawn among the decoration, and back at its post whenever the hero comes in.
    addTraits(TraitDrawnBehind | TraitBackToStartOnEntry);
    buildAnimations();
    makeDrawable(x, y, z, kStandSide, kStandSide);
    setSize(kStandSide, kStandSide);
    _sneak_sound = loadSound("sneak.wav");
    if (_sneak_sound) _sneak_sound->setLooping(true);
}

void Knight::buildAnimations()
{
    addAnimation(CharacterStateStill, {"knight.pcx"});
    addAnimation(CharacterStateSneakLeft, sneakFrames("left"), kSneakFrameMs);
    addAnimation(CharacterStateSneakRight, sneakFrames("right"), kSneakFrameMs);
}

void Knight::draw()
{
    if (!_drawable) return;
    if (_state != CharacterStateStill) {
        _drawable->draw();
        return;
    }
    const double z = getZ();
    setZ(kStandingDepth);
    _drawable->move(0, kStandingRaise, 0);
    _drawable->draw();
    // Putting the depth back places the picture where it belongs again.
    setZ(z);
}

void Knight::takeStandingLook()
{
    setSize(kStandSide, kStandSide);
    if (_drawable) {
        _drawable->setLength(kStandSide);
        _drawable->setWidth(kStandSide);
    }
}

void Knight::takeSneakingLook()
{
    // The sprite's sizing makes the picture square; its own shape is set after it.
    setSize(kSneakLength, kSneakWidth);
    if (_drawable) {
        _drawable->setLength(kSneakPictureAcross);
        _drawable->setWidth(kSneakPictureUp);
    }
}

void Knight::think(unsigned ms, double seconds)
{
    if (ms == 0) {
        reset();
        return;
    }
    switch (_state) {
    case CharacterStateStill: stand(seconds); break;
    case CharacterStateSneakLeft: sneak(true, seconds); break;
    case CharacterStateSneakRight: sneak(false, seconds); break;
    default: break;
    }
    advanceAnimation(ms);
}

void Knight::reset()
{
    if (!enterState(CharacterStateStill, true)) return;
    if (_sneak_sound) _sneak_sound->stop();
    takeStandingLook();
    _hero_passed = false;
    _last_hero_x = _player ? _player->getX() : _last_hero_x;
}

void Knight::stand(double seconds)
{
    setHarmful(false);
    if (!_player || _player->getBottom() != getBottom()) return;
    const double heroX = _player->getX();
    const double x = getX();
    if (!_hero_passed) {
        // Crossed when its x lies between where the hero was last seen on its floor and where
        // he is now; a jump over it counts once he lands.
        if ((_last_hero_x < x && x <= heroX) || (_last_hero_x > x && x >= heroX))
            _hero_passed = true;
        else
            _last_hero_x = heroX;
        return;
    }
    if (_player->isDying()) return;

    const bool left = heroX < x;
    if (!left && !(heroX > x)) return;
    const bool inReach = left ? heroX >= getLeft() - _sight_range && heroX < x - kSneakDistance
                              : heroX <= getRight() + _sight_range && heroX > x + kSneakDistance;
    // His back to it: he faces the way away from it.
    if (!inReach || _player->isFacingLeft() != left) return;
    // A step it could take, which it does not take yet.
    double dx, dy;
    if (!stepAcross(left, StepProbe, seconds, &dx, &dy) || !withinLimits(left, dx)) return;
    if (turnTo(left ? CharacterStateSneakLeft : CharacterStateSneakRight, left))
        takeSneakingLook();
}

void Knight::sneak(bool left, double seconds)
{
    setHarmful(true);
    if (_sneak_sound && isOnScreen() && !_sneak_sound->isPlaying()) playSound(_sneak_sound);

    double dx, dy;
    int reason;
    const bool free = stepAlongFloor(left, StepMove, seconds, &dx, &dy, &reason);
    const bool withinLimit = withinLimits(left, dx);
    move(dx, dy, 0);
    if (!free || !withinLimit) {
        // The step the query left (clipped at a wall) is still made.
        standAgain();
        return;
    }
    if (!_player) return;
    const bool heroOnFloor = _player->getBottom() == getBottom() || _player->isJumping();
    // He faces it when he looks back the way it comes from.
    const bool heroFacesIt = _player->isFacingLeft() != left;
    if (!heroOnFloor || heroFacesIt || _player->isDying()) standAgain();
}

void Knight::standAgain()
{
    if (!enterState(CharacterStateStill, true)) return;
    if (_sneak_sound) _sneak_sound->stop();
    takeStandingLook();
}

int Knight::writeState(std::ostream& out)
{
    return CharacterBlock::write(out, "KNIGHT", *this, [this](std::ostream& s) {
        s << _spare << ' ';
    });
}

int Knight::readState(std::istream& in)
{
    int spare = 0;
    return CharacterBlock::read(
        in, *this, [&](std::istream& s) { return static_cast<bool>(s >> spare); },
        [&] {
            _spare = spare;
            // The restored state brings its own look.
            if (_state == CharacterStateSneakLeft || _state == CharacterStateSneakRight)
                takeSneakingLook();
            else
                takeStandingLook();
        });
}
