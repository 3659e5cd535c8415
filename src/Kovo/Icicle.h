#ifndef KOVO_KOVO_ICICLE_H
#define KOVO_KOVO_ICICLE_H

#include <istream>
#include <ostream>

#include "Kovo/Character.h"

class SndSoundEffect;
struct CharacterRecord;

// The hanging spike. It hangs still until the hero stands or passes below it with nothing
// solid between them, then drops with a sound, falls faster and faster and breaks on the
// floor it meets, with a second sound; the broken spike stays where it fell. Hanging or
// falling, it kills the hero whose box holds its tip well inside his sides; broken, it is
// harmless. Gas does not touch it.
//
// 40 wide and 80 high with the bottom-middle anchor: its position is the tip.
class Icicle : public Character {
public:
    Icicle(Map* map, Player* player, double x, double y, double z);
    // From a level-file record: hanging at its point, whatever state and facing it gives.
    static Character* build(Map* map, Player* player, const CharacterRecord& record);

    // "<ICICLE>" the falling speed, then the "<CHARACTER>" block and "</ICICLE>". Entered
    // after the caller has taken "<ICICLE>"; a block that ends early or holds a value that
    // does not parse fails with -1 and leaves the icicle as it was.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

private:
    void hang();
    void fall(double seconds);

    SndSoundEffect* _fall_sound;
    SndSoundEffect* _break_sound;
};

#endif
