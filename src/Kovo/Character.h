#ifndef KOVO_KOVO_CHARACTER_H
#define KOVO_KOVO_CHARACTER_H

#include <functional>
#include <istream>
#include <list>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "Common/Sprite.h"
#include "Kovo/CharacterRequest.h"
#include "Kovo/CharacterState.h"
#include "Kovo/CharacterType.h"
#include "Kovo/SleepZList.h"

class GphAnimatedTexture;
class GphRect;
class Map;
class Player;
class Reaction;
class SndSoundEffect;
class Switch;

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
// Writing a new actor class:
// - The constructor, after this one: sets its own fields, calls buildAnimations, makes its
//   drawable (makeDrawable), sizes the sprite and loads its sounds with loadSound (released
//   with the actor). An actor that keeps between two x limits is a Walker, one that charges
//   the hero and runs past him a Charger.
// - think runs the actor's state machine: one method per group of states for what it does
//   awake, and thinkKnockedOut for the knock-out, fall and sleep states that go as for
//   every knocked-out actor (bonked or gassed: a sound once, asleep at a frame; a wall
//   slam; a fall off a ledge; a knock by a machine; asleep with rising Z pictures), with
//   the class's sounds and numbers in a KnockOutLook. An actor whose knock-out differs in
//   one of those states uses the pieces (knockOutRunsOut, fallOffLedge, slammed,
//   knockedAway, sleep) around its own lines. advanceAnimation ends the think.
// - Every switch of state the think makes goes through enterState (or turnTo when the
//   actor turns round with it); what the class resets on every entry to a state (timers,
//   turning points) starts afresh in its onEnterState, and a reset that belongs to one
//   switch only (a charge's start, not its turns) stays beside that switch.
// - A standing actor that turns toward a downed comrade after a wait uses turnToAlarm with
//   its own timer; run pictures shown twice each come from runFramesTwice.
// - Sleep Z pictures are the base's: updateSleepZ at the start of every think of an actor
//   that shows sleep, drawn by the base drawEffects.
// - What the room asks of an actor has a default that suits an actor its rule does not
//   concern (see "What the room asks" below). Where the room's rules single a type out, its
//   class says so in its constructor: addTraits (drawn behind: Agent, Turret, Knight; back
//   to start on every entry: Knight; Pusher: Dozer; KnocksAside: Dozer, Cart; Brawler:
//   Thug; WideGasCatch: Rat; Cockpit: Copter) and setContact (CentreWellInside: Icicle,
//   Drop; CentreInside: Agent; Boxes: Ego2). It overrides takeRequest when it fires,
//   throws, bombs or drops (the request says where and what), setOff for a machine the
//   phone stops (Robot, Dozer, Buzzooka), setSwitch (Thief1), setLinkedSprites (Ego2,
//   Copter), and the hint functions for a bystander with a hint (Agent, Ego2).
// - Game randomness (a random turn, a bomb's spot) is drawn as GameRandom::draw() % n.
// - Its row in CharacterRegistry builds it from its level-file record.
class Character : public Sprite {
public:
    Character(Map* map, Player* player, CharacterType type, double horizontalInset,
              double topInset, int anchor, bool harmful, bool gasImmune, int hitPoints,
              double pushSpeed, double speed, double alarmRange, double sightRange, int idleTurn,
              int reserved, CharacterState state, bool facingLeft, bool ignoresGasCloud);
    // Takes the animation off the drawable, deletes the drawable and every animation.
    ~Character() override;

    // Entered after the caller has taken "<CHARACTER>". 0, or -1 for a block that ends early
    // or holds a value that does not parse (the closing tag included); a failed read leaves
    // the character as it was.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;
    // Back to the start state turned to the current facing, then shows it. Start states
    // outside the pairs 1/2, 3/4, 6/7, 10/11, 14/15 and 22/23 leave the state as it is.
    virtual void resetState();
    // A new speech bubble for the room to keep, or null.
    virtual Reaction* react();
    // The per-frame state machine: the frame's time in whole milliseconds and in seconds.
    virtual void think(unsigned ms, double seconds);
    // The actor's extra pictures: its sleep Z pictures.
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

    // --- What the room asks ---
    // How the room tells that the actor meets the hero, for a harmful actor's deadly touch
    // and for a bystander's hint; their heights must always overlap.
    enum Contact {
        // The hero's centre strictly inside the actor's sides, the actor's collision top
        // above his feet.
        ContactHeroCentre,
        // The actor's centre more than 10 inside the hero's sides (a falling icicle or drop).
        ContactCentreWellInside,
        // The actor's centre strictly inside the hero's sides.
        ContactCentreInside,
        // Their boxes overlapping.
        ContactBoxes
    };
    Contact getContact() const { return _contact; }

