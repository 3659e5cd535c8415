#include "Kovo/Thief1.h"

#include "Base/Gph/GphRect.h"
#include "Common/GameConstants.h"
#include "Kovo/CharacterBlock.h"
#include "Kovo/Switch.h"
#include "Kovo/ThiefPictures.h"

namespace {

const double kSide = 100.0;
const int kHitPoints = 1;
// Saved with the character block; the thief reads neither.
const double kAlarmRange = 250.0;
const double kSightRange = 310.0;
// Time on screen before it drops its folder, and before it runs.
const int kDropAfter = 500;
const int kRunAfter = 600;
// The folder's panel, and where it shows: left of the thief, above its feet.
const char* const kPanel = "t5-5_2.pcx";
const double kPanelLeft = 240.0;
const double kPanelUp = 55.0;

}  // namespace

Thief1::Thief1(Map* map, Player* player, double x, double y, double z, double leftLimit,
               double rightLimit, CharacterState state, bool facingLeft)
    : Walker(map, player, CharacterTypeThief1, 0, 0, false, true, kHitPoints,
             GameConstants::walkSpeed, GameConstants::walkSpeed, kAlarmRange, kSightRange, state,
             facingLeft, true, leftLimit, rightLimit),
      _switch(nullptr),
      _seen_timer(0),
      _drop_request(false)
{
    buildAnimations();
    makeDrawable(x, y, z, kSide, kSide);
    setSize(kSide, kSide);
}

void Thief1::buildAnimations()
{
    addAnimation(CharacterStateStandLeft, {"thief_faceleft.pcx"});
    addAnimation(CharacterStateStandRight, {"thief_faceright.pcx"});
    addAnimation(CharacterStateMoveLeft, ThiefPictures::run("left"), ThiefPictures::kRunFrameMs);
    addAnimation(CharacterStateMoveRight, ThiefPictures::run("right"), ThiefPictures::kRunFrameMs);
}

void Thief1::draw()
{
    if (!isAsleep() && isVisible()) Sprite::draw();
}

void Thief1::think(unsigned ms, double seconds)
{
    switch (_state) {
    case CharacterStateStandLeft:
    case CharacterStateStandRight: stand(ms); break;
    case CharacterStateMoveLeft: runOff(true, seconds); break;
    case CharacterStateMoveRight: runOff(false, seconds); break;
    case CharacterStateAsleepLeft:
    case CharacterStateAsleepRight:
        // Gone.
        if (_drawable) _drawable->setAnimatedTexture(nullptr);
        break;
    default: break;
    }
    advanceAnimation(ms);
}

void Thief1::stand(unsigned ms)
{
    // Only time seen on screen counts.
    if (!isOnScreen() || !isVisible()) return;
    _seen_timer += ms;
    if (_seen_timer > kRunAfter) {
        // Away from the way it faced.
        const bool facedLeft = _state == CharacterStateStandLeft;
        if (turnTo(facedLeft ? CharacterStateMoveRight : CharacterStateMoveLeft, !facedLeft)) {
            _seen_timer = 0;
            if (_switch) _switch->toggle();
        }
    } else if (_seen_timer > kDropAfter) {
        if (_switch) _drop_request = true;
        // Past the drop: the next frame on screen runs, and no second folder is asked for.
        _seen_timer = kRunAfter + 1;
    }
}

bool Thief1::takeRequest(CharacterRequest& request)
{
    if (!_drop_request) return false;
    _drop_request = false;
    request = CharacterRequest::droppedHint(kPanel, getLeft() - kPanelLeft, getBottom() + kPanelUp);
    return true;
}

int Thief1::writeState(std::ostream& out)
{
    return CharacterBlock::write(out, "THIEF1", *this);
}

int Thief1::readState(std::istream& in)
{
    return CharacterBlock::read(
        in, *this, [](std::istream&) { return true; }, [] {});
}
