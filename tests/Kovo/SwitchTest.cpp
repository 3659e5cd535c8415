#include <AL/al.h>

#include "Base/Snd/SndSoundEffect.h"
#include "Kovo/Door.h"
#include "Kovo/Hammer.h"
#include "Kovo/Hazard.h"
#include "Kovo/Platform.h"
#include "Kovo/Switch.h"
#include "PropHarness.h"
#include "support/GameTimeSound.h"

using namespace proptest;

namespace {

ALint sampleOffset(const SndSoundEffect* effect)
{
    ALint value = -1;
    alGetSourcei(effect->getSourceId(), AL_SAMPLE_OFFSET, &value);
    return value;
}

bool waitForOffset(const SndSoundEffect* effect, ALint above)
{
    for (int i = 0; i < 400; ++i) {
        if (sampleOffset(effect) > above) return true;
        testsupport::letSoundRun(2);
    }
    return false;
}

class SwitchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        room = makeRoom();
        door.reset(new Door(room.get()));
        EXPECT_EQ(0, readBody(*door, "0 0 80 100 1 0 0 <ANIMATION> 1 </ANIMATION> </DOOR>"));
        platform.reset(new Platform(room.get()));
        EXPECT_EQ(0, readBody(*platform, "<WAYPOINTS> 2 0 0 50 0 </WAYPOINTS> </PLATFORM>"));
        hammer.reset(new Hammer(room.get()));
        EXPECT_EQ(0, readBody(*hammer, "<HAZARD> </HAZARD> </HAMMER>"));
        kovotest::stopAllEffects();
    }

    void TearDown() override
    {
        if (hammer) delete hammer->getHazard();
        kovotest::stopAllEffects();
    }

    std::unique_ptr<Map> room;
    std::unique_ptr<Door> door;
    std::unique_ptr<Platform> platform;
    std::unique_ptr<Hammer> hammer;
};

}  // namespace

TEST_F(SwitchTest, BuildsWithoutTouchingItsTargets)
{
    door->lock();
    platform->setVisible(false);
    Switch lever({door.get(), platform.get()}, true, false);
    EXPECT_TRUE(lever.isOn());
    EXPECT_TRUE(door->isLocked());
    EXPECT_FALSE(platform->isVisible());
    EXPECT_FALSE(kovotest::isPlaying("switch.wav"));
    EXPECT_DOUBLE_EQ(-207, lever.getZ());
    EXPECT_DOUBLE_EQ(20, lever.getTop());
    expectPictureSize(lever.getPicture(), 40, 40);
    EXPECT_EQ(lever.getPicture(), lever.getGraphic());
    EXPECT_EQ(1u, lever.getPicture()->getAnimatedTexture()->getCurrentFrame());

    Switch off({door.get()}, false, false);
    EXPECT_EQ(0u, off.getPicture()->getAnimatedTexture()->getCurrentFrame());
}

TEST_F(SwitchTest, FourTargetsOrMoreShowTheSecondLever)
{
    Platform extra(room.get());
    Switch three({door.get(), platform.get(), hammer.get()}, false, false);
    GphAnimatedTexture* threeLook = three.getPicture()->getAnimatedTexture();
    EXPECT_EQ("switch_off.pcx", kovotest::frameFile(threeLook, 0));
    EXPECT_EQ("switch_on.pcx", kovotest::frameFile(threeLook, 1));
    Switch four({door.get(), platform.get(), hammer.get(), &extra}, false, false);
    GphAnimatedTexture* fourLook = four.getPicture()->getAnimatedTexture();
    EXPECT_EQ("switch2_off.pcx", kovotest::frameFile(fourLook, 0));
    EXPECT_EQ("switch2_on.pcx", kovotest::frameFile(fourLook, 1));

    // The room sizes a switch as a square picture over its box.
    three.setPosition(100, 60, -207);
    three.setSize(30, 50);
    expectPictureSize(three.getPicture(), 50, 50);
}

