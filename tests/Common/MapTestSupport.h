#ifndef KOVO_TESTS_COMMON_MAPTESTSUPPORT_H
#define KOVO_TESTS_COMMON_MAPTESTSUPPORT_H

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "Base/Gph/GphWindow.h"
#include "Base/Snd/SndManager.h"
#include "Common/Map.h"
#include "LevelTestWindow.h"

namespace maptest {

// Rooms read from text in the game's window, with the sound engine started as in the game.
class MapFixture : public testsupport::SoundSuite {
protected:
    static void SetUpTestSuite()
    {
        SoundSuite::SetUpTestSuite();
        leveltest::writeBmp("map_red.bmp", 255, 0, 0);
        leveltest::writeBmp("map_green.bmp", 0, 255, 0);
        leveltest::writeBmp("map_blue.bmp", 0, 0, 255);
        leveltest::writeBmp("map_yellow.bmp", 255, 255, 0);
        leveltest::writeBmp("map_cyan.bmp", 0, 255, 255);
        leveltest::writeBmp("map_magenta.bmp", 255, 0, 255);
        leveltest::writeBmp("map_grey.bmp", 128, 128, 128);
    }

    void SetUp() override
    {
        _window = leveltest::openWindow();
        ASSERT_NE(nullptr, _window);
        _owner.reset(new leveltest::WindowOwner(_window));
    }

    void TearDown() override { _owner.reset(); }

    // A new room reading the block behind "<MAP>"; `result` receives Map::read's result.
    std::unique_ptr<Map> readMap(const std::string& block, int& result, Player* player = nullptr)
    {
        std::unique_ptr<Map> map(new Map(_owner.get(), nullptr, player));
        std::istringstream in(block);
        result = map->read(in);
        return map;
    }

    // The same, expecting the read to succeed.
    std::unique_ptr<Map> readMap(const std::string& block, Player* player = nullptr)
    {
        int result = -2;
        std::unique_ptr<Map> map = readMap(block, result, player);
        EXPECT_EQ(0, result) << block;
        return map;
    }

    static std::string writeState(Map& map)
    {
        std::ostringstream out;
        EXPECT_EQ(0, map.writeState(out));
        return out.str();
    }

    GphWindow* _window = nullptr;
    std::unique_ptr<leveltest::WindowOwner> _owner;
};

}  // namespace maptest

#endif
