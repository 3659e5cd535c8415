// The option screen and the instructions, reached from the main menu by keys: the options act
// the moment a box changes and come back at the next start; full screen and back keeps every
// picture; every slide show pages through its pictures and returns.

#include "Application/GameHarness.h"

#include <GL/gl.h>

#include "Application/GameScreen.h"
#include "Application/MainMenuScreen.h"
#include "Application/OptionScreen.h"
#include "Application/TutorialScreen.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Snd/SndMusic.h"
#include "Base/Ui/UiCheckBox.h"

namespace gametest {

namespace {

constexpr double MenuZoom = 512.0;

class MenuKeysTest : public GameTest {
protected:
    // Keys typed, each followed by two frames to go through the loop and be drawn.
    void keys(std::initializer_list<SDLKey> syms)
    {
        for (SDLKey sym : syms) {
            uitest::typeKey(sym);
            app->runFrames(2);
        }
    }
    bool shows(const std::string& picture, double x, double y, double w, double h)
    {
        return readFrame().shareAround(MenuZoom, x, y, w, h, pictureColour(picture)) > 0.3;
    }
    bool checked(int id) const { return app->getOptionScreen()->getCheckBox(id)->isChecked(); }
};

}  // namespace

TEST_F(MenuKeysTest, OptionsActTheMomentABoxChangesAndComeBackAtTheNextStart)
{
    start();
    // Off the title, Down past start and load (save is passed over outside a game) to options.
    keys({SDLK_a, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_RETURN});
    ASSERT_EQ(static_cast<UiWindow*>(app->getOptionScreen()), app->getCurrentScreen());
    shoot("options");
    EXPECT_TRUE(shows("optionsmenulabel.pcx", 0, 150, 400, 20));
    // The marks as the options file gave them: a window, the rest on; the score box's mark shows.
    EXPECT_FALSE(checked(OptionScreen::kFullscreen));
    EXPECT_TRUE(shows("check_mark.pcx", -240, -100, 16, 16));
    // Down past full screen; Enter on music, sound effects and the score box switches each off.
    const std::function<bool()> switches[] = {SndMusic::isEnabled, SndSoundEffect::isEnabled,
                                              [&] { return app->getGameScreen()->isScoreBoxShown(); }};
    keys({SDLK_DOWN});
    for (const auto& on : switches) {
        keys({SDLK_DOWN, SDLK_RETURN});
        EXPECT_FALSE(on());
    }
    EXPECT_FALSE(shows("check_mark.pcx", -240, -100, 16, 16));
    keys({SDLK_ESCAPE});
    EXPECT_EQ(app->getMainMenu(), app->getCurrentScreen());
    EXPECT_EQ("0 0 0 0 \n", testsupport::readText(KovoApplication::kConfigFileName));

    stop();
    start();
    for (int id : {OptionScreen::kFullscreen, OptionScreen::kMusic, OptionScreen::kSoundEffects, OptionScreen::kScoreBox})
        EXPECT_FALSE(checked(id)) << id;
    for (const auto& on : switches) EXPECT_FALSE(on());
    // Up lights the return button first; it writes the file as Escape does.
    app->showOptions();
    keys({SDLK_UP, SDLK_RETURN});
    EXPECT_EQ(app->getMainMenu(), app->getCurrentScreen());
    EXPECT_EQ("0 0 0 0 \n", testsupport::readText(KovoApplication::kConfigFileName));
}

TEST_F(MenuKeysTest, FullScreenAndBackKeepsEveryPicture)
{
    start();
    // A game's page and the menus hold pictures of their own.
    app->startNewGame();
    app->getGameScreen()->onLevelFinished("level1-1.xml", 1);
    keys({SDLK_ESCAPE});
    app->showOptions();
    const size_t textures = GphTextureList.size();
    for (bool fullscreen : {true, false}) {
        SCOPED_TRACE(fullscreen ? "to full screen" : "back to a window");
        UiCheckBox* box = app->getOptionScreen()->getCheckBox(OptionScreen::kFullscreen);
        clickAt(MenuZoom, box->getX(), box->getY());
        app->runFrames(2);
        EXPECT_EQ(fullscreen, window->isFullscreen());
        EXPECT_EQ(fullscreen, box->isChecked());
        EXPECT_DOUBLE_EQ(MenuZoom, currentZoom(window));
        EXPECT_EQ(textures, GphTextureList.size());
        for (GphTexture* texture : GphTextureList)
            EXPECT_TRUE(!texture->getImage() || glIsTexture(texture->getId()));
        EXPECT_TRUE(shows("optionsmenulabel.pcx", 0, 150, 400, 20));
    }
    // The game's page draws as before.
    keys({SDLK_ESCAPE});
    app->returnToGame();
    app->runFrames(1);
    EXPECT_GT(shoot("windowed_again").share(0, 0, 800, 40, pictureColour("page.pcx")), 0.5);
}

TEST_F(MenuKeysTest, EverySlideShowPagesThroughItsPicturesAndReturns)
{
    start();
    // Off the title, Down to the instructions (save and return are passed over), Enter.
    keys({SDLK_a, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_RETURN});
    TutorialScreen* tutorial = app->getTutorialScreen();
    ASSERT_EQ(static_cast<UiWindow*>(tutorial), app->getCurrentScreen());
    EXPECT_TRUE(shows("instructionslabel.pcx", 0, 150, 200, 20));
    auto numbered = [](const char* name, std::initializer_list<const char*> numbers) {
        std::vector<std::string> out;
        for (const char* n : numbers) out.push_back(std::string(name) + n + ".pcx");
        return out;
    };
    const std::vector<std::string> sets[] = {
        numbered("missionscreen", {"1", "2"}), numbered("localescreen", {"1", "2"}),
        numbered("movesscreen", {"1", "2", "3", "4", "5", "7", "6"}),
        numbered("equipmentscreen", {"1", "2", "3", "4", "5", "6"}),
        numbered("dossierscreen",
                 {"02", "01", "12", "13", "14", "15", "03", "04", "05", "06", "07", "08", "09", "10", "11"})};
    for (size_t set = 0; set < 5; ++set) {
        const std::vector<std::string>& pictures = sets[set];
        SCOPED_TRACE(pictures[0]);
        // Down to the topic (the last one's button stays lit from its visit), Enter opens it.
        keys({SDLK_DOWN});
        EXPECT_TRUE(tutorial->getButton(TutorialScreen::kMission + static_cast<int>(set))->isLit());
        keys({SDLK_RETURN});
        // Right pages on to the last picture and no further; Enter and Up do nothing.
        for (size_t n = 0; n < pictures.size(); ++n) {
            EXPECT_TRUE(shows(pictures[n], 0, -68, 600, 300)) << n;
            keys({SDLK_RIGHT});
        }
        keys({SDLK_RETURN, SDLK_UP});
        EXPECT_TRUE(shows(pictures.back(), 0, -68, 600, 300));
        // Left goes back one; Escape closes, and the next visit starts where this one ended.
        keys({SDLK_LEFT, SDLK_ESCAPE});
        ASSERT_EQ(static_cast<UiWindow*>(tutorial), app->getCurrentScreen());
        keys({SDLK_RETURN});
        EXPECT_TRUE(shows(pictures[pictures.size() - 2], 0, -68, 600, 300));
        // The escape button closes it too.
        clickAt(MenuZoom, 0, -308);
        app->runFrames(2);
        ASSERT_EQ(static_cast<UiWindow*>(tutorial), app->getCurrentScreen());
    }
    keys({SDLK_ESCAPE});
    EXPECT_EQ(app->getMainMenu(), app->getCurrentScreen());
}

}  // namespace gametest
