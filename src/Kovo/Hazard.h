#ifndef KOVO_KOVO_HAZARD_H
#define KOVO_KOVO_HAZARD_H

#include <istream>

#include "Common/Sprite.h"

class GphRect;
class Map;

// A harmful sprite whose picture may turn steadily about its centre. The room decides whom
// it harms: a hero who touches it dies, unless it is the hazard of a hammer that is switched
// off. A hazard has no id, so switches cannot reach it. Free hazards are not saved; a
// hammer saves the sprite line of the hazard it carries.
//
// The picture's animation belongs to the room's image table.
class Hazard : public Sprite {
public:
    explicit Hazard(Map* owner);
    ~Hazard() override;
    Hazard(const Hazard&) = delete;
    Hazard& operator=(const Hazard&) = delete;

    // The level-file body behind "<HAZARD>", up to and including "</HAZARD>". 0, or -1 after
    // logging why: an unknown tag, an animation the room lacks, a value that does not parse
    // or a stream that ends inside the block.
    int read(std::istream& in);
    // Turns the picture by the rotation speed; the sprite itself stays where it is.
    void update(unsigned ms, double seconds);

    // Degrees per second; 0 keeps the picture still.
    void setRotationSpeed(float degreesPerSecond) { _rotation_speed = degreesPerSecond; }
    float getRotationSpeed() const { return _rotation_speed; }
    GphRect* getPicture() const { return _picture; }

    // The sprite line; the picture keeps the hazard's own size. 0, or -1 when the line ends
    // early or a value does not parse.
    int readState(std::istream& in) override;

private:
    Map* _owner;
    GphRect* _picture;
    float _rotation_speed;
};

#endif
