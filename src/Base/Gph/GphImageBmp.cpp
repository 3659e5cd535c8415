#include "Base/Gph/GphImageBmp.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "Base/App/Log.h"
#include "Base/Gph/GphUtils.h"

namespace {

constexpr uint16_t kMagic = 0x4D42;  // "BM"
constexpr long kHeadersEnd = 54;     // 14-byte file header + 40-byte information header

struct FileCloser {
    FILE* file;
    ~FileCloser() { fclose(file); }
};

}  // namespace

GphImageBmp::GphImageBmp(const std::string& fileName, bool transparency) : GphImage(fileName, transparency) {}

int GphImageBmp::load()
{
    if (checkFileName() != 0) return -1;
    const std::string& name = getFileName();

    FILE* file = fopen(name.c_str(), "rb");
    if (file == nullptr) {
        LOG("ERROR! Failed to open file " << name);
        return -1;
    }
    FileCloser closer{file};

    // File header.
    const uint16_t magic = GphUtils::readShort(file);
    GphUtils::readUnsigned(file);  // file size
    GphUtils::readShort(file);     // reserved
    GphUtils::readShort(file);     // reserved
    const uint32_t dataOffset = GphUtils::readUnsigned(file);
    if (magic != kMagic) {
        LOG("ERROR! " << name << " is not a BMP file!");
        return -1;
    }

    // Information header.
    GphUtils::readUnsigned(file);  // header size
    const int32_t width = GphUtils::readInt(file);
    const int32_t height = GphUtils::readInt(file);
    GphUtils::readShort(file);  // planes
    const uint16_t bitsPerPixel = GphUtils::readShort(file);
    const uint32_t compression = GphUtils::readUnsigned(file);
    GphUtils::readUnsigned(file);  // image size: the rows' own size is what gets read
    GphUtils::readInt(file);       // horizontal resolution
    GphUtils::readInt(file);       // vertical resolution
    GphUtils::readUnsigned(file);  // colours used
    GphUtils::readUnsigned(file);  // colours important

    // Whatever lies between the headers and the pixels (a palette, a longer header).
    bool headerRead = !feof(file) && !ferror(file) && dataOffset >= kHeadersEnd;
    for (uint32_t skipped = kHeadersEnd; headerRead && skipped < dataOffset; ++skipped)
        headerRead = fgetc(file) != EOF;
    if (!headerRead) {
        LOG("ERROR! Failed to read bitmap header of " << name);
        return -1;
    }

    if (bitsPerPixel != 24 || compression != 0) {
        LOG("ERROR! " << name << " is not an uncompressed 24-bit BMP file (bits per pixel " << bitsPerPixel
                      << ", compression " << compression << ")");
        return -1;
    }
    // A negative height stores the rows top to bottom.
    const int64_t rows = height < 0 ? -static_cast<int64_t>(height) : height;
    if (!checkSize(name, width, rows)) return -1;

    const size_t rowPixels = static_cast<size_t>(width);
    const size_t fileRowBytes = (rowPixels * 3 + 3) / 4 * 4;
    std::vector<unsigned char> data(fileRowBytes * static_cast<size_t>(rows));
    if (fread(data.data(), 1, data.size(), file) != data.size()) {
        LOG("ERROR! Failed to read pixel data for " << name);
        return -1;
    }

    // Rows lose their padding to 4 bytes, and blue, green, red becomes red, green, blue.
    const size_t rowBytes = rowPixels * 3;
    unsigned char* pixels = allocatePixels(rowBytes * static_cast<size_t>(rows));
    for (size_t row = 0; row < static_cast<size_t>(rows); ++row) {
        const size_t fileRow = height < 0 ? static_cast<size_t>(rows) - 1 - row : row;
        const unsigned char* from = data.data() + fileRow * fileRowBytes;
        unsigned char* to = pixels + row * rowBytes;
        for (size_t x = 0; x < rowPixels; ++x) {
            to[3 * x] = from[3 * x + 2];
            to[3 * x + 1] = from[3 * x + 1];
            to[3 * x + 2] = from[3 * x];
        }
    }

    setPixels(pixels);
    setWidth(static_cast<uint32_t>(width));
    setHeight(static_cast<uint32_t>(rows));
    setBitsPerPixel(24);
    return 0;
}
