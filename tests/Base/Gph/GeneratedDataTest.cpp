#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Base/Gph/GphImage.h"

namespace {

struct Entry {
    std::string manifest;
    std::string name;
    long width;
    long height;
};

// The manifests live in the source tree; tests run in a folder inside some build folder
// below it, so the first parent holding data/manifest is the tree.
std::string findManifestFolder()
{
    char buffer[4096];
    if (getcwd(buffer, sizeof buffer) == nullptr) return "";
    std::string folder = buffer;
    while (!folder.empty()) {
        const std::string candidate = folder + "/data/manifest";
        if (DIR* dir = opendir(candidate.c_str())) {
            closedir(dir);
            return candidate;
        }
        const size_t slash = folder.rfind('/');
        if (slash == std::string::npos) break;
        folder = folder.substr(0, slash);
    }
    return "";
}

std::vector<Entry> pictureEntries()
{
    std::vector<Entry> entries;
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
    for (const std::string& manifest : manifests) {
        std::ifstream in(folder + "/" + manifest);
        for (std::string line; std::getline(in, line);) {
            const size_t hash = line.find('#');
            if (hash != std::string::npos) line.erase(hash);
            std::istringstream fields(line);
            std::string kind;
            Entry entry{manifest, "", 0, 0};
            if (!(fields >> kind)) continue;
            if (kind != "image" && kind != "sprite" && kind != "glyph") continue;
            fields >> entry.name >> entry.width >> entry.height;
            entries.push_back(entry);
        }
    }
    return entries;
}

}  // namespace

TEST(GeneratedData, EveryManifestPictureLoadsAtItsSize)
{
    // With no manifests (or none naming pictures) there is nothing to check.
    for (const Entry& entry : pictureEntries()) {
        SCOPED_TRACE(entry.manifest + ": " + entry.name);
        GphImage* image = GphImage::load(entry.name, false);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(long(image->getWidth()), entry.width);
        EXPECT_EQ(long(image->getHeight()), entry.height);
        EXPECT_EQ(image->getBitsPerPixel(), 24u);
        EXPECT_NE(image->getPixels(), nullptr);
        GphImage::release(image);
    }
}
