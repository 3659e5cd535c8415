#include <algorithm>

#include "CastHarness.h"
#include "Kovo/Robot.h"

namespace {

using kovotest::actorAt;
using kovotest::floorAt;

class RobotTest : public kovotest::CastTest {};

TEST_F(RobotTest, PatrolsBetweenItsStrictLimitsTurningRoundInPlace)
{
    makeRoom(floorAt(0, 2000, 40) + actorAt(5, 1000, 40, 6, true, "880 1130 3"));
    Robot* robot = actor<Robot>();
    const double step = GameConstants::walkSpeed * 0.03;
    double lowest = robot->getLeft(), highest = robot->getRight();
    int turns = 0;
    for (int i = 0; i < 300; ++i) {
        const CharacterState state = robot->getState();
        const double x = robot->getX();
        think(robot, 30);
        if (robot->getState() != state) {
            ++turns;
            EXPECT_DOUBLE_EQ(x, robot->getX()) << "a turn takes no step";
        }
        lowest = std::min(lowest, robot->getLeft());
        highest = std::max(highest, robot->getRight());
    }
    EXPECT_GE(turns, 3);
    EXPECT_GT(lowest, 880);
    EXPECT_LE(lowest - step, 880);
    EXPECT_LT(highest, 1130);
    EXPECT_GE(highest + step, 1130);
    EXPECT_TRUE(robot->isFacingLeft()) << "its facing never changes";
}

TEST_F(RobotTest, ThePhoneSwitchesItOffForItsTimeButNotWhileHidden)
{
    // One walking, one placed switched off (hidden), and the phone at the hero's feet.
    makeRoom(floorAt(0, 3000, 40) + actorAt(5, 1000, 40, 7, false, "0 3000 3") +
             actorAt(5, 2000, 40, 41, true, "0 3000 4") + "<ITEM> 15 200 60 </ITEM>\n", 3000);
    Robot* walker = actor<Robot>(0);
    Robot* hidden = actor<Robot>(1);
    EXPECT_FALSE(hidden->isVisible());
    placeHero(200, 40);
    room->update(30);
    EXPECT_TRUE(walker->isOff());
    EXPECT_FALSE(hidden->isOff());
    room->update(30);
    EXPECT_EQ(42, walker->getState());
    const double x = walker->getX();
    hidden->show();
    room->update(30);
    EXPECT_EQ(6, hidden->getState()) << "shown, it walks, phone or not";
    EXPECT_DOUBLE_EQ(x, walker->getX());

    EXPECT_GT(updatesUntil([&] { return !walker->isOff(); }, 100), 60);
    room->update(30);
    EXPECT_EQ(7, walker->getState());
    EXPECT_GT(walker->getX(), x);
}

}  // namespace
