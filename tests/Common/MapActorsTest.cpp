#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "Common/Map.h"
#include "Kovo/Bomb.h"
#include "Kovo/Hint.h"
#include "Base/Gph/GphRect.h"
#include "Kovo/Grenade.h"
#include "Kovo/GrenadeGas.h"
#include "Kovo/Item.h"
#include "Kovo/Player.h"
#include "Kovo/Projectile.h"
#include "Kovo/Reaction.h"
#include "Kovo/Smoke.h"
#include "Kovo/Sparks.h"
#include "Kovo/Treasure.h"
#include "MapFrameSupport.h"

namespace {

using namespace mapframe;

// What the room does with items, actors, enemy shots and the hero's grenades in its frame
// step. The hero stands at (400, 40) on a floor at 40 in a room 2000 wide.
class MapActorsTest : public FrameFixture {
protected:
    static std::string flatRoom(const std::string& extra)
    {
        return roomHead(1, 2000, 1000, 2000) + floorAt(0, 2000, 40) + extra + "</MAP>\n";
    }
    static std::string item(int type, int x, int y, const std::string& extras = "")
    {
        return "<ITEM> " + std::to_string(type) + " " + std::to_string(x) + " " +
               std::to_string(y) + " " + extras + " </ITEM>\n";
    }

    Projectile* shoot(double x, double y, double vx, double spin = 0,
                      const char* picture = "bullet.pcx")
    {
        Projectile* shot = new Projectile(x, y, 16, 16, vx, 0, spin, picture);
        roomList(room()->getEnemyProjectiles()).push_back(shot);
        return shot;
    }

    Grenade* throwGrenade(double x, double y, double vx, double vy, bool falls)
    {
        Grenade* grenade = new Grenade("grenade.pcx", "grenade.pcx", "grenade.wav");
        grenade->setPosition(x, y, GameConstants::grenadeDepth);
        grenade->setSize(40, 40);
        grenade->setVelocityX(vx);
        grenade->setVelocityY(vy);
        grenade->setFalls(falls);
        roomList(room()->getGrenades()).push_back(grenade);
        return grenade;
    }

    template <class T>
    int effectsOf() const
    {
        int n = 0;
        for (GphParticleSystem* effect : room()->getEffects())
            if (dynamic_cast<T*>(effect)) ++n;
        return n;
    }
};

}  // namespace

// ------------------------------------------------------------------------------------------
// Pick-ups

TEST_F(MapActorsTest, EachItemTypeGivesItsRewardWithItsSound)
{
    Map* map = load(flatRoom(item(0, 400, 60) + item(4, 400, 60, "2") + item(7, 400, 60) +
                             item(9, 400, 60) + item(10, 400, 60)),
                    400, 40);
    ASSERT_NE(nullptr, map);
    ASSERT_EQ(5u, map->getUncollectedItems().size());
    silence();
    run(1);
    EXPECT_EQ(100 + 2000, _player->getScore());
    EXPECT_EQ(2u, _owner.count("found"));
    EXPECT_EQ(6, _player->getGrenades());
    EXPECT_EQ(4, _player->getLives());
    EXPECT_EQ(1, _player->getHealth());
    EXPECT_TRUE(map->getUncollectedItems().empty());
    EXPECT_EQ(5u, map->getTransients().size());
    EXPECT_EQ(5u, map->getItems().size());
    for (const Item* collected : map->getTransients()) EXPECT_TRUE(collected->isCollected());
    if (s_soundStarted) {
        for (const char* sound : {"coin.wav", "gem.wav", "grenade.wav", "apple.wav"})
            EXPECT_GE(playing(sound), 1) << sound;
    }
    // Collected items are not picked up again.
    run(1);
    EXPECT_EQ(2100, _player->getScore());
}

TEST_F(MapActorsTest, AStandingHeroReachesItems25InsideHisSidesAMovingOne10)
{
    Map* map = load(flatRoom(item(0, 425, 60) + item(0, 426, 60) + item(0, 380, 150) +
                             item(0, 380, 151) + item(0, 380, 30) + item(0, 380, 29) +
                             item(0, 700, 60)),
                    400, 40);
    ASSERT_NE(nullptr, map);
    run(1);
    // 425 and the heights from 30 (his feet - 10) to 150 (his top + 10).
    EXPECT_EQ(300, _player->getScore());
    EXPECT_EQ(4u, map->getUncollectedItems().size());
    // Walking, the item at 426 is reached as soon as it is 10 inside his right side.
    press(AppKeyRight);
    run(1);
    EXPECT_EQ(400, _player->getScore());
    // No pick-ups while dying.
    _owner.restartOnDeath = false;
    _player->setX(700);
    _player->die();
    run(1);
    EXPECT_EQ(400, _player->getScore());
}

