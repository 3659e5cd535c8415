#include <gtest/gtest.h>

#include <string>

#include "Common/Barrier.h"
#include "Common/Map.h"
#include "Kovo/Player.h"
#include "Kovo/Reaction.h"
#include "MapFrameSupport.h"

namespace {

using namespace mapframe;

// The queries actors ask of their room, each at the edges of its tests. An actor's box is
// 100 x 100 standing on (x, bottom), as most actors are.
class MapQueryTest : public FrameFixture {
protected:
    struct Box {
        double x, y, left, right, top, bottom;
    };
    static Box standing(double x, double bottom, double width = 100, double height = 100)
    {
        return Box{x, bottom, x - width / 2, x + width / 2, bottom + height, bottom};
    }

    bool across(const Box& b, double& dx, double& dy, bool moving = true, bool heroWall = false,
                bool pushes = false)
    {
        return room()->moveHorizontally(b.x, b.y, b.left, b.right, b.top, b.bottom, moving,
                                        heroWall, pushes, &dx, &dy);
    }

    bool walk(const Box& b, double& dx, double& dy, int& reason, bool moving = true,
              bool heroWall = false, bool pushes = false)
    {
        return room()->walkAlongFloor(b.x, b.y, b.left, b.right, b.top, b.bottom, moving,
                                      heroWall, pushes, &dx, &dy, &reason);
    }

    bool upDown(const Box& b, double& dx, double& dy, bool stopOnLanding)
    {
        return room()->moveVertically(b.x, b.y, b.left, b.right, b.top, b.bottom, stopOnLanding,
                                      &dx, &dy);
    }

    Barrier* floorNumber(int n) const
    {
        auto it = room()->getFloors().begin();
        std::advance(it, n);
        return *it;
    }
};

}  // namespace

TEST_F(MapQueryTest, MovingAcrossNeedsAFloorThatCarriesTheFeet)
{
    // A flat floor at 40 up to x 1000, then a ramp down to the right.
    const std::string rooms = roomHead(1, 3000, 1000, 2000) + floorAt(0, 1000, 40) +
                              barrier("FLOOR", 1000, 1400, 40, -100,
                                      "<SLOPE> -0.25 </SLOPE> <OFFSET> 140 </OFFSET>") +
                              "</MAP>\n";
    ASSERT_NE(nullptr, load(rooms, 100, 40));
    double dx = 5, dy = 0;
    EXPECT_TRUE(across(standing(500, 40), dx, dy));
    EXPECT_DOUBLE_EQ(5, dx);
    EXPECT_DOUBLE_EQ(0, dy);

    // Over a gap: false, with dx and dy untouched.
    dx = 5;
    dy = -3;
    EXPECT_FALSE(across(standing(1500, 40), dx, dy));
    EXPECT_DOUBLE_EQ(5, dx);
    EXPECT_DOUBLE_EQ(-3, dy);

    // Feet up to |dx| above the surface are carried down a slope.
    const double surface = floorNumber(1)->surfaceAt(1205);
    dx = 5;
    dy = 0;
    EXPECT_TRUE(across(standing(1200, surface + 4.9), dx, dy));
    EXPECT_DOUBLE_EQ(surface - (surface + 4.9), dy);
    dx = 5;
    dy = 0;
    EXPECT_FALSE(across(standing(1200, surface + 5.1), dx, dy));

    // A moving floor adds its last move; a move of 0 is then answered at once.
    floorNumber(0)->move(3, 0);
    dx = 0;
    dy = 0;
    EXPECT_TRUE(across(standing(500, 40), dx, dy));
    EXPECT_DOUBLE_EQ(3, dx);
}

