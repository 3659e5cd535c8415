#ifndef KOVO_TESTS_BASE_SND_SNDFIXTURE_H
#define KOVO_TESTS_BASE_SND_SNDFIXTURE_H

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include <AL/al.h>
#include <AL/alc.h>

#include "Base/Snd/SndManager.h"
#include "Base/Snd/SndMusic.h"
#include "Base/Snd/SndSound.h"
#include "Base/Snd/SndSoundEffect.h"

// Every test runs with a fresh device and context (the null driver in the test runs)
// and must give back every effect it made before the device closes.
class SndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SndSoundEffect::setEnabled(true);
        SndMusic::setEnabled(true);
        ASSERT_EQ(0, _manager.init());
    }

    void TearDown() override
    {
        EXPECT_EQ(nullptr, SndSoundEffectRegistry) << "an effect was not released";
        EXPECT_EQ(nullptr, SndSoundRegistry) << "a sound was not released";
        SndSoundEffect::setEnabled(true);
        SndMusic::setEnabled(true);
        _manager.shutdown();
    }

    static void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

    // Polls until the condition holds or the time is up; the mixer runs in real time.
    static bool waitFor(const std::function<bool()>& condition, int timeoutMs)
    {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < end) {
            if (condition()) return true;
            sleepMs(5);
        }
        return condition();
    }

    static ALint sourceInt(ALuint source, ALenum what)
    {
        ALint value = -1;
        alGetSourcei(source, what, &value);
        return value;
    }

    SndManager _manager;
};

#endif
