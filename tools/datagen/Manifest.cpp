#include "Manifest.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace datagen {

namespace {

constexpr int kMaxPictureSide = 8192;
constexpr int kMaxMilliseconds = 10 * 60 * 1000;
constexpr double kMaxSeconds = 30 * 60;

std::string lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string extensionOf(const std::string& name)
{
    size_t slash = name.find_last_of('/');
    size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    return name.substr(dot + 1);
}

bool isPowerOfTwo(int n)
{
    return n > 0 && (n & (n - 1)) == 0;
}

// A whole decimal number of digits only, within [low, high].
bool parseInt(const std::string& text, int low, int high, int& value)
{
    if (text.empty() || text.size() > 9)
        return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    value = std::atoi(text.c_str());
    return value >= low && value <= high;
}

bool parseSeconds(const std::string& text, double& value)
{
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '.'))
        return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return *end == '\0' && std::isfinite(value) && value > 0 && value <= kMaxSeconds;
}

// A glyph's character: one printable character as it stands, a decimal character code of two or
// three digits (32 to 126), or the word "space". '#' can only be given as 35, since it starts a
// comment.
bool parseCharacter(const std::string& text, char& value)
{
    if (text.size() == 1 && text[0] > 32 && text[0] < 127) {
        value = text[0];
        return true;
    }
    if (text == "space") {
        value = ' ';
        return true;
    }
    int code = 0;
    if (text.size() >= 2 && parseInt(text, 32, 126, code)) {
        value = static_cast<char>(code);
        return true;
    }
    return false;
}

// The tokens of a line, up to a comment: '#' at the start of a token begins one.
std::vector<std::string> tokenize(const std::string& line, bool& commented)
{
    std::vector<std::string> tokens;
    std::istringstream in(line);
    std::string token;
    commented = false;
    while (in >> token) {
        if (token[0] == '#') {
            commented = true;
            break;
        }
        tokens.push_back(token);
    }
    return tokens;
}

class LineReader {
public:
    LineReader(const std::string& origin, Manifest& manifest) : origin_(origin), manifest_(manifest) {}

    void error(const std::string& message)
    {
        manifest_.errors.push_back(origin_ + ": error: " + message);
        failed_ = true;
    }
    void warning(const std::string& message) { manifest_.warnings.push_back(origin_ + ": warning: " + message); }
    bool failed() const { return failed_; }

    // Checks that the name is a plain relative path inside the output folder.
    bool checkName(const std::string& name)
    {
        if (name.front() == '/' || name.back() == '/' || name.find('\\') != std::string::npos) {
            error("bad file name '" + name + "'");
            return false;
        }
        std::istringstream parts(name);
        std::string part;
        while (std::getline(parts, part, '/')) {
            if (part.empty() || part == "." || part == "..") {
                error("bad file name '" + name + "'");
                return false;
            }
        }
        return true;
    }

    void checkPictureSize(const Entry& e)
    {
        if (!isPowerOfTwo(e.width) || !isPowerOfTwo(e.height))
            warning(e.name + " is " + std::to_string(e.width) + "x" + std::to_string(e.height) +
                    ", not a power of two on each side (OpenGL 1.1 textures need that)");
        if (e.width % 4 != 0)
            warning(e.name + " has a width of " + std::to_string(e.width) + ", not a multiple of 4");
    }

private:
    std::string origin_;
    Manifest& manifest_;
    bool failed_ = false;
};

