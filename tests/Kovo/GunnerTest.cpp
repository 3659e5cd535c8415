#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CastHarness.h"
#include "Kovo/Gunner.h"

namespace {

using kovotest::actorAt;
using kovotest::floorAt;
using kovotest::wallAt;

std::string gunnerAt(int x, int state, bool facingLeft)
{
    return actorAt(CharacterTypeGunner, x, 40, state, facingLeft, "0 2000");
}

class GunnerTest : public kovotest::CastTest {
protected:
    // Frames of 10 ms as the room runs them, the gunner's think then its requests; the time
    // of each shot.
    std::vector<int> shotTimes(Gunner* gunner, int frames)
    {
        std::vector<int> times;
        CharacterRequest shot;
        for (int i = 1; i <= frames; ++i) {
            think(gunner, 10);
            while (gunner->takeRequest(shot)) {
                times.push_back(i * 10);
                lastShot = shot;
            }
        }
        return times;
    }

    CharacterRequest lastShot;
};

}  // namespace

TEST_F(GunnerTest, FiresFourShotsAtLeast100MsApartThenChargesTheHero)
{
    Gunner* gunner = makeRoom<Gunner>(floorAt(0, 2000, 40) + gunnerAt(1000, 1, true));
    placeHero(800, 40);
    const std::vector<int> times = shotTimes(gunner, 160);
    ASSERT_EQ(4u, times.size());
    // The countdown passes a second on the 102nd think, which starts the burst; the first
    // shot comes with the next.
    EXPECT_EQ(1030, times[0]);
    for (size_t i = 1; i < times.size(); ++i) EXPECT_EQ(110, times[i] - times[i - 1]);
    // Bullets from its left edge, 63 above its feet.
    EXPECT_DOUBLE_EQ(940, lastShot.x);
    EXPECT_DOUBLE_EQ(103, lastShot.y);
    EXPECT_DOUBLE_EQ(-420, lastShot.speedX);
    EXPECT_EQ("bullet.pcx", lastShot.picture);
    EXPECT_EQ(CharacterStateMoveLeft, gunner->getState());
}

TEST_F(GunnerTest, NeverFiresWithAWallInFrontButDoesAtTheEdgeOfADrop)
{
    const struct {
        const char* what;
        std::string ground;
        size_t shots;
    } cases[] = {
        {"wall between", floorAt(0, 2000, 40) + wallAt(900, 920, 400, 40), 0},
        {"edge of a drop", floorAt(960, 2000, 40) + floorAt(0, 700, 40), 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        makeRoom(c.ground + gunnerAt(1000, 1, true));
        placeHero(800, 40);
        EXPECT_EQ(c.shots, shotTimes(actor<Gunner>(), 300).size());
    }
}

TEST_F(GunnerTest, StartedShootingWithoutAPictureItFiresAtOnce)
{
    makeRoom(floorAt(0, 2000, 40) + gunnerAt(1000, CharacterStateShootRight, false));
    Gunner* gunner = actor<Gunner>();
    placeHero(100, 40);
    EXPECT_EQ(nullptr, shown(gunner));
    EXPECT_EQ(std::vector<int>({10, 120, 230, 340}), shotTimes(gunner, 40));
}
