#include <gtest/gtest.h>

#include <GL/gl.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Common/GameConstants.h"
#include "Common/GameRandom.h"
#include "Common/Map.h"
#include "Common/MapFrameSupport.h"
#include "KovoHarness.h"
#include "Kovo/Reaction.h"
#include "Kovo/Thug.h"
#include "PlayerHarness.h"
#include "support/GlContext.h"

namespace {

using kovotest::frameFile;
using mapframe::floorAt;
using mapframe::wallAt;

// Several actors (and the hero) make effects of one file: true when any of them plays.
bool isPlaying(const std::string& fileName)
{
    if (!SndSoundEffectRegistry) return false;
    for (auto& entry : *SndSoundEffectRegistry) {
        if (entry.second->getFileName() == fileName && entry.second->isPlaying()) return true;
    }
    return false;
}

// A thug record: x, y, state, facing left, limits, nothing carried.
std::string thugAt(int x, int y, int state, bool facingLeft, int leftLimit = -5000,
                   int rightLimit = 5000)
{
    std::ostringstream out;
    out << "<CHARACTER> 1 " << x << ' ' << y << ' ' << state << ' ' << (facingLeft ? 1 : 0)
        << ' ' << leftLimit << ' ' << rightLimit << " -1 </CHARACTER> ";
    return out.str();
}

class ThugTest : public kovotest::PlayerFixture {
protected:
    // A room 2000 wide with gravity 2000 read from the text, the hero in it.
    void makeRoom(const std::string& body)
    {
        room.reset(new Map(&app, nullptr, &hero));
        std::istringstream in("<MAP_WIDTH> 2000 </MAP_WIDTH> <MAP_HEIGHT> 1000 </MAP_HEIGHT>"
                              " <GRAVITY> 2000 </GRAVITY> " +
                              body + " </MAP>");
        ASSERT_EQ(0, room->read(in));
    }

    Thug* thug(size_t index = 0) const
    {
        auto it = room->getCharacters().begin();
        for (size_t i = 0; i < index && it != room->getCharacters().end(); ++i) ++it;
        if (it == room->getCharacters().end()) return nullptr;
        return dynamic_cast<Thug*>(*it);
    }

    void placeHero(double x, double y) { hero.setPosition(x, y, GameConstants::zHero); }

    // One frame of the thug as the room drives it; a bubble it makes is kept for the test.
    void frame(Thug* t, unsigned ms)
    {
        t->think(ms, ms / 1000.0);
        if (Reaction* r = t->react()) bubbles.emplace_back(r);
    }

    // Frames of ms until the state changes or n frames have passed; the frames run.
    int runUntilStateChanges(Thug* t, unsigned ms, int n = 2000)
    {
        const CharacterState from = t->getState();
        for (int i = 1; i <= n; ++i) {
            frame(t, ms);
            if (t->getState() != from) return i;
        }
        return -1;
    }

    GphAnimatedTexture* shown(Thug* t) const { return t->getDrawable()->getAnimatedTexture(); }
    GphAnimatedTexture* animation(Thug* t, CharacterState s) const
    {
        auto it = t->getAnimations().find(s);
        return it == t->getAnimations().end() ? nullptr : it->second;
    }

    std::unique_ptr<Map> room;
    std::vector<std::unique_ptr<Reaction>> bubbles;
};

using kovotest::restore;
using kovotest::saved;

}  // namespace

// ---------------------------------------------------------------------------------------------
// Building

TEST_F(ThugTest, RecordBuildsAHarmfulBrawlerStandingOnItsFeet)
{
    makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 1, true, 300, 1700));
    Thug* t = thug();
    ASSERT_NE(nullptr, t);
    EXPECT_EQ(CharacterTypeThug, t->getType());
    EXPECT_EQ(1, t->getState());
    EXPECT_EQ(1, t->getStartState());
    EXPECT_TRUE(t->isFacingLeft());
    EXPECT_DOUBLE_EQ(300, t->getLeftLimit());
    EXPECT_DOUBLE_EQ(1700, t->getRightLimit());
    EXPECT_TRUE(t->isHarmful());
    EXPECT_FALSE(t->isGasImmune());
    EXPECT_FALSE(t->ignoresGasCloud());
    EXPECT_EQ(1, t->getHitPoints());
    EXPECT_DOUBLE_EQ(105, t->getPushSpeed());
    EXPECT_DOUBLE_EQ(170, t->getSpeed());
    EXPECT_DOUBLE_EQ(250, t->getAlarmRange());
    EXPECT_DOUBLE_EQ(310, t->getSightRange());
    EXPECT_EQ(2, t->getIdleTurn());
    EXPECT_EQ(2, t->getReserved());
    EXPECT_EQ(-1, t->getCarriedItem());
    EXPECT_DOUBLE_EQ(-1, t->getTurnaroundX());
    EXPECT_DOUBLE_EQ(-1, t->getReturnToX());
    EXPECT_DOUBLE_EQ(-1, t->getStopX());
    EXPECT_EQ(0, t->getIdleTimer());
    EXPECT_FALSE(t->isSoundPlayed());

    // 120 by 120 standing on its bottom-middle point, at the actors' depth; the collision box
    // is 30 in from each side and 5 below the top.
    EXPECT_EQ(8, t->getAnchor());
    EXPECT_DOUBLE_EQ(940, t->getLeft());
    EXPECT_DOUBLE_EQ(1060, t->getRight());
    EXPECT_DOUBLE_EQ(40, t->getBottom());
    EXPECT_DOUBLE_EQ(160, t->getTop());
    EXPECT_DOUBLE_EQ(-41, t->getZ());
    EXPECT_DOUBLE_EQ(970, t->getCollisionLeft());
    EXPECT_DOUBLE_EQ(1030, t->getCollisionRight());
    EXPECT_DOUBLE_EQ(155, t->getCollisionTop());
    GphRect* picture = t->getDrawable();
    ASSERT_NE(nullptr, picture);
    EXPECT_EQ(picture, t->getGraphic());
    EXPECT_DOUBLE_EQ(120, picture->getLength());
    EXPECT_DOUBLE_EQ(120, picture->getWidth());
    EXPECT_DOUBLE_EQ(1000, picture->getCoord()->getX());
    EXPECT_DOUBLE_EQ(100, picture->getCoord()->getY());
    EXPECT_EQ(animation(t, 1), shown(t));

    for (const char* sound : {"gasp.wav", "bonk.wav", "crash2.wav", "fall.wav", "clangwhiz.wav"})
        EXPECT_NE(nullptr, kovotest::effectFor(sound)) << sound;
}

