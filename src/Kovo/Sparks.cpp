#include "Kovo/Sparks.h"

#include <cstdlib>

#include "Base/Snd/SndSoundEffect.h"
#include "Common/GameConstants.h"
#include "Kovo/ParticleEffects.h"
#include "Kovo/Projectile.h"
#include "Kovo/SparkParticle.h"

namespace {

constexpr int kProjectileSparks = 40;
constexpr int kPointSparks = 80;
// Where a spark starts: the centre plus this share of its velocity.
constexpr double kProjectileLead = 0.15;
constexpr double kPointLead = 0.2;

}  // namespace

Sparks::Sparks(Projectile* projectile)
    : GphParticleSystem(),
      _sound(nullptr),
      _centre(projectile->getX(), projectile->getY(), projectile->getZ()),
      _sound_played(false)
{
    // They fly back against the projectile's motion; one that did not move across sends them
    // to the right.
    const bool back = projectile->getVelocityX() > 0;
    for (int i = 0; i < kProjectileSparks; ++i) {
        double vx = (std::rand() % 20) * GameConstants::slowSpeed / 20 * GameConstants::emitScale;
        double vy = (std::rand() % 20) * GameConstants::walkSpeed / 20 * GameConstants::emitScale;
        const double side = std::rand() % 2 + 1;
        if (back) vx = -vx;
        if (std::rand() % 2 == 0) vy = -vy;
        const ShpCoord at(_centre.getX() + kProjectileLead * vx,
                          _centre.getY() + kProjectileLead * vy, _centre.getZ());
        add(new SparkParticle(at, side, side, vx, vy));
    }
}

Sparks::Sparks(double x, double y, double z)
    : GphParticleSystem(),
      _sound(nullptr),
      _centre(x, y, z),
      _sound_played(false)
{
    for (int i = 0; i < kPointSparks; ++i) {
        double vx = (std::rand() % 20) * GameConstants::slowSpeed / 10 * GameConstants::emitScale;
        double vy = (std::rand() % 20) * GameConstants::walkSpeed / 10 * GameConstants::emitScale;
        const double side = std::rand() % 2 + 2;
        if (std::rand() % 2 == 0) vx = -vx;
        const ShpCoord at(_centre.getX() + kPointLead * vx, _centre.getY() + kPointLead * vy,
                          _centre.getZ());
        SparkParticle* spark = new SparkParticle(at, side, side, vx, vy);
        spark->setAlphaRate(-GameConstants::sparkFadeRate / 3);
        spark->setColor(1.0f, 1.0f, 0.0f);
        add(spark);
    }
}

Sparks::~Sparks()
{
    SndSoundEffect::release(_sound);
}

void Sparks::update(double seconds)
{
    ParticleEffects::playOnce(_sound, _sound_played, _centre);
    ParticleEffects::updateParticles<SparkParticle>(
        _particles, seconds, [](SparkParticle* spark) { return spark->getAlpha() < 0.01f; });
}
