#include "SndFixture.h"

#include <sstream>
#include <vector>

#include "Base/App/Globals.h"
#include "support/Files.h"

using testsupport::logContains;
using testsupport::logMessages;

namespace {

const char* kShort = "test_short.wav";  // 100 ms
const char* kLong = "test_long.wav";    // 3 s

int slotOf(ALuint source)
{
    for (int slot = 0; slot < SndSourcePoolSize; ++slot)
        if (SndSourcePool[slot] == source) return slot;
    return -1;
}

std::vector<SndSoundEffect*> makeEffects(const char* file, int n)
{
    std::vector<SndSoundEffect*> effects;
    for (int i = 0; i < n; ++i) effects.push_back(SndSoundEffect::create(file));
    return effects;
}

void releaseAll(std::vector<SndSoundEffect*>& effects)
{
    for (SndSoundEffect*& e : effects) SndSoundEffect::release(e);
}

}  // namespace

TEST_F(SndTest, TenEffectsTakeTheTenSlotsAndTheEleventhWaitsForAFinishedOne)
{
    std::vector<SndSoundEffect*> effects = makeEffects(kLong, 9);
    effects.insert(effects.begin() + 4, SndSoundEffect::create(kShort));
    SndSoundEffect* eleventh = SndSoundEffect::create(kLong);
    ASSERT_NE(nullptr, eleventh);
    for (int i = 0; i < 10; ++i) {
        ASSERT_NE(nullptr, effects[i]);
        effects[i]->play();
        EXPECT_TRUE(effects[i]->isPlaying());
        EXPECT_EQ(i, slotOf(effects[i]->getSourceId()));
    }
    EXPECT_EQ(10u, SndBusySources.size());
    EXPECT_TRUE(SndFreeSources.empty());

    eleventh->play();
    EXPECT_FALSE(eleventh->isPlaying());
    EXPECT_EQ(0u, eleventh->getSourceId());
    EXPECT_TRUE(logContains("Failed to obtain source ID to play sound effect."));

    // The short one ends; its source comes back only with the next reclaim pass.
    ASSERT_TRUE(waitFor([&] { return sourceInt(effects[4]->getSourceId(), AL_SOURCE_STATE) == AL_STOPPED; }, 2000));
    EXPECT_TRUE(effects[4]->isPlaying());
    SndSoundEffect::updateAll();
    EXPECT_FALSE(effects[4]->isPlaying());
    EXPECT_EQ(1u, SndFreeSources.count(4));
    for (int i = 0; i < 10; ++i) {
        if (i == 4) continue;
        EXPECT_TRUE(effects[i]->isPlaying()) << i;
    }

    eleventh->play();
    EXPECT_TRUE(eleventh->isPlaying());
    EXPECT_EQ(4, slotOf(eleventh->getSourceId()));
    EXPECT_EQ(AL_PLAYING, sourceInt(eleventh->getSourceId(), AL_SOURCE_STATE));

    SndSoundEffect::release(eleventh);
    releaseAll(effects);
}

TEST_F(SndTest, StoppedEffectGivesItsSlotToTheNextOne)
{
    std::vector<SndSoundEffect*> effects = makeEffects(kLong, 4);
    for (int i = 0; i < 3; ++i) effects[i]->play();
    effects[0]->stop();
    EXPECT_FALSE(effects[0]->isPlaying());
    EXPECT_EQ(0u, effects[0]->getSourceId());
    effects[0]->stop();  // a second stop does nothing
    EXPECT_EQ(8u, SndFreeSources.size());
    effects[3]->play();
    EXPECT_EQ(0, slotOf(effects[3]->getSourceId()));
    EXPECT_EQ(AL_PLAYING, sourceInt(effects[3]->getSourceId(), AL_SOURCE_STATE));
    releaseAll(effects);
}

TEST_F(SndTest, PlayingAgainRestartsOnTheSameSource)
{
    SndSoundEffect* effect = SndSoundEffect::create(kLong);
    effect->play();
    ALuint source = effect->getSourceId();
    ASSERT_TRUE(waitFor([&] { return sourceInt(source, AL_SAMPLE_OFFSET) > 4000; }, 2000));
    effect->play();
    EXPECT_EQ(source, effect->getSourceId());
    EXPECT_EQ(1u, SndBusySources.size());
    EXPECT_LT(sourceInt(source, AL_SAMPLE_OFFSET), 4000);
    EXPECT_EQ(AL_PLAYING, sourceInt(source, AL_SOURCE_STATE));
    EXPECT_EQ(AL_NO_ERROR, alGetError());
    SndSoundEffect::release(effect);
}

