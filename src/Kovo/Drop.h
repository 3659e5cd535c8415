#ifndef KOVO_KOVO_DROP_H
#define KOVO_KOVO_DROP_H

#include <istream>
#include <ostream>

#include "Kovo/Character.h"

struct CharacterRecord;

class SndSoundEffect;

// A water drop, a hazard that repeats for as long as the room lasts: it waits at its start
// point, undrawn, until its clock has passed two seconds, drips (heard only when the start
// point is in view) and falls under the room's gravity until it lands on a floor, where it
// vanishes below the room and waits again. Drops of one room are staggered by the clocks
// their records start them with. The room's own rule for drops decides when it kills the
// hero; grenades and gas pass it by. 30 by 30 with the bottom-middle anchor.
class Drop : public Character {
public:
    Drop(Map* map, Player* player, double x, double y, double z, double startX, double startY,
         double waitTimer);
    // From a level-file record: its start point and first wait are the record's three numbers.
    static Character* build(Map* map, Player* player, const CharacterRecord& record);

    // Drawn only while falling.
    void draw() override;
    // "<ICICLE>" vertical speed and wait clock, the "<CHARACTER>" block and "</ICICLE>": the
    // drop saves under the icicle's tag. Entered after the caller has taken the tag; the
    // start point comes from the level file again.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

    double getWaitTimer() const { return _wait_timer; }
    double getStartX() const { return _start_x; }
    double getStartY() const { return _start_y; }

private:
    void wait(unsigned ms);
    void fall(double seconds);

    SndSoundEffect* _drip_sound;
    double _start_x;
    double _start_y;
    double _wait_timer;
};

#endif
