// One WAV file loaded into a sound buffer, as every sound effect is.
#include <cstdlib>

#include "Base/Snd/SndSound.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::quietLog();
    // Without a device no file is read at all.
    if (!fuzzsupport::openSound()) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string name = fuzzsupport::inputFileName(".wav");
    fuzzsupport::writeInput(name, data, size);
    SndSound* sound = SndSound::create(name);
    SndSound::release(sound);
    return 0;
}
