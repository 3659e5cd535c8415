#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Base/Gph/GphRect.h"
#include "Common/Barrier.h"
#include "Common/Layer.h"
#include "Common/Map.h"
#include "Kovo/Door.h"
#include "Kovo/Grenade.h"
#include "Kovo/Hint.h"
#include "Kovo/Item.h"
#include "Kovo/Obstacle.h"
#include "Kovo/Player.h"
#include "Kovo/Switch.h"
#include "MapFrameSupport.h"

namespace {

using namespace mapframe;

// The order of the room's frame step: what freezes it, exits, power-up timers, doors and
// switches, the launcher's recoil, falling obstacles and the camera.
class MapFrameTest : public FrameFixture {
protected:
    static std::string flatRoom(const std::string& extra, int id = 1, int width = 2000,
                                int height = 1000)
    {
        return roomHead(id, width, height, 2000) + floorAt(0, width, 40) + extra + "</MAP>\n";
    }
    static std::string item(int type, double x, double y, const std::string& extras = "")
    {
        return "<ITEM> " + std::to_string(type) + " " + std::to_string(int(x)) + " " +
               std::to_string(int(y)) + " " + extras + " </ITEM>\n";
    }
    static std::string door(double x, int target, double tx, double ty,
                            const std::string& extra = "")
    {
        return "<DOOR> " + std::to_string(int(x)) + " 10 80 100 " + std::to_string(target) +
               " " + std::to_string(int(tx)) + " " + std::to_string(int(ty)) +
               " <ANIMATION> 9 </ANIMATION> " + extra + " </DOOR>\n";
    }
};

}  // namespace

TEST_F(MapFrameTest, AShownHintFreezesEverythingUntilAKeyPutsItAway)
{
    Map* map = load(flatRoom(item(14, 400, 60) + item(6, 400, 60, "map_red.bmp goal.pcx")), 400, 40);
    ASSERT_NE(nullptr, map);
    run(1);
    ASSERT_TRUE(map->hasHint());
    // The hint shows above the hero and sets the level's objective.
    Hint* hint = map->getShownHint();
    EXPECT_DOUBLE_EQ(400, hint->getPanel()->getCoord()->getX());
    EXPECT_DOUBLE_EQ(245, hint->getPanel()->getCoord()->getY());
    EXPECT_EQ(1u, _owner.count("objective goal.pcx"));
    EXPECT_EQ(14970, map->getShoesTime());
    const int idle = _player->getIdleClock();
    run(10);
    EXPECT_EQ(14970, map->getShoesTime());
    EXPECT_EQ(idle, _player->getIdleClock());
    press(AppKeyDown);
    EXPECT_FALSE(map->hasHint());
    run(1);
    EXPECT_EQ(14940, map->getShoesTime());
}

TEST_F(MapFrameTest, OfTwoHintsInOneFrameTheLaterShowsAndTheEarlierIsPutAway)
{
    Map* map = load(flatRoom(item(6, 395, 60, "map_red.bmp goal1.pcx") +
                             item(6, 405, 60, "map_green.bmp goal2.pcx")),
                    400, 40);
    ASSERT_NE(nullptr, map);
    run(1);
    ASSERT_EQ(2u, map->getTransients().size());
    Hint* first = static_cast<Hint*>(map->getTransients().front());
    Hint* second = static_cast<Hint*>(map->getTransients().back());
    EXPECT_EQ(second, map->getShownHint());
    EXPECT_FALSE(first->isShown());
    EXPECT_TRUE(second->isShown());
    press(AppKeyDown);
    EXPECT_FALSE(second->isShown());
    run(1);
    EXPECT_FALSE(map->hasHint());
}

