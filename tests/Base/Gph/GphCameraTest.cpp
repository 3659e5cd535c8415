#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphViewport.h"
#include "Base/Gph/GphViewportOrthogonal.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "support/GlContext.h"

namespace {

// A camera whose last target is `x` and whose speed is 0: one call with a target at its
// own position stops it there.
void settle(GphCamera& camera, double x, double y)
{
    camera.setPosition(ShpCoord(x, y, 0));
    camera.track(x, y, 0.02);
}

double x(const GphCamera& camera) { return camera.getPosition()->getX(); }
double y(const GphCamera& camera) { return camera.getPosition()->getY(); }

}  // namespace

TEST(GphCameraTrack, StandingTargetDoesNotStartTheCamera)
{
    // The speed only grows while the target moves: a target that stood at the same x in
    // the previous call is not approached by a camera at rest.
    GphCamera camera;
    settle(camera, 100, 0);
    camera.setPosition(ShpCoord(0, 0, 0));
    for (int i = 0; i < 10; ++i) {
        camera.track(100, 0, 0.03);
        EXPECT_EQ(0.0, camera.getLastMoveX());
    }
    EXPECT_EQ(0.0, x(camera));
    EXPECT_EQ(0.0, camera.getVelocity());
}

TEST(GphCameraTrack, RampsUpToTheTargetSpeedThenBrakesAndArrivesWithoutOvertaking)
{
    const double seconds = 0.2;
    const double step = GameConstants::trackRamp * seconds;  // 1.05 units per call per call
    GphCamera camera;
    settle(camera, 0, 0);

    // The target runs right at 3 units per call: the speed grows by one step per call up
    // to 3 and stays there.
    double target = 0;
    std::vector<double> speeds;
    for (int i = 0; i < 20; ++i) {
        target += 3;
        camera.track(target, 0, seconds);
        speeds.push_back(camera.getVelocity());
        EXPECT_LE(x(camera), target);
        EXPECT_EQ(std::trunc(camera.getLastMoveX()), camera.getLastMoveX());
    }
    EXPECT_DOUBLE_EQ(step, speeds[0]);
    EXPECT_DOUBLE_EQ(2 * step, speeds[1]);
    for (size_t i = 2; i < speeds.size(); ++i) EXPECT_DOUBLE_EQ(3.0, speeds[i]) << "call " << i;

    // The target stops: the camera keeps its speed until the gap is within the braking
    // distance, then slows by one step per call, never below one step, and comes to rest
    // where its position plus the carried fraction is the target's x.
    double previous = camera.getVelocity();
    bool braked = false;
    int calls = 0;
    while (x(camera) + camera.getFraction() != target && calls < 100) {
        camera.track(target, 0, seconds);
        ++calls;
        const double v = camera.getVelocity();
        EXPECT_LE(x(camera), target);
        EXPECT_LE(v, previous + 1e-12);
        if (v < previous - 1e-12) {
            braked = true;
            // A slowing is one step, or the last clamp onto the target itself.
            const bool oneStep = std::fabs(previous - step - v) < 1e-9 ||
                                 (previous - step < step && std::fabs(v - step) < 1e-9);
            const bool arrival = std::fabs(x(camera) + camera.getFraction() - target) < 1e-9;
            EXPECT_TRUE(oneStep || arrival) << previous << " -> " << v;
        }
        previous = v;
    }
    EXPECT_TRUE(braked);
    EXPECT_LT(calls, 100);
    EXPECT_DOUBLE_EQ(target, x(camera) + camera.getFraction());

    // At rest it stays at rest.
    const double restX = x(camera);
    for (int i = 0; i < 5; ++i) {
        camera.track(target, 0, seconds);
        EXPECT_EQ(0.0, camera.getLastMoveX());
    }
    EXPECT_EQ(restX, x(camera));
}

