#ifndef KOVO_KOVO_DOOR_H
#define KOVO_KOVO_DOOR_H

#include <istream>
#include <ostream>

#include "Common/Sprite.h"

class GphRect;
class Map;

// A door joins two rooms of a level. Its box is the spot in front of which the hero must
// stand; its picture, 80 wide and 160 high, is centred 110 units above the door's position
// and shows frame 0 of its animation while locked, frame 1 while unlocked. It leads to a
// room by id and puts the hero at the target position there. The door holds data only: the
// room decides when the hero uses it, and switches lock and unlock it.
//
// The picture's animation belongs to the room's image table; the door deletes only its
// rectangle.
class Door : public Sprite {
public:
    static constexpr double kPictureLength = 80.0;  // along x
    static constexpr double kPictureWidth = 160.0;  // along y
    static constexpr double kPictureRise = 110.0;

    explicit Door(Map* owner);
    ~Door() override;
    Door(const Door&) = delete;
    Door& operator=(const Door&) = delete;

    // The level-file body behind "<DOOR>": x, y, width, length, target map id, target x,
    // target y, then fields up to and including "</DOOR>". 0, or -1 after logging why: an
    // unknown tag, an animation the room lacks, a value that does not parse or a stream that
    // ends inside the block. The fields read so far stay.
    int read(std::istream& in);

    // The picture shows the locked state.
    void updateGraphic();

    void setCode(int code) { _code = code; }
    int getCode() const { return _code; }
    void lock() { _locked = true; }
    void unlock() { _locked = false; }
    void setLocked(bool locked) { _locked = locked; }
    bool isLocked() const { return _locked; }
    void open() { _open = true; }
    void close() { _open = false; }
    bool isOpen() const { return _open; }
    void setUsable(bool usable) { _usable = usable; }
    bool isUsable() const { return _usable; }
    void setTargetMapId(int id) { _target_map_id = id; }
    int getTargetMapId() const { return _target_map_id; }
    void setTargetX(double x) { _target_x = x; }
    double getTargetX() const { return _target_x; }
    void setTargetY(double y) { _target_y = y; }
    double getTargetY() const { return _target_y; }

    GphRect* getPicture() const { return _picture; }

    // "<DOOR>", locked, open, the sprite line, "</DOOR>". Reading starts behind the opening
    // tag and puts the picture back above the door at its own size. 0, or -1 when the block
    // ends early or a value does not parse.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;

private:
    // The picture centred above the door's position.
    void placePicture();

    Map* _owner;
    GphRect* _picture;
    int _code;
    bool _locked;
    bool _open;
    bool _usable;
    int _target_map_id;
    double _target_x;
    double _target_y;
};

#endif
