#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Common/Barrier.h"
#include "Common/Map.h"
#include "Kovo/Hammer.h"
#include "Kovo/Obstacle.h"
#include "Kovo/Platform.h"
#include "Kovo/Player.h"
#include "Kovo/Switch.h"
#include "MapFrameSupport.h"

namespace {

using namespace mapframe;

// The hero's motion frame by frame in rooms of gravity 2000: 30 ms frames move him 6.3 units
// across and pull his vertical speed down by 60.
class MapMotionTest : public FrameFixture {
protected:
    double x() const { return _player->getX(); }
    double y() const { return _player->getY(); }
    double vy() const { return _player->getVerticalSpeed(); }

    static std::string flatRoom(const std::string& extra, int width = 2000, int height = 1000,
                                double gravity = 2000)
    {
        return roomHead(1, width, height, gravity) + floorAt(0, width, 40) + extra + "</MAP>\n";
    }
};

}  // namespace

TEST_F(MapMotionTest, WallsAndTheRoomSidesStopTheWalker)
{
    ASSERT_NE(nullptr, load(flatRoom(wallAt(600, 640, 200, 40)), 500, 40));
    press(AppKeyRight);
    run(1);
    EXPECT_DOUBLE_EQ(506.3, x());
    EXPECT_DOUBLE_EQ(40, y());
    // His centre stops on the wall's near edge and stays there.
    run(30);
    EXPECT_DOUBLE_EQ(600, x());
    EXPECT_DOUBLE_EQ(40, y());

    // Beyond the wall, walking left stops him on its far edge.
    release(AppKeyRight);
    _player->setX(700);
    press(AppKeyLeft);
    run(30);
    EXPECT_DOUBLE_EQ(640, x());

    // At the left side of the room (his half width in), a held left does nothing.
    _player->setX(50);
    run(3);
    EXPECT_DOUBLE_EQ(50, x());
    release(AppKeyLeft);
    _player->setX(1950);
    press(AppKeyRight);
    run(3);
    EXPECT_DOUBLE_EQ(1950, x());
    // One step short of the side he takes a last full step past it, then stops.
    _player->setX(1945);
    run(3);
    EXPECT_DOUBLE_EQ(1951.3, x());
}

TEST_F(MapMotionTest, FallingReachesTheLimitStaysThereAndLandsOnTheSurface)
{
    ASSERT_NE(nullptr, load(flatRoom(""), 400, 900, 400, 700));
    // The first frame finds no floor under him: he begins to fall, without moving yet.
    run(1);
    EXPECT_TRUE(_player->isAirborne());
    EXPECT_TRUE(_player->isJumping());
    EXPECT_DOUBLE_EQ(900, y());
    EXPECT_DOUBLE_EQ(0, vy());
    run(1);
    EXPECT_DOUBLE_EQ(-60, vy());
    run(13);
    EXPECT_DOUBLE_EQ(-840, vy());
    const double before = y();
    run(5);
    EXPECT_DOUBLE_EQ(-840, vy());
    EXPECT_NEAR(before - 5 * 25.2, y(), 1e-9);

    // He lands with his feet exactly on the surface, at rest.
    ASSERT_GT(runUntil([&] { return !_player->isJumping(); }, 100), 0);
    EXPECT_DOUBLE_EQ(40, y());
    EXPECT_DOUBLE_EQ(0, vy());
    EXPECT_FALSE(_player->isAirborne());
    run(5);
    EXPECT_DOUBLE_EQ(40, y());
}

TEST_F(MapMotionTest, AGravityStepThatMissesTheLimitStopsOneStepBeyondIt)
{
    ASSERT_NE(nullptr, load(flatRoom("", 2000, 3000, 2500), 400, 2900, 400, 2700));
    run(12);
    EXPECT_DOUBLE_EQ(-825, vy());
    run(1);
    EXPECT_DOUBLE_EQ(-900, vy());
    run(10);
    EXPECT_DOUBLE_EQ(-900, vy());
}

