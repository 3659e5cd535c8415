#include "Common/Map.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>
#include <utility>

#include "Base/App/AppBase.h"
#include "Base/App/Log.h"
#include "Base/App/Platform.h"
#include "Base/App/TaggedText.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphParticleSystem.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Common/Barrier.h"
#include "Common/CharacterRecord.h"
#include "Common/CutScene.h"
#include "Common/Exit.h"
#include "Common/GameConstants.h"
#include "Common/ItemRecord.h"
#include "Common/Layer.h"
#include "Common/Level.h"
#include "Common/MapFactory.h"
#include "Kovo/Armor.h"
#include "Kovo/Bomb.h"
#include "Kovo/Character.h"
#include "Kovo/Diamond.h"
#include "Kovo/Door.h"
#include "Kovo/Grenade.h"
#include "Kovo/GrenadeGas.h"
#include "Kovo/GrenadeLauncher.h"
#include "Kovo/Hammer.h"
#include "Kovo/Hazard.h"
#include "Kovo/Hint.h"
#include "Kovo/Item.h"
#include "Kovo/ItemType.h"
#include "Kovo/Obstacle.h"
#include "Kovo/Phone.h"
#include "Kovo/Platform.h"
#include "Kovo/Player.h"
#include "Kovo/Projectile.h"
#include "Kovo/Reaction.h"
#include "Kovo/Shoes.h"
#include "Kovo/Smoke.h"
#include "Kovo/Snow.h"
#include "Kovo/Sparks.h"
#include "Kovo/Switch.h"
#include "Kovo/Treasure.h"
#include "Kovo/XRayGlasses.h"

namespace {

// The view is 800 by 600 units; the camera centre keeps half of it inside the room.
const double kHalfViewWidth = 400.0;
const double kHalfViewHeight = 300.0;

// Entering a room sends the actors near the arrival point back to their start.
const double kResetBoxHalfWidth = 200.0;
const double kResetBoxHalfHeight = 100.0;

// A jump starts at the jump speed plus this; super shoes double the jump speed instead.
const double kJumpBoost = 70.0;
// The world stands still this long after an exit before the level is finished (ms).
const int kExitDelay = 1500;
// An obstacle stands with its bottom this far below the surface that holds it.
const double kObstacleFoot = 10.0;
// A dying hero whose top is this far below the camera centre has fallen out of view.
const double kFallenOutOfView = 1000.0;
// Walking into a door takes him this far up.
const double kDoorWalkRise = 40.0;
// Half the width of the hero's body that hazards and pushing dozers reach.
const double kHazardReach = 15.0;
const double kDozerReach = 10.0;
// A launcher grenade leaves this far above his feet; grenades are this big.
const double kLauncherHeight = 50.0;
const double kGrenadeSize = 40.0;
// The view follows a rising or falling hero whose top is within this of its edges, and
// looking up or down keeps this much of the view beyond him.
const double kLookMargin = 200.0;
const double kLookLimit = 80.0;
// A grenade whose top is this far below the room's floor line has fallen out of it.
const double kGrenadeLostDepth = -600.0;

// The alarm looks this far up and down.
const double kAlarmHeight = 200.0;
// Shots of guns are this big.
const double kBulletSize = 16.0;
// Two Thugs that meet head on are each thrown this far on.
const double kSlamShift = 20.0;
// Hints that characters give are all but invisible: only their panel shows.
const float kHintItemAlpha = 0.02f;
// A hint panel stands this far above a head (or below the feet), and is this high by half.
const double kHintPanelLift = 105.0;
const double kHintPanelHalfHeight = 100.0;
// An item's centre must lie this far inside a standing or a moving hero's sides.
const double kStandingReach = 25.0;
const double kMovingReach = 10.0;
// A grenade bursts on a surface it reaches within this far below its bottom.
const double kGrenadeLandReach = 40.0;
// A thrown grenade bounces off a wall with three quarters of its speed: -dx * 750 / ms.
const double kBounceFactor = 750.0;
// A gas cloud reaches this far above and below its centre, and this much wider for a rat.
const double kGasHeight = 50.0;
const double kRatGasReach = 10.0;

// Dropped items a saved room may carry; more is taken as a corrupt save.
const int kMaxSavedDrops = 100000;

// Allocation that takes the program's one fatal path when memory runs out.
template <class T, class... Args>
T* make(Args&&... args)
{
    T* made = new (std::nothrow) T(std::forward<Args>(args)...);
    if (!made) KOVO_NEW_FAILED();
    return made;
}

// Reads the block of a freshly made object; one that fails to read is logged and deleted.
template <class T>
T* readWhole(T* object, std::istream& in, const char* failure)
{
    if (object->read(in) == 0) return object;
    LOG(failure);
    delete object;
    return nullptr;
}

template <class T>
void deleteAll(std::list<T*>& list)
{
    for (T* object : list) delete object;
    list.clear();
}

// Decoration shares the image table's pictures: each rectangle lets go of its picture first.
void deleteDecoration(std::list<GphRect*>& list)
{
    for (GphRect* rect : list) {
        rect->setAnimatedTexture(nullptr);
        delete rect;
    }
    list.clear();
}

void setAlpha(std::list<GphRect*>& list, float alpha)
{
    for (GphRect* rect : list) rect->setAlpha(alpha);
}

template <class T>
void drawAll(const std::list<T*>& list)
{
    for (T* object : list) object->draw();
}

// The background objects drawn in the opaque pass are those showing a decal picture; those
// with another picture go in the transparent pass, those without one in neither.
bool isOpaquePicture(const GphRect* rect, bool& hasPicture)
{
    const GphAnimatedTexture* texture = rect->getAnimatedTexture();
    const GphTexture* frame = texture ? texture->getCurrentTexture() : nullptr;
    hasPicture = frame != nullptr;
    return frame && frame->getMode() == GL_DECAL;
}

// Each object's saved block, in list order; the first failing writer's result.
template <class T>
int writeSprites(std::ostream& out, const std::list<T*>& list)
{
    for (T* object : list) {
        const int result = object->writeState(out);
        if (result != 0) return result;
    }
    return 0;
}

// Each object's saved block after its opening tag, in list order; the first failing reader's
// result, or -1 when the stream ends.
template <class T>
int readSprites(std::istream& in, const std::list<T*>& list)
{
    std::string opening;
    for (T* object : list) {
        if (!TaggedText::readToken(in, opening)) return -1;
        const int result = object->readState(in);
        if (result != 0) return result;
    }
    return 0;
}

bool readClosing(std::istream& in)
{
    std::string closing;
    return TaggedText::readToken(in, closing);
}

}  // namespace

double Map::layerFactor(int layer)
{
    static const double factors[kLayerCount] = {0.875, 0.75, 0.625, 0.5,   0.375,
                                                0.25,  0.125, -0.125, -0.25};
    return factors[layer - 1];
}

double Map::layerDepth(int layer)
{
    static const double depths[kLayerCount] = {
        GameConstants::zLayer1, GameConstants::zLayer2, GameConstants::zLayer3,
        GameConstants::zLayer4, GameConstants::zLayer5, GameConstants::zLayer6,
        GameConstants::zLayer7, GameConstants::zLayer8, GameConstants::zLayer9};
    return depths[layer - 1];
}

// ---------------------------------------------------------------------------------------------
// Construction and destruction

Map::Map(AppBase* owner, Level* level, Player* player)
    : _owner(owner),
      _level(level),
      _player(player),
      _id(0),
      _width(0),
      _height(0),
      _gravity(1.0),
      _backdrop(nullptr),
      _backgroundLayer(nullptr),
      _edgeLayer(nullptr),
      _foregroundLayer(nullptr),
      _cutScene(nullptr),
      _shownHint(nullptr),
      _frontSnow(nullptr),
      _intermediateSnow(nullptr),
      _backgroundSnow(nullptr),
      _xrayOffSound(nullptr),
      _robotOnSound(nullptr),
      _victorySound(nullptr),
      _victory2Sound(nullptr),
      _lockedSound(nullptr),
      _knifeDeflectionSound(nullptr),
      _bulletSound(nullptr),
      _lookOffset(0),
      _doorWalkStartY(0),
      _doorWalkDoor(nullptr),
      _savedCameraX(0),
      _savedCameraY(0),
      _xrayTime(0),
      _armorTime(0),
      _shoesTime(0),
      _phoneTime(0),
      _launcherTime(0),
      _exitTimer(0),
      _exitCode(0),
      _heldLeft(false),
      _heldRight(false),
      _heldUp(false),
      _heldDown(false),
      _inputEnabled(false),
      _fileItemCount(0)
{
    _robotOnSound = SndSoundEffect::create("robot_on.wav");
    _xrayOffSound = SndSoundEffect::create("xray_off.wav");
    _victorySound = SndSoundEffect::create("victory.wav");
    _victory2Sound = SndSoundEffect::create("victory2.wav");
    _lockedSound = SndSoundEffect::create("locked.wav");
    _knifeDeflectionSound = SndSoundEffect::create("knife_deflection.wav");
    _bulletSound = SndSoundEffect::create("bullet.wav");
}

Map::~Map()
{
    delete _cutScene;
    _cutScene = nullptr;
    delete _backgroundSnow;
    delete _intermediateSnow;
    delete _frontSnow;
    _backgroundSnow = _intermediateSnow = _frontSnow = nullptr;

    deleteAll(_enemyProjectiles);
    deleteAll(_characters);
    deleteAll(_reactions);
    deleteAll(_effects);
    deleteAll(_switches);
    deleteAll(_grenades);
    deleteAll(_hammers);
    deleteAll(_hazards);
    deleteAll(_obstacles);
    deleteAll(_platforms);
    deleteAll(_exits);
    deleteAll(_doors);
    // Every item of the items list is in exactly one of these two.
    deleteAll(_uncollectedItems);
    deleteAll(_transients);
    _items.clear();
    _shownHint = nullptr;
    _doorWalkDoor = nullptr;

    deleteAll(_walls);
    deleteAll(_floors);
    deleteAll(_ceilings);

    for (int layer = kLayerCount; layer >= 1; --layer) deleteDecoration(_layerObjects[layer - 1]);
    deleteDecoration(_backgroundObjects);
    deleteDecoration(_foregroundObjects);
    _images.clear();

    delete _backgroundLayer;
    delete _edgeLayer;
    delete _foregroundLayer;
    _backgroundLayer = _edgeLayer = _foregroundLayer = nullptr;

    if (_backdrop) {
        _backdrop->setAnimatedTexture(nullptr);
        delete _backdrop;
        _backdrop = nullptr;
    }

    SndSoundEffect::release(_xrayOffSound);
    SndSoundEffect::release(_robotOnSound);
    SndSoundEffect::release(_victorySound);
    SndSoundEffect::release(_victory2Sound);
    SndSoundEffect::release(_lockedSound);
    SndSoundEffect::release(_knifeDeflectionSound);
    SndSoundEffect::release(_bulletSound);
}

// ---------------------------------------------------------------------------------------------
// Queries

bool Map::isTileAt(int row, int col) const
{
    return _foregroundLayer && _foregroundLayer->isSolidTile(row, col);
}

void Map::findSpritesById(int id, std::list<Sprite*>& sprites) const
{
    for (Platform* platform : _platforms)
        if (platform->getId() == id) sprites.push_back(platform);
    for (Door* door : _doors)
        if (door->getId() == id) sprites.push_back(door);
    for (Character* character : _characters)
        if (character->getId() == id) sprites.push_back(character);
    for (Hammer* hammer : _hammers)
        if (hammer->getId() == id) sprites.push_back(hammer);
}

void Map::powerUpStatus(int& remaining, int& total) const
{
    const struct {
        int time;
        int duration;
    } powerUps[] = {{_xrayTime, GameConstants::powerUpDuration},
                    {_shoesTime, GameConstants::powerUpDuration},
                    {_armorTime, GameConstants::powerUpDuration},
                    {_phoneTime, GameConstants::phoneDuration},
                    {_launcherTime, GameConstants::launcherDuration}};
    for (const auto& powerUp : powerUps) {
        if (powerUp.time >= 1) {
            remaining = powerUp.time;
            total = powerUp.duration;
            return;
        }
    }
    remaining = 0;
    total = GameConstants::powerUpDuration;
}

int Map::treasureCount() const
{
    // The room's own treasure, as its file lays it out: what sleepers drop is a bonus, so the
    // total recounted after a restore is the one the level started with.
    int count = 0;
    size_t index = 0;
    for (const Item* item : _items) {
        if (index++ >= _fileItemCount) break;
        if (item->getType() >= 0 && item->getType() <= 5) ++count;
    }
    return count;
}

// ---------------------------------------------------------------------------------------------
// Camera placement and arrival

