#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "CastHarness.h"
#include "Kovo/Bomb.h"
#include "Kovo/Bombshelle.h"
#include "Kovo/Reaction.h"
#include "Kovo/Smoke.h"

namespace {

using kovotest::actorAt;
using kovotest::floorAt;
using kovotest::wallAt;

class BombshelleTest : public kovotest::CastTest {
protected:
    // She stands at (1000, 40), her box 940 to 1060 across and 40 to 160 up, looking 400.
    Bombshelle* standing(bool facingLeft, const std::string& more = "")
    {
        return makeRoom<Bombshelle>(floorAt(0, 2000, 40) + more +
                                    actorAt(16, 1000, 40, facingLeft ? 1 : 2, facingLeft, "0 400"));
    }
};

}  // namespace

TEST_F(BombshelleTest, SeesTheHeroAheadWithinReachWithNothingBetween)
{
    const struct {
        bool facingLeft;
        double x, y;
        bool dying, wall, seen;
    } cases[] = {{true, 540, 40, false, false, true},   {true, 539, 40, false, false, false},
                 {false, 1460, 40, false, false, true}, {true, 1000, 40, false, false, false},
                 {false, 1000, 40, false, false, false}, {true, 700, -360, false, false, true},
                 {true, 700, -361, false, false, false}, {true, 700, 260, false, false, true},
                 {true, 700, 261, false, false, false},  {true, 700, 40, true, false, false},
                 {true, 700, 40, false, true, false}};
    for (const auto& c : cases) {
        Bombshelle* b = standing(c.facingLeft, c.wall ? wallAt(800, 820, 400, 0) : "");
        heroAt(c.x, c.y, c.dying);
        think(b, 30);
        EXPECT_EQ(c.seen ? 30 : 0, b->getThrowTimer()) << c.x << ", " << c.y;
    }
}

TEST_F(BombshelleTest, ThrowsAfterMoreThanASecondOfSightAskingForOneBombAtTheEighthPicture)
{
    Bombshelle* b = standing(true);
    placeHero(700, 40);
    think(b, 25, 6);
    std::unique_ptr<Reaction> bubble(b->react());
    EXPECT_EQ(850, bubble->getRemaining()) << "her bubble, made once, lasts the second out";
    EXPECT_EQ(nullptr, b->react());
    EXPECT_EQ(36, thinkUntilStateChanges(b, 25)) << "a second exactly is not enough";
    EXPECT_EQ(14, b->getState());
    EXPECT_DOUBLE_EQ(700, b->getSightRange());

    int thinks = 0;
    std::vector<int> requestedAt;
    EXPECT_EQ(22, thinkUntil(b, [&] {
        ++thinks;
        if (b->takeThrowRequest()) requestedAt.push_back(thinks);
        return b->getState() != 14;
    }, 25)) << "the last picture shows after 550 ms";
    EXPECT_EQ(std::vector<int>{14}, requestedAt) << "one request, at the eighth after 350";
    EXPECT_TRUE(kovotest::isPlaying("throw.wav"));
}

TEST_F(BombshelleTest, TheRoomMakesOneBombPerThrowAndItLandsOnTheHeroAsItsSearchAimed)
{
    standing(true);
    placeHero(600, 40);
    ASSERT_GT(updatesUntil([&] { return !room->getEnemyProjectiles().empty(); }, 30, 200), 0);
    ASSERT_EQ(1u, room->getEnemyProjectiles().size());
    Bomb* bomb = dynamic_cast<Bomb*>(room->getEnemyProjectiles().front());
    double vx = 0, vy = 0;
    ASSERT_TRUE(Bomb::findLaunch(2000, hero, 960, 150, 30, vx, vy));
    EXPECT_DOUBLE_EQ(vx, bomb->getVelocityX());
    EXPECT_NEAR(vy - 2000 * 0.03, bomb->getVelocityY(), 1e-9) << "after its first frame";
    EXPECT_GT(updatesUntil([&] {
        EXPECT_LE(room->getEnemyProjectiles().size(), 1u);
        return hero.isDying();
    }, 30, 400), 0);
    EXPECT_TRUE(room->getEnemyProjectiles().empty());
    ASSERT_EQ(1u, room->getEffects().size());
    EXPECT_NE(nullptr, dynamic_cast<Smoke*>(room->getEffects().front()));
}
