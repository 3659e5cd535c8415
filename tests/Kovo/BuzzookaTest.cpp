#include <gtest/gtest.h>

#include "CastHarness.h"
#include "Kovo/Buzzooka.h"
#include "Kovo/Projectile.h"
#include "Kovo/Switch.h"

namespace {

using kovotest::actorAt;
using kovotest::floorAt;
using kovotest::restore;
using kovotest::saved;

// The rocket robot walks left from (1000, 40) between 300 and 1700, its box 940 to 1060
// across and 40 to 160 up; it sees 300 ahead.
class BuzzookaTest : public kovotest::CastTest {
protected:
    Buzzooka* walking(int state = 6, const std::string& more = "")
    {
        return makeRoom<Buzzooka>(floorAt(0, 2000, 40) + more +
                                      actorAt(12, 1000, 40, state, state == 6, "300 1700 5"),
                                  2000, 1000, more.empty() ? 0 : 1);
    }
};

}  // namespace

TEST_F(BuzzookaTest, FiresAtAHeroInLineAheadAfterHalfASecondOfWorkAndTheRoomSendsTheBullet)
{
    // The edges of its line of fire, its clock run out.
    const struct {
        double x, y;
        bool fires;
    } cases[] = {{640, 40, true},  {639, 40, false}, {800, -60, true},
                 {800, -61, false}, {800, 160, true}, {1100, 40, false}};
    for (const auto& c : cases) {
        Buzzooka* robot = walking();
        std::string block = saved(*robot);
        ASSERT_EQ(0, restore(*robot, block.replace(block.find("2500"), 4, "3001")));
        placeHero(c.x, c.y);
        think(robot, 30);
        EXPECT_EQ(c.fires, robot->takeFireRequest()) << c.x << ", " << c.y;
    }

    Buzzooka* robot = walking();
    placeHero(600, 40);
    EXPECT_EQ(18, updatesUntil([&] { return !room->getEnemyProjectiles().empty(); }))
        << "more than 500 ms after starting at 2500";
    ASSERT_EQ(1u, room->getEnemyProjectiles().size());
    const Projectile* bullet = room->getEnemyProjectiles().front();
    EXPECT_DOUBLE_EQ(-420, bullet->getVelocityX());
    EXPECT_DOUBLE_EQ(robot->getLeft() - 420 * 0.03, bullet->getX());
    EXPECT_DOUBLE_EQ(robot->getY() + 52, bullet->getY());
}

TEST_F(BuzzookaTest, ThePhoneRestsTheWorkingRobotsAndOnlyThem)
{
    // The second robot rests under a switch that is off; the phone lies at the hero's feet.
    Buzzooka* robot = walking(7, actorAt(12, 400, 40, 41, true, "100 700 9") +
                                     "<SWITCH> 200 90 40 40 9 0 </SWITCH>\n"
                                     "<ITEM> 15 1500 80 </ITEM>\n");
    Buzzooka* resting = actor<Buzzooka>(0);
    placeHero(1500, 40);
    room->update(30);
    EXPECT_TRUE(robot->isOff());
    EXPECT_FALSE(resting->isOff()) << "heard only while its switch has it on";
    room->update(30);
    EXPECT_EQ(42, robot->getState());
    const double x = robot->getX();
    const int clock = robot->getFireTimer();
    room->getSwitches().front()->toggle();
    for (int i = 0; i < 200; ++i) room->update(30);
    EXPECT_DOUBLE_EQ(x, robot->getX());
    EXPECT_EQ(clock, robot->getFireTimer());
    EXPECT_TRUE(resting->getState() == 6 || resting->getState() == 7) << "its switch put it on";
    // Seven seconds on, it works again.
    for (int i = 0; i < 35; ++i) room->update(30);
    EXPECT_FALSE(robot->isOff());
    EXPECT_EQ(7, robot->getState());
}
