#include "Kovo/GrenadeGas.h"

#include <cstdlib>

#include "Base/Snd/SndSoundEffect.h"
#include "Common/GameConstants.h"
#include "Common/Sprite.h"
#include "Kovo/GrenadeGasParticle.h"

namespace {

constexpr int kPuffs = 40;
// A puff starts at the centre plus this share of its velocity.
constexpr double kLead = 0.15;
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
        double vx = (std::rand() % 20) * GameConstants::slowSpeed / 20 * GameConstants::emitScale;
        const double vy =
            (std::rand() % 20) * GameConstants::walkSpeed / 20 * GameConstants::emitScale;
        const double side = std::rand() % 25 + 20;
        if (std::rand() % 2 == 0) vx = -vx;
        const ShpCoord start(_centre.getX() + kLead * vx, _centre.getY() + kLead * vy,
                             _centre.getZ());
        add(new GrenadeGasParticle(map, start, side, side, vx, vy));
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
    if (_sound && !_sound_played) {
        SndSoundEffect::playAt(_sound, _centre);
        _sound_played = true;
    }
    for (auto it = _particles.begin(); it != _particles.end();) {
        GrenadeGasParticle* puff = dynamic_cast<GrenadeGasParticle*>(*it);
        if (!puff) {
            ++it;
            continue;
        }
        puff->update(seconds);
        if (puff->getAlpha() < kPuffEnd) {
            delete puff;
            it = _particles.erase(it);
        } else {
            ++it;
        }
    }
}
