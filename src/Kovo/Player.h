#ifndef KOVO_KOVO_PLAYER_H
#define KOVO_KOVO_PLAYER_H

#include <istream>
#include <map>
#include <ostream>

#include "Base/App/AppBase.h"
#include "Common/Sprite.h"
#include "Kovo/CharacterState.h"

class GphAnimatedTexture;
class GphRect;
class SndSoundEffect;

// The hero's pictures by key: his CharacterState ids plus keys that only name pictures (the
// launcher and looking variants). Each value is owned by the player.
typedef std::map<int, GphAnimatedTexture*> PlayerAnimationMap;
// Idle picture numbers 0 to 14 not yet shown since the pool was last filled.
typedef std::map<int, bool> IdlePicturePool;

// The hero: one per game. He keeps his state and facing, the held movement keys, the counters
// of the score box and the objective panel, his equipment, the throw in progress, the idle
// clock, his pictures and his sounds. His motion is the room's business: the room moves him
// against the world and tells him what happened through the operations below.
//
// His box is 100 by 100 with the bottom-middle anchor: x, y is the point between his feet.
// He stands at depth -41 and is drawn at -10 while dying.
class Player : public Sprite {
    // --- Construction, pictures, counters and the state the room sets (Player.cpp) ---
public:
    explicit Player(AppBase* owner);
    ~Player() override;

    // Builds the animation map; called once by the constructor.
    void loadAnimations();
    const PlayerAnimationMap& getAnimations() const { return _animations; }
    GphRect* getBody() const { return _body; }
    GphRect* getMeterFrame() const { return _meter_frame; }
    GphRect* getMeterFill() const { return _meter_fill; }
    AppBase* getOwner() const { return _owner; }

    void setScore(int score) { _score = score; }
    void addScore(int points) { _score += points; }
    int getScore() const { return _score; }
    void setHealth(int health) { _health = health; }
    // At 100 points or more: one more life, back to 0, "victory.wav".
    void addHealth(int points);
    int getHealth() const { return _health; }
    void setLives(int lives) { _lives = lives; }
    void incLives() { ++_lives; }
    // Does not stop at 0: the game screen ends the game from the count.
    void decLives() { --_lives; }
    int getLives() const { return _lives; }
    void setGrenades(int grenades) { _grenades = grenades; }
    void addGrenades(int count) { _grenades += count; }
    int getGrenades() const { return _grenades; }

    // Sets the state and shows its picture when there is one.
    void setState(CharacterState state);
    CharacterState getState() const { return _state; }
    void faceLeft() { _facing_left = true; }
    void faceRight() { _facing_left = false; }
    bool isFacingLeft() const { return _facing_left; }
    bool isFacingRight() const { return !_facing_left; }

    // Units per second, upward positive. Setting 0 or more ends a fall: airborne and the fall
    // sound flag are cleared.
    void setVerticalSpeed(double speed);
    // Gravity's step; the first time a fall reaches -640 "fall.wav" plays.
    void addVerticalSpeed(double delta);
    double getVerticalSpeed() const { return _vertical_speed; }
    // Feet on a floor: no longer jumping or airborne, a fall turns to standing. Always false.
    bool land();
    // No floor under the feet: jumping and airborne; a launcher shot pose is dropped.
    void beginFall();
    bool isJumping() const { return _jumping; }
    bool isAirborne() const { return _airborne; }

    void setSuperShoes(bool on) { _super_shoes = on; }
    bool hasSuperShoes() const { return _super_shoes; }
    void setLauncher(bool on) { _launcher = on; }
    bool hasLauncher() const { return _launcher; }
    void loseEquipment();

    void beginMoveBack();
    bool isMovingBack() const;
    // Stands facing the current way with no movement key held.
    void stop();
    void flipSwitch();
    bool isFlippingSwitch() const;

    // Falls dead where he stands: the spot becomes the respawn point.
    void die();
    bool isDying() const;
    // Back on his feet at the respawn point with at least five grenades.
    void respawn();

    // The launcher shot pose while its recoil frames last.
    bool isInShotPose() const;
    // Ends the recoil part of the shot pose.
    void shortenShotPose();
    bool isThrowing() const;
    // The one-shot flag of a grenade leaving the hand or the launcher; reading clears it.
    bool takeProjectileReleased();
    // The throw speed across, at least 210 either way unless it is 0.
    double getThrowVelocityX();
    double getThrowVelocityY() const { return _throw_velocity_y; }

    // The hero's motion of the frame as the room reports it; a component that changes sign
    // is stored as 0 for this frame.
    void setVelocity(double x, double y);
    double getVelocityX() const { return _velocity_x; }
    double getVelocityY() const { return _velocity_y; }

    // No movement key held, no throw charging.
    void clearInput();

    double getInnerLeft() const { return getLeft() + 25; }
    double getInnerRight() const { return getRight() - 25; }

protected:
    // Restarts the effect at the hero's feet; a missing effect is skipped.
    void playSound(SndSoundEffect* effect);
    // A one-frame opaque picture drawn through decal, for the throw meter.
    static GphAnimatedTexture* loadMeterPicture(const char* fileName);

private:
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // --- Saved state (PlayerState.cpp) ---
public:
    // Entered after the caller has taken "<PLAYER>". 0, or -1 for a block that ends early or
    // holds a value that does not parse; a failed read leaves the hero as he was, except when
    // only the closing tag is missing. The picture is left for the next update to choose.
    int readState(std::istream& in) override;
    int writeState(std::ostream& out) override;

