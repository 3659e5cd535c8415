// A game killed by a signal while it saves over a slot: the kills land at moments spread over
// the write, and each time the slot holds a whole save afterwards, the one it held before or
// a finished new one, never a part of one; the slot's save then loads.

#include "Application/GameHarness.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "Application/GameScreen.h"
#include "Kovo/Player.h"

namespace gametest {

namespace {

class SaveKilledTest : public GameTest {};

// Kills spread over 0 to 6 ms after the saving child is first seen inside a save, in steps of
// 0.2 ms: however slowly the child starts, they land while it saves.
constexpr int kKills = 30;
constexpr int kStepUs = 200;
// A child the test failed to kill ends by itself.
constexpr unsigned int kChildLifeSeconds = 30;
// Only ends a test whose child never gets to save.
constexpr auto kSaveSeen = std::chrono::seconds(30);

}  // namespace

TEST_F(SaveKilledTest, AGameKilledWhileSavingLeavesTheSlotWithAWholeSave)
{
    start();
    app->startNewGame();
    app->getGameScreen()->loadLevel("level1-1.xml");
    ASSERT_NE(nullptr, app->getGameScreen()->getLevel());
    app->runFrames(10, 30);
    ASSERT_EQ(0, app->saveGame("save1.dat", 1, "KEPT"));
    const std::string previous = testsupport::readText("save1.dat");
    // The hero moves on: every save from here on differs from the kept one.
    Player* hero = app->getGameScreen()->getPlayer();
    hero->setX(hero->getX() + 40);
    ASSERT_EQ(0, app->saveGame("save2.dat", 2, "NEW"));
    const std::string next = testsupport::readText("save2.dat");
    ASSERT_NE(previous, next);

    int killedInsideASave = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        SCOPED_TRACE(kill);
        // The cut-off file of the kill before is not a sign of this child's save.
        std::filesystem::remove("save1.dat.tmp");
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // The game's own save, over and over, until the signal comes.
            alarm(kChildLifeSeconds);
            for (;;) app->saveGame("save1.dat", 1, "NEW");
        }
        const auto giveUp = std::chrono::steady_clock::now() + kSaveSeen;
        while (!std::filesystem::exists("save1.dat.tmp") && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::microseconds(kill * kStepUs));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(child, waitpid(child, &status, 0));
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

        const std::string slot = testsupport::readText("save1.dat");
        EXPECT_TRUE(slot == previous || slot == next) << "the slot holds " << slot.size() << " bytes";
        // The temporary file, there and not yet whole, shows a save cut off on its way.
        if (std::filesystem::exists("save1.dat.tmp") && testsupport::readText("save1.dat.tmp") != next)
            ++killedInsideASave;
    }
    EXPECT_GT(killedInsideASave, 0) << "no kill came while a save was being written";
    ASSERT_EQ(0, app->loadGame("save1.dat"));
    EXPECT_NE(nullptr, app->getGameScreen()->getLevel());
}

}  // namespace gametest
