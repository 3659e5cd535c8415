#ifndef KOVO_KOVO_SPARKS_H
#define KOVO_KOVO_SPARKS_H

#include "Base/Gph/GphParticleSystem.h"
#include "Base/Shp/ShpCoord.h"

class Projectile;
class SndSoundEffect;

// A silent burst of sparks: 40 orange sparks flying back from where a projectile struck, or
// 80 larger yellow ones that last three times as long at a point. A spark is dropped once its
// alpha is below 0.01; the burst is finished when none is left.
class Sparks : public GphParticleSystem {
public:
    explicit Sparks(Projectile* projectile);
    Sparks(double x, double y, double z);
    ~Sparks() override;

    void update(double seconds) override;
    const ShpCoord& getCentre() const { return _centre; }

private:
    Sparks(const Sparks&) = delete;
    Sparks& operator=(const Sparks&) = delete;

    SndSoundEffect* _sound;
    ShpCoord _centre;
    bool _sound_played;
};

#endif
