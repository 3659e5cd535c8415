#ifndef KOVO_APPLICATION_SAVEINDEX_H
#define KOVO_APPLICATION_SAVEINDEX_H

#include <array>
#include <string>

// The names of the five save slots, kept in "save_index.txt": one line per slot, the name,
// a blank and the marker "@@@". A free slot is named "[EMPTY]". The reader takes the file as
// words separated by white space, the word "@@@" ending a name, so runs of blanks inside a
// name come back as one.
class SaveIndex {
public:
    static constexpr int kSlots = 5;
    // The longest word, and the longest name, that the reader keeps.
    static constexpr size_t kMaxText = 199;
    static const char* const kFileName;
    static const char* const kFreeSlot;
    static const char* const kMarker;
    // The stand-in for a name left empty.
    static const char* const kUntitled;

    typedef std::array<std::string, kSlots> Names;

    // Fills `names` from the file: slot 1 first, names after the fifth dropped, slots the
    // file does not reach keeping what they held. A file that cannot be opened makes every
    // slot free and gives -1. A last name without its marker is taken as far as it goes.
    static int read(const std::string& fileName, Names& names);
    // Writes the five names through a file beside the target that replaces it only once it
    // is complete. -1 when anything fails; the old file is then left as it was.
    static int write(const std::string& fileName, const Names& names);

    // "save1.dat" to "save5.dat" for slot 1 to 5.
    static std::string slotFileName(int slot);
    // A typed name as the index can hold it: every "@@@" taken out (it would end the name
    // early), and a name that would read back as a free slot, or as nothing, made "UNTITLED".
    static std::string cleanName(const std::string& typed);
};

#endif
