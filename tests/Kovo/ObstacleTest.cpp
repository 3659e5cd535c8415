#include <vector>

#include "Base/Snd/SndSoundEffect.h"
#include "Kovo/Obstacle.h"
#include "PropHarness.h"
#include "support/Files.h"

using namespace proptest;

namespace {

// A 60 x 80 pushable crate at (100, 40) with its floor on top and its wall around it.
std::string crateBody(const std::string& sounds = "<FALL_SOUND> obstacle_fall.wav </FALL_SOUND> "
                                                  "<CRASH_SOUND> obstacle_crash.wav </CRASH_SOUND> "
                                                  "<PUSH_SOUND> obstacle_push.wav </PUSH_SOUND> ")
{
    return "<ANIMATION> 3 </ANIMATION> " + sounds +
           "<LOCATION> 100 40 60 80 </LOCATION> <PROPERTIES> 1 1 7 0 </PROPERTIES> " +
           barrierField("FLOOR", 70, 130, 80, 50) + barrierField("WALL", 70, 130, 80, 0) +
           "</OBSTACLE>";
}

class ObstacleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        room = makeRoom();
        kovotest::stopAllEffects();
    }

    void TearDown() override { kovotest::stopAllEffects(); }

    // An obstacle read from the body; its floor, which the room would own, is kept here.
    std::unique_ptr<Obstacle> build(const std::string& body)
    {
        std::unique_ptr<Obstacle> obstacle(new Obstacle(room.get()));
        EXPECT_EQ(0, readBody(*obstacle, body));
        floors.emplace_back(obstacle->getFloor());
        return obstacle;
    }

    std::unique_ptr<Map> room;
    std::vector<std::unique_ptr<Barrier>> floors;
};

}  // namespace

TEST_F(ObstacleTest, ReadsItsLevelBlock)
{
    auto crate = build(crateBody());
    EXPECT_DOUBLE_EQ(100, crate->getX());
    EXPECT_DOUBLE_EQ(-10, crate->getZ());
    EXPECT_DOUBLE_EQ(80, crate->getTop());
    EXPECT_DOUBLE_EQ(70, crate->getLeft());
    expectPictureSize(crate->getPicture(), 60, 80);
    EXPECT_TRUE(crate->isPushable());
    EXPECT_TRUE(crate->getSecondProperty());
    EXPECT_EQ(7, crate->getThirdProperty());
    EXPECT_FALSE(crate->getFourthProperty());
    EXPECT_EQ(0, crate->getSpare());
    EXPECT_EQ(0, crate->getVerticalSpeed());
    ASSERT_NE(nullptr, crate->getFloor());
    ASSERT_NE(nullptr, crate->getWall());
    EXPECT_DOUBLE_EQ(50, crate->getFloor()->getY2());
    EXPECT_DOUBLE_EQ(0, crate->getWall()->getY2());
    ASSERT_NE(nullptr, crate->getPushSound());
    EXPECT_TRUE(crate->getPushSound()->isLooping());
    ASSERT_NE(nullptr, crate->getFallSound());
    EXPECT_FALSE(crate->getFallSound()->isLooping());
    EXPECT_NE(nullptr, crate->getCrashSound());

    // A sound that cannot be made stays missing; the block still reads.
    auto quiet = build(crateBody("<CRASH_SOUND> no_such.wav </CRASH_SOUND> "));
    EXPECT_EQ(nullptr, quiet->getCrashSound());
    EXPECT_EQ(nullptr, quiet->getPushSound());
    quiet->playCrashSound();
    quiet->updatePushSound();
}

TEST_F(ObstacleTest, BlocksWithoutBothBarriersAndOtherFaultsAreRejected)
{
    const std::string top = "<ANIMATION> 3 </ANIMATION> <LOCATION> 0 0 40 40 </LOCATION> ";
    Obstacle noWall(room.get());
    EXPECT_EQ(-1, readBody(noWall, top + barrierField("FLOOR", 0, 1, 2, 3) + "</OBSTACLE>"));
    EXPECT_TRUE(testsupport::logContains("Failed to read obstacle"));
    EXPECT_EQ(nullptr, noWall.getFloor());

    Obstacle noFloor(room.get());
    EXPECT_EQ(-1, readBody(noFloor, top + barrierField("WALL", 0, 1, 2, 3) + "</OBSTACLE>"));
    EXPECT_EQ(nullptr, noFloor.getFloor());

    Obstacle badBarrier(room.get());
    EXPECT_EQ(-1, readBody(badBarrier, top + barrierField("FLOOR", 0, 1, 2, 3) +
                                           "<WALL> <BARRIER> <EDGES> x </EDGES> </BARRIER> </WALL> "
                                           "</OBSTACLE>"));
    EXPECT_TRUE(testsupport::logContains("Failed to read barrier"));
    EXPECT_EQ(nullptr, badBarrier.getFloor());
    EXPECT_EQ(nullptr, badBarrier.getWall());

    Obstacle unknown(room.get());
    EXPECT_EQ(-1, readBody(unknown, "<ID> 3 </ID> </OBSTACLE>"));
    EXPECT_TRUE(testsupport::logContains("Unknown tag: <ID>"));

    Obstacle missing(room.get());
    EXPECT_EQ(-1, readBody(missing, "<ANIMATION> 99 </ANIMATION> </OBSTACLE>"));
    EXPECT_TRUE(testsupport::logContains("Failed to retrieve animation"));

    const std::string body = crateBody();
    for (size_t n = 0; n < body.size(); ++n) {
        Obstacle cut(room.get());
        EXPECT_EQ(-1, readBody(cut, body.substr(0, n))) << body.substr(0, n);
        EXPECT_EQ(nullptr, cut.getFloor());
    }
}

