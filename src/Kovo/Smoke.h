#ifndef KOVO_KOVO_SMOKE_H
#define KOVO_KOVO_SMOKE_H

#include "Base/Gph/GphParticleSystem.h"
#include "Base/Shp/ShpCoord.h"

class SmokeParticle;
class SndSoundEffect;
class Sprite;

// An explosion where a bomb ends: a 50 x 50 flash that is gone within a quarter of a second
// and 40 puffs of smoke that drift apart and fade in about 2.3 seconds. "explosion.wav" plays
// on the first update. The explosion is finished when no particle is left.
class Smoke : public GphParticleSystem {
public:
    explicit Smoke(Sprite* at);
    ~Smoke() override;

    void update(double seconds) override;
    // The burst point raised by 30.
    const ShpCoord& getCentre() const { return _centre; }
    // The flash while it shows, then null.
    SmokeParticle* getFlash() const { return _flash; }
    bool isSoundPlayed() const { return _sound_played; }

private:
    Smoke(const Smoke&) = delete;
    Smoke& operator=(const Smoke&) = delete;

    SndSoundEffect* _sound;
    ShpCoord _centre;
    bool _sound_played;
    SmokeParticle* _flash;
};

#endif
