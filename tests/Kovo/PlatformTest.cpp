#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "Kovo/Platform.h"
#include "PropHarness.h"
#include "support/Files.h"

using namespace proptest;

namespace {

// A 100 x 20 platform at (0, 0) with a floor on top and a ceiling under it, on the route
// (0, 0) -> (0, 100) -> (100, 100); `extra` adds fields before the closing tag.
std::string routeBody(const std::string& extra = "")
{
    return "<ANIMATION> 2 </ANIMATION> <LOCATION> 0 0 100 20 </LOCATION> "
           "<VELOCITY> 300 </VELOCITY> " +
           barrierField("FLOOR", -50, 50, 10, -20) + barrierField("CEILING", -50, 50, -10, -20) +
           "<WAYPOINTS> 3 0 0 0 100 100 100 </WAYPOINTS> <ID> 7 </ID> " + extra + " </PLATFORM>";
}

struct Frame {
    double x, y;
    bool heading;
    double tx, ty;
};

class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override { room = makeRoom(); }

    std::unique_ptr<Platform> build(const std::string& body)
    {
        std::unique_ptr<Platform> platform(new Platform(room.get()));
        EXPECT_EQ(0, readBody(*platform, body));
        // The room would own the barriers.
        barriers.emplace_back(platform->getFloor());
        barriers.emplace_back(platform->getCeiling());
        return platform;
    }

    // Runs frames of the given lengths and checks on every frame that the platform moves
    // along one axis by at most one step (but for a looping jump), that its barriers move
    // with it and record the frame's move. Returns the state after each frame.
    std::vector<Frame> run(Platform& p, int frames, const std::function<unsigned()>& nextMs)
    {
        std::vector<Frame> trace;
        Barrier* floor = p.getFloor();
        Barrier* ceiling = p.getCeiling();
        const double floorOffset = floor->getX1() - p.getX();
        const double floorRise = floor->getY2() - p.getY();
        const double ceilingOffset = ceiling->getX1() - p.getX();
        for (int i = 0; i < frames; ++i) {
            const double x = p.getX(), y = p.getY();
            const unsigned ms = nextMs();
            const double step = 105.0 * (ms / 1000.0);
            p.updateAnimation(ms);
            p.update(ms / 1000.0);
            const double dx = p.getX() - x, dy = p.getY() - y;
            const bool jumped = std::fabs(dx) > step + 1e-9 || std::fabs(dy) > step + 1e-9;
            if (!jumped && p.isVisible()) {
                EXPECT_TRUE(dx == 0 || dy == 0) << "diagonal move at frame " << i;
                EXPECT_NEAR(dx, floor->getLastMoveX(), 1e-9);
                EXPECT_NEAR(dy, floor->getLastMoveY(), 1e-9);
            }
            EXPECT_NEAR(floorOffset, floor->getX1() - p.getX(), 1e-6);
            EXPECT_NEAR(floorRise, floor->getY2() - p.getY(), 1e-6);
            EXPECT_NEAR(ceilingOffset, ceiling->getX1() - p.getX(), 1e-6);
            Frame f{p.getX(), p.getY(), p.hasCurrentWaypoint(), 0, 0};
            if (f.heading) {
                f.tx = p.getCurrentWaypoint().getX();
                f.ty = p.getCurrentWaypoint().getY();
            }
            trace.push_back(f);
        }
        return trace;
    }

    std::unique_ptr<Map> room;
    std::vector<std::unique_ptr<Barrier>> barriers;
};

std::function<unsigned()> fixedMs(unsigned ms)
{
    return [ms]() { return ms; };
}

std::function<unsigned()> randomMs(unsigned seed)
{
    auto engine = std::make_shared<std::mt19937>(seed);
    return [engine]() { return std::uniform_int_distribution<unsigned>(1, 30)(*engine); };
}

// The waypoints reached, in order: each frame after which the platform heads elsewhere.
std::vector<std::pair<double, double>> arrivals(const std::vector<Frame>& trace, double startTx,
                                                double startTy)
{
    std::vector<std::pair<double, double>> result;
    double tx = startTx, ty = startTy;
    for (const Frame& f : trace) {
        if (!f.heading || f.tx != tx || f.ty != ty) {
            result.push_back({tx, ty});
            if (!f.heading) break;
            tx = f.tx;
            ty = f.ty;
        }
    }
    return result;
}

}  // namespace