TEST(GphCameraTrack, FollowsToTheLeftAsTheMirrorImage)
{
    const double seconds = 0.2;
    const double step = GameConstants::trackRamp * seconds;
    GphCamera camera;
    settle(camera, 0, 0);
    double target = 0;
    for (int i = 0; i < 20; ++i) {
        target -= 3;
        camera.track(target, 0, seconds);
        EXPECT_GE(x(camera), target);
        if (i == 0) {
            EXPECT_DOUBLE_EQ(-step, camera.getVelocity());
        }
    }
    EXPECT_DOUBLE_EQ(-3.0, camera.getVelocity());
    int calls = 0;
    while (x(camera) + camera.getFraction() != target && calls < 100) {
        camera.track(target, 0, seconds);
        EXPECT_GE(x(camera), target);
        EXPECT_LE(camera.getVelocity(), 0.0);
        ++calls;
    }
    EXPECT_LT(calls, 100);
    EXPECT_DOUBLE_EQ(target, x(camera) + camera.getFraction());
}

TEST(GphCameraTrack, MovesByWholeUnitsAndCarriesTheFraction)
{
    // A speed held at 0.4 units per call from a fraction of 0 moves 0, 0, 1, 0, 1.
    GphCamera camera;
    settle(camera, 0, 0);
    camera.track(0.4, 0, 1.0);  // one step of 5.25 is capped at the target's own 0.4
    ASSERT_DOUBLE_EQ(0.4, camera.getVelocity());
    camera.setPosition(ShpCoord(-1000, 0, 0));  // far behind a standing target
    EXPECT_EQ(0.0, camera.getFraction());
    std::vector<double> moves;
    for (int i = 0; i < 5; ++i) {
        camera.track(0.4, 0, 0.02);
        EXPECT_DOUBLE_EQ(0.4, camera.getVelocity());
        moves.push_back(camera.getLastMoveX());
    }
    EXPECT_EQ((std::vector<double>{0, 0, 1, 0, 1}), moves);
    EXPECT_EQ(-998.0, x(camera));
}

TEST(GphCameraTrack, SetPositionKeepsTheSpeedAndDropsTheFraction)
{
    GphCamera camera;
    settle(camera, 0, 0);
    double target = 0;
    for (int i = 0; i < 10; ++i) camera.track(target += 3, 0, 0.2);
    ASSERT_DOUBLE_EQ(3.0, camera.getVelocity());
    camera.setPosition(ShpCoord(-500, 40, 0));
    EXPECT_EQ(0.0, camera.getFraction());
    EXPECT_DOUBLE_EQ(3.0, camera.getVelocity());
    camera.track(target, 40, 0.2);  // the target now stands still, far ahead
    EXPECT_EQ(3.0, camera.getLastMoveX());
    EXPECT_EQ(-497.0, x(camera));
}

TEST(GphCameraTrack, VerticalMoveIsTheWholeDifferenceEveryCall)
{
    GphCamera camera;
    const double targets[] = {300, 310.5, -20.25, -20.25, 1000};
    double before = y(camera);
    for (double ty : targets) {
        camera.track(0, ty, 0.016);
        EXPECT_EQ(ty - before, camera.getLastMoveY());
        EXPECT_EQ(ty, y(camera));
        before = ty;
    }
}

