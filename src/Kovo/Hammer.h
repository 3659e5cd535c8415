#ifndef KOVO_KOVO_HAMMER_H
#define KOVO_KOVO_HAMMER_H

#include <istream>
#include <ostream>

#include "Common/Sprite.h"

class GphRect;
class Hazard;
class Map;
class SndSoundEffect;

// A hammer drops under the room's gravity to its bottom line, bounces once at 210 units per
// second, drops again and then climbs back to its top line at 105 units per second, over and
// over, carrying a Hazard that moves with it and does the harm. Its visible flag is its on
// switch: a hammer switched off finishes the phase it is in and rests at its top line; a
// visible one resting there drops at once. The first impact plays "crash.wav" when the
// hammer is on screen.
//
// The hazard belongs to the room's hazard list once the hammer is read; the picture's
// animation belongs to the room's image table.
class Hammer : public Sprite {
public:
    explicit Hammer(Map* owner);
    // Releases the sound and deletes the picture; the hazard is the room's.
    ~Hammer() override;
    Hammer(const Hammer&) = delete;
    Hammer& operator=(const Hammer&) = delete;

    // The level-file body behind "<HAMMER>", up to and including "</HAMMER>". 0, or -1 after
    // logging why: an unknown tag, an animation the room lacks, a hazard that fails to read,
    // a block without a hazard, a value that does not parse or a stream that ends inside the
    // block. A hammer that failed to read holds no hazard.
    int read(std::istream& in);
    // One step of the drop, bounce and climb; the hazard moves with the hammer.
    void update(unsigned ms, double seconds);

    void setHazard(Hazard* hazard) { _hazard = hazard; }
    Hazard* getHazard() const { return _hazard; }

    double getTop() const { return _top; }
    double getBottom() const { return _bottom; }
    // Units per second, upward positive.
    double getVerticalSpeed() const { return _vertical_speed; }
    // Between the first and the second impact.
    bool isBounced() const { return _bounced; }
    // Climbing back to the top line.
    bool isRising() const { return _rising; }
    GphRect* getPicture() const { return _picture; }
    SndSoundEffect* getSound() const { return _sound; }

    // "<HAMMER>", the vertical speed, bounced, rising, the hazard's sprite line, the hammer's
    // sprite line, "</HAMMER>". Reading starts behind the opening tag; the pictures keep their
    // own sizes. 0, or -1 when the hazard is missing, the block ends early or a value does not
    // parse.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;

private:
    Map* _owner;
    Hazard* _hazard;
    GphRect* _picture;
    SndSoundEffect* _sound;
    double _bottom;
    double _top;
    double _vertical_speed;
    bool _bounced;
    bool _rising;
};

#endif