TEST_F(MapQueryTest, MovingAcrossStopsAtWallsAndObstaclesAhead)
{
    const std::string rooms = roomHead(1, 3000, 1000, 2000) + floorAt(0, 3000, 40) +
                              wallAt(600, 640, 300, 40) + crate(1000, 40, 80, 80, true) +
                              "</MAP>\n";
    ASSERT_NE(nullptr, load(rooms, 2500, 40));
    // The moved box meets the wall: the centre is sent to its near edge and the move refused.
    double dx = 20, dy = 0;
    EXPECT_FALSE(across(standing(540, 40), dx, dy));
    EXPECT_DOUBLE_EQ(60, dx);
    dx = -20;
    EXPECT_FALSE(across(standing(700, 40), dx, dy));
    EXPECT_DOUBLE_EQ(-60, dx);
    // Not yet touching it: free.
    dx = 5;
    EXPECT_TRUE(across(standing(540, 40), dx, dy));
    // Its near edge behind the centre: the wall ends the scan without stopping the move.
    dx = 5;
    EXPECT_TRUE(across(standing(610, 40), dx, dy));
    EXPECT_DOUBLE_EQ(5, dx);

    // The chaser's rule: a wall between it and the hero refuses any move, even far from it.
    dx = -5;
    EXPECT_FALSE(across(standing(300, 40), dx, dy, false, true));
    EXPECT_DOUBLE_EQ(-5, dx);
    EXPECT_TRUE(across(standing(300, 40), dx, dy, true, true));
    EXPECT_TRUE(across(standing(300, 40), dx, dy, false, false));

    // An obstacle ahead stops the mover; one behind does not; a pusher passes a pushable one.
    dx = 5;
    EXPECT_FALSE(across(standing(958, 40), dx, dy));
    EXPECT_DOUBLE_EQ(0, dx);
    dx = 5;
    EXPECT_TRUE(across(standing(1030, 40), dx, dy));
    dx = 5;
    EXPECT_TRUE(across(standing(958, 40), dx, dy, true, false, true));
    EXPECT_DOUBLE_EQ(5, dx);
}

TEST_F(MapQueryTest, WalkersWillNotStepOffALedgeHigherThan50)
{
    // A floor at 40 up to 1000, a step 50 lower up to 1400, then one 51 lower than that.
    const std::string rooms = roomHead(1, 3000, 1000, 2000) + floorAt(0, 1000, 40) +
                              floorAt(1000, 1400, -10, 100) + floorAt(1400, 2000, -61, 100) +
                              wallAt(2100, 2140, 300, -200) + "</MAP>\n";
    ASSERT_NE(nullptr, load(rooms, 100, 40));
    int reason = -1;
    double dx = 5, dy = 0;
    EXPECT_TRUE(walk(standing(500, 40), dx, dy, reason));
    EXPECT_EQ(0, reason);
    // A step of 0 finds no ground ahead.
    dx = 0;
    EXPECT_FALSE(walk(standing(500, 40), dx, dy, reason));
    EXPECT_EQ(2, reason);
    // The leading edge over the step 50 lower: ground ahead.
    dx = 5;
    EXPECT_TRUE(walk(standing(950, 40), dx, dy, reason));
    EXPECT_EQ(0, reason);
    // Over the drop of 51: no ground ahead, dx unchanged.
    dx = 5;
    dy = 0;
    EXPECT_FALSE(walk(standing(1350, -10), dx, dy, reason));
    EXPECT_EQ(2, reason);
    EXPECT_DOUBLE_EQ(5, dx);
    EXPECT_DOUBLE_EQ(0, dy);
    // Ground higher up counts as ground ahead.
    dx = -5;
    EXPECT_TRUE(walk(standing(1450, -61), dx, dy, reason));
    // Off the end of every floor into a wall: reason 1, the centre sent to its near edge.
    dx = 60;
    EXPECT_FALSE(walk(standing(2050, -61), dx, dy, reason));
    EXPECT_EQ(1, reason);
    EXPECT_DOUBLE_EQ(50, dx);
}

TEST_F(MapQueryTest, WalkersAreStoppedByWallsAtTheirCentreAndByObstacles)
{
    const std::string rooms = roomHead(1, 3000, 1000, 2000) + floorAt(0, 3000, 40) +
                              wallAt(600, 640, 300, 40) + crate(1000, 40, 80, 80, true) +
                              "</MAP>\n";
    ASSERT_NE(nullptr, load(rooms, 2500, 40));
    int reason = -1;
    // The box overlapping the wall is no stop; the centre entering it is.
    double dx = 20, dy = 0;
    EXPECT_TRUE(walk(standing(570, 40), dx, dy, reason));
    dx = 35;
    EXPECT_FALSE(walk(standing(570, 40), dx, dy, reason));
    EXPECT_EQ(1, reason);
    EXPECT_DOUBLE_EQ(30, dx);
    // A wall between walker and hero: refused with reason 0.
    dx = 5;
    EXPECT_FALSE(walk(standing(300, 40), dx, dy, reason, false, true));
    EXPECT_EQ(0, reason);
    // An obstacle ahead: dx 0, reason 0; a pushing walker goes on.
    dx = 5;
    EXPECT_FALSE(walk(standing(958, 40), dx, dy, reason));
    EXPECT_EQ(0, reason);
    EXPECT_DOUBLE_EQ(0, dx);
    dx = 5;
    EXPECT_TRUE(walk(standing(958, 40), dx, dy, reason, true, false, true));
}