TEST_F(MapActorsTest, TheDiamondEndsTheLevelWithCode1)
{
    Map* map = load(flatRoom(item(13, 400, 60)), 400, 40);
    ASSERT_NE(nullptr, map);
    _player->setLauncher(true);
    _player->setSuperShoes(true);
    press(AppKeyLeft);
    run(1);
    EXPECT_EQ(1, map->getExitTimer());
    EXPECT_EQ(1, map->getExitCode());
    EXPECT_FALSE(_player->hasLauncher());
    EXPECT_FALSE(_player->hasSuperShoes());
    EXPECT_FALSE(_player->isLeftHeld());
    EXPECT_FALSE(map->isHeldLeft());
    run(50);
    ASSERT_EQ(1u, _owner.calls.size());
    EXPECT_EQ("finished " + _file + " 1", _owner.calls[0]);
}

// ------------------------------------------------------------------------------------------
// Characters

TEST_F(MapActorsTest, ActorsThinkOnceAFrameAndTheirBubblesExpire)
{
    ASSERT_NE(nullptr, load(flatRoom(""), 400, 40));
    TestActor* actor = addActor(CharacterTypeGoat, 800, 40);
    actor->nextBubble = new Reaction(actor, 100, 800, 200, false);
    run(1);
    EXPECT_EQ(1, actor->thinks);
    ASSERT_EQ(1u, room()->getReactions().size());
    EXPECT_EQ(70, static_cast<Reaction*>(room()->getReactions().front())->getRemaining());
    run(2);
    EXPECT_EQ(1u, room()->getReactions().size());
    run(1);
    EXPECT_TRUE(room()->getReactions().empty());
    EXPECT_EQ(4, actor->thinks);
}

TEST_F(MapActorsTest, ASleepingActorDropsWhatItCarriesOnce)
{
    Map* map = load(flatRoom(""), 400, 40);
    ASSERT_NE(nullptr, map);
    TestActor* atHero = addActor(CharacterTypeGoat, 400, 40);
    atHero->setCarriedItem(0);
    TestActor* gem = addActor(CharacterTypeGoat, 900, 40);
    gem->setCarriedItem(4);
    TestActor* hint = addActor(CharacterTypeGoat, 1200, 40);
    hint->setCarriedItem(6);
    TestActor* launcher = addActor(CharacterTypeGoat, 1300, 40);
    launcher->setCarriedItem(16);
    TestActor* awake = addActor(CharacterTypeGoat, 1500, 40);
    awake->setCarriedItem(0);
    for (TestActor* actor : {atHero, gem, hint, launcher}) actor->fallAsleep();
    run(1);
    // The coin dropped at the hero's feet is picked up in the same frame.
    EXPECT_EQ(100, _player->getScore());
    ASSERT_EQ(2u, map->getItems().size());
    ASSERT_EQ(1u, map->getUncollectedItems().size());
    const Item* dropped = map->getUncollectedItems().front();
    EXPECT_EQ(4, dropped->getType());
    EXPECT_DOUBLE_EQ(900, dropped->getX());
    EXPECT_DOUBLE_EQ(gem->getY(), dropped->getY());
    EXPECT_DOUBLE_EQ(-40, dropped->getZ());
    for (TestActor* actor : {atHero, gem, hint, launcher}) EXPECT_EQ(-1, actor->getCarriedItem());
    EXPECT_EQ(0, awake->getCarriedItem());
    run(1);
    EXPECT_EQ(2u, map->getItems().size());
}