TEST_F(ThugTest, AnimationTableHasItsPicturesAndPeriods)
{
    makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 2, false));
    Thug* t = thug();
    ASSERT_NE(nullptr, t);
    struct Row {
        CharacterState state;
        std::vector<std::string> files;
        unsigned ms;  // 0: a single picture
    };
    std::vector<std::string> runLeft, runRight;
    for (int i = 1; i <= 10; ++i) {
        for (int twice = 0; twice < 2; ++twice) {
            runLeft.push_back("thug1_runleft" + std::to_string(i) + ".pcx");
            runRight.push_back("thug1_runright" + std::to_string(i) + ".pcx");
        }
    }
    const std::vector<Row> rows = {
        {1, {"thug1_faceleft.pcx"}, 0},
        {2, {"thug1_faceright.pcx"}, 0},
        {6, runLeft, 25},
        {7, runRight, 25},
        {12, {"thug1_fall1_left1.pcx", "thug1_fall1_left.pcx", "thug1_fall1_left.pcx"}, 1000},
        {13, {"thug1_fall1_right1.pcx", "thug1_fall1_right.pcx", "thug1_fall1_right.pcx"}, 1000},
        {32, {"thug1_gassedleft.pcx", "thug1_gassedleft.pcx"}, 1000},
        {39, {"thug1_gassedleft.pcx", "thug1_gassedleft.pcx"}, 1000},
        {33, {"thug1_gassedright.pcx", "thug1_gassedright.pcx"}, 1000},
        {40, {"thug1_gassedright.pcx", "thug1_gassedright.pcx"}, 1000},
        {41, {"thug1_sleepleft.pcx"}, 0},
        {42, {"thug1_sleepright.pcx"}, 0},
        {55, {"thug_wallslam_left.pcx", "thug_wallslam_left.pcx"}, 1000},
        {56, {"thug_wallslam_right.pcx", "thug_wallslam_right.pcx"}, 1000},
    };
    EXPECT_EQ(rows.size(), t->getAnimations().size());
    for (const Row& row : rows) {
        GphAnimatedTexture* a = animation(t, row.state);
        ASSERT_NE(nullptr, a) << row.state;
        ASSERT_EQ(row.files.size(), a->getFrameCount()) << row.state;
        for (unsigned i = 0; i < row.files.size(); ++i)
            EXPECT_EQ(row.files[i], frameFile(a, i)) << row.state << " frame " << i;
        if (row.ms) {
            EXPECT_EQ(row.ms, a->getMillisecondsPerFrame()) << row.state;
        }
    }
    EXPECT_NE(animation(t, 32), animation(t, 39));
    EXPECT_NE(animation(t, 33), animation(t, 40));
    EXPECT_EQ(nullptr, animation(t, 57));
    EXPECT_EQ(nullptr, animation(t, 58));
}

// ---------------------------------------------------------------------------------------------
// Watching and noticing

TEST_F(ThugTest, NoticesTheHeroShowsOneBubbleAndChargesASecondLater)
{
    makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 1, true));
    Thug* t = thug();
    placeHero(800, 40);

    frame(t, 30);
    EXPECT_EQ(30, t->getAlertTimer());
    for (int i = 0; i < 3; ++i) frame(t, 30);
    EXPECT_EQ(120, t->getAlertTimer());
    EXPECT_TRUE(bubbles.empty()) << "no bubble before 150 ms";
    frame(t, 30);  // 150 counts
    ASSERT_EQ(1u, bubbles.size());
    Reaction* bubble = bubbles.front().get();
    EXPECT_EQ(t, bubble->getOwner());
    EXPECT_EQ(850, bubble->getRemaining());
    EXPECT_DOUBLE_EQ(1000, bubble->getX());
    EXPECT_DOUBLE_EQ(40 + 120 + 20, bubble->getY());
    EXPECT_TRUE(t->isReactionShown());

    // Once noticed, the charge comes whatever the hero does: he leaves, even dies.
    placeHero(100, 900);
    hero.die();
    for (int i = 0; i < 28; ++i) frame(t, 30);  // 990
    EXPECT_EQ(990, t->getAlertTimer());
    EXPECT_EQ(1, t->getState());
    frame(t, 30);  // 1020
    EXPECT_EQ(1, t->getState());
    EXPECT_EQ(1u, bubbles.size()) << "one bubble per noticing";
    frame(t, 30);  // above 1000: the charge
    EXPECT_EQ(6, t->getState());
    EXPECT_EQ(0, t->getAlertTimer());
    EXPECT_EQ(0, t->getIdleTimer());
    EXPECT_FALSE(t->isReactionShown());
    EXPECT_EQ(animation(t, 6), shown(t));
    EXPECT_DOUBLE_EQ(1000, t->getX()) << "the switch itself does not move";
    EXPECT_EQ(1u, animation(t, 6)->getCurrentFrame()) << "started from frame 0, advanced 30 ms";
}

