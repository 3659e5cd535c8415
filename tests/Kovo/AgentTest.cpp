#include <gtest/gtest.h>

#include "CastHarness.h"
#include "Kovo/Agent.h"
#include "Kovo/Ego1.h"
#include "Kovo/Hint.h"

namespace {

using kovotest::actorAt;
using kovotest::floorAt;
using kovotest::frameFile;

class AgentTest : public kovotest::CastTest {};

}  // namespace

TEST_F(AgentTest, TheHerosFirstTouchShowsHisHintAboveHimOrBelowWhenTheViewEndsThere)
{
    // In a room 600 high the view's top is at 600: the 200-high panel 105 above an agent
    // standing at 100 fits, one above an agent standing at 300 would not.
    const struct {
        double y;
        const char* panel;
        double panelY;
    } cases[] = {{100, "agent1-2_above.pcx", 100 + 120 + 105},
                 {300, "agent1-2_below.pcx", 300 - 105}};
    for (const auto& c : cases) {
        Agent* agent = makeRoom<Agent>(floorAt(0, 2000, c.y) + actorAt(3, 500, c.y, 1, true,
                                           "agent1-2_above.pcx agent1-2_below.pcx -"),
                                       2000, 600);
        placeHero(460, c.y);
        room->update(30);
        Hint* hint = room->getShownHint();
        ASSERT_NE(nullptr, hint);
        EXPECT_EQ(c.panel, frameFile(hint->getPanel()->getAnimatedTexture(), 0));
        EXPECT_DOUBLE_EQ(c.panelY, hint->getPanel()->getCoord()->getY());
        EXPECT_TRUE(agent->isShown());
        EXPECT_FALSE(hero.isDying()) << "harmless";

        // Once dismissed, touching him again shows nothing.
        room->onCharDown('x');
        room->update(30);
        EXPECT_EQ(nullptr, room->getShownHint());
    }
}

TEST_F(AgentTest, SeenForMoreThanHalfASecondHeWalksOffTheOtherWayAndIsGoneAtHisLimit)
{
    // The view spans -400 to 400 across.
    Ego1* ego = makeRoom<Ego1>(floorAt(-400, 2000, 0) + actorAt(19, 200, 0, 1, true, "-300 390"));
    EXPECT_EQ(21, thinkUntilStateChanges(ego, 25)) << "500 ms exactly is not enough";
    EXPECT_EQ(7, ego->getState());
    EXPECT_TRUE(ego->isFacingRight());
    EXPECT_EQ(0, ego->getScreenTimer());

    // 210 a second, through nothing but his limit: gone where his edge would reach it.
    ASSERT_GT(thinkUntilStateChanges(ego, 25), 0);
    EXPECT_EQ(42, ego->getState());
    EXPECT_LT(ego->getRight(), 390);
    EXPECT_GE(ego->getRight() + 5.25, 390);
    think(ego, 25);
    EXPECT_EQ(nullptr, shown(ego));
    EXPECT_EQ(0u, rectsDrawn(ego)) << "gone, he is not drawn";
}
