// The collision queries the room answers for its actors.

#include "Common/Map.h"

#include <cmath>

#include "Common/Barrier.h"
#include "Common/MapInternal.h"
#include "Kovo/Character.h"
#include "Kovo/Obstacle.h"
#include "Kovo/Platform.h"
#include "Kovo/Player.h"

using namespace MapInternal;

namespace {

// The alarm looks this far up and down.
const double kAlarmHeight = 200.0;

// The carry rule of a floor at the test point p for a box whose feet are at `bottom` and
// that moves by dx: the feet may stand up to the slope's step (or |dx|) above the surface.
bool carries(const Barrier* floor, double p, double bottom, double dx)
{
    const double surface = floor->surfaceAt(p);
    const double d = p - floor->getX1();
    const double step = floor->getSlope() * (d <= dx ? d : dx);
    return bottom + step <= surface || bottom - std::fabs(dx) <= surface;
}

// The feet put on the surface and the floor's last move added to dx.
void applyCarry(const Barrier* floor, double p, double bottom, double* dx, double* dy)
{
    *dy = floor->surfaceAt(p) - bottom;
    *dx += floor->getLastMoveX();
}

}  // namespace

bool Map::wallBetweenActorAndHero(const Barrier* wall, double x) const
{
    const double heroX = _player->getX();
    return (wall->getX1() > x && heroX > wall->getX1()) ||
           (wall->getX2() < x && heroX < wall->getX2());
}

const Barrier* Map::carryingFloor(double p, double bottom, double dx) const
{
    for (const Barrier* floor : _floors) {
        if (standsIn(floor, p, bottom) && carries(floor, p, bottom, dx)) return floor;
    }
    return nullptr;
}

bool Map::obstacleStops(double x, double nx, double top, double bottom, bool pushesObstacles,
                        double* dx) const
{
    for (const Obstacle* obstacle : _obstacles) {
        const Barrier* wall = obstacle->getWall();
        if (!wall) continue;
        if (!(wall->getX1() < nx && nx < wall->getX2() && overlapsVertically(wall, top, bottom)))
            continue;
        const bool behind = *dx >= 0 ? obstacle->getX() <= x : obstacle->getX() >= x;
        if (behind) return false;
        if (pushesObstacles && obstacle->isPushable()) return false;
        *dx = 0;
        return true;
    }
    return false;
}

bool Map::clipAtWall(const Barrier* wall, double x, double* dx)
{
    if (*dx >= 0) {
        if (wall->getX1() - x > 0) {
            *dx = wall->getX1() - x;
            return true;
        }
    } else if (wall->getX2() - x < 0) {
        *dx = wall->getX2() - x;
        return true;
    }
    return false;
}

bool Map::moveHorizontally(double x, double /*y*/, double left, double right, double top,
                           double bottom, bool moving, bool heroWallTest, bool pushesObstacles,
                           double* dx, double* dy)
{
    const double nx = x + *dx;
    const Barrier* floor = carryingFloor(nx, bottom, *dx);
    if (!floor) return false;
    applyCarry(floor, nx, bottom, dx, dy);
    if (*dx == 0) return true;

    bool blocked = false;
    const bool wallBetween = heroWallTest && !moving;
    for (const Barrier* wall : _walls) {
        const bool overlaps = left + *dx < wall->getX2() && wall->getX1() < right + *dx &&
                              overlapsVertically(wall, top, bottom);
        if (overlaps) {
            blocked = clipAtWall(wall, x, dx);
            break;
        }
        if (wallBetween && wallBetweenActorAndHero(wall, x) &&
            overlapsVertically(wall, top, bottom)) {
            blocked = true;
            break;
        }
    }
    if (!blocked) blocked = obstacleStops(x, nx, top, bottom, pushesObstacles, dx);
    return !blocked;
}

bool Map::walkAlongFloor(double x, double /*y*/, double left, double right, double top,
                         double bottom, bool moving, bool heroWallTest, bool pushesObstacles,
                         double* dx, double* dy, int* reason)
{
    const double nx = x + *dx;
    *reason = 0;

    bool groundAhead = false;
    if (*dx != 0) {
        const double edge = *dx > 0 ? right + *dx : left + *dx;
        for (const Barrier* floor : _floors) {
            if (!(bottom <= floor->getY1() + 50 && floor->getY2() <= bottom &&
                  floor->getX1() <= edge && edge <= floor->getX2()))
                continue;
            const double surface = floor->surfaceAt(edge);
            const double d = edge - floor->getX1();
            const double step = floor->getSlope() * (d <= *dx ? d : *dx);
            if (bottom + step <= surface + 50 || bottom - std::fabs(*dx) <= surface + 50) {
                groundAhead = true;
                break;
            }
        }
    }
    if (!groundAhead) {
        *reason = 2;
        if (*dx != 0) {
            for (const Barrier* wall : _walls) {
                if (wall->getX1() < nx && nx < wall->getX2() &&
                    overlapsVertically(wall, top, bottom)) {
                    *dx = *dx > 0 ? wall->getX1() - x : wall->getX2() - x;
                    *reason = 1;
                    break;
                }
            }
        }
        return false;
    }

    const Barrier* floor = carryingFloor(nx, bottom, *dx);
    if (floor) applyCarry(floor, nx, bottom, dx, dy);
    if (*dx == 0) return true;

    bool blocked = false;
    const bool wallBetween = heroWallTest && !moving;
    for (const Barrier* wall : _walls) {
        if (wall->getX1() < nx && nx < wall->getX2() && overlapsVertically(wall, top, bottom)) {
            if (clipAtWall(wall, x, dx)) {
                *reason = 1;
                blocked = true;
            }
            break;
        }
        if (wallBetween && wallBetweenActorAndHero(wall, x) &&
            overlapsVertically(wall, top, bottom)) {
            blocked = true;
            break;
        }
    }
    if (!blocked) blocked = obstacleStops(x, nx, top, bottom, pushesObstacles, dx);
    return !blocked;
}

