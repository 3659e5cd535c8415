#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <sstream>
#include <string>

#include "Base/App/AppBase.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Common/GameConstants.h"
#include "Common/Map.h"
#include "KovoHarness.h"
#include "Kovo/Bomb.h"
#include "Kovo/Player.h"
#include "support/Files.h"

namespace {

const char* const kNoSolution = "Could not arrive at a bomb trajectory solution";

class BombTest : public ::testing::Test {
protected:
    // An open room 4000 wide under the given gravity; extra barrier records may follow.
    std::unique_ptr<Map> room(double gravity, const std::string& barriers = "")
    {
        auto map = std::make_unique<Map>(&app, nullptr, &hero);
        std::istringstream in("<MAP_ID> 1 </MAP_ID> <MAP_WIDTH> 4000 </MAP_WIDTH> "
                              "<MAP_HEIGHT> 2000 </MAP_HEIGHT> <GRAVITY> " +
                              std::to_string(gravity) + " </GRAVITY> " + barriers + " </MAP>");
        EXPECT_EQ(0, map->read(in));
        return map;
    }

    // The hero's feet at (x, y).
    void placeHero(double x, double y) { hero.setPosition(x, y, GameConstants::zHero); }

    static int solutionLines()
    {
        int count = 0;
        for (const std::string& line : testsupport::logMessages()) {
            if (line.find(kNoSolution) != std::string::npos) ++count;
        }
        return count;
    }

    // Flies the bomb through real updates of ms each, until it passes the hero's x, falls
    // below 0 or is spent; true when it was inside his hit box after one of them (the box of
    // the launch search: 30 inside his sides, up to 10 above his top).
    bool replayHits(Bomb& bomb, unsigned ms)
    {
        const bool toRight = bomb.getVelocityX() > 0;
        for (int step = 0; step < 100000; ++step) {
            if (toRight ? bomb.getX() >= hero.getX() : bomb.getX() <= hero.getX()) return false;
            bomb.update(ms, ms / 1000.0);
            if (bomb.isSpent()) return false;
            const double x = bomb.getX(), y = bomb.getY();
            if (hero.getX() - hero.getHalfWidth() + 30 < x &&
                x < hero.getX() + hero.getHalfWidth() - 30 && hero.getBottom() <= y &&
                y - 10 <= hero.getTop()) {
                return true;
            }
            if (y < 0) return false;
        }
        return false;
    }

    AppBase app;
    Player hero{&app};
};

}  // namespace

TEST_F(BombTest, IsAnAnimatedFortySquareThatDoesNotSpin)
{
    auto map = room(2000);
    placeHero(900, 0);
    Bomb bomb(map.get(), &hero, 500, 110, 20);
    EXPECT_EQ(map.get(), bomb.getMap());
    EXPECT_EQ(0, bomb.getSpin());
    EXPECT_EQ(20, bomb.getHalfWidth());
    EXPECT_EQ(GameConstants::zProjectile, bomb.getZ());
    GphAnimatedTexture* frames = bomb.getPicture()->getAnimatedTexture();
    ASSERT_EQ(3u, frames->getFrameCount());
    EXPECT_EQ("bomb1.pcx", kovotest::frameFile(frames, 0));
    EXPECT_EQ("bomb2.pcx", kovotest::frameFile(frames, 1));
    EXPECT_EQ("bomb3.pcx", kovotest::frameFile(frames, 2));
    EXPECT_EQ(100u, frames->getMillisecondsPerFrame());
    for (int i = 0; i < 5; ++i) bomb.update(20, 0.02);
    EXPECT_EQ(1u, frames->getCurrentFrame()) << "100 ms per picture";
    double angle, x, y, z;
    bomb.getPicture()->getRotation(angle, x, y, z);
    EXPECT_EQ(0, angle);
}

TEST_F(BombTest, AThrowToTheRightLandsOnTheHero)
{
    // Under a gravity of 1000 the steepest, fastest throw reaches about 1030 units.
    for (double distance : {250.0, 450.0, 700.0, 950.0}) {
        SCOPED_TRACE(distance);
        auto map = room(1000);
        placeHero(400 + distance, 0);
        Bomb bomb(map.get(), &hero, 400, 110, 20);
        EXPECT_GT(bomb.getVelocityX(), 35);
        EXPECT_TRUE(replayHits(bomb, 20))
            << "vx " << bomb.getVelocityX() << " vy " << bomb.getVelocityY();
    }
}

TEST_F(BombTest, AThrowToTheLeftLandsOnTheHeroStandingHigher)
{
    auto map = room(1000);
    placeHero(300, 150);
    Bomb bomb(map.get(), &hero, 900, 110, 16);
    EXPECT_LT(bomb.getVelocityX(), -35);
    EXPECT_GT(bomb.getVelocityY(), 0) << "a flat throw cannot rise to him";
    EXPECT_TRUE(replayHits(bomb, 16));
}

TEST_F(BombTest, FlattestThrowWinsThenTheFastest)
{
    // A flat throw at full speed reaches a hero 250 away before it falls below his feet.
    auto map = room(2000);
    placeHero(650, 0);
    Bomb flat(map.get(), &hero, 400, 110, 20);
    EXPECT_EQ(840, flat.getVelocityX());
    EXPECT_EQ(0, flat.getVelocityY());

    // 450 away, no flat throw arrives: the chosen one is the fastest that hits at the lowest
    // launch speed that has any hit.
    placeHero(850, 0);
    Bomb chosen(map.get(), &hero, 400, 110, 20);
    const double vx = chosen.getVelocityX(), vy = chosen.getVelocityY();
    ASSERT_GT(vy, 0);
    EXPECT_TRUE(replayHits(chosen, 20));
    auto hitsWith = [&](double tryVx, double tryVy) {
        Bomb trial(map.get(), &hero, 400, 110, 20);
        trial.setVelocityX(tryVx);
        trial.setVelocityY(tryVy);
        return replayHits(trial, 20);
    };
    for (double faster = 840; faster > vx + 1; faster -= 5.25) {
        EXPECT_FALSE(hitsWith(faster, vy)) << faster;
    }
    for (double flatter = 0; flatter < vy; flatter += 105) {
        for (double any = 840; any > 35; any -= 5.25) EXPECT_FALSE(hitsWith(any, flatter));
    }
}

