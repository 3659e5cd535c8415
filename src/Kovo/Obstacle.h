#ifndef KOVO_KOVO_OBSTACLE_H
#define KOVO_KOVO_OBSTACLE_H

#include <istream>
#include <ostream>

#include "Common/Sprite.h"

class Barrier;
class GphRect;
class Map;
class SndSoundEffect;

// A solid block in a room: whoever walks stands on its floor barrier and is stopped by its
// wall barrier. A pushable one moves when the hero walks into it, and one that loses its
// support falls under the room's gravity and crashes onto the next floor. The room runs those
// rules; the obstacle keeps the data and plays its three optional sounds: a fall sound, a
// crash sound and a looping push sound.
//
// The floor belongs to the room's floor list once the obstacle is read; the wall belongs to
// the obstacle. The picture's animation belongs to the room's image table.
class Obstacle : public Sprite {
public:
    explicit Obstacle(Map* owner);
    // Releases the sounds, deletes the picture and the wall.
    ~Obstacle() override;
    Obstacle(const Obstacle&) = delete;
    Obstacle& operator=(const Obstacle&) = delete;

    // The level-file body behind "<OBSTACLE>", up to and including "</OBSTACLE>". 0, or -1
    // after logging why: an unknown tag, an animation the room lacks, a barrier that fails to
    // read, a block without both its floor and its wall, a value that does not parse or a
    // stream that ends inside the block. An obstacle that failed to read holds no floor.
    int read(std::istream& in);

    void setFloor(Barrier* floor) { _floor = floor; }
    Barrier* getFloor() const { return _floor; }
    // Takes ownership; an earlier wall is deleted.
    void setWall(Barrier* wall);
    Barrier* getWall() const { return _wall; }

    void setPushable(bool pushable) { _pushable = pushable; }
    bool isPushable() const { return _pushable; }
    void setSecondProperty(bool value) { _second_property = value; }
    bool getSecondProperty() const { return _second_property; }
    void setThirdProperty(int value) { _third_property = value; }
    int getThirdProperty() const { return _third_property; }
    void setFourthProperty(bool value) { _fourth_property = value; }
    bool getFourthProperty() const { return _fourth_property; }
    void setSpare(int value) { _spare = value; }
    int getSpare() const { return _spare; }

    // Units per second, negative while falling.
    void setVerticalSpeed(double speed) { _vertical_speed = speed; }
    void addVerticalSpeed(double delta) { _vertical_speed += delta; }
    double getVerticalSpeed() const { return _vertical_speed; }
    // Set by the room in a frame in which the hero pushes it, cleared at the next frame.
    void setPushed(bool pushed) { _pushed = pushed; }
    bool isPushed() const { return _pushed; }

    // Each does nothing when its sound is missing.
    // Restarts the fall sound at the obstacle.
    void playFallSound();
    void stopFallSound();
    // Stops the fall sound and restarts the crash sound at the obstacle.
    void playCrashSound();
    // The push sound loops while the obstacle is pushed and on screen; the fall sound follows
    // the obstacle.
    void updatePushSound();

    GphRect* getPicture() const { return _picture; }
    SndSoundEffect* getFallSound() const { return _fall_sound; }
    SndSoundEffect* getCrashSound() const { return _crash_sound; }
    SndSoundEffect* getPushSound() const { return _push_sound; }

    // "<OBSTACLE>", the third property, the vertical speed, the floor's and the wall's
    // "<BARRIER>" blocks, the sprite line, "</OBSTACLE>". Reading starts behind the opening
    // tag; the picture keeps the obstacle's own size. 0, or -1 when a barrier is missing, the
    // block ends early or a value does not parse.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;

private:
    int readSound(std::istream& in, SndSoundEffect*& slot);

    Map* _owner;
    Barrier* _floor;
    Barrier* _wall;
    GphRect* _picture;
    bool _pushable;
    bool _second_property;
    int _third_property;
    bool _fourth_property;
    bool _pushed;
    int _spare;
    double _vertical_speed;
    SndSoundEffect* _push_sound;
    SndSoundEffect* _crash_sound;
    SndSoundEffect* _fall_sound;
};

#endif
