#ifndef KOVO_TESTS_FUZZ_FUZZSUPPORT_H
#define KOVO_TESTS_FUZZ_FUZZSUPPORT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class KovoApplication;

// What the fuzz targets share. Each target runs in a working folder of its own that links
// the generated game data (scripts/run-fuzz.sh makes it); every reader under test takes a
// file name, so each input is written to a file there first.
namespace fuzzsupport {

// The log goes nowhere: millions of inputs would fill the disk with "ktlog.txt".
void quietLog();

// The file this process writes its inputs to, ending in `extension` (the readers pick their
// format by it); removed at exit.
std::string inputFileName(const std::string& extension);
// The file or (empty) folder is removed when the process ends normally; later ones first.
void removeAtExit(const std::string& path);
void writeInput(const std::string& fileName, const uint8_t* data, size_t size);

// Opens the sound device (OpenAL Soft's null driver unless the caller chose one); false when
// there is none, after which every sound fails to load before its file is read.
bool openSound();

// The game itself, started once in a window (the working folder's "config.dat" asks for
// one), with a new game begun; null when it does not start.
KovoApplication* startGame();

// Every picture loaded so far stays loaded, with its texture, for the rest of the process:
// a later input that names it takes it from the cache instead of decoding and uploading it.
void holdLoadedPictures();

// The file names of the game's thirty levels, chapter by chapter: every class of the cast
// first appears in one of them.
const std::vector<std::string>& levelFiles();

// The folder named by KOVO_FUZZ_SEED_DIR, when set: a target whose seeds are made by the game
// itself (saves, score tables) writes them there at start-up. Empty otherwise.
std::string seedDirectory();

}  // namespace fuzzsupport

#endif
