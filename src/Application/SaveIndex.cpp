#include "Application/SaveIndex.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "Common/AtomicFile.h"

const char* const SaveIndex::kFileName = "save_index.txt";
const char* const SaveIndex::kFreeSlot = "[EMPTY]";
const char* const SaveIndex::kMarker = "@@@";
const char* const SaveIndex::kUntitled = "UNTITLED";

namespace {

bool isBlank(int c)
{
    return std::isspace(c) != 0;
}

// The next word: white space skipped, then characters up to the next white space or the end
// of the file, of which the first kMaxText are kept. False when no character was left.
bool readWord(std::istream& in, std::string& word)
{
    word.clear();
    int c = in.get();
    while (c != EOF && isBlank(c)) c = in.get();
    if (c == EOF) return false;
    while (c != EOF && !isBlank(c)) {
        if (word.size() < SaveIndex::kMaxText) word.push_back(static_cast<char>(c));
        c = in.get();
    }
    return true;
}

// The words of a name joined by single blanks, as the reader gives it back.
std::string asRead(const std::string& name)
{
    std::string joined;
    std::string word;
    for (char c : name) {
        if (isBlank(static_cast<unsigned char>(c))) {
            if (!word.empty()) joined += (joined.empty() ? "" : " ") + word;
            word.clear();
        } else {
            word.push_back(c);
        }
    }
    if (!word.empty()) joined += (joined.empty() ? "" : " ") + word;
    return joined;
}

}  // namespace

int SaveIndex::read(const std::string& fileName, Names& names)
{
    std::ifstream in(fileName.c_str());
    if (!in) {
        names.fill(kFreeSlot);
        return -1;
    }
    std::string word;
    for (int slot = 1; readWord(in, word); ++slot) {
        std::string name;
        if (word != kMarker) {
            name = word;
            while (readWord(in, word) && word != kMarker) {
                name += ' ';
                name += word;
                if (name.size() > kMaxText) name.resize(kMaxText);
            }
        }
        if (slot <= kSlots) names[slot - 1] = name;
    }
    return 0;
}

int SaveIndex::write(const std::string& fileName, const Names& names)
{
    std::ostringstream text;
    for (const std::string& name : names) text << name << ' ' << kMarker << '\n';
    // The old index goes only when the new one is complete on disk.
    return AtomicFile::write(fileName, text.str(), false);
}

std::string SaveIndex::slotFileName(int slot)
{
    return "save" + std::to_string(slot) + ".dat";
}

std::string SaveIndex::cleanName(const std::string& typed)
{
    std::string name = typed;
    // Searched again from the start: the "@" on either side of one taken out can make another.
    for (size_t at = name.find(kMarker); at != std::string::npos; at = name.find(kMarker)) name.erase(at, 3);
    const std::string read = asRead(name);
    if (read.empty() || read == kFreeSlot) return kUntitled;
    return name;
}