TEST_F(MapFrameTest, ACutSceneShowsItsPanelsOneFrameAtATime)
{
    const std::string scene =
        "<CUTSCENE> <DIALOGUE> map_red.bmp 400 350 </DIALOGUE> <DIALOGUE> map_green.bmp 500 "
        "300 </DIALOGUE> </CUTSCENE>\n";
    Map* map = load(flatRoom(scene), 400, 40);
    ASSERT_NE(nullptr, map);
    press(AppKeyRight);
    release(AppKeyRight);
    run(1);
    ASSERT_TRUE(map->hasHint());
    EXPECT_DOUBLE_EQ(350, map->getShownHint()->getPanel()->getCoord()->getY());
    EXPECT_DOUBLE_EQ(-12, map->getShownHint()->getPanel()->getCoord()->getZ());
    _level->onCharDown('x');
    _level->onCharUp('x');
    run(1);
    ASSERT_TRUE(map->hasHint());
    EXPECT_DOUBLE_EQ(500, map->getShownHint()->getPanel()->getCoord()->getX());
    EXPECT_EQ(2u, map->getTransients().size());
    _level->onCharDown('x');
    _level->onCharUp('x');
    // No more entries: the frame runs on.
    press(AppKeyRight);
    run(1);
    EXPECT_FALSE(map->hasHint());
    EXPECT_DOUBLE_EQ(406.3, _player->getX());
}

TEST_F(MapFrameTest, AnExitFinishesTheLevelOnTheFrameItsTimerPasses1500)
{
    Map* map = load(flatRoom("<EXIT> 2 450 550 140 40 </EXIT>\n"), 500, 40);
    ASSERT_NE(nullptr, map);
    silence();
    press(AppKeyRight);
    _level->onCharDown(' ');
    run(1);
    EXPECT_EQ(1, map->getExitTimer());
    EXPECT_EQ(2, map->getExitCode());
    EXPECT_FALSE(_player->isRightHeld());
    EXPECT_FALSE(_player->isCharging());
    EXPECT_FALSE(map->isHeldRight());
    if (s_soundStarted) {
        EXPECT_EQ(1, playing("victory2.wav"));
    }
    const double x = _player->getX();
    run(49);
    EXPECT_EQ(1471, map->getExitTimer());
    EXPECT_TRUE(_owner.calls.empty());
    EXPECT_DOUBLE_EQ(x, _player->getX());
    run(1);
    EXPECT_EQ(1501, map->getExitTimer());
    ASSERT_EQ(1u, _owner.calls.size());
    EXPECT_EQ("finished " + _file + " 2", _owner.calls[0]);
}

TEST_F(MapFrameTest, OverlappingExitsGiveTheLaterCodeAndNoExitWorksForTheDead)
{
    Map* map = load(flatRoom("<EXIT> 2 450 550 140 40 </EXIT> <EXIT> 1 480 520 200 0 </EXIT>\n"), 500, 40);
    ASSERT_NE(nullptr, map);
    silence();
    run(1);
    EXPECT_EQ(1, map->getExitCode());
    if (s_soundStarted) {
        EXPECT_EQ(1, playing("victory2.wav"));
        EXPECT_GE(playing("victory.wav"), 1);
    }

    Map* again = load(flatRoom("<EXIT> 2 450 550 140 40 </EXIT>\n"), 500, 40);
    ASSERT_NE(nullptr, again);
    _owner.restartOnDeath = false;
    _player->die();
    run(3);
    EXPECT_EQ(0, again->getExitTimer());
}

