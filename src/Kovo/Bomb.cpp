#include "Kovo/Bomb.h"

#include <cmath>

#include "Base/App/Log.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Common/GameConstants.h"
#include "Common/Map.h"
#include "Kovo/ObjectPictures.h"
#include "Kovo/Player.h"

namespace {

constexpr double kSide = 40;
constexpr unsigned kFrameMs = 100;
// Highest and first vertical launch speed and its step.
constexpr double kTopLaunchSpeed = GameConstants::jumpSpeed;
constexpr double kLaunchSpeedStep = GameConstants::slowSpeed;
// Fastest and slowest horizontal launch speed and its step.
constexpr double kFastest = GameConstants::maxFallSpeed;
constexpr double kSlowest = GameConstants::effectRiseRate;
constexpr double kSpeedStep = GameConstants::trackRamp;
// A throw hits when it comes within the hero's box narrowed by this much on each side...
constexpr double kHitInset = 30;
// ... and no more than this above his top.
constexpr double kHitAbove = 10;
// A hero this near is only tried with flat throws; the fallback speed across depends on
// whether he is within the second distance.
constexpr double kNearHero = 200;
constexpr double kMiddleHero = 400;

// One candidate throw replayed step by step: true when it hits the hero.
bool simulateThrow(double gravity, const Player& target, double x, double y, double dt,
                   double vx, double vy, bool toRight)
{
    const double heroStep = target.getVelocityX();
    const double halfWidth = target.getHalfWidth();
    const double bottom = target.getBottom();
    const double top = target.getTop();
    double tx = target.getX();
    double bx = x, by = y, v = vy;
    for (int step = 0; toRight ? tx > bx : tx < bx; ++step) {
        if (step >= Bomb::kMaxSimulatedSteps) return false;
        tx += heroStep;
        bx += dt * vx;
        by += v * dt;
        if (tx - halfWidth + kHitInset < bx && bx < tx + halfWidth - kHitInset &&
            bottom <= by && by - kHitAbove <= top) {
            return true;
        }
        if (by < 0) return false;
        if (v > -GameConstants::maxFallSpeed) v -= gravity * dt;
    }
    return false;
}

}  // namespace

Bomb::Bomb(Map* map, Player* target, double x, double y, unsigned stepMs)
    : Projectile(x, y, kSide, kSide, 0, 0, 0, "bomb1.pcx"),
      _map(map)
{
    GphAnimatedTexture* frames = getPicture()->getAnimatedTexture();
    frames->addFrame(ObjectPictures::loadFrame("bomb2.pcx"));
    frames->addFrame(ObjectPictures::loadFrame("bomb3.pcx"));
    frames->setMillisecondsPerFrame(kFrameMs);

    double vx = 0, vy = 0;
    if (target) findLaunch(map ? map->getGravity() : 0, *target, x, y, stepMs, vx, vy);
    setVelocityX(vx);
    setVelocityY(vy);
}

Bomb::~Bomb() {}

bool Bomb::findLaunch(double gravity, const Player& target, double x, double y,
                      unsigned stepMs, double& vx, double& vy)
{
    const double dt = stepMs / 1000.0;
    const double heroX = target.getX();
    const bool toRight = heroX > x;
    const bool near = toRight ? heroX <= x + kNearHero : heroX >= x - kNearHero;
    // A step of no time never carries a simulated bomb anywhere: no throw is tried.
    if (dt > 0) {
        for (vy = 0; vy < kTopLaunchSpeed; vy += kLaunchSpeedStep) {
            for (vx = toRight ? kFastest : -kFastest; toRight ? vx > kSlowest : vx < -kSlowest;
                 vx += toRight ? -kSpeedStep : kSpeedStep) {
                if (simulateThrow(gravity, target, x, y, dt, vx, vy, toRight)) return true;
            }
            if (near) break;
        }
    }

    LOG("Could not arrive at a bomb trajectory solution");
    const bool middle = toRight ? heroX <= x + kMiddleHero : heroX >= x - kMiddleHero;
    const double across = middle ? GameConstants::walkSpeed : kFastest;
    vx = toRight ? across : -across;
    // Where the search gave up: flat for a near hero, at the top launch speed otherwise.
    vy = near ? 0 : kTopLaunchSpeed;
    return false;
}

void Bomb::update(unsigned ms, double seconds)
{
    GphAnimatedTexture::advance(getPicture()->getAnimatedTexture(), ms);
    double dx = seconds * getVelocityX();
    double dy = seconds * getVelocityY();
    if (_map && !_map->moveVertically(getX(), getY(), getLeft(), getRight(), getTop(),
                                      getBottom(), true, &dx, &dy)) {
        // It burst on a floor or against a wall: spent at once, where it is.
        startFading();
        setFadeAlpha(0.0f);
        return;
    }
    if (getVelocityY() > -GameConstants::maxFallSpeed) {
        addVelocityY(-(_map ? _map->getGravity() : 0) * seconds);
    }
    move(dx, dy, 0);
}
