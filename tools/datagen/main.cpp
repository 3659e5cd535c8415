#include <filesystem>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: kovo_datagen OUTPUT_DIR [MANIFEST...]\n";
        return 2;
    }
    std::filesystem::create_directories(argv[1]);
    return 0;
}