TEST_F(ObstacleTest, PushSoundLoopsWhilePushedOnScreen)
{
    auto crate = build(crateBody());
    SndSoundEffect* push = crate->getPushSound();
    Barrier* floor = crate->getFloor();
    Barrier* wall = crate->getWall();
    // The room clears the flag each frame and sets it while the hero walks into the crate.
    auto frame = [&](bool pushing, double dx) {
        crate->setPushed(false);
        if (pushing) {
            crate->setPushed(true);
            crate->move(dx, 0, 0);
            floor->move(dx, 0);
            wall->move(dx, 0);
        }
        crate->updatePushSound();
    };
    frame(false, 0);
    EXPECT_FALSE(push->isPlaying());
    for (int i = 0; i < 5; ++i) {
        frame(true, 4.2);
        EXPECT_TRUE(push->isPlaying()) << "frame " << i;
    }
    EXPECT_DOUBLE_EQ(121, crate->getX());
    EXPECT_EQ(ShpCoord(104.2, 40, 0), push->getPosition());  // where it started
    frame(false, 0);
    EXPECT_FALSE(push->isPlaying());

    // Off screen while pushed it stops; back on screen it starts again.
    frame(true, 2000);
    EXPECT_FALSE(crate->isOnScreen());
    EXPECT_FALSE(push->isPlaying());
    frame(true, 10);
    EXPECT_FALSE(push->isPlaying());
    frame(true, -2010);
    EXPECT_TRUE(push->isPlaying());
    frame(true, 2000);
    EXPECT_FALSE(push->isPlaying());

    // Without a picture the push sound never starts.
    auto unseen = build("<PUSH_SOUND> obstacle_push.wav </PUSH_SOUND> " +
                        barrierField("FLOOR", 0, 1, 2, 3) + barrierField("WALL", 0, 1, 2, 3) +
                        "</OBSTACLE>");
    unseen->setPushed(true);
    unseen->updatePushSound();
    EXPECT_FALSE(unseen->getPushSound()->isPlaying());
}

TEST_F(ObstacleTest, FallsWithItsSoundAndCrashes)
{
    auto crate = build(crateBody());
    SndSoundEffect* fall = crate->getFallSound();
    SndSoundEffect* crash = crate->getCrashSound();
    crate->playFallSound();
    EXPECT_TRUE(fall->isPlaying());
    EXPECT_EQ(ShpCoord(100, 40, 0), fall->getPosition());
    for (int i = 0; i < 3; ++i) {
        crate->addVerticalSpeed(-40);
        crate->move(0, crate->getVerticalSpeed() * 0.02, 0);
        crate->updatePushSound();
    }
    EXPECT_DOUBLE_EQ(-120, crate->getVerticalSpeed());
    // The fall sound follows the falling block.
    EXPECT_NEAR(35.2, crate->getY(), 1e-9);
    EXPECT_EQ(ShpCoord(100, crate->getY(), 0), fall->getPosition());
    EXPECT_TRUE(fall->isPlaying());

    crate->playCrashSound();
    EXPECT_FALSE(fall->isPlaying());
    EXPECT_TRUE(crash->isPlaying());
    EXPECT_EQ(crate->getY(), crash->getPosition().getY());
    crate->setVerticalSpeed(0);
    EXPECT_EQ(0, crate->getVerticalSpeed());

    // Without a crash sound the fall sound plays on until it is stopped.
    auto soft = build(crateBody("<FALL_SOUND> obstacle_fall.wav </FALL_SOUND> "));
    soft->playFallSound();
    soft->playCrashSound();
    EXPECT_TRUE(soft->getFallSound()->isPlaying());
    soft->stopFallSound();
    EXPECT_FALSE(soft->getFallSound()->isPlaying());
}

TEST_F(ObstacleTest, SavedInMidFallKeepsSpeedAndBarriers)
{
    auto crate = build(crateBody());
    crate->setVerticalSpeed(-120.5);
    crate->setThirdProperty(9);
    crate->move(0, -33.25, 0);
    crate->getFloor()->move(0, -33.25);
    crate->getWall()->move(0, -33.25);
    const std::string block = saved(*crate);
    EXPECT_EQ(0u, block.find("<OBSTACLE> 9 -120.5 <BARRIER>"));

    auto fresh = build(crateBody());
    ASSERT_EQ(0, restore(*fresh, block));
    EXPECT_EQ(-120.5, fresh->getVerticalSpeed());
    EXPECT_EQ(9, fresh->getThirdProperty());
    EXPECT_DOUBLE_EQ(6.75, fresh->getY());
    EXPECT_DOUBLE_EQ(16.75, fresh->getFloor()->getY2());
    EXPECT_DOUBLE_EQ(-33.25, fresh->getWall()->getY2());
    expectPictureSize(fresh->getPicture(), 60, 80);
    EXPECT_EQ(block, saved(*fresh));

    for (const std::string& cut : kovotest::truncations(block)) {
        auto victim = build(crateBody());
        EXPECT_EQ(-1, restore(*victim, cut)) << cut;
    }

    // An obstacle without its barriers neither writes nor reads a block.
    Obstacle bare(room.get());
    std::ostringstream out;
    EXPECT_EQ(-1, bare.writeState(out));
    EXPECT_EQ("", out.str());
    EXPECT_EQ(-1, restore(bare, block));
}
