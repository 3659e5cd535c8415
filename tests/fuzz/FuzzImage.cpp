// One picture file through the loader its extension picks (KOVO_FUZZ_EXTENSION, given by
// the build for each of the pcx, bmp and jpg targets), with the see-through colour worked
// out as the game does for sprites.
#include "Base/Gph/GphImage.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::quietLog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string name = fuzzsupport::inputFileName(KOVO_FUZZ_EXTENSION);
    fuzzsupport::writeInput(name, data, size);
    GphImage* image = GphImage::load(name, true);
    if (image) image->getPixels();
    GphImage::release(image);
    return 0;
}