TEST_F(PlatformTest, ReadsItsLevelBlock)
{
    auto p = build(routeBody("<ACTIVE> 0 </ACTIVE> <LOOPING> 1 </LOOPING>"));
    EXPECT_DOUBLE_EQ(-203, p->getZ());
    EXPECT_DOUBLE_EQ(10, p->getTop());
    EXPECT_FALSE(p->isVisible());
    EXPECT_TRUE(p->isLooping());
    EXPECT_EQ(7, p->getId());
    expectPictureSize(p->getPicture(), 100, 20);
    ASSERT_NE(nullptr, p->getFloor());
    ASSERT_NE(nullptr, p->getCeiling());
    EXPECT_DOUBLE_EQ(-10, p->getCeiling()->getY1());
    ASSERT_EQ(3u, p->getWaypoints().size());
    EXPECT_EQ(ShpCoord(0, 0, -10), p->getCurrentWaypoint());

    // The room's animation runs at the platforms' period.
    GphAnimatedTexture* animation = p->getPicture()->getAnimatedTexture();
    EXPECT_EQ(room->imageById(kPlatformAnimation), animation);
    animation->setCurrentFrame(0);
    p->updateAnimation(74);
    EXPECT_EQ(0u, animation->getCurrentFrame());
    p->updateAnimation(1);
    EXPECT_EQ(1u, animation->getCurrentFrame());
    Platform bare(room.get());
    bare.updateAnimation(1000);  // nothing to advance
}

TEST_F(PlatformTest, BridgeDepthOnEitherSideOfLocationAndLocationBeforeAnimation)
{
    auto before = build("<BRIDGE> 1 </BRIDGE> <ANIMATION> 2 </ANIMATION> "
                        "<LOCATION> 10 20 80 40 </LOCATION> </PLATFORM>");
    EXPECT_TRUE(before->isBridge());
    EXPECT_DOUBLE_EQ(-209, before->getZ());
    auto after = build("<ANIMATION> 2 </ANIMATION> <LOCATION> 10 20 80 40 </LOCATION> "
                       "<BRIDGE> 1 </BRIDGE> </PLATFORM>");
    EXPECT_DOUBLE_EQ(-209, after->getZ());
    EXPECT_DOUBLE_EQ(20, after->getY());
    after->setBridge(false);
    EXPECT_DOUBLE_EQ(-203, after->getZ());

    // The animation puts the platform back at the origin at 100 x 100.
    auto late = build("<LOCATION> 10 20 80 40 </LOCATION> <ANIMATION> 2 </ANIMATION> </PLATFORM>");
    EXPECT_DOUBLE_EQ(0, late->getX());
    EXPECT_DOUBLE_EQ(0, late->getY());
    EXPECT_DOUBLE_EQ(50, late->getTop());
    expectPictureSize(late->getPicture(), 100, 100);
}

TEST_F(PlatformTest, ReadFailuresAreLoggedAndLeaveNoBarriers)
{
    Platform unknown(room.get());
    EXPECT_EQ(-1, readBody(unknown, "<WAYPOINTS> 0 </WAYPOINTS> <SPEED> 3 </SPEED> </PLATFORM>"));
    EXPECT_TRUE(testsupport::logContains("Unknown tag: <SPEED>"));

    Platform missing(room.get());
    EXPECT_EQ(-1, readBody(missing, "<ANIMATION> 99 </ANIMATION> </PLATFORM>"));
    EXPECT_TRUE(testsupport::logContains("Failed to retrieve animation"));
    EXPECT_EQ(nullptr, missing.getPicture());

    Platform broken(room.get());
    EXPECT_EQ(-1, readBody(broken, barrierField("CEILING", 0, 1, 2, 3) +
                                       "<FLOOR> <BARRIER> <EDGES> 1 2 </BARRIER> </FLOOR> </PLATFORM>"));
    EXPECT_TRUE(testsupport::logContains("Failed to read barrier"));
    EXPECT_EQ(nullptr, broken.getFloor());
    EXPECT_EQ(nullptr, broken.getCeiling());
}

TEST_F(PlatformTest, EveryCutOfTheLevelBlockFails)
{
    const std::string body = routeBody("<INIT2> 1 </INIT2> <BRIDGE> 0 </BRIDGE>");
    for (size_t n = 0; n < body.size(); ++n) {
        Platform p(room.get());
        EXPECT_EQ(-1, readBody(p, body.substr(0, n))) << body.substr(0, n);
        EXPECT_EQ(nullptr, p.getFloor());
    }
}

