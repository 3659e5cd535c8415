#ifndef KOVO_KOVO_GUNNER_H
#define KOVO_KOVO_GUNNER_H

#include <istream>
#include <ostream>

#include "Kovo/Charger.h"

class SndSoundEffect;

// The enemy with the tommy gun. It stands guard facing one way and now and then turns round.
// When it sees the hero in front of it, it shows a bubble and, a second later, fires a burst
// of four shots 100 ms apart; then it charges toward him or, when it cannot go that way,
// stands and waits longer before the next burst. Running, it fires again once it has covered
// 200 units and sees him; past him it runs 200 on, comes back to where it passed him and
// stands there unless he is still ahead. It never fires with a wall right in front of it. A
// downed comrade behind it, or one facing it with a bubble up, turns it round half a second
// later. Touching it kills the hero. A grenade takes one of its two hit points and stuns it,
// coughing, for a second, after which it fires back; the second hit, or a falling obstacle,
// puts it to sleep for good, with Z pictures rising above it. Gas clouds pass it by.
//
// 120 by 120 with the bottom-middle anchor, its collision box 30 in from each side; a run
// ends with the step that takes its left edge to the left limit or its right edge to the
// right limit.
class Gunner : public Charger {
public:
    Gunner(Map* map, Player* player, double x, double y, double z, double leftLimit,
           double rightLimit, CharacterState state, bool facingLeft);

    // "<GUNNER>" turning point, return point, idle clock and hurt sound flag, then the
    // "<CHARACTER>" block and "</GUNNER>". Entered after the caller has taken "<GUNNER>"; a
    // block that ends early or holds a value that does not parse fails with -1 and leaves
    // the gunner as it was. A restored gunner takes the hit points read as seen.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    Reaction* react() override;
    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

    // The shot raised by its think, once: a bullet from the edge it faces, 63 above its feet.
    bool takeRequest(CharacterRequest& request) override;

    int getIdleTimer() const { return _idle_timer; }
    int getAlertTimer() const { return _alert_timer; }
    int getShotTimer() const { return _shot_timer; }
    int getShotCount() const { return _shot_count; }
    int getHitPointsSeen() const { return _hit_points_seen; }
    int getTurnTimer() const { return _turn_timer; }
    double getRunDistance() const { return _run_distance; }
    bool isReactionShown() const { return _reaction_shown; }

private:
    void stand(unsigned ms, double seconds);
    void shoot(unsigned ms, double seconds);
    void run(double seconds);
    void stunned();
    void bonked();

    // Stands the way it faces, keeping the stand picture's frame.
    void standStill();
    // Starts a burst: the shooting state with the stand picture of its side.
    void startShooting(bool left);

    SndSoundEffect* _cough_sound;
    SndSoundEffect* _bonk_sound;
    SndSoundEffect* _gun_sound;
    int _idle_timer;
    int _alert_timer;
    bool _reaction_shown;
    bool _fire_request;
    int _shot_timer;
    int _shot_count;
    int _hit_points_seen;
    double _run_distance;
    int _turn_timer;
};

#endif
