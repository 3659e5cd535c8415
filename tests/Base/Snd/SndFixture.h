#ifndef KOVO_TESTS_BASE_SND_SNDFIXTURE_H
#define KOVO_TESTS_BASE_SND_SNDFIXTURE_H

#include <gtest/gtest.h>

#include <functional>

#include <AL/al.h>
#include <AL/alc.h>

#include "Base/Snd/SndManager.h"
#include "Base/Snd/SndMusic.h"
#include "Base/Snd/SndSound.h"
#include "Base/Snd/SndSoundEffect.h"
#include "support/GameTimeSound.h"

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

    // `ms` of sound time pass (see support/GameTimeSound.h).
    static void sleepMs(int ms) { testsupport::letSoundRun(static_cast<unsigned int>(ms)); }

    // Lets sound time pass until the condition holds or `timeoutMs` of it have passed.
    static bool waitFor(const std::function<bool()>& condition, int timeoutMs)
    {
        for (int waited = 0; waited < timeoutMs; waited += 5) {
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
