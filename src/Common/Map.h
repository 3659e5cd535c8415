#ifndef KOVO_COMMON_MAP_H
#define KOVO_COMMON_MAP_H

#include <istream>
#include <list>
#include <ostream>
#include <string>
#include <vector>

#include "Base/App/AppBase.h"
#include "Common/MapImageTable.h"

class AppBase;
class Barrier;
class Character;
class Door;
class CutScene;
class Exit;
class GphAnimatedTexture;
class GphCamera;
class GphParticleSystem;
class GphRect;
class Grenade;
class GrenadeGas;
class Hammer;
class Hazard;
class Hint;
class Item;
class Layer;
class Level;
class Obstacle;
class Platform;
class Player;
class Projectile;
class Snow;
class SndSoundEffect;
class Sprite;
class Switch;
struct CharacterRecord;

// One room of a level: its size and gravity, its tile layers and decoration, its barriers,
// and every prop, item and character in it, with the room's share of the hero's power-up
// times and of an exit in progress. The level owns its rooms and makes one of them current;
// a room is read once from the level file, entered each time the hero arrives by a door or a
// restart, drawn every frame and saved with the game.
//
// The room owns everything in its lists, its layers, backdrop, snow, cut-scene, pictures and
// sounds. An item is in the items list and in exactly one of the uncollected items and the
// transient sprites, which own it. The floors and ceilings of platforms and obstacles are
// owned through the room's barrier lists; decoration shares the pictures of the image table.
//
// Decoration moves with parallax: each rectangle stands at its read position plus (camera
// centre - (400, 300)) times its list's factor: 1 for the backdrop, 0.875 down to 0.125 for
// layers 1 to 7, -0.125 and -0.25 for layers 8 and 9, 0 for background and foreground
// objects. Every operation that moves the camera keeps this so.
class Map {
public:
    // The decoration layers 1 to 9 with their parallax factors and depths.
    static constexpr int kLayerCount = 9;
    static double layerFactor(int layer);
    static double layerDepth(int layer);

    Map(AppBase* owner, Level* level, Player* player);
    // Releases everything the room owns; the level, the hero and the owner stay.
    ~Map();
    Map(const Map&) = delete;
    Map& operator=(const Map&) = delete;

    // --- Reading (the "<MAP>" block of a level file) ---
    // The block behind "<MAP>" up to and including "</MAP>". 0, or -1 after the first
    // failure (logged): an unknown tag, a nested block that fails, a frame of an animation
    // that does not load, a stream that ends or a value that does not parse. What was read
    // before the failure stays in the room.
    int read(std::istream& in);

    // --- Queries ---
    int getId() const { return _id; }
    int getWidth() const { return _width; }
    int getHeight() const { return _height; }
    double getGravity() const { return _gravity; }
    bool isInputEnabled() const { return _inputEnabled; }
    // True while a hint panel freezes the room.
    bool hasHint() const { return _shownHint != nullptr; }
    // The image table's entry, or null.
    GphAnimatedTexture* imageById(int id) const { return _images.find(id); }
    // True for a solid cell of the foreground layer; false without one or outside its grid.
    bool isTileAt(int row, int col) const;
    // Appends the sprites with that id from the platforms, doors, characters and hammers, in
    // that order; the list is not cleared first.
    void findSpritesById(int id, std::list<Sprite*>& sprites) const;
    // The first running power-up in the order x-ray, shoes, armor, phone, launcher: its time
    // left and full duration; 0 and 15000 when none runs.
    void powerUpStatus(int& remaining, int& total) const;
    // The treasures (item types 0 to 5) that the room's file laid out, collected or not;
    // items dropped at run time do not count.
    int treasureCount() const;

    // --- Camera placement and arrival ---
    // The camera centred on (x, y) clamped to the room, decoration moved to match and the
    // snow started afresh around the view. Once, when a level starts.
    void placeCamera(double x, double y);
    // Prepares the room for the hero arriving at (x, y) with the power-up times left: the
    // camera and decoration follow him, actors near him start over, run-time leftovers of the
    // last visit go. Nothing happens without a camera.
    void enter(double x, double y, int xrayTime, int shoesTime, int armorTime, int phoneTime,
               int launcherTime);

    // --- Saved state ---
    // What changes during play: cut-scene progress, decoration positions, barriers, the state
    // of every object the level file creates, the saved camera, the timers, and the carried
    // and dropped items of the characters (so that a restore neither loses nor doubles
    // them). 0, or the first failing writer's result.
    int writeState(std::ostream& out);
    // Pours a saved block into a room just read from the same level file. 0, or non-zero
    // when the block ends early or does not fit the room (logged where a nested reader logs).
    int readState(std::istream& in);

