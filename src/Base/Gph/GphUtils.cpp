#include "Base/Gph/GphUtils.h"

namespace {

uint32_t readByte(FILE* file)
{
    // EOF (-1) becomes 0xFF; the caller notices the end of the file through feof.
    return static_cast<uint32_t>(fgetc(file)) & 0xFFu;
}

}  // namespace

uint16_t GphUtils::readShort(FILE* file)
{
    const uint32_t low = readByte(file);
    const uint32_t high = readByte(file);
    return static_cast<uint16_t>(low | (high << 8));
}

uint32_t GphUtils::readUnsigned(FILE* file)
{
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= readByte(file) << (8 * i);
    return value;
}

int32_t GphUtils::readInt(FILE* file)
{
    return static_cast<int32_t>(readUnsigned(file));
}
