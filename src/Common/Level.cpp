#include "Common/Level.h"

#include <fstream>
#include <new>

#include "Base/App/Log.h"
#include "Base/App/Platform.h"
#include "Base/App/TaggedText.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndMusic.h"
#include "Common/LevelOwner.h"
#include "Common/Map.h"
#include "Kovo/Player.h"

namespace {

// The first line of a level file holds the level's opening tag; a longer line is not
// skipped whole.
constexpr int kFirstLineSize = 200;

template <class T>
T* checked(T* allocated)
{
    if (!allocated) KOVO_NEW_FAILED();
    return allocated;
}

}  // namespace

Level::Level(AppBase* owner, LevelOwner* gameScreen, Player* player)
    : _owner(owner),
      _gameScreen(gameScreen),
      _current(nullptr),
      _player(player),
      _music(nullptr),
      _running(false),
      _paused(false),
      _cameraX(0.0),
      _cameraY(0.0),
      _playerX(0.0),
      _playerY(0.0),
      _initialMapId(1),
      _keyConsumed(false)
{
}

Level::~Level()
{
    clear();
}

void Level::clear()
{
    _current = nullptr;
    for (auto& entry : _maps) delete entry.second;
    _maps.clear();
    if (_music) {
        _music->stop();
        delete _music;
        _music = nullptr;
    }
}

Map* Level::getMap(int id) const
{
    auto found = _maps.find(id);
    return found == _maps.end() ? nullptr : found->second;
}

int Level::read(const std::string& fileName, bool placeCamera, bool showObjective)
{
    std::ifstream in(fileName.c_str());
    if (!in) {
        LOG("ERROR! Failed to open " << fileName << " for read.");
        return -1;
    }
    // Reading builds every room anew: nothing of an earlier read may stay behind.
    clear();
    _cameraX = _cameraY = 0.0;
    _playerX = _playerY = 0.0;
    _initialMapId = 1;
    _fileName = fileName;

    char firstLine[kFirstLineSize];
    in.getline(firstLine, kFirstLineSize);
    const bool empty = in.eof() && in.gcount() == 0;
    // A longer first line leaves its remainder to be read as tokens.
    if (in.fail() && !in.eof()) in.clear();

    std::string failure;
    const int result = readFields(in, showObjective, failure);
    in.close();
    if (result != 0) {
        if (empty) failure = "the file is empty";
        if (!failure.empty()) LOG("Failed to read level " << _fileName << ": " << failure);
        return -1;
    }

    Map* initial = getMap(_initialMapId);
    if (!initial) {
        // Without it the level would run blank and frozen.
        LOG("Failed to find initial map id: " << _initialMapId << " on level " << _fileName);
        return -1;
    }
    if (placeCamera) initial->placeCamera(_cameraX, _cameraY);
    _current = initial;
    return 0;
}

int Level::readFields(std::istream& in, bool showObjective, std::string& failure)
{
    // Until a field is read, a stream that ends has nothing behind the first line.
    failure = "nothing follows the first line";
    return TaggedText::readBlock(in, "</LEVEL>", [&](const std::string& tag) -> int {
        failure = "it ends before </LEVEL>";
        const int result = readField(in, tag, showObjective);
        if (result == TaggedText::kUnknownTag) failure = "unknown tag " + tag;
        else if (result != 0 && tag == "<MAP>") failure.clear();
        else if (result != 0) failure = "no valid value for " + tag;
        return result;
    });
}

