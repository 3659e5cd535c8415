#include <gtest/gtest.h>

#include <string>

#include "Common/Level.h"
#include "Common/Map.h"
#include "Kovo/Hint.h"
#include "Kovo/Obstacle.h"
#include "Kovo/Player.h"
#include "MapFrameSupport.h"

namespace {

using namespace mapframe;

// Keys as the game screen hands them to the level: the hero hears of them first, then the
// room, which keeps the held directions, starts jumps and puts hint panels away.
class MapInputTest : public FrameFixture {
protected:
    static std::string flatRoom(const std::string& extra)
    {
        return roomHead(1, 2000, 1000, 2000) + floorAt(0, 2000, 40) + extra + "</MAP>\n";
    }
    // A room whose first frame shows a one-panel cut-scene.
    static std::string cutSceneRoom(const std::string& extra = "")
    {
        return flatRoom("<CUTSCENE> <DIALOGUE> map_red.bmp 400 350 </DIALOGUE> </CUTSCENE>\n" +
                        extra);
    }
};

}  // namespace

TEST_F(MapInputTest, EachArrowHoldsOneDirection)
{
    Map* map = load(flatRoom(""), 400, 40);
    ASSERT_NE(nullptr, map);
    press(AppKeyRight);
    EXPECT_TRUE(map->isHeldRight());
    press(AppKeyLeft);
    EXPECT_TRUE(map->isHeldLeft());
    EXPECT_FALSE(map->isHeldRight());
    // Letting the first key go changes nothing.
    release(AppKeyRight);
    EXPECT_TRUE(map->isHeldLeft());
    run(1);
    EXPECT_DOUBLE_EQ(393.7, _player->getX());
    release(AppKeyLeft);
    EXPECT_FALSE(map->isHeldLeft());

    press(AppKeyUp);
    EXPECT_TRUE(map->isHeldUp());
    press(AppKeyDown);
    EXPECT_TRUE(map->isHeldDown());
    EXPECT_FALSE(map->isHeldUp());
    press(AppKeyRight);
    EXPECT_FALSE(map->isHeldDown());
    // Other keys leave the room's flags alone.
    press(AppKeyTab);
    press(AppKeyHome);
    EXPECT_TRUE(map->isHeldRight());
    // Pausing the level lets every held key go.
    _level->pause();
    EXPECT_FALSE(map->isHeldRight());
}

TEST_F(MapInputTest, UpAndDownCountOnlyForAHeroAtRestOnTheGround)
{
    Map* map = load(flatRoom(""), 400, 40);
    ASSERT_NE(nullptr, map);
    press(AppKeyCtrl);
    ASSERT_TRUE(_player->isJumping());
    press(AppKeyUp);
    EXPECT_FALSE(map->isHeldUp());
    press(AppKeyDown);
    EXPECT_FALSE(map->isHeldDown());
    ASSERT_GT(runUntil([&] { return !_player->isJumping(); }, 100), 0);
    release(AppKeyCtrl);

    // Falling without a jump: any vertical speed but 0 keeps them out too.
    _player->setVerticalSpeed(0);
    _player->addVerticalSpeed(-10);
    press(AppKeyUp);
    EXPECT_FALSE(map->isHeldUp());
    _player->setVerticalSpeed(0);

    // Charging a throw.
    _level->onCharDown(' ');
    ASSERT_TRUE(_player->isThrowing());
    press(AppKeyDown);
    EXPECT_FALSE(map->isHeldDown());
    // The jump key does not jump while throwing either.
    press(AppKeyCtrl);
    EXPECT_DOUBLE_EQ(0, _player->getVerticalSpeed());
    _level->onKeyDown(AppKeyTab);
    release(AppKeyCtrl);
    press(AppKeyDown);
    EXPECT_TRUE(map->isHeldDown());
    // A jump lets up and down go.
    press(AppKeyCtrl);
    EXPECT_FALSE(map->isHeldDown());
    EXPECT_DOUBLE_EQ(700, _player->getVerticalSpeed());
}

TEST_F(MapInputTest, AHintTakesThePressAndTheLevelKeepsThePressAndItsReleaseFromTheHero)
{
    Map* map = load(cutSceneRoom(), 400, 40);
    ASSERT_NE(nullptr, map);
    press(AppKeyRight);
    ASSERT_TRUE(_player->isRightHeld());
    run(1);
    ASSERT_TRUE(map->hasHint());
    const double x = _player->getX();

    // A special key: the room only puts the hint away; the hero does not hear of it.
    press(AppKeyCtrl);
    EXPECT_FALSE(map->hasHint());
    EXPECT_TRUE(_level->isKeyConsumed());
    EXPECT_FALSE(_player->isJumping());
    EXPECT_DOUBLE_EQ(0, _player->getVerticalSpeed());
    // Its release is kept from the hero; the room hears it.
    release(AppKeyRight);
    EXPECT_FALSE(_level->isKeyConsumed());
    EXPECT_TRUE(_player->isRightHeld());
    EXPECT_FALSE(map->isHeldRight());
    // Later releases reach the hero again.
    release(AppKeyRight);
    EXPECT_FALSE(_player->isRightHeld());
    run(1);
    EXPECT_DOUBLE_EQ(x, _player->getX());
    EXPECT_TRUE(map->getShownHint() == nullptr);
}