TEST_F(ThugTest, BubbleTellsWhetherTheHeroIsAirborne)
{
    makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 2, false));
    Thug* t = thug();
    placeHero(1200, 40);
    hero.beginFall();
    for (int i = 0; i < 6; ++i) frame(t, 30);
    ASSERT_EQ(1u, bubbles.size());
    const std::string file =
        frameFile(bubbles.front()->getPicture()->getAnimatedTexture(), 0);
    EXPECT_TRUE(file == "reaction06.pcx" || file == "reaction07.pcx" ||
                file == "reaction11.pcx" || file == "reaction12.pcx")
        << file;
}

TEST_F(ThugTest, SightIsAheadOnItsLevelWithinRangeAndNotOnTheSpot)
{
    makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 1, true));
    Thug* t = thug();
    struct Case {
        double x, y;
        bool dying;
        bool seen;
        const char* what;
    };
    const Case cases[] = {
        {1000, 40, false, false, "at the thug's x"},
        {999, 40, false, true, "just ahead"},
        {630, 40, false, true, "at the left edge minus the sight range"},
        {629.5, 40, false, false, "beyond the sight range"},
        {1100, 40, false, false, "behind"},
        {800, 160, false, true, "feet at the thug's top"},
        {800, 161, false, false, "above the thug's head"},
        {800, -60, false, true, "head at the thug's feet"},
        {800, -61, false, false, "below its feet"},
        {800, 40, true, false, "dying"},
    };
    for (const Case& c : cases) {
        makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 1, true));
        t = thug();
        hero.respawn();
        placeHero(c.x, c.y);
        if (c.dying) hero.die();
        frame(t, 20);
        EXPECT_EQ(c.seen ? 20 : 0, t->getAlertTimer()) << c.what;
    }
    hero.respawn();
}

TEST_F(ThugTest, HeroBehindAWallOrAcrossAGapOrPastTheLimitGoesUnnoticed)
{
    // A wall between them.
    makeRoom(floorAt(0, 2000, 40) + wallAt(880, 920, 400, 40) + thugAt(1000, 40, 1, true));
    placeHero(800, 40);
    frame(thug(), 30);
    EXPECT_EQ(0, thug()->getAlertTimer());

    // The floor ends right in front of it.
    makeRoom(floorAt(942, 2000, 40) + floorAt(0, 800, 40) + thugAt(1000, 40, 1, true));
    placeHero(800, 40);
    frame(thug(), 30);
    EXPECT_EQ(0, thug()->getAlertTimer());

    // Its left limit right at its edge.
    makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 1, true, 935, 2000));
    placeHero(800, 40);
    frame(thug(), 30);
    EXPECT_EQ(0, thug()->getAlertTimer());

    // The same with room to step: noticed.
    makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 1, true, 934, 2000));
    placeHero(800, 40);
    frame(thug(), 30);
    EXPECT_EQ(30, thug()->getAlertTimer());
}

TEST_F(ThugTest, TurnsAroundAtRandomAfterStandingIdle)
{
    makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 1, true));
    Thug* t = thug();
    placeHero(1300, 40);  // behind it: not in front

    // The draws from 2500 ms on: draw % 50 for a left-facing thug; a 1 turns it.
    const unsigned seed = 12345;
    GameRandom::seed(seed);
    int drawsUntilTurn = 1;
    while (GameRandom::draw() % 50 != 1) ++drawsUntilTurn;
    GameRandom::seed(seed);

    for (int i = 0; i < 25; ++i) frame(t, 100);
    EXPECT_EQ(2500, t->getIdleTimer());
    for (int i = 1; i < drawsUntilTurn; ++i) frame(t, 100);
    EXPECT_EQ(1, t->getState());
    EXPECT_EQ(2500, t->getIdleTimer()) << "the clock stops growing at 2500";
    frame(t, 100);
    EXPECT_EQ(2, t->getState());
    EXPECT_FALSE(t->isFacingLeft());
    EXPECT_EQ(0, t->getIdleTimer());
    EXPECT_EQ(animation(t, 2), shown(t));

    // Facing right, the draw is taken % 100.
    GameRandom::seed(seed);
    int rightDraws = 1;
    while (GameRandom::draw() % 100 != 1) ++rightDraws;
    placeHero(500, 40);  // now behind it
    for (int i = 0; i < 25; ++i) frame(t, 100);
    GameRandom::seed(seed);
    for (int i = 1; i < rightDraws; ++i) frame(t, 100);
    EXPECT_EQ(2, t->getState());
    frame(t, 100);
    EXPECT_EQ(1, t->getState());
    EXPECT_TRUE(t->isFacingLeft());
}

TEST_F(ThugTest, HeroInFrontAtAnyDistanceStopsTheIdleClock)
{
    makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 1, true));
    Thug* t = thug();
    placeHero(20, 40);  // far out of sight, but straight ahead
    hero.die();
    for (int i = 0; i < 100; ++i) frame(t, 100);
    EXPECT_EQ(0, t->getIdleTimer());
    EXPECT_EQ(1, t->getState());
    EXPECT_EQ(0, t->getAlertTimer());
    hero.respawn();
}

TEST_F(ThugTest, ADownedComradeBehindTurnsItAroundAfterHalfASecond)
{
    makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 2, false) + thugAt(800, 40, 1, true));
    Thug* watcher = thug(0);
    Thug* comrade = thug(1);
    placeHero(1500, 900);  // nowhere near
    frame(watcher, 100);
    EXPECT_EQ(0, watcher->getAlarmTimer()) << "a standing comrade raises nothing";
    comrade->stun();
    frame(watcher, 100);
    EXPECT_EQ(100, watcher->getAlarmTimer());
    for (int i = 0; i < 5; ++i) frame(watcher, 100);
    EXPECT_EQ(600, watcher->getAlarmTimer());
    EXPECT_EQ(2, watcher->getState());
    frame(watcher, 100);
    EXPECT_EQ(1, watcher->getState());
    EXPECT_TRUE(watcher->isFacingLeft());
    EXPECT_EQ(0, watcher->getAlarmTimer());
    EXPECT_EQ(animation(watcher, 1), shown(watcher));
    // Now facing the downed comrade: no alarm from it.
    frame(watcher, 100);
    EXPECT_EQ(0, watcher->getAlarmTimer());
}

