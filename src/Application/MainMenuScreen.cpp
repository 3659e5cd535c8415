#include "Application/MainMenuScreen.h"

#include "Application/ScreenHost.h"
#include "Base/Ui/UiButton.h"

namespace {

// Ids 2 to 9, top to bottom.
const std::vector<ButtonColumnScreen::ButtonLayout> kLayout = {
    {"start_game_button.pcx", "start_game_button_lit.pcx", 50},
    {"resume_game_button.pcx", "resume_game_button_lit.pcx", 0},
    {"save_game_button.pcx", "save_game_button_lit.pcx", -50},
    {"options_button.pcx", "options_button_lit.pcx", -100},
    {"return_to_game_button.pcx", "return_to_game_button_lit.pcx", -150},
    {"instructions_button.pcx", "instructions_button_lit.pcx", -200},
    {"high_scores_button.pcx", "high_scores_button_lit.pcx", -250},
    {"exit_button.pcx", "exit_button_lit.pcx", -300},
};

}  // namespace

MainMenuScreen::MainMenuScreen(ScreenHost* app)
    : ButtonColumnScreen(app, kTitle, "mainmenutitle.pcx", kStartGame, kLayout), _app(app)
{
    // Only the save and return buttons are ever disabled; the keys step over them then.
    getNavigation().setPassOver([](const UiControl* control) { return !control->isEnabled(); });
}

void MainMenuScreen::update(unsigned int)
{
    const bool inGame = _app && _app->isGameInProgress();
    for (int id : {kSaveGame, kReturnToGame}) {
        if (inGame)
            getButton(id)->enable();
        else
            getButton(id)->disable();
    }
}

void MainMenuScreen::onEscape()
{
    if (_app) _app->exitGame();
}

void MainMenuScreen::onCommand(int id)
{
    if (!_app) return;
    switch (id) {
    case kStartGame:
        _app->startNewGame();
        break;
    case kLoadGame:
        _app->showLoadScreen();
        break;
    case kSaveGame:
        _app->showSaveScreen();
        break;
    case kOptions:
        _app->showOptions();
        break;
    case kReturnToGame:
        _app->returnToGame();
        break;
    case kInstructions:
        _app->showTutorial();
        break;
    case kHighScores:
        _app->showHighScores();
        break;
    case kExit:
        _app->exitGame();
        break;
    default:
        break;
    }
}