TEST_F(MapFrameTest, PowerUpsRunTheirFullTimesAndEndWithTheirSounds)
{
    const std::string decoration =
        "<IMAGE> 1 map_red.bmp 0 </IMAGE> <FOREGROUND_OBJECT> 100 100 10 10 1 </FOREGROUND_OBJECT>"
        " <LAYER8_OBJECT> 100 100 10 10 1 </LAYER8_OBJECT> <LAYER9_OBJECT> 100 100 10 10 1 "
        "</LAYER9_OBJECT>\n<FOREGROUND_TILES> <TILE_LAYER> <ROWS> 1 </ROWS> <COLS> 1 </COLS> "
        "<IMAGE> 1 map_green.bmp 0 </IMAGE> <TILES> 1 </TILES> </TILE_LAYER> </FOREGROUND_TILES>\n";
    Map* map = load(flatRoom(decoration + item(11, 400, 60) + item(12, 400, 60) +
                             item(14, 400, 60) + item(15, 400, 60) + item(16, 400, 60)),
                    400, 40);
    ASSERT_NE(nullptr, map);
    run(1);
    EXPECT_EQ(14970, map->getXrayTime());
    EXPECT_EQ(14970, map->getArmorTime());
    EXPECT_EQ(14970, map->getShoesTime());
    EXPECT_EQ(6970, map->getPhoneTime());
    EXPECT_EQ(24970, map->getLauncherTime());
    int remaining = 0, total = 0;
    map->powerUpStatus(remaining, total);
    EXPECT_EQ(14970, remaining);
    EXPECT_EQ(15000, total);
    EXPECT_TRUE(_player->hasSuperShoes());
    EXPECT_TRUE(_player->hasLauncher());
    EXPECT_FALSE(map->isTileAt(0, 0));
    EXPECT_FLOAT_EQ(0.5f, map->getForegroundObjects().front()->getAlpha());
    EXPECT_FLOAT_EQ(0.5f, map->getLayerObjects(8).front()->getAlpha());
    EXPECT_FLOAT_EQ(0.5f, map->getLayerObjects(9).front()->getAlpha());

    // The phone ends on the frame its 7000 ms run out.
    run(232);
    EXPECT_EQ(10, map->getPhoneTime());
    silence();
    run(1);
    EXPECT_EQ(0, map->getPhoneTime());
    if (s_soundStarted) {
        EXPECT_EQ(1, playing("robot_on.wav"));
    }
    // Shoes, x-ray and armor after 15000 ms, all in one frame.
    run(265);
    EXPECT_EQ(30, map->getXrayTime());
    EXPECT_TRUE(_player->hasSuperShoes());
    silence();
    run(1);
    EXPECT_EQ(0, map->getXrayTime());
    EXPECT_EQ(0, map->getShoesTime());
    EXPECT_LE(map->getArmorTime(), 0);
    EXPECT_FALSE(_player->hasSuperShoes());
    EXPECT_TRUE(map->isTileAt(0, 0));
    EXPECT_FLOAT_EQ(1.0f, map->getForegroundObjects().front()->getAlpha());
    EXPECT_FLOAT_EQ(1.0f, map->getLayerObjects(9).front()->getAlpha());
    if (s_soundStarted) {
        EXPECT_EQ(1, playing("xray_off.wav"));
    }
    map->powerUpStatus(remaining, total);
    EXPECT_EQ(25000, total);
    // The launcher after 25000 ms.
    run(333);
    EXPECT_TRUE(_player->hasLauncher());
    run(1);
    EXPECT_FALSE(_player->hasLauncher());
    map->powerUpStatus(remaining, total);
    EXPECT_EQ(0, remaining);
    EXPECT_EQ(15000, total);
}

TEST_F(MapFrameTest, SuperShoesJumpAt1260)
{
    Map* map = load(flatRoom(item(14, 400, 60)), 400, 40);
    ASSERT_NE(nullptr, map);
    run(1);
    press(AppKeyCtrl);
    EXPECT_DOUBLE_EQ(1260, _player->getVerticalSpeed());
}