GphCamera* Map::camera() const
{
    GphWindow* window = _owner ? _owner->getWindow() : nullptr;
    return window ? window->getCamera() : nullptr;
}

void Map::clampCamera(double& x, double& y) const
{
    if (x < kHalfViewWidth) {
        x = kHalfViewWidth;
    } else if (x > _width - kHalfViewWidth) {
        x = _width - kHalfViewWidth;
    }
    if (y < kHalfViewHeight) {
        y = kHalfViewHeight;
    } else if (y > _height - kHalfViewHeight) {
        y = _height - kHalfViewHeight;
    }
}

void Map::moveParallax(double dx, double dy)
{
    if (_backdrop) _backdrop->move(dx, dy, 0);
    for (int layer = 1; layer <= kLayerCount; ++layer) {
        const double factor = layerFactor(layer);
        for (GphRect* rect : _layerObjects[layer - 1]) rect->move(dx * factor, dy * factor, 0);
    }
}

void Map::restartSnow()
{
    Snow** snows[] = {&_frontSnow, &_intermediateSnow, &_backgroundSnow};
    const double depths[] = {GameConstants::zSnowFront, GameConstants::zSnowMiddle,
                             GameConstants::zSnowBack};
    for (int i = 0; i < 3; ++i) {
        if (!*snows[i]) continue;
        delete *snows[i];
        *snows[i] = make<Snow>(camera(), depths[i]);
    }
}

void Map::applyXray(bool on)
{
    if (_foregroundLayer) _foregroundLayer->setTranslucent(on);
    const float alpha = on ? 0.5f : 1.0f;
    setAlpha(_foregroundObjects, alpha);
    setAlpha(_layerObjects[7], alpha);
    setAlpha(_layerObjects[8], alpha);
}

void Map::setOffMachines(bool off)
{
    for (Character* character : _characters) {
        const int type = character->getType();
        if (type == CharacterTypeRobot || type == CharacterTypeDozer ||
            type == CharacterTypeBuzzooka)
            MapFactory::setOff(character, off);
    }
}

void Map::placeCamera(double x, double y)
{
    GphCamera* cam = camera();
    if (!cam) return;
    const double z = cam->getPosition()->getZ();
    cam->setPosition(ShpCoord(kHalfViewWidth, kHalfViewHeight, z));
    clampCamera(x, y);
    cam->setPosition(ShpCoord(x, y, z));
    _lookOffset = 0;
    const double dx = x - kHalfViewWidth;
    const double dy = y - kHalfViewHeight;
    if (dx != 0 || dy != 0) moveParallax(dx, dy);
    restartSnow();
}

void Map::enter(double x, double y, int xrayTime, int shoesTime, int armorTime, int phoneTime,
                int launcherTime)
{
    GphCamera* cam = camera();
    if (!cam) return;
    _heldLeft = _heldRight = _heldUp = false;
    const double z = cam->getPosition()->getZ();
    cam->setPosition(ShpCoord(kHalfViewWidth, kHalfViewHeight, z));

    _armorTime = armorTime;
    _shoesTime = shoesTime;
    _launcherTime = launcherTime;
    _phoneTime = phoneTime;
    setOffMachines(phoneTime > 0);

    _xrayTime = xrayTime;
    applyXray(xrayTime > 0);

    deleteAll(_enemyProjectiles);

    // Decoration back where a first view puts it, undoing the parallax of the last visit.
    const double backX = _savedCameraX > 0 ? kHalfViewWidth - _savedCameraX : 0;
    const double backY = _savedCameraY > 0 ? kHalfViewHeight - _savedCameraY : 0;
    if (backX != 0 || backY != 0) moveParallax(backX, backY);

    double cx = x, cy = y;
    if (_player) {
        _player->setPosition(x, y, GameConstants::zHero);
        cx = _player->getX();
        cy = _player->getY();
    }
    clampCamera(cx, cy);
    cam->setPosition(ShpCoord(cx, cy, z));
    _lookOffset = 0;
    const double dx = cx - kHalfViewWidth;
    const double dy = cy - kHalfViewHeight;
    if (dx != 0 || dy != 0) moveParallax(dx, dy);

    for (Character* character : _characters) {
        if (character->isIncapacitated()) {
            character->fallAsleep();
            character->think(0, 0.0);
        } else if (!character->isAsleep()) {
            const bool near = std::fabs(character->getX() - x) < kResetBoxHalfWidth &&
                              std::fabs(character->getY() - y) < kResetBoxHalfHeight;
            if (near) {
                character->resetToStart();
                character->resetState();
            } else if (character->getType() == CharacterTypeKnight) {
                character->resetToStart();
                character->think(0, 0.0);
            }
        }
    }

    deleteAll(_reactions);
    for (Item* transient : _transients) transient->setAlpha(-1);
    // The effects are gas clouds, smoke and sparks, all of which end with the visit.
    deleteAll(_effects);
    restartSnow();
}

// ---------------------------------------------------------------------------------------------
// Reading the "<MAP>" block

int Map::read(std::istream& in)
{
    return TaggedText::readBlock(in, "</MAP>",
                                 [&](const std::string& tag) { return readTag(in, tag); });
}

int Map::readTag(std::istream& in, const std::string& tag)
{
    if (tag == "<MAP_ID>") return TaggedText::readValue(in, _id);
    if (tag == "<MAP_WIDTH>") return TaggedText::readValue(in, _width);
    if (tag == "<MAP_HEIGHT>") return TaggedText::readValue(in, _height);
    if (tag == "<GRAVITY>") return TaggedText::readValue(in, _gravity);
    if (tag == "<SNOW>") return readSnow(in, _frontSnow, GameConstants::zSnowFront);
    if (tag == "<INTERMEDIATE_SNOW>")
        return readSnow(in, _intermediateSnow, GameConstants::zSnowMiddle);
    if (tag == "<BACKGROUND_SNOW>") return readSnow(in, _backgroundSnow, GameConstants::zSnowBack);
    if (tag == "<BACKGROUND_TILES>")
        return readTileLayer(in, _backgroundLayer, Layer::Background,
                             "Failed to read background tiles");
    if (tag == "<EDGE_TILES>")
        return readTileLayer(in, _edgeLayer, Layer::Edge, "Failed to read edge tiles");
    if (tag == "<FOREGROUND_TILES>")
        return readTileLayer(in, _foregroundLayer, Layer::Foreground,
                             "Failed to read foreground tiles");
    if (tag == "<IMAGE>") return _images.readImage(in);
    if (tag == "<ANIMATION>") return _images.readAnimation(in);
    if (tag == "<WALL>") return readBarrier(in, _walls);
    if (tag == "<FLOOR>") return readBarrier(in, _floors);
    if (tag == "<CEILING>") return readBarrier(in, _ceilings);
    if (tag == "<CUTSCENE>") return readCutScene(in);
    if (tag == "<EXIT>") return readExit(in);
    if (tag == "<PLATFORM>") return readPlatform(in);
    if (tag == "<SWITCH>") return readSwitch(in, false);
    if (tag == "<SWITCH2>") return readSwitch(in, true);
    if (tag == "<OBSTACLE>") return readObstacle(in);
    if (tag == "<HAMMER>") return readHammer(in);
    if (tag == "<HAZARD>") return readHazard(in);
    if (tag == "<DOOR>") return readDoor(in);
    if (tag == "<ITEM>") return readItem(in);
    if (tag == "<CHARACTER>") return readCharacter(in);
    return readDecoration(in, tag);
}

int Map::readSnow(std::istream& in, Snow*& snow, double z)
{
    bool on = false;
    if (TaggedText::readValue(in, on) != 0) return -1;
    if (on) {
        delete snow;
        snow = make<Snow>(camera(), z);
    }
    return 0;
}

int Map::readTileLayer(std::istream& in, Layer*& layer, int kind, const char* failure)
{
    std::string opening;
    if (!TaggedText::readToken(in, opening)) return -1;
    delete layer;
    layer = make<Layer>(_owner, this, kind);
    int result = 0;
    if (layer->read(in) != 0) {
        LOG(failure);
        result = -1;
    }
    if (!readClosing(in)) result = -1;
    return result;
}

int Map::readBarrier(std::istream& in, std::list<Barrier*>& list)
{
    std::string opening;
    if (!TaggedText::readToken(in, opening)) return -1;
    Barrier* barrier = make<Barrier>();
    int result = 0;
    if (barrier->read(in) == 0) {
        list.push_back(barrier);
    } else {
        LOG("Failed to read barrier");
        delete barrier;
        result = -1;
    }
    if (!readClosing(in)) result = -1;
    return result;
}

int Map::readCutScene(std::istream& in)
{
    delete _cutScene;
    _cutScene = make<CutScene>();
    if (_cutScene->read(in) != 0) {
        LOG("Failed to read cutscene");
        return -1;
    }
    return 0;
}

int Map::readExit(std::istream& in)
{
    Exit* exit = readWhole(make<Exit>(), in, "Failed to read exit");
    if (!exit) return -1;
    _exits.push_back(exit);
    return 0;
}

int Map::readPlatform(std::istream& in)
{
    Platform* platform = readWhole(make<Platform>(this), in, "Failed to read platform");
    if (!platform) return -1;
    _platforms.push_back(platform);
    if (platform->getFloor()) _floors.push_back(platform->getFloor());
    if (platform->getCeiling()) _ceilings.push_back(platform->getCeiling());
    return 0;
}

int Map::readObstacle(std::istream& in)
{
    Obstacle* obstacle = readWhole(make<Obstacle>(this), in, "Failed to read obstacle");
    if (!obstacle) return -1;
    _obstacles.push_back(obstacle);
    if (obstacle->getFloor()) _floors.push_back(obstacle->getFloor());
    return 0;
}

int Map::readHammer(std::istream& in)
{
    Hammer* hammer = readWhole(make<Hammer>(this), in, "Failed to read hammer");
    if (!hammer) return -1;
    _hammers.push_back(hammer);
    if (hammer->getHazard()) _hazards.push_back(hammer->getHazard());
    return 0;
}

int Map::readHazard(std::istream& in)
{
    Hazard* hazard = readWhole(make<Hazard>(this), in, "Failed to read hazard");
    if (!hazard) return -1;
    _hazards.push_back(hazard);
    return 0;
}

int Map::readDoor(std::istream& in)
{
    Door* door = readWhole(make<Door>(this), in, "Failed to read door");
    if (!door) return -1;
    _doors.push_back(door);
    return 0;
}

int Map::readSwitch(std::istream& in, bool hidden)
{
    int x, y, horizontalSize, verticalSize, id;
    bool on;
    if (!(in >> x >> y >> horizontalSize >> verticalSize >> id >> on)) return -1;
    // Targets are what was read before the switch: this room first, then the rooms the level
    // holds already, in id order, until one of them adds to the list.
    std::list<Sprite*> targets;
    findSpritesById(id, targets);
    if (_level) _level->findSpritesById(id, targets);
    for (Sprite* target : targets) target->setVisible(on);
    Switch* made = make<Switch>(targets, on, hidden);
    made->setPosition(x, y, GameConstants::zSwitch);
    made->setSize(verticalSize, horizontalSize);
    made->setId(id);
    _switches.push_back(made);
    return readClosing(in) ? 0 : -1;
}

int Map::readDecoration(std::istream& in, const std::string& tag)
{
    // Where each decoration tag puts its rectangle; 0 to 8 are layers 1 to 9.
    enum { kBackdrop = -1, kBackground = 9, kForeground = 10 };
    static const struct {
        const char* tag;
        int list;
        double z;
        bool behindTiles;
    } kinds[] = {
        {"<BACKGROUND_OBJECT>", kBackground, GameConstants::zBackgroundObject, true},
        {"<FOREGROUND_OBJECT>", kForeground, GameConstants::zForegroundObject, false},
        {"<BACKDROP>", kBackdrop, GameConstants::zBackdrop, true},
        {"<LAYER1_OBJECT>", 0, GameConstants::zLayer1, true},
        {"<LAYER2_OBJECT>", 1, GameConstants::zLayer2, true},
        {"<LAYER3_OBJECT>", 2, GameConstants::zLayer3, true},
        {"<LAYER4_OBJECT>", 3, GameConstants::zLayer4, true},
        {"<LAYER5_OBJECT>", 4, GameConstants::zLayer5, true},
        {"<LAYER6_OBJECT>", 5, GameConstants::zLayer6, true},
        {"<LAYER7_OBJECT>", 6, GameConstants::zLayer7, true},
        {"<LAYER8_OBJECT>", 7, GameConstants::zLayer8, false},
        {"<LAYER9_OBJECT>", 8, GameConstants::zLayer9, false},
    };
    for (const auto& kind : kinds) {
        if (tag != kind.tag) continue;
        int x, y, horizontalSize, verticalSize, imageId;
        if (!(in >> x >> y >> horizontalSize >> verticalSize >> imageId)) return -1;
        GphAnimatedTexture* picture = _images.find(imageId);
        if (picture) {
            const ShpCoord at(x, y, kind.z);
            GphRect* rect = make<GphRect>(horizontalSize, verticalSize, &at, picture, GPH_RECT);
            if (kind.behindTiles) rect->render();
            if (kind.list == kBackdrop) {
                if (_backdrop) {
                    _backdrop->setAnimatedTexture(nullptr);
                    delete _backdrop;
                }
                _backdrop = rect;
            } else if (kind.list == kBackground) {
                _backgroundObjects.push_back(rect);
            } else if (kind.list == kForeground) {
                _foregroundObjects.push_back(rect);
            } else {
                _layerObjects[kind.list].push_back(rect);
            }
        }
        return readClosing(in) ? 0 : -1;
    }
    return TaggedText::kUnknownTag;
}