TEST_F(MapActorsTest, AHarmfulTouchNeedsTheHerosCentreWithinTheActor)
{
    Map* map = load(flatRoom(""), 400, 40);
    ASSERT_NE(nullptr, map);
    _owner.restartOnDeath = false;
    TestActor* wolf = addActor(CharacterTypeWolf, 460, 40);
    wolf->setHarmful(true);
    // Boxes overlap, but his centre lies outside its edges.
    run(1);
    EXPECT_FALSE(_player->isDying());
    // Asleep it is harmless.
    wolf->setX(440);
    wolf->fallAsleep();
    run(1);
    EXPECT_FALSE(_player->isDying());
    wolf->setState(CharacterStateStandLeft);
    wolf->setY(40);
    press(AppKeyRight);
    run(1);
    EXPECT_TRUE(_player->isDying());
    EXPECT_DOUBLE_EQ(630, _player->getVerticalSpeed());
    EXPECT_FALSE(map->isHeldRight());
}

TEST_F(MapActorsTest, AnIcicleMustFallWellInsideTheHerosSides)
{
    ASSERT_NE(nullptr, load(flatRoom(""), 400, 40));
    _owner.restartOnDeath = false;
    TestActor* icicle = addActor(CharacterTypeIcicle, 441, 100, 40, 80);
    icicle->setHarmful(true);
    icicle->setContact(Character::ContactCentreWellInside);
    run(1);
    EXPECT_FALSE(_player->isDying());
    icicle->setX(439);
    run(1);
    EXPECT_TRUE(_player->isDying());
}

TEST_F(MapActorsTest, AMachineRunningIntoAThugKnocksItTheWayTheMachineFaces)
{
    Map* map = load(flatRoom("<CHARACTER> 1 1000 40 1 1 700 1300 -1 </CHARACTER>\n"), 200, 40);
    ASSERT_NE(nullptr, map);
    ASSERT_EQ(1u, map->getCharacters().size());
    Character* thug = map->getCharacters().front();
    TestActor* dozer = addActor(CharacterTypeDozer, thug->getX() + 20, 40);
    dozer->addTraits(Character::TraitPusher | Character::TraitKnocksAside);
    dozer->setFacingLeft(false);
    run(1);
    EXPECT_EQ(CharacterStateKnockedBackRight, thug->getState());
}

// ------------------------------------------------------------------------------------------
// Enemy shots

TEST_F(MapActorsTest, AnActorsRequestsBecomeShotsBombsAndAHintWhereAndAsItSays)
{
    Map* map = load(flatRoom(""), 400, 40);
    ASSERT_NE(nullptr, map);
    TestActor* actor = addActor(CharacterTypeGoat, 1200, 40);
    actor->requests = {CharacterRequest::shot(1150, 100, 40, 30, -420, 2000, "knifeleft.pcx"),
                       CharacterRequest::bullet(1250, 90, false),
                       CharacterRequest::thrownBomb(1160, 150),
                       CharacterRequest::droppedBomb(1300, 400),
                       CharacterRequest::droppedHint("t5-5_2.pcx", 960, 95)};
    run(1);
    ASSERT_EQ(4u, map->getEnemyProjectiles().size());
    auto shot = map->getEnemyProjectiles().begin();
    const Projectile* knife = *shot++;
    const Projectile* bullet = *shot++;
    const Projectile* thrown = *shot++;
    const Projectile* dropped = *shot;
    // Each has flown the frame's 30 ms.
    EXPECT_DOUBLE_EQ(1150 - 420 * 0.03, knife->getX());
    EXPECT_DOUBLE_EQ(100, knife->getY());
    EXPECT_EQ(2000, knife->getSpin());
    double length, width;
    knife->getSize(length, width);
    EXPECT_EQ(40, length);
    EXPECT_EQ(30, width);
    EXPECT_FALSE(knife->explodes());
    EXPECT_DOUBLE_EQ(1250 + 420 * 0.03, bullet->getX());
    EXPECT_EQ(0, bullet->getSpin());
    EXPECT_TRUE(thrown->explodes());
    EXPECT_NE(0, thrown->getVelocityX());
    EXPECT_TRUE(dropped->explodes());
    EXPECT_EQ(0, dropped->getVelocityX());
    EXPECT_EQ(1300, dropped->getX());
    // The folder lies at the actor, its panel up where the request said.
    ASSERT_NE(nullptr, map->getShownHint());
    EXPECT_EQ(map->getShownHint(), map->getTransients().back());
    EXPECT_EQ(1200, map->getShownHint()->getX());
    EXPECT_EQ(960, map->getShownHint()->getPanel()->getCoord()->getX());
    EXPECT_EQ(95, map->getShownHint()->getPanel()->getCoord()->getY());
}

