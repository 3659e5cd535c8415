#ifndef KOVO_KOVO_SMOKEPARTICLE_H
#define KOVO_KOVO_SMOKEPARTICLE_H

#include <string>

#include "Base/Gph/GphRect.h"

class ShpCoord;

// One puff of an explosion (or its flash): a textured square that drifts at its own speed
// and fades from alpha 0.5 at 0.21 per second. It owns its picture's animation.
class SmokeParticle : public GphRect {
public:
    SmokeParticle(const ShpCoord& at, double length, double width, double vx, double vy,
                  const std::string& picture);
    ~SmokeParticle() override;

    void update(double seconds);

    double getVelocityX() const { return _vx; }
    double getVelocityY() const { return _vy; }
    double getAlphaRate() const { return _alpha_rate; }

private:
    SmokeParticle(const SmokeParticle&) = delete;
    SmokeParticle& operator=(const SmokeParticle&) = delete;

    double _alpha_rate;
    double _vx;
    double _vy;
};

#endif
