// The hero's motion in the frame step: walking, falling and rising, standing, hazards,
// dozers that push him, obstacles he pushes, the launcher's recoil.

#include "Common/Map.h"

#include "Common/Barrier.h"
#include "Common/GameConstants.h"
#include "Common/MapInternal.h"
#include "Kovo/Character.h"
#include "Kovo/Hammer.h"
#include "Kovo/Hazard.h"
#include "Kovo/Obstacle.h"
#include "Kovo/Player.h"

using namespace MapInternal;

namespace {

// Half the width of the hero's body that hazards and pushing dozers reach.
const double kHazardReach = 15.0;
const double kDozerReach = 10.0;

}  // namespace

void Map::updateShotPose(const HeroBox& hero, double seconds)
{
    // The recoil pushes him against his facing; he neither falls nor lands meanwhile.
    const bool facingLeft = _player->isFacingLeft();
    double dx = (facingLeft ? 1 : -1) * GameConstants::projectileSpeed * seconds;
    double nx = hero.x + dx;
    for (const Barrier* wall : _walls) {
        if (wall->getX1() < nx && nx < wall->getX2() && overlapsVertically(wall, hero.top, hero.bottom)) {
            dx = (facingLeft ? wall->getX1() : wall->getX2()) - hero.x;
            nx = hero.x + dx;
            _player->shortenShotPose();
            break;
        }
    }
    applyHazards(hero, nx);
    _player->move(dx, 0, 0);
    _player->setVelocity(dx, 0);
}

void Map::applyHazards(const HeroBox& hero, double nx)
{
    for (const Hazard* hazard : _hazards) {
        if (!(hazard->getRight() > nx - kHazardReach && hazard->getLeft() < nx + kHazardReach &&
              hazard->getTop() > hero.bottom && hazard->getBottom() < hero.top))
            continue;
        bool harmless = false;
        for (const Hammer* hammer : _hammers) {
            if (hammer->getHazard() == hazard && !hammer->isVisible()) {
                harmless = true;
                break;
            }
        }
        if (harmless) continue;
        killHero();
        return;
    }
}

bool Map::heroBlockedAt(const HeroBox& hero, double px) const
{
    for (const Barrier* wall : _walls)
        if (wall->getX1() < px && px < wall->getX2() && overlapsVertically(wall, hero.top, hero.bottom))
            return true;
    for (const Obstacle* obstacle : _obstacles) {
        const Barrier* wall = obstacle->getWall();
        if (wall && wall->getX1() < px && px < wall->getX2() &&
            overlapsVertically(wall, hero.top, hero.bottom))
            return true;
    }
    return false;
}

void Map::pushedByDozers(const HeroBox& hero, double nx, double seconds, bool fromLeft,
                         double& dx)
{
    if (_player->isDying()) return;
    const int pushing = fromLeft ? CharacterStateMoveRight : CharacterStateMoveLeft;
    const int turned = fromLeft ? CharacterStateMoveLeft : CharacterStateMoveRight;
    for (Character* c : _characters) {
        if (!c->hasTrait(Character::TraitPusher) || c->isIncapacitated() || c->isAsleep()) continue;
        if (!(hero.left < c->getX() && c->getX() < hero.right && hero.bottom < c->getTop() &&
              hero.top > c->getBottom()))
            continue;
        const bool onSide = fromLeft ? c->getRight() < nx + kDozerReach
                                     : c->getLeft() > nx - kDozerReach;
        if (!onSide || c->getState() != pushing) continue;
        dx = (fromLeft ? 1 : -1) * c->getPushSpeed() * seconds;
        if (heroBlockedAt(hero, hero.x + dx)) {
            dx = 0;
            c->setState(turned);
        }
    }
}

