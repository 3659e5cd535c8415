#include "Application/MainMenuScreen.h"

#include "Application/ScreenHost.h"
#include "Base/Ui/UiButton.h"
#include "Base/Ui/UiIcon.h"

namespace {

struct ButtonLayout {
    const char* normal;
    const char* lit;
    double y;
};

// Ids 2 to 9, top to bottom.
const ButtonLayout kLayout[MainMenuScreen::kButtonCount] = {
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
    : MenuScreen(app, 1, "mainmenu.pcx"),
      _app(app),
      _title(nullptr),
      _buttons{}
{
    _title = new UiIcon(app, kTitle, "mainmenutitle.pcx", 0, 150, kDepth, 256, 32, false);
    addChild(_title);
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonLayout& b = kLayout[i];
        _buttons[i] = new UiButton(app, kStartGame + i, b.normal, b.lit, 0, b.y, kDepth, 512, 32, false);
        addChild(_buttons[i]);
        getNavigation().add(_buttons[i]);
    }
    // Only the save and return buttons are ever disabled; the keys step over them then.
    getNavigation().setPassOver([](const UiControl* control) { return !control->isEnabled(); });
}

MainMenuScreen::~MainMenuScreen()
{
    for (int i = kButtonCount - 1; i >= 0; --i) {
        removeChild(_buttons[i]);
        delete _buttons[i];
        _buttons[i] = nullptr;
    }
    removeChild(_title);
    delete _title;
    _title = nullptr;
}

UiButton* MainMenuScreen::getButton(int id) const
{
    if (id < kStartGame || id >= kStartGame + kButtonCount) return nullptr;
    return _buttons[id - kStartGame];
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
