#ifndef KOVO_KOVO_CHARGER_H
#define KOVO_KOVO_CHARGER_H

#include <istream>
#include <ostream>

#include "Kovo/Walker.h"

// A walker that charges the hero and runs past him. Once its run has passed him it sets a
// turning point an overshoot further on and a return point where it passed him, both within
// the room; at the turning point it runs back, and back at the return point it looks whether
// the hero is still ahead. Which of those it tests first, and what it does at each, is the
// class's own. A point of -1 is none.
class Charger : public Walker {
public:
    double getTurnaroundX() const { return _turnaround_x; }
    double getReturnToX() const { return _return_to_x; }

protected:
    // Built as a walker, with no points yet.
    using Walker::Walker;

    // Past the hero, running left (or right): the turning point `overshoot` further on and
    // the return point where it is, both kept within the room.
    void setRunPoints(bool left, double overshoot);
    // A turning point set, and the edge the run leads with at it or past it.
    bool atTurnaround(bool left) const;
    // A turning point set that the edge the run leads with has not reached.
    bool shortOfTurnaround(bool left) const;
    // No turning point (it has turned), a return point, and the run at it or past it.
    bool backAtReturnPoint(bool left) const;
    // The run turned round from its first frame, the turning point forgotten; false, and
    // nothing changed, when the other way has no pictures.
    bool turnBack(bool left);
    // The hero ahead of the edge the run leads with, his head less than `belowFeet` below
    // its feet and his feet less than `aboveHead` above its head.
    bool heroAheadWithin(bool left, double belowFeet, double aboveHead) const;
    // The hero dying behind a run whose step began running left (or right): behind as the
    // step began, even when the run has turned since. Then it stands the way the step began,
    // facing that way, both points forgotten; otherwise nothing changes.
    void standIfHeroDyingBehind(bool left);

    // The saved block most chargers keep: "<tag>" turning point, return point, `number` and
    // `flag` (0 or 1), each followed by a blank, then the "<CHARACTER>" block and the
    // closing tag.
    int writeRunState(std::ostream& out, const char* tag, int number, bool flag);
    // Reads that block, entered after the tag (the flag is read as a number, so it may touch
    // the character block): 0, with the points, `number` and `flag` set only now that the
    // whole block has read; -1, and nothing changed, for a block cut short or holding a value
    // that does not parse.
    int readRunState(std::istream& in, int& number, bool& flag);

    double _turnaround_x = -1;
    double _return_to_x = -1;
};

#endif
