#ifndef KOVO_KOVO_GOAT_H
#define KOVO_KOVO_GOAT_H

#include <istream>
#include <ostream>

#include "Kovo/Character.h"

class SndSoundEffect;
struct CharacterRecord;

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
class Goat : public Character {
public:
    Goat(Map* map, Player* player, double x, double y, double z, double leftLimit,
         double rightLimit, CharacterState state, bool facingLeft);
    // From a level-file record: its limits are the record's two numbers.
    static Character* build(Map* map, Player* player, const CharacterRecord& record);

    // "<GOAT>" turning point, return point, hit points last seen and the roused flag, then at
    // once (no blank) the "<CHARACTER>" block and "</GOAT>". Entered after the caller has
    // taken "<GOAT>"; a block that ends early or holds a value that does not parse fails with
    // -1 and leaves the goat as it was.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

    double getLeftLimit() const { return _left_limit; }
    double getRightLimit() const { return _right_limit; }
    double getTurnaroundX() const { return _turnaround_x; }
    double getReturnToX() const { return _return_to_x; }
    int getHitPointsSeen() const { return _hit_points_seen; }
    bool isRoused() const { return _roused; }

private:
    void stand(double seconds);
    void run(double seconds);
    void stunned(double seconds);

    // The hero on its side, about its height and within sight, alive.
    bool seesHero() const;
    // A step of the goat's box toward one side: a standing probe (which a wall between the
    // goat and the hero also refuses) or a running step; dx and dy as the room leaves them.
    bool step(bool left, bool running, double seconds, double* dx, double* dy);
    // The limits of a run, strict.
    bool withinLimits(bool left, double dx) const;
    // A run turns back the other way from the first frame.
    void turnBack(bool wasLeft);
    // A run ends standing the way it ran.
    void stopRunning(bool wasLeft);

    double _turnaround_x;
    double _return_to_x;
    double _left_limit;
    double _right_limit;
    SndSoundEffect* _hit_sound;
    SndSoundEffect* _charge_sound;
    int _hit_points_seen;
    bool _roused;
};

#endif
