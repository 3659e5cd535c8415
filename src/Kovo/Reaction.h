#ifndef KOVO_KOVO_REACTION_H
#define KOVO_KOVO_REACTION_H

#include <string>

#include "Common/Sprite.h"

class Character;
class GphRect;
class Player;

// The picture bubble that pops up above an actor when it notices the hero, its picture drawn
// at random from a set. The actor hands it to the room, which keeps it in its reaction list,
// counts its time down every frame, draws it and deletes it once expired (or when its maker
// is stunned, or the room is entered again). Other actors read a bubble standing at its
// maker's x as an alarm. The bubble does not follow its maker and is never saved.
//
// 80 units across, 40 high, centred on its position at the bubbles' depth.
class Reaction : public Sprite {
public:
    // Lasts `duration` milliseconds. A Wolf's bubble comes from the Wolf's own set; any
    // other maker's from the airborne set when the hero is in the air, else the ground set.
    Reaction(Character* owner, int duration, double x, double y, bool heroAirborne);
    // Deletes the picture with its animation.
    ~Reaction() override;

    // The actor that made it; only compared, never followed.
    Character* getOwner() const { return _owner; }
    // Counts down by ms, stopping at 0; a time already below 1 is left alone, so a bubble
    // made with a negative duration never expires.
    void consumeTime(unsigned ms);
    // The room's per-frame call.
    void update(unsigned ms);
    bool isExpired() const { return _remaining == 0; }
    int getRemaining() const { return _remaining; }
    GphRect* getPicture() const { return _picture; }

    // The react rule of every actor that shows a bubble when it notices the hero: once its
    // alert timer (milliseconds since it noticed him) has reached 150 and no bubble was made
    // for this noticing, a new bubble 20 above its head lasting until the timer would reach
    // 1000, and `shown` set. Null otherwise.
    static Reaction* onNotice(Character* owner, const Player* hero, int alertTimer, bool& shown);

    // The picture file for a draw of rand(): a Wolf's, an airborne or a ground one.
    static std::string pictureFor(bool wolf, bool heroAirborne, int draw);

private:
    Reaction(const Reaction&) = delete;
    Reaction& operator=(const Reaction&) = delete;

    Character* _owner;
    GphRect* _picture;
    int _remaining;
};

#endif