bool Map::moveVertically(double x, double /*y*/, double left, double right, double top,
                         double bottom, bool stopOnLanding, double* dx, double* dy)
{
    const double nx = x + *dx;
    if (*dy > 0) {
        for (const Barrier* ceiling : _ceilings) {
            if (ceiling->getY2() >= top && ceiling->getY2() <= top + *dy &&
                ceiling->getX1() <= nx && nx <= ceiling->getX2()) {
                *dy = 0;
                break;
            }
        }
    } else if (*dy < 0) {
        const Barrier* floor = carryingFloor(nx, bottom, *dx);
        if (floor) {
            applyCarry(floor, nx, bottom, dx, dy);
            if (floor->getSlope() != 0 || stopOnLanding) return false;
            *dy = 0;
        }
    }
    if (*dx == 0) return true;

    for (const Barrier* wall : _walls) {
        const double edge = *dx > 0 ? wall->getX1() : wall->getX2();
        if (left + *dx < edge && edge < right + *dx && bottom + *dy < wall->getY1() &&
            wall->getY2() < top + *dy)
            return false;
    }
    return true;
}

bool Map::isVerticalPathClear(double x, double /*y*/, double /*left*/, double /*right*/,
                              double /*top*/, double bottom) const
{
    const double heroTop = _player->getTop();
    for (const Barrier* floor : _floors) {
        if (floor->getX1() <= x && x <= floor->getX2() && floor->getY2() <= bottom &&
            floor->getY1() >= heroTop)
            return false;
    }
    return true;
}

bool Map::landOnFloor(double x, double /*y*/, double bottom, double* dx, double* dy) const
{
    if (*dy > 0) return false;
    const double nx = x + *dx;
    for (const Barrier* floor : _floors) {
        if (isPlatformFloorPassedThrough(floor)) continue;
        if (standsIn(floor, nx, bottom) && carries(floor, nx, bottom, *dx)) {
            applyCarry(floor, nx, bottom, dx, dy);
            return true;
        }
    }
    return false;
}

bool Map::isPlatformFloorPassedThrough(const Barrier* floor) const
{
    for (const Platform* platform : _platforms) {
        if (platform->getFloor() == floor) return !platform->isBridge();
    }
    return false;
}

bool Map::isSightClear(double x, double /*y*/, double /*left*/, double /*right*/, double top,
                       double bottom) const
{
    const double heroX = _player->getX();
    const double heroTop = _player->getTop();
    const double heroBottom = _player->getBottom();
    for (const Barrier* wall : _walls) {
        if (wallBetweenActorAndHero(wall, x) && overlapsVertically(wall, top, bottom) &&
            overlapsVertically(wall, heroTop, heroBottom))
            return false;
    }
    for (const Barrier* ceiling : _ceilings) {
        const bool spans = ceiling->getX1() <= x && x <= ceiling->getX2() &&
                           ceiling->getX1() <= heroX && heroX <= ceiling->getX2();
        if (!spans) continue;
        if ((ceiling->getY2() < bottom && heroTop <= ceiling->getY1()) ||
            (ceiling->getY2() < heroBottom && top <= ceiling->getY1()))
            return false;
    }
    return true;
}

void Map::testWallHit(double x, double /*y*/, double /*left*/, double /*right*/, double top,
                      double bottom, double* dx, double* dy) const
{
    const double nx = x + *dx;
    if (*dx != 0) {
        for (const Barrier* wall : _walls) {
            if (wall->getX1() < nx && nx < wall->getX2() && overlapsVertically(wall, top, bottom)) {
                clipAtWall(wall, x, dx);
                break;
            }
        }
    }
    if (*dy > 0) {
        for (const Barrier* ceiling : _ceilings) {
            if (ceiling->getY2() >= top && ceiling->getY2() <= top + *dy &&
                ceiling->getX1() <= nx && nx <= ceiling->getX2()) {
                *dy = 0;
                break;
            }
        }
    }
}

bool Map::findDownedCharacterAhead(double x, double y, double range, bool towardHigherX,
                                   bool* found) const
{
    bool result = false;
    for (const Character* c : _characters) {
        const double cx = c->getX();
        const double cy = c->getY();
        if (cx < x - range || cx > x + range || cy < y - kAlarmHeight || cy > y + kAlarmHeight)
            continue;
        if (c->isIncapacitated()) {
            if ((cx < x && !towardHigherX) || (cx > x && towardHigherX)) {
                *found = true;
                return true;
            }
            continue;
        }
        for (const Sprite* bubble : _reactions) {
            if (bubble->getX() != cx || x == bubble->getX()) continue;
            result = true;
            if ((c->isFacingLeft() && !towardHigherX) || (!c->isFacingLeft() && towardHigherX))
                *found = true;
            break;
        }
    }
    return result;
}
