#include "SndFixture.h"

#include <memory>
#include <vorbis/vorbisfile.h>

#include "support/Files.h"

using testsupport::logContains;
using testsupport::logMessages;

namespace {

struct OggFacts {
    int channels = 0;
    long rate = 0;
    long frames = 0;
};

// What the decoder says of a file, to hold the music's buffer against.
OggFacts factsOf(const std::string& name)
{
    OggFacts facts;
    OggVorbis_File vf;
    if (ov_fopen(name.c_str(), &vf) != 0) return facts;
    vorbis_info* info = ov_info(&vf, -1);
    facts.channels = info->channels;
    facts.rate = info->rate;
    facts.frames = static_cast<long>(ov_pcm_total(&vf, -1));
    ov_clear(&vf);
    return facts;
}

ALuint bufferOf(const SndMusic& music)
{
    ALint buffer = 0;
    alGetSourcei(music.getSourceId(), AL_BUFFER, &buffer);
    return static_cast<ALuint>(buffer);
}

ALint bufferInt(ALuint buffer, ALenum what)
{
    ALint value = -1;
    alGetBufferi(buffer, what, &value);
    return value;
}

}  // namespace

TEST_F(SndTest, MusicTakesTheFormatAndRateOfItsFile)
{
    for (const char* name : {"test_mono.ogg", "test_stereo.ogg"}) {
        SCOPED_TRACE(name);
        OggFacts facts = factsOf(name);
        ASSERT_GT(facts.frames, 0);
        SndMusic music(name, false);
        ASSERT_NE(0u, music.getSourceId());
        ALuint buffer = bufferOf(music);
        ASSERT_NE(0u, buffer);
        EXPECT_EQ(facts.channels, bufferInt(buffer, AL_CHANNELS));
        EXPECT_EQ(16, bufferInt(buffer, AL_BITS));
        EXPECT_EQ(facts.rate, bufferInt(buffer, AL_FREQUENCY));
        EXPECT_EQ(facts.frames * facts.channels * 2, bufferInt(buffer, AL_SIZE));
        EXPECT_EQ(AL_TRUE, sourceInt(music.getSourceId(), AL_SOURCE_RELATIVE));
        ALfloat rolloff = -1;
        alGetSourcef(music.getSourceId(), AL_ROLLOFF_FACTOR, &rolloff);
        EXPECT_FLOAT_EQ(0, rolloff);
    }
}

TEST_F(SndTest, MusicPlaysToItsEndOrLoopsAndStops)
{
    SndMusic once("test_mono.ogg", false);
    EXPECT_FALSE(once.isLooping());
    EXPECT_FALSE(once.isPlaying());
    once.play();
    EXPECT_TRUE(once.isPlaying());
    EXPECT_TRUE(waitFor([&] { return !once.isPlaying(); }, 3000));

    SndMusic looping("test_stereo.ogg", false);
    looping.setLooping(true);
    EXPECT_TRUE(looping.isLooping());
    EXPECT_EQ(AL_TRUE, sourceInt(looping.getSourceId(), AL_LOOPING));
    looping.play();
    // Past the end of the one-second file it has started over.
    sleepMs(1400);
    EXPECT_TRUE(looping.isPlaying());
    looping.stop();
    EXPECT_FALSE(looping.isPlaying());
    EXPECT_EQ(AL_STOPPED, sourceInt(looping.getSourceId(), AL_SOURCE_STATE));
    looping.setLooping(false);
    EXPECT_EQ(AL_FALSE, sourceInt(looping.getSourceId(), AL_LOOPING));
}

TEST_F(SndTest, PlayWhilePlayingKeepsGoingAndPauseResumesWhereItWas)
{
    SndMusic music("test_stereo.ogg", false);
    music.play();
    ALuint source = music.getSourceId();
    ASSERT_TRUE(waitFor([&] { return sourceInt(source, AL_SAMPLE_OFFSET) > 8000; }, 2000));
    ALint before = sourceInt(source, AL_SAMPLE_OFFSET);
    music.play();
    EXPECT_GE(sourceInt(source, AL_SAMPLE_OFFSET), before);

    music.pause();
    EXPECT_FALSE(music.isPlaying());
    EXPECT_EQ(AL_PAUSED, sourceInt(source, AL_SOURCE_STATE));
    ALint paused = sourceInt(source, AL_SAMPLE_OFFSET);
    sleepMs(100);
    EXPECT_EQ(paused, sourceInt(source, AL_SAMPLE_OFFSET));
    music.play();
    EXPECT_TRUE(music.isPlaying());
    EXPECT_GE(sourceInt(source, AL_SAMPLE_OFFSET), paused);
    music.pause();
    music.resume();
    EXPECT_TRUE(music.isPlaying());

    music.setPitch(0.5f);
    EXPECT_FLOAT_EQ(0.5f, music.getPitch());
    ALfloat pitch = 0;
    alGetSourcef(source, AL_PITCH, &pitch);
    EXPECT_FLOAT_EQ(0.5f, pitch);
}

