#ifndef KOVO_BASE_GPH_GPHPARTICLESYSTEM_H
#define KOVO_BASE_GPH_GPHPARTICLESYSTEM_H

#include <istream>
#include <list>
#include <ostream>

class GphObject;

// Particles in the order they were appended.
typedef std::list<GphObject*> GphParticleList;

// The base of the visual effects: a list of drawable particles that is drawn, culled,
// moved and written as one. The system owns its particles; subclasses fill the list,
// move the particles in their `update` and delete and erase those they retire.
class GphParticleSystem {
public:
    GphParticleSystem();
    GphParticleSystem(const GphParticleSystem& other);
    // Holds copies of the source's particles made by their copy factory (particles of
    // classes derived from a listed drawable come back as that drawable).
    GphParticleSystem& operator=(const GphParticleSystem& other);

    virtual ~GphParticleSystem();
    // True when at least one particle is visible.
    virtual bool isVisible();
    // Draws every particle in order; the first nonzero result ends the walk.
    virtual int draw();
    // The "<PARTICLE_SYSTEM>" block of point particles; the caller has taken the opening
    // tag. Read particles follow those already held.
    virtual int read(std::istream& in);
    virtual int write(std::ostream& out);
    // Advances the effect by the elapsed seconds.
    virtual void update(double seconds) = 0;

    // An effect whose particles have all gone is over.
    bool isFinished() const { return _particles.empty(); }
    // Deletes every particle.
    void clear();
    int getCount() const { return static_cast<int>(_particles.size()); }
    // Appends the particle; the system owns it from then on.
    void add(GphObject* particle);
    // Hands the particle back to the caller without deleting it.
    void remove(GphObject* particle);
    bool contains(const GphObject* particle) const;
    // Deletes the held particles and takes over those of the given list, which is left
    // empty so that every particle keeps exactly one owner.
    void setParticles(GphParticleList& particles);
    GphParticleList& getParticles() { return _particles; }
    void move(double dx, double dy, double dz);

protected:
    GphParticleList _particles;
};

#endif
