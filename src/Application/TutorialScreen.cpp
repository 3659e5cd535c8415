#include "Application/TutorialScreen.h"

#include "Application/KovoApplication.h"
#include "Base/Ui/UiButton.h"
#include "Base/Ui/UiIcon.h"

namespace {

struct ButtonLayout {
    const char* normal;
    const char* lit;
    double y;
};

// Ids 2 to 7, top to bottom.
const ButtonLayout kLayout[TutorialScreen::kButtonCount] = {
    {"your_mission_button.pcx", "your_mission_button_lit.pcx", 50},
    {"your_location_button.pcx", "your_location_button_lit.pcx", 0},
    {"your_moves_button.pcx", "your_moves_button_lit.pcx", -50},
    {"your_equipment_button.pcx", "your_equipment_button_lit.pcx", -100},
    {"dossiers_button.pcx", "dossiers_button_lit.pcx", -150},
    {"return_to_main_menu_button.pcx", "return_to_main_menu_button_lit.pcx", -300},
};

}  // namespace

TutorialScreen::TutorialScreen(KovoApplication* app)
    : MenuScreen(app, 1, "mainmenu.pcx"), _app(app), _title(nullptr), _buttons{}
{
    _title = new UiIcon(app, kTitle, "instructionslabel.pcx", 0, 150, kDepth, 256, 32, false);
    addChild(_title);
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonLayout& b = kLayout[i];
        _buttons[i] = new UiButton(app, kMission + i, b.normal, b.lit, 0, b.y, kDepth, 512, 32, false);
        addChild(_buttons[i]);
        getNavigation().add(_buttons[i]);
    }
}

TutorialScreen::~TutorialScreen()
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

UiButton* TutorialScreen::getButton(int id) const
{
    if (id < kMission || id >= kMission + kButtonCount) return nullptr;
    return _buttons[id - kMission];
}

void TutorialScreen::onEscape()
{
    if (_app) _app->returnFromTutorial();
}

void TutorialScreen::onCommand(int id)
{
    if (!_app) return;
    switch (id) {
    case kMission: _app->showMissionSlides(); break;
    case kLocation: _app->showLocationSlides(); break;
    case kMoves: _app->showMovesSlides(); break;
    case kEquipment: _app->showEquipmentSlides(); break;
    case kDossiers: _app->showDossierSlides(); break;
    case kReturn: _app->returnFromTutorial(); break;
    default: break;
    }
}
