#ifndef KOVO_KOVO_DOZER_H
#define KOVO_KOVO_DOZER_H

#include "Kovo/Walker.h"

// The worker robot. While switched on it walks the floor between two x limits, turning
// round where an edge would reach a limit, at a wall or before a ledge; switched off by its
// switch or by the phone, it rests. Harmless to touch, but the room lets it shove the hero,
// push crates and knock thugs flying; grenades and gas do nothing to it, and a falling crate
// only stops it for a frame. 100 by 100 with the bottom-middle anchor.
class Dozer : public Walker {
public:
    Dozer(Map* map, Player* player, double x, double y, double z, double leftLimit,
          double rightLimit, CharacterState state, bool facingLeft);

    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

    // The phone switches it off (true) and on again; a call that changes nothing does
    // nothing, so that its own switch keeps the say otherwise.
    void setOff(bool off) override;
    bool isOff() const { return _off; }

private:
    void walk(double seconds, bool left);

    bool _off;
};

#endif
