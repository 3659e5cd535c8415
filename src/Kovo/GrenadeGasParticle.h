#ifndef KOVO_KOVO_GRENADEGASPARTICLE_H
#define KOVO_KOVO_GRENADEGASPARTICLE_H

#include "Base/Gph/GphRect.h"

class Map;
class ShpCoord;

// One puff of a grenade's gas cloud: a textured square that drifts at its own speed, held back
// by the room's walls and ceilings, and fades from alpha 0.5 at 0.21 per second. It owns its
// picture's animation.
class GrenadeGasParticle : public GphRect {
public:
    GrenadeGasParticle(Map* map, const ShpCoord& at, double length, double width, double vx,
                       double vy);
    ~GrenadeGasParticle() override;

    void update(double seconds);

    double getVelocityX() const { return _vx; }
    double getVelocityY() const { return _vy; }
    double getAlphaRate() const { return _alpha_rate; }

private:
    GrenadeGasParticle(const GrenadeGasParticle&) = delete;
    GrenadeGasParticle& operator=(const GrenadeGasParticle&) = delete;

    Map* _map;
    double _alpha_rate;
    double _vx;
    double _vy;
};

#endif
