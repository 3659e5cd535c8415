#ifndef KOVO_APPLICATION_SCREENHOST_H
#define KOVO_APPLICATION_SCREENHOST_H

#include "Base/App/AppBase.h"

// The application as the menu screens see it: the frame (window, camera, main loop) plus the
// operations with which the title and the main menu switch screens and start, resume or end a
// game. The application object implements them; a screen keeps a pointer to it.
class ScreenHost : public AppBase {
public:
    ~ScreenHost() override;

    // The main menu becomes the current screen.
    virtual void showMainMenu() = 0;
    // Whether the game screen holds a game that can be saved or returned to.
    virtual bool isGameInProgress() = 0;
    // Discards any earlier game and builds a new one; the game screen becomes current only
    // when the new game could be built.
    virtual void startNewGame() = 0;
    virtual void showLoadScreen() = 0;
    // Only while a game is in progress.
    virtual void showSaveScreen() = 0;
    virtual void showOptions() = 0;
    // Only while a game is in progress: resumes it and makes the game screen current.
    virtual void returnToGame() = 0;
    // The instructions screen becomes current.
    virtual void showTutorial() = 0;
    virtual void showHighScores() = 0;
    // Ends the main loop after its current pass.
    virtual void exitGame() = 0;
};

#endif
