#ifndef KOVO_APPLICATION_TUTORIALSCREEN_H
#define KOVO_APPLICATION_TUTORIALSCREEN_H

#include "Application/ButtonColumnScreen.h"

class KovoApplication;

// The instructions: a small menu of five topics (the mission, the location, the moves, the
// equipment and the dossiers), each opening its series of pictures on the slide-show screen,
// and a return button. Escape returns to the main menu too. The lit button stays lit while a
// slide show is open, so the player comes back to where he was.
class TutorialScreen : public ButtonColumnScreen {
public:
    // Control ids; the topics run from the top of the screen down.
    enum { kMission = 2, kLocation = 3, kMoves = 4, kEquipment = 5, kDossiers = 6, kReturn = 7, kTitle = 8 };

    explicit TutorialScreen(KovoApplication* app);

    // A topic opens its slide show; the return button goes back to the main menu.
    void onCommand(int id) override;

protected:
    void onEscape() override;

private:
    KovoApplication* _app;
};

#endif
