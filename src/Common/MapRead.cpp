// Reading the room's "<MAP>" block of a level file.

#include "Common/Map.h"

#include <istream>
#include <list>
#include <string>

#include "Base/App/Log.h"
#include "Base/App/TaggedText.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/Barrier.h"
#include "Common/CharacterRecord.h"
#include "Common/CutScene.h"
#include "Common/Exit.h"
#include "Common/GameConstants.h"
#include "Common/ItemRecord.h"
#include "Common/Layer.h"
#include "Common/Level.h"
#include "Common/MapFactory.h"
#include "Common/MapInternal.h"
#include "Kovo/Character.h"
#include "Kovo/Door.h"
#include "Kovo/Hammer.h"
#include "Kovo/Hazard.h"
#include "Kovo/Item.h"
#include "Kovo/Obstacle.h"
#include "Kovo/Platform.h"
#include "Kovo/Snow.h"
#include "Kovo/Switch.h"

using namespace MapInternal;

namespace {

// Reads the block of a freshly made object; one that fails to read is logged and deleted.
template <class T>
T* readWhole(T* object, std::istream& in, const char* failure)
{
    if (object->read(in) == 0) return object;
    LOG(failure);
    delete object;
    return nullptr;
}

}  // namespace

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
        if (record.joinsBeforeLinking()) {
            _characters.push_back(character);
            linkCharacter(character, record);
        } else {
            linkCharacter(character, record);
            _characters.push_back(character);
        }
        if (record.carriedItem >= 0) character->setCarriedItem(record.carriedItem);
        _fileCarried.push_back(character->getCarriedItem());
    }
    return readClosing(in) ? 0 : -1;
}

void Map::linkCharacter(Character* character, const CharacterRecord& record)
{
    if (record.hasId()) {
        character->setId(record.id);
        // Every switch of this room with the id, so that the last one stays.
        if (record.id != -1)
            for (Switch* toggled : _switches)
                if (toggled->getId() == record.id) character->setSwitch(toggled);
    }
    std::list<Sprite*> linked;
    for (int id : record.linkedSpriteIds()) findSpritesById(id, linked);
    if (!linked.empty()) character->setLinkedSprites(linked);
}