int Map::readItem(std::istream& in)
{
    ItemRecord record;
    if (record.read(in) != 0) return -1;
    Item* item = MapFactory::makeItem(record);
    if (item) {
        item->setPosition(record.x, record.y, GameConstants::zItem);
        _uncollectedItems.push_back(item);
        _items.push_back(item);
        ++_fileItemCount;
    }
    return readClosing(in) ? 0 : -1;
}

int Map::readCharacter(std::istream& in)
{
    CharacterRecord record;
    if (record.read(in) != 0) return -1;
    Character* character = MapFactory::makeCharacter(this, _player, record);
    if (character) {
        if (record.type == CharacterTypeEgo2) {
            _characters.push_back(character);
            linkCharacter(character, record);
        } else {
            linkCharacter(character, record);
            _characters.push_back(character);
        }
        if (record.carriedItem >= 0) character->setCarriedItem(record.carriedItem);
    }
    return readClosing(in) ? 0 : -1;
}

void Map::linkCharacter(Character* character, const CharacterRecord& record)
{
    if (record.hasId()) character->setId(record.id);
    std::list<Sprite*> linked;
    switch (record.type) {
    case CharacterTypeThief1:
        if (record.id == -1) break;
        // Every switch of this room with the id, so that the last one stays.
        for (Switch* toggled : _switches)
            if (toggled->getId() == record.id) MapFactory::setSwitch(character, toggled);
        break;
    case CharacterTypeEgo2:
        for (int id : record.linkIds) findSpritesById(id, linked);
        MapFactory::setLinkedSprites(character, linked);
        break;
    case CharacterTypeCopter:
        findSpritesById(record.linkId, linked);
        if (!linked.empty()) MapFactory::setLinkedSprites(character, linked);
        break;
    default: break;
    }
}

// ---------------------------------------------------------------------------------------------
// Saved state

int Map::writeState(std::ostream& out)
{
    if (_cutScene) {
        const int result = _cutScene->writeState(out);
        if (result != 0) return result;
    }
    if (_backdrop) out << _backdrop->getCoord()->getX() << ' ' << _backdrop->getCoord()->getY() << ' ';
    for (const auto& layer : _layerObjects)
        for (GphRect* rect : layer) out << rect->getCoord()->getX() << ' ' << rect->getCoord()->getY() << ' ';
    for (const std::list<Barrier*>* barriers : {&_walls, &_floors, &_ceilings}) {
        for (Barrier* barrier : *barriers) {
            const int result = barrier->writeState(out);
            if (result != 0) return result;
        }
    }
    // Only what reading the level file makes again: dropped items and grenades in flight
    // have no place in the reader's order (dropped items go with the run-time items below).
    size_t index = 0;
    for (Item* item : _items) {
        if (index++ >= _fileItemCount) break;
        const int result = item->writeState(out);
        if (result != 0) return result;
    }
    // Grenades in flight are never made by reading the level file.
    int result = writeSprites(out, _doors);
    if (result == 0) result = writeSprites(out, _platforms);
    if (result == 0) result = writeSprites(out, _hammers);
    if (result == 0) result = writeSprites(out, _obstacles);
    if (result == 0) result = writeSprites(out, _switches);
    if (result == 0) result = writeSprites(out, _characters);
    if (result != 0) return result;
    out << _savedCameraX << ' ' << _savedCameraY << ' ' << _xrayTime << ' ' << _armorTime << ' '
        << _shoesTime << ' ' << _phoneTime << ' ' << _launcherTime << ' ' << _exitTimer << ' '
        << _exitCode << ' ';
    writeRunTimeItems(out);
    return 0;
}

void Map::writeRunTimeItems(std::ostream& out)
{
    out << "<CARRIED> ";
    for (Character* character : _characters) out << character->getCarriedItem() << ' ';
    out << "</CARRIED> ";
    std::list<Item*> dropped;
    size_t index = 0;
    for (Item* item : _items)
        if (index++ >= _fileItemCount && !item->isCollected()) dropped.push_back(item);
    out << "<DROPPED> " << dropped.size() << ' ';
    for (Item* item : dropped)
        out << item->getType() << ' ' << item->getX() << ' ' << item->getY() << ' ';
    out << "</DROPPED> ";
}

int Map::readState(std::istream& in)
{
    std::string token;
    if (_cutScene) {
        if (!TaggedText::readToken(in, token)) return -1;
        const int result = _cutScene->readState(in);
        if (result != 0) return result;
    }
    if (_backdrop) {
        double x, y;
        if (!(in >> x >> y)) return -1;
        _backdrop->setCoord(ShpCoord(x, y, GameConstants::zBackdrop));
    }
    for (int layer = 1; layer <= kLayerCount; ++layer) {
        for (GphRect* rect : _layerObjects[layer - 1]) {
            double x, y;
            if (!(in >> x >> y)) return -1;
            rect->setCoord(ShpCoord(x, y, layerDepth(layer)));
        }
    }
    for (const std::list<Barrier*>* barriers : {&_walls, &_floors, &_ceilings}) {
        for (Barrier* barrier : *barriers) {
            if (!TaggedText::readToken(in, token)) return -1;
            const int result = barrier->readState(in);
            if (result != 0) return result;
        }
    }
    size_t index = 0;
    for (Item* item : _items) {
        if (index++ >= _fileItemCount) break;
        if (!TaggedText::readToken(in, token)) return -1;
        const int result = item->readState(in);
        if (result != 0) return result;
        if (item->isCollected()) {
            auto lying = std::find(_uncollectedItems.begin(), _uncollectedItems.end(), item);
            if (lying != _uncollectedItems.end()) {
                _uncollectedItems.erase(lying);
                _transients.push_back(item);
            }
        }
    }
    int result = readSprites(in, _doors);
    if (result == 0) result = readSprites(in, _platforms);
    if (result == 0) result = readSprites(in, _hammers);
    if (result == 0) result = readSprites(in, _obstacles);
    if (result == 0) result = readSprites(in, _grenades);
    if (result == 0) result = readSprites(in, _switches);
    if (result == 0) result = readSprites(in, _characters);
    if (result != 0) return result;
    double savedX, savedY;
    int xray, armor, shoes, phone, launcher, exitTimer, exitCode;
    if (!(in >> savedX >> savedY >> xray >> armor >> shoes >> phone >> launcher >> exitTimer >>
          exitCode))
        return -1;
    result = readRunTimeItems(in);
    if (result != 0) return result;

    _savedCameraX = savedX;
    _savedCameraY = savedY;
    _xrayTime = xray;
    _armorTime = armor;
    _shoesTime = shoes;
    _phoneTime = phone;
    _launcherTime = launcher;
    _exitTimer = exitTimer;
    _exitCode = exitCode;
    if (_xrayTime > 0) applyXray(true);
    if (_phoneTime > 0) setOffMachines(true);
    if (_launcherTime > 0 && _player) _player->setLauncher(true);
    return 0;
}

