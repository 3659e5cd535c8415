#include <gtest/gtest.h>

#include <memory>

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
        makeRoom(floorAt(0, 2000, 40) + more +
                 actorAt(16, 1000, 40, facingLeft ? 1 : 2, facingLeft, "0 400"));
        return actor<Bombshelle>();
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
        hero.respawn();
        placeHero(c.x, c.y);
        if (c.dying) hero.die();
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
    think(b, 25, 35);
    EXPECT_EQ(1, b->getState()) << "a second exactly is not enough";
    think(b, 25);
    EXPECT_EQ(14, b->getState());
    EXPECT_DOUBLE_EQ(700, b->getSightRange());

    int thinks = 0, requests = 0, requestedAt = 0;
    const int thrown = thinkUntil(b, [&] {
        ++thinks;
        if (!b->takeThrowRequest()) return b->getState() != 14;
        ++requests;
        requestedAt = thinks;
        return b->getState() != 14;
    }, 25);
    EXPECT_EQ(22, thrown) << "the last picture shows after 550 ms";
    EXPECT_EQ(1, requests);
    EXPECT_EQ(14, requestedAt) << "the eighth after 350";
    EXPECT_TRUE(kovotest::anyPlaying("throw.wav"));
}

TEST_F(BombshelleTest, TheRoomMakesOneBombPerThrowAndItLandsOnTheHeroAsItsSearchAimed)
{
    standing(true);
    placeHero(600, 40);
    int frames = 0;
    while (room->getEnemyProjectiles().empty() && frames++ < 200) room->update(30);
    ASSERT_EQ(1u, room->getEnemyProjectiles().size());
    Bomb* bomb = dynamic_cast<Bomb*>(room->getEnemyProjectiles().front());
    double vx = 0, vy = 0;
    ASSERT_TRUE(Bomb::findLaunch(2000, hero, 960, 150, 30, vx, vy));
    EXPECT_DOUBLE_EQ(vx, bomb->getVelocityX());
    EXPECT_NEAR(vy - 2000 * 0.03, bomb->getVelocityY(), 1e-9) << "after its first frame";
    while (!hero.isDying() && frames++ < 400) {
        room->update(30);
        EXPECT_LE(room->getEnemyProjectiles().size(), 1u);
    }
    EXPECT_TRUE(room->getEnemyProjectiles().empty());
    ASSERT_EQ(1u, room->getEffects().size());
    EXPECT_NE(nullptr, dynamic_cast<Smoke*>(room->getEffects().front()));
}