void Map::pushedByDozersStanding(const HeroBox& hero, double seconds, double& dx)
{
    if (_player->isDying()) return;
    for (Character* c : _characters) {
        if (!c->hasTrait(Character::TraitPusher) || c->isIncapacitated() || c->isAsleep()) continue;
        if (!(hero.left < c->getX() && c->getX() < hero.right && hero.bottom < c->getTop() &&
              hero.top > c->getBottom()))
            continue;
        const double speed = c->getPushSpeed() * seconds;
        double push = 0;
        if (c->getState() == CharacterStateMoveRight) push = speed;
        else if (c->getState() == CharacterStateMoveLeft) push = -speed;
        const bool pushes = (hero.x + kDozerReach > c->getRight() && push > 0) ||
                            (hero.x - kDozerReach < c->getLeft() && push < 0);
        if (!pushes) continue;
        const bool walkingLeft = c->getState() == CharacterStateMoveLeft;
        dx = walkingLeft ? -speed : speed;
        if (heroBlockedAt(hero, hero.x + dx)) {
            dx = 0;
            c->setState(walkingLeft ? CharacterStateMoveRight : CharacterStateMoveLeft);
        }
    }
}

void Map::fallOrRise(const HeroBox& hero, double nx, double vy, double seconds,
                     double gravityStep, double tolerance, double& dy)
{
    if (vy > 0) {
        // Every ceiling crossed is tried: the lowest one wins.
        for (const Barrier* ceiling : _ceilings) {
            if (ceiling->getY2() >= hero.top && ceiling->getY2() <= hero.top + dy &&
                ceiling->getX1() <= nx && nx <= ceiling->getX2()) {
                _player->setVerticalSpeed(gravityStep);
                dy = ceiling->getY2() - hero.top;
            }
        }
    } else {
        for (const Barrier* floor : _floors) {
            const double feet = hero.bottom + dy;
            if (!(floor->getY2() <= feet && feet <= floor->getY1() && floor->getX1() <= nx &&
                  nx <= floor->getX2()))
                continue;
            const double surface = floor->surfaceAt(nx);
            if (feet <= surface + tolerance &&
                surface - hero.bottom <= GameConstants::maxFallSpeed * seconds) {
                _player->land();
                // This frame's gravity below brings the speed to exactly 0.
                _player->setVerticalSpeed(gravityStep);
                dy = surface - hero.bottom;
                break;
            }
        }
    }
    if (_player->getVerticalSpeed() > -GameConstants::maxFallSpeed)
        _player->addVerticalSpeed(-gravityStep);
}

void Map::meetObstacle(bool left, const HeroBox& hero, double nx, double& dx)
{
    for (Obstacle* obstacle : _obstacles) {
        Barrier* wall = obstacle->getWall();
        if (!wall) continue;
        if (!(wall->getX1() < nx && nx < wall->getX2() &&
              overlapsVertically(wall, hero.top, hero.bottom)))
            continue;
        if (!obstacle->isPushable()) {
            dx = (left ? obstacle->getRight() : obstacle->getLeft()) - hero.x;
            return;
        }
        Barrier* floor = obstacle->getFloor();
        const double ox = obstacle->getX() + dx;
        bool blocked = false;
        for (const Barrier* other : _walls) {
            if (other->getX1() < ox && ox < other->getX2() &&
                obstacle->getBottom() + kObstacleFoot < other->getY1() &&
                obstacle->getTop() > other->getY2()) {
                // No room behind the crate: he and the crate trade places.
                const double crateMove =
                    hero.x - (left ? obstacle->getLeft() : obstacle->getRight());
                dx = left ? obstacle->getLeft() - hero.left : obstacle->getRight() - hero.right;
                obstacle->move(crateMove, 0, 0);
                if (floor) floor->move(crateMove, 0);
                wall->move(crateMove, 0);
                blocked = true;
                break;
            }
        }
        for (const Character* c : _characters) {
            if (c->isIncapacitated() || c->isAsleep()) continue;
            if (c->getRight() > ox && c->getLeft() < ox &&
                c->getTop() > obstacle->getBottom() + kObstacleFoot &&
                c->getBottom() < obstacle->getTop()) {
                dx = 0;
                blocked = true;
                break;
            }
        }
        if (!blocked) {
            obstacle->setPushed(true);
            obstacle->move(dx, 0, 0);
            if (floor) floor->move(dx, 0);
            wall->move(dx, 0);
        }
        return;
    }
}

