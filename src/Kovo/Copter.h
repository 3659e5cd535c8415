#ifndef KOVO_KOVO_COPTER_H
#define KOVO_KOVO_COPTER_H

#include <istream>
#include <list>
#include <ostream>
#include <vector>

#include "Kovo/Character.h"

struct CharacterRecord;

class GphRect;
class SndSoundEffect;

// The helicopter, facing right only. It hovers until it sees the hero ahead of it and not
// above its skids, waits half a second more, then alternates between bursts of fire from its
// gun (four shots a burst, a tenth of a second apart, from two muzzles in turn) and climbing
// or sinking until the hero is level with its gun line. Touching it kills the hero; gas does
// nothing to it, but a grenade in the cockpit breaks the windshield and brings it down. When
// it lands, the sprites held back for it come into play, and the wreck, trailing smoke, asks
// the room for six bombs that drop straight down. 400 wide and 200 tall with the
// bottom-middle anchor, under its blades and windshield.
class Copter : public Character {
public:
    // `variant` 1 shows the first body, any other the second. A record facing left is taken
    // as facing right: facing left it could never be brought down.
    Copter(Map* map, Player* player, double x, double y, double z, int variant,
           CharacterState state, bool facingLeft);
    // From a level-file record: after its link id, the variant of its body.
    static Character* build(Map* map, Player* player, const CharacterRecord& record);
    ~Copter() override;

    // Smoke, body, then the windshield and the blades over it.
    void draw() override;
    // "<COPTER>" and two kept values, the "<CHARACTER>" block and "</COPTER>". Entered after
    // the caller has taken "<COPTER>"; clocks, the burst, the smoke and the bombs start afresh.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    void think(unsigned ms, double seconds) override;
    void buildAnimations() override;

    // The sprites that come into play when it lands; held back (switched off) until then.
    void setLinkedSprites(const std::list<Sprite*>& sprites) override;
    const std::list<Sprite*>& getLinkedSprites() const { return _linked_sprites; }
    // The room's one-shot questions after the think: true once per shot or bomb.
    bool takeFireRequest();
    bool takeBombRequest();
    // The room takes a shot as a bullet from the muzzle that fires next, then a bomb as one
    // dropped straight down from a random point 80 to 279 in from the left of the wreck.
    bool takeRequest(CharacterRequest& request) override;
    // The muzzle that fires next.
    double getGunX() const;
    double getGunY() const;

    int getVariant() const { return _variant; }
    int getHoverTimer() const { return _hover_timer; }
    int getShots() const { return _shots; }
    int getGunSide() const { return _gun_side; }
    int getBombsRequested() const { return _bombs_requested; }
    size_t getPuffCount() const { return _puffs.size(); }
    GphRect* getBlades() const { return _blades; }
    GphRect* getWindshield() const { return _windshield; }

private:
    // A puff of the wreck's smoke and its drift.
    struct Puff {
        GphRect* picture;
        double vx;
        double vy;
    };

    void hover(unsigned ms);
    void shoot(unsigned ms);
    void chase(double seconds);
    void fall(double seconds);
    void wreck(unsigned ms);
    void updatePuffs(double seconds);
    void addPuff();
    bool heroDying() const;

    std::list<Sprite*> _linked_sprites;
    double _reserved1;
    double _reserved2;
    GphRect* _blades;
    GphRect* _windshield;
    SndSoundEffect* _glass_sound;
    SndSoundEffect* _gun_sound;
    SndSoundEffect* _engine_sound;
    double _engine_timer;
    int _hover_timer;
    bool _glass_played;
    bool _fire_request;
    int _gun_timer;
    int _shots;
    int _gun_side;
    std::vector<Puff> _puffs;
    int _puff_timer;
    int _puff_index;
    bool _bomb_request;
    double _bomb_timer;
    double _bomb_delay;
    int _bombs_requested;
    int _variant;
};

#endif