    // The room's rules that single some actors out; none by default.
    enum Trait : unsigned {
        // Drawn in the back passes, behind the hero and the actors drawn in depth order.
        TraitDrawnBehind = 1u << 0,
        // Sent back to its start whenever the hero arrives in the room, near or far.
        TraitBackToStartOnEntry = 1u << 1,
        // Drives into the hero and into pushable obstacles, shoving them at its push speed.
        TraitPusher = 1u << 2,
        // Knocks brawlers away when it runs into them.
        TraitKnocksAside = 1u << 3,
        // Knocked away by machines, and slammed when it meets another brawler head on.
        TraitBrawler = 1u << 4,
        // A gas cloud reaches it from a little beyond its sides.
        TraitWideGasCatch = 1u << 5,
        // A grenade in the cockpit beside it stuns it without gas while it faces right.
        TraitCockpit = 1u << 6
    };
    bool hasTrait(Trait trait) const { return (_traits & trait) != 0; }

    // The next thing the actor asks the room to make this frame, into `request`; false when
    // there is none (the default). The room asks right after the actor's think until it
    // answers false, so a request's point is where the actor stands after its think.
    virtual bool takeRequest(CharacterRequest& request);
    // The hero's phone switches machines off, and on again when it runs out.
    virtual void setOff(bool off);
    // As the room is read: every switch of the room with the actor's id, in order (the last
    // one stays), and the sprites its record links it to (never an empty list).
    virtual void setSwitch(Switch* toggled);
    virtual void setLinkedSprites(const std::list<Sprite*>& sprites);
    // A bystander's hint, shown once when the hero meets it: the panel picture shown above
    // it, the one shown below it when above would leave the view, and the objective picture.
    // An actor without a hint counts as having shown it.
    virtual bool isHintShown() const;
    virtual void setHintShown(bool shown);
    virtual void getHintTexts(std::string& above, std::string& below,
                              std::string& objective) const;
    // A machine hits a brawler: it flies off to the right (true) or left, rising at first.
    void knock(bool toRight);
    // A brawler slams into a wall, or into another charging the other way: the slam picture
    // from its start.
    void slamWall();

    // Units per second, up positive, while falling or knocked away.
    double getVerticalSpeed() const { return _vertical_speed; }
    // The knock-out sound has been played; one flag for every knock-out state.
    bool isHurtSoundPlayed() const { return _hurt_sound_played; }
    // A knocked-away flight has met a wall and goes on straight down.
    bool isKnockBlocked() const { return _knock_blocked; }
    const SleepZList& getSleepZList() const { return _sleep_z_list; }
    int getSleepZTimer() const { return _sleep_z_timer; }

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

    // The mark on a frame number that means an animation's last frame, whatever its length.
    static constexpr unsigned kLastFrame = ~0u;

protected:
    // Where a sleeping actor's Z pictures appear, given for sleep facing left (41) and
    // mirrored for 42: from its left edge, centre or right edge, `across` to the right
    // (negative: to the left), `up` above its position.
    struct SleepZSpot {
        enum From { LeftEdge, Centre, RightEdge };
        From from;
        double across;
        double up;
    };

    // The sounds and numbers of one class's knock-outs; a null sound is skipped.
    struct KnockOutLook {
        // Bonked by a falling obstacle (32, 33) and stunned by a grenade or gas (39, 40).
        SndSoundEffect* bonkSound;
        SndSoundEffect* gasSound;
        // Slammed into a wall (55, 56); a fall off a ledge lands with it too.
        SndSoundEffect* slamSound;
        // Toppling off a ledge (12, 13) and knocked away by a machine (57, 58).
        SndSoundEffect* fallSound;
        SndSoundEffect* knockSound;
        // The frame of the bonked and gassed pictures at which the actor falls asleep.
        unsigned outFrame;
        // How far a slammed body moves back off the wall as it falls asleep.
        double slamRebound;
        SleepZSpot sleepZ;
    };

    // The room's rules for this class (see Trait and Contact).
    void addTraits(unsigned traits) { _traits |= traits; }
    void setContact(Contact contact) { _contact = contact; }

    // --- State entry ---
    // Switches to a state and shows its animation, from the first frame when `rewind`,
    // else from where it stood; then onEnterState. False, and nothing changed, when the
    // state has no animation.
    bool enterState(CharacterState state, bool rewind);
    // enterState from the first frame, turning the actor to face left or right with it.
    bool turnTo(CharacterState state, bool faceLeft);
    // What the class counts per state, started afresh on entering it; the base has nothing.
    virtual void onEnterState(CharacterState state);
    // The standing actor's wait to turn toward a downed or alerted comrade behind it, kept in
    // the class's `timer`: a comrade found starts the wait; once it has run past `delay` the
    // actor turns round on the spot, then `afterTurn` (when given) and the timer starts afresh.
    // A started wait keeps counting until the turn. True when the standing step ends there
    // (the wait started, or the turn was tried).
    bool turnToAlarm(unsigned ms, int delay, int& timer,
                     const std::function<void()>& afterTurn = nullptr);