TEST_F(MapFrameTest, WalkingIntoADoorTakesTheHeroToTheTargetRoomWithHisPowerUps)
{
    const std::string rooms = flatRoom(item(14, 500, 60) + door(500, 2, 120, 40)) +
                              flatRoom("", 2, 800, 600);
    Map* map = load(rooms, 500, 40, 500, 300);
    ASSERT_NE(nullptr, map);
    run(1);
    press(AppKeyUp);
    run(1);
    EXPECT_TRUE(_player->isMovingBack());
    EXPECT_DOUBLE_EQ(40, _player->getY());
    const double camX = cameraX(), camY = cameraY();
    // He rises 70 units a second without the camera following, 40 units in 20 frames.
    run(19);
    EXPECT_NEAR(40 + 19 * 2.1, _player->getY(), 1e-9);
    EXPECT_EQ(1, room()->getId());
    EXPECT_DOUBLE_EQ(camY, cameraY());
    const int shoes = map->getShoesTime();
    run(1);
    ASSERT_EQ(2, room()->getId());
    EXPECT_FALSE(_player->isMovingBack());
    EXPECT_DOUBLE_EQ(120, _player->getX());
    EXPECT_DOUBLE_EQ(40, _player->getY());
    EXPECT_DOUBLE_EQ(camX, map->getSavedCameraX());
    EXPECT_DOUBLE_EQ(camY, map->getSavedCameraY());
    EXPECT_EQ(shoes, room()->getShoesTime());
    EXPECT_EQ(shoes, map->getShoesTime());
    EXPECT_DOUBLE_EQ(400, cameraX());
    EXPECT_DOUBLE_EQ(300, cameraY());
    run(1);
    EXPECT_EQ(shoes - 30, room()->getShoesTime());
}

TEST_F(MapFrameTest, OfTwoDoorsUnderTheHeroTheLaterIsEntered)
{
    const std::string rooms = flatRoom(door(500, 2, 120, 40) + door(510, 2, 300, 40)) +
                              flatRoom("", 2, 800, 600);
    ASSERT_NE(nullptr, load(rooms, 505, 40));
    press(AppKeyUp);
    run(1);
    EXPECT_DOUBLE_EQ(510, _player->getX());
    run(20);
    ASSERT_EQ(2, room()->getId());
    EXPECT_DOUBLE_EQ(300, _player->getX());
}

TEST_F(MapFrameTest, LockedDoorsCrateFilledDoorwaysAndSwitchesInFront)
{
    Map* map = load(flatRoom(door(500, 2, 120, 40, "<LOCKED> 1 </LOCKED> <ID> 7 </ID>") +
                             door(900, 2, 120, 40) + crate(960, 40, 80, 80, false) +
                             door(1300, 2, 120, 40, "<ID> 8 </ID>") +
                             "<SWITCH> 1300 90 40 40 8 1 </SWITCH>\n") +
                        flatRoom("", 2, 800, 600),
                    500, 40);
    ASSERT_NE(nullptr, map);
    silence();
    press(AppKeyUp);
    run(1);
    EXPECT_EQ(CharacterStateFlipSwitch, _player->getState());
    EXPECT_FALSE(map->isHeldUp());
    EXPECT_FALSE(_player->isMovingBack());
    if (s_soundStarted) {
        EXPECT_EQ(1, playing("locked.wav"));
    }
    release(AppKeyUp);
    run(20);

    // A crate in the doorway: nothing, and up stays held.
    _player->setX(870);
    press(AppKeyUp);
    run(3);
    EXPECT_TRUE(map->isHeldUp());
    EXPECT_FALSE(_player->isMovingBack());
    EXPECT_EQ(1, room()->getId());
    release(AppKeyUp);
    run(20);

    // A switch in front of a door is used, the door not.
    _player->setX(1300);
    Switch* lever = map->getSwitches().front();
    ASSERT_TRUE(lever->isOn());
    press(AppKeyUp);
    run(1);
    EXPECT_FALSE(lever->isOn());
    EXPECT_FALSE(map->isHeldUp());
    EXPECT_FALSE(_player->isMovingBack());
    EXPECT_EQ(CharacterStateFlipSwitch, _player->getState());
}

