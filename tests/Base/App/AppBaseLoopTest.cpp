#include <gtest/gtest.h>

#include <AL/al.h>
#include <SDL/SDL.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "Base/App/AppBase.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Snd/SndManager.h"
#include "Base/Snd/SndSoundEffect.h"
#include "AppBaseTestApp.h"
#include "support/Files.h"
#include "support/GameTimeSound.h"
#include "support/GlContext.h"

// Start-up, the pace of the main loop and its ways of ending.

namespace {

void startApp(RecordingApp& app)
{
    testsupport::keepGlDriverLoaded();
    ASSERT_EQ(0, app.init());
}

}  // namespace

TEST(AppBaseStartup, WindowMadeByTheStartupHookIsKeptAndDeletedWithTheApplication)
{
    {
        RecordingApp app;
        startApp(app);
        EXPECT_EQ(1, app.initCalls);
        ASSERT_NE(nullptr, app.getWindow());
        EXPECT_EQ(GphWindow::getInstance(), app.getWindow());
        app.shutdown();
        EXPECT_EQ(1, app.shutdownCalls);
    }
    EXPECT_EQ(nullptr, GphWindow::getInstance());
}

TEST(AppBaseStartup, NoWindowFromTheStartupHookFailsTheStart)
{
    RecordingApp app(false);
    EXPECT_EQ(-1, app.init());
    EXPECT_EQ(1, app.initCalls);
    EXPECT_EQ(nullptr, app.getWindow());
}

// SDL that has once failed to start cannot be started again in the same process, so the
// failing start runs in a child process of its own, in a folder of its own for its log.
TEST(AppBaseStartup, SdlThatCannotStartIsLoggedAndTheStartupHookNotCalled)
{
    if (getenv("KOVO_APPBASE_SDL_FAILS")) {
        RecordingApp app;
        EXPECT_EQ(-1, app.init());
        EXPECT_EQ(0, app.initCalls);
        EXPECT_EQ(nullptr, app.getWindow());
        return;
    }

    const std::string dir = "appbase_sdl_fails";
    mkdir(dir.c_str(), 0755);
    unlink((dir + "/ktlog.txt").c_str());
    const pid_t pid = fork();
    ASSERT_NE(-1, pid);
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0) _exit(126);
        const int out = open("output.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0) {
            dup2(out, 1);
            dup2(out, 2);
        }
        setenv("KOVO_APPBASE_SDL_FAILS", "1", 1);
        setenv("SDL_VIDEODRIVER", "no_such_video_driver", 1);
        const std::string filter =
            std::string("--gtest_filter=") + ::testing::UnitTest::GetInstance()->current_test_suite()->name() +
            "." + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        execl("/proc/self/exe", "test_Base_App", filter.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    ASSERT_EQ(pid, waitpid(pid, &status, 0));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status)) << testsupport::readText(dir + "/output.txt");

    // Exactly the two lines, the second with SDL's own words.
    std::vector<std::string> log;
    {
        std::istringstream in(testsupport::readText(dir + "/ktlog.txt"));
        std::string line;
        while (std::getline(in, line)) log.push_back(line.substr(line.find(" : ", line.find(" : ") + 3) + 3));
    }
    ASSERT_EQ(2u, log.size());
    EXPECT_EQ("ERROR! Failed to initialize SDL!", log[0]);
    const std::string prefix = "       SDL returned error: ";
    EXPECT_EQ(0u, log[1].find(prefix)) << log[1];
    EXPECT_GT(log[1].size(), prefix.size());
}

TEST(AppBaseLoop, ElapsedTimeIsClampedAndCountsTheWholePreviousPass)
{
    RecordingApp app;
    app.script = [](RecordingApp& a, int frame) {
        if (frame == 3) SDL_Delay(100);  // a slow frame
        else SDL_Delay(8);
        if (frame == 6) a.quit();
    };
    startApp(app);
    app.run();
    app.shutdown();

    ASSERT_EQ(6u, app.elapsed.size());
    EXPECT_LE(app.elapsed[0], AppBase::maxFrameMs);
    // The pass after the slow one gets 30, not 100.
    EXPECT_EQ(30u, app.elapsed[3]);
    // The time of a pass is measured from the start of the previous one, so the previous
    // update's 8 ms and the 1 ms pause are never lost.
    for (size_t i : {1u, 2u, 4u, 5u}) {
        EXPECT_GE(app.elapsed[i], 9u) << "pass " << i + 1;
        EXPECT_LE(app.elapsed[i], 30u) << "pass " << i + 1;
    }
}

TEST(AppBaseLoop, AFixedStepClockHandsEveryPassItsStepHoweverLongThePassTook)
{
    // A step above the clamp is clamped as the machine's clock would be.
    for (unsigned int step : {16u, 45u}) {
        RecordingApp app;
        app.setClock(AppClock::fixedStep(step));
        app.script = [](RecordingApp& a, int frame) {
            if (frame == 2) SDL_Delay(60);
            if (frame == 4) a.quit();
        };
        startApp(app);
        app.run();
        app.shutdown();
        const unsigned int expected = std::min(step, AppBase::maxFrameMs);
        EXPECT_EQ(std::vector<unsigned int>(4, expected), app.elapsed) << step;
    }
}

TEST(AppBaseLoop, QuitFromTheApplicationEndsTheLoopAtTheNextPass)
{
    RecordingApp app;
    app.script = [](RecordingApp& a, int frame) {
        if (frame == 2) a.quit();
    };
    startApp(app);
    app.run();
    EXPECT_EQ(2, app.frames);
    // A second run of an application that has quit does not start a pass.
    app.run();
    EXPECT_EQ(2, app.frames);
    app.shutdown();
}

TEST(AppBaseLoop, QuitEventStillLetsItsPassUpdateAndReclaimSounds)
{
    SndManager sound;
    if (sound.init() != 0) GTEST_SKIP() << "no audio device";
    SndSoundEffect* blip = SndSoundEffect::create("app_frame_blip.wav");
    ASSERT_NE(nullptr, blip);

    bool playingAfterUpdate = false;
    RecordingApp app;
    app.script = [&](RecordingApp&, int frame) {
        if (frame == 1) pushQuit();
        if (frame == 2) {
            // The quit event was read at the start of this pass; the sound ends during it,
            // and only the loop's reclaim after update can take its source back.
            blip->play();
            ALint state = AL_PLAYING;
            for (int waited = 0; state != AL_STOPPED && waited < 3000; waited += 10) {
                testsupport::letSoundRun(10);
                alGetSourcei(blip->getSourceId(), AL_SOURCE_STATE, &state);
            }
            ASSERT_EQ(AL_STOPPED, state);
            playingAfterUpdate = blip->isPlaying();
        }
    };
    startApp(app);
    app.run();
    app.shutdown();

    EXPECT_EQ(2, app.frames);
    EXPECT_TRUE(playingAfterUpdate);
    EXPECT_FALSE(blip->isPlaying());
    SndSoundEffect::release(blip);
    sound.shutdown();
}

TEST(AppBaseLoop, ExceptionEndsTheLoopWithOneLogLineAndShutdownStillRuns)
{
    RecordingApp app;
    app.script = [](RecordingApp&, int frame) {
        if (frame == 3) throw 42;
    };
    startApp(app);
    app.run();
    EXPECT_EQ(3, app.frames);
    const auto log = testsupport::logMessages();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ("Received unknown exception!", log.back());
    app.shutdown();
    EXPECT_EQ(1, app.shutdownCalls);
}
