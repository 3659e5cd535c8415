#ifndef KOVO_KOVO_SPARKPARTICLE_H
#define KOVO_KOVO_SPARKPARTICLE_H

#include "Base/Gph/GphRect.h"

class ShpCoord;

// One spark: a small untextured square drawn in its colour (orange-yellow as made) that
// flies at its own speed and fades from alpha 1 at 1.8 per second unless told otherwise.
class SparkParticle : public GphRect {
public:
    SparkParticle(const ShpCoord& at, double length, double width, double vx, double vy);
    ~SparkParticle() override;

    void update(double seconds);

    // Alpha change per second (negative fades).
    void setAlphaRate(double rate) { _alpha_rate = rate; }
    double getAlphaRate() const { return _alpha_rate; }
    double getVelocityX() const { return _vx; }
    double getVelocityY() const { return _vy; }

private:
    double _alpha_rate;
    double _vx;
    double _vy;
};

#endif
