#include "Base/Snd/SndManager.h"

#include <AL/al.h>
#include <AL/alc.h>

#include "Base/App/Log.h"
#include "Base/Snd/SndListener.h"
#include "Base/Snd/SndMusic.h"
#include "Base/Snd/SndSoundEffect.h"

namespace {

SndListener* g_listener = nullptr;

// Undoes a start-up that got part of the way.
void closeAfterFailure(ALCdevice* device, ALCcontext* context)
{
    if (context) {
        if (alcGetCurrentContext() == context) alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
    }
    if (device) alcCloseDevice(device);
}

}  // namespace

SndManager::SndManager() {}

SndManager::~SndManager()
{
    delete g_listener;
    g_listener = nullptr;
}

int SndManager::init()
{
    // The device and context steps are checked through ALC: alGetError has no context to
    // answer for yet and would report an error for every step.
    alcGetError(nullptr);
    const ALCchar* defaultName = alcGetString(nullptr, ALC_DEFAULT_DEVICE_SPECIFIER);
    ALCdevice* device = alcOpenDevice(defaultName);
    ALCenum error = alcGetError(device);
    if (error != ALC_NO_ERROR) {
        LOG("Failed to open default audio device");
        LOG(errorString(error));
        closeAfterFailure(device, nullptr);
        return -1;
    }
    if (!device) {
        LOG("Failed to open default audio device - device = NULL");
        return -1;
    }
    LOG("Open default audio device - success!");

    const ALCchar* specifier = alcGetString(device, ALC_DEVICE_SPECIFIER);
    error = alcGetError(device);
    if (error != ALC_NO_ERROR || !specifier) {
        LOG("Failed to get device specifier");
        LOG(errorString(error));
        closeAfterFailure(device, nullptr);
        return -1;
    }
    LOG("Using device: " << specifier);

    ALCcontext* context = alcCreateContext(device, nullptr);
    error = alcGetError(device);
    if (error != ALC_NO_ERROR || !context) {
        LOG("Failed to create audio rendering context");
        LOG(errorString(error));
        closeAfterFailure(device, context);
        return -1;
    }
    LOG("Create context for audio device - success!");

    ALCboolean current = alcMakeContextCurrent(context);
    error = alcGetError(device);
    if (error != ALC_NO_ERROR || current != ALC_TRUE) {
        LOG("Failed to set current audio rendering context");
        LOG(errorString(error));
        closeAfterFailure(device, context);
        return -1;
    }
    LOG("Set current audio rendering context - success!");
    return 0;
}

void SndManager::shutdown()
{
    ALCcontext* context = alcGetCurrentContext();
    if (!context) return;
    ALCdevice* device = alcGetContextsDevice(context);
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
    if (device) alcCloseDevice(device);
}

SndListener* SndManager::getListener()
{
    if (!g_listener) {
        g_listener = new SndListener();
        g_listener->setPosition(ShpCoord(0, 0, 0));
        g_listener->setOrientation(ShpCoord(0, 0, -1), ShpCoord(0, 1, 0));
    }
    return g_listener;
}

std::string SndManager::errorString(int code)
{
    // alGetError's codes share these values, so the ALC names serve both.
    switch (code) {
    case 0: return "OpenAL Error: AL_NO_ERROR";
    case 0xA001: return "OpenAL Error: ALC_INVALID_DEVICE";
    case 0xA002: return "OpenAL Error: ALC_INVALID_CONTEXT";
    case 0xA003: return "OpenAL Error: ALC_INVALID_ENUM";
    case 0xA004: return "OpenAL Error: ALC_INVALID_VALUE";
    case 0xA005: return "OpenAL Error: ALC_OUT_OF_MEMORY";
    default: return "OpenAL Error: NEW OR UNKNOWN ERROR CODE RECEIVED";
    }
}

void SndManager::setMusicEnabled(bool on)
{
    SndMusic::setEnabled(on);
}

void SndManager::setSoundEffectsEnabled(bool on)
{
    SndSoundEffect::setEnabled(on);
}
