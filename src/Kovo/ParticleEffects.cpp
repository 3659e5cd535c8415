#include "Kovo/ParticleEffects.h"

#include <cstdlib>

#include "Base/Snd/SndSoundEffect.h"
#include "Common/GameConstants.h"

namespace {

// A puff starts at the centre plus this share of its velocity.
constexpr double kLead = 0.15;

}  // namespace

ParticleEffects::Puff ParticleEffects::drawPuff(const ShpCoord& centre)
{
    double vx = (std::rand() % 20) * GameConstants::slowSpeed / 20 * GameConstants::emitScale;
    const double vy = (std::rand() % 20) * GameConstants::walkSpeed / 20 * GameConstants::emitScale;
    const double side = std::rand() % 25 + 20;
    if (std::rand() % 2 == 0) vx = -vx;
    const ShpCoord start(centre.getX() + kLead * vx, centre.getY() + kLead * vy, centre.getZ());
    return Puff{start, side, vx, vy};
}

void ParticleEffects::playOnce(SndSoundEffect* sound, bool& played, const ShpCoord& at)
{
    if (!sound || played) return;
    SndSoundEffect::playAt(sound, at);
    played = true;
}
