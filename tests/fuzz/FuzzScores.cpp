// One "scores.dat" read into the high-score table. Seeds: tables the game writes.
#include "Common/HighScoreTable.h"
#include "Common/Score.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::quietLog();
    const std::string seeds = fuzzsupport::seedDirectory();
    if (!seeds.empty()) {
        HighScoreTable table;
        table.fillDefault();
        table.write(seeds + "/default.dat");
        table.insert(new Score("A NAME OF SIXTY-TWO LETTERS WOULD BE LONGER THAN THIS ONE IS", 1234567));
        table.insert(new Score("", 0));
        table.write(seeds + "/mixed.dat");
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string name = fuzzsupport::inputFileName(".dat");
    fuzzsupport::writeInput(name, data, size);
    HighScoreTable table;
    table.read(name);
    return 0;
}