TEST_F(SndTest, MusicSwitchedOffNeitherStartsNorStopsNorCountsAsPlaying)
{
    SndMusic music("test_mono.ogg", false);
    SndManager::setMusicEnabled(false);
    music.play();
    EXPECT_EQ(AL_INITIAL, sourceInt(music.getSourceId(), AL_SOURCE_STATE));
    EXPECT_FALSE(music.isPlaying());

    SndManager::setMusicEnabled(true);
    music.setLooping(true);
    music.play();
    SndManager::setMusicEnabled(false);
    EXPECT_FALSE(music.isPlaying());
    music.stop();
    music.pause();
    EXPECT_EQ(AL_PLAYING, sourceInt(music.getSourceId(), AL_SOURCE_STATE));
    SndManager::setMusicEnabled(true);
    EXPECT_TRUE(music.isPlaying());
}

TEST_F(SndTest, UnopenableMusicIsSilentAndQuiet)
{
    testsupport::writeText("snd_not_ogg.ogg", "OggS but nothing that follows is Vorbis");
    for (const char* name : {"no_such_music.ogg", "snd_not_ogg.ogg"}) {
        SCOPED_TRACE(name);
        size_t logged;
        {
            auto music = std::make_unique<SndMusic>(name, false);
            logged = logMessages().size();
            EXPECT_EQ(0u, music->getSourceId());
            music->setLooping(true);
            music->play();
            EXPECT_FALSE(music->isPlaying());
            music->pause();
            music->resume();
            music->stop();
            EXPECT_EQ(0, music->update());
        }
        EXPECT_EQ(logged, logMessages().size());
        EXPECT_EQ(AL_NO_ERROR, alGetError());
    }
    EXPECT_TRUE(logContains("Could not open Ogg music file: no_such_music.ogg"));
    EXPECT_TRUE(logContains("Failed to open Ogg stream"));
}

TEST_F(SndTest, DamagedMusicKeepsWhatDecodedBeforeTheDamage)
{
    std::vector<unsigned char> bytes = testsupport::readFile("test_music_long.ogg");
    // The Ogg pages that carry audio (a granule position above 0), by offset.
    std::vector<size_t> audioPages;
    for (size_t i = 0; i + 27 < bytes.size(); ++i) {
        if (bytes[i] != 'O' || bytes[i + 1] != 'g' || bytes[i + 2] != 'g' || bytes[i + 3] != 'S') continue;
        long long granule = 0;
        for (int b = 7; b >= 0; --b) granule = (granule << 8) | bytes[i + 6 + b];
        if (granule > 0) audioPages.push_back(i);
    }
    ASSERT_GE(audioPages.size(), 3u);
    // Scramble the body of a page in the middle: the decoder meets a hole there.
    size_t page = audioPages[audioPages.size() / 2];
    for (size_t i = page + 40; i < page + 400; ++i) bytes[i] ^= 0x5A;
    testsupport::writeFile("snd_damaged.ogg", bytes);
    OggFacts whole = factsOf("test_music_long.ogg");

    SndMusic music("snd_damaged.ogg", false);
    ASSERT_NE(0u, music.getSourceId());
    ALint size = bufferInt(bufferOf(music), AL_SIZE);
    EXPECT_GT(size, 0);
    EXPECT_LT(size, whole.frames * whole.channels * 2);
    music.play();
    EXPECT_TRUE(music.isPlaying());
    music.stop();
}

TEST_F(SndTest, StreamedMusicRefillsItsBuffersAndLoops)
{
    OggFacts facts = factsOf("test_stereo.ogg");
    SndMusic music("test_stereo.ogg", true);
    ASSERT_NE(0u, music.getSourceId());
    music.setLooping(true);
    EXPECT_EQ(AL_FALSE, sourceInt(music.getSourceId(), AL_LOOPING));
    music.play();
    EXPECT_EQ(2, sourceInt(music.getSourceId(), AL_BUFFERS_QUEUED));
    // Well past the file's length, refilled once a frame, it still plays.
    long untilMs = facts.frames * 1000 / facts.rate + 600;
    for (long t = 0; t < untilMs; t += 5) {
        ASSERT_EQ(0, music.update());
        sleepMs(5);
    }
    EXPECT_TRUE(music.isPlaying());
    music.stop();
    EXPECT_FALSE(music.isPlaying());
    EXPECT_EQ(0, sourceInt(music.getSourceId(), AL_BUFFERS_QUEUED));

    // Without looping it runs out and is not restarted.
    music.setLooping(false);
    music.play();
    EXPECT_TRUE(waitFor([&] {
        EXPECT_EQ(0, music.update());
        return !music.isPlaying();
    }, 3000));
    EXPECT_EQ(AL_NO_ERROR, alGetError());
}
