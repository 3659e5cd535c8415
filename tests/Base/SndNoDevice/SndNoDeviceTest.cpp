// The game must run on without any sound device: every sound call is then harmless.
#include <gtest/gtest.h>

#include <cstdlib>

#include <AL/alc.h>

#include "Base/Snd/SndListener.h"
#include "Base/Snd/SndManager.h"
#include "Base/Snd/SndMusic.h"
#include "Base/Snd/SndSound.h"
#include "Base/Snd/SndSoundEffect.h"
#include "support/Files.h"

using testsupport::logContains;

namespace {

// OpenAL picks its driver at its first call; this one does not exist.
struct NoDriver {
    NoDriver() { setenv("ALSOFT_DRIVERS", "nosuchdriver", 1); }
} g_noDriver;

}  // namespace

TEST(SndNoDevice, StartUpFailsAndEverySoundCallIsHarmless)
{
    SndManager manager;
    EXPECT_EQ(-1, manager.init());
    EXPECT_TRUE(logContains("Failed to open default audio device"));
    EXPECT_FALSE(logContains("Set current audio rendering context - success!"));
    EXPECT_EQ(nullptr, alcGetCurrentContext());

    SndListener* listener = SndManager::getListener();
    ASSERT_NE(nullptr, listener);
    listener->setPosition(ShpCoord(400, 300, 0));
    EXPECT_EQ(ShpCoord(400, 300, 0), listener->getPosition());
    listener->setOrientation(ShpCoord(0, 0, -1), ShpCoord(0, 1, 0));

    // Without a device no effect can be made, and callers skip null effects.
    SndSoundEffect* effect = SndSoundEffect::create("menu_item_click1.wav");
    EXPECT_EQ(nullptr, effect);
    EXPECT_TRUE(logContains("Failed to instantiate SndSound for: menu_item_click1.wav"));
    SndSoundEffect::playAt(effect, ShpCoord(1, 2, 0));
    SndSoundEffect::release(effect);
    SndSoundEffect::updateAll();
    EXPECT_EQ(nullptr, SndSound::create("menu_item_click1.wav"));

    // Music decodes but has nowhere to play.
    {
        SndMusic music("test_mono.ogg", false);
        music.setLooping(true);
        music.setPitch(1.0f);
        music.play();
        EXPECT_FALSE(music.isPlaying());
        music.pause();
        music.resume();
        EXPECT_EQ(0, music.update());
        music.stop();
    }
    {
        SndMusic streamed("test_stereo.ogg", true);
        streamed.play();
        EXPECT_FALSE(streamed.isPlaying());
        EXPECT_EQ(0, streamed.update());
    }

    SndManager::setMusicEnabled(false);
    SndManager::setSoundEffectsEnabled(false);
    SndManager::setMusicEnabled(true);
    SndManager::setSoundEffectsEnabled(true);
    manager.shutdown();
    manager.shutdown();
}
