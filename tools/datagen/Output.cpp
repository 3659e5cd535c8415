#include "Output.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace datagen {

namespace {

bool holds(const std::string& path, const Bytes& bytes)
{
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    if (error || size != bytes.size())
        return false;
    std::ifstream in(path, std::ios::binary);
    Bytes existing(bytes.size());
    in.read(reinterpret_cast<char*>(existing.data()), static_cast<std::streamsize>(existing.size()));
    return in && existing == bytes;
}

}  // namespace

bool writeIfChanged(const std::string& path, const Bytes& bytes)
{
    if (holds(path, bytes))
        return false;
    std::filesystem::path target(path);
    if (target.has_parent_path())
        std::filesystem::create_directories(target.parent_path());
    std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out)
            throw std::runtime_error("cannot write " + temporary + ": " + std::strerror(errno));
    }
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        throw std::runtime_error("cannot write " + path + ": " + error.message());
    }
    return true;
}

}  // namespace datagen
