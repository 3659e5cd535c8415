#ifndef KOVO_KOVO_TURRET_H
#define KOVO_KOVO_TURRET_H

#include <istream>
#include <ostream>

#include "Kovo/Character.h"

struct CharacterRecord;

class SndSoundEffect;

// The wall gun. It never moves, never hurts by touch and shrugs off gas. While it is shown
// it asks the room for a bullet a little more than every three seconds, in the way it
// faces, with a report when it is on screen; while hidden it waits with its count frozen.
// Its state picks the picture (14 left, 15 right; hidden 41 and 42 keep those pictures) and
// its facing the way the bullet flies; neither ever changes of its own accord.
//
// 60 by 60, centred on its position, drawn behind the other actors.
class Turret : public Character {
public:
    Turret(Map* map, Player* player, double x, double y, double z, int fireTimer,
           CharacterState state, bool facingLeft);
    // From a level-file record: its first fire timer is the record's first number (the second is its sprite id).
    static Character* build(Map* map, Player* player, const CharacterRecord& record);

    // "<TURRET>" fire timer and pending request, then the "<CHARACTER>" block and
    // "</TURRET>". Entered after the caller has taken "<TURRET>".
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

    // A bullet once for each shot asked for: from its muzzle, the way it faces.
    bool takeRequest(CharacterRequest& request) override;

    int getFireTimer() const { return _fire_timer; }

private:
    Turret(const Turret&) = delete;
    Turret& operator=(const Turret&) = delete;

    int _fire_timer;
    bool _fire_request;
    SndSoundEffect* _turret_sound;
};

#endif
