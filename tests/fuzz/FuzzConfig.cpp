// One "config.dat" read into the game's options, from the working folder as the game does.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "Application/KovoApplication.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::quietLog();
    const std::string seeds = fuzzsupport::seedDirectory();
    if (!seeds.empty()) {
        // As the options screen writes them.
        std::ofstream(seeds + "/windowed.dat") << "0 1 1 1 \n";
        std::ofstream(seeds + "/silent.dat") << "1 0 0 0 \n";
    }
    // The options file is read from the working folder: one of this process's own, in
    // memory like the other targets' inputs.
    const std::string folder = fuzzsupport::inputFileName("_config");
    if (mkdir(folder.c_str(), 0700) != 0 || chdir(folder.c_str()) != 0) std::abort();
    fuzzsupport::removeAtExit(folder + "/" + KovoApplication::kConfigFileName);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzsupport::writeInput(KovoApplication::kConfigFileName, data, size);
    KovoApplication::readConfig();
    return 0;
}
