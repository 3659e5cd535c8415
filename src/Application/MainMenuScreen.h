#ifndef KOVO_APPLICATION_MAINMENUSCREEN_H
#define KOVO_APPLICATION_MAINMENUSCREEN_H

#include "Application/ButtonColumnScreen.h"

class ScreenHost;

// The hub of the menus: eight buttons that start a new game, open the load and save screens,
// the options, the instructions and the high scores, return to a running game or quit. The
// save and return buttons work only while a game is in progress, and the keys step over them
// while they are disabled. Escape quits.
class MainMenuScreen : public ButtonColumnScreen {
public:
    // Control ids; the buttons run from the top of the screen to the bottom.
    enum {
        kStartGame = 2,
        kLoadGame = 3,
        kSaveGame = 4,
        kOptions = 5,
        kReturnToGame = 6,
        kInstructions = 7,
        kHighScores = 8,
        kExit = 9,
        kTitle = 10
    };

    explicit MainMenuScreen(ScreenHost* app);

    // Enables the save and return buttons exactly while a game is in progress.
    void update(unsigned int ms) override;
    // A button's id runs its operation of the application; other ids do nothing.
    void onCommand(int id) override;

protected:
    // Quits.
    void onEscape() override;

private:
    ScreenHost* _app;
};

#endif
