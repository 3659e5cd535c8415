#ifndef KOVO_APPLICATION_KOVOAPPLICATION_H
#define KOVO_APPLICATION_KOVOAPPLICATION_H

#include <istream>
#include <string>

#include "Application/RecordScreenHost.h"

class GameScreen;
class HighScoreScreen;
class LoadScreen;
class MainMenuScreen;
class MenuBackdrop;
class OptionScreen;
class SaveScreen;
class SlideShowScreen;
class SndManager;
class TitleScreen;
class TutorialScreen;
class UiWindow;

// The game itself: opens the window with the options of "config.dat", starts the sound,
// builds every screen once for the whole run and keeps one of them current. Each frame it
// advances and draws the current screen (over the scrolling backdrop when it is a menu) and
// hands it every input event unchanged. The screens switch the current screen, start,
// resume, save, load and end games through the operations below.
//
// Owns the sound manager, the backdrop and every screen.
class KovoApplication : public RecordScreenHost {
public:
    // The options file in the working directory.
    static const char* const kConfigFileName;
    static const char* const kCaption;

    // The start-up options, each on unless the options file says otherwise.
    struct Options {
        bool fullscreen = true;
        bool scoreBox = true;
        bool music = true;
        bool soundEffects = true;
    };

    KovoApplication();
    // Deletes the screens (the high-score and save screens write their files on the way),
    // the backdrop and the sound manager.
    ~KovoApplication() override;
    KovoApplication(const KovoApplication&) = delete;
    KovoApplication& operator=(const KovoApplication&) = delete;

    // Reads the options, opens the window and, only when it opened, starts the sound and
    // builds the screens; the title shows (one frame drawn) before the other screens are
    // built.
    void onInit() override;
    // The backdrop under menu screens, the current screen's step, then one whole frame.
    void update(unsigned int ms) override;
    // Closes the sound device.
    void onShutdown() override;

    // Every input hook goes to the current screen's operation of the same name.
    void onInputFocusGained() override;
    void onInputFocusLost() override;
    void onDeactivated() override;
    void onActivated() override;
    void onCharDown(char c) override;
    void onCharUp(char c) override;
    void onKeyDown(AppKey key) override;
    void onKeyUp(AppKey key) override;
    void onMouseMove(double x, double y) override;
    void onLeftButtonDown(double x, double y) override;
    void onLeftButtonUp(double x, double y) override;
    void onMiddleButtonDown(double x, double y) override;
    void onMiddleButtonUp(double x, double y) override;
    void onRightButtonDown(double x, double y) override;
    void onRightButtonUp(double x, double y) override;

    // Screen switches and game actions of the menus.
    void showMainMenu() override;
    bool isGameInProgress() override;
    void startNewGame() override;
    void showLoadScreen() override;
    void showSaveScreen() override;
    void showOptions() override;
    void returnToGame() override;
    void showTutorial() override;
    void showHighScores() override;
    void exitGame() override;
    void returnFromHighScores() override;
    void returnFromLoadScreen() override;
    void returnFromSaveScreen() override;
    // The instructions' topics: each shows its series of pictures on the slide-show screen.
    void showMissionSlides();
    void showLocationSlides();
    void showMovesSlides();
    void showEquipmentSlides();
    void showDossierSlides();
    // The instructions back to the main menu, a slide show back to the instructions.
    void returnFromTutorial();
    void returnFromSlideShow();
    // One frame drawn at once with no time passing: a loading picture shows before a long
    // load.
    void redraw() override;
    // The view is kept and put back when the load fails.
    int loadGame(const std::string& fileName) override;
    int saveGame(const std::string& fileName, int slot, const std::string& name) override;

    // The game screen's Escape: the menus' view, then the main menu.
    void leaveGameToMainMenu();
    // The game screen's end of a game: the menus' view, the high-score screen, and the
    // points handed to it as a new unnamed score.
    void gameOver(int points);

    // The options as the options screen applies them.
    // Writes the four options to the options file and returns to the main menu. A file that
    // cannot be written keeps the options for this run only.
    void saveConfig(bool fullscreen, bool scoreBox, bool music, bool soundEffects);
    // Full screen to windowed and back; the menus' view afterwards.
    void toggleFullscreen();
    void setScoreBoxShown(bool shown);
    void setMusicEnabled(bool enabled);
    void setSoundEffectsEnabled(bool enabled);

    // The four options from an options file's text: each value read replaces its default;
    // the first one that does not read as 0 or 1 leaves itself and every later one as they
    // were.
    static void readOptions(std::istream& in, Options& options);
    // The options from the options file; all on when it does not open.
    static Options readConfig();

    // Every screen but the game screen is a menu screen: the backdrop shows behind it.
    bool isMenuScreen(const UiWindow* screen) const;

    SndManager* getSoundManager() const { return _sound; }
    MenuBackdrop* getBackdrop() const { return _backdrop; }
    UiWindow* getCurrentScreen() const { return _current; }
    TitleScreen* getTitleScreen() const { return _title; }
    MainMenuScreen* getMainMenu() const { return _mainMenu; }
    OptionScreen* getOptionScreen() const { return _options; }
    GameScreen* getGameScreen() const { return _gameScreen; }
    TutorialScreen* getTutorialScreen() const { return _tutorial; }
    SlideShowScreen* getSlideShowScreen() const { return _slideShow; }
    HighScoreScreen* getHighScoreScreen() const { return _highScores; }
    SaveScreen* getSaveScreen() const { return _saveScreen; }
    LoadScreen* getLoadScreen() const { return _loadScreen; }

private:
    // Makes the screen current; a screen that was not built leaves the current one.
    void switchTo(UiWindow* screen);
    // The camera back at the centre of the menus' view and the listener with it.
    void resetMenuView();
    // The camera at (x, y), the view's bounds in step.
    void placeCamera(double x, double y);
    // The slide-show screen on that series.
    void showSlides(int set);

    SndManager* _sound;
    MenuBackdrop* _backdrop;
    UiWindow* _current;
    TitleScreen* _title;
    MainMenuScreen* _mainMenu;
    OptionScreen* _options;
    GameScreen* _gameScreen;
    TutorialScreen* _tutorial;
    SlideShowScreen* _slideShow;
    HighScoreScreen* _highScores;
    SaveScreen* _saveScreen;
    LoadScreen* _loadScreen;
};

#endif
