#include <vector>

#include "Base/Snd/SndSoundEffect.h"
#include "Kovo/Hammer.h"
#include "Kovo/Hazard.h"
#include "PropHarness.h"
#include "support/Files.h"

using namespace proptest;

namespace {

// A 60 x 40 hammer at (x, 100) between its top line 100 and its bottom line 0, its 60 x 20
// hazard 20 below its centre.
std::string hammerBody(int x = 0, int y = 100)
{
    return "<ANIMATION> 4 </ANIMATION> <LOCATION> " + std::to_string(x) + " " + std::to_string(y) +
           " 60 40 100 0 </LOCATION> <HAZARD> <ANIMATION> 5 </ANIMATION> <LOCATION> " +
           std::to_string(x) + " " + std::to_string(y - 20) +
           " 60 20 </LOCATION> </HAZARD> <ID> 6 </ID> </HAMMER>";
}

class HammerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        room = makeRoom(2000.0);
        kovotest::stopAllEffects();
    }

    void TearDown() override { kovotest::stopAllEffects(); }

    // A hammer read from the body; its hazard, which the room would own, is kept here.
    std::unique_ptr<Hammer> build(const std::string& body)
    {
        std::unique_ptr<Hammer> hammer(new Hammer(room.get()));
        EXPECT_EQ(0, readBody(*hammer, body));
        hazards.emplace_back(hammer->getHazard());
        return hammer;
    }

    // One 20 ms frame; the hazard keeps its place under the hammer.
    void frame(Hammer& hammer)
    {
        hammer.update(20, 0.02);
        EXPECT_NEAR(hammer.getY() - 20, hammer.getHazard()->getY(), 1e-9);
    }

    std::unique_ptr<Map> room;
    std::vector<std::unique_ptr<Hazard>> hazards;
};

}  // namespace

TEST_F(HammerTest, ReadsItsLevelBlockWithItsHazard)
{
    auto hammer = build(hammerBody(30, 100));
    EXPECT_DOUBLE_EQ(30, hammer->getX());
    EXPECT_DOUBLE_EQ(-202, hammer->getZ());
    EXPECT_DOUBLE_EQ(100, hammer->getTop());
    EXPECT_DOUBLE_EQ(0, hammer->getBottom());
    EXPECT_EQ(6, hammer->getId());
    EXPECT_TRUE(hammer->isVisible());
    expectPictureSize(hammer->getPicture(), 60, 40);
    ASSERT_NE(nullptr, hammer->getSound());
    EXPECT_EQ("crash.wav", hammer->getSound()->getFileName());
    Hazard* hazard = hammer->getHazard();
    ASSERT_NE(nullptr, hazard);
    EXPECT_DOUBLE_EQ(80, hazard->getY());
    EXPECT_DOUBLE_EQ(-201, hazard->getZ());
    EXPECT_EQ(0, hazard->getId());
    expectPictureSize(hazard->getPicture(), 60, 20);
}

TEST_F(HammerTest, ReadFailures)
{
    Hammer noHazard(room.get());
    EXPECT_EQ(-1, readBody(noHazard, "<ANIMATION> 4 </ANIMATION> </HAMMER>"));
    EXPECT_TRUE(testsupport::logContains("Failed to read hammer"));

    Hammer badHazard(room.get());
    EXPECT_EQ(-1, readBody(badHazard, "<HAZARD> <ROTATION> x </ROTATION> </HAZARD> </HAMMER>"));
    EXPECT_TRUE(testsupport::logContains("Failed to read hazard"));
    EXPECT_EQ(nullptr, badHazard.getHazard());

    Hammer unknown(room.get());
    EXPECT_EQ(-1, readBody(unknown, "<HAZARD> </HAZARD> <ROTATION> 3 </ROTATION> </HAMMER>"));
    EXPECT_TRUE(testsupport::logContains("Unknown tag: <ROTATION>"));
    EXPECT_EQ(nullptr, unknown.getHazard());

    Hammer missing(room.get());
    EXPECT_EQ(-1, readBody(missing, "<ANIMATION> 99 </ANIMATION> <HAZARD> </HAZARD> </HAMMER>"));
    EXPECT_TRUE(testsupport::logContains("Failed to retrieve animation"));

    const std::string body = hammerBody();
    for (size_t n = 0; n < body.size(); ++n) {
        Hammer cut(room.get());
        EXPECT_EQ(-1, readBody(cut, body.substr(0, n))) << body.substr(0, n);
        EXPECT_EQ(nullptr, cut.getHazard());
    }
}