TEST_F(SwitchTest, LocksDoorsAndShowsTheRest)
{
    Switch lever({door.get(), platform.get(), hammer.get()}, false, false);
    lever.setPosition(300, 40, -207);
    GphAnimatedTexture* look = lever.getPicture()->getAnimatedTexture();

    lever.toggle();
    EXPECT_TRUE(lever.isOn());
    EXPECT_TRUE(door->isLocked());
    EXPECT_TRUE(door->isVisible());
    EXPECT_TRUE(platform->isVisible());
    EXPECT_TRUE(hammer->isVisible());
    EXPECT_EQ(1u, look->getCurrentFrame());
    ASSERT_NE(nullptr, lever.getSound());
    EXPECT_TRUE(lever.getSound()->isPlaying());
    EXPECT_EQ(ShpCoord(300, 40, 0), lever.getSound()->getPosition());

    lever.toggle();
    EXPECT_FALSE(lever.isOn());
    EXPECT_FALSE(door->isLocked());
    EXPECT_TRUE(door->isVisible());
    EXPECT_FALSE(platform->isVisible());
    EXPECT_FALSE(hammer->isVisible());
    EXPECT_EQ(0u, look->getCurrentFrame());

    // An activated platform moves, a stopped one does not.
    lever.setOn(true);
    platform->update(0.1);
    EXPECT_NEAR(0, platform->getX(), 1e-12);  // the first frame turns it at its start
    platform->update(0.1);
    EXPECT_NEAR(10.5, platform->getX(), 1e-9);
    lever.setOn(false);
    platform->update(0.1);
    EXPECT_NEAR(10.5, platform->getX(), 1e-9);
}

TEST_F(SwitchTest, InitialStateOverAnUnlockedDoor)
{
    // The room makes the targets visible at load; the door keeps its own locked flag.
    Switch lever({door.get()}, true, false);
    EXPECT_FALSE(door->isLocked());
    lever.toggle();
    EXPECT_FALSE(lever.isOn());
    EXPECT_FALSE(door->isLocked());
    lever.toggle();
    EXPECT_TRUE(door->isLocked());
}

TEST_F(SwitchTest, HiddenSwitchWorksWithoutAPicture)
{
    Switch hidden({platform.get(), door.get()}, true, true);
    EXPECT_EQ(nullptr, hidden.getPicture());
    EXPECT_EQ(nullptr, hidden.getGraphic());
    hidden.draw();
    hidden.toggle();
    EXPECT_FALSE(platform->isVisible());
    EXPECT_FALSE(door->isLocked());
    ASSERT_NE(nullptr, hidden.getSound());
    EXPECT_TRUE(hidden.getSound()->isPlaying());

    // A switch over nothing still toggles and sounds.
    Switch lonely({}, false, false);
    lonely.toggle();
    EXPECT_TRUE(lonely.isOn());
}

TEST_F(SwitchTest, EveryToggleRestartsItsSound)
{
    Switch lever({platform.get()}, false, false);
    lever.toggle();
    SndSoundEffect* sound = lever.getSound();
    ASSERT_NE(nullptr, sound);
    ASSERT_TRUE(waitForOffset(sound, 1500));
    lever.toggle();
    EXPECT_TRUE(sound->isPlaying());
    EXPECT_LT(sampleOffset(sound), 1500);
}

TEST_F(SwitchTest, SavedBlockRoundTrip)
{
    Switch lever({door.get(), platform.get()}, false, false);
    lever.setPosition(300, 40, -207);
    lever.setSize(40, 60);
    lever.setId(9);
    lever.setOn(true);
    const std::string block = saved(lever);
    EXPECT_EQ("<SWITCH> 1 <SPRITE> 300 40 -207 40 60 1 </SPRITE>\n</SWITCH>\n", block);

    // The restored switch shows its state; its targets keep theirs.
    door->unlock();
    platform->setVisible(false);
    Switch fresh({door.get(), platform.get()}, false, false);
    ASSERT_EQ(0, restore(fresh, block));
    EXPECT_TRUE(fresh.isOn());
    EXPECT_EQ(1u, fresh.getPicture()->getAnimatedTexture()->getCurrentFrame());
    EXPECT_FALSE(door->isLocked());
    EXPECT_FALSE(platform->isVisible());
    EXPECT_EQ(block, saved(fresh));
    expectPictureSize(fresh.getPicture(), 60, 60);

    for (const std::string& cut : kovotest::truncations(block)) {
        Switch victim({door.get()}, false, true);
        EXPECT_EQ(-1, restore(victim, cut)) << cut;
    }
}
