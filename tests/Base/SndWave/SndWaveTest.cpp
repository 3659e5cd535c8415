// What the sound engine plays, heard: OpenAL's wave driver writes the mix to a file.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include "Base/Snd/SndListener.h"
#include "Base/Snd/SndManager.h"
#include "Base/Snd/SndMusic.h"
#include "Base/Snd/SndSoundEffect.h"
#include "support/Files.h"

namespace {

const char* kMixFile = "snd_mix_out.wav";

// OpenAL reads its configuration once, at its first call, so the driver is chosen
// before main: 16-bit stereo without dither, so that silence is exactly zero.
struct WaveDriver {
    WaveDriver()
    {
        testsupport::writeText("snd_wave_driver.conf",
                               "[general]\ndrivers=wave\nsample-type=int16\nchannels=stereo\n"
                               "frequency=44100\ndither=false\n[wave]\nfile=snd_mix_out.wav\n");
        setenv("ALSOFT_CONF", "snd_wave_driver.conf", 1);
        setenv("ALSOFT_DRIVERS", "wave", 1);
    }
} g_waveDriver;

unsigned readLe(const std::vector<unsigned char>& b, size_t at, int bytes)
{
    unsigned v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + i];
    return v;
}

// The loudest 16-bit sample of the mix file, or -1 when it is not a 16-bit WAV.
int loudestSample(const std::string& name, size_t* frames = nullptr)
{
    std::vector<unsigned char> b = testsupport::readFile(name);
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0) return -1;
    int bits = 0;
    int channels = 0;
    for (size_t at = 12; at + 8 <= b.size();) {
        unsigned size = readLe(b, at + 4, 4);
        if (std::memcmp(&b[at], "fmt ", 4) == 0) {
            channels = static_cast<int>(readLe(b, at + 10, 2));
            bits = static_cast<int>(readLe(b, at + 22, 2));
        } else if (std::memcmp(&b[at], "data", 4) == 0) {
            if (bits != 16 || channels == 0) return -1;
            size_t end = std::min(b.size(), at + 8 + static_cast<size_t>(size));
            int loudest = 0;
            for (size_t i = at + 8; i + 1 < end; i += 2) {
                int v = static_cast<short>(readLe(b, i, 2));
                loudest = std::max(loudest, std::abs(v));
            }
            if (frames) *frames = (end - at - 8) / (2 * channels);
            return loudest;
        }
        at += 8 + size + (size & 1);
    }
    return -1;
}

void sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Runs one session from device start to shut-down and measures what was mixed.
int loudestOfSession(const std::function<void()>& play)
{
    SndManager manager;
    if (manager.init() != 0) return -1;
    play();
    manager.shutdown();
    size_t frames = 0;
    int loudest = loudestSample(kMixFile, &frames);
    EXPECT_GT(frames, 44100u / 4) << "the mix covers the session";
    return loudest;
}

void playEffectFor(const ShpCoord& where, int ms)
{
    SndSoundEffect* effect = SndSoundEffect::create("test_long.wav");
    ASSERT_NE(nullptr, effect);
    SndSoundEffect::playAt(effect, where);
    sleepMs(ms);
    SndSoundEffect::release(effect);
}

void playMusicFor(const char* name, int ms)
{
    SndMusic music(name, false);
    music.play();
    sleepMs(ms);
}

class SndWave : public ::testing::Test {
protected:
    void TearDown() override
    {
        SndManager::setMusicEnabled(true);
        SndManager::setSoundEffectsEnabled(true);
    }
};

}  // namespace

TEST_F(SndWave, EffectIsHeardAtFullGainWhereverItIs)
{
    int atListener = loudestOfSession([] { playEffectFor(SndManager::getListener()->getPosition(), 400); });
    int farAway = loudestOfSession([] { playEffectFor(ShpCoord(100000, -50000, 0), 400); });
    EXPECT_GT(atListener, 500);
    EXPECT_GT(farAway, 500);
    EXPECT_NEAR(atListener, farAway, atListener / 20);
    SndManager cleanup;  // takes the listener
}

TEST_F(SndWave, MusicIsHeardInMonoAndStereo)
{
    EXPECT_GT(loudestOfSession([] { playMusicFor("test_mono.ogg", 400); }), 500);
    EXPECT_GT(loudestOfSession([] { playMusicFor("test_stereo.ogg", 400); }), 500);
}

TEST_F(SndWave, SwitchedOffNothingIsHeard)
{
    int loudest = loudestOfSession([] {
        SndManager::setSoundEffectsEnabled(false);
        SndManager::setMusicEnabled(false);
        SndSoundEffect* effect = SndSoundEffect::create("test_long.wav");
        ASSERT_NE(nullptr, effect);
        effect->play();
        SndMusic music("test_mono.ogg", false);
        music.play();
        sleepMs(400);
        SndSoundEffect::release(effect);
    });
    EXPECT_GE(loudest, 0);
    EXPECT_LE(loudest, 2);

    // The same session with the switches on is loud, so the silence was theirs.
    SndManager::setSoundEffectsEnabled(true);
    SndManager::setMusicEnabled(true);
    EXPECT_GT(loudestOfSession([] {
        SndSoundEffect* effect = SndSoundEffect::create("test_long.wav");
        effect->play();
        SndMusic music("test_mono.ogg", false);
        music.play();
        sleepMs(400);
        SndSoundEffect::release(effect);
    }), 500);
}
