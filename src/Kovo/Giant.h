#ifndef KOVO_KOVO_GIANT_H
#define KOVO_KOVO_GIANT_H

#include <istream>
#include <ostream>

#include "Kovo/Charger.h"

class SndSoundEffect;

// The big brute, 200 units tall. It stands guard facing one way between two limits; when it
// sees the hero on its side with a clear way to him it shows a bubble and, a second later,
// charges, runs past him and 300 units on, turns and comes back to where it passed him. Once
// alerted it stays so and charges whenever it stands facing a clear way. A downed comrade
// behind it, or one facing it with a bubble up, turns it round half a second later; the hero
// dying behind it stops its run. Touching it kills the hero. A grenade takes one of its three
// hit points and stuns it, coughing, for about a second, after which it charges toward the
// hero; the third puts it to sleep. A falling obstacle makes it yell and fall asleep a second
// later. Asleep is final, with Z pictures rising from it. Gas clouds pass it by.
//
// 200 by 200 with the bottom-middle anchor; a run keeps its left edge above the left limit
// and its right edge below the right limit.
class Giant : public Charger {
public:
    Giant(Map* map, Player* player, double x, double y, double z, double leftLimit,
          double rightLimit, CharacterState state, bool facingLeft);

    // "<GIANT>" turning point, return point, its own reserved number and the hurt sound flag,
    // then the "<CHARACTER>" block and "</GIANT>". Entered after the caller has taken
    // "<GIANT>"; a block that ends early or holds a value that does not parse fails with -1
    // and leaves the giant as it was. A restored giant takes the hit points read as seen, and
    // must see the hero again before it charges.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    Reaction* react() override;
    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

    int getAlertTimer() const { return _alert_timer; }
    int getTurnTimer() const { return _turn_timer; }
    int getHitPointsSeen() const { return _hit_points_seen; }
    bool isReactionShown() const { return _reaction_shown; }

private:
    void stand(unsigned ms, double seconds);
    void run(double seconds);
    void stunned(double seconds);
    void bonked();

    void stopRunning(bool wasLeft);

    SndSoundEffect* _cough_sound;
    SndSoundEffect* _bonk_sound;
    // Always 0: reset when a turn or a charge starts and saved, nothing else. Not the
    // character block's reserved number, which the giant leaves at 2.
    int _own_reserved;
    int _alert_timer;
    int _hit_points_seen;
    bool _reaction_shown;
    int _turn_timer;
};

#endif