TEST_F(MapActorsTest, AShotThatReachesTheHeroKillsHim)
{
    Map* map = load(flatRoom(""), 400, 40);
    ASSERT_NE(nullptr, map);
    _owner.restartOnDeath = false;
    shoot(600, 90, -420);
    // Deadly once its centre is 20 inside his sides.
    ASSERT_GT(runUntil([&] { return _player->isDying(); }, 30), 0);
    EXPECT_TRUE(map->getEnemyProjectiles().empty());
    EXPECT_TRUE(map->getEffects().empty());
    EXPECT_DOUBLE_EQ(630, _player->getVerticalSpeed());
    // Shots pass through the dying.
    shoot(500, 90, -420);
    run(10);
    EXPECT_EQ(1u, map->getEnemyProjectiles().size());
}

TEST_F(MapActorsTest, ArmourTurnsBulletsAndKnivesBackButNotBombs)
{
    Map* map = load(flatRoom(item(12, 400, 60)), 400, 40);
    ASSERT_NE(nullptr, map);
    _owner.restartOnDeath = false;
    run(1);
    ASSERT_GT(map->getArmorTime(), 0);
    silence();
    Projectile* bullet = shoot(440, 90, -420);
    run(1);
    EXPECT_FALSE(_player->isDying());
    EXPECT_TRUE(bullet->isFading());
    EXPECT_DOUBLE_EQ(210, bullet->getVelocityX());
    if (s_soundStarted) {
        EXPECT_EQ(1, playing("bullet.wav"));
    }
    Projectile* knife = shoot(440, 90, -420, 2000, "knifeleft.pcx");
    run(1);
    EXPECT_TRUE(knife->isFading());
    EXPECT_DOUBLE_EQ(105, knife->getVelocityX());
    if (s_soundStarted) {
        EXPECT_EQ(1, playing("knife_deflection.wav"));
    }
    // Faded out, they go without a trace.
    ASSERT_GT(runUntil([&] { return map->getEnemyProjectiles().empty(); }, 100), 0);
    EXPECT_TRUE(map->getEffects().empty());
    EXPECT_FALSE(_player->isDying());

    Bomb* bomb = new Bomb(map, _player.get(), 420, 100, 30);
    bomb->setVelocityX(0);
    bomb->setVelocityY(0);
    roomList(map->getEnemyProjectiles()).push_back(bomb);
    run(1);
    EXPECT_TRUE(_player->isDying());
    EXPECT_TRUE(map->getEnemyProjectiles().empty());
    EXPECT_EQ(1, effectsOf<Smoke>());
}

TEST_F(MapActorsTest, ShotsEndInWallsAndObstaclesAndVanishBeyondTheRoom)
{
    Map* map = load(flatRoom(wallAt(800, 840, 300, 40) + crate(1200, 40, 80, 80, false)), 100, 40);
    ASSERT_NE(nullptr, map);
    shoot(700, 90, 420);
    ASSERT_GT(runUntil([&] { return map->getEnemyProjectiles().empty(); }, 30), 0);
    EXPECT_EQ(1, effectsOf<Sparks>());
    // Coming from the far side, a shot flies 10 into the wall before it ends.
    Projectile* late = shoot(845, 90, -420);
    run(3, 10);
    EXPECT_NEAR(832.4, late->getX(), 1e-9);
    EXPECT_EQ(1u, map->getEnemyProjectiles().size());
    run(1, 10);
    EXPECT_TRUE(map->getEnemyProjectiles().empty());
    EXPECT_EQ(2, effectsOf<Sparks>());
    // An obstacle's wall.
    shoot(1100, 90, 420);
    ASSERT_GT(runUntil([&] { return map->getEnemyProjectiles().empty(); }, 30), 0);
    EXPECT_EQ(3, effectsOf<Sparks>());
    // Out of the room on either side: gone without sparks.
    shoot(60, 300, -420);
    shoot(2030, 300, 420);
    const size_t effects = map->getEffects().size();
    run(3);
    EXPECT_TRUE(map->getEnemyProjectiles().empty());
    EXPECT_LE(map->getEffects().size(), effects);
    // Finished effects are deleted.
    ASSERT_GT(runUntil([&] { return map->getEffects().empty(); }, 400), 0);
}

// ------------------------------------------------------------------------------------------
// The hero's grenades

