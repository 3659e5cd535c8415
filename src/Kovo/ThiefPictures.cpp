#include "Kovo/ThiefPictures.h"

namespace ThiefPictures {

std::vector<std::string> run(const char* way)
{
    std::vector<std::string> files;
    for (int i = 1; i <= 10; ++i) {
        const std::string file =
            std::string("thief_run") + way + (i < 10 ? "0" : "") + std::to_string(i) + ".pcx";
        files.push_back(file);
        files.push_back(file);
    }
    return files;
}

}  // namespace ThiefPictures
