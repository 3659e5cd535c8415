#ifndef KOVO_BASE_GPH_GPHUTILS_H
#define KOVO_BASE_GPH_GPHUTILS_H

#include <cstdint>
#include <cstdio>

// Little-endian readers for binary picture headers. Each byte is taken with fgetc and a
// missing byte counts as 0xFF; callers check feof/ferror on the file afterwards.
class GphUtils {
public:
    static uint16_t readShort(FILE* file);
    static uint32_t readUnsigned(FILE* file);
    static int32_t readInt(FILE* file);
};

#endif