TEST_F(MapMotionTest, AJumpStartsAt700RisesAndLandsWhereItStarted)
{
    ASSERT_NE(nullptr, load(flatRoom(""), 400, 40));
    press(AppKeyCtrl);
    EXPECT_DOUBLE_EQ(700, vy());
    EXPECT_TRUE(_player->isJumping());
    double highest = y();
    const int frames = runUntil(
        [&] {
            highest = std::max(highest, y());
            return !_player->isJumping();
        },
        200);
    ASSERT_GT(frames, 0);
    EXPECT_DOUBLE_EQ(40, y());
    EXPECT_DOUBLE_EQ(0, vy());
    // About 700^2 / (2 * 2000) above the floor.
    EXPECT_NEAR(40 + 122.5, highest, 12);

    // A second jump cut short: letting the key go while rising ends the rise at once.
    release(AppKeyCtrl);
    press(AppKeyCtrl);
    run(3);
    ASSERT_GT(vy(), 0);
    release(AppKeyCtrl);
    EXPECT_DOUBLE_EQ(0, vy());
    run(3);
    const double falling = vy();
    EXPECT_LT(falling, 0);
    // Letting it go while falling changes nothing.
    press(AppKeyCtrl);
    release(AppKeyCtrl);
    EXPECT_DOUBLE_EQ(falling, vy());
}

TEST_F(MapMotionTest, StandingStillHeLandsWithinAUnitAboveTheSurfaceWalkingNot)
{
    // The floor's band reaches 10 above its surface at 40.
    const std::string room =
        roomHead(1, 2000, 1000, 2000) + barrier("FLOOR", 0, 2000, 50, 0, "<OFFSET> 40 </OFFSET>") +
        "</MAP>\n";
    ASSERT_NE(nullptr, load(room, 400, 40.5));
    _player->beginFall();
    run(1);
    EXPECT_DOUBLE_EQ(40, y());
    EXPECT_FALSE(_player->isJumping());

    _player->setY(40.5);
    _player->beginFall();
    press(AppKeyRight);
    run(1);
    EXPECT_DOUBLE_EQ(40.5, y());
    EXPECT_TRUE(_player->isJumping());
    run(1);
    EXPECT_DOUBLE_EQ(40, y());
    EXPECT_FALSE(_player->isJumping());
}

TEST_F(MapMotionTest, FeetFollowASlopeUpAndDown)
{
    // Rising from 40 at x 0 to 240 at x 800.
    const std::string room = roomHead(1, 2000, 1000, 2000) +
                             barrier("FLOOR", 0, 800, 240, 0, "<SLOPE> 0.25 </SLOPE> <OFFSET> 40 </OFFSET>") +
                             "</MAP>\n";
    ASSERT_NE(nullptr, load(room, 100, 65));
    press(AppKeyRight);
    for (int i = 0; i < 20; ++i) {
        run(1);
        ASSERT_NEAR(40 + 0.25 * x(), y(), 1e-9) << i;
        ASSERT_FALSE(_player->isJumping());
    }
    EXPECT_NEAR(226, x(), 1e-9);
    release(AppKeyRight);
    press(AppKeyLeft);
    for (int i = 0; i < 25; ++i) {
        run(1);
        ASSERT_NEAR(40 + 0.25 * x(), y(), 1e-9) << i;
        ASSERT_FALSE(_player->isJumping()) << i;
    }
    release(AppKeyLeft);
    const double still = y();
    run(5);
    EXPECT_DOUBLE_EQ(still, y());
}

TEST_F(MapMotionTest, ARisingHeroStopsUnderTheLowestCeilingCrossed)
{
    // Two ceilings crossed in one frame: the one listed first is the higher.
    ASSERT_NE(nullptr,
              load(flatRoom(ceilingAt(0, 2000, 190, 170) + ceilingAt(0, 2000, 185, 165)), 400, 40));
    press(AppKeyCtrl);
    run(1);
    EXPECT_DOUBLE_EQ(161, _player->getTop());
    run(1);
    EXPECT_DOUBLE_EQ(165, _player->getTop());
    EXPECT_DOUBLE_EQ(0, vy());
    run(1);
    EXPECT_DOUBLE_EQ(165, _player->getTop());
    EXPECT_DOUBLE_EQ(-60, vy());
    run(1);
    EXPECT_LT(_player->getTop(), 165);
}

