#include <gtest/gtest.h>

#include <string>

#include "CastHarness.h"
#include "Kovo/Bird.h"

namespace {

using kovotest::actorAt;
using kovotest::floorAt;

// A bird flying left at (1000, 300), its box 980 to 1020 across and 280 to 320 up.
const std::string kBird = actorAt(9, 1000, 300, 22, true);

class BirdTest : public kovotest::CastTest {};

}  // namespace

TEST_F(BirdTest, SeesTheHeroBelowAndAroundItButNotAboveItOrDying)
{
    const struct {
        double x, y;
        bool dying, seen;
    } cases[] = {{580, 40, false, true},    {579, 40, false, false}, {1420, 40, false, true},
                 {1000, -219, false, true}, {1000, -220, false, false},
                 {1000, 329, false, true},  {1000, 330, false, false}, {800, 40, true, false}};
    for (const auto& c : cases) {
        Bird* b = makeRoom<Bird>(kBird);
        heroAt(c.x, c.y, c.dying);
        think(b, 20);
        EXPECT_EQ(c.seen, b->isPursuing()) << c.x << ", " << c.y;
    }
}

TEST_F(BirdTest, PursuesPastTheHeroToTurningPointsAndLooksAgainWhereItPassedHim)
{
    Bird* b = makeRoom<Bird>(kBird);
    placeHero(801, 0);
    // Seen: a turning point 300 beyond him, a cry, no change of height until the next frame.
    think(b, 20);
    EXPECT_DOUBLE_EQ(501, b->getTurnaroundX());
    EXPECT_DOUBLE_EQ(300, b->getY());
    EXPECT_TRUE(kovotest::isPlaying("bird_cry.wav"));
    think(b, 20);
    EXPECT_NEAR(300 - 105 * 0.02, b->getY(), 1e-9);

    // There it turns, its wing beat from the first picture.
    animation(b, 23)->setCurrentFrame(5);
    thinkUntilStateChanges(b, 20);
    EXPECT_TRUE(b->isFacingRight());
    EXPECT_NEAR(501, b->getLeft(), 3.4);
    EXPECT_EQ(0u, animation(b, 23)->getCurrentFrame());

    // Past him: a turning point 300 on, and the point where it passed him.
    thinkUntil(b, [&] { return b->getTurnaroundX() != -1; }, 20);
    EXPECT_NEAR(801 + 1.7, b->getX(), 1.71);
    EXPECT_DOUBLE_EQ(b->getX() + 300, b->getTurnaroundX());
    EXPECT_DOUBLE_EQ(b->getX(), b->getReturnToX());
    const double returnTo = b->getReturnToX();
    thinkUntilStateChanges(b, 20);

    // Back where it passed him, the hero not ahead of its left edge, it turns again keeping
    // its wing beat where it was (15 ms thinks stop between there and his x).
    animation(b, 23)->setCurrentFrame(5);
    thinkUntilStateChanges(b, 15);
    EXPECT_TRUE(b->getX() <= returnTo && b->getX() > 801);
    EXPECT_DOUBLE_EQ(-1, b->getTurnaroundX());
    EXPECT_DOUBLE_EQ(-1, b->getReturnToX());
    EXPECT_EQ(5u, animation(b, 23)->getCurrentFrame());

    // It passes him at once and turns at the next turning point; the hero having moved on
    // ahead, at the return point it flies on after him.
    thinkUntil(b, [&] { return b->getState() == 22; }, 20);
    const double secondReturn = b->getReturnToX();
    placeHero(300, 0);
    thinkUntil(b, [&] { return b->getReturnToX() == -1; }, 20);
    EXPECT_EQ(22, b->getState());
    EXPECT_NEAR(secondReturn - 1.7, b->getX(), 1.71) << "within a step";
}

TEST_F(BirdTest, StunnedItScreechesOnceFallsAndSleepsOnTheFloorBelow)
{
    Bird* b = makeRoom<Bird>(floorAt(0, 2000, 40) + actorAt(9, 1000, 700, 22, true));
    b->stun();
    think(b, 20);
    EXPECT_TRUE(kovotest::isPlaying("bird_screech.wav"));
    kovotest::stopAllEffects();
    think(b, 20, 30);
    EXPECT_FALSE(kovotest::isPlaying("bird_screech.wav")) << "once";
    EXPECT_DOUBLE_EQ(-840, b->getVerticalSpeed()) << "its fall stops speeding up at 840";
    thinkUntil(b, [&] { return b->isAsleep(); }, 20);
    EXPECT_EQ(41, b->getState());
    EXPECT_TRUE(b->getBottom() < 40 && b->getBottom() >= 39 - 840 * 0.02) << "on the floor";
}
