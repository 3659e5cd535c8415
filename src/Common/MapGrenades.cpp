// The hero's grenades, their gas, and the smoke and sparks of the frame step.

#include "Common/Map.h"

#include <algorithm>

#include "Base/Gph/GphParticleSystem.h"
#include "Common/Barrier.h"
#include "Common/GameConstants.h"
#include "Common/MapInternal.h"
#include "Kovo/Character.h"
#include "Kovo/Grenade.h"
#include "Kovo/GrenadeGas.h"
#include "Kovo/Player.h"
#include "Kovo/Snow.h"

using namespace MapInternal;

namespace {

// A launcher grenade leaves this far above his feet; grenades are this big.
const double kLauncherHeight = 50.0;
const double kGrenadeSize = 40.0;

// A grenade whose top is this far below the room's floor line has fallen out of it.
const double kGrenadeLostDepth = -600.0;

// A grenade bursts on a surface it reaches within this far below its bottom.
const double kGrenadeLandReach = 40.0;

// A thrown grenade bounces off a wall with three quarters of its speed: -dx * 750 / ms.
const double kBounceFactor = 750.0;

// A gas cloud reaches this far above and below its centre, and this much wider for the
// actors it catches from beyond their sides (rats).
const double kGasHeight = 50.0;
const double kWideGasReach = 10.0;

// A cockpit beside an actor facing right, from its x across and from its bottom up.
const double kCockpitLeft = -10.0;
const double kCockpitRight = 70.0;
const double kCockpitLow = 60.0;
const double kCockpitHigh = 145.0;

}  // namespace

void Map::releaseGrenade()
{
    if (!_player->takeProjectileReleased()) return;
    Grenade* grenade = make<Grenade>("grenade.pcx", "grenade.pcx", "grenade.wav");
    const bool launcher = _player->hasLauncher();
    const double y = launcher ? _player->getBottom() + kLauncherHeight : _player->getTop();
    grenade->setPosition(_player->getX(), y, GameConstants::grenadeDepth);
    grenade->setSize(kGrenadeSize, kGrenadeSize);
    grenade->setVelocityY(launcher ? 0 : _player->getThrowVelocityY());
    grenade->setVelocityX(_player->getThrowVelocityX());
    grenade->setFalls(!launcher);
    _grenades.push_back(grenade);
}

