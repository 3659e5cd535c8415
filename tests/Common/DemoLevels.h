#ifndef KOVO_TESTS_COMMON_DEMOLEVELS_H
#define KOVO_TESTS_COMMON_DEMOLEVELS_H

// What the tests of the shipped levels share: an owner that only takes note, the hero's
// height and the suite's fixture.

#include <string>

#include "Common/LevelOwner.h"
#include "LevelTestWindow.h"

namespace demolevels {

class SilentOwner : public LevelOwner {
public:
    void setObjective(const std::string& image) override { objective = image; }
    void onObjectiveFound() override {}
    void onPlayerDied() override { ++deaths; }
    void onLevelFinished(const std::string& file, int code) override
    {
        finished = file;
        exitCode = code;
    }
    std::string objective;
    int deaths = 0;
    std::string finished;
    int exitCode = -1;
};

// The hero's box stands 100 high on his feet.
constexpr double kHeroHeight = 100.0;

class DemoLevelsTest : public leveltest::LevelFixture {
protected:
    SilentOwner _owner;
};

}  // namespace demolevels

#endif