TEST_F(MapFrameTest, AHeroRestoredWalkingIntoADoorStandsAndWalksOn)
{
    Map* map = load(flatRoom(""), 500, 40);
    ASSERT_NE(nullptr, map);
    // A saved game taken during a walk-in gives him back in that state, but the room does
    // not keep the door he was entering.
    std::ostringstream out;
    _player->beginMoveBack();
    ASSERT_EQ(0, _player->writeState(out));
    _player->stop();
    std::istringstream in(out.str());
    std::string tag;
    in >> tag;
    ASSERT_EQ(0, _player->readState(in));
    ASSERT_TRUE(_player->isMovingBack());
    run(1);
    EXPECT_FALSE(_player->isMovingBack());
    EXPECT_DOUBLE_EQ(500, _player->getX());
    press(AppKeyRight);
    run(1);
    EXPECT_DOUBLE_EQ(506.3, _player->getX());
    EXPECT_DOUBLE_EQ(40, _player->getY());
    EXPECT_EQ(1, room()->getId());
}

TEST_F(MapFrameTest, TheLaunchersRecoilStopsAtAWallAndItsGrenadeFliesLevel)
{
    Map* map = load(flatRoom(wallAt(300, 340, 300, 40)), 350, 40);
    ASSERT_NE(nullptr, map);
    _player->setLauncher(true);
    _level->onCharDown(' ');
    run(1);
    ASSERT_TRUE(_player->isInShotPose());
    ASSERT_EQ(1u, map->getGrenades().size());
    const Grenade* shot = map->getGrenades().front();
    EXPECT_DOUBLE_EQ(90, shot->getY());
    EXPECT_DOUBLE_EQ(-30, shot->getZ());
    EXPECT_DOUBLE_EQ(0, shot->getVelocityY());
    EXPECT_FALSE(shot->falls());
    EXPECT_GT(shot->getVelocityX(), 0);
    // Facing right, he is pushed back left 12.6 a frame, without falling.
    run(1);
    EXPECT_NEAR(340, _player->getX(), 1e-9);
    EXPECT_DOUBLE_EQ(40, _player->getY());
    // The wall stopped him on its edge and cut the pose short.
    EXPECT_FALSE(_player->isInShotPose());
}

TEST_F(MapFrameTest, AHandThrownGrenadeStartsAtTheHerosTopAndBurstsOnTheFloor)
{
    Map* map = load(flatRoom(""), 400, 40);
    ASSERT_NE(nullptr, map);
    _level->onCharDown(' ');
    run(5);
    _level->onCharUp(' ');
    ASSERT_GT(runUntil([&] { return !map->getGrenades().empty(); }, 20), 0);
    const Grenade* grenade = map->getGrenades().front();
    EXPECT_TRUE(grenade->falls());
    EXPECT_GT(grenade->getY(), 120);
    EXPECT_GT(grenade->getVelocityX(), 0);
    EXPECT_GT(grenade->getVelocityY(), 0);
    ASSERT_GT(runUntil([&] { return map->getGrenades().empty(); }, 200), 0);
    ASSERT_EQ(1u, map->getEffects().size());
}