void Map::updateGrenades(unsigned ms, double seconds, double gravityStep)
{
    for (auto it = _grenades.begin(); it != _grenades.end();) {
        Grenade* g = *it;
        double dx = g->getVelocityX() * seconds;
        double dy = g->getVelocityY() * seconds;
        bool atSide = false;
        if (g->getLeft() + dx < 0) {
            dx = -g->getLeft();
            g->setVelocityX(0);
            atSide = true;
        } else if (g->getRight() + dx > _width) {
            dx = _width - g->getRight();
            g->setVelocityX(0);
            atSide = true;
        }
        if (dy > 0) {
            for (const Barrier* ceiling : _ceilings) {
                if (g->getTop() <= ceiling->getY2() && ceiling->getY2() <= g->getTop() + dy &&
                    ceiling->getX1() <= g->getX() + dx && g->getX() + dx <= ceiling->getX2()) {
                    g->setVelocityY(gravityStep);
                    dy = ceiling->getY2() - g->getTop();
                }
            }
        }
        bool burst = false;
        if (dy <= 0) {
            const double px = g->getX() + dx;
            const double feet = g->getBottom() + dy;
            for (const Barrier* floor : _floors) {
                if (!(floor->getY2() <= feet && feet <= floor->getY1() && floor->getX1() <= px &&
                      px <= floor->getX2()))
                    continue;
                const double surface = floor->surfaceAt(px);
                if (surface - kGrenadeLandReach <= feet && feet <= surface) {
                    dy = surface - g->getBottom();
                    burst = true;
                    break;
                }
            }
        }
        if (burst) {
            g->move(dx, dy, 0);
            releaseGas(g);
            delete g;
            it = _grenades.erase(it);
            continue;
        }

        // A launcher grenade bursts where it meets a wall; one that reached a side of the
        // room, which stops it dead, bursts there as well.
        bool wallBurst = !g->falls() && atSide;
        if (!wallBurst && dx != 0) {
            const double px = g->getX() + dx;
            for (const Barrier* wall : _walls) {
                if (!(wall->getX1() <= px && px <= wall->getX2() &&
                      g->getBottom() < wall->getY1() && g->getTop() > wall->getY2()))
                    continue;
                if (g->falls()) {
                    // A thrown grenade comes back at three quarters of its speed.
                    g->setVelocityX(-dx * kBounceFactor / ms);
                    dx = (dx > 0 ? wall->getX1() : wall->getX2()) - g->getX();
                } else {
                    wallBurst = true;
                }
                break;
            }
        }
        if (wallBurst) {
            g->move(dx, dy, 0);
            releaseGas(g);
            delete g;
            _grenades.erase(it);
            // The grenades after it wait for the next frame.
            return;
        }

        if (g->falls() && g->getVelocityY() > -GameConstants::maxFallSpeed)
            g->addVelocityY(-gravityStep);
        g->move(dx, dy, 0);

        bool gone = false;
        for (Character* c : _characters) {
            const int state = c->getState();
            const bool out = state >= CharacterStateStunnedLeft && state <= CharacterStateAsleepRight;
            if (!c->isGasImmune() && !out && c->getCollisionLeft() <= g->getX() &&
                g->getX() <= c->getCollisionRight() && c->getCollisionTop() > g->getBottom() &&
                c->getBottom() < g->getTop()) {
                releaseGas(g);
                gone = true;
                c->addHitPoints(-1);
                if (c->getHitPoints() <= 0) stunCharacter(c);
                break;
            }
            if (c->hasTrait(Character::TraitCockpit) && !out && !c->isFacingLeft() &&
                c->getX() + kCockpitLeft < g->getX() && g->getX() < c->getX() + kCockpitRight &&
                c->getBottom() + kCockpitLow < g->getY() &&
                g->getY() < c->getBottom() + kCockpitHigh) {
                // A shot into the cockpit: no gas, the pilot is out.
                gone = true;
                c->stun();
                break;
            }
        }
        // A grenade thrown into a pit would fall for ever.
        if (!gone && g->getTop() < kGrenadeLostDepth) gone = true;
        if (gone) {
            delete g;
            it = _grenades.erase(it);
        } else {
            ++it;
        }
    }
}

void Map::releaseGas(Grenade* grenade)
{
    GrenadeGas* gas = make<GrenadeGas>(this, grenade);
    _gasClouds.push_back(gas);
    appendEffect(gas);
}

void Map::stunInGas(const GrenadeGas* gas)
{
    const double cx = gas->getCentre().getX();
    const double cy = gas->getCentre().getY();
    for (Character* c : _characters) {
        if (c->isGasImmune() || !isAwake(c)) continue;
        const bool wide = c->hasTrait(Character::TraitWideGasCatch);
        const double reach = wide ? kWideGasReach : 0;
        if (!wide && c->ignoresGasCloud()) continue;
        if (c->getLeft() - reach < cx && cx < c->getRight() + reach &&
            c->getTop() > cy - kGasHeight && c->getBottom() < cy + kGasHeight)
            stunCharacter(c);
    }
}

void Map::updateEffects(double seconds)
{
    if (_frontSnow) _frontSnow->update(seconds);
    if (_intermediateSnow) _intermediateSnow->update(seconds);
    if (_backgroundSnow) _backgroundSnow->update(seconds);

    for (auto it = _effects.begin(); it != _effects.end();) {
        GphParticleSystem* effect = *it;
        auto cloud = std::find(_gasClouds.begin(), _gasClouds.end(), effect);
        if (effect->isFinished()) {
            if (cloud != _gasClouds.end()) _gasClouds.erase(cloud);
            delete effect;
            it = _effects.erase(it);
            continue;
        }
        effect->update(seconds);
        if (cloud != _gasClouds.end()) stunInGas(*cloud);
        ++it;
    }
}
