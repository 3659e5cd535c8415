#ifndef KOVO_TESTS_COMMON_MAPFRAMESUPPORT_H
#define KOVO_TESTS_COMMON_MAPFRAMESUPPORT_H

#include <gtest/gtest.h>

#include <list>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndManager.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Common/GameConstants.h"
#include "Common/Level.h"
#include "Common/LevelOwner.h"
#include "Common/Map.h"
#include "Kovo/Character.h"
#include "Kovo/Player.h"
#include "Kovo/Reaction.h"
#include "LevelTestWindow.h"
#include "support/Files.h"

// Rooms run frame by frame: a level read from a file the test writes, the game's window, a
// real hero and the level's key hooks.
namespace mapframe {

// The game screen's side: every call in order; a death restarts the level as the game
// screen does while lives remain.
class RecordingOwner : public LevelOwner {
public:
    void setObjective(const std::string& image) override { calls.push_back("objective " + image); }
    void onObjectiveFound() override { calls.push_back("found"); }
    void onPlayerDied() override
    {
        calls.push_back("died");
        if (level && restartOnDeath) level->restart();
    }
    void onLevelFinished(const std::string& file, int code) override
    {
        calls.push_back("finished " + file + " " + std::to_string(code));
    }
    size_t count(const std::string& call) const
    {
        size_t n = 0;
        for (const std::string& c : calls)
            if (c == call) ++n;
        return n;
    }
    std::vector<std::string> calls;
    Level* level = nullptr;
    bool restartOnDeath = true;
};

// An actor of any type for the room's rules: a box standing on (x, y), no pictures, no
// behaviour of its own. It counts its thinks and hands the room the bubble it is given.
class TestActor : public Character {
public:
    TestActor(Map* map, Player* player, CharacterType type, double x, double y,
              double width = 100, double length = 100)
        : Character(map, player, type, 0, 0, 8, false, false, 1, 210, 210, 0, 0, 0, 0,
                    CharacterStateStandLeft, true, false)
    {
        setAnchor(8);
        setPosition(x, y, GameConstants::zCharacter);
        setSize(length, width);
    }
    void buildAnimations() override {}
    void think(unsigned, double) override { ++thinks; }
    Reaction* react() override
    {
        Reaction* bubble = nextBubble;
        nextBubble = nullptr;
        return bubble;
    }
    // Hands the room its requests, first to last.
    bool takeRequest(CharacterRequest& request) override
    {
        if (requests.empty()) return false;
        request = requests.front();
        requests.erase(requests.begin());
        return true;
    }
    void setIgnoresGasCloud(bool ignores) { _ignores_gas_cloud = ignores; }
    // The room's rules that the actor's class would set.
    using Character::addTraits;
    using Character::setContact;
    void setFacingLeft(bool left) { _facing_left = left; }

    int thinks = 0;
    Reaction* nextBubble = nullptr;
    std::vector<CharacterRequest> requests;
};

// The room's lists are filled by its reader and by its actors; tests put objects there as
// those would, and the room owns them from then on.
template <class T>
std::list<T*>& roomList(const std::list<T*>& list)
{
    return const_cast<std::list<T*>&>(list);
}

// Barrier records. A floor's surface lies at the top of its band, `depth` deep.
inline std::string floorAt(double x1, double x2, double surface, double depth = 40,
                           const std::string& extra = "")
{
    std::ostringstream out;
    out << "<FLOOR> <BARRIER> <EDGES> " << x1 << ' ' << x2 << ' ' << surface << ' '
        << surface - depth << " </EDGES> <OFFSET> " << depth << " </OFFSET> " << extra
        << " </BARRIER> </FLOOR>\n";
    return out.str();
}

inline std::string barrier(const char* tag, double x1, double x2, double y1, double y2,
                           const std::string& extra = "")
{
    std::ostringstream out;
    out << "<" << tag << "> <BARRIER> <EDGES> " << x1 << ' ' << x2 << ' ' << y1 << ' ' << y2
        << " </EDGES> " << extra << " </BARRIER> </" << tag << ">\n";
    return out.str();
}

inline std::string wallAt(double x1, double x2, double y1, double y2)
{
    return barrier("WALL", x1, x2, y1, y2);
}

inline std::string ceilingAt(double x1, double x2, double y1, double y2)
{
    return barrier("CEILING", x1, x2, y1, y2);
}

// A crate w x h whose bottom stands 10 below the surface `surface`, centred on x, with its
// top floor and its wall.
inline std::string crate(double x, double surface, double w, double h, bool pushable,
                         int animation = 9)
{
    const double bottom = surface - 10;
    const double top = bottom + h;
    std::ostringstream out;
    out << "<OBSTACLE> <ANIMATION> " << animation << " </ANIMATION> <LOCATION> " << x << ' '
        << bottom + h / 2 << ' ' << w << ' ' << h << " </LOCATION> <PROPERTIES> "
        << (pushable ? 1 : 0) << " 0 0 0 </PROPERTIES> "
        << floorAt(x - w / 2, x + w / 2, top, 30) << barrier("WALL", x - w / 2, x + w / 2, top, bottom)
        << "</OBSTACLE>\n";
    return out.str();
}

// The room's pictures every test room carries: 9 for props.
inline std::string roomHead(int id, int width, int height, double gravity)
{
    std::ostringstream out;
    out << "<MAP> <MAP_ID> " << id << " </MAP_ID> <MAP_WIDTH> " << width
        << " </MAP_WIDTH> <MAP_HEIGHT> " << height << " </MAP_HEIGHT> <GRAVITY> " << gravity
        << " </GRAVITY>\n<ANIMATION> 9 100 2 map_red.bmp map_green.bmp </ANIMATION>\n";
    return out.str();
}

class FrameFixture : public leveltest::LevelFixture {
protected:
    static void SetUpTestSuite()
    {
        LevelFixture::SetUpTestSuite();
        leveltest::writeBmp("map_red.bmp", 255, 0, 0);
        leveltest::writeBmp("map_green.bmp", 0, 255, 0);
    }

