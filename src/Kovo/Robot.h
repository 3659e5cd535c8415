#ifndef KOVO_KOVO_ROBOT_H
#define KOVO_KOVO_ROBOT_H

#include "Kovo/Walker.h"

// The patrol robot. While it is shown and switched on it walks to and fro between its two
// limits, turning round in place at a limit, a wall, an obstacle or the end of its floor.
// Touching it kills the hero; gas does nothing to it. Switched off (the phone) or hidden (a
// switch), it stands showing its off picture; one placed switched off (41, 42) starts
// hidden. Its walking way is its state alone: its facing never changes.
//
// 100 by 100 with the bottom-middle anchor; a step never takes its left edge to or below
// the left limit, nor its right edge to or above the right limit. Its saved block is the
// character block alone.
class Robot : public Walker {
public:
    Robot(Map* map, Player* player, double x, double y, double z, double leftLimit,
          double rightLimit, CharacterState state, bool facingLeft);

    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

    // The phone's switch; a hidden robot ignores it.
    void setOff(bool off) override;
    bool isOff() const { return _off; }

private:
    Robot(const Robot&) = delete;
    Robot& operator=(const Robot&) = delete;

    void walk(bool left, double seconds);

    bool _off;
};

#endif