double Map::moveHeroAlong(bool left, const HeroBox& hero, double seconds, double gravityStep)
{
    const double vy = _player->getVerticalSpeed();
    const double sign = left ? -1 : 1;
    double dx = _player->isThrowing() ? 0 : sign * GameConstants::walkSpeed * seconds;
    double dy = vy * seconds;
    // Every later test uses this planned centre, whatever becomes of dx.
    const double nx = hero.x + dx;

    if (left ? hero.x <= hero.halfWidth : hero.x >= _width - hero.halfWidth) dx = 0;

    pushedByDozers(hero, nx, seconds, left, dx);

    if (_player->isJumping() || _player->isAirborne()) {
        fallOrRise(hero, nx, vy, seconds, gravityStep, 0, dy);
    } else if (dy == 0) {
        bool carried = false;
        for (const Barrier* floor : _floors) {
            if (!standsIn(floor, nx, hero.bottom)) continue;
            const double surface = floor->surfaceAt(nx);
            const bool holds = surface + 1 >= hero.bottom + floor->getSlope() * dx ||
                               (floor->getLastMoveY() != 0 &&
                                surface + 1 >= hero.bottom + floor->getLastMoveY());
            if (!holds) continue;
            dy = surface - hero.bottom;
            dx += floor->getLastMoveX();
            carried = true;
            break;
        }
        if (!carried) _player->beginFall();
    }

    if (dx != 0) {
        for (const Barrier* wall : _walls) {
            const bool inside = left ? wall->getX1() < nx && nx < wall->getX2()
                                     : wall->getX1() <= nx && nx < wall->getX2();
            if (inside && overlapsVertically(wall, hero.top, hero.bottom)) {
                dx = (left ? wall->getX2() : wall->getX1()) - hero.x;
                break;
            }
        }
    }

    applyHazards(hero, nx);
    meetObstacle(left, hero, nx, dx);

    _player->move(dx, dy, 0);
    _player->setVelocity(dx, dy);
    return dy;
}

double Map::moveHeroAirborne(const HeroBox& hero, double seconds, double gravityStep)
{
    const double vy = _player->getVerticalSpeed();
    double dy = vy * seconds;
    // Standing still in the air he may stop up to a unit above a surface and still land.
    fallOrRise(hero, hero.x, vy, seconds, gravityStep, 1, dy);
    applyHazards(hero, hero.x);
    _player->move(0, dy, 0);
    _player->setVelocity(0, dy);
    return dy;
}

double Map::moveHeroStanding(const HeroBox& hero, double seconds)
{
    double dx = 0;
    double dy = 0;
    bool carried = false;
    for (const Barrier* floor : _floors) {
        if (!standsIn(floor, hero.x, hero.bottom)) continue;
        const double surface = floor->surfaceAt(hero.x);
        const bool holds = surface + 1 >= hero.bottom ||
                           (floor->getLastMoveY() != 0 &&
                            surface + 1 >= hero.bottom + floor->getLastMoveY());
        if (!holds) continue;
        dy = surface - hero.bottom;
        dx = floor->getLastMoveX();
        const double v = _player->getVelocityX();
        if (floor->isSlippery() && v != 0) {
            // He slides on with his last step, a little less each frame.
            dx += v;
            const double friction = GameConstants::slideFriction * seconds;
            dx += v > 0 ? -friction : friction;
        }
        carried = true;
        break;
    }
    if (!carried) _player->beginFall();

    pushedByDozersStanding(hero, seconds, dx);

    if (dx != 0) {
        for (const Barrier* wall : _walls) {
            if (wall->getX1() <= hero.x + dx && hero.x + dx < wall->getX2() &&
                overlapsVertically(wall, hero.top, hero.bottom)) {
                dx = (dx > 0 ? wall->getX1() : wall->getX2()) - hero.x;
                break;
            }
        }
    }
    for (const Obstacle* obstacle : _obstacles) {
        const Barrier* wall = obstacle->getWall();
        if (wall && wall->getX1() < hero.x && hero.x < wall->getX2() &&
            overlapsVertically(wall, hero.top, hero.bottom)) {
            dx = (dx > 0 ? obstacle->getLeft() : obstacle->getRight()) - hero.x;
            break;
        }
    }

    applyHazards(hero, hero.x);
    _player->move(dx, dy, 0);
    _player->setVelocity(dx, dy);
    return dy;
}
