// The option screen and the instructions, reached from the main menu by keys as a player
// reaches them: the options act the moment a box changes and come back at the next start;
// full screen and back keeps every picture; every slide show pages through and returns.

#include "Application/GameHarness.h"

#include <GL/gl.h>

#include <string>

#include "Application/GameScreen.h"
#include "Application/MainMenuScreen.h"
#include "Application/OptionScreen.h"
#include "Application/SlideShowScreen.h"
#include "Application/TutorialScreen.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Snd/SndMusic.h"
#include "Base/Ui/UiCheckBox.h"

namespace gametest {

namespace {

constexpr double MenuZoom = 512.0;

class MenuKeysTest : public GameTest {
protected:
    // A key typed, then two frames for it to go through the loop and be drawn.
    void key(SDLKey sym, int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            uitest::typeKey(sym);
            app->runFrames(2);
        }
    }
    // From the title to the main menu, then Down to the button of that id and Enter on it.
    // The save and return buttons are passed over outside a game.
    void openFromMainMenu(int buttonId)
    {
        app->runFrames(1);
        key(SDLK_a);
        ASSERT_EQ(app->getMainMenu(), app->getCurrentScreen());
        int downs = buttonId - MainMenuScreen::kStartGame + 1;
        if (buttonId > MainMenuScreen::kSaveGame) --downs;
        if (buttonId > MainMenuScreen::kReturnToGame) --downs;
        key(SDLK_DOWN, downs);
        key(SDLK_RETURN);
    }
    bool shows(const char* picture, double x, double y, double w, double h)
    {
        return readFrame().shareAround(MenuZoom, x, y, w, h, pictureColour(picture)) > 0.3;
    }
};

}  // namespace

TEST_F(MenuKeysTest, OptionsActTheMomentABoxChangesAndComeBackAtTheNextStart)
{
    start();
    ASSERT_NO_FATAL_FAILURE(openFromMainMenu(MainMenuScreen::kOptions));
    OptionScreen* options = app->getOptionScreen();
    ASSERT_EQ(options, app->getCurrentScreen());
    shoot("options");
    EXPECT_TRUE(shows("optionsmenulabel.pcx", 0, 150, 400, 20));
    // The marks as the options file gave them: a window, the rest on.
    EXPECT_FALSE(options->getCheckBox(OptionScreen::kFullscreen)->isChecked());
    EXPECT_TRUE(shows("check_mark.pcx", -128 - 112, -100, 16, 16)) << "the score box's mark";

    // Down past full screen to the music; Enter on each of the other three boxes.
    key(SDLK_DOWN, 2);
    key(SDLK_RETURN);
    EXPECT_FALSE(SndMusic::isEnabled());
    key(SDLK_DOWN);
    key(SDLK_RETURN);
    EXPECT_FALSE(SndSoundEffect::isEnabled());
    key(SDLK_DOWN);
    key(SDLK_RETURN);
    EXPECT_FALSE(app->getGameScreen()->isScoreBoxShown());
    EXPECT_TRUE(shows("score_box_checkbox_lit.pcx", -64, -100, 100, 20));
    EXPECT_FALSE(shows("check_mark.pcx", -128 - 112, -100, 16, 16));
    // Leaving writes the file; Down, Down, Escape all leave the same way the button does.
    key(SDLK_ESCAPE);
    EXPECT_EQ(app->getMainMenu(), app->getCurrentScreen());
    EXPECT_EQ("0 0 0 0 \n", testsupport::readText(KovoApplication::kConfigFileName));

    app->shutdown();
    delete app;
    app = nullptr;
    start();
    for (int id : {OptionScreen::kFullscreen, OptionScreen::kMusic, OptionScreen::kSoundEffects,
                   OptionScreen::kScoreBox})
        EXPECT_FALSE(app->getOptionScreen()->getCheckBox(id)->isChecked()) << id;
    EXPECT_FALSE(SndMusic::isEnabled());
    EXPECT_FALSE(SndSoundEffect::isEnabled());
    EXPECT_FALSE(app->getGameScreen()->isScoreBoxShown());
    // The return button writes the same: Up lights it first.
    app->showOptions();
    key(SDLK_UP);
    key(SDLK_RETURN);
    EXPECT_EQ(app->getMainMenu(), app->getCurrentScreen());
    EXPECT_EQ("0 0 0 0 \n", testsupport::readText(KovoApplication::kConfigFileName));
}

