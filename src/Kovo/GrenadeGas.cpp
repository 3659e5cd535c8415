#include "Kovo/GrenadeGas.h"

#include "Base/Snd/SndSoundEffect.h"
#include "Common/Sprite.h"
#include "Kovo/GrenadeGasParticle.h"
#include "Kovo/ParticleEffects.h"

namespace {

constexpr int kPuffs = 40;
// The centre tested against characters lies this far above the burst point.
constexpr double kCentreRise = 30;
// A puff goes once its alpha falls below this.
constexpr float kPuffEnd = 0.01f;

}  // namespace

GrenadeGas::GrenadeGas(Map* map, Sprite* at)
    : GphParticleSystem(),
      _sound(nullptr),
      _centre(at->getX(), at->getY(), at->getZ()),
      _sound_played(false)
{
    for (int i = 0; i < kPuffs; ++i) {
        const ParticleEffects::Puff puff = ParticleEffects::drawPuff(_centre);
        add(new GrenadeGasParticle(map, puff.start, puff.side, puff.side, puff.vx, puff.vy));
    }
    _centre.translate(0, kCentreRise, 0);
    _sound = SndSoundEffect::create("gas.wav");
}

GrenadeGas::~GrenadeGas()
{
    SndSoundEffect::release(_sound);
}

void GrenadeGas::update(double seconds)
{
    ParticleEffects::playOnce(_sound, _sound_played, _centre);
    ParticleEffects::updateParticles<GrenadeGasParticle>(
        _particles, seconds, [](GrenadeGasParticle* puff) { return puff->getAlpha() < kPuffEnd; });
}
