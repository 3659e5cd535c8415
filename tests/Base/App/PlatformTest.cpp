#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "Base/App/Platform.h"
#include "support/Files.h"

TEST(PlatformMessage, GoesToTheLogAndStandardErrorWithoutWaiting)
{
    testing::internal::CaptureStderr();
    const auto start = std::chrono::steady_clock::now();
    AppPlatform::showMessage("First line.\nSecond line.", "Kovo Tarvell: test");
    const auto took = std::chrono::steady_clock::now() - start;
    const std::string err = testing::internal::GetCapturedStderr();

    EXPECT_EQ("Kovo Tarvell: test: First line.\nSecond line.\n", err);
    // The log keeps its one message per line.
    EXPECT_TRUE(testsupport::logContains("Kovo Tarvell: test: First line. Second line."));
    EXPECT_LT(took, std::chrono::seconds(1));
}

TEST(PlatformWindowPlacement, AsksForTheCornerAndPutsBackWhatWasThere)
{
    const char* kName = "SDL_VIDEO_WINDOW_POS";
    unsetenv(kName);
    AppPlatform::placeNextWindowTopLeft();
    ASSERT_NE(nullptr, std::getenv(kName));
    EXPECT_STREQ("0,0", std::getenv(kName));
    AppPlatform::forgetWindowPlacement();
    EXPECT_EQ(nullptr, std::getenv(kName));

    // Someone else's wish is kept across a placement, even one asked for twice.
    setenv(kName, "50,60", 1);
    AppPlatform::placeNextWindowTopLeft();
    AppPlatform::placeNextWindowTopLeft();
    EXPECT_STREQ("0,0", std::getenv(kName));
    AppPlatform::forgetWindowPlacement();
    EXPECT_STREQ("50,60", std::getenv(kName));
    AppPlatform::forgetWindowPlacement();
    EXPECT_STREQ("50,60", std::getenv(kName));
    unsetenv(kName);
}

TEST(PlatformFatal, EndsWithAFailureStatusAfterItsMessage)
{
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(AppPlatform::exitFatal("New failed"), testing::ExitedWithCode(AppPlatform::kFatalExitCode),
                "New failed");
    EXPECT_NE(0, AppPlatform::kFatalExitCode);
}