TEST_F(MenuKeysTest, FullScreenAndBackKeepsEveryPicture)
{
    start();
    // A game's page and the menus hold pictures of their own.
    app->startNewGame();
    app->getGameScreen()->onLevelFinished("level1-1.xml", 1);
    app->runFrames(1);
    key(SDLK_ESCAPE);
    app->showOptions();
    app->runFrames(1);
    UiCheckBox* box = app->getOptionScreen()->getCheckBox(OptionScreen::kFullscreen);
    const size_t textures = GphTextureList.size();
    for (bool fullscreen : {true, false}) {
        SCOPED_TRACE(fullscreen ? "to full screen" : "back to a window");
        // The pointer on the box and a click: the box toggles, the window changes mode.
        clickAt(MenuZoom, box->getX(), box->getY());
        app->runFrames(2);
        EXPECT_EQ(fullscreen, window->isFullscreen());
        EXPECT_EQ(fullscreen, box->isChecked());
        EXPECT_DOUBLE_EQ(MenuZoom, currentZoom(window));
        EXPECT_EQ(textures, GphTextureList.size());
        for (GphTexture* texture : GphTextureList)
            if (texture->getImage()) {
                EXPECT_EQ(GL_TRUE, glIsTexture(texture->getId()));
            }
        EXPECT_TRUE(shows("optionsmenulabel.pcx", 0, 150, 400, 20));
    }
    shoot("windowed_again");
    // The game's page draws as before.
    key(SDLK_ESCAPE);
    app->returnToGame();
    app->runFrames(1);
    EXPECT_GT(readFrame().share(0, 0, 800, 40, pictureColour("page.pcx")), 0.5);
}

TEST_F(MenuKeysTest, EverySlideShowPagesThroughItsPicturesAndReturns)
{
    start();
    ASSERT_NO_FATAL_FAILURE(openFromMainMenu(MainMenuScreen::kInstructions));
    TutorialScreen* tutorial = app->getTutorialScreen();
    ASSERT_EQ(tutorial, app->getCurrentScreen());
    EXPECT_TRUE(shows("instructionslabel.pcx", 0, 150, 200, 20));
    const std::vector<std::vector<std::string>> sets = {
        {"missionscreen1", "missionscreen2"},
        {"localescreen1", "localescreen2"},
        {"movesscreen1", "movesscreen2", "movesscreen3", "movesscreen4", "movesscreen5", "movesscreen7",
         "movesscreen6"},
        {"equipmentscreen1", "equipmentscreen2", "equipmentscreen3", "equipmentscreen4", "equipmentscreen5",
         "equipmentscreen6"},
        {"dossierscreen02", "dossierscreen01", "dossierscreen12", "dossierscreen13", "dossierscreen14",
         "dossierscreen15", "dossierscreen03", "dossierscreen04", "dossierscreen05", "dossierscreen06",
         "dossierscreen07", "dossierscreen08", "dossierscreen09", "dossierscreen10", "dossierscreen11"}};
    for (size_t set = 0; set < sets.size(); ++set) {
        SCOPED_TRACE(sets[set][0]);
        // Down to the topic (its button stays lit from the last visit), Enter opens it.
        key(SDLK_DOWN);
        EXPECT_TRUE(tutorial->getButton(TutorialScreen::kMission + static_cast<int>(set))->isLit());
        key(SDLK_RETURN);
        ASSERT_EQ(app->getSlideShowScreen(), app->getCurrentScreen());
        // Right pages on to the last picture, one more Right stays there; Enter and Up do nothing.
        for (size_t n = 0; n < sets[set].size(); ++n) {
            EXPECT_TRUE(shows((sets[set][n] + ".pcx").c_str(), 0, -68, 600, 300)) << n;
            if (n == 0) shoot(sets[set][0]);
            key(SDLK_RIGHT);
        }
        key(SDLK_RETURN);
        key(SDLK_UP);
        EXPECT_EQ(app->getSlideShowScreen(), app->getCurrentScreen());
        EXPECT_TRUE(shows((sets[set].back() + ".pcx").c_str(), 0, -68, 600, 300));
        // Left goes back one; Escape closes and the next visit starts where this one ended.
        key(SDLK_LEFT);
        key(SDLK_ESCAPE);
        ASSERT_EQ(tutorial, app->getCurrentScreen());
        key(SDLK_RETURN);
        EXPECT_TRUE(shows((sets[set][sets[set].size() - 2] + ".pcx").c_str(), 0, -68, 600, 300));
        // The escape button closes it too.
        clickAt(MenuZoom, 0, -308);
        app->runFrames(2);
        ASSERT_EQ(tutorial, app->getCurrentScreen());
    }
    // Escape on the instructions goes back to the main menu.
    key(SDLK_ESCAPE);
    EXPECT_EQ(app->getMainMenu(), app->getCurrentScreen());
}

}  // namespace gametest