    // --- The hero as the actor sees him ---
    // His height overlapping the actor's, his feet up to `above` over its head (inclusive).
    bool heroOnLevel(double above = 0) const;
    // His x beyond the actor's on the left (or right) side.
    bool heroInFront(bool left) const;
    // In front on that side, and at most the sight range past the actor's edge there.
    bool heroWithinSight(bool left) const;
    // Not dying, on its level (up to `above` over its head) and within sight on that side.
    bool seesHero(bool left, double above = 0) const;

    // --- Steps along the ground ---
    // How the frame's step meets the room.
    enum Step {
        // Only tried, not made: a wall between the actor and the hero refuses it too.
        StepProbe,
        // Made: the caller moves by what the room leaves of it.
        StepMove,
        // Made, shoving pushable obstacles instead of stopping at them.
        StepPush
    };
    // The frame's step at the actor's speed toward the left (or right), with the actor's box,
    // through the room's moveHorizontally: dx and dy as the room leaves them; false when it is
    // refused (always so without a room).
    bool stepAcross(bool left, Step step, double seconds, double* dx, double* dy);
    // The same through walkAlongFloor, which also refuses a step off a ledge; `reason` as the
    // room gives it (1 a wall, 2 no ground ahead), 0 without a room.
    bool stepAlongFloor(bool left, Step step, double seconds, double* dx, double* dy,
                        int* reason);

    // --- Requests ---
    // A raised one-shot fire flag taken as a bullet from the edge the actor faces, `height`
    // above its feet, flying the way it faces; false, and nothing done, when it is down.
    bool takeBullet(bool& fireRequest, double height, CharacterRequest& request);

    // --- Pictures and sounds ---
    // Gives the drawable the current state's animation when the map has one; otherwise the
    // drawable keeps what it shows. The animation is not restarted.
    void showStateAnimation();
    // The same with another state's animation (a state shown with a borrowed picture).
    void showState(CharacterState state);
    // The drawable's animation advanced by the frame; a missing one is left alone.
    void advanceAnimation(unsigned ms);
    // True when the state's animation shows that frame (or its last, for kLastFrame).
    bool showsFrame(CharacterState state, unsigned frame) const;
    // A sound made for this actor and released with it; null when it cannot be made.
    SndSoundEffect* loadSound(const char* fileName);
    // Restarts a sound at the actor's position; a null sound is skipped.
    void playSound(SndSoundEffect* sound);

    // --- Falling ---
    // Gravity's step, only while not yet falling at the largest speed.
    void accelerateDown(double seconds);
    // The room's landing test with the actor's feet.
    bool landsOnFloor(double* dx, double* dy) const;

    // --- The knock-out tail ---
    // The step of a knock-out, fall or sleep state (12, 13, 32, 33, 39 to 42, 55 to 58)
    // with the class's look; false, and nothing done, in any other state.
    bool thinkKnockedOut(unsigned ms, double seconds, const KnockOutLook& look);
    // Bonked, gassed or slammed: the current state's picture keeping its frame; the first
    // think plays the sound once (and ends there); afterwards true when the picture shows
    // `outFrame` (kLastFrame: its last).
    bool knockOutRunsOut(SndSoundEffect* sound, unsigned outFrame);
    // Toppling off a ledge: the fall pictures run to their last frame and hold it; then the
    // fall sound once, then a fall under gravity until a floor lands the actor asleep with
    // the landing sound.
    void fallOffLedge(double seconds, SndSoundEffect* fallSound, SndSoundEffect* landSound);
    // A wall slam running out: asleep, moved `rebound` back off the wall.
    void slammed(SndSoundEffect* sound, double rebound);
    // Knocked away (57 left, 58 right) with the stunned picture: the sound once, then a
    // flight at twice the speed that a wall turns straight down, until a floor lands it
    // asleep.
    void knockedAway(double seconds, SndSoundEffect* sound);
    // Asleep: the state's picture, and a new Z picture at the spot every second.
    void sleep(unsigned ms, const SleepZSpot& spot);
    // Rises and fades the Z pictures; every think of an actor that shows sleep starts so.
    void updateSleepZ(double seconds);
    // Builds the animation of the files (see ObjectPictures) and keeps it under the state,
    // deleting any animation the state had.
    void addAnimation(CharacterState state, const std::vector<std::string>& fileNames,
                      unsigned msPerFrame = 0);
    // The run pictures "<prefix>run<way><n>.pcx" for n from 1 to `count`, each twice in a row.
    static std::vector<std::string> runFramesTwice(const std::string& prefix, const char* way,
                                              int count);
    // A cough that shakes the actor three times between its two gassed pictures, then a long
    // last look at the second: eight frames.
    static std::vector<std::string> coughFrames(const std::string& first,
                                                const std::string& second);
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
    double _vertical_speed;
    bool _hurt_sound_played;
    bool _knock_blocked;
    SleepZList _sleep_z_list;
    int _sleep_z_timer;
    unsigned _traits;
    Contact _contact;

private:
    // What loadSound made, released with the actor.
    std::vector<SndSoundEffect*> _sounds;

    Character(const Character&) = delete;
    Character& operator=(const Character&) = delete;
};

#endif
