#ifndef KOVO_COMMON_LEVEL_H
#define KOVO_COMMON_LEVEL_H

#include <istream>
#include <list>
#include <map>
#include <ostream>
#include <string>

#include "Base/App/AppBase.h"

class LevelOwner;
class Map;
class Player;
class SndMusic;
class Sprite;

// One level file brought to life: every room of the file by its id, the room the hero is
// in, where the hero and the camera start, and the level's music. The game screen creates
// it, reads it, starts it, updates and draws it every frame and hands it the keys; the
// current room calls back through it when the hero passes a door, dies, finds an
// objective or reaches an exit, and the level passes those events on to its owner.
//
// The level owns its rooms and its music; the application, the owner and the hero belong
// to others.
class Level {
public:
    typedef std::map<int, Map*> MapTable;

    Level(AppBase* owner, LevelOwner* gameScreen, Player* player);
    // Deletes every room in id order, then stops and deletes the music.
    ~Level();
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

    // Reads the level file: the first line is skipped, then the level's fields up to
    // "</LEVEL>" with one "<MAP>" block per room. A file that opens replaces whatever an
    // earlier read left. On success the initial room becomes current, with the camera
    // placed at the file's start position when `placeCamera` is set; `showObjective` hands
    // the file's objective picture to the owner. 0, or -1 after logging one line that names
    // the file and what was wrong: a file that does not open or is empty, an unknown tag, a
    // room that fails to read, a file that ends or holds a bad value before "</LEVEL>", or
    // an initial room that the file does not hold. Rooms read before a failure stay in the
    // level, but none becomes current.
    int read(const std::string& fileName, bool placeCamera, bool showObjective);

    // Running and playing the music.
    void start();
    // Not running, the music stopped.
    void stop();
    void stopMusic();
    // Paused, the music paused, the current room's held keys let go.
    void pause();
    // Not paused, the music resumed.
    void resume();
    bool isRunning() const { return _running; }
    bool isPaused() const { return _paused; }

    // While running and not paused: the current room's frame step, then the music's refill.
    void update(unsigned int ms);
    // The music's refill alone, under the same condition; the world stands still.
    void updateMusic();
    // The current room, drawn with lighting off.
    void draw();

    // After the hero's death with lives left: the initial room becomes current, the hero
    // is put back on his feet at the level's start point with every power-up off, and the
    // level runs again. Nothing is read again. Nothing happens without that room.
    void restart();

    // For the panels: true while the current room shows a hint panel.
    bool hasHint() const;
    // The running power-up's remaining and full time in ms of the current room; 0 and 0
    // without a current room.
    void powerUpStatus(int& remaining, int& total) const;
    // The current room's held keys let go.
    void clearInput();
    // The treasures of every room, found or not.
    int treasureCount() const;

    // Keys, as the game screen receives them, handed on to the hero and then to the current
    // room. They count only once the current room has been drawn: a press while a hint
    // panel shows reaches the room only (which puts the panel away), and the next release of
    // any key is kept from the hero; the room never hears of a character key's release.
    void onCharDown(char c);
    void onCharUp(char c);
    void onKeyDown(AppKey key);
    void onKeyUp(AppKey key);

    // The room's callbacks. A door: the target room becomes current and the hero arrives
    // at (x, y) with the power-up times carried over; a missing room is logged and nothing
    // changes.
    void gotoMap(int mapId, double x, double y, int xrayTime, int shoesTime, int armorTime,
                 int phoneTime, int launcherTime);
    void setObjective(const std::string& imageFileName);
    void playerDied();
    // The music stops, then the owner hears of the exit code. The owner must not delete
    // the level inside this call.
    void finished(int exitCode);
    void objectiveFound();

    // For the room reader: asks the rooms already stored, in ascending id order, to append
    // their sprites with that id, and stops after the first room after whose search the
    // list is not empty. The list is not cleared first.
    void findSpritesById(int id, std::list<Sprite*>& sprites) const;

    // Saved games. The level's block is the file name, each room's block in ascending id
    // order and the current room's id; the game screen writes the camera's x and y behind
    // it, and readState takes them as the end of the block. readState reads the level file
    // again, pours each room's saved values into what that reading built, makes the saved
    // room current and puts the camera where it was. 0, or -1 (or the failing room's
    // result) after logging why.
    int writeState(std::ostream& out);
    int readState(std::istream& in);

    AppBase* getOwner() const { return _owner; }
    LevelOwner* getGameScreen() const { return _gameScreen; }
    Player* getPlayer() const { return _player; }
    const std::string& getFileName() const { return _fileName; }
    const MapTable& getMaps() const { return _maps; }
    // The room with that id, or null.
    Map* getMap(int id) const;
    Map* getCurrentMap() const { return _current; }
    SndMusic* getMusic() const { return _music; }
    double getCameraX() const { return _cameraX; }
    double getCameraY() const { return _cameraY; }
    double getPlayerX() const { return _playerX; }
    double getPlayerY() const { return _playerY; }
    int getInitialMapId() const { return _initialMapId; }
    bool isKeyConsumed() const { return _keyConsumed; }

private:
    // The level's own fields up to "</LEVEL>"; 0, or -1 with `failure` telling what was
    // wrong (empty when a room's reader has logged it already).
    int readFields(std::istream& in, bool showObjective, std::string& failure);
    // One field of the level block: 0, -1, or TaggedText::kUnknownTag.
    int readField(std::istream& in, const std::string& tag, bool showObjective);
    // One "<MAP>" block: the room is kept under its id unless the id is taken already.
    int readMap(std::istream& in);
    int readMusic(std::istream& in);
    // Deletes every room and the music; no room is current afterwards.
    void clear();
    // True when keys may reach the current room.
    bool takesInput() const;

    AppBase* _owner;
    LevelOwner* _gameScreen;
    std::string _fileName;
    MapTable _maps;
    Map* _current;
    Player* _player;
    SndMusic* _music;
    bool _running;
    bool _paused;
    double _cameraX;
    double _cameraY;
    double _playerX;
    double _playerY;
    int _initialMapId;
    bool _keyConsumed;
};

#endif
