#ifndef KOVO_KOVO_WOLF_H
#define KOVO_KOVO_WOLF_H

#include <istream>
#include <ostream>

#include "Kovo/Charger.h"

class SndSoundEffect;

// The wolf. It stands facing one way; when it sees the hero (his feet may be up to 200
// above its back) it shows a bubble from its own set, and a second later it howls and runs
// at him. It runs past him to a turning point 500 beyond the place where it passed him,
// turns, runs back to that place and stops there, unless the hero is ahead of it again at
// about its level, when it runs on and the chase starts over. Touching it kills the hero.
// A grenade or gas stuns it: it whimpers and falls asleep at the end of its gassed
// pictures, for good, with Z pictures rising from it.
//
// 160 wide and 80 high with the bottom-middle anchor; a run never takes its left edge to
// or below the left limit, nor its right edge to or above the right limit.
class Wolf : public Charger {
public:
    Wolf(Map* map, Player* player, double x, double y, double z, double leftLimit,
         double rightLimit, CharacterState state, bool facingLeft);

    // "<WOLF>" turning point and return point, then the "<CHARACTER>" block and "</WOLF>".
    // Entered after the caller has taken "<WOLF>".
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    Reaction* react() override;
    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

    int getAlertTimer() const { return _alert_timer; }

private:
    Wolf(const Wolf&) = delete;
    Wolf& operator=(const Wolf&) = delete;

    void stand(bool left, unsigned ms, double seconds);
    void run(bool left, double seconds);
    void gassed();

    SndSoundEffect* _pluck_sound;
    SndSoundEffect* _wolf_sound;
    int _alert_timer;
    bool _reaction_shown;
};

#endif