TEST_F(MapMotionTest, MovingFloorsCarryTheHeroAcrossAndDown)
{
    const std::string room =
        roomHead(1, 2000, 1000, 2000) +
        "<PLATFORM> <ANIMATION> 9 </ANIMATION> <LOCATION> 300 100 200 20 </LOCATION>\n" +
        barrier("FLOOR", 200, 400, 110, 80, "<OFFSET> 30 </OFFSET>") +
        "<WAYPOINTS> 2 300 100 700 100 </WAYPOINTS> </PLATFORM>\n"
        "<PLATFORM> <ANIMATION> 9 </ANIMATION> <LOCATION> 1300 300 200 20 </LOCATION>\n" +
        barrier("FLOOR", 1200, 1400, 320, 280, "<OFFSET> 30 </OFFSET>") +
        "<WAYPOINTS> 2 1300 300 1300 100 </WAYPOINTS> </PLATFORM>\n</MAP>\n";
    Map* map = load(room, 300, 110);
    ASSERT_NE(nullptr, map);
    const Barrier* across = map->getPlatforms().front()->getFloor();
    double moved = 0;
    for (int i = 0; i < 20; ++i) {
        const double before = x();
        run(1);
        ASSERT_DOUBLE_EQ(before + across->getLastMoveX(), x()) << i;
        ASSERT_DOUBLE_EQ(110, y());
        moved += across->getLastMoveX();
    }
    EXPECT_GT(moved, 50);

    // On a sinking floor his feet follow it down.
    const Barrier* down = map->getPlatforms().back()->getFloor();
    _player->setPosition(1300, down->surfaceAt(1300), -41);
    double sunk = 0;
    for (int i = 0; i < 20; ++i) {
        const double before = y();
        run(1);
        ASSERT_FALSE(_player->isJumping()) << i;
        ASSERT_NEAR(before + down->getLastMoveY(), y(), 1e-9) << i;
        ASSERT_NEAR(down->surfaceAt(1300), y(), 1e-9);
        sunk -= down->getLastMoveY();
    }
    EXPECT_GT(sunk, 50);
}

TEST_F(MapMotionTest, APlatformASwitchTurnsOffCarriesNothing)
{
    const std::string room =
        roomHead(1, 2000, 1000, 2000) +
        "<PLATFORM> <ANIMATION> 9 </ANIMATION> <LOCATION> 300 100 200 20 </LOCATION>\n" +
        barrier("FLOOR", 200, 400, 110, 80, "<OFFSET> 30 </OFFSET>") +
        "<WAYPOINTS> 2 300 100 700 100 </WAYPOINTS> <ID> 7 </ID> </PLATFORM>\n"
        "<SWITCH> 1500 90 40 40 7 1 </SWITCH>\n</MAP>\n";
    Map* map = load(room, 300, 110);
    ASSERT_NE(nullptr, map);
    const Platform* platform = map->getPlatforms().front();
    run(10);
    ASSERT_GT(x(), 320);
    map->getSwitches().front()->toggle();
    run(1);
    const double heroX = x();
    const double platformX = platform->getX();
    run(30);
    EXPECT_EQ(platformX, platform->getX());
    EXPECT_EQ(heroX, x());
    EXPECT_DOUBLE_EQ(110, y());
}

TEST_F(MapMotionTest, OnASlipperyFloorHeSlidesOnLessEachFrame)
{
    const std::string room = roomHead(1, 4000, 1000, 2000) +
                             floorAt(0, 4000, 40, 40, "<SLIPPERY> 1 </SLIPPERY>") + "</MAP>\n";
    ASSERT_NE(nullptr, load(room, 400, 40));
    press(AppKeyRight);
    run(10);
    // Walking on it is like walking anywhere.
    EXPECT_NEAR(463, x(), 1e-9);
    release(AppKeyRight);
    double before = x();
    run(1);
    EXPECT_NEAR(6.3 - 0.036, x() - before, 1e-9);
    before = x();
    run(1);
    EXPECT_NEAR(6.3 - 2 * 0.036, x() - before, 1e-9);
    // After about 175 frames the slide has spent itself.
    run(180);
    before = x();
    run(3);
    EXPECT_DOUBLE_EQ(before, x());
    EXPECT_DOUBLE_EQ(0, _player->getVelocityX());
    EXPECT_NEAR(463 + 6.3 * 175 / 2, x(), 10);
}

