#include "SndFixture.h"

#include "Base/Snd/SndListener.h"
#include "support/Files.h"

using testsupport::logContains;

namespace {

void expectListenerOrientation(float ax, float ay, float az, float ux, float uy, float uz)
{
    ALfloat o[6] = {9, 9, 9, 9, 9, 9};
    alGetListenerfv(AL_ORIENTATION, o);
    EXPECT_FLOAT_EQ(ax, o[0]);
    EXPECT_FLOAT_EQ(ay, o[1]);
    EXPECT_FLOAT_EQ(az, o[2]);
    EXPECT_FLOAT_EQ(ux, o[3]);
    EXPECT_FLOAT_EQ(uy, o[4]);
    EXPECT_FLOAT_EQ(uz, o[5]);
}

}  // namespace

TEST_F(SndTest, StartUpOpensTheDeviceAndMakesAContextCurrent)
{
    EXPECT_TRUE(logContains("Open default audio device - success!"));
    EXPECT_TRUE(logContains("Using device: "));
    EXPECT_TRUE(logContains("Create context for audio device - success!"));
    EXPECT_TRUE(logContains("Set current audio rendering context - success!"));
    EXPECT_FALSE(logContains("Failed to"));
    ASSERT_NE(nullptr, alcGetCurrentContext());
    EXPECT_EQ(AL_NO_ERROR, alGetError());
}

TEST(SndManager, ShutDownClosesTheContextAndAnotherStartUpWorks)
{
    SndManager manager;
    ASSERT_EQ(0, manager.init());
    manager.shutdown();
    EXPECT_EQ(nullptr, alcGetCurrentContext());
    manager.shutdown();  // nothing left to close: harmless
    ASSERT_EQ(0, manager.init());
    EXPECT_NE(nullptr, alcGetCurrentContext());
    manager.shutdown();
}

TEST(SndManager, ErrorTextsOfAlAndAlcCodes)
{
    EXPECT_EQ("OpenAL Error: AL_NO_ERROR", SndManager::errorString(0));
    EXPECT_EQ("OpenAL Error: ALC_INVALID_DEVICE", SndManager::errorString(0xA001));
    EXPECT_EQ("OpenAL Error: ALC_INVALID_CONTEXT", SndManager::errorString(0xA002));
    EXPECT_EQ("OpenAL Error: ALC_INVALID_ENUM", SndManager::errorString(0xA003));
    EXPECT_EQ("OpenAL Error: ALC_INVALID_VALUE", SndManager::errorString(AL_INVALID_OPERATION));
    EXPECT_EQ("OpenAL Error: ALC_OUT_OF_MEMORY", SndManager::errorString(0xA005));
    EXPECT_EQ("OpenAL Error: NEW OR UNKNOWN ERROR CODE RECEIVED", SndManager::errorString(0xA006));
    EXPECT_EQ("OpenAL Error: NEW OR UNKNOWN ERROR CODE RECEIVED", SndManager::errorString(-1));
}

TEST_F(SndTest, ListenerIsMadeOnceLookingDownMinusZ)
{
    SndListener* listener = SndManager::getListener();
    ASSERT_NE(nullptr, listener);
    EXPECT_EQ(ShpCoord(0, 0, 0), listener->getPosition());
    ShpCoord at, up;
    listener->getOrientation(at, up);
    EXPECT_EQ(ShpCoord(0, 0, -1), at);
    EXPECT_EQ(ShpCoord(0, 1, 0), up);
    expectListenerOrientation(0, 0, -1, 0, 1, 0);

    // A second request hands out the same listener and sends nothing to OpenAL.
    ALfloat other[6] = {1, 0, 0, 0, 0, 1};
    alListenerfv(AL_ORIENTATION, other);
    EXPECT_EQ(listener, SndManager::getListener());
    expectListenerOrientation(1, 0, 0, 0, 0, 1);

    listener->setOrientation(ShpCoord(0, 0, 1), ShpCoord(0, -1, 0));
    expectListenerOrientation(0, 0, 1, 0, -1, 0);
    listener->getOrientation(at, up);
    EXPECT_EQ(ShpCoord(0, 0, 1), at);
    EXPECT_EQ(ShpCoord(0, -1, 0), up);
}

TEST_F(SndTest, ListenerPositionIsDataOnly)
{
    SndListener* listener = SndManager::getListener();
    listener->setPosition(ShpCoord(400, 300, 0));
    EXPECT_EQ(ShpCoord(400, 300, 0), listener->getPosition());
    ALfloat p[3] = {9, 9, 9};
    alGetListener3f(AL_POSITION, &p[0], &p[1], &p[2]);
    EXPECT_FLOAT_EQ(0, p[0]);
    EXPECT_FLOAT_EQ(0, p[1]);
    EXPECT_FLOAT_EQ(0, p[2]);
    alGetListener3f(AL_VELOCITY, &p[0], &p[1], &p[2]);
    EXPECT_FLOAT_EQ(0, p[0]);
}

TEST(SndManager, DestroyingTheManagerDropsTheListener)
{
    {
        SndManager manager;
        SndManager::getListener()->setPosition(ShpCoord(5, 6, 7));
    }
    EXPECT_EQ(ShpCoord(0, 0, 0), SndManager::getListener()->getPosition());
    SndManager cleanup;  // takes the listener with it
}
