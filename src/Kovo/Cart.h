#ifndef KOVO_KOVO_CART_H
#define KOVO_KOVO_CART_H

#include "Kovo/Walker.h"

// The mining cart. While it is switched on it rolls along a straight line between two x
// limits, through walls and over slopes, turning round where an edge would reach a limit;
// switched off, it rests where it stands. Touching it kills the hero, and it knocks thugs
// flying; grenades and gas do nothing to it, but a falling crate stops it until the room is
// entered again. It never turns its face: only its direction of travel changes. 80 by 80
// with the bottom-middle anchor.
class Cart : public Walker {
public:
    Cart(Map* map, Player* player, double x, double y, double z, double leftLimit,
         double rightLimit, CharacterState state, bool facingLeft);

    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

private:
    void roll(double seconds, bool left);
};

#endif
