// The room's saved state, with the characters' carried items and the dropped items.

#include "Common/Map.h"

#include <algorithm>
#include <istream>
#include <list>
#include <ostream>
#include <string>

#include "Base/App/Log.h"
#include "Base/App/TaggedText.h"
#include "Base/Gph/GphRect.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/Barrier.h"
#include "Common/CutScene.h"
#include "Common/GameConstants.h"
#include "Common/ItemRecord.h"
#include "Common/MapFactory.h"
#include "Common/MapInternal.h"
#include "Kovo/Character.h"
#include "Kovo/Door.h"
#include "Kovo/Grenade.h"
#include "Kovo/Hammer.h"
#include "Kovo/Item.h"
#include "Kovo/Obstacle.h"
#include "Kovo/Platform.h"
#include "Kovo/Player.h"
#include "Kovo/Switch.h"

using namespace MapInternal;

namespace {

// Dropped items a saved room may carry; more is taken as a corrupt save.
const int kMaxSavedDrops = 100000;

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

}  // namespace

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
    std::list<Item*> dropped;
    size_t index = 0;
    for (Item* item : _items)
        if (index++ >= _fileItemCount && !item->isCollected()) dropped.push_back(item);
    bool asRead = dropped.empty();
    index = 0;
    for (Character* character : _characters)
        asRead = asRead && index < _fileCarried.size() && character->getCarriedItem() == _fileCarried[index++];
    if (asRead) return;

    out << "<CARRIED> ";
    for (Character* character : _characters) out << character->getCarriedItem() << ' ';
    out << "</CARRIED> ";
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
    // What follows is either this extension or the next room's block (or the level's end):
    // a token that is not the extension's tag is left to its reader.
    std::string token;
    in >> std::ws;
    if (in.peek() == std::char_traits<char>::eof()) return 0;
    const std::streampos start = in.tellg();
    if (!TaggedText::readToken(in, token)) return -1;
    if (token != "<CARRIED>") {
        in.clear();
        in.seekg(start);
        return in ? 0 : -1;
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
