#include "Application/MainMenuScreen.h"

#include <GL/gl.h>

#include "Application/ScreenHost.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Ui/UiButton.h"
#include "Base/Ui/UiIcon.h"

namespace {

constexpr double kDepth = -10.0;
constexpr double kSide = 1024.0;

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
    : UiWindow(app, 1, true),
      _app(app),
      _image(nullptr),
      _texture(nullptr),
      _animation(nullptr),
      _picture(nullptr),
      _title(nullptr),
      _buttons{},
      _navigation(this)
{
    GphWindow* window = app ? app->getWindow() : nullptr;
    if (window && window->getCamera()) window->getCamera()->setPosition(ShpCoord(0, 0, 0));

    _image = GphImage::load("mainmenu.pcx", true);
    _texture = new GphTexture(_image, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT, GL_MODULATE, nullptr);
    _animation = new GphAnimatedTexture();
    _animation->addFrame(_texture);
    const ShpCoord centre(0, 0, kDepth);
    _picture = new GphRect(kSide, kSide, &centre, _animation, GPH_RECT);
    setGraphic(_picture);

    _title = new UiIcon(app, kTitle, "mainmenutitle.pcx", 0, 150, kDepth, 256, 32, false);
    addChild(_title);
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonLayout& b = kLayout[i];
        _buttons[i] = new UiButton(app, kStartGame + i, b.normal, b.lit, 0, b.y, kDepth, 512, 32, false);
        addChild(_buttons[i]);
        _navigation.add(_buttons[i]);
    }
    // Only the save and return buttons are ever disabled; the keys step over them then.
    _navigation.setPassOver([](const UiControl* control) { return !control->isEnabled(); });

    setPosition(0, 0, kDepth);
    setSize(kSide, kSide);
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
    setGraphic(nullptr);
    _picture->setAnimatedTexture(nullptr);
    delete _picture;
    _picture = nullptr;
    // Deletes its frame, which gives back the image.
    delete _animation;
    _animation = nullptr;
    _texture = nullptr;
    _image = nullptr;
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

void MainMenuScreen::onCharDown(char c)
{
    if (c == 10 || c == 13) {
        _navigation.enter(c);
    } else if (c == 27) {
        if (_app) _app->exitGame();
    }
}

void MainMenuScreen::onKeyDown(AppKey key)
{
    if (key == AppKeyDown)
        _navigation.down();
    else if (key == AppKeyUp)
        _navigation.up();
}

void MainMenuScreen::onMouseMove(double x, double y)
{
    _navigation.mouseMove(x, y);
}

void MainMenuScreen::onLeftButtonDown(double x, double y)
{
    _navigation.leftButtonDown(x, y);
}

void MainMenuScreen::onLeftButtonUp(double x, double y)
{
    _navigation.leftButtonUp(x, y);
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
