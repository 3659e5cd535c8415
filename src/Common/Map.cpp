#include "Common/Map.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "Base/App/AppBase.h"
#include "Base/App/Log.h"
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
#include "Kovo/Character.h"
#include "Kovo/Door.h"
#include "Kovo/Grenade.h"
#include "Kovo/Hammer.h"
#include "Kovo/Hazard.h"
#include "Kovo/Hint.h"
#include "Kovo/Item.h"
#include "Kovo/Obstacle.h"
#include "Kovo/Platform.h"
#include "Kovo/Player.h"
#include "Kovo/Projectile.h"
#include "Kovo/Snow.h"
#include "Kovo/Switch.h"

namespace {

// The view is 800 by 600 units; the camera centre keeps half of it inside the room.
const double kHalfViewWidth = 400.0;
const double kHalfViewHeight = 300.0;

// Entering a room sends the actors near the arrival point back to their start.
const double kResetBoxHalfWidth = 200.0;
const double kResetBoxHalfHeight = 100.0;

// Dropped items a saved room may carry; more is taken as a corrupt save.
const int kMaxSavedDrops = 100000;

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
    int count = 0;
    for (const Item* item : _items)
        if (item->getType() >= 0 && item->getType() <= 5) ++count;
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
        *snows[i] = new Snow(camera(), depths[i]);
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
        snow = new Snow(camera(), z);
    }
    return 0;
}

int Map::readTileLayer(std::istream& in, Layer*& layer, int kind, const char* failure)
{
    std::string opening;
    if (!TaggedText::readToken(in, opening)) return -1;
    delete layer;
    layer = new Layer(_owner, this, kind);
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
    Barrier* barrier = new Barrier();
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
    _cutScene = new CutScene();
    if (_cutScene->read(in) != 0) {
        LOG("Failed to read cutscene");
        return -1;
    }
    return 0;
}

int Map::readExit(std::istream& in)
{
    Exit* exit = new Exit();
    if (exit->read(in) != 0) {
        LOG("Failed to read exit");
        delete exit;
        return -1;
    }
    _exits.push_back(exit);
    return 0;
}

int Map::readPlatform(std::istream& in)
{
    Platform* platform = new Platform(this);
    if (platform->read(in) != 0) {
        LOG("Failed to read platform");
        delete platform;
        return -1;
    }
    _platforms.push_back(platform);
    if (platform->getFloor()) _floors.push_back(platform->getFloor());
    if (platform->getCeiling()) _ceilings.push_back(platform->getCeiling());
    return 0;
}

int Map::readObstacle(std::istream& in)
{
    Obstacle* obstacle = new Obstacle(this);
    if (obstacle->read(in) != 0) {
        LOG("Failed to read obstacle");
        delete obstacle;
        return -1;
    }
    _obstacles.push_back(obstacle);
    if (obstacle->getFloor()) _floors.push_back(obstacle->getFloor());
    return 0;
}

int Map::readHammer(std::istream& in)
{
    Hammer* hammer = new Hammer(this);
    if (hammer->read(in) != 0) {
        LOG("Failed to read hammer");
        delete hammer;
        return -1;
    }
    _hammers.push_back(hammer);
    if (hammer->getHazard()) _hazards.push_back(hammer->getHazard());
    return 0;
}

int Map::readHazard(std::istream& in)
{
    Hazard* hazard = new Hazard(this);
    if (hazard->read(in) != 0) {
        LOG("Failed to read hazard");
        delete hazard;
        return -1;
    }
    _hazards.push_back(hazard);
    return 0;
}

int Map::readDoor(std::istream& in)
{
    Door* door = new Door(this);
    if (door->read(in) != 0) {
        LOG("Failed to read door");
        delete door;
        return -1;
    }
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
    Switch* made = new Switch(targets, on, hidden);
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
            GphRect* rect = new GphRect(horizontalSize, verticalSize, &at, picture, GPH_RECT);
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
        if (cx < x - range || cx > x + range || cy < y - 200 || cy > y + 200) continue;
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
