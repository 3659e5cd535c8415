#include "Common/AtomicFile.h"

#include <cstdio>
#include <fstream>

int AtomicFile::write(const std::string& fileName, const std::string& contents, bool binary)
{
    const std::string temporary = fileName + ".tmp";
    {
        std::ios::openmode mode = std::ios::out | std::ios::trunc;
        if (binary) mode |= std::ios::binary;
        std::ofstream out(temporary.c_str(), mode);
        if (!out) return -1;
        out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
        out.close();
        if (!out) {
            std::remove(temporary.c_str());
            return -1;
        }
    }
    if (std::rename(temporary.c_str(), fileName.c_str()) != 0) {
        std::remove(temporary.c_str());
        return -1;
    }
    return 0;
}
