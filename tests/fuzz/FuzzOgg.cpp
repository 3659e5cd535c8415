// One Ogg Vorbis file as music both ways the game plays it: decoded whole, and streamed
// looping, which rewinds the decoder whenever a short file runs out while the two buffers
// fill, and again when it is stopped and started over.
#include <cstdlib>

#include "Base/Snd/SndMusic.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::quietLog();
    if (!fuzzsupport::openSound()) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string name = fuzzsupport::inputFileName(".ogg");
    fuzzsupport::writeInput(name, data, size);
    {
        SndMusic whole(name, false);
        whole.play();
    }
    SndMusic streamed(name, true);
    streamed.setLooping(true);
    streamed.play();
    streamed.update();
    streamed.stop();
    streamed.play();
    return 0;
}