TEST_F(MapActorsTest, AThrownGrenadeBouncesOffWallsALauncherShotBurstsThere)
{
    Map* map = load(flatRoom(wallAt(800, 840, 300, 40)), 100, 40);
    ASSERT_NE(nullptr, map);
    Grenade* thrown = throwGrenade(770, 150, 420, 0, true);
    run(2);
    EXPECT_NEAR(795.2, thrown->getX(), 1e-9);
    run(1);
    EXPECT_NEAR(800, thrown->getX(), 1e-9);
    EXPECT_NEAR(-315, thrown->getVelocityX(), 1e-9);

    // A launcher shot bursts into gas at the wall, and the grenades after it wait.
    Grenade* shot = throwGrenade(770, 150, 420, 0, false);
    Grenade* behind = throwGrenade(300, 150, 420, 0, false);
    run(2);
    const double waiting = behind->getX();
    run(1);
    ASSERT_EQ(2u, map->getGrenades().size());
    EXPECT_EQ(map->getGrenades().end(),
              std::find(map->getGrenades().begin(), map->getGrenades().end(), shot));
    EXPECT_DOUBLE_EQ(waiting, behind->getX());
    EXPECT_EQ(1, effectsOf<GrenadeGas>());
    run(1);
    EXPECT_NEAR(waiting + 12.6, behind->getX(), 1e-9);
}

TEST_F(MapActorsTest, AtTheRoomsSideALauncherShotBurstsAThrownGrenadeDrops)
{
    Map* map = load(flatRoom(""), 100, 40);
    ASSERT_NE(nullptr, map);
    Grenade* thrown = throwGrenade(1970, 400, 420, 0, true);
    run(1);
    EXPECT_DOUBLE_EQ(1980, thrown->getX());
    EXPECT_DOUBLE_EQ(0, thrown->getVelocityX());
    // Flying level and stopped dead at the side, a launcher shot would hang there for
    // ever: it bursts instead.
    throwGrenade(1970, 400, 420, 0, false);
    run(1);
    EXPECT_EQ(1u, map->getGrenades().size());
    EXPECT_EQ(1, effectsOf<GrenadeGas>());
    throwGrenade(30, 400, -420, 0, false);
    run(1);
    EXPECT_EQ(1u, map->getGrenades().size());
    EXPECT_EQ(2, effectsOf<GrenadeGas>());
}

TEST_F(MapActorsTest, GrenadesStopUnderCeilingsPassFloorsTooFastAndLeaveThroughPits)
{
    // A floor only up to x 1000, a ceiling above it.
    const std::string rooms = roomHead(1, 2000, 1000, 2000) + floorAt(0, 1000, 40, 100) +
                              ceilingAt(0, 1000, 420, 400) + "</MAP>\n";
    Map* map = load(rooms, 100, 40);
    ASSERT_NE(nullptr, map);
    Grenade* rising = throwGrenade(500, 370, 0, 400, true);
    run(1);
    EXPECT_DOUBLE_EQ(400, rising->getTop());
    EXPECT_DOUBLE_EQ(0, rising->getVelocityY());
    // Faster than 40 a frame onto a floor: it passes through.
    Grenade* fast = throwGrenade(700, 70, 0, -2000, true);
    run(1);
    EXPECT_LT(fast->getBottom(), 0);
    EXPECT_EQ(0, effectsOf<GrenadeGas>());
    // The first one falls and bursts on the floor within reach.
    ASSERT_GT(runUntil([&] { return effectsOf<GrenadeGas>() == 1; }, 100), 0);
    // Over the pit a grenade falls out of the room and is gone.
    throwGrenade(1500, 100, 0, 0, true);
    ASSERT_GT(runUntil([&] { return map->getGrenades().empty(); }, 200), 0);
    EXPECT_LE(effectsOf<GrenadeGas>(), 1);
}

