#include <gtest/gtest.h>

#include <GL/gl.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Base/App/AppBase.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "KovoHarness.h"
#include "Kovo/Player.h"
#include "PlayerHarness.h"
#include "support/GlContext.h"

namespace {

using kovotest::TestPlayer;

class PlayerTest : public kovotest::PlayerFixture {};

using kovotest::restore;
using kovotest::saved;

// One row of the hero's animation table: key, period (0 = never set), frame files.
struct Row {
    int key;
    unsigned ms;
    std::vector<std::string> files;
};

std::vector<std::string> run(const std::string& stem)
{
    std::vector<std::string> files;
    for (int i = 1; i <= 10; ++i) {
        files.push_back(stem + std::to_string(i) + ".pcx");
        files.push_back(stem + std::to_string(i) + ".pcx");
    }
    return files;
}

std::vector<std::string> times(const std::string& file, int n)
{
    return std::vector<std::string>(n, file);
}

std::vector<std::string> join(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<Row>& heroTable()
{
    static const std::vector<Row> rows = {
        {2, 0, {"kovo_faceright.pcx"}},
        {1, 0, {"kovo_faceleft.pcx"}},
        {7, 25, run("kovo_runright")},
        {6, 25, run("kovo_runleft")},
        {11, 0, {"kovo_runright5.pcx", "kovo_runright10.pcx"}},
        {10, 0, {"kovo_runleft5.pcx", "kovo_runleft10.pcx"}},
        {13, 0, {"kovo_runright10.pcx"}},
        {12, 0, {"kovo_runleft10.pcx"}},
        {5, 100, {"kovo_moveback1.pcx", "kovo_moveback2.pcx"}},
        {40, 0, {"kovo_dyingright.pcx"}},
        {39, 0, {"kovo_dyingleft.pcx"}},
        {47, 50,
         {"kovo_throwleft1.pcx", "kovo_throwleft4.pcx", "kovo_throwleft5.pcx",
          "kovo_throwleft2.pcx", "kovo_throwleft3.pcx", "kovo_throwleft3.pcx"}},
        {48, 50,
         {"kovo_throwright1.pcx", "kovo_throwright4.pcx", "kovo_throwright5.pcx",
          "kovo_throwright2.pcx", "kovo_throwright3.pcx", "kovo_throwright3.pcx"}},
        {14, 250, join(times("kovo_shootingleft2.pcx", 2), times("kovo_shootingleft3.pcx", 4))},
        {15, 250, join(times("kovo_shootingright2.pcx", 2), times("kovo_shootingright3.pcx", 4))},
        {49, 0, {"kovo_shootingleft1.pcx"}},
        {50, 0, {"kovo_shootingright1.pcx"}},
        {60, 25, run("kovo_shooting_runright")},
        {59, 25, run("kovo_shooting_runleft")},
        {19, 0, {"kovo_shooting_runright5.pcx", "kovo_shooting_runright10.pcx"}},
        {18, 0, {"kovo_shooting_runleft5.pcx", "kovo_shooting_runleft10.pcx"}},
        {62, 0, {"kovo_shooting_runright10.pcx"}},
        {61, 0, {"kovo_shooting_runleft10.pcx"}},
        {53, 0, {"kovo_shooting_lookdown_left.pcx"}},
        {54, 0, {"kovo_shooting_lookdown_right.pcx"}},
        {51, 0, {"kovo_shooting_lookup_left.pcx"}},
        {52, 0, {"kovo_shooting_lookup_right.pcx"}},
        {45, 0, {"kovo_lookdownleft.pcx"}},
        {46, 0, {"kovo_lookdownright.pcx"}},
        {43, 0, {"kovo_lookupleft.pcx"}},
        {44, 0, {"kovo_lookupright.pcx"}},
        {38, 250, times("kovo_flipswitch.pcx", 2)},
        {26, 250,
         {"kovo_beepleft.pcx", "kovo_faceleft.pcx", "kovo_beepleft.pcx", "kovo_faceleft.pcx",
          "kovo_faceleft.pcx"}},
        {27, 250,
         {"kovo_beepright.pcx", "kovo_faceright.pcx", "kovo_beepright.pcx",
          "kovo_faceright.pcx", "kovo_faceright.pcx"}},
        {28, 12000, times("kovo_idleleft.pcx", 2)},
        {29, 12000, times("kovo_idleright.pcx", 2)},
    };
    return rows;
}

}  // namespace

TEST_F(PlayerTest, NewHeroStandsFacingRightWithThreeLivesAndFiveGrenades)
{
    EXPECT_EQ(0, hero.getScore());
    EXPECT_EQ(0, hero.getHealth());
    EXPECT_EQ(3, hero.getLives());
    EXPECT_EQ(5, hero.getGrenades());
    EXPECT_EQ(2, hero.getState());
    EXPECT_TRUE(hero.isFacingRight());
    EXPECT_FALSE(hero.isJumping() || hero.isAirborne() || hero.hasLauncher() || hero.hasSuperShoes());
    EXPECT_FALSE(hero.isThrowing());
    EXPECT_EQ(&app, hero.getOwner());

    // A 100 x 100 box standing on its position at depth -41, the picture centred on it.
    EXPECT_EQ(8, hero.getAnchor());
    EXPECT_DOUBLE_EQ(-50, hero.getLeft());
    EXPECT_DOUBLE_EQ(50, hero.getRight());
    EXPECT_DOUBLE_EQ(100, hero.getTop());
    EXPECT_DOUBLE_EQ(0, hero.getBottom());
    EXPECT_DOUBLE_EQ(GameConstants::zHero, hero.getZ());
    EXPECT_DOUBLE_EQ(-25, hero.getInnerLeft());
    EXPECT_DOUBLE_EQ(25, hero.getInnerRight());
    GphRect* body = hero.getBody();
    ASSERT_NE(nullptr, body);
    EXPECT_EQ(body, hero.getGraphic());
    EXPECT_DOUBLE_EQ(100, body->getLength());
    EXPECT_DOUBLE_EQ(100, body->getWidth());
    EXPECT_DOUBLE_EQ(50, body->getCoord()->getY());
    EXPECT_EQ(animation(2), body->getAnimatedTexture());

    // The throw meter: an opaque decal frame 100 x 12 and an 8 x 8 fill.
    ASSERT_NE(nullptr, hero.getMeterFrame());
    ASSERT_NE(nullptr, hero.getMeterFill());
    EXPECT_DOUBLE_EQ(100, hero.getMeterFrame()->getLength());
    EXPECT_DOUBLE_EQ(12, hero.getMeterFrame()->getWidth());
    EXPECT_DOUBLE_EQ(8, hero.getMeterFill()->getLength());
    EXPECT_DOUBLE_EQ(8, hero.getMeterFill()->getWidth());
    const GphAnimatedTexture* meter = hero.getMeterFrame()->getAnimatedTexture();
    ASSERT_NE(nullptr, meter);
    ASSERT_EQ(1u, meter->getFrameCount());
    EXPECT_EQ("throwmeter.pcx", kovotest::frameFile(meter, 0));
    EXPECT_EQ(static_cast<GLenum>(GL_DECAL), meter->getFrames().at(0)->getMode());
    EXPECT_FALSE(meter->getFrames().at(0)->getImage()->isTransparent());
    EXPECT_EQ("throwmetercolor.pcx",
              kovotest::frameFile(hero.getMeterFill()->getAnimatedTexture(), 0));

    for (const char* sound : {"jump1.wav", "jump2.wav", "fall.wav", "death.wav", "throw.wav",
                              "grenadelaunchershoot.wav", "victory.wav", "beep.wav"}) {
        EXPECT_NE(nullptr, kovotest::effectFor(sound)) << sound;
    }
    EXPECT_EQ(15u, hero.getIdlePictures().size());
    EXPECT_EQ(nullptr, hero.getIdleBubble());
}

TEST_F(PlayerTest, CountersHaveNoBounds)
{
    hero.setScore(100);
    hero.addScore(250);
    EXPECT_EQ(350, hero.getScore());
    hero.setGrenades(0);
    hero.addGrenades(1);
    EXPECT_EQ(1, hero.getGrenades());
    hero.setLives(1);
    hero.decLives();
    hero.decLives();
    EXPECT_EQ(-1, hero.getLives());
    hero.incLives();
    EXPECT_EQ(0, hero.getLives());
}

TEST_F(PlayerTest, HundredHealthPointsGiveALifeAndTheVictorySound)
{
    hero.setHealth(98);
    hero.addHealth(1);
    EXPECT_EQ(99, hero.getHealth());
    EXPECT_EQ(3, hero.getLives());
    EXPECT_FALSE(kovotest::isPlaying("victory.wav"));

    hero.addHealth(1);
    EXPECT_EQ(0, hero.getHealth());
    EXPECT_EQ(4, hero.getLives());
    EXPECT_TRUE(kovotest::isPlaying("victory.wav"));

    // Overshooting 100 still gives one life and starts again from 0.
    hero.setHealth(90);
    hero.addHealth(25);
    EXPECT_EQ(0, hero.getHealth());
    EXPECT_EQ(5, hero.getLives());
}

TEST_F(PlayerTest, SetStateShowsTheStatePictureWhenThereIsOne)
{
    hero.setState(47);
    EXPECT_EQ(47, hero.getState());
    EXPECT_EQ(animation(47), hero.getBody()->getAnimatedTexture());
    // State 3 has no picture of the hero's: the state changes, the picture stays.
    hero.setState(3);
    EXPECT_EQ(3, hero.getState());
    EXPECT_EQ(animation(47), hero.getBody()->getAnimatedTexture());
}

TEST_F(PlayerTest, FallSoundPlaysOncePerFallFromMinus640)
{
    hero.beginFall();
    EXPECT_TRUE(hero.isJumping());
    EXPECT_TRUE(hero.isAirborne());
    hero.addVerticalSpeed(-639);
    EXPECT_FALSE(kovotest::isPlaying("fall.wav"));
    hero.addVerticalSpeed(-1);  // exactly -640 counts
    EXPECT_TRUE(hero.isFallSoundPlayed());
    EXPECT_TRUE(kovotest::isPlaying("fall.wav"));
    kovotest::stopAllEffects();
    hero.addVerticalSpeed(-100);
    EXPECT_FALSE(kovotest::isPlaying("fall.wav"));
    EXPECT_DOUBLE_EQ(-740, hero.getVerticalSpeed());

    // Landing and a speed of 0 or more end the fall; a negative speed does not.
    hero.setVerticalSpeed(-10);
    EXPECT_TRUE(hero.isAirborne());
    EXPECT_TRUE(hero.isFallSoundPlayed());
    hero.setVerticalSpeed(0);
    EXPECT_FALSE(hero.isAirborne());
    EXPECT_FALSE(hero.isFallSoundPlayed());

    // A fall that began with a jump is not airborne: no sound however fast.
    hero.setJumping(true);
    hero.setVerticalSpeed(700);
    hero.addVerticalSpeed(-2000);
    EXPECT_FALSE(kovotest::isPlaying("fall.wav"));
    EXPECT_FALSE(hero.isFallSoundPlayed());
}

TEST_F(PlayerTest, LandingEndsJumpsAndFalls)
{
    hero.beginFall();
    hero.setState(12);
    EXPECT_FALSE(hero.land());
    EXPECT_EQ(1, hero.getState());
    EXPECT_FALSE(hero.isJumping());
    EXPECT_FALSE(hero.isAirborne());
    hero.setState(13);
    hero.land();
    EXPECT_EQ(2, hero.getState());
    hero.setState(6);
    hero.land();
    EXPECT_EQ(6, hero.getState());
}

TEST_F(PlayerTest, FallingOutOfTheShotPoseStandsAndDropsTheThrow)
{
    hero.setState(15);
    hero.setThrowVelocity(630, 0);
    hero.beginFall();
    EXPECT_EQ(2, hero.getState());
    EXPECT_DOUBLE_EQ(0, hero.rawThrowVelocityX());
    hero.setState(14);
    hero.beginFall();
    EXPECT_EQ(1, hero.getState());
    // Other states fall as they are.
    hero.setState(47);
    hero.setThrowVelocity(300, 200);
    hero.beginFall();
    EXPECT_EQ(47, hero.getState());
    EXPECT_DOUBLE_EQ(300, hero.rawThrowVelocityX());
}

TEST_F(PlayerTest, DeathDropsKeysAndEquipmentAndRemembersThePlace)
{
    hero.setPosition(300, 80, GameConstants::zHero);
    hero.holdAll();
    hero.setCharging(true);
    hero.setJumping(true);
    hero.setSuperShoes(true);
    hero.setLauncher(true);
    hero.setThrowVelocity(400, 300);
    hero.setGrenadeThrown(true);
    hero.setIdleClock(5000);
    hero.faceLeft();
    hero.die();

    EXPECT_EQ(39, hero.getState());
    EXPECT_TRUE(hero.isDying());
    EXPECT_FALSE(hero.anyHeld());
    EXPECT_TRUE(hero.isCharging());  // the dying update ignores it
    EXPECT_FALSE(hero.isJumping() || hero.hasSuperShoes() || hero.hasLauncher());
    EXPECT_DOUBLE_EQ(300, hero.getSavedX());
    EXPECT_DOUBLE_EQ(80, hero.getSavedY());
    EXPECT_DOUBLE_EQ(GameConstants::zDyingHero, hero.getZ());
    EXPECT_DOUBLE_EQ(GameConstants::zDyingHero, hero.getBody()->getCoord()->getZ());
    EXPECT_DOUBLE_EQ(0, hero.rawThrowVelocityX());
    EXPECT_DOUBLE_EQ(0, hero.getThrowVelocityY());
    EXPECT_FALSE(hero.isGrenadeThrown());
    EXPECT_TRUE(kovotest::isPlaying("death.wav"));
    EXPECT_EQ(0, hero.getIdleClock());

    hero.faceRight();
    hero.die();
    EXPECT_EQ(40, hero.getState());
}

TEST_F(PlayerTest, RespawnStandsAtTheDeathPlaceWithAtLeastFiveGrenades)
{
    hero.setPosition(300, 80, GameConstants::zHero);
    hero.beginFall();  // killed in mid-fall: the death ends the jump, not the airborne flag
    hero.die();
    hero.move(0, -900, 0);  // the map lets the dying hero fall out of the view
    hero.setVerticalSpeed(-800);
    hero.update(30, 0.03);
    EXPECT_EQ(animation(40), hero.getBody()->getAnimatedTexture());
    hero.setGrenades(2);
    hero.holdAll();
    hero.respawn();

    EXPECT_EQ(2, hero.getState());
    EXPECT_FALSE(hero.anyHeld());
    EXPECT_DOUBLE_EQ(300, hero.getX());
    EXPECT_DOUBLE_EQ(80, hero.getY());
    EXPECT_DOUBLE_EQ(GameConstants::zHero, hero.getZ());
    EXPECT_DOUBLE_EQ(0, hero.getVerticalSpeed());
    EXPECT_TRUE(hero.isAirborne());  // the speed is stored, not set
    EXPECT_FALSE(hero.isFallSoundPlayed());
    EXPECT_EQ(5, hero.getGrenades());
    EXPECT_EQ(animation(2), hero.getBody()->getAnimatedTexture()) << "on his feet again";
    EXPECT_EQ(0, hero.getIdleClock());

    hero.setGrenades(7);
    hero.faceLeft();
    hero.die();
    hero.respawn();
    EXPECT_EQ(7, hero.getGrenades());
    EXPECT_EQ(1, hero.getState());
    EXPECT_EQ(animation(1), hero.getBody()->getAnimatedTexture());
}

TEST_F(PlayerTest, ReportedSpeedIsZeroForTheFrameOfAReversal)
{
    hero.setVelocity(-3, 0);
    EXPECT_DOUBLE_EQ(-3, hero.getVelocityX());
    hero.setVelocity(5, 0);
    EXPECT_DOUBLE_EQ(0, hero.getVelocityX());
    hero.setVelocity(5, 0);
    EXPECT_DOUBLE_EQ(5, hero.getVelocityX());

    hero.setVelocity(-3, 4);
    hero.setVelocity(0, -2);
    EXPECT_DOUBLE_EQ(0, hero.getVelocityX());
    EXPECT_DOUBLE_EQ(0, hero.getVelocityY());
    hero.setVelocity(5, -2);
    EXPECT_DOUBLE_EQ(5, hero.getVelocityX());
    EXPECT_DOUBLE_EQ(-2, hero.getVelocityY());
}

TEST_F(PlayerTest, ThrowSpeedAcrossIsAtLeast210UnlessZero)
{
    const double cases[][2] = {{0, 0}, {100, 210}, {-100, -210}, {500, 500}, {-630, -630}};
    for (const auto& c : cases) {
        hero.setThrowVelocity(c[0], 77);
        EXPECT_DOUBLE_EQ(c[1], hero.getThrowVelocityX()) << c[0];
        EXPECT_DOUBLE_EQ(c[1], hero.rawThrowVelocityX()) << "the raised speed is kept";
        EXPECT_DOUBLE_EQ(77, hero.getThrowVelocityY());
    }
}

TEST_F(PlayerTest, ShotPoseRecoilLastsUntilFourFramesAreLeft)
{
    hero.setState(14);
    GphAnimatedTexture* shot = animation(14);
    ASSERT_EQ(6u, shot->getFrameCount());
    EXPECT_TRUE(hero.isInShotPose());
    shot->setCurrentFrame(1);
    EXPECT_TRUE(hero.isInShotPose());
    shot->setCurrentFrame(2);
    EXPECT_FALSE(hero.isInShotPose());

    shot->setCurrentFrame(0);
    hero.shortenShotPose();
    EXPECT_EQ(2u, shot->getCurrentFrame());
    EXPECT_FALSE(hero.isInShotPose());

    // Another state is never the shot pose, whatever its picture.
    hero.setState(15);
    animation(15)->setCurrentFrame(0);
    hero.setState(2);
    hero.getBody()->setAnimatedTexture(animation(15));
    EXPECT_FALSE(hero.isInShotPose());
}

TEST_F(PlayerTest, ShortShotPictureIsNotShortenedPastItsStart)
{
    hero.setState(14);
    hero.getBody()->setAnimatedTexture(animation(5));  // two frames only
    animation(5)->setCurrentFrame(1);
    EXPECT_FALSE(hero.isInShotPose());
    hero.shortenShotPose();
    EXPECT_EQ(1u, animation(5)->getCurrentFrame());
    hero.getBody()->setAnimatedTexture(nullptr);
    EXPECT_FALSE(hero.isInShotPose());
    hero.shortenShotPose();
}

TEST_F(PlayerTest, SimpleStatesAndFlags)
{
    hero.beginMoveBack();
    EXPECT_TRUE(hero.isMovingBack());
    EXPECT_EQ(5, hero.getState());
    hero.holdAll();
    hero.faceLeft();
    hero.stop();
    EXPECT_EQ(1, hero.getState());
    EXPECT_FALSE(hero.anyHeld());
    EXPECT_FALSE(hero.isMovingBack());

    hero.holdAll();
    hero.flipSwitch();
    EXPECT_TRUE(hero.isFlippingSwitch());
    EXPECT_EQ(38, hero.getState());
    EXPECT_FALSE(hero.isUpHeld());
    EXPECT_TRUE(hero.isLeftHeld() && hero.isRightHeld() && hero.isDownHeld());

    hero.setCharging(true);
    hero.setJumping(true);
    EXPECT_TRUE(hero.isThrowing());
    hero.clearInput();
    EXPECT_FALSE(hero.anyHeld());
    EXPECT_FALSE(hero.isCharging());
    EXPECT_TRUE(hero.isJumping());  // the jump flag is not input
    EXPECT_FALSE(hero.isThrowing());
    hero.setState(48);
    EXPECT_TRUE(hero.isThrowing());

    hero.setSuperShoes(true);
    hero.setLauncher(true);
    hero.loseEquipment();
    EXPECT_FALSE(hero.hasSuperShoes() || hero.hasLauncher());

    hero.setProjectileReleased(true);
    EXPECT_TRUE(hero.takeProjectileReleased());
    EXPECT_FALSE(hero.takeProjectileReleased());
}


TEST_F(PlayerTest, SavedBlockReadsBackIntoANewHeroAndWritesTheSameText)
{
    hero.setPosition(1234.5, 80, GameConstants::zHero);
    hero.setScore(4200);
    hero.setHealth(37);
    hero.setLives(2);
    hero.setGrenades(11);
    hero.faceLeft();
    hero.setState(14);
    hero.beginFall();  // airborne, and the shot pose becomes 1
    hero.setVerticalSpeed(-250.25);
    hero.addVerticalSpeed(-500);
    hero.setSuperShoes(true);
    hero.setLauncher(true);
    hero.setState(15);
    hero.hide();

    const std::string text = saved(hero);
    EXPECT_EQ("<PLAYER> 4200 37 2 11 15 1 -750.25 0 0 1 1 1 1 1 "
              "<SPRITE> 1234.5 80 -41 100 100 0 </SPRITE>\n</PLAYER>\n",
              text);

    TestPlayer copy(&app);
    std::istringstream in(text + "<NEXT>");
    std::string tag;
    in >> tag;
    ASSERT_EQ(0, copy.readState(in));
    in >> tag;
    EXPECT_EQ("<NEXT>", tag) << "the block is read up to its closing tag";
    EXPECT_EQ(text, saved(copy));

    EXPECT_EQ(4200, copy.getScore());
    EXPECT_EQ(37, copy.getHealth());
    EXPECT_EQ(2, copy.getLives());
    EXPECT_EQ(11, copy.getGrenades());
    EXPECT_EQ(15, copy.getState());
    EXPECT_TRUE(copy.isFacingLeft());
    EXPECT_DOUBLE_EQ(-750.25, copy.getVerticalSpeed());
    EXPECT_TRUE(copy.isAirborne() && copy.isFallSoundPlayed() && copy.isJumping());
    EXPECT_TRUE(copy.hasSuperShoes() && copy.hasLauncher());
    EXPECT_FALSE(copy.isVisible());
    EXPECT_DOUBLE_EQ(1234.5, copy.getX());
    // The picture is left for the next update to choose.
    EXPECT_EQ(copy.getAnimations().at(2), copy.getBody()->getAnimatedTexture());
}

TEST_F(PlayerTest, DiedHeroKeepsHisRespawnPointThroughASave)
{
    hero.setPosition(-40.5, 360, GameConstants::zHero);
    hero.die();
    const std::string text = saved(hero);
    TestPlayer copy(&app);
    ASSERT_EQ(0, restore(copy, text));
    EXPECT_DOUBLE_EQ(-40.5, copy.getSavedX());
    EXPECT_DOUBLE_EQ(360, copy.getSavedY());
    EXPECT_TRUE(copy.isDying());
    EXPECT_DOUBLE_EQ(GameConstants::zDyingHero, copy.getZ());
}

TEST_F(PlayerTest, ReadingKeepsWhatTheBlockDoesNotHold)
{
    TestPlayer copy(&app);
    copy.holdAll();
    copy.setCharging(true);
    copy.setThrowVelocity(300, 100);
    copy.setProjectileReleased(true);
    copy.setVelocity(7, 8);
    ASSERT_EQ(0, restore(copy, saved(hero)));
    EXPECT_TRUE(copy.anyHeld());
    EXPECT_TRUE(copy.isCharging());
    EXPECT_DOUBLE_EQ(300, copy.rawThrowVelocityX());
    EXPECT_DOUBLE_EQ(7, copy.getVelocityX());
    EXPECT_TRUE(copy.takeProjectileReleased());
}

TEST_F(PlayerTest, EveryTruncatedBlockFailsAndLeavesTheHeroAsHeWas)
{
    hero.setPosition(500, 120, GameConstants::zHero);
    hero.setScore(900);
    hero.setLives(1);
    hero.setGrenades(0);
    hero.setHealth(55);
    const std::string text = saved(hero);
    const size_t spriteLineEnd = text.find("</SPRITE>");

    for (const std::string& cut : kovotest::truncations(text)) {
        TestPlayer copy(&app);
        EXPECT_NE(0, restore(copy, cut)) << '"' << cut << '"';
        if (cut.size() <= spriteLineEnd) {
            // Cut before the sprite line was whole: nothing was taken over, no zeros either.
            EXPECT_EQ(0, copy.getScore()) << cut;
            EXPECT_EQ(3, copy.getLives()) << cut;
            EXPECT_EQ(5, copy.getGrenades()) << cut;
            EXPECT_DOUBLE_EQ(0, copy.getX()) << cut;
            EXPECT_DOUBLE_EQ(GameConstants::zHero, copy.getZ()) << cut;
        }
    }
}

TEST_F(PlayerTest, CorruptValuesFail)
{
    const std::string text = saved(hero);
    for (const auto& swap : std::vector<std::pair<std::string, std::string>>{
             {"<PLAYER> 0", "<PLAYER> zero"},     // a count that is not a number
             {" 2 0 0 0 0 ", " 2 7 0 0 0 "},      // a flag other than 0 or 1
             {"<SPRITE> 0", "<SPRITE> here"}}) {  // a sprite value that is not a number
        std::string bad = text;
        const size_t at = bad.find(swap.first);
        ASSERT_NE(std::string::npos, at) << swap.first;
        bad.replace(at, swap.first.size(), swap.second);
        TestPlayer copy(&app);
        copy.setScore(17);
        EXPECT_EQ(-1, restore(copy, bad)) << bad;
        EXPECT_EQ(17, copy.getScore());
        EXPECT_EQ(3, copy.getLives());
    }
}

TEST_F(PlayerTest, ReadingASpriteLineKeepsTheHeroPictureSquareOfHisOwnSize)
{
    // A hand-made line with a box of 80 by 60: the base read would shrink the picture to 80.
    const std::string text =
        "<PLAYER> 0 0 3 5 2 0 0 0 0 0 0 0 0 0 <SPRITE> 10 20 -41 80 60 1 </SPRITE>\n</PLAYER>\n";
    ASSERT_EQ(0, restore(hero, text));
    EXPECT_DOUBLE_EQ(100, hero.getBody()->getLength());
    EXPECT_DOUBLE_EQ(100, hero.getBody()->getWidth());
    EXPECT_DOUBLE_EQ(80, hero.getTop() - hero.getBottom());
}

TEST_F(PlayerTest, AnimationTableHoldsTheThirtySixPicturesOfTheHero)
{
    const PlayerAnimationMap& map = hero.getAnimations();
    ASSERT_EQ(36u, map.size());
    std::set<const GphAnimatedTexture*> distinct;
    unsigned frames = 0;
    for (const Row& row : heroTable()) {
        SCOPED_TRACE("key " + std::to_string(row.key));
        auto it = map.find(row.key);
        ASSERT_NE(map.end(), it);
        const GphAnimatedTexture* a = it->second;
        distinct.insert(a);
        ASSERT_EQ(row.files.size(), a->getFrameCount());
        EXPECT_EQ(row.ms == 0 ? 1u : row.ms, a->getMillisecondsPerFrame());
        EXPECT_EQ(0u, a->getCurrentFrame());
        std::set<const GphTexture*> textures;
        for (unsigned f = 0; f < a->getFrameCount(); ++f) {
            EXPECT_EQ(row.files[f], kovotest::frameFile(a, f)) << "frame " << f;
            const GphTexture* t = a->getFrames().at(f);
            textures.insert(t);
            ASSERT_NE(nullptr, t->getImage()) << "picture missing from the data: " << row.files[f];
            EXPECT_TRUE(t->getImage()->isTransparent());
            EXPECT_NE(0u, t->getId());
            EXPECT_EQ(static_cast<GLenum>(GL_MODULATE), t->getMode());
            EXPECT_EQ(static_cast<GLenum>(GL_LINEAR), t->getMinFilter());
            EXPECT_EQ(static_cast<GLenum>(GL_LINEAR), t->getMagFilter());
            EXPECT_EQ(static_cast<GLenum>(GL_REPEAT), t->getSWrap());
            EXPECT_EQ(static_cast<GLenum>(GL_REPEAT), t->getTWrap());
        }
        EXPECT_EQ(a->getFrameCount(), textures.size()) << "one texture per frame";
        frames += a->getFrameCount();
    }
    EXPECT_EQ(36u, distinct.size());
    EXPECT_EQ(148u, frames);
    EXPECT_EQ("kovo_shooting_runright10.pcx", kovotest::frameFile(map.at(62), 0));
    EXPECT_EQ("kovo_runright10.pcx", kovotest::frameFile(map.at(13), 0));
}


TEST_F(PlayerTest, HeroIsDrawnWithHisStandingPicture)
{
    GphWindow* window = GphWindow::getInstance();
    ASSERT_NE(nullptr, window);
    // Feet 50 below the centre of the view: the picture covers the middle of the window.
    hero.setPosition(0, -50, GameConstants::zHero);
    glClearColor(0, 0, 0, 0);
    window->clear();
    hero.draw();
    const auto centre = testsupport::readPixel(400, 300);
    EXPECT_GT(centre[0] + centre[1] + centre[2], 0) << "nothing drawn at the hero's centre";
    const auto outside = testsupport::readPixel(400, 300 + 80);
    EXPECT_EQ(0, outside[0] + outside[1] + outside[2]) << "drawn beyond the 100 x 100 picture";
}
