#ifndef KOVO_KOVO_RAT_H
#define KOVO_KOVO_RAT_H

#include "Kovo/Walker.h"

class SndSoundEffect;

// The rat. It stands a while, then scurries off the other way until its limit, a wall or
// the end of its floor stops it, and stands again facing the way it went. Touching it
// kills the hero while it is awake. A grenade, gas (the room catches it in a box wider
// than its body) or a falling obstacle makes it squeak and fall asleep at once, for good,
// with Z pictures rising beside it.
//
// 60 wide and 30 high with the bottom-middle anchor; a walk stops one step short of its
// limits. Its saved block is the character block alone.
class Rat : public Walker {
public:
    Rat(Map* map, Player* player, double x, double y, double z, double leftLimit,
        double rightLimit, CharacterState state, bool facingLeft);

    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

    int getIdleTimer() const { return _idle_timer; }

private:
    Rat(const Rat&) = delete;
    Rat& operator=(const Rat&) = delete;

    void stand(unsigned ms);
    void walk(bool left, double seconds);
    void knockedOut();

    SndSoundEffect* _gas_sound;
    int _idle_timer;
};

#endif