TEST_F(SndTest, PlayAtSetsThePositionAndRestarts)
{
    SndSoundEffect* effect = SndSoundEffect::create(kLong);
    effect->play();
    ASSERT_TRUE(waitFor([&] { return sourceInt(effect->getSourceId(), AL_SAMPLE_OFFSET) > 4000; }, 2000));
    SndSoundEffect::playAt(effect, ShpCoord(5000, -200, 0));
    EXPECT_EQ(ShpCoord(5000, -200, 0), effect->getPosition());
    EXPECT_TRUE(effect->isPlaying());
    EXPECT_EQ(1u, SndBusySources.size());
    EXPECT_LT(sourceInt(effect->getSourceId(), AL_SAMPLE_OFFSET), 4000);
    // The position is data only: the source stays at the origin at full gain.
    ALfloat p[3] = {9, 9, 9};
    alGetSource3f(effect->getSourceId(), AL_POSITION, &p[0], &p[1], &p[2]);
    EXPECT_FLOAT_EQ(0, p[0]);
    EXPECT_FLOAT_EQ(0, p[1]);
    ALfloat gain = 0;
    alGetSourcef(effect->getSourceId(), AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(1, gain);
    SndSoundEffect::playAt(nullptr, ShpCoord(1, 2, 0));  // a missing effect is skipped
    SndSoundEffect::release(effect);
}

TEST_F(SndTest, SwitchedOffEffectsDoNotStartButPlayingOnesGoOn)
{
    SndSoundEffect* playing = SndSoundEffect::create(kLong);
    SndSoundEffect* refused = SndSoundEffect::create(kLong);
    playing->play();
    SndManager::setSoundEffectsEnabled(false);
    size_t before = logMessages().size();
    refused->play();
    EXPECT_FALSE(refused->isPlaying());
    EXPECT_EQ(before, logMessages().size());
    EXPECT_TRUE(playing->isPlaying());
    EXPECT_EQ(AL_PLAYING, sourceInt(playing->getSourceId(), AL_SOURCE_STATE));
    playing->pause();  // refused while off
    EXPECT_EQ(AL_PLAYING, sourceInt(playing->getSourceId(), AL_SOURCE_STATE));

    SndManager::setSoundEffectsEnabled(true);
    playing->pause();
    EXPECT_EQ(AL_PAUSED, sourceInt(playing->getSourceId(), AL_SOURCE_STATE));
    SndSoundEffect::updateAll();
    EXPECT_TRUE(playing->isPlaying());
    playing->resume();
    EXPECT_EQ(AL_PLAYING, sourceInt(playing->getSourceId(), AL_SOURCE_STATE));
    refused->play();
    EXPECT_TRUE(refused->isPlaying());
    SndSoundEffect::release(playing);
    SndSoundEffect::release(refused);
}

TEST_F(SndTest, LoopingEffectPlaysUntilStopped)
{
    SndSoundEffect* effect = SndSoundEffect::create(kShort);
    effect->setLooping(true);
    EXPECT_TRUE(effect->isLooping());
    effect->play();
    EXPECT_EQ(AL_TRUE, sourceInt(effect->getSourceId(), AL_LOOPING));
    sleepMs(300);
    SndSoundEffect::updateAll();
    EXPECT_TRUE(effect->isPlaying());
    EXPECT_EQ(AL_PLAYING, sourceInt(effect->getSourceId(), AL_SOURCE_STATE));

    effect->setLooping(false);
    EXPECT_EQ(AL_FALSE, sourceInt(effect->getSourceId(), AL_LOOPING));
    effect->setPitch(1.5f);
    EXPECT_FLOAT_EQ(1.5f, effect->getPitch());
    ALfloat pitch = 0;
    alGetSourcef(effect->getSourceId(), AL_PITCH, &pitch);
    EXPECT_FLOAT_EQ(1.5f, pitch);
    ASSERT_TRUE(waitFor([&] {
        SndSoundEffect::updateAll();
        return !effect->isPlaying();
    }, 2000));
    EXPECT_EQ(10u, SndFreeSources.size());
    SndSoundEffect::release(effect);
}

TEST_F(SndTest, ReleasingPlayingLoopedEffectsLosesNoSlot)
{
    // A keeper holds the pool while the ten are made and released.
    SndSoundEffect* keeper = SndSoundEffect::create(kShort);
    std::vector<SndSoundEffect*> effects = makeEffects("menu_item_click1.wav", 10);
    for (SndSoundEffect* e : effects) {
        e->setLooping(true);
        e->play();
    }
    EXPECT_EQ(10u, SndBusySources.size());
    std::vector<ALuint> sources;
    for (SndSoundEffect* e : effects) sources.push_back(e->getSourceId());
    ALuint buffer = SndSoundRegistry->at("menu_item_click1.wav")->getBufferId();
    releaseAll(effects);
    EXPECT_EQ(10u, SndFreeSources.size());
    EXPECT_TRUE(SndBusySources.empty());
    for (ALuint s : sources) EXPECT_EQ(AL_STOPPED, sourceInt(s, AL_SOURCE_STATE));
    // The buffer was free to go, and its deletion left no error behind.
    EXPECT_FALSE(alIsBuffer(buffer));
    EXPECT_EQ(AL_NO_ERROR, alGetError());

    std::vector<SndSoundEffect*> again = makeEffects("menu_item_rollover.wav", 10);
    for (SndSoundEffect* e : again) {
        ASSERT_NE(nullptr, e);
        e->play();
        EXPECT_TRUE(e->isPlaying());
    }
    releaseAll(again);
    SndSoundEffect::release(keeper);
}

TEST_F(SndTest, AnEarlierOpenAlErrorDoesNotFailTheNextLoad)
{
    alSourcePlay(0xFFFFFu);  // leaves AL_INVALID_NAME pending
    SndSoundEffect* effect = SndSoundEffect::create(kShort);
    EXPECT_NE(nullptr, effect);
    SndSoundEffect::release(effect);
}

TEST_F(SndTest, MissingOrUnreadableWavGivesNoEffect)
{
    EXPECT_EQ(nullptr, SndSoundEffect::create("no_such_sound.wav"));
    EXPECT_TRUE(logContains("Problem file = no_such_sound.wav"));
    EXPECT_TRUE(logContains("Failed to read sound: no_such_sound.wav"));
    EXPECT_TRUE(logContains("Failed to instantiate SndSound for: no_such_sound.wav"));

    testsupport::writeText("snd_not_a_wave.wav", "RIFF this is not a sound at all");
    EXPECT_EQ(nullptr, SndSoundEffect::create("snd_not_a_wave.wav"));
    EXPECT_TRUE(logContains("Failed to read sound: snd_not_a_wave.wav"));
    EXPECT_EQ(nullptr, SndSoundEffect::create(""));
    EXPECT_EQ(nullptr, SndSoundRegistry);

    // The registry and pool made on the way stay; the next effect uses them and its
    // release takes them down.
    ASSERT_NE(nullptr, SndSoundEffectRegistry);
    EXPECT_TRUE(SndSoundEffectRegistry->empty());
    SndSoundEffect* effect = SndSoundEffect::create(kShort);
    ASSERT_NE(nullptr, effect);
    effect->play();
    EXPECT_TRUE(effect->isPlaying());
    SndSoundEffect::release(effect);
}

TEST_F(SndTest, EffectsOfOneFileShareOneSound)
{
    SndSoundEffect* a = SndSoundEffect::create(kShort);
    SndSoundEffect* b = SndSoundEffect::create(kShort);
    ASSERT_NE(nullptr, a);
    ASSERT_NE(nullptr, b);
    EXPECT_NE(a->getId(), b->getId());
    EXPECT_EQ(a->getId() + 1, b->getId());
    EXPECT_EQ(kShort, a->getFileName());
    ASSERT_EQ(1u, SndSoundRegistry->size());
    ALuint buffer = SndSoundRegistry->at(kShort)->getBufferId();
    EXPECT_TRUE(alIsBuffer(buffer));
    SndSoundEffect::release(a);
    EXPECT_EQ(nullptr, a);
    EXPECT_TRUE(alIsBuffer(buffer));
    SndSoundEffect::release(b);
    EXPECT_EQ(nullptr, SndSoundRegistry);
    EXPECT_FALSE(alIsBuffer(buffer));
}

TEST_F(SndTest, LastEffectTakesThePoolAndTheNextBuildsANewOne)
{
    SndSoundEffect* effect = SndSoundEffect::create(kShort);
    ASSERT_NE(nullptr, SndSourcePool);
    std::vector<ALuint> old(SndSourcePool, SndSourcePool + SndSourcePoolSize);
    for (int slot = 0; slot < SndSourcePoolSize; ++slot) {
        EXPECT_TRUE(alIsSource(old[slot]));
        EXPECT_EQ(old[slot], SndFreeSources.at(slot));
    }
    SndSoundEffect::release(effect);
    EXPECT_EQ(nullptr, SndSourcePool);
    EXPECT_EQ(nullptr, SndSoundEffectRegistry);
    EXPECT_TRUE(SndFreeSources.empty());
    EXPECT_TRUE(SndBusySources.empty());
    for (ALuint s : old) EXPECT_FALSE(alIsSource(s));

    effect = SndSoundEffect::create(kShort);
    ASSERT_NE(nullptr, SndSourcePool);
    EXPECT_EQ(10u, SndFreeSources.size());
    for (int slot = 0; slot < SndSourcePoolSize; ++slot) EXPECT_TRUE(alIsSource(SndSourcePool[slot]));
    SndSoundEffect::release(effect);
}

TEST_F(SndTest, ReferencesAreCountedAndReleaseNullsThePointer)
{
    SndSoundEffect* effect = SndSoundEffect::create(kShort);
    SndSoundEffect* second = effect;
    effect->addRef();
    SndSoundEffect::release(effect);
    EXPECT_EQ(nullptr, effect);
    ASSERT_NE(nullptr, SndSoundEffectRegistry);
    EXPECT_EQ(1u, SndSoundEffectRegistry->size());
    SndSoundEffect::release(second);
    EXPECT_EQ(nullptr, second);
    EXPECT_EQ(nullptr, SndSoundEffectRegistry);
    SndSoundEffect* none = nullptr;
    SndSoundEffect::release(none);
    SndSound* noSound = nullptr;
    SndSound::release(noSound);
}

TEST_F(SndTest, ReleaseOfObjectsMissingFromTheirMapsIsLoggedAndStillDeletes)
{
    SndSoundEffect* keeper = SndSoundEffect::create(kShort);
    SndSoundEffect* stray = SndSoundEffect::create(kShort);
    SndSoundEffectRegistry->erase(stray->getId());
    stray->play();
    SndSoundEffect::release(stray);
    EXPECT_TRUE(logContains("ERROR! Failed to find sound effect in map"));
    EXPECT_EQ(10u, SndFreeSources.size());

    SndSound* sound = SndSound::create(kLong);
    ASSERT_NE(nullptr, sound);
    SndSoundRegistry->erase(kLong);
    ALuint buffer = sound->getBufferId();
    SndSound::release(sound);
    EXPECT_EQ(nullptr, sound);
    EXPECT_TRUE(logContains("ERROR! Failed to find sound in map"));
    EXPECT_FALSE(alIsBuffer(buffer));
    SndSoundEffect::release(keeper);
}

TEST_F(SndTest, SoundReloadsWhenOpenAlLostItsBuffer)
{
    SndSound* sound = SndSound::create(kShort);
    ASSERT_NE(nullptr, sound);
    ALuint buffer = sound->getBufferId();
    alDeleteBuffers(1, &buffer);
    ASSERT_FALSE(alIsBuffer(buffer));
    sound->ensureLoaded();
    EXPECT_TRUE(alIsBuffer(sound->getBufferId()));
    ALint size = 0;
    alGetBufferi(sound->getBufferId(), AL_SIZE, &size);
    EXPECT_GT(size, 0);
    SndSound::release(sound);
}

TEST_F(SndTest, SoundBlockWritesAndReads)
{
    SndSound* sound = SndSound::create(kShort);
    std::ostringstream out;
    EXPECT_EQ(0, sound->write(out));
    EXPECT_EQ("<SOUND>\n<FILENAME>\ntest_short.wav\n</FILENAME>\n</SOUND>\n", out.str());

    std::istringstream in(out.str().substr(std::string("<SOUND>").size()));
    SndSound* read = SndSound::read(in);
    EXPECT_EQ(sound, read);  // shared by file name
    SndSound::release(read);
    SndSound::release(sound);
    EXPECT_EQ(nullptr, SndSoundRegistry);

    std::istringstream bad("<FILENAME> test_short.wav </FILENAME> <VOLUME> 3 </VOLUME> </SOUND>");
    EXPECT_EQ(nullptr, SndSound::read(bad));
    EXPECT_TRUE(logContains("Unknown tag: <VOLUME>"));
    EXPECT_EQ(nullptr, SndSoundRegistry);
    std::istringstream cut("<FILENAME> test_short.wav </FILENAME>");
    EXPECT_EQ(nullptr, SndSound::read(cut));
    EXPECT_EQ(nullptr, SndSoundRegistry);
}
