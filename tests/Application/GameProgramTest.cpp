// The built game program itself, started as a child process in a folder of its own: a start
// without a display fails with a non-zero status, and a started game is left from the main
// menu with keys sent to its window through the X server, ending with status 0 after the
// screens have written their files.

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/Files.h"
#include "support/GameProgram.h"

namespace {

namespace fs = std::filesystem;

const char* const Program = "../../kovo";

class GameProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fs::exists(Program)) << "the game program is not built";
        dir = fs::absolute("program_work");
        testsupport::makeDataFolder(dir.string());
        // A window, not the full screen of a first start.
        testsupport::writeText((dir / "config.dat").string(), "0 1 1 1 \n");
    }

    fs::path dir;
    testsupport::GameProgram program;
};

TEST_F(GameProgramTest, WithoutADisplayTheStartFailsWithANonZeroStatus)
{
    ASSERT_TRUE(program.start(fs::absolute(Program).string(), dir.string(), false));
    EXPECT_EQ(1, program.waitForExit(60));
    EXPECT_EQ(std::string::npos, testsupport::readText((dir / "ktlog.txt").string()).find("Initialized."));
}

TEST_F(GameProgramTest, AKeyOnTheTitleThenEscapeOnTheMainMenuEndsTheProgramWithStatusZero)
{
    ASSERT_TRUE(program.start(fs::absolute(Program).string(), dir.string()));
    ASSERT_TRUE(program.connect());

    program.type(XK_a);
    EXPECT_EQ(-1, program.waitForExit(0)) << "a key on the title must not end the game";
    // Escape on the title would only lead to the main menu: the program ends only if the
    // first key got there already.
    program.type(XK_Escape);
    EXPECT_EQ(0, program.waitForExit(60));
    EXPECT_TRUE(fs::exists(dir / "scores.dat"));
    EXPECT_TRUE(fs::exists(dir / "save_index.txt"));
}

}  // namespace
