// The camera: placement, arrival in the room, parallax, snow and following the hero.

#include "Common/Map.h"

#include <cmath>

#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphParticleSystem.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "Common/MapInternal.h"
#include "Kovo/Character.h"
#include "Kovo/Item.h"
#include "Kovo/Player.h"
#include "Kovo/Projectile.h"
#include "Kovo/Snow.h"

using namespace MapInternal;

namespace {

// Entering a room sends the actors near the arrival point back to their start.
const double kResetBoxHalfWidth = 200.0;
const double kResetBoxHalfHeight = 100.0;

// The view follows a rising or falling hero whose top is within this of its edges, and
// looking up or down keeps this much of the view beyond him.
const double kLookMargin = 200.0;
const double kLookLimit = 80.0;

}  // namespace

GphCamera* Map::camera() const
{
    GphWindow* window = _owner ? _owner->getWindow() : nullptr;
    return window ? window->getCamera() : nullptr;
}

void Map::clampCamera(double& x, double& y) const
{
    if (x < kHalfViewWidth) {
        x = kHalfViewWidth;
    } else if (x > _width - kHalfViewWidth) {
        x = _width - kHalfViewWidth;
    }
    if (y < kHalfViewHeight) {
        y = kHalfViewHeight;
    } else if (y > _height - kHalfViewHeight) {
        y = _height - kHalfViewHeight;
    }
}

void Map::moveParallax(double dx, double dy)
{
    if (_backdrop) _backdrop->move(dx, dy, 0);
    for (int layer = 1; layer <= kLayerCount; ++layer) {
        const double factor = layerFactor(layer);
        for (GphRect* rect : _layerObjects[layer - 1]) rect->move(dx * factor, dy * factor, 0);
    }
}

void Map::restartSnow()
{
    Snow** snows[] = {&_frontSnow, &_intermediateSnow, &_backgroundSnow};
    const double depths[] = {GameConstants::zSnowFront, GameConstants::zSnowMiddle,
                             GameConstants::zSnowBack};
    for (int i = 0; i < 3; ++i) {
        if (!*snows[i]) continue;
        delete *snows[i];
        *snows[i] = make<Snow>(camera(), depths[i]);
    }
}

void Map::placeCamera(double x, double y)
{
    GphCamera* cam = camera();
    if (!cam) return;
    const double z = cam->getPosition()->getZ();
    cam->setPosition(ShpCoord(kHalfViewWidth, kHalfViewHeight, z));
    clampCamera(x, y);
    cam->setPosition(ShpCoord(x, y, z));
    _lookOffset = 0;
    const double dx = x - kHalfViewWidth;
    const double dy = y - kHalfViewHeight;
    if (dx != 0 || dy != 0) moveParallax(dx, dy);
    restartSnow();
}

void Map::enter(double x, double y, int xrayTime, int shoesTime, int armorTime, int phoneTime,
                int launcherTime)
{
    GphCamera* cam = camera();
    if (!cam) return;
    _heldLeft = _heldRight = _heldUp = false;
    const double z = cam->getPosition()->getZ();
    cam->setPosition(ShpCoord(kHalfViewWidth, kHalfViewHeight, z));

    _armorTime = armorTime;
    _shoesTime = shoesTime;
    _launcherTime = launcherTime;
    _phoneTime = phoneTime;
    setOffMachines(phoneTime > 0);

    _xrayTime = xrayTime;
    applyXray(xrayTime > 0);

    deleteAll(_enemyProjectiles);

    // Decoration back where a first view puts it, undoing the parallax of the last visit.
    const double backX = _savedCameraX > 0 ? kHalfViewWidth - _savedCameraX : 0;
    const double backY = _savedCameraY > 0 ? kHalfViewHeight - _savedCameraY : 0;
    if (backX != 0 || backY != 0) moveParallax(backX, backY);

    double cx = x, cy = y;
    if (_player) {
        _player->setPosition(x, y, GameConstants::zHero);
        cx = _player->getX();
        cy = _player->getY();
    }
    clampCamera(cx, cy);
    cam->setPosition(ShpCoord(cx, cy, z));
    _lookOffset = 0;
    const double dx = cx - kHalfViewWidth;
    const double dy = cy - kHalfViewHeight;
    if (dx != 0 || dy != 0) moveParallax(dx, dy);

    for (Character* character : _characters) {
        if (character->isIncapacitated()) {
            character->fallAsleep();
            character->think(0, 0.0);
        } else if (!character->isAsleep()) {
            const bool near = std::fabs(character->getX() - x) < kResetBoxHalfWidth &&
                              std::fabs(character->getY() - y) < kResetBoxHalfHeight;
            if (near) {
                character->resetToStart();
                character->resetState();
            } else if (character->hasTrait(Character::TraitBackToStartOnEntry)) {
                character->resetToStart();
                character->think(0, 0.0);
            }
        }
    }

    deleteAll(_reactions);
    for (Item* transient : _transients) transient->setAlpha(-1);
    // The effects are gas clouds, smoke and sparks, all of which end with the visit.
    deleteAll(_effects);
    _gasClouds.clear();
    restartSnow();
}

void Map::followHero(double heroDy, double seconds)
{
    GphCamera* cam = camera();
    if (!cam || _player->isDying()) return;

    const double x = _player->getX();
    const double y = _player->getY();
    const double bottom = _player->getBottom();
    const double top = y + _player->getHalfLength();
    const bool walkingIn = _player->isMovingBack();

    double look = heroDy;
    if (!_player->isJumping() && !walkingIn) {
        if (_heldUp) look += GameConstants::lookSpeed * seconds;
        else if (_heldDown) look -= GameConstants::lookSpeed * seconds;
    }

    const double v = cam->getPosition()->getY();
    const bool apply = (look < 0 && v - kHalfViewHeight > top - kLookMargin) ||
                       (look > 0 && v + kHalfViewHeight < top + kLookMargin) ||
                       (look != 0 && _heldDown) || (look != 0 && _heldUp && !walkingIn);
    if (!apply) {
        look = 0;
    } else {
        look += _lookOffset;
        if (_heldDown) {
            if (v + kHalfViewHeight + look < top + kLookLimit) {
                look = top + kLookLimit - (v + kHalfViewHeight);
                _lookOffset = 0;
            }
        } else if (_heldUp) {
            if (v - kHalfViewHeight + look > bottom - kLookLimit) {
                look = bottom - kLookLimit - (v - kHalfViewHeight);
                _lookOffset = 0;
            }
        }
        // The view moves by whole units; the rest is carried to the next frame.
        double whole = 0;
        if (look > 1) whole = std::ceil(look) - 1;
        else if (look < -1) whole = 1 - std::ceil(-look);
        _lookOffset = look - whole;
        look = whole;
    }

    double tx = x;
    if (tx < kHalfViewWidth) tx = kHalfViewWidth;
    else if (tx > _width - kHalfViewWidth) tx = _width - kHalfViewWidth;
    double ty = v + look;
    if (ty < kHalfViewHeight) {
        ty = kHalfViewHeight;
        _lookOffset = 0;
    } else if (ty > _height - kHalfViewHeight) {
        ty = _height - kHalfViewHeight;
        _lookOffset = 0;
    }

    cam->track(tx, ty, seconds);
    const double cx = cam->getLastMoveX();
    const double cy = cam->getLastMoveY();
    if (cx != 0 || cy != 0) moveParallax(cx, cy);
}
