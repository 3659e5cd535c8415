// The frame step and its own parts: props, obstacles, the dying hero, the walk into a
// door, exits; and the helpers that other parts of the step share.

#include "Common/Map.h"

#include <cmath>
#include <list>

#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphParticleSystem.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Common/Barrier.h"
#include "Common/CutScene.h"
#include "Common/Exit.h"
#include "Common/GameConstants.h"
#include "Common/Level.h"
#include "Common/MapInternal.h"
#include "Kovo/Character.h"
#include "Kovo/Door.h"
#include "Kovo/Hammer.h"
#include "Kovo/Hazard.h"
#include "Kovo/Hint.h"
#include "Kovo/Item.h"
#include "Kovo/Obstacle.h"
#include "Kovo/Platform.h"
#include "Kovo/Player.h"
#include "Kovo/Switch.h"

using namespace MapInternal;

namespace {

// The world stands still this long after an exit before the level is finished (ms).
const int kExitDelay = 1500;

// A dying hero whose top is this far below the camera centre has fallen out of view.
const double kFallenOutOfView = 1000.0;

// Walking into a door takes him this far up.
const double kDoorWalkRise = 40.0;

// The first actor standing under a falling obstacle, struck on the head by it.
Character* characterUnder(const std::list<Character*>& characters, const Obstacle* obstacle)
{
    for (Character* c : characters) {
        if (c->isIncapacitated() || c->isAsleep()) continue;
        if (obstacle->getLeft() < c->getX() && c->getX() < obstacle->getRight() &&
            c->getTop() > obstacle->getBottom() && c->getBottom() < obstacle->getTop())
            return c;
    }
    return nullptr;
}

// Both y edges cut to whole numbers, toward zero.
void truncateEdges(Barrier* barrier)
{
    barrier->setY1(std::trunc(barrier->getY1()));
    barrier->setY2(std::trunc(barrier->getY2()));
}

}  // namespace

Map::HeroBox Map::heroBox() const
{
    HeroBox hero;
    hero.x = _player->getX();
    hero.y = _player->getY();
    hero.left = _player->getLeft();
    hero.right = _player->getRight();
    hero.top = _player->getTop();
    hero.bottom = _player->getBottom();
    hero.halfWidth = _player->getHalfWidth();
    hero.halfLength = _player->getHalfLength();
    return hero;
}

void Map::playSound(SndSoundEffect* sound)
{
    if (!sound) return;
    GphCamera* cam = camera();
    if (cam) {
        const ShpCoord* at = cam->getPosition();
        sound->setPosition(ShpCoord(at->getX(), at->getY(), 0));
    }
    sound->stop();
    sound->play();
}

void Map::appendEffect(GphParticleSystem* effect)
{
    _effects.push_back(effect);
}

void Map::showHint(Hint* hint, double x, double y)
{
    // Only one panel is ever up: an earlier one of the same frame goes away first.
    if (_shownHint && _shownHint != hint) _shownHint->hide();
    hint->show(ShpCoord(x, y, GameConstants::hintDepth));
    _shownHint = hint;
}

void Map::killHero()
{
    _player->die();
    _player->setVerticalSpeed(GameConstants::jumpSpeed);
    _heldLeft = _heldRight = _heldUp = _heldDown = false;
    if (_level) _level->stopMusic();
}