TEST_F(MapQueryTest, FlyersStopUnderCeilingsAndOnFloors)
{
    const std::string rooms = roomHead(1, 3000, 1000, 2000) + floorAt(0, 1000, 40) +
                              barrier("FLOOR", 1000, 1400, 140, 0,
                                      "<SLOPE> 0.25 </SLOPE> <OFFSET> 40 </OFFSET>") +
                              ceilingAt(0, 3000, 420, 400) + wallAt(2000, 2040, 300, 40) +
                              "</MAP>\n";
    ASSERT_NE(nullptr, load(rooms, 100, 40));
    // Rising into the ceiling: dy 0.
    double dx = 0, dy = 10;
    EXPECT_TRUE(upDown(standing(500, 295), dx, dy, false));
    EXPECT_DOUBLE_EQ(0, dy);
    dy = 10;
    EXPECT_TRUE(upDown(standing(500, 280), dx, dy, false));
    EXPECT_DOUBLE_EQ(10, dy);
    // Falling onto a flat floor without stopping: dy 0, and the wall test follows.
    dx = 5;
    dy = -10;
    EXPECT_TRUE(upDown(standing(500, 40), dx, dy, false));
    EXPECT_DOUBLE_EQ(0, dy);
    // With the flag, the landing ends the move on the surface.
    dx = 5;
    dy = -10;
    EXPECT_FALSE(upDown(standing(500, 35), dx, dy, true));
    EXPECT_DOUBLE_EQ(5, dy);
    // On a slope it always ends the move.
    dx = 0;
    dy = -10;
    EXPECT_FALSE(upDown(standing(1200, 85), dx, dy, false));
    EXPECT_DOUBLE_EQ(5, dy);
    // A wall edge across the box's path refuses the move without touching dx.
    dx = 20;
    dy = 5;
    EXPECT_FALSE(upDown(standing(1945, 100), dx, dy, false));
    EXPECT_DOUBLE_EQ(20, dx);
    dx = 20;
    dy = 5;
    EXPECT_TRUE(upDown(standing(1925, 100), dx, dy, false));
}

TEST_F(MapQueryTest, LandingPassesMovingPlatformsButNotBridgesAndPathsToTheHero)
{
    const std::string rooms =
        roomHead(1, 3000, 1000, 2000) + floorAt(0, 3000, 40) +
        "<PLATFORM> <ANIMATION> 9 </ANIMATION> <LOCATION> 300 190 200 20 </LOCATION>\n" +
        floorAt(200, 400, 200, 30) + "<WAYPOINTS> 2 300 190 300 500 </WAYPOINTS> </PLATFORM>\n"
        "<PLATFORM> <ANIMATION> 9 </ANIMATION> <BRIDGE> 1 </BRIDGE> <LOCATION> 900 190 200 20 "
        "</LOCATION>\n" +
        floorAt(800, 1000, 200, 30) + "</PLATFORM>\n</MAP>\n";
    ASSERT_NE(nullptr, load(rooms, 100, 40));
    double dx = 0, dy = -5;
    EXPECT_FALSE(room()->landOnFloor(300, 0, 195, &dx, &dy));
    EXPECT_DOUBLE_EQ(-5, dy);
    EXPECT_TRUE(room()->landOnFloor(900, 0, 195, &dx, &dy));
    EXPECT_DOUBLE_EQ(5, dy);
    dx = 0;
    dy = -5;
    EXPECT_TRUE(room()->landOnFloor(2000, 0, 38, &dx, &dy));
    EXPECT_DOUBLE_EQ(2, dy);
    // Rising boxes never land.
    dy = 5;
    EXPECT_FALSE(room()->landOnFloor(2000, 0, 38, &dx, &dy));

    // An icicle over the platform has a floor between it and a hero below; one elsewhere not.
    _player->setPosition(300, 40, -41);
    EXPECT_FALSE(room()->isVerticalPathClear(300, 400, 280, 320, 480, 400));
    _player->setPosition(2000, 40, -41);
    EXPECT_TRUE(room()->isVerticalPathClear(2000, 400, 1980, 2020, 480, 400));
}

