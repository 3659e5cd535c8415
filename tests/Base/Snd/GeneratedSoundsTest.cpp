#include <gtest/gtest.h>

#include "SndFixture.h"
#include "support/Files.h"
#include "support/Manifest.h"

// Every generated effect and piece of music loads through the game's own sound classes.
TEST_F(SndTest, EveryManifestSoundAndMusicLoads)
{
    int effects = 0;
    int musics = 0;
    for (const testsupport::ManifestEntry& entry : testsupport::manifestEntries()) {
        SCOPED_TRACE(entry.manifest + ": " + entry.name);
        if (entry.kind == "wav") {
            SndSoundEffect* effect = SndSoundEffect::create(entry.name);
            ASSERT_NE(effect, nullptr);
            ++effects;
            SndSoundEffect::release(effect);
        } else if (entry.kind == "ogg") {
            SndMusic music(entry.name, false);
            ALint buffer = 0;
            alGetSourcei(music.getSourceId(), AL_BUFFER, &buffer);
            ALint size = 0;
            alGetBufferi(static_cast<ALuint>(buffer), AL_SIZE, &size);
            EXPECT_GT(size, 0);
            ++musics;
        }
    }
    EXPECT_GT(effects, 0);
    EXPECT_GT(musics, 0);
    EXPECT_FALSE(testsupport::logContains("Could not open Ogg music file"));
}