void readLine(const std::string& origin, const std::vector<std::string>& t, bool commented, Manifest& manifest,
              std::map<std::string, size_t>& byName)
{
    LineReader reader(origin, manifest);
    Entry e;
    e.origin = origin;
    const std::string& kind = t[0];
    size_t expected = 0;
    if (kind == "image" || kind == "sprite") {
        e.kind = kind == "image" ? Kind::Image : Kind::Sprite;
        expected = 4;
    } else if (kind == "glyph") {
        e.kind = Kind::Glyph;
        expected = 5;
    } else if (kind == "wav") {
        e.kind = Kind::Wav;
        expected = 3;
    } else if (kind == "ogg") {
        e.kind = Kind::Ogg;
        expected = 4;
    } else {
        reader.error("unknown kind '" + kind + "' (expected image, sprite, glyph, wav or ogg)");
        return;
    }
    if (t.size() != expected) {
        static const char* const usage[] = {"image NAME WIDTH HEIGHT", "sprite NAME WIDTH HEIGHT",
                                            "glyph NAME WIDTH HEIGHT CHAR", "wav NAME MILLISECONDS",
                                            "ogg NAME SECONDS mono|stereo"};
        std::string hint;
        if (commented && t.size() < expected)
            hint = " (a '#' starts a comment; a glyph of '#' is given as 35)";
        reader.error("expected '" + std::string(usage[static_cast<int>(e.kind)]) + "', got " +
                     std::to_string(t.size()) + " fields" + hint);
        return;
    }
    e.name = t[1];
    if (!reader.checkName(e.name))
        return;
    std::string extension = extensionOf(e.name);
    std::ostringstream canonical;
    canonical << kind << ' ' << e.name;

    if (e.kind == Kind::Image || e.kind == Kind::Sprite || e.kind == Kind::Glyph) {
        std::string ext = lower(extension);
        if (ext == "pcx") {
            e.format = PictureFormat::Pcx;
        } else if (ext == "bmp") {
            e.format = PictureFormat::Bmp;
        } else if (ext == "jpg" || ext == "jpeg") {
            e.format = PictureFormat::Jpeg;
        } else {
            reader.error("'" + e.name + "': a picture's name must end in .pcx, .bmp, .jpg or .jpeg");
            return;
        }
        if (extension != "pcx" && extension != "PCX" && extension != "bmp" && extension != "BMP" &&
            extension != "jpg" && extension != "JPG")
            reader.warning("'" + e.name + "': the game loads only the extensions pcx, bmp and jpg, all in "
                                          "lower or all in upper case");
        if (!parseInt(t[2], 1, kMaxPictureSide, e.width))
            reader.error("bad width '" + t[2] + "' (1 to " + std::to_string(kMaxPictureSide) + ")");
        if (!parseInt(t[3], 1, kMaxPictureSide, e.height))
            reader.error("bad height '" + t[3] + "' (1 to " + std::to_string(kMaxPictureSide) + ")");
        if (e.kind == Kind::Glyph && !parseCharacter(t[4], e.character))
            reader.error("bad character '" + t[4] +
                         "' (one printable character, a code from 32 to 126, or 'space')");
        if (reader.failed())
            return;
        canonical << ' ' << e.width << ' ' << e.height;
        if (e.kind == Kind::Glyph)
            canonical << ' ' << static_cast<int>(e.character);
    } else if (e.kind == Kind::Wav) {
        if (lower(extension) != "wav") {
            reader.error("'" + e.name + "': a wav file's name must end in .wav");
            return;
        }
        if (!parseInt(t[2], 1, kMaxMilliseconds, e.milliseconds)) {
            reader.error("bad length '" + t[2] + "' (milliseconds, 1 to " + std::to_string(kMaxMilliseconds) + ")");
            return;
        }
        canonical << ' ' << e.milliseconds;
    } else {
        if (lower(extension) != "ogg") {
            reader.error("'" + e.name + "': an ogg file's name must end in .ogg");
            return;
        }
        if (!parseSeconds(t[2], e.seconds))
            reader.error("bad length '" + t[2] + "' (seconds, above 0 and at most " +
                         std::to_string(static_cast<int>(kMaxSeconds)) + ")");
        if (t[3] == "mono")
            e.channels = 1;
        else if (t[3] == "stereo")
            e.channels = 2;
        else
            reader.error("bad channels '" + t[3] + "' (mono or stereo)");
        if (reader.failed())
            return;
        canonical.precision(17);
        canonical << ' ' << e.seconds << ' ' << t[3];
    }
    e.canonical = canonical.str();

    auto found = byName.find(e.name);
    if (found != byName.end()) {
        const Entry& first = manifest.entries[found->second];
        if (first.canonical != e.canonical)
            reader.error(e.name + " is declared differently at " + first.origin + " ('" + first.canonical +
                         "' against '" + e.canonical + "')");
        return;
    }
    if (e.kind != Kind::Wav && e.kind != Kind::Ogg)
        reader.checkPictureSize(e);
    byName[e.name] = manifest.entries.size();
    manifest.entries.push_back(e);
}

}  // namespace

void readManifestText(const std::string& path, const std::string& text, Manifest& manifest)
{
    std::map<std::string, size_t> byName;
    for (size_t i = 0; i < manifest.entries.size(); ++i)
        byName[manifest.entries[i].name] = i;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        bool commented = false;
        std::vector<std::string> tokens = tokenize(line, commented);
        if (!tokens.empty())
            readLine(path + ":" + std::to_string(number), tokens, commented, manifest, byName);
    }
}

void readManifest(const std::string& path, Manifest& manifest)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        manifest.errors.push_back(path + ": error: cannot read the manifest");
        return;
    }
    std::ostringstream text;
    text << in.rdbuf();
    readManifestText(path, text.str(), manifest);
}

}  // namespace datagen
