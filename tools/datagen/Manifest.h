#ifndef KOVO_TOOLS_DATAGEN_MANIFEST_H
#define KOVO_TOOLS_DATAGEN_MANIFEST_H

#include <string>
#include <vector>

namespace datagen {

enum class Kind { Image, Sprite, Glyph, Wav, Ogg };

enum class PictureFormat { Pcx, Bmp, Jpeg };

// One line of a manifest: a file to make.
struct Entry {
    Kind kind = Kind::Image;
    std::string name;
    PictureFormat format = PictureFormat::Pcx;  // pictures
    int width = 0;                              // pictures
    int height = 0;                             // pictures
    char character = ' ';                       // glyphs
    int milliseconds = 0;                       // wav
    double seconds = 0;                         // ogg
    int channels = 0;                           // ogg
    std::string origin;                         // "file:line"
    // The line with its values in one spelling: two lines make the same file when these match.
    std::string canonical;
};

// Everything read from a set of manifests, each file named once.
struct Manifest {
    std::vector<Entry> entries;
    std::vector<std::string> errors;    // each "file:line: error: ..."
    std::vector<std::string> warnings;  // each "file:line: warning: ..."
};

// Reads one manifest file into `manifest`. A name that an earlier line declared the same way is
// skipped; declared differently it is an error, as is every malformed line and an unreadable file.
void readManifest(const std::string& path, Manifest& manifest);

// Reads the lines of a manifest from text, `path` naming it in messages.
void readManifestText(const std::string& path, const std::string& text, Manifest& manifest);

}  // namespace datagen

#endif