TEST_F(HammerTest, DropsBouncesAndClimbsBack)
{
    auto hammer = build(hammerBody());
    SndSoundEffect* crash = hammer->getSound();
    // Under gravity 2000 in 0.02 s frames: -40, -80, ... and the line is hit in the 16th frame.
    for (int i = 1; i <= 15; ++i) {
        frame(*hammer);
        EXPECT_DOUBLE_EQ(-40.0 * i, hammer->getVerticalSpeed());
        EXPECT_FALSE(hammer->isBounced());
    }
    EXPECT_NEAR(100 - 0.8 * 120, hammer->getY(), 1e-9);
    EXPECT_FALSE(crash->isPlaying());
    frame(*hammer);
    EXPECT_EQ(0, hammer->getY());
    EXPECT_EQ(210, hammer->getVerticalSpeed());
    EXPECT_TRUE(hammer->isBounced());
    EXPECT_TRUE(crash->isPlaying());
    EXPECT_NEAR(4, crash->getPosition().getY(), 1e-9);
    frame(*hammer);
    EXPECT_DOUBLE_EQ(170, hammer->getVerticalSpeed());
    EXPECT_DOUBLE_EQ(3.4, hammer->getY());
    frame(*hammer);
    EXPECT_DOUBLE_EQ(130, hammer->getVerticalSpeed());

    // The second impact is silent and starts the climb at 105 units per second.
    crash->stop();
    int frames = 0;
    while (hammer->isBounced() && frames++ < 100) frame(*hammer);
    ASSERT_TRUE(hammer->isRising());
    EXPECT_FALSE(crash->isPlaying());
    double y = hammer->getY();
    frames = 0;
    while (hammer->isRising() && frames++ < 100) {
        frame(*hammer);
        if (hammer->isRising()) {
            EXPECT_NEAR(2.1, hammer->getY() - y, 1e-9);
        }
        y = hammer->getY();
    }
    EXPECT_EQ(100, hammer->getY());
    EXPECT_EQ(0, hammer->getVerticalSpeed());
    EXPECT_FALSE(hammer->isRising());

    // Still on, it drops again at once.
    frame(*hammer);
    EXPECT_DOUBLE_EQ(-40, hammer->getVerticalSpeed());
    EXPECT_LT(hammer->getY(), 100);
}

TEST_F(HammerTest, OffScreenImpactIsSilentAndBelowItsBottomItNeverMoves)
{
    auto far = build(hammerBody(3000, 100));
    for (int i = 0; i < 16; ++i) frame(*far);
    EXPECT_TRUE(far->isBounced());
    EXPECT_FALSE(far->getSound()->isPlaying());

    auto low = build(hammerBody(0, -10));
    for (int i = 0; i < 100; ++i) frame(*low);
    EXPECT_EQ(-10, low->getY());
    EXPECT_EQ(0, low->getVerticalSpeed());
}

TEST_F(HammerTest, SwitchedOffItFinishesItsCycleAndRestsAtTheTop)
{
    auto hammer = build(hammerBody());
    hammer->setVisible(false);
    for (int i = 0; i < 50; ++i) frame(*hammer);
    EXPECT_EQ(100, hammer->getY());

    hammer->setVisible(true);
    for (int i = 0; i < 5; ++i) frame(*hammer);
    hammer->setVisible(false);  // in mid-drop
    bool bounced = false;
    for (int i = 0; i < 300; ++i) {
        frame(*hammer);
        bounced = bounced || hammer->isBounced();
    }
    EXPECT_TRUE(bounced);
    EXPECT_EQ(100, hammer->getY());
    EXPECT_EQ(0, hammer->getVerticalSpeed());
    EXPECT_FALSE(hammer->isRising());

    hammer->setVisible(true);
    frame(*hammer);
    EXPECT_LT(hammer->getY(), 100);
}

TEST_F(HammerTest, SavedBlockRoundTripInMidBounce)
{
    auto hammer = build(hammerBody());
    for (int i = 0; i < 20; ++i) frame(*hammer);
    ASSERT_TRUE(hammer->isBounced());
    const std::string block = saved(*hammer);
    EXPECT_EQ(0u, block.find("<HAMMER> 50 1 0 <SPRITE> 0 "));

    auto fresh = build(hammerBody());
    ASSERT_EQ(0, restore(*fresh, block));
    EXPECT_EQ(block, saved(*fresh));
    EXPECT_TRUE(fresh->isBounced());
    EXPECT_FALSE(fresh->isRising());
    EXPECT_EQ(50, fresh->getVerticalSpeed());
    EXPECT_NEAR(hammer->getY(), fresh->getY(), 1e-4);
    EXPECT_NEAR(hammer->getHazard()->getY(), fresh->getHazard()->getY(), 1e-4);
    // The sprite lines would make both pictures square.
    expectPictureSize(fresh->getPicture(), 60, 40);
    expectPictureSize(fresh->getHazard()->getPicture(), 60, 20);

    for (const std::string& cut : kovotest::truncations(block)) {
        auto victim = build(hammerBody());
        EXPECT_EQ(-1, restore(*victim, cut)) << cut;
    }

    Hammer bare(room.get());
    std::ostringstream out;
    EXPECT_EQ(-1, bare.writeState(out));
    EXPECT_EQ(-1, restore(bare, block));
}