TEST_F(MapQueryTest, SightIsBlockedByWallsAndCeilingsBetween)
{
    const std::string rooms = roomHead(1, 3000, 1000, 2000) + floorAt(0, 3000, 40) +
                              wallAt(600, 640, 200, 40) + ceilingAt(1500, 2500, 320, 300) +
                              "</MAP>\n";
    ASSERT_NE(nullptr, load(rooms, 800, 40));
    // The wall stands between them at both heights.
    EXPECT_FALSE(room()->isSightClear(400, 40, 350, 450, 140, 40));
    // Above the wall the actor sees him.
    EXPECT_TRUE(room()->isSightClear(400, 250, 350, 450, 350, 250));
    // On the same side: clear.
    EXPECT_TRUE(room()->isSightClear(1000, 40, 950, 1050, 140, 40));
    // A ceiling spanning both with the actor above it and the hero below.
    _player->setPosition(2000, 40, -41);
    EXPECT_FALSE(room()->isSightClear(1800, 400, 1750, 1850, 500, 400));
    EXPECT_TRUE(room()->isSightClear(1800, 40, 1750, 1850, 140, 40));
    // The ceiling does not span the actor's x.
    EXPECT_TRUE(room()->isSightClear(1400, 400, 1350, 1450, 500, 400));
}

TEST_F(MapQueryTest, FreeFlightIsClippedAtWallsAndCeilings)
{
    const std::string rooms = roomHead(1, 3000, 1000, 2000) + wallAt(600, 640, 200, 40) +
                              ceilingAt(0, 3000, 420, 400) + "</MAP>\n";
    ASSERT_NE(nullptr, load(rooms, 100, 40));
    double dx = 15, dy = 0;
    room()->testWallHit(590, 100, 580, 600, 110, 90, &dx, &dy);
    EXPECT_DOUBLE_EQ(10, dx);
    dx = 5;
    room()->testWallHit(590, 100, 580, 600, 110, 90, &dx, &dy);
    EXPECT_DOUBLE_EQ(5, dx);
    // Above the wall it flies on; under the ceiling it stops rising.
    dx = 15;
    dy = 5;
    room()->testWallHit(590, 396, 580, 600, 397, 395, &dx, &dy);
    EXPECT_DOUBLE_EQ(15, dx);
    EXPECT_DOUBLE_EQ(0, dy);
}

TEST_F(MapQueryTest, TheAlarmFindsDownedCharactersOnTheLookedAtSideAndAlertedComrades)
{
    ASSERT_NE(nullptr, load(roomHead(1, 3000, 1000, 2000) + floorAt(0, 3000, 40) + "</MAP>\n", 100, 40));
    TestActor* edge = addActor(CharacterTypeGoat, 400, 240);
    edge->stun();
    bool found = false;
    // Range 100 from x 500 toward lower x: 400 is inside (both bounds inclusive), and
    // 200 up or down too.
    EXPECT_TRUE(room()->findDownedCharacterAhead(500, 40, 100, false, &found));
    EXPECT_TRUE(found);
    found = false;
    EXPECT_FALSE(room()->findDownedCharacterAhead(500, 39, 100, true, &found));
    EXPECT_FALSE(found);
    EXPECT_FALSE(room()->findDownedCharacterAhead(500, 39, 100, false, &found));
    EXPECT_FALSE(room()->findDownedCharacterAhead(501, 40, 100, false, &found));
    // One at the asker's own x lies on neither side.
    edge->setX(500);
    EXPECT_FALSE(room()->findDownedCharacterAhead(500, 40, 100, false, &found));
    EXPECT_FALSE(room()->findDownedCharacterAhead(500, 40, 100, true, &found));
    EXPECT_FALSE(found);

    // A standing comrade with a bubble at its x: true, and found when it faces away from
    // the looked-at side.
    edge->setState(CharacterStateStandLeft);
    edge->setX(700);
    edge->setFacingLeft(false);
    roomList(room()->getReactions()).push_back(new Reaction(edge, 1000, 700, 400, false));
    EXPECT_TRUE(room()->findDownedCharacterAhead(650, 240, 100, false, &found));
    EXPECT_FALSE(found);
    EXPECT_TRUE(room()->findDownedCharacterAhead(650, 240, 100, true, &found));
    EXPECT_TRUE(found);
    // A bubble at the asker's own x is its own.
    found = false;
    EXPECT_FALSE(room()->findDownedCharacterAhead(700, 240, 100, true, &found));
    // A later downed character still sets the flag after a bubble match.
    TestActor* down = addActor(CharacterTypeGoat, 600, 240);
    down->stun();
    EXPECT_TRUE(room()->findDownedCharacterAhead(650, 240, 100, false, &found));
    EXPECT_TRUE(found);
}
