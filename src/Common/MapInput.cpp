// The room's share of the keyboard: held directions, jumps and hint dismissal.

#include "Common/Map.h"

#include "Common/GameConstants.h"
#include "Common/MapInternal.h"
#include "Kovo/Hint.h"
#include "Kovo/Obstacle.h"
#include "Kovo/Player.h"

using namespace MapInternal;

namespace {

// A jump starts at the jump speed plus this; super shoes double the jump speed instead.
const double kJumpBoost = 70.0;

}  // namespace

void Map::pause()
{
    clearInput();
}

void Map::clearInput()
{
    _heldLeft = _heldRight = _heldUp = _heldDown = false;
    for (Obstacle* obstacle : _obstacles) {
        obstacle->setPushed(false);
        obstacle->updatePushSound();
    }
}

void Map::dismissHint()
{
    _shownHint->hide();
    _shownHint = nullptr;
}

void Map::onCharDown(char /*c*/)
{
    // A shown hint freezes the frame step, so whatever the hero was doing cannot end until
    // the hint goes: any key dismisses it.
    if (_shownHint) dismissHint();
}

void Map::onKeyDown(AppKey key)
{
    if (_shownHint) {
        dismissHint();
        return;
    }
    if (!_player) return;
    if (_player->isMovingBack() || _player->isDying() || _player->isInShotPose()) return;
    const bool mayStand = !_player->isThrowing() && !_player->isJumping() &&
                          _player->getVerticalSpeed() == 0;
    switch (key) {
    case AppKeyCtrl:
        if (!_player->isThrowing() && _player->isJumping() && _player->getVerticalSpeed() == 0) {
            _heldUp = _heldDown = false;
            _player->setVerticalSpeed(GameConstants::jumpSpeed +
                                      (_shoesTime != 0 ? GameConstants::jumpSpeed : kJumpBoost));
        }
        break;
    case AppKeyLeft:
        _heldLeft = true;
        _heldRight = _heldUp = _heldDown = false;
        break;
    case AppKeyRight:
        _heldRight = true;
        _heldLeft = _heldUp = _heldDown = false;
        break;
    case AppKeyUp:
        if (mayStand) {
            _heldUp = true;
            _heldLeft = _heldRight = _heldDown = false;
        }
        break;
    case AppKeyDown:
        if (mayStand) {
            _heldDown = true;
            _heldLeft = _heldRight = _heldUp = false;
        }
        break;
    default: break;
    }
}

void Map::onKeyUp(AppKey key)
{
    if (!_player) return;
    if (_player->isMovingBack() || _player->isDying()) return;
    switch (key) {
    case AppKeyCtrl:
        // The rise ends at once and gravity takes over.
        if (!_player->isThrowing() && _player->getVerticalSpeed() > 0)
            _player->setVerticalSpeed(0);
        break;
    case AppKeyLeft: _heldLeft = false; break;
    case AppKeyRight: _heldRight = false; break;
    case AppKeyUp: _heldUp = false; break;
    case AppKeyDown: _heldDown = false; break;
    default: break;
    }
}
