#ifndef KOVO_APPLICATION_OPTIONSCREEN_H
#define KOVO_APPLICATION_OPTIONSCREEN_H

#include "Application/MenuScreen.h"

class KovoApplication;
class UiButton;
class UiCheckBox;
class UiIcon;

// The game's four options as check boxes: full screen, music, sound effects and the score
// box. A change takes effect at once; leaving the screen, by its return button or Escape,
// writes all four to the options file and goes back to the main menu. The marks are the
// options' only live copy: they start from what the start-up applied.
class OptionScreen : public MenuScreen {
public:
    // Control ids.
    enum { kTitle = 2, kFullscreen = 3, kMusic = 4, kSoundEffects = 5, kScoreBox = 6, kReturn = 7 };

    explicit OptionScreen(KovoApplication* app);
    ~OptionScreen() override;

    // The marks as the start-up read them; nobody is told.
    void setCheckBoxes(bool fullscreen, bool scoreBox, bool music, bool soundEffects);

    // The box of that id (3 to 6), or null.
    UiCheckBox* getCheckBox(int id) const;
    UiButton* getReturnButton() const { return _returnButton; }
    UiIcon* getTitle() const { return _title; }

    // The return button leaves.
    void onCommand(int id) override;
    // A box's new mark acts at once.
    void onCheckBoxChanged(int id, bool checked) override;

protected:
    // Leaves, as the return button does.
    void onEscape() override;

private:
    void leave();

    KovoApplication* _app;
    UiIcon* _title;
    UiButton* _returnButton;
    UiCheckBox* _fullscreen;
    UiCheckBox* _music;
    UiCheckBox* _soundEffects;
    UiCheckBox* _scoreBox;
};

#endif
