#ifndef KOVO_KOVO_EGO1_H
#define KOVO_KOVO_EGO1_H

#include <istream>
#include <ostream>

#include "Kovo/Walker.h"

// The scientist. He stands facing one way until he has been on screen for more than half a
// second, then walks off the other way, through walls and over gaps alike, until his edge
// would reach the limit on that side; then he is gone (asleep to the room, and not drawn).
// Harmless; grenades and gas pass him by. 140 by 140 with the bottom-middle anchor.
class Ego1 : public Walker {
public:
    Ego1(Map* map, Player* player, double x, double y, double z, double leftLimit,
         double rightLimit, CharacterState state, bool facingLeft);

    // Not drawn once gone.
    void draw() override;
    // "<EGO1>", the "<CHARACTER>" block and "</EGO1>"; entered after the caller has taken
    // "<EGO1>". The limits and the screen clock come from the level file again.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

    int getScreenTimer() const { return _screen_timer; }

protected:
    // A walk starts his screen clock afresh.
    void onEnterState(CharacterState state) override;

private:
    void stand(unsigned ms, bool left);
    void walk(double seconds, bool left);

    int _screen_timer;
};

#endif