    // --- Input ---
    // The held directions cleared; every obstacle stops being pushed and its push sound
    // follows. pause does the same when the level pauses.
    void pause();
    void clearInput();
    // Any character key dismisses a shown hint (unless the hero is dying or in the shot
    // pose); nothing else.
    void onCharDown(char c);
    // Ctrl starts a jump, the arrows set the held directions; a press while a hint shows only
    // dismisses it. Ignored while the hero walks into a door, dies or holds the shot pose.
    void onKeyDown(AppKey key);
    // Letting Ctrl go ends a rise; the arrows clear their held direction.
    void onKeyUp(AppKey key);

    // --- The frame step ---
    // The room's world step for the frame's elapsed milliseconds, while it is the level's
    // current room: props, the hero's motion, his grenades, the camera, his own update, the
    // characters and their requests, shots, pick-ups, power-up timers, grenades, effects,
    // exits and doors. A shown hint or an exit in progress freezes everything else.
    void update(unsigned ms);

    // --- Collision queries for actors ---
    // An actor passes its box (x, y at its position, its edges; y grows upward) and the move
    // it wants; the query corrects dx and dy in place and answers whether the move may go
    // on. Lists are scanned in order and the first barrier or object that meets a test
    // decides.
    //
    // A step along the ground. False when no floor under the centre carries the box (dx and
    // dy untouched), or when a wall or an obstacle ahead stops it (dx shortened to the
    // wall's near edge, or 0 at an obstacle). `moving` false with `heroWallTest` true also
    // refuses a step while a wall stands between the actor and the hero; `pushesObstacles`
    // lets it through pushable obstacles.
    bool moveHorizontally(double x, double y, double left, double right, double top,
                          double bottom, bool moving, bool heroWallTest, bool pushesObstacles,
                          double* dx, double* dy);
    // As moveHorizontally for walkers that will not step off a ledge: the ground under the
    // leading edge must lie at most 50 below the feet. `reason` tells why a step is refused:
    // 1 a wall, 2 no ground ahead (always so for dx 0), 0 anything else.
    bool walkAlongFloor(double x, double y, double left, double right, double top,
                        double bottom, bool moving, bool heroWallTest, bool pushesObstacles,
                        double* dx, double* dy, int* reason);
    // Flying and falling: a ceiling ahead stops a rise (dy 0); landing on a floor puts the
    // feet on it and answers false, except on a flat floor with `stopOnLanding` false, where
    // dy becomes 0 and the wall test follows: false when a wall's near edge lies across the
    // box's path (dx untouched).
    bool moveVertically(double x, double y, double left, double right, double top,
                        double bottom, bool stopOnLanding, double* dx, double* dy);
    // False when a floor at x lies between the box's bottom and the hero's top below it.
    bool isVerticalPathClear(double x, double y, double left, double right, double top,
                             double bottom) const;
    // A falling box (dy <= 0) whose feet a floor carries: dy set to reach the surface, the
    // floor's move added to dx, true. Floors of moving platforms that are not bridges are
    // passed through. `y` is not used.
    bool landOnFloor(double x, double y, double bottom, double* dx, double* dy) const;
    // True when no wall stands between the actor and the hero at both their heights and no
    // ceiling spanning both lies between them.
    bool isSightClear(double x, double y, double left, double right, double top,
                      double bottom) const;
    // A free-flying move clipped at the first wall it enters and under a ceiling it would
    // cross going up.
    void testWallHit(double x, double y, double left, double right, double top, double bottom,
                     double* dx, double* dy) const;
    // The alarm: within `range` across and 200 up or down of (x, y), both bounds inclusive.
    // An incapacitated character strictly toward lower x (`towardHigherX` false) or higher x
    // (true) answers true at once and sets `found`. A standing character whose speech bubble
    // stands at exactly its x (other than x) makes the answer true, and sets `found` when it
    // faces away from the looked-at side; the scan goes on. `found` is never cleared.
    bool findDownedCharacterAhead(double x, double y, double range, bool towardHigherX,
                                  bool* found) const;

    // --- Drawing ---
    // The room in depth order; the first draw lets the room take input.
    void draw();

