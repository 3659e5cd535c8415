#ifndef KOVO_KOVO_KNIFETHROWER_H
#define KOVO_KOVO_KNIFETHROWER_H

#include <istream>
#include <ostream>

#include "Kovo/Character.h"

struct CharacterRecord;

class SndSoundEffect;

// The knife thrower. It stands in one place facing one way; while it sees the hero within
// reach it counts, and after more than a second of such sight since its last throw it
// throws: at the eighth picture of the throw it asks the room for a knife, which flies flat
// the way it faces. The first sight of the hero shows a bubble. A level can let it turn
// about now and then while it sees nobody, and it turns to look behind it half a second
// after a colleague behind it is knocked down or a nearby colleague turned the other way
// shows a bubble. Touching it kills the hero. A grenade or gas makes it cough (only the
// first time) and fall asleep at the end of its gassed pictures, for good.
//
// 120 by 120 with the bottom-middle anchor.
class KnifeThrower : public Character {
public:
    KnifeThrower(Map* map, Player* player, double x, double y, double z, CharacterState state,
                 int idleTurn, bool facingLeft);
    // From a level-file record: its idle-turn switch is the record's number.
    static Character* build(Map* map, Player* player, const CharacterRecord& record);

    // "<KNIFETHROWER>" throw timer, pending request, knife thrown, idle clock and cough
    // played, then the "<CHARACTER>" block and "</KNIFETHROWER>". Entered after the caller
    // has taken "<KNIFETHROWER>".
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    Reaction* react() override;
    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

    // A spinning knife once for each throw: from its hand, the way it faces.
    bool takeRequest(CharacterRequest& request) override;

    int getThrowTimer() const { return _throw_timer; }
    int getAlertTimer() const { return _alert_timer; }
    int getIdleTimer() const { return _idle_timer; }
    int getTurnTimer() const { return _turn_timer; }

private:
    KnifeThrower(const KnifeThrower&) = delete;
    KnifeThrower& operator=(const KnifeThrower&) = delete;

    void stand(bool left, unsigned ms, double seconds);
    void throwKnife(bool left);
    void gassed();

    // Turning round to look the other way, from the first picture.
    void turnAround(bool left);

    int _throw_timer;
    int _alert_timer;
    bool _throw_request;
    bool _knife_thrown;
    SndSoundEffect* _cough_sound;
    SndSoundEffect* _throw_sound;
    int _idle_timer;
    bool _cough_played;
    bool _reaction_shown;
    int _turn_timer;
};

#endif
