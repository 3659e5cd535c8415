#ifndef KOVO_KOVO_KNIGHT_H
#define KOVO_KOVO_KNIGHT_H

#include <istream>
#include <ostream>

#include "Kovo/Walker.h"

class SndSoundEffect;

// The suit of armour. It stands still like a decoration, drawn behind the other figures,
// and comes to life only once the hero has walked past it on its floor. From then on it
// sneaks after him whenever he stands on that floor with his back to it, more than 200 from
// its middle and no more than its sight range beyond its near edge; it stops as soon as he
// turns to face it, dies, or stands on another floor without jumping. It kills by touch
// only while it sneaks, and while it sneaks on screen its creeping sound loops. Gas leaves
// it be. A think of no time (the room's entry) puts it back to standing and makes it wait
// for the hero to pass it again.
//
// Standing it is 120 by 120; sneaking, its box is 180 wide and 90 high and its picture 200
// by 100. A sneak's last step may take its edge up to one step past its limit.
class Knight : public Walker {
public:
    Knight(Map* map, Player* player, double x, double y, double z, double leftLimit,
           double rightLimit, CharacterState state, bool facingLeft);

    // Standing, raised 20 and drawn at the very back; otherwise as it is.
    void draw() override;
    // "<KNIGHT>" and a spare integer, then the "<CHARACTER>" block and "</KNIGHT>". Entered
    // after the caller has taken "<KNIGHT>"; the restored state brings its own look.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

    bool hasHeroPassed() const { return _hero_passed; }
    double getLastHeroX() const { return _last_hero_x; }

private:
    Knight(const Knight&) = delete;
    Knight& operator=(const Knight&) = delete;

    void reset();
    void stand(double seconds);
    void sneak(bool left, double seconds);
    void standAgain();
    // The box and picture of standing, and of sneaking.
    void takeStandingLook();
    void takeSneakingLook();

    SndSoundEffect* _sneak_sound;
    // Written and read back with the saved block; nothing else uses it. (The base keeps its
    // own reserved value in the character block.)
    int _spare;
    bool _hero_passed;
    double _last_hero_x;
};

#endif
