#include "DatagenRun.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "support/Files.h"

namespace datagentest {

std::string freshFolder(const std::string& name)
{
    std::string folder = "datagen_scratch/" + name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

RunResult runGenerator(const std::string& folder, const std::vector<std::string>& manifests)
{
    std::string command = "../../kovo_datagen '" + folder + "/out'";
    for (size_t i = 0; i < manifests.size(); ++i) {
        std::string path = folder + "/manifest" + std::to_string(i + 1) + ".txt";
        testsupport::writeText(path, manifests[i]);
        command += " '" + path + "'";
    }
    command += " >'" + folder + "/stdout.txt' 2>'" + folder + "/stderr.txt'";
    RunResult result;
    int status = std::system(command.c_str());
    if (status != -1 && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    result.out = testsupport::readText(folder + "/stdout.txt");
    result.err = testsupport::readText(folder + "/stderr.txt");
    return result;
}

std::uint32_t le16(const std::vector<unsigned char>& b, size_t at)
{
    return static_cast<std::uint32_t>(b.at(at)) | (static_cast<std::uint32_t>(b.at(at + 1)) << 8);
}

std::uint32_t le32(const std::vector<unsigned char>& b, size_t at)
{
    return le16(b, at) | (le16(b, at + 2) << 16);
}

}  // namespace datagentest
