#include "Kovo/Smoke.h"

#include "Base/Snd/SndSoundEffect.h"
#include "Common/Sprite.h"
#include "Kovo/ParticleEffects.h"
#include "Kovo/SmokeParticle.h"

namespace {

constexpr int kPuffs = 40;
constexpr double kFlashSide = 50;
// The cloud's centre lies this far above the burst point.
constexpr double kCentreRise = 30;
// The flash goes once its alpha falls below this; puffs below the second value.
constexpr float kFlashEnd = 0.95f;
constexpr float kPuffEnd = 0.01f;

}  // namespace

Smoke::Smoke(Sprite* at)
    : GphParticleSystem(),
      _sound(nullptr),
      _centre(at->getX(), at->getY(), at->getZ()),
      _sound_played(false),
      _flash(nullptr)
{
    _flash = new SmokeParticle(_centre, kFlashSide, kFlashSide, 0, 0, "explosion.pcx");
    _flash->setAlpha(1.0f);
    for (int i = 0; i < kPuffs; ++i) {
        const ParticleEffects::Puff puff = ParticleEffects::drawPuff(_centre);
        add(new SmokeParticle(puff.start, puff.side, puff.side, puff.vx, puff.vy, "smoke2.pcx"));
    }
    // The flash is drawn over the puffs.
    add(_flash);
    _centre.translate(0, kCentreRise, 0);
    _sound = SndSoundEffect::create("explosion.wav");
}

Smoke::~Smoke()
{
    SndSoundEffect::release(_sound);
}

void Smoke::update(double seconds)
{
    ParticleEffects::playOnce(_sound, _sound_played, _centre);
    auto faded = [this](SmokeParticle* puff) {
        const bool isFlash = puff == _flash;
        const bool gone = puff->getAlpha() < (isFlash ? kFlashEnd : kPuffEnd);
        if (gone && isFlash) _flash = nullptr;
        return gone;
    };
    ParticleEffects::updateParticles<SmokeParticle>(_particles, seconds, faded);
}