TEST_F(MapFrameTest, ACratePushedOffALedgeFallsLandsAndBonksWhoIsUnder)
{
    // A ledge at 440 up to x 800 over the floor at 40.
    const std::string rooms =
        roomHead(1, 3000, 1000, 2000) + floorAt(0, 800, 440) + floorAt(0, 3000, 40) +
        "<OBSTACLE> <ANIMATION> 9 </ANIMATION> <CRASH_SOUND> moneybag.wav </CRASH_SOUND> "
        "<LOCATION> 740 470 80 80 </LOCATION> <PROPERTIES> 1 0 0 0 </PROPERTIES> " +
        floorAt(700, 780, 510, 30) + wallAt(700, 780, 510, 430) + "</OBSTACLE>\n</MAP>\n";
    Map* map = load(rooms, 620, 440, 400, 600);
    ASSERT_NE(nullptr, map);
    Obstacle* box = map->getObstacles().front();
    press(AppKeyRight);
    double fromX = box->getX(), fromY = box->getY();
    ASSERT_GT(runUntil(
                  [&] {
                      if (box->getVerticalSpeed() < 0) return true;
                      fromX = box->getX();
                      fromY = box->getY();
                      return false;
                  },
                  60),
              0);
    // Its first falling frame keeps the push.
    EXPECT_GT(box->getX(), 800);
    EXPECT_NEAR(-60, box->getVerticalSpeed(), 1e-9);
    EXPECT_NEAR(fromY - 1.8, box->getY(), 1e-9);
    EXPECT_GT(box->getX() - fromX, 6.3 - 1e-9);
    release(AppKeyRight);
    silence();

    TestActor* under = addActor(CharacterTypeGoat, box->getX(), 40, 40, 100);
    double fastest = 0;
    double speedAtBonk = 0;
    ASSERT_GT(runUntil(
                  [&] {
                      fastest = std::min(fastest, box->getVerticalSpeed());
                      if (under->isIncapacitated() && speedAtBonk == 0)
                          speedAtBonk = box->getVerticalSpeed();
                      return box->getVerticalSpeed() == 0;
                  },
                  200),
              0);
    EXPECT_EQ(CharacterStateBonkedLeft, under->getState());
    // It bounced off the head: the fall started again from rest.
    EXPECT_DOUBLE_EQ(-60, speedAtBonk);
    EXPECT_DOUBLE_EQ(-840, fastest);
    // Landed with its bottom 10 below the surface; resting, its barriers' y edges are whole.
    EXPECT_NEAR(30, box->getBottom(), 1e-9);
    run(1);
    EXPECT_EQ(std::trunc(box->getFloor()->getY1()), box->getFloor()->getY1());
    EXPECT_EQ(std::trunc(box->getWall()->getY2()), box->getWall()->getY2());
    EXPECT_NEAR(box->getBottom(), box->getWall()->getY2(), 1);
    if (s_soundStarted) {
        EXPECT_TRUE(box->getCrashSound()->isPlaying());
    }
    const double rest = box->getY();
    run(5);
    EXPECT_DOUBLE_EQ(rest, box->getY());
}

// ------------------------------------------------------------------------------------------
// Camera

namespace {

class MapCameraFollowTest : public MapFrameTest {
protected:
    static std::string decoratedRoom(int width, int height, double floorY)
    {
        return roomHead(1, width, height, 2000) + floorAt(0, width, floorY) +
               "<IMAGE> 1 map_red.bmp 0 </IMAGE> <BACKDROP> 400 300 800 600 1 </BACKDROP> "
               "<LAYER1_OBJECT> 100 100 10 10 1 </LAYER1_OBJECT> <LAYER4_OBJECT> 100 100 10 10 1 "
               "</LAYER4_OBJECT> <LAYER8_OBJECT> 100 100 10 10 1 </LAYER8_OBJECT> <LAYER9_OBJECT> "
               "100 100 10 10 1 </LAYER9_OBJECT> <BACKGROUND_OBJECT> 100 100 10 10 1 "
               "</BACKGROUND_OBJECT>\n</MAP>\n";
    }

    // Each decoration rectangle stands at its read place plus the camera's offset from its
    // first view times its factor.
    void expectParallax(const Map* map)
    {
        const double ox = cameraX() - 400, oy = cameraY() - 300;
        EXPECT_NEAR(400 + ox, map->getBackdrop()->getCoord()->getX(), 1e-6);
        EXPECT_NEAR(300 + oy, map->getBackdrop()->getCoord()->getY(), 1e-6);
        for (int layer : {1, 4, 8, 9}) {
            const GphRect* rect = map->getLayerObjects(layer).front();
            EXPECT_NEAR(100 + ox * Map::layerFactor(layer), rect->getCoord()->getX(), 1e-6) << layer;
            EXPECT_NEAR(100 + oy * Map::layerFactor(layer), rect->getCoord()->getY(), 1e-6) << layer;
        }
        EXPECT_DOUBLE_EQ(100, map->getBackgroundObjects().front()->getCoord()->getX());
    }
};

}  // namespace

