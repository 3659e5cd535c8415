#include "Base/Gph/GphImagePcx.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "Base/App/Log.h"

namespace {

constexpr size_t kHeaderSize = 128;
constexpr size_t kPaletteSize = 768;  // 256 entries of red, green, blue at the end of the file
constexpr size_t kChunkSize = 512;

struct FdCloser {
    int fd;
    ~FdCloser() { close(fd); }
};

int16_t readInt16(const unsigned char* bytes)
{
    return static_cast<int16_t>(bytes[0] | (bytes[1] << 8));
}

// Reads exactly `size` bytes at `offset`; false on a short read.
bool readAt(int fd, off_t offset, unsigned char* into, size_t size)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t got = pread(fd, into + done, size - done, offset + static_cast<off_t>(done));
        if (got <= 0) return false;
        done += static_cast<size_t>(got);
    }
    return true;
}

}  // namespace

GphImagePcx::GphImagePcx(const std::string& fileName, bool transparency) : GphImage(fileName, transparency) {}

int GphImagePcx::load()
{
    if (checkFileName() != 0) return -1;
    const std::string& name = getFileName();

    const int fd = open(name.c_str(), O_RDONLY);
    if (fd < 0) {
        LOG("ERROR! Failed to open file " << name);
        return -1;
    }
    FdCloser closer{fd};

    struct stat info;
    unsigned char header[kHeaderSize];
    if (fstat(fd, &info) != 0 || !readAt(fd, 0, header, kHeaderSize)) {
        LOG("ERROR! Failed to read PCX header of " << name);
        return -1;
    }
    const int bitsPerPixel = static_cast<signed char>(header[3]);
    const int planes = header[65];
    const int xMax = readInt16(header + 8);
    const int yMax = readInt16(header + 10);
    const int bytesPerLine = readInt16(header + 66);
    if (bitsPerPixel != 8 || planes != 1 || xMax <= 0 || xMax > bytesPerLine) {
        LOG("ERROR! Unsupported PCX format in " << name << " (bits per pixel " << bitsPerPixel << ", planes "
                                                << planes << ", Xmax " << xMax << ", bytes per line "
                                                << bytesPerLine << ")");
        return -1;
    }
    if (!checkSize(name, bytesPerLine, yMax)) return -1;
    const size_t fileSize = static_cast<size_t>(info.st_size);
    if (fileSize < kHeaderSize + kPaletteSize) {
        LOG("ERROR! " << name << " is too short for its palette");
        return -1;
    }

    // Run-length decoding of the index rows, from the header to the palette.
    const size_t lineBytes = static_cast<size_t>(bytesPerLine);
    const size_t rows = static_cast<size_t>(yMax);
    std::vector<unsigned char> indices(lineBytes * rows);
    const size_t dataEnd = fileSize - kPaletteSize;
    size_t filled = 0;
    size_t position = kHeaderSize;
    unsigned char chunk[kChunkSize];
    size_t chunkLength = 0;
    size_t chunkIndex = 0;
    auto nextByte = [&](unsigned char& byte) {
        if (chunkIndex == chunkLength) {
            if (position >= dataEnd) return false;
            chunkLength = std::min(kChunkSize, dataEnd - position);
            if (!readAt(fd, static_cast<off_t>(position), chunk, chunkLength)) return false;
            position += chunkLength;
            chunkIndex = 0;
        }
        byte = chunk[chunkIndex++];
        return true;
    };
    while (filled < indices.size()) {
        unsigned char byte = 0;
        if (!nextByte(byte)) {
            LOG("ERROR! Failed to read pixel data for " << name);
            return -1;
        }
        if (byte < 0xC1) {
            indices[filled++] = byte;
            continue;
        }
        const size_t run = byte - 0xC0u;
        unsigned char value = 0;
        if (!nextByte(value)) {
            LOG("ERROR! Failed to read pixel data for " << name);
            return -1;
        }
        // A run may go on into the next line but never past the last one.
        const size_t count = std::min(run, indices.size() - filled);
        std::memset(indices.data() + filled, value, count);
        filled += count;
    }

    unsigned char palette[kPaletteSize];
    if (!readAt(fd, static_cast<off_t>(dataEnd), palette, kPaletteSize)) {
        LOG("ERROR! Failed to read palette of " << name);
        return -1;
    }

    // The file's last row becomes the buffer's first (bottom) row. Columns from Xmax on
    // stay black.
    const size_t rowBytes = lineBytes * 3;
    unsigned char* pixels = allocatePixels(rowBytes * rows);
    for (size_t row = 0; row < rows; ++row) {
        const unsigned char* from = indices.data() + (rows - 1 - row) * lineBytes;
        unsigned char* to = pixels + row * rowBytes;
        for (size_t x = 0; x < static_cast<size_t>(xMax); ++x) {
            const unsigned char* colour = palette + 3 * from[x];
            to[3 * x] = colour[0];
            to[3 * x + 1] = colour[1];
            to[3 * x + 2] = colour[2];
        }
    }

    setPixels(pixels);
    setWidth(static_cast<uint32_t>(bytesPerLine));
    setHeight(static_cast<uint32_t>(yMax));
    setBitsPerPixel(24);
    return 0;
}