TEST(GphCameraTrack, FrameOfNoTimeReturnsAndKeepsTheSpeed)
{
    // A frame that took no time must not hang the follow: no speed change, the move of
    // the kept speed, and the vertical jump as in any frame.
    GphCamera camera;
    settle(camera, 0, 0);
    double target = 0;
    for (int i = 0; i < 10; ++i) camera.track(target += 3, 0, 0.2);
    ASSERT_DOUBLE_EQ(3.0, camera.getVelocity());
    const double before = x(camera);
    camera.track(target + 500, 77, 0.0);  // the target runs ahead, no time passed
    EXPECT_DOUBLE_EQ(3.0, camera.getVelocity());
    camera.track(target + 500, 77, 0.0);  // the target stands: no braking either
    EXPECT_DOUBLE_EQ(3.0, camera.getVelocity());
    EXPECT_EQ(before + 6, x(camera));
    EXPECT_EQ(77.0, y(camera));

    // The same to the left, and a camera at rest stays at rest.
    GphCamera left;
    settle(left, 0, 0);
    target = 0;
    for (int i = 0; i < 10; ++i) left.track(target -= 3, 0, 0.2);
    left.track(target - 500, 0, 0.0);
    left.track(target - 500, 0, 0.0);
    EXPECT_DOUBLE_EQ(-3.0, left.getVelocity());

    GphCamera resting;
    resting.track(250, 0, 0.0);
    EXPECT_EQ(0.0, resting.getVelocity());
    EXPECT_EQ(0.0, x(resting));

    // Tiny frames brake in reasonable time as well.
    camera.track(target + 500, 77, 1e-12);
    EXPECT_LE(x(camera), target + 500);
}

TEST(GphCameraTrack, StopsOnATargetCloserThanItsSpeed)
{
    GphCamera camera;
    settle(camera, 0, 0);
    double target = 0;
    for (int i = 0; i < 10; ++i) camera.track(target += 3, 0, 0.2);
    ASSERT_DOUBLE_EQ(3.0, camera.getVelocity());
    // The target stops half a unit ahead of where the camera's carried position is.
    const double close = x(camera) + camera.getFraction() + 0.5;
    camera.track(close, 0, 0.2);
    EXPECT_DOUBLE_EQ(close, x(camera) + camera.getFraction());
    EXPECT_LE(x(camera), close);
}

TEST(GphCamera, ResetReturnsToTheOriginWithNoFollowState)
{
    GphCamera camera;
    double target = 0;
    for (int i = 0; i < 10; ++i) camera.track(target += 3, 50, 0.2);
    camera.reset();
    EXPECT_EQ(ShpCoord(0, 0, 0), *camera.getPosition());
    EXPECT_EQ(0.0, camera.getVelocity());
    EXPECT_EQ(0.0, camera.getFraction());
    EXPECT_EQ(0.0, camera.getLastMoveX());
    EXPECT_EQ(0.0, camera.getLastMoveY());
    EXPECT_EQ(0.0, camera.getLastTargetX());
    EXPECT_EQ(0.0, camera.getLastTargetY());
}

TEST(GphCamera, EveryMoveKeepsTheViewportBoundsInStep)
{
    testsupport::GlContext gl;
    ASSERT_TRUE(gl.ok());
    GphCamera camera;
    GphViewport::setCamera(&camera);
    {
        GphViewportOrthogonal viewport(0, 0, 800, 600, 1, 10000, 512);
        camera.setViewport(&viewport);
        EXPECT_EQ(-512.0, viewport.getLeft());
        EXPECT_EQ(384.0, viewport.getTop());

        // The position is truncated toward zero: (100.7, -20.9) counts as (100, -20).
        camera.setPosition(ShpCoord(100.7, -20.9, 0));
        EXPECT_EQ(-412.0, viewport.getLeft());
        EXPECT_EQ(612.0, viewport.getRight());
        EXPECT_EQ(364.0, viewport.getTop());
        EXPECT_EQ(-404.0, viewport.getBottom());

        camera.move(-200.5, 40, 0);
        EXPECT_EQ(-99.0 - 512, viewport.getLeft());
        EXPECT_EQ(19.0 + 384, viewport.getTop());

        camera.track(1000, 300, 0.02);
        EXPECT_EQ(300.0 + 384, viewport.getTop());

        // Writing the position directly does not reach the bounds until the next move.
        camera.getPosition()->setX(5000);
        EXPECT_EQ(-99.0 - 512, viewport.getLeft());
        camera.setViewport(nullptr);
    }
    GphViewport::setCamera(nullptr);
}
