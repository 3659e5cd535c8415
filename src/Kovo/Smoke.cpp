#include "Kovo/Smoke.h"

#include <cstdlib>

#include "Base/Snd/SndSoundEffect.h"
#include "Common/GameConstants.h"
#include "Common/Sprite.h"
#include "Kovo/SmokeParticle.h"

namespace {

constexpr int kPuffs = 40;
constexpr double kFlashSide = 50;
// A puff starts at the centre plus this share of its velocity.
constexpr double kLead = 0.15;
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
        double vx = (std::rand() % 20) * GameConstants::slowSpeed / 20 * GameConstants::emitScale;
        const double vy =
            (std::rand() % 20) * GameConstants::walkSpeed / 20 * GameConstants::emitScale;
        const double side = std::rand() % 25 + 20;
        if (std::rand() % 2 == 0) vx = -vx;
        const ShpCoord start(_centre.getX() + kLead * vx, _centre.getY() + kLead * vy,
                             _centre.getZ());
        add(new SmokeParticle(start, side, side, vx, vy, "smoke2.pcx"));
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
    if (_sound && !_sound_played) {
        SndSoundEffect::playAt(_sound, _centre);
        _sound_played = true;
    }
    for (auto it = _particles.begin(); it != _particles.end();) {
        SmokeParticle* puff = dynamic_cast<SmokeParticle*>(*it);
        if (!puff) {
            ++it;
            continue;
        }
        puff->update(seconds);
        const bool isFlash = puff == _flash;
        if (puff->getAlpha() < (isFlash ? kFlashEnd : kPuffEnd)) {
            if (isFlash) _flash = nullptr;
            delete puff;
            it = _particles.erase(it);
        } else {
            ++it;
        }
    }
}
