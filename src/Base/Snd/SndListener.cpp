#include "Base/Snd/SndListener.h"

#include <AL/al.h>

SndListener::SndListener() {}

SndListener::~SndListener() {}

void SndListener::setPosition(const ShpCoord& position)
{
    _position = position;
    // Positions are game data only: OpenAL hears everything from the origin.
    alListener3f(AL_POSITION, 0.0f, 0.0f, 0.0f);
    alListener3f(AL_VELOCITY, 0.0f, 0.0f, 0.0f);
}

ShpCoord SndListener::getPosition() const
{
    return _position;
}

void SndListener::setOrientation(const ShpCoord& at, const ShpCoord& up)
{
    _at = at;
    _up = up;
    const ALfloat orientation[6] = {
        static_cast<ALfloat>(at.getX()), static_cast<ALfloat>(at.getY()), static_cast<ALfloat>(at.getZ()),
        static_cast<ALfloat>(up.getX()), static_cast<ALfloat>(up.getY()), static_cast<ALfloat>(up.getZ())};
    alListenerfv(AL_ORIENTATION, orientation);
}

void SndListener::getOrientation(ShpCoord& at, ShpCoord& up) const
{
    at = _at;
    up = _up;
}