    // --- What the reader filled, for the level, the frame step and the panels ---
    AppBase* getOwner() const { return _owner; }
    Level* getLevel() const { return _level; }
    Player* getPlayer() const { return _player; }
    GphRect* getBackdrop() const { return _backdrop; }
    Layer* getBackgroundLayer() const { return _backgroundLayer; }
    Layer* getEdgeLayer() const { return _edgeLayer; }
    Layer* getForegroundLayer() const { return _foregroundLayer; }
    // Layers 1 to 9 by number.
    const std::list<GphRect*>& getLayerObjects(int layer) const { return _layerObjects[layer - 1]; }
    const std::list<GphRect*>& getBackgroundObjects() const { return _backgroundObjects; }
    const std::list<GphRect*>& getForegroundObjects() const { return _foregroundObjects; }
    const std::list<Barrier*>& getWalls() const { return _walls; }
    const std::list<Barrier*>& getFloors() const { return _floors; }
    const std::list<Barrier*>& getCeilings() const { return _ceilings; }
    const std::list<Item*>& getItems() const { return _items; }
    const std::list<Item*>& getUncollectedItems() const { return _uncollectedItems; }
    const std::list<Item*>& getTransients() const { return _transients; }
    const std::list<Door*>& getDoors() const { return _doors; }
    const std::list<Exit*>& getExits() const { return _exits; }
    const std::list<Platform*>& getPlatforms() const { return _platforms; }
    const std::list<Obstacle*>& getObstacles() const { return _obstacles; }
    const std::list<Hammer*>& getHammers() const { return _hammers; }
    const std::list<Hazard*>& getHazards() const { return _hazards; }
    const std::list<Grenade*>& getGrenades() const { return _grenades; }
    const std::list<Switch*>& getSwitches() const { return _switches; }
    const std::list<Character*>& getCharacters() const { return _characters; }
    const std::list<Projectile*>& getEnemyProjectiles() const { return _enemyProjectiles; }
    const std::list<GphParticleSystem*>& getEffects() const { return _effects; }
    const std::list<Sprite*>& getReactions() const { return _reactions; }
    CutScene* getCutScene() const { return _cutScene; }
    Hint* getShownHint() const { return _shownHint; }
    Snow* getFrontSnow() const { return _frontSnow; }
    Snow* getIntermediateSnow() const { return _intermediateSnow; }
    Snow* getBackgroundSnow() const { return _backgroundSnow; }
    const MapImageTable& getImages() const { return _images; }
    double getLookOffset() const { return _lookOffset; }
    double getSavedCameraX() const { return _savedCameraX; }
    double getSavedCameraY() const { return _savedCameraY; }
    int getXrayTime() const { return _xrayTime; }
    int getArmorTime() const { return _armorTime; }
    int getShoesTime() const { return _shoesTime; }
    int getPhoneTime() const { return _phoneTime; }
    int getLauncherTime() const { return _launcherTime; }
    int getExitTimer() const { return _exitTimer; }
    int getExitCode() const { return _exitCode; }
    bool isHeldLeft() const { return _heldLeft; }
    bool isHeldRight() const { return _heldRight; }
    bool isHeldUp() const { return _heldUp; }
    bool isHeldDown() const { return _heldDown; }
    // How many items at the front of the items list the level file made; those after them
    // were dropped during play.
    size_t getFileItemCount() const { return _fileItemCount; }

private:
    // --- Reading (MapRead.cpp) ---
    // One tag of the block and its record; 0, -1, or TaggedText::kUnknownTag.
    int readTag(std::istream& in, const std::string& tag);
    int readSnow(std::istream& in, Snow*& snow, double z);
    int readTileLayer(std::istream& in, Layer*& layer, int kind, const char* failure);
    int readBarrier(std::istream& in, std::list<Barrier*>& list);
    int readCutScene(std::istream& in);
    int readExit(std::istream& in);
    int readPlatform(std::istream& in);
    int readObstacle(std::istream& in);
    int readHammer(std::istream& in);
    int readHazard(std::istream& in);
    int readDoor(std::istream& in);
    int readSwitch(std::istream& in, bool hidden);
    int readDecoration(std::istream& in, const std::string& tag);
    int readItem(std::istream& in);
    int readCharacter(std::istream& in);
    // After a character record: id, linked sprites and the switch of a thief.
    void linkCharacter(Character* character, const CharacterRecord& record);

    // --- Saved state (MapState.cpp) ---
    // The characters' carried items and the dropped items still lying, written only when
    // something differs from what the level file gives, so that a room where nothing was
    // carried or dropped keeps the plain saved layout.
    void writeRunTimeItems(std::ostream& out);
    // Reads them when they come next; without them the file's carried items stand.
    int readRunTimeItems(std::istream& in);

