#ifndef KOVO_KOVO_BOMBSHELLE_H
#define KOVO_KOVO_BOMBSHELLE_H

#include <istream>
#include <ostream>

#include "Kovo/Character.h"

struct CharacterRecord;

class SndSoundEffect;

// The bomb thrower. She stands facing one way and watches the space in front of her. Once
// she has seen the hero there, with no wall or ceiling between them, for more than a second
// in all, she throws: at the eighth picture of her throw she asks the room for a bomb, which
// searches its own arc onto the hero; after each throw she looks further (700) and throws
// again after 800 ms more of sight. Seeing him a little (150 ms) makes her speech bubble;
// from then on she turns to him when he goes behind her, and left alone she may turn at
// random when her record allows it. Touching her kills the hero. A grenade or its gas stuns
// her: she coughs, her stunned pictures run out and she sleeps for good with rising Z
// pictures. She never walks, but rides the floor under her feet.
//
// Her box is 120 by 120 (60 wide for collisions) with the bottom-middle anchor; her picture
// is 240 tall, standing on her feet.
class Bombshelle : public Character {
public:
    Bombshelle(Map* map, Player* player, double x, double y, double z, CharacterState state,
               int idleTurn, double sightRange, bool facingLeft);
    // From a level-file record: her idle-turn value, then how far she sees.
    static Character* build(Map* map, Player* player, const CharacterRecord& record);

    // Her tall picture stands on her feet.
    void draw() override;
    // "<BOMBSHELLE>" throw clock, throw request, thrown, idle clock and the cough flag, the
    // "<CHARACTER>" block and "</BOMBSHELLE>". Entered after the caller has taken the tag.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    // Her bubble, once she has seen the hero for 150 ms; it lasts the rest of the second.
    Reaction* react() override;
    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

    // The room's one-shot question after the think: true once per throw. The room takes it
    // as a bomb from her hand, 40 before her and 110 above her feet.
    bool takeThrowRequest();
    bool takeRequest(CharacterRequest& request) override;

    int getThrowTimer() const { return _throw_timer; }
    int getAlertTimer() const { return _alert_timer; }
    int getIdleTimer() const { return _idle_timer; }
    bool isThrown() const { return _thrown; }
    bool isAlerted() const { return _alerted; }
    bool isCoughed() const { return _hurt_sound_played; }

protected:
    // Standing or throwing starts the idle clock afresh; a throw also sets the next one's
    // clock and her longer sight.
    void onEnterState(CharacterState state) override;

private:
    void stand(unsigned ms, bool left);
    void throwBomb(bool left);
    void stunned();
    // Rides the floor under her feet (a moving one carries her); without one she stays.
    void rideFloor();
    // The hero alive, from 300 below her feet to 100 above her head, within sight that way.
    bool heroInView(bool left) const;

    int _throw_timer;
    int _alert_timer;
    bool _throw_request;
    bool _thrown;
    SndSoundEffect* _cough;
    SndSoundEffect* _throw_sound;
    int _idle_timer;
    bool _alerted;
};

#endif
