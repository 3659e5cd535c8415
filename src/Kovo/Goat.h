#ifndef KOVO_KOVO_GOAT_H
#define KOVO_KOVO_GOAT_H

#include <istream>
#include <ostream>

#include "Kovo/Charger.h"

class SndSoundEffect;

// The charging goat. It stands looking one way between two limits; when the hero comes into
// view on its side with a clear way to him it bleats and charges, runs past him and 400 units
// on, turns and comes back to where it passed him, and stops there unless he is still ahead.
// Once provoked it now and then runs off the other way on its own. Touching it kills the hero.
// A grenade takes one of its two hit points and stuns it for a moment, after which it charges
// again; the second puts it to sleep for good, with Z pictures rising from it. Gas clouds pass
// it by. It never shows a bubble.
//
// 100 by 100 with the bottom-middle anchor; a run keeps its left edge above the left limit
// and its right edge below the right limit.
class Goat : public Charger {
public:
    Goat(Map* map, Player* player, double x, double y, double z, double leftLimit,
         double rightLimit, CharacterState state, bool facingLeft);

    // "<GOAT>" turning point, return point, hit points last seen and the roused flag, then at
    // once (no blank) the "<CHARACTER>" block and "</GOAT>". Entered after the caller has
    // taken "<GOAT>"; a block that ends early or holds a value that does not parse fails with
    // -1 and leaves the goat as it was.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

    int getHitPointsSeen() const { return _hit_points_seen; }
    bool isRoused() const { return _roused; }

private:
    void stand(double seconds);
    void run(double seconds);
    void stunned(double seconds);

    // The hero on the left (or right) side, about its height and within sight, alive. The
    // side is the standing state's, whatever the facing flag says.
    bool heroInView(bool left) const;
    // A run ends standing the way it ran, its points forgotten.
    void stopRunning(bool wasLeft);

    SndSoundEffect* _hit_sound;
    SndSoundEffect* _charge_sound;
    int _hit_points_seen;
    bool _roused;
};

#endif