    // --- Drawing (MapDraw.cpp) ---
    void drawSortedList();
    // Inserts a sprite into the draw list by its box and its vertical key.
    static void insertSorted(std::list<Sprite*>& list, Sprite* sprite, bool keyIsBottom);
    // True for the characters drawn in the back passes rather than in the sorted list.
    static bool drawnBehind(const Character* character);

    // --- Collision query helpers (MapQuery.cpp) ---
    // The first floor whose band holds the feet, whose span holds p and that carries a box
    // moving by dx; null when none does.
    const Barrier* carryingFloor(double p, double bottom, double dx) const;
    // The first obstacle whose wall holds nx at the box's height: one ahead of x sets dx to
    // 0 and answers true unless it may be pushed through; one behind lets the move go.
    bool obstacleStops(double x, double nx, double top, double bottom, bool pushesObstacles,
                       double* dx) const;
    // dx shortened so that x stops on the wall's near edge, when that edge lies ahead.
    static bool clipAtWall(const Barrier* wall, double x, double* dx);
    // The wall stands across between x and the hero's x.
    bool wallBetweenActorAndHero(const Barrier* wall, double x) const;
    // The floor of a moving platform that is not a bridge.
    bool isPlatformFloorPassedThrough(const Barrier* floor) const;

    // --- Input (MapInput.cpp) ---
    void dismissHint();

    // --- Camera and parallax (MapCamera.cpp) ---
    GphCamera* camera() const;
    // The camera centre for a requested one: within 400 of the sides and 300 of the floor and
    // top, the low bound tested first.
    void clampCamera(double& x, double& y) const;
    // Moves the backdrop by (dx, dy) and each parallax layer by (dx, dy) times its factor.
    void moveParallax(double dx, double dy);
    // Every existing snow started afresh around the camera's view at its depth.
    void restartSnow();
    void followHero(double heroDy, double seconds);

    // --- The frame step and its own parts (MapFrame.cpp), in the order the step runs them ---
    // The hero's box as the frame step samples it.
    struct HeroBox {
        double x, y, left, right, top, bottom, halfWidth, halfLength;
    };
    HeroBox heroBox() const;
    void updateProps(unsigned ms, double seconds);
    void updateObstacles(double seconds, double gravityStep);
    // The dying hero's fall; false when he has fallen out of view and the room is done.
    bool updateDyingHero(const HeroBox& hero, double seconds, double gravityStep);
    // The hero is gone from the room: the view stays where it stood, a life is lost and the
    // level hears of it.
    void loseHero();
    // The walk into a door; false once it has taken the hero to another room.
    bool updateDoorWalk(double seconds);
    // Up at a switch flips it; at a usable door it starts the walk in (a locked one only
    // sounds).
    void useUpKey(const HeroBox& hero);
    void reachExits(const HeroBox& hero);
    void updateDoorsAndObstacles();
    // A hint panel shown at the point becomes the one that freezes the room; a panel still
    // up is put away first.
    void showHint(Hint* hint, double x, double y);
    // A room sound restarted at the camera centre; an absent sound is skipped.
    void playSound(SndSoundEffect* sound);
    void appendEffect(GphParticleSystem* effect);
    // Death by a hazard, a harmful touch or a shot: the hop, no held direction, no music.
    void killHero();

    // --- The hero's motion (MapMotion.cpp) ---
    // The launcher's recoil; the hero's vertical move of the frame (0).
    void updateShotPose(const HeroBox& hero, double seconds);
    // The hero's motion passes; each answers his vertical move of the frame.
    double moveHeroAlong(bool left, const HeroBox& hero, double seconds, double gravityStep);
    double moveHeroAirborne(const HeroBox& hero, double seconds, double gravityStep);
    double moveHeroStanding(const HeroBox& hero, double seconds);
    // Ceilings stop a rise, the first floor reached lands him, gravity pulls; the tolerance
    // is how far above a surface the feet may stop and still land.
    void fallOrRise(const HeroBox& hero, double nx, double vy, double seconds,
                    double gravityStep, double tolerance, double& dy);
    // Pushers (dozers) driving into the walking hero push him the other way: in the left pass those on
    // his left walking right (`fromLeft`), in the right pass those on his right walking left.
    // A push that would put him into a wall or an obstacle is cancelled and turns the dozer.
    void pushedByDozers(const HeroBox& hero, double nx, double seconds, bool fromLeft,
                        double& dx);
    // The same for a hero standing still, from either side.
    void pushedByDozersStanding(const HeroBox& hero, double seconds, double& dx);
    // True when the point lies strictly inside a wall, or else an obstacle's wall, at the
    // hero's height.
    bool heroBlockedAt(const HeroBox& hero, double px) const;
    void meetObstacle(bool left, const HeroBox& hero, double nx, double& dx);
    // Hazards at the planned centre nx kill the hero.
    void applyHazards(const HeroBox& hero, double nx);