int Level::readField(std::istream& in, const std::string& tag, bool showObjective)
{
    if (tag == "<CAMERA_X>") return TaggedText::readValue(in, _cameraX);
    if (tag == "<CAMERA_Y>") return TaggedText::readValue(in, _cameraY);
    if (tag == "<OBJECTIVE>") {
        std::string image;
        if (TaggedText::readValue(in, image) != 0) return -1;
        if (showObjective && _gameScreen) _gameScreen->setObjective(image);
        return 0;
    }
    if (tag == "<ERASE_COLOR>") {
        double r = 0.0, g = 0.0, b = 0.0, a = 0.0;
        std::string closing;
        if (!(in >> r >> g >> b >> a) || !TaggedText::readToken(in, closing)) return -1;
        GphWindow* window = _owner ? _owner->getWindow() : nullptr;
        if (window)
            window->setClearColor(static_cast<float>(r), static_cast<float>(g),
                                  static_cast<float>(b), static_cast<float>(a));
        return 0;
    }
    if (tag == "<PLAYER_X>") {
        if (TaggedText::readValue(in, _playerX) != 0) return -1;
        if (_player) _player->setX(_playerX);
        return 0;
    }
    if (tag == "<PLAYER_Y>") {
        if (TaggedText::readValue(in, _playerY) != 0) return -1;
        if (_player) _player->setY(_playerY);
        return 0;
    }
    if (tag == "<INITIAL_MAP>") return TaggedText::readValue(in, _initialMapId);
    if (tag == "<MAP>") return readMap(in);
    if (tag == "<MUSIC>") return readMusic(in);
    return TaggedText::kUnknownTag;
}

int Level::readMap(std::istream& in)
{
    Map* map = checked(new (std::nothrow) Map(_owner, this, _player));
    if (map->read(in) != 0) {
        LOG("Failed to read level map on level " << _fileName);
        delete map;
        return -1;
    }
    const int id = map->getId();
    if (!_maps.emplace(id, map).second) {
        // The first room read under an id keeps it.
        LOG("Map id " << id << " read twice on level " << _fileName << "; the first one stays");
        delete map;
    }
    return 0;
}

int Level::readMusic(std::istream& in)
{
    std::string name;
    int loop = 0;
    std::string closing;
    if (!(in >> name >> loop) || !TaggedText::readToken(in, closing)) return -1;
    if (_music) {
        _music->stop();
        delete _music;
    }
    _music = checked(new (std::nothrow) SndMusic(name, false));
    _music->setLooping(loop != 0);
    return 0;
}

void Level::start()
{
    _running = true;
    if (_music) _music->play();
}

void Level::stop()
{
    _running = false;
    stopMusic();
}

void Level::stopMusic()
{
    if (_music) _music->stop();
}

void Level::pause()
{
    _paused = true;
    if (_music) _music->pause();
    if (_current) _current->pause();
}

void Level::resume()
{
    _paused = false;
    if (_music) _music->resume();
}

void Level::update(unsigned int ms)
{
    if (!_running || _paused) return;
    if (_current) _current->update(ms);
    if (_music) _music->update();
}

void Level::updateMusic()
{
    if (!_running || _paused) return;
    if (_music) _music->update();
}

void Level::draw()
{
    GphWindow* window = _owner ? _owner->getWindow() : nullptr;
    if (window) window->disableLighting();
    if (_current) _current->draw();
    if (window) window->enableLighting();
}

void Level::restart()
{
    Map* initial = getMap(_initialMapId);
    if (!initial) {
        LOG("Failed to find map id: " << _initialMapId << " on level " << _fileName);
        return;
    }
    _current = initial;
    if (_player) _player->respawn();
    initial->enter(_playerX, _playerY, 0, 0, 0, 0, 0);
    start();
}

bool Level::hasHint() const
{
    return _current && _current->hasHint();
}

void Level::powerUpStatus(int& remaining, int& total) const
{
    remaining = 0;
    total = 0;
    if (_current) _current->powerUpStatus(remaining, total);
}

void Level::clearInput()
{
    if (_current) _current->clearInput();
}

int Level::treasureCount() const
{
    int count = 0;
    for (const auto& entry : _maps) count += entry.second->treasureCount();
    return count;
}

bool Level::takesInput() const
{
    return _current && _current->isInputEnabled();
}

