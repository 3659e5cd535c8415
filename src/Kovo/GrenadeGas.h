#ifndef KOVO_KOVO_GRENADEGAS_H
#define KOVO_KOVO_GRENADEGAS_H

#include "Base/Gph/GphParticleSystem.h"
#include "Base/Shp/ShpCoord.h"

class Map;
class SndSoundEffect;
class Sprite;

// The cloud of a burst grenade: 40 puffs that drift apart inside the room's walls and fade in
// about 2.3 seconds; "gas.wav" plays on the first update. The room stuns characters around the
// cloud's centre, 30 above the burst point. The cloud is finished when no puff is left.
class GrenadeGas : public GphParticleSystem {
public:
    GrenadeGas(Map* map, Sprite* at);
    ~GrenadeGas() override;

    void update(double seconds) override;
    const ShpCoord& getCentre() const { return _centre; }
    bool isSoundPlayed() const { return _sound_played; }

private:
    GrenadeGas(const GrenadeGas&) = delete;
    GrenadeGas& operator=(const GrenadeGas&) = delete;

    SndSoundEffect* _sound;
    ShpCoord _centre;
    bool _sound_played;
};

#endif
