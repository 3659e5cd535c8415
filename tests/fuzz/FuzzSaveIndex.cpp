// One "save_index.txt" read into the five slot names. Seeds: indexes the game writes.
#include "Application/SaveIndex.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::quietLog();
    const std::string seeds = fuzzsupport::seedDirectory();
    if (!seeds.empty()) {
        SaveIndex::Names names;
        names.fill(SaveIndex::kFreeSlot);
        SaveIndex::write(seeds + "/free.txt", names);
        names = {"FIRST", SaveIndex::cleanName("two  words"), SaveIndex::cleanName(""), "X", "LAST ONE"};
        SaveIndex::write(seeds + "/named.txt", names);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string name = fuzzsupport::inputFileName(".txt");
    fuzzsupport::writeInput(name, data, size);
    SaveIndex::Names names;
    SaveIndex::read(name, names);
    return 0;
}
