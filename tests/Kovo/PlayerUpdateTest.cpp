#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <set>
#include <string>

#include "Base/App/AppBase.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "KovoHarness.h"
#include "Kovo/Player.h"
#include "PlayerHarness.h"
#include "support/GlContext.h"

namespace {

class PlayerUpdateTest : public kovotest::PlayerFixture {
protected:
    // Runs frames until the hero stands again (at most `limit`); the number run.
    int framesUntilStanding(unsigned ms, int limit = 200)
    {
        for (int n = 1; n <= limit; ++n) {
            hero.update(ms, ms / 1000.0);
            if (hero.getState() == 1 || hero.getState() == 2) return n;
        }
        return -1;
    }

    std::string bubbleFile() const
    {
        return hero.getIdleBubble()
                   ? kovotest::frameFile(hero.getIdleBubble()->getAnimatedTexture(), 0)
                   : "";
    }
};

TEST_F(PlayerUpdateTest, ChargeRisesWhileHeldAndTheGrenadeLeavesAtTheThrowsSecondFrame)
{
    hero.onCharDown(' ');
    ASSERT_TRUE(hero.isCharging());
    frames(1, 10);
    // The first frame of a charge already throws at the smallest speed across.
    EXPECT_DOUBLE_EQ(210, hero.rawThrowVelocityX());
    EXPECT_DOUBLE_EQ(10.5, hero.getThrowVelocityY());
    frames(19, 10);
    EXPECT_NEAR(210 + 19 * 8.4, hero.rawThrowVelocityX(), 1e-9);
    EXPECT_DOUBLE_EQ(210, hero.getThrowVelocityY());
    // The throw picture waits on its first frame; the hero is still standing.
    EXPECT_EQ(animation(48), shown());
    EXPECT_EQ(0u, animation(48)->getCurrentFrame());
    EXPECT_EQ(2, hero.getState());
    EXPECT_FALSE(hero.isProjectileReleased());
    EXPECT_EQ(5, hero.getGrenades());

    hero.onCharUp(' ');
    EXPECT_EQ(48, hero.getState());
    EXPECT_FALSE(hero.isCharging());
    EXPECT_TRUE(hero.isThrowing());
    // 50 ms per picture: frame 1 is reached by the fifth frame of 10 ms, seen by the sixth.
    frames(5, 10);
    EXPECT_EQ(1u, animation(48)->getCurrentFrame());
    EXPECT_FALSE(hero.isProjectileReleased());
    EXPECT_FALSE(kovotest::isPlaying("throw.wav"));
    frames(1, 10);
    EXPECT_TRUE(kovotest::isPlaying("throw.wav"));
    EXPECT_EQ(4, hero.getGrenades());
    ASSERT_TRUE(hero.takeProjectileReleased());
    EXPECT_NEAR(369.6, hero.getThrowVelocityX(), 1e-9);
    EXPECT_DOUBLE_EQ(210, hero.getThrowVelocityY());

    // Once per throw, however long frame 1 lasts.
    kovotest::stopAllEffects();
    frames(19, 10);
    EXPECT_EQ(48, hero.getState());
    EXPECT_EQ(5u, animation(48)->getCurrentFrame());
    frames(1, 10);
    EXPECT_EQ(2, hero.getState());
    EXPECT_EQ(animation(2), shown());
    EXPECT_FALSE(hero.takeProjectileReleased());
    EXPECT_FALSE(kovotest::isPlaying("throw.wav"));
    EXPECT_EQ(4, hero.getGrenades());
    EXPECT_DOUBLE_EQ(0, hero.rawThrowVelocityX());
    EXPECT_DOUBLE_EQ(0, hero.getThrowVelocityY());
    EXPECT_FALSE(hero.isGrenadeThrown());
    EXPECT_FALSE(hero.isThrowing());
}

TEST_F(PlayerUpdateTest, LongChargeStopsAtTheTopSpeedsFacingLeft)
{
    hero.faceLeft();
    hero.onCharDown(' ');
    frames(40, 30);
    // Across it stops at the first step past 630; up it lands on 630 exactly.
    EXPECT_NEAR(-(210 + 17 * 25.2), hero.rawThrowVelocityX(), 1e-9);
    EXPECT_DOUBLE_EQ(630, hero.getThrowVelocityY());
    EXPECT_EQ(animation(47), shown());
}

TEST_F(PlayerUpdateTest, ThrowPressedAndReleasedBetweenTwoFramesStillRunsAndEnds)
{
    for (int throwNumber = 1; throwNumber <= 2; ++throwNumber) {
        SCOPED_TRACE("throw " + std::to_string(throwNumber));
        // The second throw finds the picture left on its last frame by the first.
        hero.onCharDown(' ');
        hero.onCharUp(' ');
        ASSERT_EQ(48, hero.getState());
        EXPECT_EQ(animation(2), shown());
        frames(1, 30);
        EXPECT_EQ(animation(48), shown());
        EXPECT_EQ(0u, animation(48)->getCurrentFrame());
        int released = 0;
        for (int n = 0; n < 20 && hero.getState() == 48; ++n) {
            frames(1, 30);
            if (hero.takeProjectileReleased()) ++released;
        }
        EXPECT_EQ(1, released);
        EXPECT_EQ(2, hero.getState());
        EXPECT_EQ(animation(2), shown());
        EXPECT_EQ(5 - throwNumber, hero.getGrenades());
    }
}

TEST_F(PlayerUpdateTest, ThrowWithoutGrenadesReleasesNothing)
{
    hero.setGrenades(0);
    hero.onCharDown(' ');
    frames(10, 30);
    EXPECT_GT(hero.rawThrowVelocityX(), 210);
    hero.onCharUp(' ');
    EXPECT_GT(framesUntilStanding(30), 0);
    EXPECT_FALSE(hero.takeProjectileReleased());
    EXPECT_EQ(0, hero.getGrenades());
    EXPECT_FALSE(kovotest::isPlaying("throw.wav"));
}

TEST_F(PlayerUpdateTest, NewChargeAtTheThrowsEndKeepsTheThrowPicture)
{
    hero.onCharDown(' ');
    hero.onCharUp(' ');
    frames(8, 30);
    ASSERT_EQ(48, hero.getState());
    hero.onCharDown(' ');
    ASSERT_TRUE(hero.isCharging());
    ASSERT_GT(framesUntilStanding(30), 0);
    EXPECT_EQ(2, hero.getState());
    EXPECT_EQ(animation(48), shown());
    EXPECT_EQ(0u, animation(48)->getCurrentFrame());
    EXPECT_DOUBLE_EQ(0, hero.rawThrowVelocityX());
    frames(1, 30);
    EXPECT_EQ(animation(48), shown());
    EXPECT_EQ(0u, animation(48)->getCurrentFrame());
    EXPECT_DOUBLE_EQ(210, hero.rawThrowVelocityX());
}

TEST_F(PlayerUpdateTest, LauncherPressFiresOnceAndThePoseEndsStanding)
{
    hero.setLauncher(true);
    frames(1, 30);
    EXPECT_EQ(animation(50), shown());
    EXPECT_EQ(2, hero.getState());

    hero.onCharDown(' ');
    EXPECT_TRUE(hero.isProjectileReleased());
    EXPECT_DOUBLE_EQ(630, hero.rawThrowVelocityX());
    EXPECT_EQ(5, hero.getGrenades()) << "the frame takes the grenade";
    frames(1, 30);
    EXPECT_EQ(15, hero.getState());
    EXPECT_EQ(animation(15), shown());
    EXPECT_EQ(4, hero.getGrenades());
    EXPECT_TRUE(kovotest::isPlaying("grenadelaunchershoot.wav"));
    EXPECT_FALSE(hero.isCharging());
    EXPECT_TRUE(hero.isInShotPose());
    EXPECT_TRUE(hero.takeProjectileReleased());

    hero.onCharUp(' ');
    EXPECT_EQ(15, hero.getState()) << "the release starts no hand throw";
    // The recoil: the first two pictures, 500 ms.
    frames(15, 30);
    EXPECT_TRUE(hero.isInShotPose());
    frames(2, 30);
    EXPECT_FALSE(hero.isInShotPose());
    EXPECT_EQ(15, hero.getState());
    // The last picture is reached after 1250 ms and ends the pose in the next frame.
    frames(24, 30);
    EXPECT_EQ(15, hero.getState());
    frames(1, 30);
    EXPECT_EQ(2, hero.getState());
    EXPECT_EQ(animation(50), shown());
    EXPECT_DOUBLE_EQ(0, hero.rawThrowVelocityX());
    EXPECT_EQ(4, hero.getGrenades());
    EXPECT_FALSE(hero.takeProjectileReleased());
}

TEST_F(PlayerUpdateTest, LauncherTappedBetweenTwoFramesFiresOneGrenadeAndNoHandThrow)
{
    hero.setLauncher(true);
    hero.faceLeft();
    hero.onCharDown(' ');
    hero.onCharUp(' ');
    EXPECT_EQ(14, hero.getState());
    EXPECT_EQ(4, hero.getGrenades());
    EXPECT_FALSE(hero.isCharging());
    EXPECT_TRUE(hero.takeProjectileReleased());
    EXPECT_DOUBLE_EQ(-630, hero.getThrowVelocityX());
    ASSERT_GT(framesUntilStanding(30), 40);
    EXPECT_EQ(1, hero.getState());
    EXPECT_EQ(animation(49), shown());
    EXPECT_EQ(4, hero.getGrenades());
    EXPECT_FALSE(hero.takeProjectileReleased());
}

TEST_F(PlayerUpdateTest, LauncherWithoutGrenadesChargesWithoutFiringAndThrowsNothing)
{
    hero.setLauncher(true);
    hero.setGrenades(0);
    hero.onCharDown(' ');
    frames(3, 30);
    EXPECT_TRUE(hero.isCharging());
    EXPECT_EQ(2, hero.getState());
    EXPECT_DOUBLE_EQ(0, hero.rawThrowVelocityX());
    EXPECT_FALSE(kovotest::isPlaying("grenadelaunchershoot.wav"));
    hero.onCharUp(' ');
    EXPECT_EQ(48, hero.getState());
    EXPECT_GT(framesUntilStanding(30), 0);
    EXPECT_EQ(animation(50), shown());
    EXPECT_FALSE(hero.takeProjectileReleased());
}

TEST_F(PlayerUpdateTest, StandingStillBeepsAfterFifteenSecondsThenShowsAnIdlePicture)
{
    hero.setPosition(0, -200, GameConstants::zHero);
    hero.setVelocity(0, 0);
    frames(500, 30);
    EXPECT_EQ(15000, hero.getIdleClock());
    EXPECT_EQ(2, hero.getState()) << "exactly 15000 ms is not yet too long";
    EXPECT_FALSE(kovotest::isPlaying("beep.wav"));
    frames(1, 30);
    EXPECT_EQ(27, hero.getState());
    EXPECT_EQ(animation(27), shown());
    EXPECT_TRUE(kovotest::isPlaying("beep.wav"));
    EXPECT_FALSE(hero.isBeepPlayed());

    // The second beep when the beep picture reaches frame 2 (500 ms).
    kovotest::stopAllEffects();
    frames(16, 30);
    EXPECT_FALSE(hero.isBeepPlayed());
    frames(1, 30);
    EXPECT_TRUE(hero.isBeepPlayed());
    EXPECT_TRUE(kovotest::isPlaying("beep.wav"));

    // At frame 4 (1000 ms) the idle picture: number 1 after a refill, above his head.
    int n = 0;
    while (hero.getState() == 27 && n++ < 100) frames(1, 30);
    EXPECT_EQ(29, hero.getState());
    EXPECT_EQ(animation(29), shown());
    EXPECT_EQ(0u, animation(27)->getCurrentFrame());
    ASSERT_NE(nullptr, hero.getIdleBubble());
    EXPECT_EQ("idle01.pcx", bubbleFile());
    EXPECT_DOUBLE_EQ(0, hero.getIdleBubble()->getCoord()->getX());
    EXPECT_DOUBLE_EQ(-100 + 105, hero.getIdleBubble()->getCoord()->getY());
    EXPECT_DOUBLE_EQ(GameConstants::zBubble, hero.getIdleBubble()->getCoord()->getZ());
    EXPECT_DOUBLE_EQ(200, hero.getIdleBubble()->getLength());
    EXPECT_DOUBLE_EQ(200, hero.getIdleBubble()->getWidth());
    EXPECT_EQ(14u, hero.getIdlePictures().size());
    EXPECT_EQ(0u, hero.getIdlePictures().count(0));

    // The picture lasts 12 s; then he stands, and the clock starts again.
    frames(399, 30);
    EXPECT_EQ(29, hero.getState());
    EXPECT_NE(nullptr, hero.getIdleBubble());
    frames(1, 30);
    EXPECT_EQ(2, hero.getState());
    EXPECT_EQ(animation(2), shown());
    EXPECT_EQ(nullptr, hero.getIdleBubble());
    EXPECT_EQ(0, hero.getIdleClock());
    frames(1, 30);
    EXPECT_EQ(30, hero.getIdleClock());
}

TEST_F(PlayerUpdateTest, ReportedMotionOrTheLauncherKeepsTheIdleClockAtZero)
{
    hero.setIdleClock(14990);
    hero.setVelocity(0, 0.5);
    frames(1, 10);
    EXPECT_EQ(0, hero.getIdleClock());
    hero.setVelocity(0, 0);
    frames(10, 10);
    EXPECT_EQ(100, hero.getIdleClock());

    hero.setLauncher(true);
    frames(1600, 10);
    EXPECT_EQ(0, hero.getIdleClock());
    EXPECT_EQ(2, hero.getState());
    EXPECT_EQ(animation(50), shown());
    EXPECT_FALSE(kovotest::isPlaying("beep.wav"));
}

TEST_F(PlayerUpdateTest, IdlePicturesComeFromAPoolOfFifteen)
{
    hero.setPosition(0, -200, GameConstants::zHero);
    std::set<std::string> files;
    for (int i = 0; i < 15; ++i) {
        hero.showIdlePicture();
        files.insert(bubbleFile());
        if (i == 0) {
            EXPECT_EQ("idle01.pcx", bubbleFile());
        }
    }
    EXPECT_EQ(15u, files.size()) << "no picture twice before all were shown";
    EXPECT_EQ(15u, hero.getIdlePictures().size()) << "the last pick refills the pool";
    hero.showIdlePicture();
    EXPECT_EQ("idle01.pcx", bubbleFile());
}

TEST_F(PlayerUpdateTest, IdleBubbleGoesBelowTheFeetNearTheTopOfTheView)
{
    // Head at 200: a bubble centred at 305 would reach 405, past the view's top at 300.
    hero.setPosition(0, 100, GameConstants::zHero);
    hero.showIdlePicture();
    EXPECT_EQ("idle01_2.pcx", bubbleFile());
    EXPECT_DOUBLE_EQ(100 - 105, hero.getIdleBubble()->getCoord()->getY());

    // Exactly at the top still fits above.
    hero.setPosition(0, -5, GameConstants::zHero);
    hero.showIdlePicture();
    EXPECT_DOUBLE_EQ(-5 + 100 + 105, hero.getIdleBubble()->getCoord()->getY());
    EXPECT_NE(std::string::npos, bubbleFile().find(".pcx"));
    EXPECT_EQ(std::string::npos, bubbleFile().find("_2"));

    // The view follows the camera.
    GphWindow::getInstance()->getCamera()->setPosition(ShpCoord(0, 500, 0));
    hero.setPosition(0, 100, GameConstants::zHero);
    hero.showIdlePicture();
    EXPECT_EQ(std::string::npos, bubbleFile().find("_2"));
    EXPECT_DOUBLE_EQ(305, hero.getIdleBubble()->getCoord()->getY());
}

TEST_F(PlayerUpdateTest, ThrowMeterShowsTheChargeFromItsLeftEnd)
{
    GphWindow* window = GphWindow::getInstance();
    // Feet at 60: the meter lies along y = 50, pixel row 350; x = 0 is column 400.
    hero.setPosition(0, 60, GameConstants::zHero);
    auto drawn = [&](double throwX) {
        hero.setThrowVelocity(throwX, 0);
        glClearColor(0, 0, 0, 0);
        window->clear();
        hero.drawThrowMeter();
    };
    auto at = [](int x) { return testsupport::readPixel(400 + x, 350); };
    const std::array<unsigned char, 3> black{0, 0, 0};

    drawn(630);
    const auto fill = at(-20);
    EXPECT_NE(black, fill);
    EXPECT_EQ(fill, at(20)) << "a full charge fills the bar";
    EXPECT_EQ(black, at(60)) << "nothing beyond the meter";
    EXPECT_DOUBLE_EQ(GameConstants::zThrowMeter, hero.getMeterFrame()->getCoord()->getZ());
    EXPECT_DOUBLE_EQ(GameConstants::zThrowMeterFill, hero.getMeterFill()->getCoord()->getZ());

    drawn(-420);  // half way, either direction
    EXPECT_EQ(fill, at(-20));
    const auto frame = at(40);
    EXPECT_NE(black, frame);
    EXPECT_NE(fill, frame);
    EXPECT_DOUBLE_EQ(46, hero.getMeterFill()->getLength());
    EXPECT_DOUBLE_EQ(-23, hero.getMeterFill()->getCoord()->getX());
    EXPECT_DOUBLE_EQ(50, hero.getMeterFill()->getCoord()->getY());

    drawn(210);  // the first frame of a charge: the frame without fill
    EXPECT_NE(fill, at(-20));
    EXPECT_EQ(frame, at(40));

    // A charge that overshoots 630 by its last step passes the bar's end a little.
    drawn(638.4);
    EXPECT_NEAR(93.84, hero.getMeterFill()->getLength(), 1e-9);

    // No meter without a charge, without grenades, with the launcher or in its shot pose.
    drawn(0);
    EXPECT_EQ(black, at(0));
    hero.setGrenades(0);
    drawn(500);
    EXPECT_EQ(black, at(-20));
    hero.setGrenades(3);
    hero.setLauncher(true);
    drawn(630);
    EXPECT_EQ(black, at(-20));
    hero.setLauncher(false);
    hero.setState(14);
    drawn(630);
    EXPECT_EQ(black, at(-20));
}

TEST_F(PlayerUpdateTest, IdleBubbleIsDrawnOnlyWhenThereIsOne)
{
    GphWindow* window = GphWindow::getInstance();
    hero.setPosition(0, -200, GameConstants::zHero);
    glClearColor(0, 0, 0, 0);
    window->clear();
    hero.drawIdleBubble();
    EXPECT_EQ((std::array<unsigned char, 3>{0, 0, 0}), testsupport::readPixel(400, 305));
    hero.showIdlePicture();
    hero.drawIdleBubble();
    const auto centre = testsupport::readPixel(400, 300 + 5);
    EXPECT_GT(centre[0] + centre[1] + centre[2], 0);
}

TEST_F(PlayerUpdateTest, JumpPosesHoldTheirPicture)
{
    // Straight up: the second jump picture, frozen.
    hero.setJumping(true);
    frames(3, 30);
    EXPECT_EQ(11, hero.getState());
    EXPECT_EQ(animation(11), shown());
    EXPECT_EQ(1u, animation(11)->getCurrentFrame());
    EXPECT_EQ(0u, animation(11)->getTick());

    // A running jump strides on to the fifth picture, holds it, and sets the run half way on.
    hero.setJumping(false);
    hero.onKeyDown(AppKeyRight);
    frames(1, 10);
    EXPECT_EQ(7, hero.getState());
    EXPECT_EQ(animation(7), shown());
    EXPECT_EQ(0u, animation(7)->getCurrentFrame());
    hero.setJumping(true);
    int n = 0;
    while (hero.getState() == 7 && n++ < 100) frames(1, 10);
    EXPECT_EQ(11, hero.getState());
    EXPECT_EQ(animation(11), shown());
    EXPECT_EQ(0u, animation(11)->getCurrentFrame());
    EXPECT_EQ(10u, animation(7)->getCurrentFrame());
    frames(5, 10);
    EXPECT_EQ(11, hero.getState());
    EXPECT_EQ(0u, animation(11)->getCurrentFrame());

    // With the launcher the poses are the launcher's.
    hero.onKeyUp(AppKeyRight);
    hero.setLauncher(true);
    frames(1, 10);
    EXPECT_EQ(animation(19), shown());
    EXPECT_EQ(1u, animation(19)->getCurrentFrame());
}

TEST_F(PlayerUpdateTest, SwitchFlipEndsStandingAfterQuarterOfASecond)
{
    for (bool launcher : {false, true}) {
        SCOPED_TRACE(launcher ? "with the launcher" : "without the launcher");
        hero.setLauncher(launcher);
        hero.flipSwitch();
        frames(1, 30);
        EXPECT_EQ(animation(38), shown());
        frames(7, 30);
        EXPECT_EQ(38, hero.getState());
        frames(1, 30);  // 240 ms: frame 1 is reached now and seen in the next frame
        EXPECT_EQ(38, hero.getState());
        frames(1, 30);
        EXPECT_EQ(launcher ? 50 : 2, hero.getState());
        EXPECT_EQ(animation(launcher ? 50 : 2), shown());
        EXPECT_EQ(0u, animation(38)->getCurrentFrame());
        EXPECT_EQ(0, hero.getIdleClock());
    }
}

TEST_F(PlayerUpdateTest, LookingUpOrDownShowsItsPictureAndEndsAnIdlePicture)
{
    hero.setState(29);
    hero.onKeyDown(AppKeyUp);
    frames(1, 10);
    EXPECT_EQ(animation(44), shown());
    EXPECT_EQ(2, hero.getState());
    hero.onKeyUp(AppKeyUp);
    hero.faceLeft();
    hero.setLauncher(true);
    hero.onKeyDown(AppKeyDown);
    frames(1, 10);
    EXPECT_EQ(animation(53), shown());
}

TEST_F(PlayerUpdateTest, RunningStartsItsStrideFromTheFirstPicture)
{
    hero.onKeyDown(AppKeyLeft);
    animation(6)->setCurrentFrame(7);
    frames(1, 10);
    EXPECT_EQ(6, hero.getState());
    EXPECT_EQ(animation(6), shown());
    EXPECT_EQ(0u, animation(6)->getCurrentFrame());
    frames(5, 10);
    EXPECT_EQ(2u, animation(6)->getCurrentFrame()) << "the stride goes on";

    // Falling keeps its picture while he runs.
    hero.setState(12);
    frames(1, 10);
    EXPECT_EQ(12, hero.getState());
    EXPECT_EQ(animation(12), shown());
}

TEST_F(PlayerUpdateTest, DyingHeroShowsHisDeathWhateverTheKeys)
{
    hero.onCharDown(' ');
    hero.die();
    hero.setIdleClock(500);
    frames(3, 30);
    EXPECT_EQ(40, hero.getState());
    EXPECT_EQ(animation(40), shown());
    EXPECT_EQ(0, hero.getIdleClock());
    EXPECT_TRUE(hero.isCharging());
    EXPECT_DOUBLE_EQ(0, hero.rawThrowVelocityX());
}

}  // namespace