// ---------------------------------------------------------------------------------------------
// Charging

TEST_F(ThugTest, ChargeRunsPastTheHeroToATurningPointAndComesBackToStand)
{
    makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 6, true));
    Thug* t = thug();
    placeHero(903, 40);

    double before = t->getX();
    frame(t, 20);
    EXPECT_DOUBLE_EQ(before - 3.4, t->getX());
    EXPECT_DOUBLE_EQ(-1, t->getTurnaroundX());
    while (t->getTurnaroundX() == -1) frame(t, 20);
    const double passed = t->getX();
    EXPECT_LE(passed, 903);
    EXPECT_GT(passed, 903 - 3.5);
    EXPECT_DOUBLE_EQ(passed - 200, t->getTurnaroundX());
    EXPECT_DOUBLE_EQ(passed, t->getReturnToX());

    EXPECT_GT(runUntilStateChanges(t, 20), 0);
    EXPECT_EQ(7, t->getState());
    EXPECT_FALSE(t->isFacingLeft());
    EXPECT_LE(t->getLeft(), passed - 200);
    EXPECT_DOUBLE_EQ(-1, t->getTurnaroundX());
    EXPECT_EQ(animation(t, 7), shown(t));

    // Back with shorter frames, so that it does not land on the hero's x itself.
    EXPECT_GT(runUntilStateChanges(t, 13), 0);
    EXPECT_EQ(2, t->getState()) << "back where it passed the hero, who is not ahead";
    EXPECT_GE(t->getX(), passed);
    EXPECT_LT(t->getX(), passed + 2.22);
    EXPECT_LT(t->getX(), 903);
    EXPECT_DOUBLE_EQ(-1, t->getReturnToX());
}

TEST_F(ThugTest, ChargeGoesOnWhileTheHeroIsStillAheadOnTheWayBack)
{
    makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 6, true));
    Thug* t = thug();
    placeHero(903, 40);
    while (t->getState() == 6) frame(t, 20);
    ASSERT_EQ(7, t->getState());
    const double returnTo = t->getReturnToX();
    placeHero(1300, 40);
    while (t->getReturnToX() != -1) frame(t, 20);
    EXPECT_EQ(7, t->getState());
    EXPECT_GE(t->getX(), returnTo);
    // It passes the hero again and sets a new turning point beyond him.
    while (t->getTurnaroundX() == -1) frame(t, 20);
    EXPECT_GE(t->getX(), 1300);
    EXPECT_DOUBLE_EQ(t->getX() + 200, t->getTurnaroundX());
}

TEST_F(ThugTest, TurningPointsStayInsideTheRoom)
{
    makeRoom(floorAt(-500, 2500, 40) + thugAt(150, 40, 6, true));
    placeHero(100, 40);
    while (thug()->getTurnaroundX() == -1) frame(thug(), 20);
    EXPECT_DOUBLE_EQ(0, thug()->getTurnaroundX());

    makeRoom(floorAt(-500, 2500, 40) + thugAt(1850, 40, 7, false));
    placeHero(1900, 40);
    while (thug()->getTurnaroundX() == -1) frame(thug(), 20);
    EXPECT_DOUBLE_EQ(2000, thug()->getTurnaroundX());
    EXPECT_GE(thug()->getReturnToX(), 1900);
}

TEST_F(ThugTest, AChaseStopsAtAWallALedgeOrItsLimit)
{
    // A wall: the centre stops on its near face and the thug stands.
    makeRoom(floorAt(0, 2000, 40) + wallAt(780, 820, 400, 40) + thugAt(1000, 40, 6, true));
    placeHero(500, 40);
    EXPECT_GT(runUntilStateChanges(thug(), 20), 0);
    EXPECT_EQ(1, thug()->getState());
    EXPECT_DOUBLE_EQ(820, thug()->getX());
    EXPECT_FALSE(isPlaying("crash2.wav"));

    // A ledge: the last step is made, its front edge past the floor's end, and it stands.
    makeRoom(floorAt(800, 2000, 40) + thugAt(1000, 40, 6, true));
    placeHero(500, 40);
    EXPECT_GT(runUntilStateChanges(thug(), 20), 0);
    EXPECT_EQ(1, thug()->getState());
    EXPECT_LT(thug()->getLeft(), 800);
    EXPECT_GT(thug()->getLeft(), 800 - 3.5);
    EXPECT_DOUBLE_EQ(40, thug()->getBottom());

    // Its limit: it stands still there.
    makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 6, true, 900, 2000));
    placeHero(500, 40);
    EXPECT_GT(runUntilStateChanges(thug(), 20), 0);
    EXPECT_EQ(1, thug()->getState());
    EXPECT_LE(thug()->getLeft(), 900);
    EXPECT_GT(thug()->getLeft(), 900 - 3.5);
}

TEST_F(ThugTest, OvershootingAtItsLimitTurnsAround)
{
    makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 6, true, 800, 2000));
    placeHero(990, 40);
    while (thug()->getTurnaroundX() == -1) frame(thug(), 20);
    EXPECT_GT(runUntilStateChanges(thug(), 20), 0);
    EXPECT_EQ(7, thug()->getState());
    EXPECT_FALSE(thug()->isFacingLeft());
    EXPECT_GT(thug()->getLeft(), 800);
    EXPECT_DOUBLE_EQ(-1, thug()->getTurnaroundX());
}

