#include <gtest/gtest.h>

#include <vector>

#include "CastHarness.h"
#include "Kovo/Bomb.h"
#include "Kovo/Copter.h"
#include "Kovo/Grenade.h"

namespace {

using kovotest::actorAt;
using kovotest::floorAt;

// The helicopter hovers at (1000, 300), its box 800 to 1200 across and 300 to 500 up, its
// gun line at 350.
class CopterTest : public kovotest::CastTest {
protected:
    Copter* hovering(const std::string& more = "")
    {
        return makeRoom<Copter>(floorAt(0, 2000, 40) + more +
                                    actorAt(21, 1000, 300, 2, false, "7 1"),
                                2000, 1000, more.empty() ? 0 : 1);
    }
};

}  // namespace

TEST_F(CopterTest, SeesOnlyAHeroAheadNotBelowItThenFiresFourShotBurstsFromTwoMuzzles)
{
    // Unseen below its skids, at its x, too far; then seen.
    Copter* copter = hovering();
    for (double x : {1500.0, 1000.0, 2001.0}) {
        placeHero(x, x == 1500 ? 100 : 350);
        think(copter, 30);
    }
    EXPECT_EQ(0, copter->getHoverTimer());
    placeHero(1500, 350);
    EXPECT_EQ(18, thinkUntilStateChanges(copter)) << "after more than half a second";
    EXPECT_EQ(15, copter->getState());
    EXPECT_EQ(animation(copter, 2), shown(copter)) << "shooting keeps the hover's pictures";

    // The first shot at once, then one every 150 ms at 30 ms a frame, from the muzzles in turn
    // and flying right: the think, x and y of each.
    std::vector<std::vector<double>> shots;
    for (int i = 1; i <= 25; ++i) {
        think(copter, 30);
        CharacterRequest shot;
        if (!copter->takeRequest(shot)) continue;
        shots.push_back({double(i), shot.x, shot.y});
        EXPECT_DOUBLE_EQ(420, shot.speedX);
    }
    EXPECT_EQ((std::vector<std::vector<double>>{{1, 1010, 341}, {6, 1077, 351}, {11, 1010, 341},
                                                {16, 1077, 351}, {21, 1010, 341}}),
              shots)
        << "level with its gun, it fires on";

    // A hero off its gun line ends the burst: it climbs to him and fires again once level.
    placeHero(1500, 600);
    think(copter, 30);
    EXPECT_EQ(23, copter->getState());
    EXPECT_EQ(0, copter->getShots());
    thinkUntilStateChanges(copter);
    EXPECT_EQ(15, copter->getState());
    EXPECT_NEAR(580 + 3.15, copter->getBottom(), 3.15);
}

TEST_F(CopterTest, AGrenadeInTheCockpitBringsItDownAndTheWreckAsksForSixBombs)
{
    // A cart with id 7 is held back until the helicopter lands.
    Copter* copter = hovering(actorAt(10, 300, 40, 42, false, "100 700 7"));
    Character* cart = actor(0);
    EXPECT_FALSE(cart->isVisible());
    placeHero(1500, 600);
    Grenade* grenade = new Grenade("grenade.pcx", "grenade.pcx", "grenade.wav");
    grenade->setPosition(1020, 400, GameConstants::grenadeDepth);
    mapframe::roomList(room->getGrenades()).push_back(grenade);
    room->update(30);
    EXPECT_EQ(40, copter->getState());
    EXPECT_TRUE(room->getEffects().empty()) << "no gas";
    room->update(30);
    EXPECT_TRUE(kovotest::isPlaying("glass.wav"));
    EXPECT_EQ(1u, copter->getWindshield()->getAnimatedTexture()->getCurrentFrame());
    int frames = 0;
    while (copter->getState() == 40 && frames++ < 200) {
        EXPECT_FALSE(cart->isVisible());
        room->update(30);
    }
    EXPECT_EQ(42, copter->getState());
    EXPECT_TRUE(cart->isVisible());

    // Six bombs: the first at once, then after more than 500, 500, 300, 200 and 300 ms.
    std::vector<int> gaps;
    for (int i = 1, last = 0; i <= 80; ++i) {
        const int before = copter->getBombsRequested();
        room->update(30);
        if (copter->getBombsRequested() == before) continue;
        gaps.push_back(i - last);
        last = i;
        Bomb* bomb = dynamic_cast<Bomb*>(room->getEnemyProjectiles().back());
        ASSERT_NE(nullptr, bomb);
        EXPECT_DOUBLE_EQ(0, bomb->getVelocityX()) << "it drops straight down";
        EXPECT_NEAR(copter->getLeft() + 180, bomb->getX(), 100);
    }
    EXPECT_EQ((std::vector<int>{1, 17, 17, 11, 7, 11}), gaps);
    EXPECT_GT(copter->getPuffCount(), 0u);
}
