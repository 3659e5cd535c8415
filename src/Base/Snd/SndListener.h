#ifndef KOVO_BASE_SND_SNDLISTENER_H
#define KOVO_BASE_SND_SNDLISTENER_H

#include "Base/Shp/ShpCoord.h"

// Where the player "hears" from. The position is kept as data for the rest of the game
// (controls sound at the listener, the game screen moves it with the camera); OpenAL's
// own listener stays at the origin so that every sound plays at full gain, unpanned.
class SndListener {
public:
    SndListener();
    virtual ~SndListener();

    // Stores the position; OpenAL's listener is kept at the origin and at rest.
    void setPosition(const ShpCoord& position);
    ShpCoord getPosition() const;

    // Stores both vectors and hands them to OpenAL as the listener orientation.
    void setOrientation(const ShpCoord& at, const ShpCoord& up);
    void getOrientation(ShpCoord& at, ShpCoord& up) const;

private:
    ShpCoord _position;
    ShpCoord _at;
    ShpCoord _up;
};

#endif
