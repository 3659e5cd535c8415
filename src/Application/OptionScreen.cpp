#include "Application/OptionScreen.h"

#include "Application/KovoApplication.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Ui/UiButton.h"
#include "Base/Ui/UiCheckBox.h"
#include "Base/Ui/UiIcon.h"

OptionScreen::OptionScreen(KovoApplication* app)
    : MenuScreen(app, 1, "mainmenu.pcx"),
      _app(app),
      _title(nullptr),
      _returnButton(nullptr),
      _fullscreen(nullptr),
      _music(nullptr),
      _soundEffects(nullptr),
      _scoreBox(nullptr)
{
    _title = new UiIcon(app, kTitle, "optionsmenulabel.pcx", 0, 150, kDepth, 512, 32, false);
    _returnButton = new UiButton(app, kReturn, "return_to_main_menu_button.pcx",
                                 "return_to_main_menu_button_lit.pcx", 0, -300, kDepth, 512, 32, false);
    _fullscreen = new UiCheckBox(app, kFullscreen, "fullscreen_checkbox.pcx", "fullscreen_checkbox_lit.pcx", -128,
                                 50, kDepth, 256, 32);
    _music = new UiCheckBox(app, kMusic, "music_checkbox.pcx", "music_checkbox_lit.pcx", -128, 0, kDepth, 256, 32);
    // Twice as wide as the others, so centred in the middle.
    _soundEffects = new UiCheckBox(app, kSoundEffects, "sound_effects_checkbox.pcx",
                                   "sound_effects_checkbox_lit.pcx", 0, -50, kDepth, 512, 32);
    _scoreBox = new UiCheckBox(app, kScoreBox, "score_box_checkbox.pcx", "score_box_checkbox_lit.pcx", -128, -100,
                               kDepth, 256, 32);
    for (UiControl* control : {static_cast<UiControl*>(_title), static_cast<UiControl*>(_returnButton),
                               static_cast<UiControl*>(_fullscreen), static_cast<UiControl*>(_music),
                               static_cast<UiControl*>(_soundEffects), static_cast<UiControl*>(_scoreBox)})
        addChild(control);
    // Down walks the boxes from the top, then the return button.
    for (UiControl* control : {static_cast<UiControl*>(_fullscreen), static_cast<UiControl*>(_music),
                               static_cast<UiControl*>(_soundEffects), static_cast<UiControl*>(_scoreBox),
                               static_cast<UiControl*>(_returnButton)})
        getNavigation().add(control);
}

OptionScreen::~OptionScreen()
{
    for (UiControl* control : {static_cast<UiControl*>(_scoreBox), static_cast<UiControl*>(_soundEffects),
                               static_cast<UiControl*>(_music), static_cast<UiControl*>(_fullscreen),
                               static_cast<UiControl*>(_returnButton), static_cast<UiControl*>(_title)}) {
        removeChild(control);
        delete control;
    }
}

void OptionScreen::setCheckBoxes(bool fullscreen, bool scoreBox, bool music, bool soundEffects)
{
    _fullscreen->setChecked(fullscreen);
    _scoreBox->setChecked(scoreBox);
    _music->setChecked(music);
    _soundEffects->setChecked(soundEffects);
}

UiCheckBox* OptionScreen::getCheckBox(int id) const
{
    switch (id) {
    case kFullscreen: return _fullscreen;
    case kMusic: return _music;
    case kSoundEffects: return _soundEffects;
    case kScoreBox: return _scoreBox;
    default: return nullptr;
    }
}

void OptionScreen::leave()
{
    if (_app)
        _app->saveConfig(_fullscreen->isChecked(), _scoreBox->isChecked(), _music->isChecked(),
                         _soundEffects->isChecked());
}

void OptionScreen::onEscape()
{
    leave();
}

void OptionScreen::onCommand(int id)
{
    if (id == kReturn) leave();
}

void OptionScreen::onCheckBoxChanged(int id, bool checked)
{
    if (!_app) return;
    switch (id) {
    case kFullscreen:
        // The mark started from the window's mode, and each change switches the mode once. A
        // switch that fails leaves the window as it was: the mark follows it, so that the
        // options file never asks the next start for a mode that cannot be set.
        _app->toggleFullscreen();
        if (_app->getWindow()) _fullscreen->setChecked(_app->getWindow()->isFullscreen());
        break;
    case kMusic:
        _app->setMusicEnabled(checked);
        break;
    case kSoundEffects:
        _app->setSoundEffectsEnabled(checked);
        break;
    case kScoreBox:
        _app->setScoreBoxShown(checked);
        break;
    default:
        break;
    }
}