TEST_F(MapInputTest, ACharacterKeyOnAHintIsKeptFromTheHeroAndSoIsItsRelease)
{
    Map* map = load(cutSceneRoom(), 400, 40);
    ASSERT_NE(nullptr, map);
    run(1);
    ASSERT_TRUE(map->hasHint());
    Hint* hint = map->getShownHint();
    _level->onCharDown(' ');
    EXPECT_FALSE(map->hasHint());
    EXPECT_FALSE(hint->isShown());
    EXPECT_FALSE(_player->isCharging());
    EXPECT_TRUE(_level->isKeyConsumed());
    _level->onCharUp(' ');
    EXPECT_FALSE(_level->isKeyConsumed());
    EXPECT_EQ(CharacterStateStandRight, _player->getState());
    // The room runs again and the next press is the hero's.
    run(1);
    _level->onCharDown(' ');
    EXPECT_TRUE(_player->isCharging());
}

TEST_F(MapInputTest, AHintUnderADyingHeroOrTheLaunchersShotCanStillBeDismissed)
{
    // The hint freezes the frame step, so neither the death nor the shot pose would ever
    // end: a key must put it away.
    Map* map = load(cutSceneRoom(), 400, 40);
    ASSERT_NE(nullptr, map);
    _player->die();
    run(1);
    ASSERT_TRUE(map->hasHint());
    press(AppKeyLeft);
    EXPECT_FALSE(map->hasHint());
    EXPECT_FALSE(map->isHeldLeft());
    release(AppKeyLeft);

    // The shot pose starts in the hero's own update; the hint folder lying at his feet is
    // picked up later in that frame.
    Map* second = load(flatRoom("<ITEM> 6 400 60 map_red.bmp map_green.bmp </ITEM>\n"), 400, 40);
    ASSERT_NE(nullptr, second);
    _player->respawn();
    _player->setLauncher(true);
    _level->onCharDown(' ');
    run(1);
    ASSERT_TRUE(_player->isInShotPose());
    ASSERT_TRUE(second->hasHint());
    _level->onCharUp(' ');
    _level->onCharDown('a');
    EXPECT_FALSE(second->hasHint());
    EXPECT_TRUE(_player->isInShotPose());
    run(1);
    EXPECT_EQ(1u, second->getGrenades().size());
}

TEST_F(MapInputTest, WhileDyingOrWalkingIntoADoorKeysAreIgnored)
{
    Map* map = load(flatRoom(""), 400, 40);
    ASSERT_NE(nullptr, map);
    press(AppKeyRight);
    _player->beginMoveBack();
    press(AppKeyLeft);
    EXPECT_TRUE(map->isHeldRight());
    EXPECT_FALSE(map->isHeldLeft());
    // A release keeps its flag until input is cleared.
    release(AppKeyRight);
    EXPECT_TRUE(map->isHeldRight());
    _player->stop();
    _player->die();
    press(AppKeyCtrl);
    release(AppKeyRight);
    EXPECT_TRUE(map->isHeldRight());
    _level->clearInput();
    EXPECT_FALSE(map->isHeldRight());
}

TEST_F(MapInputTest, ClearingInputSilencesEveryObstaclesPushSound)
{
    const std::string crates =
        "<OBSTACLE> <ANIMATION> 9 </ANIMATION> <PUSH_SOUND> moneybag.wav </PUSH_SOUND> "
        "<LOCATION> 700 70 80 80 </LOCATION> <PROPERTIES> 1 0 0 0 </PROPERTIES> " +
        floorAt(660, 740, 110, 30) + wallAt(660, 740, 110, 30) + "</OBSTACLE>\n";
    Map* map = load(flatRoom(crates), 600, 40);
    ASSERT_NE(nullptr, map);
    Obstacle* box = map->getObstacles().front();
    silence();
    press(AppKeyRight);
    ASSERT_GT(runUntil([&] { return box->isPushed(); }, 30), 0);
    if (s_soundStarted) {
        EXPECT_TRUE(box->getPushSound()->isPlaying());
    }
    _level->clearInput();
    EXPECT_FALSE(box->isPushed());
    EXPECT_FALSE(box->getPushSound()->isPlaying());
    EXPECT_FALSE(map->isHeldRight());
    // Still pushing: the next frames push and play again, until the level pauses.
    press(AppKeyRight);
    run(1);
    if (s_soundStarted) {
        EXPECT_TRUE(box->getPushSound()->isPlaying());
    }
    _level->pause();
    EXPECT_FALSE(box->getPushSound()->isPlaying());
    // Paused, the room stands still.
    const double x = _player->getX();
    run(3);
    EXPECT_DOUBLE_EQ(x, _player->getX());
    _level->resume();
    run(1);
    EXPECT_DOUBLE_EQ(x, _player->getX());
}
