#ifndef KOVO_APPLICATION_RECORDSCREENHOST_H
#define KOVO_APPLICATION_RECORDSCREENHOST_H

#include <string>

#include "Application/ScreenHost.h"

// The application as the high-score, load and save screens see it: the menus' operations plus
// the way back from these screens and the saving and restoring of games, which the game
// screen carries out.
class RecordScreenHost : public ScreenHost {
public:
    ~RecordScreenHost() override;

    // The main menu becomes the current screen.
    virtual void returnFromHighScores() = 0;
    virtual void returnFromLoadScreen() = 0;
    virtual void returnFromSaveScreen() = 0;

    // Draws and shows one frame at once, with no time passing, before a long operation.
    virtual void redraw() = 0;
    // Discards any game in progress and restores the saved game of that file. 0 when it
    // worked (the game screen is then current); -1 otherwise, the calling screen staying
    // current and the view as it was.
    virtual int loadGame(const std::string& fileName) = 0;
    // Saves the game in progress to that file. 0 when it worked, after which the load screen
    // lists `name` for `slot` (1 to 5); -1 when no game is in progress or the file could not
    // be written.
    virtual int saveGame(const std::string& fileName, int slot, const std::string& name) = 0;
};

#endif