TEST_F(MapActorsTest, DirectHitsTakeHitPointsAndGasStunsWhomItReaches)
{
    Map* map = load(flatRoom(""), 100, 40);
    ASSERT_NE(nullptr, map);
    // Two hit points and deaf to clouds: a hit takes one, the second stuns.
    TestActor* tough = addActor(CharacterTypeGoat, 600, 40);
    tough->setHitPoints(2);
    tough->setIgnoresGasCloud(true);
    tough->nextBubble = new Reaction(tough, 5000, 600, 200, false);
    throwGrenade(560, 90, 420, 0, false);
    run(1);
    EXPECT_EQ(1, tough->getHitPoints());
    EXPECT_FALSE(tough->isIncapacitated());
    EXPECT_EQ(1, effectsOf<GrenadeGas>());
    EXPECT_EQ(1u, map->getReactions().size());
    throwGrenade(560, 90, 420, 0, false);
    run(1);
    EXPECT_EQ(CharacterStateStunnedLeft, tough->getState());
    EXPECT_TRUE(map->getReactions().empty());

    // Two hit points, gas reaches it: the cloud of the first hit stuns it.
    TestActor* soft = addActor(CharacterTypeGoat, 1000, 40);
    soft->setHitPoints(2);
    throwGrenade(960, 90, 420, 0, false);
    run(1);
    EXPECT_EQ(1, soft->getHitPoints());
    EXPECT_TRUE(soft->isIncapacitated());

    // Gas-immune actors take no hit; the grenade flies on.
    TestActor* immune = addActor(CharacterTypeGoat, 1400, 40);
    immune->setGasImmune(true);
    const Grenade* past = throwGrenade(1360, 90, 420, 0, false);
    run(1);
    EXPECT_EQ(1, immune->getHitPoints());
    EXPECT_GT(past->getX(), 1360);
}

TEST_F(MapActorsTest, AGasCloudStunsWithinItsReachARatWithin10More)
{
    Map* map = load(flatRoom(""), 100, 40);
    ASSERT_NE(nullptr, map);
    // The cloud's centre will stand 30 above the grenade's centre at 500.
    TestActor* goat = addActor(CharacterTypeGoat, 500 + 55, 40, 100, 100);
    TestActor* rat = addActor(CharacterTypeRat, 500 - 38, 40 - 60, 60, 30);
    TestActor* nearRat = addActor(CharacterTypeRat, 500 + 35, 40, 60, 30);
    TestActor* farRat = addActor(CharacterTypeRat, 500 + 41, 40, 60, 30);
    for (TestActor* r : {rat, nearRat, farRat}) r->addTraits(Character::TraitWideGasCatch);
    TestActor* deaf = addActor(CharacterTypeGoat, 500, 40, 100, 100);
    deaf->setIgnoresGasCloud(true);
    deaf->setGasImmune(true);
    throwGrenade(500, 62, 0, -100, true);
    run(1);
    ASSERT_EQ(1, effectsOf<GrenadeGas>());
    const GrenadeGas* gas = dynamic_cast<GrenadeGas*>(map->getEffects().front());
    EXPECT_DOUBLE_EQ(500, gas->getCentre().getX());
    EXPECT_FALSE(goat->isIncapacitated());
    EXPECT_FALSE(rat->isIncapacitated());
    EXPECT_TRUE(nearRat->isIncapacitated());
    EXPECT_FALSE(farRat->isIncapacitated());
    EXPECT_FALSE(deaf->isIncapacitated());
    // An actor walking into the cloud later is stunned then.
    goat->setX(540);
    run(1);
    EXPECT_TRUE(goat->isIncapacitated());
    // The cloud thins out and goes.
    ASSERT_GT(runUntil([&] { return map->getEffects().empty(); }, 400), 0);
}

TEST_F(MapActorsTest, AGrenadeInACoptersCockpitStunsItWithoutGas)
{
    Map* map = load(flatRoom(""), 100, 40);
    ASSERT_NE(nullptr, map);
    TestActor* copter = addActor(CharacterTypeCopter, 1000, 100, 400, 200);
    copter->addTraits(Character::TraitCockpit);
    copter->setGasImmune(true);
    copter->setFacingLeft(false);
    throwGrenade(1020, 200, 0, 0, false);
    run(1);
    EXPECT_TRUE(map->getGrenades().empty());
    EXPECT_TRUE(map->getEffects().empty());
    EXPECT_EQ(CharacterStateStunnedRight, copter->getState());
    // Facing left, the cockpit is out of reach.
    copter->setState(CharacterStateStandLeft);
    copter->setFacingLeft(true);
    throwGrenade(1020, 200, 0, 0, false);
    run(1);
    EXPECT_EQ(1u, map->getGrenades().size());
    EXPECT_FALSE(copter->isIncapacitated());
}