TEST_F(ThugTest, DyingHeroBehindEndsTheCharge)
{
    makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 6, true));
    placeHero(1020, 40);
    hero.die();
    frame(thug(), 20);
    EXPECT_EQ(1, thug()->getState());
    EXPECT_DOUBLE_EQ(-1, thug()->getTurnaroundX());
    EXPECT_DOUBLE_EQ(-1, thug()->getReturnToX());
    hero.respawn();
}

// Back at its start as the hero returns, a charge carries the clocks of a noticing: its turns
// and stops leave them, and the idle clock, as they are.
TEST_F(ThugTest, AChargeTurnsAndStopsLeavingItsClocksAndBubble)
{
    const struct {
        const char* what;
        int leftLimit, heroX;
        bool dying, heroLeavesAtTheTurn;
        int until;
    } cases[] = {{"at the turning point", -5000, 903, false, false, 7},
                 {"at its limit while overshooting", 800, 990, false, false, 7},
                 {"back where it passed the hero, gone", -5000, 903, false, true, 2},
                 {"the hero dying behind", -5000, 1020, true, false, 1},
                 {"at its limit while chasing", 900, 500, false, false, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 6, true, c.leftLimit));
        Thug* t = thug();
        // Stopped by a dying hero, it stands 700 ms with him behind, 600 with him in sight.
        const struct { int heroX, frames; } stand[] = {{1020, 1}, {1500, 35}, {800, 30}};
        for (const auto& s : stand) {
            hero.respawn();
            placeHero(s.heroX, 40);
            if (s.heroX == 1020) hero.die();
            for (int i = 0; i < s.frames; ++i) frame(t, 20);
        }
        room->enter(1000, 40, 0, 0, 0, 0, 0);
        ASSERT_EQ(6, t->getState());
        placeHero(c.heroX, 40);
        if (c.dying) hero.die();
        for (int i = 0; i < 500 && t->getState() != c.until; ++i) {
            frame(t, 20);
            if (c.heroLeavesAtTheTurn && t->getState() == 7) placeHero(1400, 400);
        }
        ASSERT_EQ(c.until, t->getState());
        EXPECT_EQ(600, t->getAlertTimer());
        EXPECT_TRUE(t->isReactionShown());
        EXPECT_EQ(700, t->getIdleTimer());
        hero.respawn();
    }
}

TEST_F(ThugTest, OvershootingIntoAWallSlamsAndSleepsFortyUnitsOffIt)
{
    makeRoom(floorAt(0, 2000, 40) + wallAt(780, 820, 400, 40) + thugAt(1000, 40, 6, true));
    Thug* t = thug();
    placeHero(903, 40);
    kovotest::stopAllEffects();
    while (t->getState() == 6) frame(t, 20);
    ASSERT_EQ(55, t->getState());
    const double slamX = t->getX();
    EXPECT_GT(slamX, 820);
    EXPECT_DOUBLE_EQ(-1, t->getTurnaroundX());
    EXPECT_EQ(animation(t, 55), shown(t));
    EXPECT_TRUE(t->isIncapacitated());

    frame(t, 250);
    EXPECT_TRUE(t->isSoundPlayed());
    EXPECT_TRUE(isPlaying("crash2.wav"));
    EXPECT_EQ(55, t->getState());
    EXPECT_GT(runUntilStateChanges(t, 250), 0);
    EXPECT_EQ(41, t->getState());
    EXPECT_DOUBLE_EQ(slamX + 40, t->getX());
    EXPECT_DOUBLE_EQ(39, t->getY());
    EXPECT_DOUBLE_EQ(-204, t->getZ());
    EXPECT_EQ(0, t->getHitPoints());
    frame(t, 20);
    EXPECT_EQ(animation(t, 41), shown(t));
}

TEST_F(ThugTest, OvershootingOffALedgeRunsOnTopplesFallsAndSleepsBelow)
{
    makeRoom(floorAt(500, 2000, 40) + floorAt(-500, 500, -200) + thugAt(1000, 40, 6, true));
    Thug* t = thug();
    placeHero(650, 40);
    kovotest::stopAllEffects();
    while (t->getStopX() == -1) {
        ASSERT_EQ(6, t->getState());
        frame(t, 20);
    }
    const double edgeX = t->getX();
    EXPECT_LT(t->getLeft(), 500);
    // Set 120 ahead of where it stood when the floor ran out, then the step was made.
    EXPECT_NEAR(edgeX + 3.4 - 120, t->getStopX(), 1e-9);

    // Straight on over the gap, without falling, until 120 past the point where the floor
    // ended.
    while (t->getState() == 6) {
        EXPECT_DOUBLE_EQ(40, t->getBottom());
        frame(t, 20);
    }
    ASSERT_EQ(12, t->getState());
    EXPECT_LE(t->getX(), edgeX - 120);
    EXPECT_DOUBLE_EQ(-1, t->getStopX());
    EXPECT_DOUBLE_EQ(-1, t->getTurnaroundX());
    EXPECT_EQ(animation(t, 12), shown(t));

    // The fall pictures for two seconds, in the air.
    const double fallX = t->getX();
    for (int i = 0; i < 7; ++i) frame(t, 250);
    EXPECT_EQ(1u, animation(t, 12)->getCurrentFrame());
    EXPECT_DOUBLE_EQ(40, t->getBottom());
    frame(t, 250);  // frame 2 reached at the end of this think
    EXPECT_FALSE(t->isSoundPlayed());
    frame(t, 20);
    EXPECT_TRUE(t->isSoundPlayed());
    EXPECT_TRUE(isPlaying("fall.wav"));
    EXPECT_DOUBLE_EQ(40, t->getBottom());

    // Then it drops, held on its last picture, and lands on the floor below.
    int n = 0;
    while (t->getState() == 12 && n++ < 500) {
        frame(t, 20);
        EXPECT_EQ(2u, animation(t, 12)->getCurrentFrame());
    }
    EXPECT_EQ(41, t->getState());
    EXPECT_DOUBLE_EQ(fallX, t->getX());
    EXPECT_LE(t->getBottom(), -200 - 1);
    EXPECT_GE(t->getBottom(), -240 - 1);
    EXPECT_TRUE(isPlaying("crash2.wav"));
    EXPECT_FALSE(isPlaying("fall.wav"));
    EXPECT_LE(t->getVerticalSpeed(), 0);
}