    // --- The frame step (PlayerUpdate.cpp) ---
public:
    // The hero's own frame, run by the room after it has moved him and reported his motion:
    // chooses his picture from his state, facing, held keys and equipment, ends the short
    // states (switch flip, launcher shot pose, hand throw), charges a throw while the throw
    // key is held and fires the launcher, counts the idle clock, beeps and shows idle
    // pictures, and advances the picture. Milliseconds drive the clocks and pictures,
    // `seconds` (ms / 1000) only the throw charge.
    void update(unsigned ms, double seconds);

protected:
    // The animation of a picture key, or null.
    GphAnimatedTexture* findAnimation(int key) const;
    // The key itself, or its launcher variant while he carries the launcher.
    int pictureKey(int key) const;
    // Gives the body the picture of the key (its launcher variant where there is one);
    // a missing picture leaves the body as it was. The animation shown, or null.
    GphAnimatedTexture* show(int key);
    // Shows the key and, when it was found, enters the state.
    GphAnimatedTexture* showState(int key, CharacterState state);
    // The left-facing id of a pair turned to the facing.
    int byFacing(int leftId) const { return _facing_left ? leftId : leftId + 1; }
    bool isHandThrow() const;

    void updateSwitchFlip();
    void updateShotPose();
    void updateHandThrow();
    void updateCharge(double seconds);
    void updateLook(int leftKey);
    void updateStill(unsigned ms);
    void updateRun(bool left);
    // Fires the launcher when he carries it and has a grenade: the shot pose, its sound and
    // one grenade fewer; the charge ends. False when there was nothing to fire.
    bool fireLauncher();

    // --- The throw meter and the idle pictures (PlayerDraw.cpp) ---
public:
    // The charge of a hand throw as a bar under his feet; drawn by the room before the scene.
    void drawThrowMeter();
    // The idle picture's bubble, if one is up; drawn by the room after the speech bubbles.
    void drawIdleBubble();

    // Fills the idle pool again, removes the idle bubble and restarts the idle clock.
    void resetIdle();
    // Puts up the next idle picture from the pool, above his head or, when that would leave
    // the view, below his feet. After every refill the first one is picture 1, and none
    // repeats until all fifteen have been shown.
    void showIdlePicture();

protected:
    void deleteIdleBubble();

    // --- Keys (PlayerInput.cpp) ---
public:
    // The keys, as the level hands them on: the space bar or Alt charges a throw and its
    // release lets it fly (with the launcher the press fires), Ctrl jumps, Tab drops a throw
    // being charged, the arrow keys run left and right and look up and down. Every press
    // counts as activity for the idle clock.
    void onCharDown(unsigned char c);
    void onCharUp(unsigned char c);
    void onKeyDown(AppKey key);
    void onKeyUp(AppKey key);

    // What the key handlers and the frame update work on.
    bool isLeftHeld() const { return _left_held; }
    bool isRightHeld() const { return _right_held; }
    bool isUpHeld() const { return _up_held; }
    bool isDownHeld() const { return _down_held; }
    bool isCharging() const { return _charging; }
    double getSavedX() const { return _saved_x; }
    double getSavedY() const { return _saved_y; }
    bool isFallSoundPlayed() const { return _fall_sound_played; }
    int getIdleClock() const { return _idle_clock; }
    const IdlePicturePool& getIdlePictures() const { return _idle_pictures; }
    GphRect* getIdleBubble() const { return _idle_bubble; }

protected:
    // A held key ends the launcher shot pose once its recoil is over.
    void leaveShotPose();

    // --- What he keeps ---
    AppBase* _owner;
    GphRect* _body;
    GphRect* _meter_frame;
    GphRect* _meter_fill;
    GphRect* _idle_bubble;
    int _score;
    int _health;
    int _lives;
    int _grenades;
    PlayerAnimationMap _animations;
    CharacterState _state;
    bool _facing_left;
    double _vertical_speed;
    double _saved_x;
    double _saved_y;
    bool _airborne;
    bool _fall_sound_played;
    bool _projectile_released;
    bool _grenade_thrown;
    double _throw_velocity_x;
    double _throw_velocity_y;
    double _velocity_x;
    double _velocity_y;
    int _idle_clock;
    IdlePicturePool _idle_pictures;
    bool _left_held;
    bool _right_held;
    bool _up_held;
    bool _down_held;
    bool _charging;
    bool _jumping;
    bool _super_shoes;
    bool _launcher;
    SndSoundEffect* _jump1_sound;
    SndSoundEffect* _jump2_sound;
    SndSoundEffect* _fall_sound;
    SndSoundEffect* _death_sound;
    SndSoundEffect* _throw_sound;
    SndSoundEffect* _launcher_sound;
    SndSoundEffect* _victory_sound;
    SndSoundEffect* _beep_sound;
    bool _beep_played;
};

#endif
