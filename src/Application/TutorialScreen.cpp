#include "Application/TutorialScreen.h"

#include "Application/KovoApplication.h"

namespace {

// Ids 2 to 7, top to bottom.
const std::vector<ButtonColumnScreen::ButtonLayout> kLayout = {
    {"your_mission_button.pcx", "your_mission_button_lit.pcx", 50},
    {"your_location_button.pcx", "your_location_button_lit.pcx", 0},
    {"your_moves_button.pcx", "your_moves_button_lit.pcx", -50},
    {"your_equipment_button.pcx", "your_equipment_button_lit.pcx", -100},
    {"dossiers_button.pcx", "dossiers_button_lit.pcx", -150},
    {"return_to_main_menu_button.pcx", "return_to_main_menu_button_lit.pcx", -300},
};

}  // namespace

TutorialScreen::TutorialScreen(KovoApplication* app)
    : ButtonColumnScreen(app, kTitle, "instructionslabel.pcx", kMission, kLayout), _app(app)
{
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