int Map::readRunTimeItems(std::istream& in)
{
    std::string token;
    if (!TaggedText::readToken(in, token)) return -1;
    if (token != "<CARRIED>") {
        LOG("Unknown tag: " << token);
        return -1;
    }
    std::list<int> carried;
    for (size_t i = 0; i < _characters.size(); ++i) {
        int value;
        if (!(in >> value)) return -1;
        carried.push_back(value);
    }
    if (!TaggedText::readToken(in, token)) return -1;
    if (!TaggedText::readToken(in, token)) return -1;
    if (token != "<DROPPED>") {
        LOG("Unknown tag: " << token);
        return -1;
    }
    int count;
    if (!(in >> count)) return -1;
    if (count < 0 || count > kMaxSavedDrops) {
        LOG("Bad dropped item count: " << count);
        return -1;
    }
    struct Drop {
        int type;
        double x;
        double y;
    };
    std::list<Drop> drops;
    for (int i = 0; i < count; ++i) {
        Drop drop;
        if (!(in >> drop.type >> drop.x >> drop.y)) return -1;
        drops.push_back(drop);
    }
    if (!readClosing(in)) return -1;

    // Carried items as they were: an actor that had dropped its item does not drop it again.
    auto value = carried.begin();
    for (Character* character : _characters) character->setCarriedItem(*value++);
    // Items dropped during play and still lying are made again where they lay, as a drop
    // makes them: a gem is red, and hints, launchers and code 8 are never dropped.
    for (const Drop& drop : drops) {
        if (drop.type == 6 || drop.type == 8 || drop.type >= 16) continue;
        ItemRecord record(drop.type, 0, 0);
        record.colour = ItemRecord::kGemRed;
        Item* item = MapFactory::makeItem(record);
        if (!item) continue;
        item->setPosition(drop.x, drop.y, GameConstants::zItem);
        _uncollectedItems.push_back(item);
        _items.push_back(item);
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Drawing

bool Map::drawnBehind(const Character* character)
{
    const int type = character->getType();
    return character->isAsleep() || character->isIncapacitated() || type == CharacterTypeAgent ||
           type == CharacterTypeTurret || type == CharacterTypeKnight;
}

void Map::insertSorted(std::list<Sprite*>& list, Sprite* sprite, bool keyIsBottom)
{
    const double key = keyIsBottom ? sprite->getBottom() : sprite->getY();
    for (auto it = list.begin(); it != list.end(); ++it) {
        const Sprite* other = *it;
        if (other->getBottom() >= sprite->getTop()) {
            // Wholly above the new sprite.
            list.insert(it, sprite);
            return;
        }
        if (other->getTop() <= sprite->getBottom()) continue;  // wholly below
        if (other->getLeft() >= sprite->getRight()) {
            list.insert(it, sprite);
            return;
        }
        if (other->getRight() <= sprite->getLeft()) continue;
        const double otherKey = keyIsBottom ? other->getBottom() : other->getY();
        if (otherKey > key || other->getX() > sprite->getX()) {
            list.insert(it, sprite);
            return;
        }
    }
    list.push_back(sprite);
}

void Map::drawSortedList()
{
    std::list<Sprite*> sorted;
    if (_player && !_player->isDying()) sorted.push_back(_player);
    for (Projectile* projectile : _enemyProjectiles) sorted.push_back(projectile);
    for (Obstacle* obstacle : _obstacles) insertSorted(sorted, obstacle, false);
    for (Character* character : _characters)
        if (!drawnBehind(character)) insertSorted(sorted, character, true);
    double z = GameConstants::zMapDraw;
    for (Sprite* sprite : sorted) {
        sprite->setZ(z);
        sprite->draw();
        z -= 1.0;
    }
}

void Map::draw()
{
    GphWindow* window = _owner ? _owner->getWindow() : nullptr;

    if (_player) _player->drawThrowMeter();
    if (_frontSnow) _frontSnow->draw();
    if (_intermediateSnow) _intermediateSnow->draw();
    // Solid foreground tiles go first and fill the depth buffer, hiding what lies behind.
    if (_xrayTime <= 0 && _foregroundLayer) _foregroundLayer->drawOpaque();
    for (GphRect* rect : _backgroundObjects) {
        bool hasPicture;
        if (isOpaquePicture(rect, hasPicture)) rect->draw();
    }
    drawAll(_switches);
    if (_edgeLayer) _edgeLayer->drawOpaque();
    if (_backgroundLayer) _backgroundLayer->drawOpaque();
    if (_backgroundSnow) _backgroundSnow->draw();
    if (_backdrop) _backdrop->draw();

    if (window) window->disableDepthWrite();
    for (int layer = 1; layer <= 7; ++layer)
        for (GphRect* rect : _layerObjects[layer - 1]) rect->draw();
    if (_backgroundLayer) _backgroundLayer->drawTransparent();
    for (Platform* platform : _platforms)
        if (platform->isBridge()) platform->draw();
    if (_edgeLayer) _edgeLayer->drawTransparent();
    drawAll(_doors);
    for (GphRect* rect : _backgroundObjects) {
        bool hasPicture;
        if (!isOpaquePicture(rect, hasPicture) && hasPicture) rect->draw();
    }
    for (Character* character : _characters) {
        const int type = character->getType();
        if (character->isAsleep() || type == CharacterTypeAgent || type == CharacterTypeTurret ||
            type == CharacterTypeKnight)
            character->draw();
    }
    for (Platform* platform : _platforms)
        if (!platform->isBridge()) platform->draw();
    for (Character* character : _characters)
        if (character->isIncapacitated()) character->draw();
    drawAll(_hammers);
    drawAll(_hazards);
    for (Character* character : _characters) character->drawEffects();
    drawSortedList();
    drawAll(_uncollectedItems);
    drawAll(_grenades);
    drawAll(_effects);
    // While x-ray glasses make the foreground translucent it is drawn over the actors.
    if (_xrayTime > 0 && _foregroundLayer) _foregroundLayer->drawOpaque();
    if (_foregroundLayer) _foregroundLayer->drawTransparent();
    drawAll(_foregroundObjects);
    drawAll(_layerObjects[7]);
    drawAll(_layerObjects[8]);
    drawAll(_transients);
    drawAll(_reactions);
    if (_player) _player->drawIdleBubble();
    if (_player && _player->isDying()) _player->draw();
    if (window) window->enableDepthWrite();
    _inputEnabled = true;
}

// ---------------------------------------------------------------------------------------------
// Collision queries for actors

namespace {

// The carry rule of a floor at the test point p for a box whose feet are at `bottom` and
// that moves by dx: the feet may stand up to the slope's step (or |dx|) above the surface.
bool carries(const Barrier* floor, double p, double bottom, double dx)
{
    const double surface = floor->surfaceAt(p);
    const double d = p - floor->getX1();
    const double step = floor->getSlope() * (d <= dx ? d : dx);
    return bottom + step <= surface || bottom - std::fabs(dx) <= surface;
}

// Feet within the floor's band and p over its span.
bool standsIn(const Barrier* floor, double p, double bottom)
{
    return floor->getY2() <= bottom && bottom <= floor->getY1() && floor->getX1() <= p &&
           p <= floor->getX2();
}

// The feet put on the surface and the floor's last move added to dx.
void applyCarry(const Barrier* floor, double p, double bottom, double* dx, double* dy)
{
    *dy = floor->surfaceAt(p) - bottom;
    *dx += floor->getLastMoveX();
}

// A box's height against a barrier's band, strictly.
bool overlapsVertically(const Barrier* b, double top, double bottom)
{
    return bottom < b->getY1() && b->getY2() < top;
}

}  // namespace

bool Map::wallBetweenActorAndHero(const Barrier* wall, double x) const
{
    const double heroX = _player->getX();
    return (wall->getX1() > x && heroX > wall->getX1()) ||
           (wall->getX2() < x && heroX < wall->getX2());
}

const Barrier* Map::carryingFloor(double p, double bottom, double dx) const
{
    for (const Barrier* floor : _floors) {
        if (standsIn(floor, p, bottom) && carries(floor, p, bottom, dx)) return floor;
    }
    return nullptr;
}

bool Map::obstacleStops(double x, double nx, double top, double bottom, bool pushesObstacles,
                        double* dx) const
{
    for (const Obstacle* obstacle : _obstacles) {
        const Barrier* wall = obstacle->getWall();
        if (!wall) continue;
        if (!(wall->getX1() < nx && nx < wall->getX2() && overlapsVertically(wall, top, bottom)))
            continue;
        const bool behind = *dx >= 0 ? obstacle->getX() <= x : obstacle->getX() >= x;
        if (behind) return false;
        if (pushesObstacles && obstacle->isPushable()) return false;
        *dx = 0;
        return true;
    }
    return false;
}

bool Map::clipAtWall(const Barrier* wall, double x, double* dx)
{
    if (*dx >= 0) {
        if (wall->getX1() - x > 0) {
            *dx = wall->getX1() - x;
            return true;
        }
    } else if (wall->getX2() - x < 0) {
        *dx = wall->getX2() - x;
        return true;
    }
    return false;
}

bool Map::moveHorizontally(double x, double /*y*/, double left, double right, double top,
                           double bottom, bool moving, bool heroWallTest, bool pushesObstacles,
                           double* dx, double* dy)
{
    const double nx = x + *dx;
    const Barrier* floor = carryingFloor(nx, bottom, *dx);
    if (!floor) return false;
    applyCarry(floor, nx, bottom, dx, dy);
    if (*dx == 0) return true;

    bool blocked = false;
    const bool wallBetween = heroWallTest && !moving;
    for (const Barrier* wall : _walls) {
        const bool overlaps = left + *dx < wall->getX2() && wall->getX1() < right + *dx &&
                              overlapsVertically(wall, top, bottom);
        if (overlaps) {
            blocked = clipAtWall(wall, x, dx);
            break;
        }
        if (wallBetween && wallBetweenActorAndHero(wall, x) &&
            overlapsVertically(wall, top, bottom)) {
            blocked = true;
            break;
        }
    }
    if (!blocked) blocked = obstacleStops(x, nx, top, bottom, pushesObstacles, dx);
    return !blocked;
}

bool Map::walkAlongFloor(double x, double /*y*/, double left, double right, double top,
                         double bottom, bool moving, bool heroWallTest, bool pushesObstacles,
                         double* dx, double* dy, int* reason)
{
    const double nx = x + *dx;
    *reason = 0;

    bool groundAhead = false;
    if (*dx != 0) {
        const double edge = *dx > 0 ? right + *dx : left + *dx;
        for (const Barrier* floor : _floors) {
            if (!(bottom <= floor->getY1() + 50 && floor->getY2() <= bottom &&
                  floor->getX1() <= edge && edge <= floor->getX2()))
                continue;
            const double surface = floor->surfaceAt(edge);
            const double d = edge - floor->getX1();
            const double step = floor->getSlope() * (d <= *dx ? d : *dx);
            if (bottom + step <= surface + 50 || bottom - std::fabs(*dx) <= surface + 50) {
                groundAhead = true;
                break;
            }
        }
    }
    if (!groundAhead) {
        *reason = 2;
        if (*dx != 0) {
            for (const Barrier* wall : _walls) {
                if (wall->getX1() < nx && nx < wall->getX2() &&
                    overlapsVertically(wall, top, bottom)) {
                    *dx = *dx > 0 ? wall->getX1() - x : wall->getX2() - x;
                    *reason = 1;
                    break;
                }
            }
        }
        return false;
    }

    const Barrier* floor = carryingFloor(nx, bottom, *dx);
    if (floor) applyCarry(floor, nx, bottom, dx, dy);
    if (*dx == 0) return true;

    bool blocked = false;
    const bool wallBetween = heroWallTest && !moving;
    for (const Barrier* wall : _walls) {
        if (wall->getX1() < nx && nx < wall->getX2() && overlapsVertically(wall, top, bottom)) {
            if (clipAtWall(wall, x, dx)) {
                *reason = 1;
                blocked = true;
            }
            break;
        }
        if (wallBetween && wallBetweenActorAndHero(wall, x) &&
            overlapsVertically(wall, top, bottom)) {
            blocked = true;
            break;
        }
    }
    if (!blocked) blocked = obstacleStops(x, nx, top, bottom, pushesObstacles, dx);
    return !blocked;
}

bool Map::moveVertically(double x, double /*y*/, double left, double right, double top,
                         double bottom, bool stopOnLanding, double* dx, double* dy)
{
    const double nx = x + *dx;
    if (*dy > 0) {
        for (const Barrier* ceiling : _ceilings) {
            if (ceiling->getY2() >= top && ceiling->getY2() <= top + *dy &&
                ceiling->getX1() <= nx && nx <= ceiling->getX2()) {
                *dy = 0;
                break;
            }
        }
    } else if (*dy < 0) {
        const Barrier* floor = carryingFloor(nx, bottom, *dx);
        if (floor) {
            applyCarry(floor, nx, bottom, dx, dy);
            if (floor->getSlope() != 0 || stopOnLanding) return false;
            *dy = 0;
        }
    }
    if (*dx == 0) return true;

    for (const Barrier* wall : _walls) {
        const double edge = *dx > 0 ? wall->getX1() : wall->getX2();
        if (left + *dx < edge && edge < right + *dx && bottom + *dy < wall->getY1() &&
            wall->getY2() < top + *dy)
            return false;
    }
    return true;
}

bool Map::isVerticalPathClear(double x, double /*y*/, double /*left*/, double /*right*/,
                              double /*top*/, double bottom) const
{
    const double heroTop = _player->getTop();
    for (const Barrier* floor : _floors) {
        if (floor->getX1() <= x && x <= floor->getX2() && floor->getY2() <= bottom &&
            floor->getY1() >= heroTop)
            return false;
    }
    return true;
}

bool Map::landOnFloor(double x, double /*y*/, double bottom, double* dx, double* dy) const
{
    if (*dy > 0) return false;
    const double nx = x + *dx;
    for (const Barrier* floor : _floors) {
        if (isPlatformFloorPassedThrough(floor)) continue;
        if (standsIn(floor, nx, bottom) && carries(floor, nx, bottom, *dx)) {
            applyCarry(floor, nx, bottom, dx, dy);
            return true;
        }
    }
    return false;
}

bool Map::isPlatformFloorPassedThrough(const Barrier* floor) const
{
    for (const Platform* platform : _platforms) {
        if (platform->getFloor() == floor) return !platform->isBridge();
    }
    return false;
}

bool Map::isSightClear(double x, double /*y*/, double /*left*/, double /*right*/, double top,
                       double bottom) const
{
    const double heroX = _player->getX();
    const double heroTop = _player->getTop();
    const double heroBottom = _player->getBottom();
    for (const Barrier* wall : _walls) {
        if (wallBetweenActorAndHero(wall, x) && overlapsVertically(wall, top, bottom) &&
            overlapsVertically(wall, heroTop, heroBottom))
            return false;
    }
    for (const Barrier* ceiling : _ceilings) {
        const bool spans = ceiling->getX1() <= x && x <= ceiling->getX2() &&
                           ceiling->getX1() <= heroX && heroX <= ceiling->getX2();
        if (!spans) continue;
        if ((ceiling->getY2() < bottom && heroTop <= ceiling->getY1()) ||
            (ceiling->getY2() < heroBottom && top <= ceiling->getY1()))
            return false;
    }
    return true;
}

void Map::testWallHit(double x, double /*y*/, double /*left*/, double /*right*/, double top,
                      double bottom, double* dx, double* dy) const
{
    const double nx = x + *dx;
    if (*dx != 0) {
        for (const Barrier* wall : _walls) {
            if (wall->getX1() < nx && nx < wall->getX2() && overlapsVertically(wall, top, bottom)) {
                clipAtWall(wall, x, dx);
                break;
            }
        }
    }
    if (*dy > 0) {
        for (const Barrier* ceiling : _ceilings) {
            if (ceiling->getY2() >= top && ceiling->getY2() <= top + *dy &&
                ceiling->getX1() <= nx && nx <= ceiling->getX2()) {
                *dy = 0;
                break;
            }
        }
    }
}

bool Map::findDownedCharacterAhead(double x, double y, double range, bool towardHigherX,
                                   bool* found) const
{
    bool result = false;
    for (const Character* c : _characters) {
        const double cx = c->getX();
        const double cy = c->getY();
        if (cx < x - range || cx > x + range || cy < y - kAlarmHeight || cy > y + kAlarmHeight)
            continue;
        if (c->isIncapacitated()) {
            if ((cx < x && !towardHigherX) || (cx > x && towardHigherX)) {
                *found = true;
                return true;
            }
            continue;
        }
        for (const Sprite* bubble : _reactions) {
            if (bubble->getX() != cx || x == bubble->getX()) continue;
            result = true;
            if ((c->isFacingLeft() && !towardHigherX) || (!c->isFacingLeft() && towardHigherX))
                *found = true;
            break;
        }
    }
    return result;
}

// ---------------------------------------------------------------------------------------------
// Input

void Map::pause()
{
    clearInput();
}

void Map::clearInput()
{
    _heldLeft = _heldRight = _heldUp = _heldDown = false;
    for (Obstacle* obstacle : _obstacles) {
        obstacle->setPushed(false);
        obstacle->updatePushSound();
    }
}

void Map::dismissHint()
{
    _shownHint->hide();
    _shownHint = nullptr;
}

void Map::onCharDown(char /*c*/)
{
    // A shown hint freezes the frame step, so whatever the hero was doing cannot end until
    // the hint goes: any key dismisses it.
    if (_shownHint) dismissHint();
}

void Map::onKeyDown(AppKey key)
{
    if (_shownHint) {
        dismissHint();
        return;
    }
    if (!_player) return;
    if (_player->isMovingBack() || _player->isDying() || _player->isInShotPose()) return;
    const bool mayStand = !_player->isThrowing() && !_player->isJumping() &&
                          _player->getVerticalSpeed() == 0;
    switch (key) {
    case AppKeyCtrl:
        if (!_player->isThrowing() && _player->isJumping() && _player->getVerticalSpeed() == 0) {
            _heldUp = _heldDown = false;
            _player->setVerticalSpeed(GameConstants::jumpSpeed +
                                      (_shoesTime != 0 ? GameConstants::jumpSpeed : kJumpBoost));
        }
        break;
    case AppKeyLeft:
        _heldLeft = true;
        _heldRight = _heldUp = _heldDown = false;
        break;
    case AppKeyRight:
        _heldRight = true;
        _heldLeft = _heldUp = _heldDown = false;
        break;
    case AppKeyUp:
        if (mayStand) {
            _heldUp = true;
            _heldLeft = _heldRight = _heldDown = false;
        }
        break;
    case AppKeyDown:
        if (mayStand) {
            _heldDown = true;
            _heldLeft = _heldRight = _heldUp = false;
        }
        break;
    default: break;
    }
}

void Map::onKeyUp(AppKey key)
{
    if (!_player) return;
    if (_player->isMovingBack() || _player->isDying()) return;
    switch (key) {
    case AppKeyCtrl:
        // The rise ends at once and gravity takes over.
        if (!_player->isThrowing() && _player->getVerticalSpeed() > 0)
            _player->setVerticalSpeed(0);
        break;
    case AppKeyLeft: _heldLeft = false; break;
    case AppKeyRight: _heldRight = false; break;
    case AppKeyUp: _heldUp = false; break;
    case AppKeyDown: _heldDown = false; break;
    default: break;
    }
}

// ---------------------------------------------------------------------------------------------
// The frame step

Map::HeroBox Map::heroBox() const
{
    HeroBox hero;
    hero.x = _player->getX();
    hero.y = _player->getY();
    hero.left = _player->getLeft();
    hero.right = _player->getRight();
    hero.top = _player->getTop();
    hero.bottom = _player->getBottom();
    hero.halfWidth = _player->getHalfWidth();
    hero.halfLength = _player->getHalfLength();
    return hero;
}

void Map::playSound(SndSoundEffect* sound)
{
    if (!sound) return;
    GphCamera* cam = camera();
    if (cam) {
        const ShpCoord* at = cam->getPosition();
        sound->setPosition(ShpCoord(at->getX(), at->getY(), 0));
    }
    sound->stop();
    sound->play();
}

void Map::appendEffect(GphParticleSystem* effect)
{
    _effects.push_back(effect);
}

void Map::showHint(Hint* hint, double x, double y)
{
    // Only one panel is ever up: an earlier one of the same frame goes away first.
    if (_shownHint && _shownHint != hint) _shownHint->hide();
    hint->show(ShpCoord(x, y, GameConstants::hintDepth));
    _shownHint = hint;
}

void Map::killHero()
{
    _player->die();
    _player->setVerticalSpeed(GameConstants::jumpSpeed);
    _heldLeft = _heldRight = _heldUp = _heldDown = false;
    if (_level) _level->stopMusic();
}

void Map::update(unsigned ms)
{
    if (!_player) return;

    // A hint panel on screen freezes the whole room until a key dismisses it.
    if (_shownHint) return;

    if (_cutScene) {
        int hx = 0, hy = 0;
        Hint* hint = _cutScene->next(hx, hy);
        if (hint) {
            showHint(hint, hx, hy);
            _transients.push_back(hint);
            return;
        }
    }

    const double s = ms / 1000.0;
    if (_exitTimer > 0) {
        // The world stands still from the exit until the level is finished.
        _exitTimer += static_cast<int>(ms);
        if (_exitTimer > kExitDelay && _level) _level->finished(_exitCode);
        return;
    }

    const double g = s * _gravity;
    updateProps(ms, s);
    updateObstacles(s, g);

    const HeroBox before = heroBox();
    HeroBox hero = before;
    bool cameraFollows = true;
    bool inRoom = true;
    double heroDy = 0;

    if (_player->isMovingBack() && !_doorWalkDoor) {
        // A hero restored while walking into a door: the walk cannot go on, so he stands.
        _player->stop();
    }

    if (_player->isDying()) {
        if (!updateDyingHero(before, s, g)) return;
        cameraFollows = false;
    } else if (_player->isMovingBack()) {
        inRoom = updateDoorWalk(s);
        cameraFollows = false;
        hero = heroBox();
    } else if (_player->isInShotPose()) {
        updateShotPose(before, s);
        hero = heroBox();
    } else {
        if (_heldUp) useUpKey(before);
        if (_heldLeft && !_player->isFlippingSwitch())
            heroDy = moveHeroAlong(true, before, s, g);
        else if (_heldRight && !_player->isFlippingSwitch())
            heroDy = moveHeroAlong(false, before, s, g);
        else if (_player->isJumping() || _player->isAirborne())
            heroDy = moveHeroAirborne(before, s, g);
        else
            heroDy = moveHeroStanding(before, s);
        hero = heroBox();
    }

    if (cameraFollows) {
        releaseGrenade();
        followHero(heroDy, s);
    }

    _player->update(ms, s);
    if (!inRoom) return;

    updateCharacters(hero, ms, s);
    updateReactions(ms);
    updateEnemyProjectiles(hero, ms, s);
    updateTransients(s);
    pickUpItems(hero, s);
    countDownPowerUps(ms);
    updateGrenades(ms, s, g);
    updateEffects(s);
    reachExits(hero);
    updateDoorsAndObstacles();
}

void Map::updateProps(unsigned ms, double seconds)
{
    bool first = true;
    for (Platform* platform : _platforms) {
        // The platforms share the room's animations: one advance a frame keeps them at speed.
        if (first) platform->updateAnimation(ms);
        first = false;
        platform->update(seconds);
    }
    for (Hammer* hammer : _hammers) hammer->update(ms, seconds);
    for (Hazard* hazard : _hazards) hazard->update(ms, seconds);
}

namespace {

// The first actor standing under a falling obstacle, struck on the head by it.
Character* characterUnder(const std::list<Character*>& characters, const Obstacle* obstacle)
{
    for (Character* c : characters) {
        if (c->isIncapacitated() || c->isAsleep()) continue;
        if (obstacle->getLeft() < c->getX() && c->getX() < obstacle->getRight() &&
            c->getTop() > obstacle->getBottom() && c->getBottom() < obstacle->getTop())
            return c;
    }
    return nullptr;
}

// Both y edges cut to whole numbers, toward zero.
void truncateEdges(Barrier* barrier)
{
    barrier->setY1(std::trunc(barrier->getY1()));
    barrier->setY2(std::trunc(barrier->getY2()));
}

}  // namespace

void Map::updateObstacles(double seconds, double gravityStep)
{
    for (Obstacle* obstacle : _obstacles) {
        obstacle->setPushed(false);
        Barrier* floor = obstacle->getFloor();
        Barrier* wall = obstacle->getWall();
        // An obstacle without a floor has nothing to stand or be pushed on.
        if (!floor) continue;
        double dx = floor->getLastMoveX();
        const double vy = obstacle->getVerticalSpeed();
        if (vy <= 0) {
            double dy = vy * seconds;
            const double foot = obstacle->getBottom() + kObstacleFoot;
            const double ox = obstacle->getX();
            bool supported = false;
            for (Barrier* other : _floors) {
                if (other == floor) continue;
                if (!(other->getY2() <= foot && foot <= other->getY1() && other->getX1() <= ox &&
                      ox <= other->getX2()))
                    continue;
                const double surface = other->surfaceAt(ox);
                if (foot + other->getSlope() * dx > surface + 1) continue;
                if (dy < 0) {
                    obstacle->playCrashSound();
                    if (Character* hit = characterUnder(_characters, obstacle)) hit->bonk();
                }
                dy = surface - foot;
                supported = true;
                break;
            }
            if (supported) {
                dx = 0;
                obstacle->setVerticalSpeed(0);
            } else {
                if (dy == 0) {
                    // Pushed off a ledge: it leaves with the push.
                    obstacle->playFallSound();
                    obstacle->addVerticalSpeed(-gravityStep);
                    dy = obstacle->getVerticalSpeed() * seconds;
                } else {
                    dx = 0;
                    if (obstacle->getVerticalSpeed() > -GameConstants::maxFallSpeed) {
                        obstacle->addVerticalSpeed(-gravityStep);
                        dy = obstacle->getVerticalSpeed() * seconds;
                    }
                }
                if (dy < 0) {
                    if (Character* hit = characterUnder(_characters, obstacle)) {
                        // It bounces off the head and starts its fall again.
                        obstacle->stopFallSound();
                        hit->bonk();
                        obstacle->setVerticalSpeed(0);
                        obstacle->addVerticalSpeed(-gravityStep);
                        dy = obstacle->getVerticalSpeed() * seconds;
                    }
                }
            }
            obstacle->move(dx, dy, 0);
            floor->move(dx, dy);
            if (wall) wall->move(dx, dy);
            if (dy == 0) {
                truncateEdges(floor);
                if (wall) truncateEdges(wall);
            }
        }
        // The push has been spent; only a new push records a move.
        floor->move(0, 0);
    }
}

bool Map::updateDyingHero(const HeroBox& hero, double seconds, double gravityStep)
{
    const double dy = _player->getVerticalSpeed() * seconds;
    if (_player->getVerticalSpeed() > -GameConstants::maxFallSpeed)
        _player->addVerticalSpeed(-gravityStep);
    GphCamera* cam = camera();
    if (cam && cam->getPosition()->getY() - kFallenOutOfView > hero.top) {
        _savedCameraX = cam->getPosition()->getX();
        _savedCameraY = cam->getPosition()->getY();
        _player->decLives();
        if (_level) _level->playerDied();
        return false;
    }
    // He falls through everything.
    _player->move(0, dy, 0);
    return true;
}

bool Map::updateDoorWalk(double seconds)
{
    _player->move(0, GameConstants::doorWalkSpeed * seconds, 0);
    if (_doorWalkStartY + kDoorWalkRise > _player->getY()) return true;

    _player->stop();
    GphCamera* cam = camera();
    if (cam) {
        _savedCameraX = cam->getPosition()->getX();
        _savedCameraY = cam->getPosition()->getY();
    }
    Door* door = _doorWalkDoor;
    _doorWalkStartY = 0;
    _doorWalkDoor = nullptr;
    if (_level)
        _level->gotoMap(door->getTargetMapId(), door->getTargetX(), door->getTargetY(), _xrayTime,
                        _shoesTime, _armorTime, _phoneTime, _launcherTime);
    return false;
}

void Map::updateShotPose(const HeroBox& hero, double seconds)
{
    // The recoil pushes him against his facing; he neither falls nor lands meanwhile.
    const bool facingLeft = _player->isFacingLeft();
    double dx = (facingLeft ? 1 : -1) * GameConstants::projectileSpeed * seconds;
    double nx = hero.x + dx;
    for (const Barrier* wall : _walls) {
        if (wall->getX1() < nx && nx < wall->getX2() && overlapsVertically(wall, hero.top, hero.bottom)) {
            dx = (facingLeft ? wall->getX1() : wall->getX2()) - hero.x;
            nx = hero.x + dx;
            _player->shortenShotPose();
            break;
        }
    }
    applyHazards(hero, nx);
    _player->move(dx, 0, 0);
    _player->setVelocity(dx, 0);
}

void Map::useUpKey(const HeroBox& hero)
{
    const double chest = hero.y + hero.halfLength;
    for (Switch* lever : _switches) {
        if (lever->getLeft() <= hero.x && hero.x <= lever->getRight() &&
            lever->getBottom() <= chest && chest <= lever->getTop()) {
            _player->flipSwitch();
            lever->toggle();
            _heldUp = false;
            return;
        }
    }
    for (Door* door : _doors) {
        if (!door->isUsable()) continue;
        if (!(door->getLeft() <= hero.x && hero.x <= door->getRight() &&
              door->getTop() >= hero.bottom && door->getBottom() <= hero.top))
            continue;
        if (door->isLocked()) {
            _player->flipSwitch();
            _heldUp = false;
            playSound(_lockedSound);
            continue;
        }
        bool blocked = false;
        for (const Obstacle* obstacle : _obstacles) {
            if (door->getRight() > obstacle->getLeft() && door->getLeft() < obstacle->getRight() &&
                door->getBottom() < obstacle->getTop() && door->getTop() > obstacle->getBottom()) {
                blocked = true;
                break;
            }
        }
        // A crate in the doorway: up stays held and the door is tried again next frame.
        if (blocked) continue;
        _player->beginMoveBack();
        _player->setX(door->getX());
        _doorWalkStartY = _player->getY();
        _doorWalkDoor = door;
    }
}

void Map::applyHazards(const HeroBox& hero, double nx)
{
    for (const Hazard* hazard : _hazards) {
        if (!(hazard->getRight() > nx - kHazardReach && hazard->getLeft() < nx + kHazardReach &&
              hazard->getTop() > hero.bottom && hazard->getBottom() < hero.top))
            continue;
        bool harmless = false;
        for (const Hammer* hammer : _hammers) {
            if (hammer->getHazard() == hazard && !hammer->isVisible()) {
                harmless = true;
                break;
            }
        }
        if (harmless) continue;
        killHero();
        return;
    }
}

bool Map::heroBlockedAt(const HeroBox& hero, double px) const
{
    for (const Barrier* wall : _walls)
        if (wall->getX1() < px && px < wall->getX2() && overlapsVertically(wall, hero.top, hero.bottom))
            return true;
    for (const Obstacle* obstacle : _obstacles) {
        const Barrier* wall = obstacle->getWall();
        if (wall && wall->getX1() < px && px < wall->getX2() &&
            overlapsVertically(wall, hero.top, hero.bottom))
            return true;
    }
    return false;
}

void Map::pushedByDozers(const HeroBox& hero, double nx, double seconds, bool fromLeft,
                         double& dx)
{
    if (_player->isDying()) return;
    const int pushing = fromLeft ? CharacterStateMoveRight : CharacterStateMoveLeft;
    const int turned = fromLeft ? CharacterStateMoveLeft : CharacterStateMoveRight;
    for (Character* c : _characters) {
        if (c->getType() != CharacterTypeDozer || c->isIncapacitated() || c->isAsleep()) continue;
        if (!(hero.left < c->getX() && c->getX() < hero.right && hero.bottom < c->getTop() &&
              hero.top > c->getBottom()))
            continue;
        const bool onSide = fromLeft ? c->getRight() < nx + kDozerReach
                                     : c->getLeft() > nx - kDozerReach;
        if (!onSide || c->getState() != pushing) continue;
        dx = (fromLeft ? 1 : -1) * c->getPushSpeed() * seconds;
        if (heroBlockedAt(hero, hero.x + dx)) {
            dx = 0;
            c->setState(turned);
        }
    }
}

void Map::pushedByDozersStanding(const HeroBox& hero, double seconds, double& dx)
{
    if (_player->isDying()) return;
    for (Character* c : _characters) {
        if (c->getType() != CharacterTypeDozer || c->isIncapacitated() || c->isAsleep()) continue;
        if (!(hero.left < c->getX() && c->getX() < hero.right && hero.bottom < c->getTop() &&
              hero.top > c->getBottom()))
            continue;
        const double speed = c->getPushSpeed() * seconds;
        double push = 0;
        if (c->getState() == CharacterStateMoveRight) push = speed;
        else if (c->getState() == CharacterStateMoveLeft) push = -speed;
        const bool pushes = (hero.x + kDozerReach > c->getRight() && push > 0) ||
                            (hero.x - kDozerReach < c->getLeft() && push < 0);
        if (!pushes) continue;
        const bool walkingLeft = c->getState() == CharacterStateMoveLeft;
        dx = walkingLeft ? -speed : speed;
        if (heroBlockedAt(hero, hero.x + dx)) {
            dx = 0;
            c->setState(walkingLeft ? CharacterStateMoveRight : CharacterStateMoveLeft);
        }
    }
}

void Map::fallOrRise(const HeroBox& hero, double nx, double vy, double seconds,
                     double gravityStep, double tolerance, double& dy)
{
    if (vy > 0) {
        // Every ceiling crossed is tried: the lowest one wins.
        for (const Barrier* ceiling : _ceilings) {
            if (ceiling->getY2() >= hero.top && ceiling->getY2() <= hero.top + dy &&
                ceiling->getX1() <= nx && nx <= ceiling->getX2()) {
                _player->setVerticalSpeed(gravityStep);
                dy = ceiling->getY2() - hero.top;
            }
        }
    } else {
        for (const Barrier* floor : _floors) {
            const double feet = hero.bottom + dy;
            if (!(floor->getY2() <= feet && feet <= floor->getY1() && floor->getX1() <= nx &&
                  nx <= floor->getX2()))
                continue;
            const double surface = floor->surfaceAt(nx);
            if (feet <= surface + tolerance &&
                surface - hero.bottom <= GameConstants::maxFallSpeed * seconds) {
                _player->land();
                // This frame's gravity below brings the speed to exactly 0.
                _player->setVerticalSpeed(gravityStep);
                dy = surface - hero.bottom;
                break;
            }
        }
    }
    if (_player->getVerticalSpeed() > -GameConstants::maxFallSpeed)
        _player->addVerticalSpeed(-gravityStep);
}

void Map::meetObstacle(bool left, const HeroBox& hero, double nx, double& dx)
{
    for (Obstacle* obstacle : _obstacles) {
        Barrier* wall = obstacle->getWall();
        if (!wall) continue;
        if (!(wall->getX1() < nx && nx < wall->getX2() &&
              overlapsVertically(wall, hero.top, hero.bottom)))
            continue;
        if (!obstacle->isPushable()) {
            dx = (left ? obstacle->getRight() : obstacle->getLeft()) - hero.x;
            return;
        }
        Barrier* floor = obstacle->getFloor();
        const double ox = obstacle->getX() + dx;
        bool blocked = false;
        for (const Barrier* other : _walls) {
            if (other->getX1() < ox && ox < other->getX2() &&
                obstacle->getBottom() + kObstacleFoot < other->getY1() &&
                obstacle->getTop() > other->getY2()) {
                // No room behind the crate: he and the crate trade places.
                const double crateMove =
                    hero.x - (left ? obstacle->getLeft() : obstacle->getRight());
                dx = left ? obstacle->getLeft() - hero.left : obstacle->getRight() - hero.right;
                obstacle->move(crateMove, 0, 0);
                if (floor) floor->move(crateMove, 0);
                wall->move(crateMove, 0);
                blocked = true;
                break;
            }
        }
        for (const Character* c : _characters) {
            if (c->isIncapacitated() || c->isAsleep()) continue;
            if (c->getRight() > ox && c->getLeft() < ox &&
                c->getTop() > obstacle->getBottom() + kObstacleFoot &&
                c->getBottom() < obstacle->getTop()) {
                dx = 0;
                blocked = true;
                break;
            }
        }
        if (!blocked) {
            obstacle->setPushed(true);
            obstacle->move(dx, 0, 0);
            if (floor) floor->move(dx, 0);
            wall->move(dx, 0);
        }
        return;
    }
}

double Map::moveHeroAlong(bool left, const HeroBox& hero, double seconds, double gravityStep)
{
    const double vy = _player->getVerticalSpeed();
    const double sign = left ? -1 : 1;
    double dx = _player->isThrowing() ? 0 : sign * GameConstants::walkSpeed * seconds;
    double dy = vy * seconds;
    // Every later test uses this planned centre, whatever becomes of dx.
    const double nx = hero.x + dx;

    if (left ? hero.x <= hero.halfWidth : hero.x >= _width - hero.halfWidth) dx = 0;

    pushedByDozers(hero, nx, seconds, left, dx);

    if (_player->isJumping() || _player->isAirborne()) {
        fallOrRise(hero, nx, vy, seconds, gravityStep, 0, dy);
    } else if (dy == 0) {
        bool carried = false;
        for (const Barrier* floor : _floors) {
            if (!standsIn(floor, nx, hero.bottom)) continue;
            const double surface = floor->surfaceAt(nx);
            const bool holds = surface + 1 >= hero.bottom + floor->getSlope() * dx ||
                               (floor->getLastMoveY() != 0 &&
                                surface + 1 >= hero.bottom + floor->getLastMoveY());
            if (!holds) continue;
            dy = surface - hero.bottom;
            dx += floor->getLastMoveX();
            carried = true;
            break;
        }
        if (!carried) _player->beginFall();
    }

    if (dx != 0) {
        for (const Barrier* wall : _walls) {
            const bool inside = left ? wall->getX1() < nx && nx < wall->getX2()
                                     : wall->getX1() <= nx && nx < wall->getX2();
            if (inside && overlapsVertically(wall, hero.top, hero.bottom)) {
                dx = (left ? wall->getX2() : wall->getX1()) - hero.x;
                break;
            }
        }
    }

    applyHazards(hero, nx);
    meetObstacle(left, hero, nx, dx);

    _player->move(dx, dy, 0);
    _player->setVelocity(dx, dy);
    return dy;
}

double Map::moveHeroAirborne(const HeroBox& hero, double seconds, double gravityStep)
{
    const double vy = _player->getVerticalSpeed();
    double dy = vy * seconds;
    // Standing still in the air he may stop up to a unit above a surface and still land.
    fallOrRise(hero, hero.x, vy, seconds, gravityStep, 1, dy);
    applyHazards(hero, hero.x);
    _player->move(0, dy, 0);
    _player->setVelocity(0, dy);
    return dy;
}

double Map::moveHeroStanding(const HeroBox& hero, double seconds)
{
    double dx = 0;
    double dy = 0;
    bool carried = false;
    for (const Barrier* floor : _floors) {
        if (!standsIn(floor, hero.x, hero.bottom)) continue;
        const double surface = floor->surfaceAt(hero.x);
        const bool holds = surface + 1 >= hero.bottom ||
                           (floor->getLastMoveY() != 0 &&
                            surface + 1 >= hero.bottom + floor->getLastMoveY());
        if (!holds) continue;
        dy = surface - hero.bottom;
        dx = floor->getLastMoveX();
        const double v = _player->getVelocityX();
        if (floor->isSlippery() && v != 0) {
            // He slides on with his last step, a little less each frame.
            dx += v;
            const double friction = GameConstants::slideFriction * seconds;
            dx += v > 0 ? -friction : friction;
        }
        carried = true;
        break;
    }
    if (!carried) _player->beginFall();

    pushedByDozersStanding(hero, seconds, dx);

    if (dx != 0) {
        for (const Barrier* wall : _walls) {
            if (wall->getX1() <= hero.x + dx && hero.x + dx < wall->getX2() &&
                overlapsVertically(wall, hero.top, hero.bottom)) {
                dx = (dx > 0 ? wall->getX1() : wall->getX2()) - hero.x;
                break;
            }
        }
    }
    for (const Obstacle* obstacle : _obstacles) {
        const Barrier* wall = obstacle->getWall();
        if (wall && wall->getX1() < hero.x && hero.x < wall->getX2() &&
            overlapsVertically(wall, hero.top, hero.bottom)) {
            dx = (dx > 0 ? obstacle->getLeft() : obstacle->getRight()) - hero.x;
            break;
        }
    }

    applyHazards(hero, hero.x);
    _player->move(dx, dy, 0);
    _player->setVelocity(dx, dy);
    return dy;
}

void Map::releaseGrenade()
{
    if (!_player->takeProjectileReleased()) return;
    Grenade* grenade = make<Grenade>("grenade.pcx", "grenade.pcx", "grenade.wav");
    const bool launcher = _player->hasLauncher();
    const double y = launcher ? _player->getBottom() + kLauncherHeight : _player->getTop();
    grenade->setPosition(_player->getX(), y, GameConstants::grenadeDepth);
    grenade->setSize(kGrenadeSize, kGrenadeSize);
    grenade->setVelocityY(launcher ? 0 : _player->getThrowVelocityY());
    grenade->setVelocityX(_player->getThrowVelocityX());
    grenade->setFalls(!launcher);
    _grenades.push_back(grenade);
}

void Map::followHero(double heroDy, double seconds)
{
    GphCamera* cam = camera();
    if (!cam || _player->isDying()) return;

    const double x = _player->getX();
    const double y = _player->getY();
    const double bottom = _player->getBottom();
    const double top = y + _player->getHalfLength();
    const bool walkingIn = _player->isMovingBack();

    double look = heroDy;
    if (!_player->isJumping() && !walkingIn) {
        if (_heldUp) look += GameConstants::lookSpeed * seconds;
        else if (_heldDown) look -= GameConstants::lookSpeed * seconds;
    }

    const double v = cam->getPosition()->getY();
    const bool apply = (look < 0 && v - kHalfViewHeight > top - kLookMargin) ||
                       (look > 0 && v + kHalfViewHeight < top + kLookMargin) ||
                       (look != 0 && _heldDown) || (look != 0 && _heldUp && !walkingIn);
    if (!apply) {
        look = 0;
    } else {
        look += _lookOffset;
        if (_heldDown) {
            if (v + kHalfViewHeight + look < top + kLookLimit) {
                look = top + kLookLimit - (v + kHalfViewHeight);
                _lookOffset = 0;
            }
        } else if (_heldUp) {
            if (v - kHalfViewHeight + look > bottom - kLookLimit) {
                look = bottom - kLookLimit - (v - kHalfViewHeight);
                _lookOffset = 0;
            }
        }
        // The view moves by whole units; the rest is carried to the next frame.
        double whole = 0;
        if (look > 1) whole = std::ceil(look) - 1;
        else if (look < -1) whole = 1 - std::ceil(-look);
        _lookOffset = look - whole;
        look = whole;
    }

    double tx = x;
    if (tx < kHalfViewWidth) tx = kHalfViewWidth;
    else if (tx > _width - kHalfViewWidth) tx = _width - kHalfViewWidth;
    double ty = v + look;
    if (ty < kHalfViewHeight) {
        ty = kHalfViewHeight;
        _lookOffset = 0;
    } else if (ty > _height - kHalfViewHeight) {
        ty = _height - kHalfViewHeight;
        _lookOffset = 0;
    }

    cam->track(tx, ty, seconds);
    const double cx = cam->getLastMoveX();
    const double cy = cam->getLastMoveY();
    if (cx != 0 || cy != 0) moveParallax(cx, cy);
}

// ---------------------------------------------------------------------------------------------
// Characters in the frame step

namespace {

bool overlapsBox(const Sprite* a, double top, double bottom)
{
    return a->getTop() > bottom && a->getBottom() < top;
}

bool isAwake(const Character* c)
{
    return !c->isIncapacitated() && !c->isAsleep();
}

}  // namespace

void Map::updateCharacters(const HeroBox& hero, unsigned ms, double seconds)
{
    for (Character* character : _characters) {
        character->think(ms, seconds);
        if (Reaction* reaction = character->react()) _reactions.push_back(reaction);
        dropCarriedItem(character);
        takeRequests(character, ms);
        switch (character->getType()) {
        case CharacterTypeThug: slamThugs(character); break;
        case CharacterTypeDozer: shoveWithDozer(character, hero, seconds); break;
        case CharacterTypeCart: knockThugs(character); break;
        default: break;
        }
        if (character->isHarmful())
            touchHero(character, hero);
        else if (character->getType() == CharacterTypeAgent ||
                 character->getType() == CharacterTypeEgo2)
            showCharacterHint(character, hero);
    }
}

void Map::dropCarriedItem(Character* character)
{
    if (!character->isAsleep() || character->getCarriedItem() < 0) return;
    const int code = character->getCarriedItem();
    // Hints, code 8 and launchers are never dropped; the item is spent all the same.
    if (code != ItemTypeHint && code != ItemTypeNone && code < ItemTypeGrenadeLauncher) {
        ItemRecord record(code, 0, 0);
        record.colour = ItemRecord::kGemRed;
        if (Item* item = MapFactory::makeItem(record)) {
            item->setPosition(character->getX(), character->getY(), GameConstants::zItem);
            _uncollectedItems.push_back(item);
            _items.push_back(item);
        }
    }
    character->setCarriedItem(-1);
}

void Map::takeRequests(Character* c, unsigned ms)
{
    const bool left = c->isFacingLeft();
    const double speed = (left ? -1 : 1) * GameConstants::projectileSpeed;
    // A bomb's launch search replays its flight in steps of the frame's time; a frame of no
    // time still searches, in steps of a millisecond.
    const unsigned bombStep = ms > 0 ? ms : 1;
    Projectile* shot = nullptr;
    switch (c->getType()) {
    case CharacterTypeKnifeThrower:
        if (MapFactory::takeThrowRequest(c))
            shot = make<Projectile>(c->getX() + (left ? -40 : 40), c->getY() + 60, 40, 40, speed, 0,
                                  left ? 2000 : -2000, left ? "knifeleft.pcx" : "kniferight.pcx");
        break;
    case CharacterTypeTurret:
        if (MapFactory::takeFireRequest(c))
            shot = make<Projectile>(c->getX() + (left ? -25 : 30), c->getY(), kBulletSize,
                                  kBulletSize, speed, 0, 0, "bullet.pcx");
        break;
    case CharacterTypeBuzzooka:
        if (MapFactory::takeFireRequest(c))
            shot = make<Projectile>(left ? c->getLeft() : c->getRight(), c->getY() + 52,
                                  kBulletSize, kBulletSize, speed, 0, 0, "bullet.pcx");
        break;
    case CharacterTypeGunner:
    case CharacterTypeThief2:
    case CharacterTypeThief3:
        if (MapFactory::takeFireRequest(c))
            shot = make<Projectile>(left ? c->getLeft() : c->getRight(), c->getY() + 63,
                                  kBulletSize, kBulletSize, speed, 0, 0, "bullet.pcx");
        break;
    case CharacterTypeBombshelle:
        if (MapFactory::takeThrowRequest(c))
            shot = make<Bomb>(this, _player, c->getX() + (left ? -40 : 40), c->getY() + 110,
                            bombStep);
        break;
    case CharacterTypeCopter:
        if (MapFactory::takeFireRequest(c)) {
            double gx = c->getX() - 10, gy = c->getY() + 41;
            if (!left) MapFactory::getGunPoint(c, gx, gy);
            _enemyProjectiles.push_back(
                make<Projectile>(gx, gy, kBulletSize, kBulletSize, speed, 0, 0, "bullet.pcx"));
        }
        if (MapFactory::takeBombRequest(c)) {
            const int r = std::rand() % 200;
            Bomb* bomb = make<Bomb>(this, _player, c->getLeft() + 80 + r, c->getY() + 5, bombStep);
            // It drops straight down.
            bomb->setVelocityX(0);
            bomb->setVelocityY(0);
            shot = bomb;
        }
        break;
    case CharacterTypeThief1:
        if (MapFactory::takeDropRequest(c)) {
            Hint* hint = make<Hint>("folder.pcx", "folder.pcx", "t5-5_2.pcx", "", "");
            hint->setPosition(c->getX(), c->getY(), GameConstants::zItem);
            hint->collect(true, false);
            hint->setAlpha(kHintItemAlpha);
            showHint(hint, c->getLeft() - 240, c->getBottom() + 55);
            _transients.push_back(hint);
        }
        break;
    default: break;
    }
    if (shot) _enemyProjectiles.push_back(shot);
}

void Map::slamThugs(Character* a)
{
    for (Character* b : _characters) {
        if (b == a || b->getType() != CharacterTypeThug || !isAwake(b)) continue;
        const bool meets = a->getBottom() < b->getTop() && a->getTop() > b->getBottom();
        if (!meets) continue;
        double aMove = 0;
        if (a->getState() == CharacterStateMoveLeft && b->getState() == CharacterStateMoveRight &&
            b->getX() < a->getX() && a->getX() < b->getRight())
            aMove = -kSlamShift;
        else if (a->getState() == CharacterStateMoveRight &&
                 b->getState() == CharacterStateMoveLeft && b->getLeft() < a->getX() &&
                 a->getX() < b->getX())
            aMove = kSlamShift;
        if (aMove == 0) continue;
        MapFactory::slamWall(a);
        MapFactory::slamWall(b);
        a->move(aMove, 0, 0);
        b->move(-aMove, 0, 0);
    }
}

void Map::knockThugs(Character* machine)
{
    for (Character* thug : _characters) {
        if (thug == machine || thug->getType() != CharacterTypeThug || !isAwake(thug)) continue;
        if (thug->getLeft() < machine->getX() && machine->getX() < thug->getRight() &&
            machine->getBottom() < thug->getTop() && machine->getTop() > thug->getBottom())
            MapFactory::knock(thug, !machine->isFacingLeft());
    }
}

void Map::shoveWithDozer(Character* dozer, const HeroBox& hero, double seconds)
{
    double p = 0;
    if (dozer->getState() == CharacterStateMoveRight) p = dozer->getPushSpeed() * seconds;
    else if (dozer->getState() == CharacterStateMoveLeft) p = -dozer->getPushSpeed() * seconds;

    if (p != 0) {
        const double dxz = dozer->getX();
        for (Obstacle* obstacle : _obstacles) {
            Barrier* wall = obstacle->getWall();
            if (!wall) continue;
            const bool touches = wall->getX1() - 10 < dxz && dxz < wall->getX2() + 13 &&
                                 dozer->getBottom() < wall->getY1() &&
                                 dozer->getTop() > wall->getY2();
            const bool pushingSide =
                (dxz < wall->getX1() && p > 0) || (dxz > wall->getX2() + 3 && p < 0);
            if (!touches || !pushingSide) continue;
            // The first obstacle met decides, pushable or not.
            if (!obstacle->isPushable()) break;
            const double n = obstacle->getX() + p;
            bool blocked = false;
            for (const Barrier* other : _walls) {
                if (other->getX1() < n && n < other->getX2() &&
                    other->getY1() > obstacle->getBottom() + kObstacleFoot &&
                    other->getY2() < obstacle->getTop()) {
                    blocked = true;
                    break;
                }
            }
            for (const Character* c : _characters) {
                if (blocked) break;
                if (c == dozer || !isAwake(c)) continue;
                if (c->getLeft() < n && n < c->getRight() &&
                    c->getTop() > obstacle->getBottom() + kObstacleFoot &&
                    c->getBottom() < obstacle->getTop())
                    blocked = true;
            }
            if (!blocked && !_player->isDying() && hero.left < n && n < hero.right &&
                obstacle->getBottom() + kObstacleFoot < hero.top && wall->getY1() > hero.bottom)
                blocked = true;
            if (blocked) {
                dozer->setState(dozer->getState() == CharacterStateMoveLeft
                                    ? CharacterStateMoveRight
                                    : CharacterStateMoveLeft);
            } else {
                obstacle->setPushed(true);
                obstacle->move(p, 0, 0);
                if (Barrier* floor = obstacle->getFloor()) floor->move(p, 0);
                wall->move(p, 0);
            }
            break;
        }
    }
    knockThugs(dozer);
}

void Map::touchHero(Character* c, const HeroBox& hero)
{
    if (_player->isDying() || !isAwake(c)) return;
    bool hit;
    if (c->getType() == CharacterTypeIcicle || c->getType() == CharacterTypeDrop)
        hit = hero.left + 10 < c->getX() && c->getX() < hero.right - 10 &&
              overlapsBox(c, hero.top, hero.bottom);
    else
        hit = c->getLeft() < hero.x && hero.x < c->getRight() &&
              c->getCollisionTop() > hero.bottom && c->getBottom() < hero.top;
    if (hit) killHero();
}

void Map::showCharacterHint(Character* c, const HeroBox& hero)
{
    if (_player->isDying() || MapFactory::isHintShown(c)) return;
    bool trigger;
    if (c->getType() == CharacterTypeAgent)
        trigger = hero.left < c->getX() && c->getX() < hero.right &&
                  overlapsBox(c, hero.top, hero.bottom);
    else
        trigger = c->getRight() > hero.left && c->getLeft() < hero.right &&
                  overlapsBox(c, hero.top, hero.bottom);
    if (!trigger) return;

    std::string above, below, objective;
    MapFactory::getHintTexts(c, above, below, objective);
    double px = c->getX();
    double py = c->getTop() + kHintPanelLift;
    std::string panel = above;
    GphCamera* cam = camera();
    // A panel that would stick out above the view goes below the character.
    if (cam && py + kHintPanelHalfHeight > cam->getPosition()->getY() + kHalfViewHeight) {
        py = c->getBottom() - kHintPanelLift;
        panel = below;
    }
    Hint* hint = make<Hint>("folder.pcx", "folder.pcx", panel, objective, "");
    hint->setPosition(c->getX(), c->getY(), GameConstants::zItem);
    hint->collect(true, false);
    hint->setAlpha(kHintItemAlpha);
    showHint(hint, px, py);
    _transients.push_back(hint);
    if (!objective.empty() && _level) _level->setObjective(objective);
    MapFactory::setHintShown(c, true);
}

void Map::updateReactions(unsigned ms)
{
    for (auto it = _reactions.begin(); it != _reactions.end();) {
        Reaction* reaction = static_cast<Reaction*>(*it);
        reaction->update(ms);
        if (reaction->isExpired()) {
            delete reaction;
            it = _reactions.erase(it);
        } else {
            ++it;
        }
    }
}

void Map::stunCharacter(Character* character)
{
    character->stun();
    for (auto it = _reactions.begin(); it != _reactions.end();) {
        if (static_cast<Reaction*>(*it)->getOwner() == character) {
            delete *it;
            it = _reactions.erase(it);
        } else {
            ++it;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Projectiles, grenades and gas in the frame step

void Map::updateEnemyProjectiles(const HeroBox& hero, unsigned ms, double seconds)
{
    for (auto it = _enemyProjectiles.begin(); it != _enemyProjectiles.end();) {
        Projectile* p = *it;
        p->update(ms, seconds);
        Bomb* bomb = dynamic_cast<Bomb*>(p);
        bool ends = false;
        GphParticleSystem* effect = nullptr;

        if (p->isSpent()) {
            ends = true;
            if (bomb) effect = make<Smoke>(p);
        }
        if (!ends && !_player->isDying() && !p->isFading() && hero.left + 20 < p->getX() &&
            p->getX() < hero.right - 20 && hero.bottom <= p->getY() &&
            p->getY() <= hero.top + 10) {
            if (_armorTime > 0 && !bomb) {
                playSound(p->getSpin() != 0 ? _knifeDeflectionSound : _bulletSound);
                p->rebound();
            } else {
                killHero();
                if (bomb) effect = make<Smoke>(p);
                ends = true;
            }
        }
        if (!ends) {
            for (const Barrier* wall : _walls) {
                if (wall->getX1() < p->getX() && p->getX() < wall->getX2() - 10 &&
                    p->getBottom() < wall->getY1() && p->getTop() > wall->getY2()) {
                    ends = true;
                    break;
                }
            }
            if (!ends) {
                for (const Obstacle* obstacle : _obstacles) {
                    const Barrier* wall = obstacle->getWall();
                    if (wall && wall->getX1() < p->getX() && p->getX() < wall->getX2() &&
                        p->getBottom() < wall->getY1() && p->getTop() > wall->getY2()) {
                        ends = true;
                        break;
                    }
                }
            }
            if (ends) {
                if (bomb) effect = make<Smoke>(p);
                else effect = make<Sparks>(p);
            } else if (p->getX() < 40 || p->getX() > _width + 40) {
                ends = true;
            }
        }
        if (effect) appendEffect(effect);
        if (ends) {
            delete p;
            it = _enemyProjectiles.erase(it);
        } else {
            ++it;
        }
    }
}

void Map::updateTransients(double seconds)
{
    for (Item* item : _transients) item->update(seconds);
}

void Map::pickUpItems(const HeroBox& hero, double seconds)
{
    if (_uncollectedItems.empty() || _player->isDying()) return;
    const int state = _player->getState();
    const double m = state == CharacterStateStandLeft || state == CharacterStateStandRight
                         ? kStandingReach
                         : kMovingReach;
    for (auto it = _uncollectedItems.begin(); it != _uncollectedItems.end();) {
        Item* item = *it;
        item->update(seconds);
        const double ix = item->getX();
        const double iy = item->getY();
        if (hero.left <= ix - m && ix + m <= hero.right && hero.bottom <= iy + 10 &&
            iy - 10 <= hero.top) {
            item->collect(true, true);
            applyPickUp(item, hero);
            _transients.push_back(item);
            it = _uncollectedItems.erase(it);
        } else {
            ++it;
        }
    }
}

void Map::applyPickUp(Item* item, const HeroBox& hero)
{
    const int type = item->getType();
    switch (type) {
    case 0: case 1: case 2: case 3: case 4: case 5:
        _player->addScore(static_cast<Treasure*>(item)->getPoints());
        if (_level) _level->objectiveFound();
        break;
    case ItemTypeHint: {
        Hint* hint = static_cast<Hint*>(item);
        showHint(hint, hero.x, hero.top + kHintPanelLift);
        if (!hint->getObjectiveImage().empty() && _level)
            _level->setObjective(hint->getObjectiveImage());
        break;
    }
    case ItemTypeGrenade: _player->addGrenades(1); break;
    case ItemTypeExtraLife: _player->incLives(); break;
    case ItemTypeHealth: _player->addHealth(1); break;
    case ItemTypeXRayGlasses:
        _xrayTime = static_cast<XRayGlasses*>(item)->getDuration();
        applyXray(true);
        break;
    case ItemTypeArmor: _armorTime = static_cast<Armor*>(item)->getDuration(); break;
    case ItemTypeDiamond:
        _player->addScore(static_cast<Diamond*>(item)->getValue());
        _player->clearInput();
        clearInput();
        _player->loseEquipment();
        if (_level) _level->stopMusic();
        _exitCode = 1;
        _exitTimer = 1;
        break;
    case ItemTypeShoes:
        _shoesTime = static_cast<Shoes*>(item)->getDuration();
        _player->setSuperShoes(true);
        break;
    case ItemTypePhone:
        _phoneTime = static_cast<Phone*>(item)->getDuration();
        setOffMachines(true);
        break;
    case ItemTypeGrenadeLauncher:
        _launcherTime = static_cast<GrenadeLauncher*>(item)->getDuration();
        _player->setLauncher(true);
        break;
    default: break;
    }
}

void Map::countDownPowerUps(unsigned ms)
{
    const int elapsed = static_cast<int>(ms);
    if (_shoesTime > 0 && (_shoesTime -= elapsed) <= 0) {
        _player->setSuperShoes(false);
        _shoesTime = 0;
        playSound(_xrayOffSound);
    }
    if (_phoneTime > 0 && (_phoneTime -= elapsed) <= 0) {
        setOffMachines(false);
        _phoneTime = 0;
        playSound(_robotOnSound);
    }
    if (_xrayTime > 0 && (_xrayTime -= elapsed) <= 0) {
        applyXray(false);
        _xrayTime = 0;
        playSound(_xrayOffSound);
    }
    if (_armorTime > 0 && (_armorTime -= elapsed) <= 0) playSound(_xrayOffSound);
    if (_launcherTime > 0 && (_launcherTime -= elapsed) <= 0) {
        _player->setLauncher(false);
        playSound(_xrayOffSound);
    }
}

void Map::updateGrenades(unsigned ms, double seconds, double gravityStep)
{
    for (auto it = _grenades.begin(); it != _grenades.end();) {
        Grenade* g = *it;
        double dx = g->getVelocityX() * seconds;
        double dy = g->getVelocityY() * seconds;
        bool atSide = false;
        if (g->getLeft() + dx < 0) {
            dx = -g->getLeft();
            g->setVelocityX(0);
            atSide = true;
        } else if (g->getRight() + dx > _width) {
            dx = _width - g->getRight();
            g->setVelocityX(0);
            atSide = true;
        }
        if (dy > 0) {
            for (const Barrier* ceiling : _ceilings) {
                if (g->getTop() <= ceiling->getY2() && ceiling->getY2() <= g->getTop() + dy &&
                    ceiling->getX1() <= g->getX() + dx && g->getX() + dx <= ceiling->getX2()) {
                    g->setVelocityY(gravityStep);
                    dy = ceiling->getY2() - g->getTop();
                }
            }
        }
        bool burst = false;
        if (dy <= 0) {
            const double px = g->getX() + dx;
            const double feet = g->getBottom() + dy;
            for (const Barrier* floor : _floors) {
                if (!(floor->getY2() <= feet && feet <= floor->getY1() && floor->getX1() <= px &&
                      px <= floor->getX2()))
                    continue;
                const double surface = floor->surfaceAt(px);
                if (surface - kGrenadeLandReach <= feet && feet <= surface) {
                    dy = surface - g->getBottom();
                    burst = true;
                    break;
                }
            }
        }
        if (burst) {
            g->move(dx, dy, 0);
            appendEffect(make<GrenadeGas>(this, g));
            delete g;
            it = _grenades.erase(it);
            continue;
        }

        // A launcher grenade bursts where it meets a wall; one that reached a side of the
        // room, which stops it dead, bursts there as well.
        bool wallBurst = !g->falls() && atSide;
        if (!wallBurst && dx != 0) {
            const double px = g->getX() + dx;
            for (const Barrier* wall : _walls) {
                if (!(wall->getX1() <= px && px <= wall->getX2() &&
                      g->getBottom() < wall->getY1() && g->getTop() > wall->getY2()))
                    continue;
                if (g->falls()) {
                    // A thrown grenade comes back at three quarters of its speed.
                    g->setVelocityX(-dx * kBounceFactor / ms);
                    dx = (dx > 0 ? wall->getX1() : wall->getX2()) - g->getX();
                } else {
                    wallBurst = true;
                }
                break;
            }
        }
        if (wallBurst) {
            g->move(dx, dy, 0);
            appendEffect(make<GrenadeGas>(this, g));
            delete g;
            _grenades.erase(it);
            // The grenades after it wait for the next frame.
            return;
        }

        if (g->falls() && g->getVelocityY() > -GameConstants::maxFallSpeed)
            g->addVelocityY(-gravityStep);
        g->move(dx, dy, 0);

        bool gone = false;
        for (Character* c : _characters) {
            const int state = c->getState();
            const bool out = state >= CharacterStateStunnedLeft && state <= CharacterStateAsleepRight;
            if (!c->isGasImmune() && !out && c->getCollisionLeft() <= g->getX() &&
                g->getX() <= c->getCollisionRight() && c->getCollisionTop() > g->getBottom() &&
                c->getBottom() < g->getTop()) {
                appendEffect(make<GrenadeGas>(this, g));
                gone = true;
                c->addHitPoints(-1);
                if (c->getHitPoints() <= 0) stunCharacter(c);
                break;
            }
            if (c->getType() == CharacterTypeCopter && !out && !c->isFacingLeft() &&
                c->getX() - 10 < g->getX() && g->getX() < c->getX() + 70 &&
                c->getBottom() + 60 < g->getY() && g->getY() < c->getBottom() + 145) {
                // A shot into the cockpit: no gas, the pilot is out.
                gone = true;
                c->stun();
                break;
            }
        }
        // A grenade thrown into a pit would fall for ever.
        if (!gone && g->getTop() < kGrenadeLostDepth) gone = true;
        if (gone) {
            delete g;
            it = _grenades.erase(it);
        } else {
            ++it;
        }
    }
}

void Map::updateEffects(double seconds)
{
    if (_frontSnow) _frontSnow->update(seconds);
    if (_intermediateSnow) _intermediateSnow->update(seconds);
    if (_backgroundSnow) _backgroundSnow->update(seconds);

    for (auto it = _effects.begin(); it != _effects.end();) {
        GphParticleSystem* effect = *it;
        bool finished = false;
        if (GrenadeGas* gas = dynamic_cast<GrenadeGas*>(effect)) {
            finished = gas->isFinished();
            if (!finished) {
                gas->update(seconds);
                const double cx = gas->getCentre().getX();
                const double cy = gas->getCentre().getY();
                for (Character* c : _characters) {
                    if (c->isGasImmune() || !isAwake(c)) continue;
                    const bool rat = c->getType() == CharacterTypeRat;
                    const double reach = rat ? kRatGasReach : 0;
                    if (!rat && c->ignoresGasCloud()) continue;
                    if (c->getLeft() - reach < cx && cx < c->getRight() + reach &&
                        c->getTop() > cy - kGasHeight && c->getBottom() < cy + kGasHeight)
                        stunCharacter(c);
                }
            }
        } else if (Smoke* smoke = dynamic_cast<Smoke*>(effect)) {
            finished = smoke->isFinished();
            if (!finished) smoke->update(seconds);
        } else if (Sparks* sparks = dynamic_cast<Sparks*>(effect)) {
            finished = sparks->isFinished();
            if (!finished) sparks->update(seconds);
        }
        if (finished) {
            delete effect;
            it = _effects.erase(it);
        } else {
            ++it;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Exits, doors and obstacles

void Map::reachExits(const HeroBox& hero)
{
    for (const Exit* exit : _exits) {
        if (_player->isDying()) return;
        if (exit->getX1() <= hero.x && hero.x <= exit->getX2() && hero.bottom <= exit->getY1() &&
            hero.top >= exit->getY2()) {
            _player->clearInput();
            clearInput();
            _player->loseEquipment();
            if (_level) _level->stopMusic();
            _exitCode = exit->getCode();
            _exitTimer = 1;
            playSound(_exitCode == 1 ? _victorySound : _victory2Sound);
        }
    }
}

void Map::updateDoorsAndObstacles()
{
    for (Door* door : _doors) door->updateGraphic();
    for (Obstacle* obstacle : _obstacles) obstacle->updatePushSound();
}
