#ifndef KOVO_KOVO_CHARACTER_H
#define KOVO_KOVO_CHARACTER_H

#include <istream>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "Common/Sprite.h"
#include "Kovo/CharacterState.h"
#include "Kovo/CharacterType.h"

class GphAnimatedTexture;
class GphRect;
class Map;
class Player;
class Reaction;

// The animations of a character by CharacterState. Each value is owned and belongs to one
// key only.
typedef std::map<CharacterState, GphAnimatedTexture*> CharacterAnimationMap;

// Base of every moving actor of a room. It holds what the room's frame step reads to drive
// and judge an actor (type, state and facing, a collision box narrower than the sprite, hit
// points, the flags that decide how touch, grenades and gas act on it, speeds and ranges)
// and the saved "<CHARACTER>" block. Behaviour lives in the subclasses: each builds its
// animations and runs its own think. Characters never hurt the hero nor create objects
// themselves; the room reads their flags and one-shot requests and acts on them.
//
// The Sprite visible flag is the actor's active switch; an inactive actor is still drawn and
// still thinks.
//
// A subclass constructor, after this one: sets its own fields, sets the anchor again,
// calls buildAnimations, makes its drawable (makeDrawable) and sizes the sprite.
class Character : public Sprite {
public:
    Character(Map* map, Player* player, CharacterType type, double horizontalInset,
              double topInset, int anchor, bool harmful, bool gasImmune, int hitPoints,
              double pushSpeed, double speed, double alarmRange, double sightRange, int idleTurn,
              int reserved, CharacterState state, bool facingLeft, bool ignoresGasCloud);
    // Takes the animation off the drawable, deletes the drawable and every animation.
    ~Character() override;

    // Entered after the caller has taken "<CHARACTER>". 0, or -1 for a block that ends early
    // or holds a value that does not parse; a failed read leaves the character as it was,
    // except when only the closing tag is missing.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    // Back to the start state turned to the current facing, then shows it. Start states
    // outside the pairs 1/2, 3/4, 6/7, 10/11, 14/15 and 22/23 leave the state as it is.
    virtual void resetState();
    // A new speech bubble for the room to keep, or null.
    virtual Reaction* react();
    // The per-frame state machine: the frame's time in whole milliseconds and in seconds.
    virtual void think(unsigned ms, double seconds);
    // The actor's extra pictures (its sleep pictures).
    virtual void drawEffects();
    // Fills the animation map; called once by the subclass constructor.
    virtual void buildAnimations() = 0;

    CharacterType getType() const { return _type; }
    Map* getMap() const { return _map; }
    Player* getPlayer() const { return _player; }
    GphRect* getDrawable() const { return _drawable; }
    const CharacterAnimationMap& getAnimations() const { return _animations; }

    // The collision box: the sprite's box narrowed by the insets (the bottom is the sprite's).
    double getCollisionLeft() const;
    double getCollisionRight() const;
    double getCollisionTop() const;

    void setHarmful(bool harmful) { _harmful = harmful; }
    bool isHarmful() const { return _harmful; }
    void setGasImmune(bool gasImmune) { _gas_immune = gasImmune; }
    bool isGasImmune() const { return _gas_immune; }
    bool ignoresGasCloud() const { return _ignores_gas_cloud; }

    void setHitPoints(int hitPoints) { _hit_points = hitPoints; }
    int getHitPoints() const { return _hit_points; }
    void addHitPoints(int delta) { _hit_points += delta; }

    void setPushSpeed(double speed) { _push_speed = speed; }
    double getPushSpeed() const { return _push_speed; }
    void setSpeed(double speed) { _speed = speed; }
    double getSpeed() const { return _speed; }
    void setAlarmRange(double range) { _alarm_range = range; }
    double getAlarmRange() const { return _alarm_range; }
    void setSightRange(double range) { _sight_range = range; }
    double getSightRange() const { return _sight_range; }
    int getIdleTurn() const { return _idle_turn; }
    int getReserved() const { return _reserved; }

    // The state id only; the think shows the new state's animation on its next call.
    void setState(CharacterState state) { _state = state; }
    CharacterState getState() const { return _state; }
    CharacterState getStartState() const { return _start_state; }
    void faceLeft() { _facing_left = true; }
    void faceRight() { _facing_left = false; }
    bool isFacingLeft() const { return _facing_left; }
    bool isFacingRight() const { return !_facing_left; }

    // The ItemType dropped when the character is put to sleep; -1 for none.
    void setCarriedItem(int itemType) { _carried_item = itemType; }
    int getCarriedItem() const { return _carried_item; }

    // Stunned by a grenade or gas: 39 facing left, else 40.
    void stun();
    // Hit on the head by a falling obstacle: 32 facing left, else 33.
    void bonk();
    // 12, 13, 32, 33, 39, 40 and 55 to 58.
    bool isIncapacitated() const;
    // 41 after a left-facing knock-out (39, 32, 55, 57, 12), otherwise 42; sent behind the
    // other actors, one unit down, no hit points left. The picture follows in the think.
    void fallAsleep();
    // 41 and 42.
    bool isAsleep() const;

protected:
    // Gives the drawable the current state's animation when the map has one; otherwise the
    // drawable keeps what it shows. The animation is not restarted.
    void showStateAnimation();
    // Builds the animation of the files (see ObjectPictures) and keeps it under the state,
    // deleting any animation the state had.
    void addAnimation(CharacterState state, const std::vector<std::string>& fileNames,
                      unsigned msPerFrame = 0);
    // The animation of a state, or null.
    GphAnimatedTexture* findAnimation(CharacterState state) const;
    // Makes the drawable: a rectangle `width` along x and `length` along y at (x, y, z)
    // showing the start state's animation (none when it has none), drawn once, made the
    // sprite's graphic; then places the sprite at (x, y, z). Sizing the sprite is left to
    // the subclass, which does it before or after as its look needs.
    void makeDrawable(double x, double y, double z, double length, double width);

    Map* _map;
    Player* _player;
    GphRect* _drawable;
    CharacterType _type;
    CharacterAnimationMap _animations;
    bool _harmful;
    bool _gas_immune;
    int _hit_points;
    double _push_speed;
    double _speed;
    double _alarm_range;
    double _sight_range;
    double _horizontal_inset;
    double _top_inset;
    int _idle_turn;
    int _reserved;
    CharacterState _state;
    CharacterState _start_state;
    bool _facing_left;
    bool _ignores_gas_cloud;
    int _carried_item;

private:
    Character(const Character&) = delete;
    Character& operator=(const Character&) = delete;
};

#endif
