#include "support/PcxFile.h"

#include <map>
#include <stdexcept>
#include <vector>

#include "support/Files.h"

namespace testsupport {

void writePcx(const std::string& name, int width, int height, const std::function<Rgb(int x, int y)>& colourAt)
{
    std::vector<unsigned char> bytes(128, 0);
    bytes[0] = 0x0A;
    bytes[1] = 5;
    bytes[2] = 1;
    bytes[3] = 8;
    auto put16 = [&](size_t at, int v) {
        bytes[at] = static_cast<unsigned char>(v & 0xFF);
        bytes[at + 1] = static_cast<unsigned char>((v >> 8) & 0xFF);
    };
    put16(8, width);
    put16(10, height);
    bytes[65] = 1;
    put16(66, width);

    std::map<Rgb, unsigned char> palette;
    std::vector<Rgb> entries;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb colour = colourAt(x, y);
            auto it = palette.find(colour);
            if (it == palette.end()) {
                // Indices below 0xC0 stand for themselves in the run-length code.
                if (entries.size() >= 0xC0) throw std::runtime_error("too many colours for " + name);
                it = palette.emplace(colour, static_cast<unsigned char>(entries.size())).first;
                entries.push_back(colour);
            }
            bytes.push_back(it->second);
        }
    }
    bytes.push_back(0x0C);
    for (int i = 0; i < 256; ++i) {
        const Rgb colour = i < static_cast<int>(entries.size()) ? entries[i] : Rgb{0, 0, 0};
        bytes.insert(bytes.end(), colour.begin(), colour.end());
    }
    writeFile(name, bytes);
}

void writeSolidPcx(const std::string& name, Rgb colour, int width, int height)
{
    writePcx(name, width, height, [&](int, int) { return colour; });
}

}  // namespace testsupport
