// The room's model and lifecycle: construction, destruction, the layers' parallax factors
// and depths, and the queries about its tiles, sprites, power-ups and treasure.

#include "Common/Map.h"

#include <list>

#include "Base/Gph/GphParticleSystem.h"
#include "Base/Gph/GphRect.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Common/Barrier.h"
#include "Common/CutScene.h"
#include "Common/Exit.h"
#include "Common/GameConstants.h"
#include "Common/Layer.h"
#include "Common/MapInternal.h"
#include "Kovo/Character.h"
#include "Kovo/Door.h"
#include "Kovo/Grenade.h"
#include "Kovo/Hammer.h"
#include "Kovo/Hazard.h"
#include "Kovo/Item.h"
#include "Kovo/Obstacle.h"
#include "Kovo/Platform.h"
#include "Kovo/Projectile.h"
#include "Kovo/Snow.h"
#include "Kovo/Switch.h"

using namespace MapInternal;

namespace {

// Decoration shares the image table's pictures: each rectangle lets go of its picture first.
void deleteDecoration(std::list<GphRect*>& list)
{
    for (GphRect* rect : list) {
        rect->setAnimatedTexture(nullptr);
        delete rect;
    }
    list.clear();
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
    _gasClouds.clear();
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