TEST_F(PlatformTest, VisitsEveryWaypointInOrderThenTravelsBackAlongXFirst)
{
    for (int pass = 0; pass < 2; ++pass) {
        auto p = build(routeBody());
        const auto trace = run(*p, 1200, pass == 0 ? fixedMs(20) : randomMs(11));
        const auto reached = arrivals(trace, 0, 0);
        ASSERT_GE(reached.size(), 6u);
        const std::pair<double, double> cycle[] = {{0, 0}, {0, 100}, {100, 100}};
        for (size_t i = 0; i < 6; ++i) EXPECT_EQ(cycle[i % 3], reached[i]) << "arrival " << i;
        // On the way back from (100, 100) to (0, 0) it goes left first, then down.
        bool returning = false;
        for (const Frame& f : trace) {
            if (f.tx == 0 && f.ty == 0 && f.heading) returning = true;
            if (f.tx == 0 && f.ty == 100) returning = false;
            if (returning && f.y < 100) {
                EXPECT_EQ(0, f.x);
            }
        }
        // Each arrival is exact.
        for (size_t i = 1; i < trace.size(); ++i) {
            if (trace[i].tx != trace[i - 1].tx || trace[i].ty != trace[i - 1].ty) {
                EXPECT_EQ(trace[i - 1].tx, trace[i].x);
                EXPECT_EQ(trace[i - 1].ty, trace[i].y);
            }
        }
    }
}

TEST_F(PlatformTest, SpeedIs105WhateverTheVelocityField)
{
    // Heading for (5, 0) at 0.02 s a frame: 2.1, 4.2, then clamped onto 5.
    auto p = build("<ANIMATION> 2 </ANIMATION> <LOCATION> 0 0 100 20 </LOCATION> "
                   "<VELOCITY> 300 </VELOCITY> " + barrierField("FLOOR", -50, 50, 10, -20) +
                   barrierField("CEILING", -50, 50, -10, -20) +
                   "<WAYPOINTS> 2 0 0 5 0 </WAYPOINTS> <INIT2> 1 </INIT2> </PLATFORM>");
    EXPECT_EQ(ShpCoord(5, 0, -10), p->getCurrentWaypoint());
    const auto trace = run(*p, 3, fixedMs(20));
    EXPECT_NEAR(2.1, trace[0].x, 1e-12);
    EXPECT_NEAR(4.2, trace[1].x, 1e-12);
    EXPECT_EQ(5, trace[2].x);
    EXPECT_NEAR(0.8, p->getFloor()->getLastMoveX(), 1e-12);
}

TEST_F(PlatformTest, LoopingJumpsBackWithTheFramesOvershoot)
{
    // The same short route, looping: the overshoot of 1.3 is added to the jump's x.
    auto shortLoop = build("<ANIMATION> 2 </ANIMATION> <LOCATION> 0 0 100 20 </LOCATION> " +
                           barrierField("FLOOR", -50, 50, 10, -20) +
                           barrierField("CEILING", -50, 50, -10, -20) +
                           "<WAYPOINTS> 2 0 0 5 0 </WAYPOINTS> <INIT2> 1 </INIT2> "
                           "<LOOPING> 1 </LOOPING> </PLATFORM>");
    const auto first = run(*shortLoop, 3, fixedMs(20));
    EXPECT_NEAR(1.3, first[2].x, 1e-9);
    EXPECT_EQ(0, first[2].y);
    EXPECT_EQ(ShpCoord(5, 0, -10), shortLoop->getCurrentWaypoint());

    for (int pass = 0; pass < 2; ++pass) {
        auto p = build(routeBody("<LOOPING> 1 </LOOPING>"));
        auto nextMs = pass == 0 ? fixedMs(20) : randomMs(5);
        int jumps = 0;
        std::vector<std::pair<double, double>> reached;
        for (int i = 0; i < 1500; ++i) {
            const unsigned ms = nextMs();
            const ShpCoord target = p->getCurrentWaypoint();
            const double x = p->getX(), y = p->getY();
            p->update(ms / 1000.0);
            if (!(p->getCurrentWaypoint() == target)) reached.push_back({target.getX(), target.getY()});
            if (target == ShpCoord(100, 100, -10) && !(p->getCurrentWaypoint() == target)) {
                // Arrived at the last waypoint: placed at the first plus the overshoot.
                const double overshoot = 105.0 * ms / 1000.0 - (100 - x);
                EXPECT_EQ(100, y);
                EXPECT_NEAR(overshoot, p->getX(), 1e-9);
                EXPECT_EQ(0, p->getY());
                EXPECT_EQ(ShpCoord(0, 100, -10), p->getCurrentWaypoint());
                ++jumps;
            }
        }
        EXPECT_GE(jumps, 2);
        // It never heads back for (0, 0) after the start.
        for (size_t i = 1; i < reached.size(); ++i) EXPECT_NE(std::make_pair(0.0, 0.0), reached[i]);
    }
}

