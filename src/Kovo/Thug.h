#ifndef KOVO_KOVO_THUG_H
#define KOVO_KOVO_THUG_H

#include <istream>
#include <ostream>

#include "Kovo/Character.h"

struct CharacterRecord;

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
class Thug : public Character {
public:
    Thug(Map* map, Player* player, double x, double y, double z, double leftLimit,
         double rightLimit, CharacterState state, bool facingLeft);
    // From a level-file record: its limits are the record's two numbers.
    static Character* build(Map* map, Player* player, const CharacterRecord& record);

    // "<THUG>" turning point, return point, idle clock and knock-out sound flag, then the
    // "<CHARACTER>" block and "</THUG>". Entered after the caller has taken "<THUG>"; a block
    // that ends early or holds a value that does not parse fails with -1.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    Reaction* react() override;
    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

    double getLeftLimit() const { return _left_limit; }
    double getRightLimit() const { return _right_limit; }
    double getTurnaroundX() const { return _turnaround_x; }
    double getReturnToX() const { return _return_to_x; }
    double getStopX() const { return _stop_x; }
    int getIdleTimer() const { return _idle_timer; }
    int getAlertTimer() const { return _alert_timer; }
    int getAlarmTimer() const { return _alarm_timer; }
    bool isSoundPlayed() const { return _hurt_sound_played; }
    bool isReactionShown() const { return _reaction_shown; }

protected:
    // Standing starts the idle clock and forgets the last charge's points; a charge starts
    // the alert over; a slam or a fall ends the charge's points.
    void onEnterState(CharacterState state) override;

    double _turnaround_x;
    double _return_to_x;
    double _stop_x;
    double _left_limit;
    double _right_limit;
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

    // The hero on the thug's level (inclusive), whatever their distance across.
    bool heroOnLevel() const;
    // The hero on its level, not dying, ahead of it within the sight range.
    bool seesHero() const;
    // The ground step with the thug's box; `reason` as Map::walkAlongFloor gives it.
    bool walk(bool moving, double* dx, double* dy, int* reason);
    // The limits of a charge, strict.
    bool withinLimits(bool left, double dx) const;
};

#endif