TEST_F(MapMotionTest, CratesArePushedSwapSidesAtAWallAndStopAtACharacter)
{
    Map* map = load(flatRoom(crate(700, 40, 80, 80, true) + wallAt(900, 940, 300, 40)), 600, 40);
    ASSERT_NE(nullptr, map);
    Obstacle* box = map->getObstacles().front();
    // At rest the crate stands 10 below the floor's surface.
    EXPECT_DOUBLE_EQ(30, box->getBottom());
    press(AppKeyRight);
    ASSERT_GT(runUntil([&] { return box->getX() != 700; }, 30), 0);
    // From the moment his centre enters the crate's wall, both move by the same step.
    const double gap = box->getX() - x();
    for (int i = 0; i < 5; ++i) {
        const double crateBefore = box->getX();
        run(1);
        ASSERT_NEAR(6.3, box->getX() - crateBefore, 1e-9);
        ASSERT_NEAR(gap, box->getX() - x(), 1e-9);
        ASSERT_NEAR(box->getX() - 40, box->getWall()->getX1(), 1e-9);
        ASSERT_NEAR(box->getX() - 40, box->getFloor()->getX1(), 1e-9);
    }
    EXPECT_TRUE(box->isPushed());

    // When the crate's next place lies in the wall, hero and crate trade places.
    for (int i = 0; i < 40; ++i) {
        const double heroX = x();
        const double crateRight = box->getRight();
        const double crateBefore = box->getX();
        run(1);
        if (box->getX() < crateBefore) {
            EXPECT_DOUBLE_EQ(heroX, box->getRight());
            EXPECT_DOUBLE_EQ(crateRight, _player->getRight());
            EXPECT_NEAR(box->getLeft(), box->getWall()->getX1(), 1e-9);
            return SUCCEED();
        }
    }
    ADD_FAILURE() << "the crate never met the wall";
}

TEST_F(MapMotionTest, ACharacterBehindTheCrateOrAFixedObstacleStopsTheHero)
{
    Map* map = load(flatRoom(crate(700, 40, 80, 80, true) + crate(1300, 40, 80, 80, false)), 650, 40);
    ASSERT_NE(nullptr, map);
    addActor(CharacterTypeGoat, 703, 40);
    press(AppKeyRight);
    run(10);
    EXPECT_DOUBLE_EQ(700, map->getObstacles().front()->getX());
    EXPECT_DOUBLE_EQ(656.3, x());

    // An obstacle that cannot be pushed stops his centre on its edge.
    release(AppKeyRight);
    _player->setX(1200);
    press(AppKeyRight);
    run(20);
    EXPECT_DOUBLE_EQ(1260, x());
    EXPECT_DOUBLE_EQ(1300, map->getObstacles().back()->getX());
}

TEST_F(MapMotionTest, ADozerPushesTheStandingHeroAndTurnsAtAWall)
{
    Map* map = load(flatRoom(wallAt(540, 580, 300, 40)), 500, 40);
    ASSERT_NE(nullptr, map);
    TestActor* dozer = addActor(CharacterTypeDozer, 460, 40, 20, 100);
    dozer->addTraits(Character::TraitPusher | Character::TraitKnocksAside);
    dozer->setState(CharacterStateMoveRight);
    run(1);
    EXPECT_NEAR(506.3, x(), 1e-9);
    EXPECT_EQ(CharacterStateMoveRight, dozer->getState());
    // Pushed into the wall he stays, and the dozer turns round.
    _player->setX(535);
    dozer->setX(495);
    run(1);
    EXPECT_DOUBLE_EQ(535, x());
    EXPECT_EQ(CharacterStateMoveLeft, dozer->getState());

    // A walking hero with a dozer on his left side is pushed right, whatever he holds.
    _player->setX(500);
    dozer->setX(460);
    dozer->setState(CharacterStateMoveRight);
    press(AppKeyLeft);
    run(1);
    EXPECT_NEAR(506.3, x(), 1e-9);
    // A dozer asleep pushes nobody.
    dozer->fallAsleep();
    run(1);
    EXPECT_NEAR(500, x(), 1e-9);
}