void Map::update(unsigned ms)
{
    if (!_player) return;

    // A hint panel on screen freezes the whole room until a key dismisses it.
    if (_shownHint) return;

    if (_cutScene) {
        int hx = 0, hy = 0;
        Hint* hint = _cutScene->next(hx, hy);
        if (hint) {
            showHint(hint, hx, hy);
            _transients.push_back(hint);
            return;
        }
    }

    const double s = ms / 1000.0;
    if (_exitTimer > 0) {
        // The world stands still from the exit until the level is finished.
        _exitTimer += static_cast<int>(ms);
        if (_exitTimer > kExitDelay && _level) _level->finished(_exitCode);
        return;
    }

    const double g = s * _gravity;
    updateProps(ms, s);
    updateObstacles(s, g);

    const HeroBox before = heroBox();
    HeroBox hero = before;
    bool cameraFollows = true;
    bool inRoom = true;
    double heroDy = 0;

    if (_player->isMovingBack() && !_doorWalkDoor) {
        // A hero restored while walking into a door: the walk cannot go on, so he stands.
        _player->stop();
    }

    if (_player->isDying()) {
        if (!updateDyingHero(before, s, g)) return;
        cameraFollows = false;
    } else if (before.top < 0) {
        // Fallen out of the room through a gap in its floor: nothing below could ever catch
        // him, so the life is lost as for a death, rather than the game waiting on a fall
        // that never ends.
        loseHero();
        return;
    } else if (_player->isMovingBack()) {
        inRoom = updateDoorWalk(s);
        cameraFollows = false;
        hero = heroBox();
    } else if (_player->isInShotPose()) {
        updateShotPose(before, s);
        hero = heroBox();
    } else {
        if (_heldUp) useUpKey(before);
        if (_heldLeft && !_player->isFlippingSwitch())
            heroDy = moveHeroAlong(true, before, s, g);
        else if (_heldRight && !_player->isFlippingSwitch())
            heroDy = moveHeroAlong(false, before, s, g);
        else if (_player->isJumping() || _player->isAirborne())
            heroDy = moveHeroAirborne(before, s, g);
        else
            heroDy = moveHeroStanding(before, s);
        hero = heroBox();
    }

    if (cameraFollows) {
        releaseGrenade();
        followHero(heroDy, s);
    }

    _player->update(ms, s);
    if (!inRoom) return;

    updateCharacters(hero, ms, s);
    updateReactions(ms);
    updateEnemyProjectiles(hero, ms, s);
    updateTransients(s);
    pickUpItems(hero, s);
    countDownPowerUps(ms);
    updateGrenades(ms, s, g);
    updateEffects(s);
    reachExits(hero);
    updateDoorsAndObstacles();
}

void Map::updateProps(unsigned ms, double seconds)
{
    bool first = true;
    for (Platform* platform : _platforms) {
        // The platforms share the room's animations: one advance a frame keeps them at speed.
        if (first) platform->updateAnimation(ms);
        first = false;
        platform->update(seconds);
    }
    for (Hammer* hammer : _hammers) hammer->update(ms, seconds);
    for (Hazard* hazard : _hazards) hazard->update(ms, seconds);
}

void Map::updateObstacles(double seconds, double gravityStep)
{
    for (Obstacle* obstacle : _obstacles) {
        obstacle->setPushed(false);
        Barrier* floor = obstacle->getFloor();
        Barrier* wall = obstacle->getWall();
        // An obstacle without a floor has nothing to stand or be pushed on.
        if (!floor) continue;
        double dx = floor->getLastMoveX();
        const double vy = obstacle->getVerticalSpeed();
        if (vy <= 0) {
            double dy = vy * seconds;
            const double foot = obstacle->getBottom() + kObstacleFoot;
            const double ox = obstacle->getX();
            bool supported = false;
            for (Barrier* other : _floors) {
                if (other == floor) continue;
                if (!(other->getY2() <= foot && foot <= other->getY1() && other->getX1() <= ox &&
                      ox <= other->getX2()))
                    continue;
                const double surface = other->surfaceAt(ox);
                if (foot + other->getSlope() * dx > surface + 1) continue;
                if (dy < 0) {
                    obstacle->playCrashSound();
                    if (Character* hit = characterUnder(_characters, obstacle)) hit->bonk();
                }
                dy = surface - foot;
                supported = true;
                break;
            }
            if (supported) {
                dx = 0;
                obstacle->setVerticalSpeed(0);
            } else {
                if (dy == 0) {
                    // Pushed off a ledge: it leaves with the push.
                    obstacle->playFallSound();
                    obstacle->addVerticalSpeed(-gravityStep);
                    dy = obstacle->getVerticalSpeed() * seconds;
                } else {
                    dx = 0;
                    if (obstacle->getVerticalSpeed() > -GameConstants::maxFallSpeed) {
                        obstacle->addVerticalSpeed(-gravityStep);
                        dy = obstacle->getVerticalSpeed() * seconds;
                    }
                }
                if (dy < 0) {
                    if (Character* hit = characterUnder(_characters, obstacle)) {
                        // It bounces off the head and starts its fall again.
                        obstacle->stopFallSound();
                        hit->bonk();
                        obstacle->setVerticalSpeed(0);
                        obstacle->addVerticalSpeed(-gravityStep);
                        dy = obstacle->getVerticalSpeed() * seconds;
                    }
                }
            }
            obstacle->move(dx, dy, 0);
            floor->move(dx, dy);
            if (wall) wall->move(dx, dy);
            if (dy == 0) {
                truncateEdges(floor);
                if (wall) truncateEdges(wall);
            }
        }
        // The push has been spent; only a new push records a move.
        floor->move(0, 0);
    }
}