TEST_F(MapCameraFollowTest, LookingUpAndDownStopsAt80BeyondTheHero)
{
    Map* map = load(decoratedRoom(2000, 2000, 500), 1000, 500, 1000, 500);
    ASSERT_NE(nullptr, map);
    EXPECT_DOUBLE_EQ(500, cameraY());
    press(AppKeyUp);
    run(1);
    EXPECT_DOUBLE_EQ(506, cameraY());
    EXPECT_NEAR(0.3, map->getLookOffset(), 1e-9);
    run(60);
    // The view's lower edge 80 below his feet, to within the unit that the whole-unit steps
    // keep in the carry.
    const double up = cameraY();
    EXPECT_NEAR(500 - 80 + 300, up, 1);
    EXPECT_EQ(std::trunc(up), up);
    run(10);
    EXPECT_DOUBLE_EQ(up, cameraY());
    expectParallax(map);
    release(AppKeyUp);
    press(AppKeyDown);
    run(100);
    // The view's upper edge 80 above his middle line (y + half his height).
    const double down = cameraY();
    EXPECT_NEAR(550 + 80 - 300, down, 1);
    run(10);
    EXPECT_DOUBLE_EQ(down, cameraY());
    expectParallax(map);
    release(AppKeyDown);
    // Walking on level ground leaves the view's height alone.
    press(AppKeyRight);
    run(30);
    EXPECT_DOUBLE_EQ(down, cameraY());
    EXPECT_GT(cameraX(), 1000);
    expectParallax(map);
}

TEST_F(MapCameraFollowTest, TheViewFollowsAJumpOnlyNearItsEdgesAndStaysInTheRoom)
{
    Map* map = load(decoratedRoom(3000, 2000, 500), 1000, 500, 1000, 600);
    ASSERT_NE(nullptr, map);
    EXPECT_DOUBLE_EQ(600, cameraY());
    // His top (y + 50) stays more than 200 inside the view: a jump leaves its height alone.
    press(AppKeyCtrl);
    ASSERT_GT(runUntil([&] { return !_player->isJumping(); }, 100), 0);
    EXPECT_DOUBLE_EQ(600, cameraY());
    release(AppKeyCtrl);

    // The view low in a tall room: the top of his jump comes within 200 of its upper edge
    // and the view rises with him.
    Map* low = load(decoratedRoom(3000, 2000, 500), 1000, 500, 1000, 500);
    ASSERT_NE(nullptr, low);
    press(AppKeyCtrl);
    double highest = cameraY();
    ASSERT_GT(runUntil(
                  [&] {
                      highest = std::max(highest, cameraY());
                      return !_player->isJumping();
                  },
                  100),
              0);
    EXPECT_GT(highest, 500);
    expectParallax(low);

    // Walking to the room's side: the view stops 400 inside it.
    release(AppKeyCtrl);
    press(AppKeyLeft);
    ASSERT_GT(runUntil([&] { return cameraX() == 400; }, 400), 0);
    run(10);
    EXPECT_DOUBLE_EQ(400, cameraX());
    expectParallax(low);
    const double backdropX = low->getBackdrop()->getCoord()->getX();
    run(5);
    EXPECT_DOUBLE_EQ(backdropX, low->getBackdrop()->getCoord()->getX());
}

TEST_F(MapCameraFollowTest, InARoomTheSizeOfTheViewTheCameraNeverMoves)
{
    Map* map = load(decoratedRoom(800, 600, 40), 100, 40);
    ASSERT_NE(nullptr, map);
    press(AppKeyRight);
    run(60);
    EXPECT_GT(_player->getX(), 400);
    EXPECT_DOUBLE_EQ(400, cameraX());
    EXPECT_DOUBLE_EQ(300, cameraY());
    press(AppKeyCtrl);
    run(10);
    EXPECT_DOUBLE_EQ(300, cameraY());
    expectParallax(map);
    EXPECT_DOUBLE_EQ(100, map->getLayerObjects(1).front()->getCoord()->getX());
}
