#ifndef KOVO_KOVO_BOMB_H
#define KOVO_KOVO_BOMB_H

#include "Kovo/Projectile.h"

class Map;
class Player;

// A bomb tossed by an enemy or dropped by a crashed helicopter: a 40 x 40 projectile with a
// three-frame picture that flies a ballistic arc under the room's gravity. Its launch speeds
// are chosen when it is made by replaying candidate throws, step by step, against the hero's
// predicted position. It bursts (is spent at once) on its first move that the room blocks.
class Bomb : public Projectile {
public:
    // Longest simulated flight of one candidate throw, in steps. A throw that neither passes
    // the hero, falls below y = 0 nor hits within it counts as a miss, so the search ends
    // whatever the room's gravity and the hero's motion.
    static constexpr int kMaxSimulatedSteps = 10000;

    // Made at (x, y) aiming at the target; stepMs is the frame time of one simulated step (the
    // current frame's). With no hitting throw, or a step of 0 ms, the fallback speeds are used
    // and "Could not arrive at a bomb trajectory solution" is logged.
    Bomb(Map* map, Player* target, double x, double y, unsigned stepMs);
    ~Bomb() override;

    // Falls under gravity (not below -840), asks the room whether the move may be made and
    // bursts when it may not; the picture is animated, not spun.
    void update(unsigned ms, double seconds) override;
    bool explodes() const override { return true; }

    Map* getMap() const { return _map; }

    // The launch search on its own: the first candidate that hits, flattest first and within
    // one vertical speed fastest first. False (vx, vy then hold the fallback speeds) when none
    // does.
    static bool findLaunch(double gravity, const Player& target, double x, double y,
                           unsigned stepMs, double& vx, double& vy);

private:
    Map* _map;
};

#endif