void Level::onCharDown(char c)
{
    if (!takesInput()) return;
    if (_current->hasHint())
        _keyConsumed = true;
    else if (_player)
        _player->onCharDown(static_cast<unsigned char>(c));
    // The room hears of every press: one that was kept from the hero dismisses the hint.
    _current->onCharDown(c);
}

void Level::onCharUp(char c)
{
    if (!takesInput()) return;
    if (_keyConsumed)
        _keyConsumed = false;
    else if (_player)
        _player->onCharUp(static_cast<unsigned char>(c));
}

void Level::onKeyDown(AppKey key)
{
    if (!takesInput()) return;
    if (_current->hasHint())
        _keyConsumed = true;
    else if (_player)
        _player->onKeyDown(key);
    _current->onKeyDown(key);
}

void Level::onKeyUp(AppKey key)
{
    if (!takesInput()) return;
    if (_keyConsumed)
        _keyConsumed = false;
    else if (_player)
        _player->onKeyUp(key);
    _current->onKeyUp(key);
}

void Level::gotoMap(int mapId, double x, double y, int xrayTime, int shoesTime, int armorTime,
                    int phoneTime, int launcherTime)
{
    Map* map = getMap(mapId);
    if (!map) {
        LOG("Failed to find map id: " << mapId << " on level " << _fileName);
        return;
    }
    _current = map;
    map->enter(x, y, xrayTime, shoesTime, armorTime, phoneTime, launcherTime);
}

void Level::setObjective(const std::string& imageFileName)
{
    if (_gameScreen) _gameScreen->setObjective(imageFileName);
}

void Level::playerDied()
{
    if (_gameScreen) _gameScreen->onPlayerDied();
}

void Level::finished(int exitCode)
{
    stopMusic();
    if (_gameScreen) _gameScreen->onLevelFinished(_fileName, exitCode);
}

void Level::objectiveFound()
{
    if (_gameScreen) _gameScreen->onObjectiveFound();
}

void Level::findSpritesById(int id, std::list<Sprite*>& sprites) const
{
    for (const auto& entry : _maps) {
        entry.second->findSpritesById(id, sprites);
        if (!sprites.empty()) return;
    }
}

int Level::writeState(std::ostream& out)
{
    if (!_current) {
        LOG("No current map to save on level " << _fileName);
        return -1;
    }
    out << _fileName << ' ';
    for (const auto& entry : _maps) {
        const int result = entry.second->writeState(out);
        if (result != 0) return result;
    }
    out << _current->getId() << ' ';
    return out ? 0 : -1;
}

int Level::readState(std::istream& in)
{
    std::string name;
    if (!TaggedText::readToken(in, name)) {
        LOG("Saved level state ends before its file name");
        return -1;
    }
    const int read = this->read(name, false, false);
    if (read != 0) return read;
    for (const auto& entry : _maps) {
        const int result = entry.second->readState(in);
        if (result != 0) return result;
    }
    int id = 0;
    if (!(in >> id)) {
        LOG("Saved level state of " << _fileName << " ends before its current map");
        return -1;
    }
    Map* map = getMap(id);
    if (!map) {
        LOG("Failed to find map id: " << id << " on level " << _fileName);
        return -1;
    }
    double cameraX = 0.0, cameraY = 0.0;
    if (!(in >> cameraX >> cameraY)) {
        LOG("Saved level state of " << _fileName << " ends before its camera position");
        return -1;
    }
    _current = map;
    GphWindow* window = _owner ? _owner->getWindow() : nullptr;
    GphCamera* camera = window ? window->getCamera() : nullptr;
    if (camera) {
        // Straight to the saved spot, with nothing clamped and no layer moved. The empty
        // move brings the view's bounds in step for the first drawing.
        camera->getPosition()->setX(cameraX);
        camera->getPosition()->setY(cameraY);
        camera->move(0.0, 0.0, 0.0);
    }
    return 0;
}