    void TearDown() override
    {
        _level.reset();
        LevelFixture::TearDown();
    }

    // Reads a level of the rooms with the hero's start at (x, y) and the camera asked for
    // (cameraX, cameraY), starts it and makes it take keys.
    Map* load(const std::string& rooms, double x, double y, double cameraX = 0,
              double cameraY = 0, const std::string& fields = "")
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        _file = std::string("frame_") + info->test_suite_name() + "_" + info->name() + ".xml";
        std::ostringstream text;
        text << "<LEVEL>\n<PLAYER_X> " << x << " </PLAYER_X> <PLAYER_Y> " << y
             << " </PLAYER_Y>\n<CAMERA_X> " << cameraX << " </CAMERA_X> <CAMERA_Y> " << cameraY
             << " </CAMERA_Y>\n"
             << fields << rooms << "</LEVEL>\n";
        testsupport::writeText(_file, text.str());
        _level.reset(new Level(_app.get(), &_owner, _player.get()));
        _owner.level = _level.get();
        EXPECT_EQ(0, _level->read(_file, true, false)) << text.str();
        _owner.calls.clear();
        Map* map = _level->getCurrentMap();
        if (!map) return nullptr;
        _level->start();
        _window->enableDepthTest();
        _window->enableDepthWrite();
        _level->draw();
        _window->disableDepthTest();
        return map;
    }

    Map* room() const { return _level->getCurrentMap(); }

    void run(int frames, unsigned ms = 30)
    {
        for (int i = 0; i < frames; ++i) _level->update(ms);
    }

    // Runs frames until the test holds or the count runs out; the frames run.
    template <class Test>
    int runUntil(Test test, int most, unsigned ms = 30)
    {
        for (int i = 1; i <= most; ++i) {
            _level->update(ms);
            if (test()) return i;
        }
        return -1;
    }

    void press(AppKey key) { _level->onKeyDown(key); }
    void release(AppKey key) { _level->onKeyUp(key); }

    double cameraX() const { return _window->getCamera()->getPosition()->getX(); }
    double cameraY() const { return _window->getCamera()->getPosition()->getY(); }

    // Every effect stops, so that what plays afterwards was started since.
    static void silence()
    {
        if (!SndSoundEffectRegistry) return;
        for (auto& entry : *SndSoundEffectRegistry) entry.second->stop();
    }

    // How many effects of that file play.
    static int playing(const std::string& file)
    {
        int n = 0;
        if (!SndSoundEffectRegistry) return 0;
        for (auto& entry : *SndSoundEffectRegistry)
            if (entry.second->getFileName() == file && entry.second->isPlaying()) ++n;
        return n;
    }

    TestActor* addActor(CharacterType type, double x, double y, double width = 100,
                        double length = 100)
    {
        TestActor* actor = new TestActor(room(), _player.get(), type, x, y, width, length);
        roomList(room()->getCharacters()).push_back(actor);
        return actor;
    }

    std::unique_ptr<Level> _level;
    RecordingOwner _owner;
    std::string _file;
};

}  // namespace mapframe

#endif
