#ifndef KOVO_KOVO_PARTICLEEFFECTS_H
#define KOVO_KOVO_PARTICLEEFFECTS_H

#include "Base/Gph/GphParticleSystem.h"
#include "Base/Shp/ShpCoord.h"

class SndSoundEffect;

// What the game's bursts of particles (gas clouds, explosions, sparks) share.
class ParticleEffects {
public:
    // One puff of a cloud bursting at a centre.
    struct Puff {
        ShpCoord start;
        double side;
        double vx;
        double vy;
    };

    // A puff drifting to either side at up to 105 units per second and rising at up to 210
    // (both times the emitters' scale), 20 to 44 units square, starting 0.15 of its velocity
    // away from the centre. It draws four random numbers: across, up, size, then direction.
    static Puff drawPuff(const ShpCoord& centre);

    // Plays the sound at the point on the first call after which `played` is still false;
    // a missing sound plays nothing and stays unplayed.
    static void playOnce(SndSoundEffect* sound, bool& played, const ShpCoord& at);

    // Steps every particle of class Particle by the elapsed seconds, then deletes and erases
    // each one for which `retire` (called with the stepped particle) says so. Particles of
    // other classes are left as they are.
    template <class Particle, class Retire>
    static void updateParticles(GphParticleList& particles, double seconds, Retire retire)
    {
        for (auto it = particles.begin(); it != particles.end();) {
            Particle* particle = dynamic_cast<Particle*>(*it);
            if (!particle) {
                ++it;
                continue;
            }
            particle->update(seconds);
            if (retire(particle)) {
                delete particle;
                it = particles.erase(it);
            } else {
                ++it;
            }
        }
    }
};

#endif