    // --- Characters in the frame step (MapCharacters.cpp) ---
    void updateCharacters(const HeroBox& hero, unsigned ms, double seconds);
    void dropCarriedItem(Character* character);
    // What the actor asks for after its think: shots, bombs, a dropped hint.
    void takeRequests(Character* character, unsigned ms);
    // A hint folder at the actor, its panel shown at (x, y) freezing the room.
    void showDroppedHint(Character* character, const std::string& panel,
                         const std::string& objective, double x, double y);
    void slamBrawlers(Character* brawler);
    void shoveObstacles(Character* pusher, const HeroBox& hero, double seconds);
    void knockBrawlers(Character* machine);
    // The actor meets the hero by its contact rule.
    static bool meetsHero(const Character* character, const HeroBox& hero);
    void touchHero(Character* character, const HeroBox& hero);
    void showCharacterHint(Character* character, const HeroBox& hero);
    void updateReactions(unsigned ms);
    void stunCharacter(Character* character);
    void updateEnemyProjectiles(const HeroBox& hero, unsigned ms, double seconds);

    // --- Pick-ups and power-ups (MapPickUps.cpp) ---
    // The foreground translucent (x-ray) or opaque, with the decoration in front of the hero.
    void applyXray(bool on);
    // The hero's phone switches the machines off, and on again when it runs out.
    void setOffMachines(bool off);
    void updateTransients(double seconds);
    void pickUpItems(const HeroBox& hero, double seconds);
    void applyPickUp(Item* item, const HeroBox& hero);
    void countDownPowerUps(unsigned ms);

    // --- Grenades, gas, smoke and sparks (MapGrenades.cpp) ---
    void releaseGrenade();
    void updateGrenades(unsigned ms, double seconds, double gravityStep);
    // A grenade bursts into a gas cloud among the effects.
    void releaseGas(Grenade* grenade);
    // The characters a gas cloud reaches are stunned.
    void stunInGas(const GrenadeGas* gas);
    void updateEffects(double seconds);

    AppBase* _owner;
    Level* _level;
    Player* _player;
    int _id;
    int _width;
    int _height;
    double _gravity;
    GphRect* _backdrop;
    Layer* _backgroundLayer;
    Layer* _edgeLayer;
    Layer* _foregroundLayer;

    std::list<GphRect*> _layerObjects[kLayerCount];
    std::list<GphRect*> _backgroundObjects;
    std::list<GphRect*> _foregroundObjects;
    std::list<Barrier*> _walls;
    std::list<Barrier*> _floors;
    std::list<Barrier*> _ceilings;
    std::list<Item*> _items;
    std::list<Item*> _uncollectedItems;
    std::list<Item*> _transients;
    std::list<Door*> _doors;
    std::list<Exit*> _exits;
    std::list<Platform*> _platforms;
    std::list<Obstacle*> _obstacles;
    std::list<Hammer*> _hammers;
    std::list<Hazard*> _hazards;
    std::list<Grenade*> _grenades;
    std::list<Switch*> _switches;
    std::list<Character*> _characters;
    std::list<Projectile*> _enemyProjectiles;
    std::list<GphParticleSystem*> _effects;
    // The gas clouds among the effects, which stun the characters they reach.
    std::list<GrenadeGas*> _gasClouds;
    std::list<Sprite*> _reactions;

    CutScene* _cutScene;
    Hint* _shownHint;
    Snow* _frontSnow;
    Snow* _intermediateSnow;
    Snow* _backgroundSnow;
    MapImageTable _images;

    SndSoundEffect* _xrayOffSound;
    SndSoundEffect* _robotOnSound;
    SndSoundEffect* _victorySound;
    SndSoundEffect* _victory2Sound;
    SndSoundEffect* _lockedSound;
    SndSoundEffect* _knifeDeflectionSound;
    SndSoundEffect* _bulletSound;

    double _lookOffset;
    double _doorWalkStartY;
    Door* _doorWalkDoor;
    double _savedCameraX;
    double _savedCameraY;
    int _xrayTime;
    int _armorTime;
    int _shoesTime;
    int _phoneTime;
    int _launcherTime;
    int _exitTimer;
    int _exitCode;
    bool _heldLeft;
    bool _heldRight;
    bool _heldUp;
    bool _heldDown;
    bool _inputEnabled;
    size_t _fileItemCount;
    // The item each character carried as the level file gave it, in list order.
    std::vector<int> _fileCarried;
};

#endif
