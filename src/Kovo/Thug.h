#ifndef KOVO_KOVO_THUG_H
#define KOVO_KOVO_THUG_H

#include <istream>
#include <ostream>

#include "Kovo/Charger.h"

// The brawler. It stands looking one way and now and then turns around; when it sees the hero
// on its own level it shows a bubble, waits a second and charges. It runs past the hero to a
// turning point 200 beyond, comes back, and stops or charges again. Past the hero, a wall
// makes it slam into it and a missing floor makes it run on 120 units over the edge and
// topple; while still chasing, either only stops it. A downed comrade behind it, or one that
// faces it with a bubble up, makes it turn around after half a second.
//
// Falling obstacles, grenades, gas, rolling machines and another charging thug knock it out;
// every knock-out ends asleep for good, with Z pictures rising from it.
//
// 120 by 120 with the bottom-middle anchor; a charge keeps its left edge above the left limit
// and its right edge below the right limit.
class Thug : public Charger {
public:
    Thug(Map* map, Player* player, double x, double y, double z, double leftLimit,
         double rightLimit, CharacterState state, bool facingLeft);

    // "<THUG>" turning point, return point, idle clock and knock-out sound flag, then the
    // "<CHARACTER>" block and "</THUG>". Entered after the caller has taken "<THUG>"; a block
    // that ends early or holds a value that does not parse fails with -1 and leaves the thug
    // as it was.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    Reaction* react() override;
    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

    double getStopX() const { return _stop_x; }
    int getIdleTimer() const { return _idle_timer; }
    int getAlertTimer() const { return _alert_timer; }
    int getAlarmTimer() const { return _alarm_timer; }
    bool isSoundPlayed() const { return _hurt_sound_played; }
    bool isReactionShown() const { return _reaction_shown; }

protected:
    // Standing forgets the last charge's points; a slam or a fall ends them and the stop
    // point. The clocks start afresh only where a switch says so: the idle clock at a turn
    // while standing, and the idle and alert clocks and the bubble at a charge's start; a
    // charge's turns and stops leave them.
    void onEnterState(CharacterState state) override;

    double _stop_x;
    KnockOutLook _knock_out;
    int _idle_timer;
    int _alert_timer;
    bool _reaction_shown;
    int _alarm_timer;

private:
    Thug(const Thug&) = delete;
    Thug& operator=(const Thug&) = delete;

    void stand(unsigned ms, double seconds);
    void charge(double seconds);
};

#endif