// ---------------------------------------------------------------------------------------------
// Knock-outs

TEST_F(ThugTest, BonkedOrGassedItSaysSoOnceAndSleepsASecondLater)
{
    makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 1, true) + thugAt(1500, 40, 2, false));
    Thug* bonked = thug(0);
    Thug* gassed = thug(1);
    placeHero(100, 900);
    kovotest::stopAllEffects();

    bonked->bonk();
    EXPECT_EQ(32, bonked->getState());
    frame(bonked, 250);
    EXPECT_EQ(animation(bonked, 32), shown(bonked));
    EXPECT_TRUE(isPlaying("bonk.wav"));
    EXPECT_FALSE(isPlaying("gasp.wav"));
    for (int i = 0; i < 3; ++i) frame(bonked, 250);
    EXPECT_EQ(32, bonked->getState());
    EXPECT_EQ(1u, animation(bonked, 32)->getCurrentFrame());
    frame(bonked, 20);
    EXPECT_EQ(41, bonked->getState());
    EXPECT_DOUBLE_EQ(1000, bonked->getX()) << "it stays where it is";
    EXPECT_DOUBLE_EQ(39, bonked->getY());

    gassed->stun();
    EXPECT_EQ(40, gassed->getState());
    frame(gassed, 250);
    EXPECT_EQ(animation(gassed, 40), shown(gassed));
    EXPECT_TRUE(isPlaying("gasp.wav"));
    for (int i = 0; i < 4; ++i) frame(gassed, 250);
    EXPECT_EQ(42, gassed->getState());
}

TEST_F(ThugTest, KnockedItFliesOffWithAClangAndSleepsWhereItLands)
{
    makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 1, true));
    Thug* t = thug();
    placeHero(100, 900);
    kovotest::stopAllEffects();
    t->knock(true);
    EXPECT_EQ(58, t->getState());
    EXPECT_DOUBLE_EQ(630, t->getVerticalSpeed());
    EXPECT_TRUE(t->isIncapacitated());

    frame(t, 20);  // the clang only
    EXPECT_TRUE(isPlaying("clangwhiz.wav"));
    EXPECT_EQ(animation(t, 39), shown(t)) << "facing left: the left gassed picture";
    EXPECT_DOUBLE_EQ(1000, t->getX());
    EXPECT_DOUBLE_EQ(40, t->getY());

    frame(t, 20);
    EXPECT_DOUBLE_EQ(1000 + 6.8, t->getX());
    EXPECT_DOUBLE_EQ(40 + 12.6, t->getY());
    EXPECT_DOUBLE_EQ(630 - 40, t->getVerticalSpeed());

    int n = 0;
    while (t->getState() == 58 && n++ < 500) frame(t, 20);
    EXPECT_EQ(42, t->getState());
    EXPECT_GT(t->getX(), 1100);
    EXPECT_FALSE(t->isKnockBlocked());
    EXPECT_LE(t->getBottom(), 40 - 1);
    EXPECT_GE(t->getBottom(), 0 - 1);
}

TEST_F(ThugTest, KnockedIntoAWallItDropsStraightDown)
{
    makeRoom(floorAt(0, 2000, 40) + wallAt(1100, 1140, 600, 40) + thugAt(1000, 40, 1, true));
    Thug* t = thug();
    placeHero(100, 900);
    t->knock(true);
    frame(t, 20);
    int n = 0;
    while (!t->isKnockBlocked() && n++ < 200) frame(t, 20);
    ASSERT_TRUE(t->isKnockBlocked());
    const double x = t->getX();
    EXPECT_LE(t->getRight(), 1100);
    EXPECT_GT(t->getRight(), 1100 - 6.8);
    while (t->getState() == 58 && n++ < 500) {
        frame(t, 20);
        if (t->getState() == 58) {
            EXPECT_DOUBLE_EQ(x, t->getX());
        }
    }
    EXPECT_EQ(42, t->getState());
    EXPECT_DOUBLE_EQ(x, t->getX());
}

TEST_F(ThugTest, OneKnockOutSoundPerThug)
{
    makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 1, true));
    Thug* t = thug();
    placeHero(100, 900);
    kovotest::stopAllEffects();
    t->knock(false);
    frame(t, 20);
    EXPECT_TRUE(isPlaying("clangwhiz.wav"));
    frame(t, 20);
    // Gassed in mid-flight: no gasp, and it falls asleep there once the picture turns.
    t->stun();
    const double x = t->getX();
    const double y = t->getY();
    for (int i = 0; i < 4; ++i) frame(t, 250);
    EXPECT_FALSE(isPlaying("gasp.wav"));
    frame(t, 20);
    EXPECT_EQ(41, t->getState());
    EXPECT_DOUBLE_EQ(x, t->getX());
    EXPECT_DOUBLE_EQ(y - 1, t->getY());
}

