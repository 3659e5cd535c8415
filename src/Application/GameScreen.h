#ifndef KOVO_APPLICATION_GAMESCREEN_H
#define KOVO_APPLICATION_GAMESCREEN_H

#include <istream>
#include <string>

#include "Application/PageOwner.h"
#include "Base/Ui/UiWindow.h"
#include "Common/LevelOwner.h"

class ChapterPage;
class KovoApplication;
class Level;
class PageScreen1;
class PageScreen2;
class PageScreen3;
class PageScreen4;
class PageScreen5;
class PageScreen6;
class PdaPanel;
class Player;
class ScorePanel;
class UiIcon;

// The screen on which the game is played. It owns everything of one game: the hero, the
// score box, the objective panel, the chapter pages with the index of the page shown, and
// the running level. While no level runs it shows the current chapter page, on which the
// player picks a level; while one runs it updates and draws it with the two panels and
// hands it the keys. The level reports back through the LevelOwner calls, the pages through
// the PageOwner ones.
//
// A level is never deleted inside its own update: a level that ends (an exit, the last
// life) is moved aside and stopped and deleted once its update has returned, in the same
// frame.
class GameScreen : public UiWindow, public LevelOwner, public PageOwner {
public:
    static constexpr int kPageCount = 6;
    // The zoom of the view while a game is on.
    static constexpr double kGameZoom = 400.0;

    explicit GameScreen(KovoApplication* app);
    // Deletes the game's objects.
    ~GameScreen() override;

    // Builds a new game's hero, panels, pages and loading picture, each replacing what an
    // earlier game left. The page index stays. Returns 0.
    int newGame();
    // Stops and deletes every object of the game; page 1 is shown next.
    void reset();
    // Back from the main menu: the view where it was left and a running level resumed.
    void resume();
    // A level runs, or level 1-1 is done and the hero has lives left.
    bool isGameInProgress() const;
    void setScoreBoxShown(bool shown) { _scoreBoxShown = shown; }
    bool isScoreBoxShown() const { return _scoreBoxShown; }

    // The saved game: the page index, the pages' values, the panels, the level (when one
    // runs) with the kept camera position, and the hero. Written beside the file, which it
    // replaces only when whole. 0, or -1 after logging why, the old file left as it was.
    int saveGame(const std::string& fileName);
    // Reads a saved game into the objects of a fresh newGame; a saved level runs again at
    // once. 0, or -1 (or the failing block's result) after logging why; a game that could
    // not be restored whole is deleted, so that nothing of it can be resumed or saved.
    int restoreGame(const std::string& fileName);

    // Reads the level file and starts it, the loading picture showing meanwhile. A file that
    // does not load leaves no level: the page stays.
    void loadLevel(const std::string& fileName) override;
    // The page after the current one; arriving at the summary picks its picture by chapter
    // 5's bonus level.
    void nextPage() override;
    void previousPage() override;

    // The objective panel's picture, when there is a panel.
    void setObjective(const std::string& imageFileName) override;
    // One more treasure on the objective panel, when there is a panel.
    void onObjectiveFound() override;
    // A level with lives left restarts; otherwise the game is over and the high-score
    // screen shows.
    void onPlayerDied() override;
    // The level is set aside and the page hears which level ended with which exit code.
    void onLevelFinished(const std::string& levelFileName, int exitCode) override;

    void update(unsigned int ms) override;
    void draw() override;

    void onCharDown(char c) override;
    void onCharUp(char c) override;
    void onKeyDown(AppKey key) override;
    void onKeyUp(AppKey key) override;
    void onMouseMove(double x, double y) override;
    void onLeftButtonDown(double x, double y) override;
    void onLeftButtonUp(double x, double y) override;
    void onInputFocusGained() override;
    void onInputFocusLost() override;
    void onDeactivated() override;
    void onActivated() override;

    KovoApplication* getApplication() const { return _app; }
    Player* getPlayer() const { return _player; }
    ScorePanel* getScorePanel() const { return _scorePanel; }
    PdaPanel* getPdaPanel() const { return _pdaPanel; }
    Level* getLevel() const { return _level; }
    Level* getEndedLevel() const { return _endedLevel; }
    UiIcon* getLoadingIcon() const { return _loadingIcon; }
    PageScreen1* getPage1() const { return _page1; }
    PageScreen5* getPage5() const { return _page5; }
    PageScreen6* getPage6() const { return _page6; }
    int getPageIndex() const { return _pageIndex; }
    // The page of that index (1 to 6), or null.
    UiWindow* getPage(int index) const;
    // The chapter page of that index (1 to 5), or null.
    ChapterPage* getChapterPage(int index) const;
    double getKeptCameraX() const { return _keptCameraX; }
    double getKeptCameraY() const { return _keptCameraY; }

private:
    // The blocks of a saved game into the objects of a fresh newGame; 0 or the failing
    // block's result.
    int readGame(std::istream& in, const std::string& fileName);
    void deleteGameObjects();
    // The running level stops and is deleted.
    void discardLevel();
    // The ended level stops and is deleted.
    void discardEndedLevel();
    // The running level waits to be deleted after the update that ended it.
    void setLevelAside();
    // Escape in a level: the view kept, the level paused and the hero's keys let go.
    void leaveLevel();
    // The camera position kept for the way back into the game.
    void keepCameraPosition();
    // The listener follows the camera.
    void moveListenerToCamera();
    void showCursor();
    void hideCursor();

    KovoApplication* _app;
    UiIcon* _loadingIcon;
    PageScreen1* _page1;
    PageScreen2* _page2;
    PageScreen3* _page3;
    PageScreen4* _page4;
    PageScreen5* _page5;
    PageScreen6* _page6;
    int _pageIndex;
    Level* _level;
    Level* _endedLevel;
    Player* _player;
    ScorePanel* _scorePanel;
    PdaPanel* _pdaPanel;
    double _keptCameraX;
    double _keptCameraY;
    bool _scoreBoxShown;
};

#endif
