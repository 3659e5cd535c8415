#include "support/Manifest.h"

#include <dirent.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace testsupport {

namespace {

// The build names the source tree, so the manifests are found wherever the build folder is.
std::string findManifestFolder()
{
    return std::string(KOVO_SOURCE_DIR) + "/data/manifest";
}

}  // namespace

std::vector<ManifestEntry> manifestEntries()
{
    std::vector<ManifestEntry> entries;
    const std::string folder = findManifestFolder();
    if (folder.empty()) return entries;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return entries;
    std::vector<std::string> manifests;
    while (dirent* item = readdir(dir)) {
        const std::string name = item->d_name;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".txt") == 0) manifests.push_back(name);
    }
    closedir(dir);
    std::sort(manifests.begin(), manifests.end());
    for (const std::string& manifest : manifests) {
        std::ifstream in(folder + "/" + manifest);
        for (std::string line; std::getline(in, line);) {
            std::istringstream fields(line);
            ManifestEntry entry{manifest, "", "", {}};
            if (!(fields >> entry.kind) || entry.kind[0] == '#') continue;
            fields >> entry.name;
            for (std::string value; fields >> value && value[0] != '#';) entry.values.push_back(value);
            entries.push_back(entry);
        }
    }
    return entries;
}

}  // namespace testsupport