TEST_F(ThugTest, AsleepForGoodWithZPicturesRising)
{
    makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 1, true));
    Thug* t = thug();
    placeHero(900, 40);
    t->bonk();
    for (int i = 0; i < 5; ++i) frame(t, 250);
    ASSERT_EQ(41, t->getState());
    EXPECT_TRUE(t->getSleepZList().empty());
    for (int i = 0; i < 3; ++i) frame(t, 250);
    EXPECT_EQ(750, t->getSleepZTimer());
    EXPECT_TRUE(t->getSleepZList().empty());
    frame(t, 250);
    EXPECT_EQ(0, t->getSleepZTimer());
    ASSERT_EQ(1u, t->getSleepZList().size());
    GphRect* z = t->getSleepZList().getPictures().front();
    EXPECT_DOUBLE_EQ(t->getRight() - 25, z->getCoord()->getX());
    EXPECT_DOUBLE_EQ(t->getY() + 60, z->getCoord()->getY());
    EXPECT_DOUBLE_EQ(-41, z->getCoord()->getZ());
    frame(t, 250);
    EXPECT_DOUBLE_EQ(t->getY() + 60 + 35 * 0.25, z->getCoord()->getY());
    EXPECT_NEAR(1.0 - 0.35 * 0.25, z->getAlpha(), 1e-6);

    // The hero right in front: it never wakes.
    for (int i = 0; i < 40; ++i) frame(t, 250);
    EXPECT_EQ(41, t->getState());
    EXPECT_TRUE(bubbles.empty());
    EXPECT_LE(t->getSleepZList().size(), 3u) << "each one goes after about 2.9 s";
    EXPECT_GE(t->getSleepZList().size(), 2u);

    // They are drawn by drawEffects: one right of the thug's centre, above its head.
    GphWindow* window = GphWindow::getInstance();
    window->getCamera()->setPosition(ShpCoord(t->getX(), t->getY() + 100, 0));
    glClearColor(0, 0, 0, 0);
    window->clear();
    t->drawEffects();
    bool drawn = false;
    for (GphRect* p : t->getSleepZList().getPictures()) {
        const int px = static_cast<int>(400 + p->getCoord()->getX() - t->getX());
        const int py = static_cast<int>(300 + p->getCoord()->getY() - (t->getY() + 100));
        const auto pixel = testsupport::readPixel(px, py);
        if (pixel[0] + pixel[1] + pixel[2] > 0) drawn = true;
    }
    EXPECT_TRUE(drawn);
}

// ---------------------------------------------------------------------------------------------
// Saved state

TEST_F(ThugTest, SavedBlockRoundTripsMidChargeIntoAFreshThug)
{
    makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 6, true, 100, 1900));
    Thug* t = thug();
    placeHero(903, 40);
    while (t->getTurnaroundX() == -1) frame(t, 20);
    frame(t, 20);
    const std::string block = saved(*t);
    std::istringstream tokens(block);
    std::string tag, turn, ret, idle, sound, character;
    tokens >> tag >> turn >> ret >> idle >> sound >> character;
    EXPECT_EQ("<THUG>", tag);
    EXPECT_EQ("<CHARACTER>", character);
    EXPECT_EQ("0", sound);
    EXPECT_EQ(0u, block.find("<THUG> "));
    EXPECT_EQ(block.size() - 8, block.rfind("</THUG>\n"));

    Thug fresh(room.get(), &hero, 0, 40, -41, 100, 1900, 1, false);
    ASSERT_EQ(0, restore(fresh, block));
    EXPECT_EQ(block, saved(fresh));
    // Numbers are written as the sprite line writes them, to six digits.
    EXPECT_NEAR(t->getTurnaroundX(), fresh.getTurnaroundX(), 1e-3);
    EXPECT_NEAR(t->getReturnToX(), fresh.getReturnToX(), 1e-3);
    EXPECT_EQ(6, fresh.getState());
    EXPECT_TRUE(fresh.isFacingLeft());
    EXPECT_NEAR(t->getX(), fresh.getX(), 1e-3);
    EXPECT_EQ(animation(&fresh, 6), fresh.getDrawable()->getAnimatedTexture());
    // The picture keeps its size; the fields not saved keep their construction values.
    EXPECT_DOUBLE_EQ(120, fresh.getDrawable()->getLength());
    EXPECT_DOUBLE_EQ(120, fresh.getDrawable()->getWidth());
    EXPECT_DOUBLE_EQ(-1, fresh.getStopX());
    EXPECT_EQ(0, fresh.getAlertTimer());
    EXPECT_FALSE(fresh.isReactionShown());
    // The restored one charges on from there.
    const double x = fresh.getX();
    fresh.think(20, 0.02);
    EXPECT_DOUBLE_EQ(x - 3.4, fresh.getX());
}

TEST_F(ThugTest, SavedBlockKeepsTheKnockOutSoundFlagAndTheIdleClock)
{
    makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 1, true));
    Thug* t = thug();
    placeHero(1200, 40);
    for (int i = 0; i < 7; ++i) frame(t, 100);
    t->bonk();
    frame(t, 100);
    const std::string block = saved(*t);
    Thug fresh(room.get(), &hero, 0, 40, -41, 0, 2000, 2, false);
    ASSERT_EQ(0, restore(fresh, block));
    EXPECT_EQ(700, fresh.getIdleTimer());
    EXPECT_TRUE(fresh.isSoundPlayed());
    EXPECT_EQ(32, fresh.getState());
    EXPECT_EQ(block, saved(fresh));
}

