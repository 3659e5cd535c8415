#ifndef KOVO_KOVO_CART_H
#define KOVO_KOVO_CART_H

#include "Kovo/Character.h"

struct CharacterRecord;

// The mining cart. While it is switched on it rolls along a straight line between two x
// limits, through walls and over slopes, turning round where an edge would reach a limit;
// switched off, it rests where it stands. Touching it kills the hero, and it knocks thugs
// flying; grenades and gas do nothing to it, but a falling crate stops it until the room is
// entered again. It never turns its face: only its direction of travel changes. 80 by 80
// with the bottom-middle anchor.
class Cart : public Character {
public:
    Cart(Map* map, Player* player, double x, double y, double z, double leftLimit,
         double rightLimit, CharacterState state, bool facingLeft);
    // From a level-file record: its limits are the record's two numbers.
    static Character* build(Map* map, Player* player, const CharacterRecord& record);

    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

    double getLeftLimit() const { return _left_limit; }
    double getRightLimit() const { return _right_limit; }

private:
    void roll(double seconds, bool left);

    double _left_limit;
    double _right_limit;
};

#endif
