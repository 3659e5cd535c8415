#ifndef KOVO_KOVO_BIRD_H
#define KOVO_KOVO_BIRD_H

#include <istream>
#include <ostream>

#include "Kovo/Character.h"

struct CharacterRecord;

class SndSoundEffect;

// The bird. It flies level, left or right, turning round wherever the room stops its flight,
// and looks for the hero below and around it. Once it has seen him (with a cry) it pursues
// him for good: it climbs or sinks toward his height, flies past him to a turning point 300
// beyond, turns, comes back to where it passed him and looks again: with the hero still
// ahead it flies on, otherwise it turns once more. Stopped by a wall with the hero beyond,
// it flies 150 back and tries again. Touching it kills the hero. A grenade or its gas stuns
// it: it screeches once, drops to the floor below and sleeps there with rising Z pictures.
// Every step of the pursuit is written to the log. 40 by 40, its position the centre.
class Bird : public Character {
public:
    Bird(Map* map, Player* player, double x, double y, double z, CharacterState state,
         bool facingLeft);
    // From a level-file record, which gives it nothing more.
    static Character* build(Map* map, Player* player, const CharacterRecord& record);

    // "<BIRD>" turning point, return point and the pursuit flag run straight into the
    // "<CHARACTER>" block, then "</BIRD>". Entered after the caller has taken "<BIRD>".
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

    double getTurnaroundX() const { return _turnaround_x; }
    double getReturnToX() const { return _return_to_x; }
    bool isPursuing() const { return _pursuing; }
    bool isScreeched() const { return _hurt_sound_played; }

private:
    void fly(double seconds, bool left);
    // The flight turned round after a move, when the new direction has pictures.
    void turnAtTurnaround(bool left);
    void turnAtReturnPoint(bool left);
    void turnAtObstacle(bool left);
    void fall(double seconds);
    // The hero alive below it (or just above), within sight on either side.
    bool heroInView() const;

    double _turnaround_x;
    double _return_to_x;
    SndSoundEffect* _screech;
    SndSoundEffect* _cry;
    bool _pursuing;
};

#endif