TEST_F(BombTest, ANearHeroOutOfReachGetsOneFlatFallbackThrow)
{
    auto map = room(2000);
    // 150 to the right but far above: flat throws never rise.
    placeHero(550, 400);
    const int before = solutionLines();
    Bomb bomb(map.get(), &hero, 400, 110, 20);
    EXPECT_EQ(210, bomb.getVelocityX());
    EXPECT_EQ(0, bomb.getVelocityY());
    EXPECT_EQ(before + 1, solutionLines());
}

TEST_F(BombTest, AFarHeroOutOfReachGetsTheFastestSteepestFallback)
{
    auto map = room(2000);
    placeHero(1400, 3000);
    const int before = solutionLines();
    Bomb right(map.get(), &hero, 400, 110, 20);
    EXPECT_EQ(840, right.getVelocityX());
    EXPECT_EQ(630, right.getVelocityY());
    placeHero(700, 3000);
    Bomb middle(map.get(), &hero, 400, 110, 20);
    EXPECT_EQ(210, middle.getVelocityX()) << "within 400";
    EXPECT_EQ(630, middle.getVelocityY());
    placeHero(-700, 3000);
    Bomb left(map.get(), &hero, 400, 110, 20);
    EXPECT_EQ(-840, left.getVelocityX());
    EXPECT_EQ(630, left.getVelocityY());
    EXPECT_EQ(before + 3, solutionLines());
}

TEST_F(BombTest, AHeroRightAtTheThrowersXCountsAsLeft)
{
    auto map = room(2000);
    placeHero(400, 0);
    Bomb bomb(map.get(), &hero, 400, 110, 20);
    EXPECT_EQ(-210, bomb.getVelocityX());
    EXPECT_EQ(0, bomb.getVelocityY());
}

TEST_F(BombTest, SearchesThatCouldNeverEndFallBackAtOnce)
{
    // No time per step.
    auto map = room(2000);
    placeHero(1000, 0);
    int before = solutionLines();
    Bomb still(map.get(), &hero, 400, 110, 0);
    EXPECT_EQ(840, still.getVelocityX());
    EXPECT_EQ(630, still.getVelocityY());
    EXPECT_EQ(before + 1, solutionLines());

    // A room without gravity and a hero running away faster than any throw: no throw ever
    // passes him, falls or hits.
    auto weightless = room(0);
    placeHero(1000, 5000);
    hero.setVelocity(20, 0);  // 1000 units per second at 20 ms a frame
    before = solutionLines();
    const auto start = std::chrono::steady_clock::now();
    Bomb chase(weightless.get(), &hero, 400, 110, 20);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 30.0);
    EXPECT_EQ(840, chase.getVelocityX());
    EXPECT_EQ(630, chase.getVelocityY());
    EXPECT_EQ(before + 1, solutionLines());
}

TEST_F(BombTest, FallsUnderGravityUntilItsMoveIsBlocked)
{
    // A floor walked on at y 40 with its band 40 deep.
    auto map = room(2000, "<FLOOR> <BARRIER> <EDGES> 0 4000 40 0 </EDGES> <OFFSET> 40 </OFFSET> "
                          "</BARRIER> </FLOOR>");
    placeHero(3000, 0);
    Bomb bomb(map.get(), &hero, 1000, 300, 20);
    bomb.setVelocityX(0);
    bomb.setVelocityY(0);
    bomb.update(20, 0.02);
    EXPECT_EQ(300, bomb.getY()) << "the first step starts from rest";
    EXPECT_DOUBLE_EQ(-40, bomb.getVelocityY());
    bomb.update(20, 0.02);
    EXPECT_DOUBLE_EQ(299.2, bomb.getY());
    for (int i = 0; i < 200 && !bomb.isSpent(); ++i) bomb.update(20, 0.02);
    EXPECT_TRUE(bomb.isSpent());
    EXPECT_TRUE(bomb.isFading());
    EXPECT_FLOAT_EQ(0.0f, bomb.getPicture()->getAlpha());
    EXPECT_GE(bomb.getVelocityY(), -840) << "falls no faster than 840";
    EXPECT_LE(bomb.getBottom(), 40 + 1e-9);
    EXPECT_GE(bomb.getBottom(), 0);
}

TEST_F(BombTest, ABombWhoseFirstMoveIsBlockedIsSpentWhereItIs)
{
    auto map = room(2000, "<FLOOR> <BARRIER> <EDGES> 0 4000 40 0 </EDGES> <OFFSET> 40 </OFFSET> "
                          "</BARRIER> </FLOOR>");
    placeHero(3000, 0);
    Bomb bomb(map.get(), &hero, 1000, 40, 20);  // its bottom (20) inside the floor's band
    bomb.setVelocityX(100);
    bomb.setVelocityY(-100);
    bomb.update(20, 0.02);
    EXPECT_TRUE(bomb.isSpent());
    EXPECT_EQ(1000, bomb.getX());
    EXPECT_EQ(40, bomb.getY());
}
