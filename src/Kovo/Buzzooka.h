#ifndef KOVO_KOVO_BUZZOOKA_H
#define KOVO_KOVO_BUZZOOKA_H

#include <istream>
#include <ostream>

#include "Kovo/Walker.h"

class SndSoundEffect;

// The rocket robot. While switched on it walks the floor between two x limits, turning
// round at a limit, a wall or a ledge, and when the hero stands in its line of fire ahead of
// it, within its sight, it asks the room for a bullet, at most once every three seconds
// (the first shot comes after half a second of work). Its switch or the phone puts it to
// rest, which stops its clock. Touching it kills the hero; grenades and gas do nothing to
// it. 120 by 120 with the bottom-middle anchor, drawn 15 units low.
class Buzzooka : public Walker {
public:
    Buzzooka(Map* map, Player* player, double x, double y, double z, double leftLimit,
             double rightLimit, CharacterState state, bool facingLeft);

    // Drawn 15 units below its position.
    void draw() override;
    // "<BUZZOOKA>" fire clock and request, the "<CHARACTER>" block and "</BUZZOOKA>";
    // entered after the caller has taken "<BUZZOOKA>". The limits and the phone's say come
    // from the level file and the room again.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

    // The room's one-shot question after the think: true once per shot. The room takes it
    // as a bullet from the edge it faces, 52 above its feet.
    bool takeFireRequest();
    bool takeRequest(CharacterRequest& request) override;
    // The phone: heard only while its own switch has it on, so that a robot its switch
    // turns on later works even while the phone rings.
    void setOff(bool off) override;
    bool isOff() const { return _off; }
    int getFireTimer() const { return _fire_timer; }

private:
    void patrol(unsigned ms, double seconds, bool left);

    bool _off;
    int _fire_timer;
    bool _fire_request;
    SndSoundEffect* _gun_sound;
};

#endif
