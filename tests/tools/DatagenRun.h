#ifndef KOVO_TESTS_TOOLS_DATAGENRUN_H
#define KOVO_TESTS_TOOLS_DATAGENRUN_H

#include <cstdint>
#include <string>
#include <vector>

// Runs of the built data generator: the test program's working directory is
// <build>/run/test_tools/, and the generator sits in <build>/.
namespace datagentest {

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// A fresh, empty scratch folder for one test; returns its name (relative to the working directory).
std::string freshFolder(const std::string& name);

// Writes each manifest text to folder/manifestN.txt and runs the generator on them with the
// output folder folder/out.
RunResult runGenerator(const std::string& folder, const std::vector<std::string>& manifests);

std::uint32_t le16(const std::vector<unsigned char>& b, size_t at);
std::uint32_t le32(const std::vector<unsigned char>& b, size_t at);

}  // namespace datagentest

#endif