TEST_F(PlatformTest, OneWayStopsAtTheLastWaypointForGood)
{
    for (int pass = 0; pass < 2; ++pass) {
        auto p = build(routeBody("<ONE_WAY> 1 </ONE_WAY>"));
        const auto trace = run(*p, 800, pass == 0 ? fixedMs(20) : randomMs(3));
        const auto reached = arrivals(trace, 0, 0);
        ASSERT_EQ(3u, reached.size());
        EXPECT_EQ(std::make_pair(100.0, 100.0), reached[2]);
        EXPECT_FALSE(p->hasCurrentWaypoint());
        EXPECT_EQ(100, p->getX());
        EXPECT_EQ(100, p->getY());
        EXPECT_EQ(0, p->getFloor()->getLastMoveX());
        EXPECT_EQ(0, p->getCeiling()->getLastMoveY());
    }
}

TEST_F(PlatformTest, SwitchedOffBridgeSlidesBackAndExtendsAgain)
{
    for (int pass = 0; pass < 2; ++pass) {
        auto p = build("<ANIMATION> 2 </ANIMATION> <LOCATION> 0 0 100 20 </LOCATION> " +
                       barrierField("FLOOR", -50, 50, 10, -20) +
                       barrierField("CEILING", -50, 50, -10, -20) +
                       "<WAYPOINTS> 2 0 0 200 0 </WAYPOINTS> <BRIDGE> 1 </BRIDGE> "
                       "<ONE_WAY> 1 </ONE_WAY> </PLATFORM>");
        auto nextMs = pass == 0 ? fixedMs(20) : randomMs(17);
        // The first frame finds it on its first waypoint and turns it to the far end; it
        // then extends at 105 units per second.
        p->update(nextMs() / 1000.0);
        unsigned elapsed = 0;
        while (elapsed < 1000) {
            const unsigned ms = nextMs();
            elapsed += ms;
            p->update(ms / 1000.0);
        }
        EXPECT_NEAR(105.0 * elapsed / 1000.0, p->getX(), 1e-6);
        const double extended = p->getX();

        p->setVisible(false);
        const auto back = run(*p, 30, fixedMs(20));
        EXPECT_NEAR(extended - 30 * 2.1, back.back().x, 1e-6);
        EXPECT_NEAR(-2.1, p->getFloor()->getLastMoveX(), 1e-12);
        run(*p, 400, nextMs);
        EXPECT_EQ(0, p->getX());
        EXPECT_EQ(0, p->getFloor()->getLastMoveX());
        EXPECT_EQ(ShpCoord(0, 0, -10), p->getCurrentWaypoint());

        p->setVisible(true);
        run(*p, 800, nextMs);
        EXPECT_EQ(200, p->getX());
        EXPECT_FALSE(p->hasCurrentWaypoint());
    }
}

TEST_F(PlatformTest, InactivePlatformsAndEmptyRoutesStayPut)
{
    // An inactive platform that is not a one-way bridge does not move, and its barriers
    // record no move.
    auto inactive = build(routeBody("<ACTIVE> 0 </ACTIVE> <ONE_WAY> 1 </ONE_WAY> <INIT2> 1 </INIT2>"));
    inactive->getFloor()->move(3, 4);
    inactive->update(0.5);
    EXPECT_EQ(0, inactive->getY());
    EXPECT_EQ(0, inactive->getFloor()->getLastMoveX());
    EXPECT_EQ(0, inactive->getFloor()->getLastMoveY());

    // Without waypoints an active platform zeroes the recorded move every frame.
    auto still = build("<ANIMATION> 2 </ANIMATION> <LOCATION> 5 6 100 20 </LOCATION> " +
                       barrierField("FLOOR", -45, 55, 16, -14) + "</PLATFORM>");
    EXPECT_FALSE(still->hasWaypoints());
    still->getFloor()->move(3, 4);
    still->update(0.5);
    EXPECT_EQ(5, still->getX());
    EXPECT_EQ(6, still->getY());
    EXPECT_EQ(0, still->getFloor()->getLastMoveX());
    EXPECT_EQ(0, still->getFloor()->getLastMoveY());
}

