#ifndef KOVO_KOVO_WALKER_H
#define KOVO_KOVO_WALKER_H

#include "Common/CharacterRecord.h"
#include "Kovo/Character.h"

// An actor that keeps to a stretch of the room between two x limits, the two numbers of its
// level record; whether a step keeps inside them is withinLimits, what it does at a limit is
// the class's own. A walker stands on its feet (the bottom-middle anchor), and the character
// block's idle-turn and reserved numbers of a walker are saved and never read.
class Walker : public Character {
public:
    // A walker of class T from its level-file record, its limits the record's first two
    // numbers; T is built from (map, player, x, y, z, left limit, right limit, state,
    // facing left).
    template <class T>
    static Character* build(Map* map, Player* player, const CharacterRecord& record)
    {
        return new T(map, player, record.x, record.y, record.depth(), record.a, record.b,
                     record.state, record.facingLeft);
    }

    double getLeftLimit() const { return _left_limit; }
    double getRightLimit() const { return _right_limit; }

protected:
    Walker(Map* map, Player* player, CharacterType type, double horizontalInset,
           double topInset, bool harmful, bool gasImmune, int hitPoints, double pushSpeed,
           double speed, double alarmRange, double sightRange, CharacterState state,
           bool facingLeft, bool ignoresGasCloud, double leftLimit, double rightLimit);

    // A step of `dx` keeps the edge on that side strictly inside its limit.
    bool withinLimits(bool left, double dx) const;
    // A machine's switch, read before it moves: on, a resting machine (41, 42) walks its way
    // again (6, 7); off, a walking one rests. Any other state is kept.
    void restOrWalk(bool on);
    // A run that ends the actor: along the floor until its limit, a wall or the end of the
    // floor stops it, and there it is gone (asleep to the room, facing as it ran).
    void runOff(bool left, double seconds);

    double _left_limit;
    double _right_limit;
};

#endif
