#include "Base/Gph/GphParticleSystem.h"

#include <algorithm>
#include <new>

#include "Base/App/Log.h"
#include "Base/App/Platform.h"
#include "Base/App/TaggedText.h"
#include "Base/Gph/GphObject.h"
#include "Base/Gph/GphPoint.h"

GphParticleSystem::GphParticleSystem() {}

GphParticleSystem::GphParticleSystem(const GphParticleSystem& other)
{
    *this = other;
}

GphParticleSystem& GphParticleSystem::operator=(const GphParticleSystem& other)
{
    if (this == &other) return *this;
    clear();
    for (const GphObject* particle : other._particles) {
        // A particle whose class the factory cannot copy has no copy to hold.
        GphObject* copy = particle->clone();
        if (copy != nullptr) _particles.push_back(copy);
    }
    return *this;
}

GphParticleSystem::~GphParticleSystem()
{
    clear();
}

bool GphParticleSystem::isVisible()
{
    for (GphObject* particle : _particles) {
        if (particle->isVisible()) return true;
    }
    return false;
}

int GphParticleSystem::draw()
{
    for (GphObject* particle : _particles) {
        const int result = particle->draw();
        if (result != 0) return result;
    }
    return 0;
}

int GphParticleSystem::read(std::istream& in)
{
    return TaggedText::readBlock(in, "</PARTICLE_SYSTEM>", [&](const std::string& tag) {
        if (tag != "<POINT>") return TaggedText::kUnknownTag;
        GphPoint* point = new (std::nothrow) GphPoint();
        if (point == nullptr) {
            KOVO_NEW_FAILED();
        }
        const int result = point->read(in);
        // Kept even when its block failed: it holds whatever was read.
        _particles.push_back(point);
        return result == 0 ? 0 : -1;
    });
}

int GphParticleSystem::write(std::ostream& out)
{
    out << "<PARTICLE_SYSTEM>" << std::endl;
    for (GphObject* particle : _particles) {
        const int result = particle->write(out);
        if (result != 0) return result;
    }
    out << "</PARTICLE_SYSTEM>" << std::endl;
    return 0;
}

void GphParticleSystem::clear()
{
    for (GphObject* particle : _particles) delete particle;
    _particles.clear();
}

void GphParticleSystem::add(GphObject* particle)
{
    _particles.push_back(particle);
}

void GphParticleSystem::remove(GphObject* particle)
{
    const auto found = std::find(_particles.begin(), _particles.end(), particle);
    if (found != _particles.end()) _particles.erase(found);
}

bool GphParticleSystem::contains(const GphObject* particle) const
{
    return std::find(_particles.begin(), _particles.end(), particle) != _particles.end();
}

void GphParticleSystem::setParticles(GphParticleList& particles)
{
    if (&particles == &_particles) return;
    clear();
    _particles.swap(particles);
}

void GphParticleSystem::move(double dx, double dy, double dz)
{
    for (GphObject* particle : _particles) particle->move(dx, dy, dz);
}
