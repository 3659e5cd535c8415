#ifndef KOVO_TESTS_SUPPORT_SOUNDSUITE_H
#define KOVO_TESTS_SUPPORT_SOUNDSUITE_H

#include <gtest/gtest.h>

#include "Base/Snd/SndManager.h"

namespace testsupport {

// A suite whose tests hear the sound engine, started once for the suite as the game starts it
// (without a device when there is none).
class SoundSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_sound = new SndManager();
        s_soundStarted = s_sound->init() == 0;
    }
    static void TearDownTestSuite()
    {
        if (s_soundStarted) s_sound->shutdown();
        delete s_sound;
        s_sound = nullptr;
    }

    static inline SndManager* s_sound = nullptr;
    static inline bool s_soundStarted = false;
};

}  // namespace testsupport

#endif
