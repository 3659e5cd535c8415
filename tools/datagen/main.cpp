// kovo_datagen OUTPUT_DIR MANIFEST...
// Makes the game's placeholder pictures, sound effects and music from the manifests into
// OUTPUT_DIR. Every manifest is checked before anything is written; any error stops the run
// with exit code 1 so that the build fails.

#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>

#include "Manifest.h"
#include "Output.h"
#include "PictureFormats.h"
#include "Pictures.h"
#include "Sounds.h"

namespace {

// Raised whenever what the generator makes for an entry changes, so that files made by an
// older generator are made again.
constexpr const char* kRecipeVersion = "1";

datagen::Canvas makePicture(const datagen::Entry& e)
{
    switch (e.kind) {
    case datagen::Kind::Sprite:
        return datagen::makeSprite(e.name, e.width, e.height);
    case datagen::Kind::Glyph:
        return datagen::makeGlyph(e.width, e.height, e.character);
    default:
        return datagen::makeImage(e.name, e.width, e.height);
    }
}

// Makes one file; returns whether it was written (false when it already held the same thing).
bool makeFile(const datagen::Entry& e, const std::string& path)
{
    switch (e.kind) {
    case datagen::Kind::Wav:
        return datagen::writeIfChanged(path, datagen::encodeWav(e.name, e.milliseconds));
    case datagen::Kind::Ogg: {
        // Encoding music takes a while, so a file made from the same line is kept as it is.
        std::string recipe = std::string("v") + kRecipeVersion + " " + e.canonical;
        if (datagen::oggMadeFrom(path, recipe))
            return false;
        return datagen::writeIfChanged(path, datagen::encodeOgg(e.name, e.seconds, e.channels, recipe));
    }
    default:
        break;
    }
    datagen::Canvas canvas = makePicture(e);
    switch (e.format) {
    case datagen::PictureFormat::Bmp:
        return datagen::writeIfChanged(path, datagen::encodeBmp(canvas));
    case datagen::PictureFormat::Jpeg:
        return datagen::writeIfChanged(path, datagen::encodeJpeg(canvas, 90));
    case datagen::PictureFormat::Pcx:
        break;
    }
    return datagen::writeIfChanged(path, datagen::encodePcx(canvas));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: kovo_datagen OUTPUT_DIR [MANIFEST...]\n";
        return 2;
    }
    const std::string outputDir = argv[1];

    datagen::Manifest manifest;
    for (int i = 2; i < argc; ++i)
        datagen::readManifest(argv[i], manifest);
    for (const std::string& warning : manifest.warnings)
        std::cerr << warning << '\n';
    if (!manifest.errors.empty()) {
        for (const std::string& error : manifest.errors)
            std::cerr << error << '\n';
        std::cerr << "kovo_datagen: " << manifest.errors.size() << " error(s); nothing generated\n";
        return 1;
    }

    int written = 0;
    try {
        std::filesystem::create_directories(outputDir);
        for (const datagen::Entry& e : manifest.entries) {
            try {
                if (makeFile(e, outputDir + "/" + e.name))
                    ++written;
            } catch (const std::exception& ex) {
                throw std::runtime_error(e.origin + ": error: " + e.name + ": " + ex.what());
            }
        }
    } catch (const std::exception& ex) {
        std::cerr << ex.what() << '\n';
        return 1;
    }
    std::cout << "kovo_datagen: " << manifest.entries.size() << " files, " << written << " written\n";
    return 0;
}