bool Map::updateDyingHero(const HeroBox& hero, double seconds, double gravityStep)
{
    const double dy = _player->getVerticalSpeed() * seconds;
    if (_player->getVerticalSpeed() > -GameConstants::maxFallSpeed)
        _player->addVerticalSpeed(-gravityStep);
    GphCamera* cam = camera();
    if (cam && cam->getPosition()->getY() - kFallenOutOfView > hero.top) {
        loseHero();
        return false;
    }
    // He falls through everything.
    _player->move(0, dy, 0);
    return true;
}

void Map::loseHero()
{
    if (GphCamera* cam = camera()) {
        _savedCameraX = cam->getPosition()->getX();
        _savedCameraY = cam->getPosition()->getY();
    }
    _player->decLives();
    if (_level) _level->playerDied();
}

bool Map::updateDoorWalk(double seconds)
{
    _player->move(0, GameConstants::doorWalkSpeed * seconds, 0);
    if (_doorWalkStartY + kDoorWalkRise > _player->getY()) return true;

    _player->stop();
    GphCamera* cam = camera();
    if (cam) {
        _savedCameraX = cam->getPosition()->getX();
        _savedCameraY = cam->getPosition()->getY();
    }
    Door* door = _doorWalkDoor;
    _doorWalkStartY = 0;
    _doorWalkDoor = nullptr;
    if (_level)
        _level->gotoMap(door->getTargetMapId(), door->getTargetX(), door->getTargetY(), _xrayTime,
                        _shoesTime, _armorTime, _phoneTime, _launcherTime);
    return false;
}

void Map::useUpKey(const HeroBox& hero)
{
    const double chest = hero.y + hero.halfLength;
    for (Switch* lever : _switches) {
        if (lever->getLeft() <= hero.x && hero.x <= lever->getRight() &&
            lever->getBottom() <= chest && chest <= lever->getTop()) {
            _player->flipSwitch();
            lever->toggle();
            _heldUp = false;
            return;
        }
    }
    for (Door* door : _doors) {
        if (!door->isUsable()) continue;
        if (!(door->getLeft() <= hero.x && hero.x <= door->getRight() &&
              door->getTop() >= hero.bottom && door->getBottom() <= hero.top))
            continue;
        if (door->isLocked()) {
            _player->flipSwitch();
            _heldUp = false;
            playSound(_lockedSound);
            continue;
        }
        bool blocked = false;
        for (const Obstacle* obstacle : _obstacles) {
            if (door->getRight() > obstacle->getLeft() && door->getLeft() < obstacle->getRight() &&
                door->getBottom() < obstacle->getTop() && door->getTop() > obstacle->getBottom()) {
                blocked = true;
                break;
            }
        }
        // A crate in the doorway: up stays held and the door is tried again next frame.
        if (blocked) continue;
        _player->beginMoveBack();
        _player->setX(door->getX());
        _doorWalkStartY = _player->getY();
        _doorWalkDoor = door;
    }
}

void Map::reachExits(const HeroBox& hero)
{
    for (const Exit* exit : _exits) {
        if (_player->isDying()) return;
        if (exit->getX1() <= hero.x && hero.x <= exit->getX2() && hero.bottom <= exit->getY1() &&
            hero.top >= exit->getY2()) {
            _player->clearInput();
            clearInput();
            _player->loseEquipment();
            if (_level) _level->stopMusic();
            _exitCode = exit->getCode();
            _exitTimer = 1;
            playSound(_exitCode == 1 ? _victorySound : _victory2Sound);
        }
    }
}

void Map::updateDoorsAndObstacles()
{
    for (Door* door : _doors) door->updateGraphic();
    for (Obstacle* obstacle : _obstacles) obstacle->updatePushSound();
}