TEST_F(ThugTest, TruncatedOrCorruptBlocksFailAndLeaveTheThugAsItWas)
{
    makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 6, true));
    Thug* t = thug();
    placeHero(903, 40);
    while (t->getTurnaroundX() == -1) frame(t, 20);
    const std::string block = saved(*t);

    for (const std::string& cut : kovotest::truncations(block)) {
        Thug fresh(room.get(), &hero, 500, 40, -41, 0, 2000, 2, false);
        const std::string before = saved(fresh);
        EXPECT_EQ(-1, restore(fresh, cut)) << "[" << cut << "]";
        // Values are taken only once the sprite line has its values and some closing token
        // (it is not compared); anything cut before that leaves the thug as it was.
        if (cut.size() <= block.find("</SPRITE>")) {
            EXPECT_EQ(before, saved(fresh)) << cut;
        }
        EXPECT_DOUBLE_EQ(120, fresh.getDrawable()->getLength());
    }

    for (const char* corrupt :
         {"<THUG> x -1 0 0 <CHARACTER> 1 2 2 6 1 <SPRITE> 1 2 -41 120 120 1 </SPRITE> "
          "</CHARACTER> </THUG>",
          "<THUG> -1 -1 0 7 <CHARACTER> 1 2 2 6 1 <SPRITE> 1 2 -41 120 120 1 </SPRITE> "
          "</CHARACTER> </THUG>",
          "<THUG> -1 -1 0 0 <CHARACTER> 1 2 2 six 1 <SPRITE> 1 2 -41 120 120 1 </SPRITE> "
          "</CHARACTER> </THUG>"}) {
        Thug fresh(room.get(), &hero, 500, 40, -41, 0, 2000, 2, false);
        const std::string before = saved(fresh);
        EXPECT_EQ(-1, restore(fresh, corrupt)) << corrupt;
        EXPECT_EQ(before, saved(fresh));
    }
}

// ---------------------------------------------------------------------------------------------
// Through the room's frame step

TEST_F(ThugTest, RoomKeepsTheBubbleCountsItDownAndTheChargeKillsTheHero)
{
    makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 1, true));
    Thug* t = thug();
    placeHero(800, 40);
    for (int i = 0; i < 4; ++i) room->update(30);
    EXPECT_TRUE(room->getReactions().empty());
    room->update(30);
    ASSERT_EQ(1u, room->getReactions().size());
    const Reaction* bubble = static_cast<const Reaction*>(room->getReactions().front());
    EXPECT_EQ(t, bubble->getOwner());
    EXPECT_DOUBLE_EQ(1000, bubble->getX());
    EXPECT_EQ(850 - 30, bubble->getRemaining()) << "it loses the frame that made it";

    // 850 ms in all: gone at the end of the 29th frame counted from the one that made it.
    for (int i = 0; i < 27; ++i) room->update(30);
    EXPECT_EQ(1u, room->getReactions().size());
    room->update(30);
    EXPECT_TRUE(room->getReactions().empty());

    int n = 0;
    while (t->getState() == 1 && n++ < 10) room->update(30);
    EXPECT_EQ(6, t->getState());
    n = 0;
    while (!hero.isDying() && n++ < 200) room->update(30);
    EXPECT_TRUE(hero.isDying());
    EXPECT_LT(t->getLeft(), 800);
    EXPECT_GT(t->getRight(), 800);
    hero.respawn();
}

TEST_F(ThugTest, ThugsChargingHeadOnBothSlamThroughTheRoom)
{
    makeRoom(floorAt(0, 2000, 40) + thugAt(900, 40, 7, false) + thugAt(1100, 40, 6, true));
    Thug* a = thug(0);
    Thug* b = thug(1);
    placeHero(100, 40);
    kovotest::stopAllEffects();
    int n = 0;
    double aX = 0, bX = 0;
    // 200 apart, closing 6.8 a frame: they meet on B's turn, after both have stepped, when
    // A's x lies between B's left edge and B's x.
    while (a->getState() == 7 && n++ < 100) {
        aX = a->getX() + 3.4;
        bX = b->getX() - 3.4;
        room->update(20);
    }
    ASSERT_EQ(56, a->getState());
    ASSERT_EQ(55, b->getState());
    EXPECT_LT(aX, bX);
    EXPECT_LT(bX - 60, aX);
    EXPECT_GE(bX - 60 + 6.8, aX) << "the first frame in which they meet";
    EXPECT_NEAR(aX + 20, a->getX(), 1e-9);
    EXPECT_NEAR(bX - 20, b->getX(), 1e-9);
    EXPECT_DOUBLE_EQ(-1, a->getTurnaroundX()) << "A had passed the hero and set one";
    EXPECT_EQ(animation(a, 56), shown(a));
    EXPECT_EQ(0u, animation(a, 56)->getCurrentFrame());
    const double aSlam = a->getX();
    const double bSlam = b->getX();

    room->update(250);
    EXPECT_TRUE(isPlaying("crash2.wav"));
    for (int i = 0; i < 4; ++i) room->update(250);
    EXPECT_EQ(42, a->getState());
    EXPECT_EQ(41, b->getState());
    EXPECT_DOUBLE_EQ(aSlam - 40, a->getX());
    EXPECT_DOUBLE_EQ(bSlam + 40, b->getX());
    EXPECT_FALSE(hero.isDying());
}

TEST_F(ThugTest, AComradeFacingItWithABubbleUpTurnsItAround)
{
    // The watcher faces left; its comrade behind it faces right and sees the hero.
    makeRoom(floorAt(0, 2000, 40) + thugAt(1000, 40, 1, true) + thugAt(1100, 40, 2, false));
    Thug* watcher = thug(0);
    Thug* comrade = thug(1);
    placeHero(1300, 40);
    int n = 0;
    while (room->getReactions().empty() && n++ < 20) room->update(30);
    ASSERT_EQ(1u, room->getReactions().size());
    EXPECT_EQ(comrade, static_cast<const Reaction*>(room->getReactions().front())->getOwner());
    EXPECT_EQ(0, watcher->getAlarmTimer());
    room->update(30);
    EXPECT_EQ(30, watcher->getAlarmTimer());
    n = 0;
    while (watcher->getState() == 1 && n++ < 30) room->update(30);
    EXPECT_EQ(2, watcher->getState());
    EXPECT_FALSE(watcher->isFacingLeft());
    // Turned, it sees the hero itself.
    room->update(30);
    EXPECT_GT(watcher->getAlertTimer(), 0);
}