TEST_F(PlatformTest, SecondWaypointFirstOnlyWithTwoOrMore)
{
    auto two = build(routeBody("<INIT2> 1 </INIT2>"));
    EXPECT_EQ(ShpCoord(0, 100, -10), two->getCurrentWaypoint());
    auto one = build("<WAYPOINTS> 1 30 40 </WAYPOINTS> <INIT2> 1 </INIT2> </PLATFORM>");
    EXPECT_EQ(ShpCoord(30, 40, -10), one->getCurrentWaypoint());
    auto zero = build(routeBody("<INIT2> 0 </INIT2>"));
    EXPECT_EQ(ShpCoord(0, 0, -10), zero->getCurrentWaypoint());
    auto none = build("<WAYPOINTS> -2 </WAYPOINTS> </PLATFORM>");
    EXPECT_FALSE(none->hasWaypoints());
    EXPECT_FALSE(none->hasCurrentWaypoint());
}

TEST_F(PlatformTest, WaypointListOperations)
{
    Platform p(room.get());
    EXPECT_FALSE(p.hasWaypoints());
    p.addWaypoint(ShpCoord(1, 2, -10));
    EXPECT_TRUE(p.hasWaypoints());
    EXPECT_FALSE(p.hasCurrentWaypoint());

    auto route = build(routeBody("<INIT2> 1 </INIT2>"));
    route->removeWaypoint(ShpCoord(0, 100, 0));  // z differs: nothing
    EXPECT_EQ(3u, route->getWaypoints().size());
    route->addWaypoint(ShpCoord(50, 50, -10));
    EXPECT_EQ(ShpCoord(0, 100, -10), route->getCurrentWaypoint());
    // Removing the waypoint it heads for makes it head for the next one.
    route->removeWaypoint(ShpCoord(0, 100, -10));
    EXPECT_EQ(ShpCoord(100, 100, -10), route->getCurrentWaypoint());
    route->setWaypoints(Platform::WaypointList{ShpCoord(9, 9, -10)});
    EXPECT_FALSE(route->hasCurrentWaypoint());
    EXPECT_EQ(1u, route->getWaypoints().size());
}

TEST_F(PlatformTest, SavedBlockRoundTrip)
{
    auto p = build(routeBody());
    run(*p, 70, fixedMs(20));
    ASSERT_TRUE(p->hasCurrentWaypoint());
    const std::string block = saved(*p);
    EXPECT_EQ(0u, block.find("<PLATFORM> 1 <COORD>"));

    auto fresh = build(routeBody());
    ASSERT_EQ(0, restore(*fresh, block));
    EXPECT_EQ(block, saved(*fresh));
    EXPECT_EQ(p->getCurrentWaypoint(), fresh->getCurrentWaypoint());
    EXPECT_NEAR(p->getX(), fresh->getX(), 1e-4);
    EXPECT_NEAR(p->getY(), fresh->getY(), 1e-4);
    // The sprite line would make the picture square; it keeps the platform's size.
    expectPictureSize(fresh->getPicture(), 100, 20);

    for (const std::string& cut : kovotest::truncations(block)) {
        auto victim = build(routeBody());
        EXPECT_EQ(-1, restore(*victim, cut)) << cut;
    }
}

TEST_F(PlatformTest, FinishedOneWayRouteStaysFinishedAfterLoading)
{
    auto p = build(routeBody("<ONE_WAY> 1 </ONE_WAY>"));
    run(*p, 800, fixedMs(25));
    ASSERT_FALSE(p->hasCurrentWaypoint());
    const std::string block = saved(*p);
    EXPECT_EQ(0u, block.find("<PLATFORM> 0 <SPRITE> 100 100 -203 20 100 1 </SPRITE>\n</PLATFORM>\n"));

    auto fresh = build(routeBody("<ONE_WAY> 1 </ONE_WAY>"));
    ASSERT_EQ(0, restore(*fresh, block));
    EXPECT_FALSE(fresh->hasCurrentWaypoint());
    fresh->update(0.5);
    EXPECT_EQ(100, fresh->getX());
    EXPECT_EQ(block, saved(*fresh));

    // A saved waypoint that the route lacks leaves none.
    auto stray = build(routeBody());
    std::ostringstream odd;
    odd << "<PLATFORM> 1 <COORD> <X> 3 </X> <Y> 3 </Y> <Z> -10 </Z> </COORD> "
        << "<SPRITE> 1 2 -203 20 100 0 </SPRITE> </PLATFORM>";
    ASSERT_EQ(0, restore(*stray, odd.str()));
    EXPECT_FALSE(stray->hasCurrentWaypoint());
    EXPECT_FALSE(stray->isVisible());
}
