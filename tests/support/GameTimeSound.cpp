#include "support/GameTimeSound.h"

#include <AL/alc.h>
#include <AL/alext.h>
#include <dlfcn.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace {

// The loopback device's mix: what the null driver would give, stereo 16-bit.
constexpr ALCint kRate = 44100;

ALCdevice* g_loopback = nullptr;
// Sound time mixed on the device so far, and the sample frames that made it: each call mixes
// up to the frame its time has reached, so that no fraction of a frame is ever lost.
std::uint64_t g_mixedMs = 0;
std::uint64_t g_mixedFrames = 0;

// OpenAL's own function of that name, behind the ones below.
template <typename Function>
Function openAl(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

bool silentDriver()
{
    const char* drivers = std::getenv("ALSOFT_DRIVERS");
    return drivers && std::strcmp(drivers, "null") == 0;
}

}  // namespace

// The device and context calls of the game (and of ALUT) come here first, as the program's
// own definitions come before the library's.
extern "C" {

ALCdevice* ALC_APIENTRY alcOpenDevice(const ALCchar* name)
{
    if (!silentDriver()) return openAl<LPALCOPENDEVICE>("alcOpenDevice")(name);
    auto openLoopback =
        reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    ALCdevice* device = openLoopback ? openLoopback(nullptr) : nullptr;
    if (device) {
        g_loopback = device;
        g_mixedMs = 0;
        g_mixedFrames = 0;
    }
    return device;
}

ALCcontext* ALC_APIENTRY alcCreateContext(ALCdevice* device, const ALCint* attributes)
{
    // A loopback device is told the format it mixes to.
    static const ALCint kLoopbackFormat[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT,
                                             ALC_SHORT_SOFT, ALC_FREQUENCY, kRate, 0};
    if (device && device == g_loopback) attributes = kLoopbackFormat;
    return openAl<LPALCCREATECONTEXT>("alcCreateContext")(device, attributes);
}

ALCboolean ALC_APIENTRY alcCloseDevice(ALCdevice* device)
{
    if (device && device == g_loopback) g_loopback = nullptr;
    return openAl<LPALCCLOSEDEVICE>("alcCloseDevice")(device);
}

}  // extern "C"

namespace testsupport {

void advanceSound(unsigned int ms)
{
    if (!g_loopback) return;
    static const auto render =
        reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    if (!render) return;
    g_mixedMs += ms;
    const std::uint64_t due = g_mixedMs * kRate / 1000;
    const ALCsizei frames = static_cast<ALCsizei>(due - g_mixedFrames);
    g_mixedFrames = due;
    if (frames <= 0) return;
    std::vector<ALshort> mix(2 * static_cast<size_t>(frames));
    render(g_loopback, mix.data(), frames);
}

void letSoundRun(unsigned int ms)
{
    if (g_loopback) {
        advanceSound(ms);
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
}

}  // namespace testsupport