TEST_F(MapMotionTest, AHazardKillsAndTheDeadHeroFallsOutOfViewAndStartsOver)
{
    const std::string hazard =
        "<HAZARD> <ANIMATION> 9 </ANIMATION> <LOCATION> 700 80 40 40 </LOCATION> </HAZARD>\n";
    Map* map = load(flatRoom(hazard), 600, 40);
    ASSERT_NE(nullptr, map);
    press(AppKeyRight);
    // Touched once the hazard's left edge lies within 15 of his planned centre.
    const int frames = runUntil([&] { return _player->isDying(); }, 30);
    ASSERT_GT(frames, 0);
    EXPECT_GT(x(), 665 - 6.3);
    EXPECT_LE(x(), 672);
    // The hop is given after this frame's gravity.
    EXPECT_DOUBLE_EQ(630, vy());
    EXPECT_FALSE(map->isHeldRight());

    // He hops up and falls through the floor until his top is 1000 below the view's centre.
    double lowest = y();
    double viewX = cameraX(), viewY = cameraY();
    const int falling = runUntil(
        [&] {
            if (!_player->isDying()) return true;
            lowest = std::min(lowest, y());
            viewX = cameraX();
            viewY = cameraY();
            return false;
        },
        200);
    ASSERT_GT(falling, 0);
    EXPECT_LT(lowest, -600);
    EXPECT_EQ(1u, _owner.count("died"));
    EXPECT_EQ(2, _player->getLives());
    // The view stood still while he fell; the room keeps where it stood.
    EXPECT_DOUBLE_EQ(viewX, map->getSavedCameraX());
    EXPECT_DOUBLE_EQ(viewY, map->getSavedCameraY());
    // The level started over: he stands at the start.
    EXPECT_DOUBLE_EQ(600, x());
    EXPECT_DOUBLE_EQ(40, y());
    run(3);
    EXPECT_FALSE(_player->isDying());
    EXPECT_EQ(1u, _owner.count("died"));
}

TEST_F(MapMotionTest, AHeroWhoFallsOutOfTheRoomThroughAGapLosesALifeAndStartsOver)
{
    // A gap from 500 to 700 with nothing under it.
    const std::string room = roomHead(1, 2000, 1000, 2000) + floorAt(0, 500, 40) + floorAt(700, 2000, 40) + "</MAP>\n";
    ASSERT_NE(nullptr, load(room, 400, 40));
    press(AppKeyRight);
    double lowestTop = 1e9;
    const int frames = runUntil(
        [&] {
            lowestTop = std::min(lowestTop, _player->getTop());
            return _owner.count("died") > 0;
        },
        300);
    ASSERT_GT(frames, 0);
    release(AppKeyRight);
    // Lost on the first frame after his top passed the room's bottom, never dying on the way.
    EXPECT_LT(lowestTop, 0);
    EXPECT_GT(lowestTop, -30);
    EXPECT_EQ(2, _player->getLives());
    EXPECT_DOUBLE_EQ(400, x());
    EXPECT_DOUBLE_EQ(40, y());
    run(10);
    EXPECT_EQ(1u, _owner.count("died"));
    EXPECT_DOUBLE_EQ(40, y());
}

TEST_F(MapMotionTest, AHiddenHammersHazardIsHarmless)
{
    const std::string hammer =
        "<HAMMER> <ANIMATION> 9 </ANIMATION> <LOCATION> 700 100 40 40 100 60 </LOCATION>\n"
        "<HAZARD> <ANIMATION> 9 </ANIMATION> <LOCATION> 700 80 40 40 </LOCATION> </HAZARD>\n"
        "<ID> 4 </ID> </HAMMER>\n";
    Map* map = load(flatRoom(hammer), 600, 40);
    ASSERT_NE(nullptr, map);
    Hammer* head = map->getHammers().front();
    head->setVisible(false);
    press(AppKeyRight);
    run(40);
    EXPECT_FALSE(_player->isDying());
    EXPECT_GT(x(), 800);
    head->setVisible(true);
    release(AppKeyRight);
    press(AppKeyLeft);
    EXPECT_GT(runUntil([&] { return _player->isDying(); }, 40), 0);
}
