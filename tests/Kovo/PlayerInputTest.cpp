#include <gtest/gtest.h>

#include "Base/App/AppBase.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Common/GameConstants.h"
#include "KovoHarness.h"
#include "Kovo/Player.h"
#include "PlayerHarness.h"

namespace {

class PlayerInputTest : public kovotest::PlayerFixture {
protected:
    // Fires the launcher and shows its shot pose: the recoil has just begun.
    void fireLauncher()
    {
        hero.setLauncher(true);
        hero.onCharDown(' ');
        frames(1, 30);
        hero.takeProjectileReleased();
        ASSERT_TRUE(hero.isInShotPose());
    }
};

TEST_F(PlayerInputTest, CtrlJumpsFromTheGroundWithTheShoesSound)
{
    hero.setVerticalSpeed(-5);
    hero.onKeyDown(AppKeyCtrl);
    EXPECT_FALSE(hero.isJumping()) << "no jump while falling";
    EXPECT_FALSE(kovotest::isPlaying("jump1.wav"));

    hero.setVerticalSpeed(0);
    hero.onKeyDown(AppKeyUp);
    ASSERT_TRUE(hero.isUpHeld());
    hero.onKeyDown(AppKeyCtrl);
    EXPECT_TRUE(hero.isJumping());
    EXPECT_FALSE(hero.isUpHeld());
    EXPECT_TRUE(kovotest::isPlaying("jump1.wav"));
    EXPECT_FALSE(kovotest::isPlaying("jump2.wav"));

    hero.setJumping(false);
    hero.setSuperShoes(true);
    hero.onKeyDown(AppKeyCtrl);
    EXPECT_TRUE(kovotest::isPlaying("jump2.wav"));

    // Not while a throw is being charged.
    kovotest::stopAllEffects();
    hero.setJumping(false);
    hero.onCharDown(' ');
    hero.onKeyDown(AppKeyCtrl);
    EXPECT_FALSE(hero.isJumping());
    EXPECT_FALSE(kovotest::isPlaying("jump2.wav"));
    // Its release does nothing here; the room cuts the rise.
    hero.onKeyUp(AppKeyCtrl);
    EXPECT_TRUE(hero.isCharging());
}

TEST_F(PlayerInputTest, AltIsTheThrowKeyLikeTheSpaceBar)
{
    hero.onKeyDown(AppKeyAlt);
    EXPECT_TRUE(hero.isCharging());
    frames(2, 10);
    hero.onKeyUp(AppKeyAlt);
    EXPECT_FALSE(hero.isCharging());
    EXPECT_EQ(48, hero.getState());

    // Other characters only count as activity.
    hero.setState(2);
    hero.setIdleClock(4000);
    hero.onCharDown('x');
    EXPECT_FALSE(hero.isCharging());
    EXPECT_EQ(0, hero.getIdleClock());
    hero.onCharDown(' ');
    hero.onCharUp('x');
    EXPECT_TRUE(hero.isCharging());
    EXPECT_EQ(2, hero.getState());
}

TEST_F(PlayerInputTest, NoChargeInTheAir)
{
    hero.setJumping(true);
    hero.onCharDown(' ');
    EXPECT_FALSE(hero.isCharging());
    hero.setJumping(false);
    hero.setVerticalSpeed(-0.5);
    hero.onCharDown(' ');
    EXPECT_FALSE(hero.isCharging());
    // A release without a charge starts no throw.
    hero.onCharUp(' ');
    EXPECT_EQ(2, hero.getState());
}

TEST_F(PlayerInputTest, ArrowKeysHoldOneDirectionAndTurnTheHero)
{
    hero.onKeyDown(AppKeyLeft);
    EXPECT_TRUE(hero.isLeftHeld());
    EXPECT_TRUE(hero.isFacingLeft());
    hero.onKeyDown(AppKeyRight);
    EXPECT_FALSE(hero.isLeftHeld());
    EXPECT_TRUE(hero.isRightHeld());
    EXPECT_TRUE(hero.isFacingRight());
    // A release clears only its own key.
    hero.onKeyUp(AppKeyLeft);
    EXPECT_TRUE(hero.isRightHeld());
    hero.onKeyUp(AppKeyRight);
    EXPECT_FALSE(hero.anyHeld());

    hero.onKeyDown(AppKeyDown);
    EXPECT_TRUE(hero.isDownHeld());
    hero.onKeyDown(AppKeyUp);
    EXPECT_TRUE(hero.isUpHeld());
    EXPECT_FALSE(hero.isDownHeld());
    hero.onKeyUp(AppKeyUp);
    EXPECT_FALSE(hero.anyHeld());

    // Looking needs solid ground and no throw; a direction key ends a look.
    hero.onKeyDown(AppKeyLeft);
    hero.setJumping(true);
    hero.onKeyDown(AppKeyUp);
    EXPECT_FALSE(hero.isUpHeld());
    EXPECT_TRUE(hero.isLeftHeld());
    hero.setJumping(false);
    hero.setVerticalSpeed(3);
    hero.onKeyDown(AppKeyDown);
    EXPECT_FALSE(hero.isDownHeld());
    hero.setVerticalSpeed(0);
    hero.onCharDown(' ');
    hero.onKeyDown(AppKeyUp);
    EXPECT_FALSE(hero.isUpHeld());
}

TEST_F(PlayerInputTest, OtherKeysOnlyCountAsActivity)
{
    hero.onKeyDown(AppKeyLeft);
    hero.onCharDown(' ');
    for (AppKey key : {AppKeyShift, AppKeyInsert, AppKeyDelete, AppKeyHome, AppKeyEnd,
                       AppKeyPageUp, AppKeyPageDown, AppKeyF1, AppKeyF12}) {
        hero.setIdleClock(9000);
        hero.onKeyDown(key);
        hero.onKeyUp(key);
        EXPECT_EQ(0, hero.getIdleClock()) << key;
        EXPECT_TRUE(hero.isLeftHeld()) << key;
        EXPECT_TRUE(hero.isCharging()) << key;
        EXPECT_FALSE(hero.isJumping()) << key;
    }
    // Tab and Ctrl releases leave the held keys alone.
    hero.onKeyUp(AppKeyTab);
    hero.onKeyUp(AppKeyCtrl);
    EXPECT_TRUE(hero.isLeftHeld());
}

TEST_F(PlayerInputTest, AnyPressRemovesTheIdleBubble)
{
    hero.setPosition(0, -200, GameConstants::zHero);
    hero.showIdlePicture();
    hero.showIdlePicture();
    ASSERT_NE(nullptr, hero.getIdleBubble());
    hero.setIdleClock(16000);
    hero.onKeyDown(AppKeyShift);
    EXPECT_EQ(nullptr, hero.getIdleBubble());
    EXPECT_EQ(0, hero.getIdleClock());
    EXPECT_EQ(15u, hero.getIdlePictures().size());

    hero.showIdlePicture();
    hero.onCharDown('q');
    EXPECT_EQ(nullptr, hero.getIdleBubble());
    // Even a press that a dying hero ignores.
    hero.showIdlePicture();
    hero.die();
    hero.showIdlePicture();
    hero.onKeyDown(AppKeyLeft);
    EXPECT_EQ(nullptr, hero.getIdleBubble());
}

TEST_F(PlayerInputTest, TabDropsTheChargeAndStandsTheHeroUp)
{
    // Without a charge it does nothing.
    hero.setState(7);
    hero.onKeyDown(AppKeyTab);
    EXPECT_EQ(7, hero.getState());

    hero.setState(2);
    hero.onCharDown(' ');
    frames(10, 30);
    hero.setGrenadeThrown(true);
    hero.onKeyDown(AppKeyTab);
    EXPECT_FALSE(hero.isCharging());
    EXPECT_FALSE(hero.isThrowing());
    EXPECT_EQ(2, hero.getState());
    EXPECT_EQ(animation(2), shown());
    EXPECT_DOUBLE_EQ(0, hero.rawThrowVelocityX());
    EXPECT_DOUBLE_EQ(0, hero.getThrowVelocityY());
    EXPECT_FALSE(hero.isGrenadeThrown());
    hero.onCharUp(' ');
    frames(20, 30);
    EXPECT_EQ(2, hero.getState()) << "the release after Tab throws nothing";
    EXPECT_FALSE(hero.takeProjectileReleased());
    EXPECT_EQ(5, hero.getGrenades());

    // Facing left with the launcher (and nothing to fire): the launcher's stand picture.
    hero.faceLeft();
    hero.setLauncher(true);
    hero.setGrenades(0);
    hero.onCharDown(' ');
    hero.onKeyDown(AppKeyTab);
    EXPECT_EQ(1, hero.getState());
    EXPECT_EQ(animation(49), shown());
}

TEST_F(PlayerInputTest, LeftDuringAThrowKeepsTheFacingUntilTheThrowEnds)
{
    hero.onCharDown(' ');
    frames(3, 10);
    hero.onKeyDown(AppKeyLeft);
    EXPECT_TRUE(hero.isLeftHeld());
    EXPECT_TRUE(hero.isFacingRight());
    hero.onCharUp(' ');
    hero.onKeyDown(AppKeyLeft);
    EXPECT_TRUE(hero.isFacingRight());
    int n = 0;
    while (hero.getState() == 48 && n++ < 100) frames(1, 10);
    EXPECT_EQ(1, hero.getState());
    EXPECT_TRUE(hero.isFacingLeft());
    EXPECT_EQ(animation(1), shown());
    EXPECT_EQ(4, hero.getGrenades());
}

TEST_F(PlayerInputTest, ShotPoseIgnoresPressesUntilItsRecoilIsOver)
{
    hero.onKeyDown(AppKeyRight);
    fireLauncher();
    ASSERT_EQ(15, hero.getState());
    // A release still counts.
    hero.onKeyUp(AppKeyRight);
    EXPECT_FALSE(hero.isRightHeld());
    hero.onKeyDown(AppKeyLeft);
    hero.onKeyDown(AppKeyCtrl);
    hero.onCharDown(' ');
    EXPECT_FALSE(hero.isLeftHeld());
    EXPECT_FALSE(hero.isJumping());
    EXPECT_FALSE(hero.isCharging());
    EXPECT_EQ(15, hero.getState());

    frames(17, 30);  // past 500 ms
    ASSERT_FALSE(hero.isInShotPose());
    ASSERT_EQ(15, hero.getState());
    hero.onKeyDown(AppKeyLeft);
    EXPECT_EQ(2, hero.getState());
    EXPECT_TRUE(hero.isLeftHeld());
    EXPECT_TRUE(hero.isFacingLeft());
    EXPECT_DOUBLE_EQ(0, hero.rawThrowVelocityX());

    // Ctrl and Up end it too; a fresh press of the throw key fires again.
    for (AppKey key : {AppKeyCtrl, AppKeyUp}) {
        hero.setJumping(false);
        fireLauncher();
        frames(17, 30);
        hero.onKeyDown(key);
        EXPECT_TRUE(hero.getState() == 1 || hero.getState() == 2) << key;
    }
    hero.setJumping(false);
    fireLauncher();
    frames(17, 30);
    const int grenades = hero.getGrenades();
    hero.onCharDown(' ');
    EXPECT_TRUE(hero.isProjectileReleased());
    frames(1, 30);
    EXPECT_EQ(grenades - 1, hero.getGrenades());
    EXPECT_TRUE(hero.isInShotPose());
}

TEST_F(PlayerInputTest, DyingOrWalkingThroughADoorIgnoresKeys)
{
    hero.onKeyDown(AppKeyLeft);
    hero.onCharDown(' ');
    hero.beginMoveBack();
    hero.onKeyDown(AppKeyRight);
    hero.onKeyUp(AppKeyLeft);
    EXPECT_TRUE(hero.isLeftHeld());
    EXPECT_FALSE(hero.isRightHeld());
    // The release of the throw key drops the charge without a throw.
    hero.onCharUp(' ');
    EXPECT_FALSE(hero.isCharging());
    EXPECT_EQ(5, hero.getState());

    hero.stop();
    hero.onCharDown(' ');
    hero.die();
    hero.onKeyDown(AppKeyCtrl);
    hero.onKeyDown(AppKeyTab);
    EXPECT_FALSE(hero.isJumping());
    EXPECT_TRUE(hero.isCharging());
    hero.onKeyUp(AppKeyAlt);
    EXPECT_TRUE(hero.isCharging()) << "special-key releases are ignored while dying";
    hero.onCharUp(' ');
    EXPECT_FALSE(hero.isCharging());
    EXPECT_EQ(39, hero.getState());
}

}  // namespace
