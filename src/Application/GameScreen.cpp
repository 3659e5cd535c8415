#include "Application/GameScreen.h"

#include <cstdio>
#include <fstream>
#include <new>
#include <utility>

#include "Application/KovoApplication.h"
#include "Application/PageScreen1.h"
#include "Application/PageScreen2.h"
#include "Application/PageScreen3.h"
#include "Application/PageScreen4.h"
#include "Application/PageScreen5.h"
#include "Application/PageScreen6.h"
#include "Base/App/Log.h"
#include "Base/App/Platform.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphViewportOrthogonal.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndListener.h"
#include "Base/Snd/SndManager.h"
#include "Base/Ui/UiIcon.h"
#include "Common/Level.h"
#include "Common/PdaPanel.h"
#include "Common/ScorePanel.h"
#include "Kovo/Player.h"

namespace {

constexpr char kEnter = 13;
constexpr char kLineFeed = 10;
constexpr char kEscape = 27;

template <typename T, typename... Args>
T* build(Args&&... args)
{
    T* object = new (std::nothrow) T(std::forward<Args>(args)...);
    if (!object) KOVO_NEW_FAILED();
    return object;
}

// Deletes what the field holds and puts the new object in its place.
template <typename T>
void replace(T*& field, T* object)
{
    delete field;
    field = object;
}

template <typename T>
void destroy(T*& object)
{
    delete object;
    object = nullptr;
}

}  // namespace

GameScreen::GameScreen(KovoApplication* app)
    : UiWindow(app, 1, true),
      LevelOwner(),
      PageOwner(),
      _app(app),
      _loadingIcon(nullptr),
      _page1(nullptr),
      _page2(nullptr),
      _page3(nullptr),
      _page4(nullptr),
      _page5(nullptr),
      _page6(nullptr),
      _pageIndex(1),
      _level(nullptr),
      _endedLevel(nullptr),
      _player(nullptr),
      _scorePanel(nullptr),
      _pdaPanel(nullptr),
      _keptCameraX(0.0),
      _keptCameraY(0.0),
      _scoreBoxShown(true)
{
}

GameScreen::~GameScreen()
{
    deleteGameObjects();
}

int GameScreen::newGame()
{
    GphWindow* window = _app ? _app->getWindow() : nullptr;
    if (auto* ortho = window ? dynamic_cast<GphViewportOrthogonal*>(window->getViewport()) : nullptr)
        ortho->setZoom(kGameZoom);

    // The old hero goes first: nothing may be left holding him when the new one is built.
    destroy(_player);
    _player = build<Player>(_app);
    replace(_scorePanel, build<ScorePanel>(_player));
    _scorePanel->show();
    replace(_pdaPanel, build<PdaPanel>(_app, _player));
    replace(_page1, build<PageScreen1>(_app, this));
    replace(_page2, build<PageScreen2>(_app, this));
    replace(_page3, build<PageScreen3>(_app, this));
    replace(_page4, build<PageScreen4>(_app, this));
    replace(_page5, build<PageScreen5>(_app, this));
    replace(_page6, build<PageScreen6>(_app, this));
    replace(_loadingIcon, build<UiIcon>(_app, 0, "loadingchapter.pcx", 0.0, 0.0, -10.0, 512.0, 64.0, true));
    _loadingIcon->hide();
    return 0;
}

void GameScreen::reset()
{
    deleteGameObjects();
}

void GameScreen::deleteGameObjects()
{
    destroy(_pdaPanel);
    destroy(_scorePanel);
    destroy(_player);
    discardLevel();
    discardEndedLevel();
    destroy(_loadingIcon);
    destroy(_page6);
    destroy(_page5);
    destroy(_page4);
    destroy(_page3);
    destroy(_page2);
    destroy(_page1);
    _pageIndex = 1;
}

void GameScreen::discardLevel()
{
    if (!_level) return;
    _level->stop();
    destroy(_level);
}

void GameScreen::discardEndedLevel()
{
    if (!_endedLevel) return;
    _endedLevel->stop();
    destroy(_endedLevel);
}

void GameScreen::setLevelAside()
{
    if (!_level) return;
    // Only ever one level waits; an older one is not running and can go at once.
    discardEndedLevel();
    _endedLevel = _level;
    _level = nullptr;
}

UiWindow* GameScreen::getPage(int index) const
{
    if (index == kPageCount) return _page6;
    return getChapterPage(index);
}

ChapterPage* GameScreen::getChapterPage(int index) const
{
    switch (index) {
    case 1: return _page1;
    case 2: return _page2;
    case 3: return _page3;
    case 4: return _page4;
    case 5: return _page5;
    default: return nullptr;
    }
}

bool GameScreen::isGameInProgress() const
{
    if (_level) return true;
    return _page1 && _page1->isFirstLevelDone() && _player && _player->getLives() > 0;
}

void GameScreen::moveListenerToCamera()
{
    GphWindow* window = _app ? _app->getWindow() : nullptr;
    GphCamera* camera = window ? window->getCamera() : nullptr;
    if (!camera) return;
    const ShpCoord* at = camera->getPosition();
    SndManager::getListener()->setPosition(ShpCoord(at->getX(), at->getY(), 0.0));
}

void GameScreen::keepCameraPosition()
{
    GphWindow* window = _app ? _app->getWindow() : nullptr;
    GphCamera* camera = window ? window->getCamera() : nullptr;
    if (!camera) return;
    _keptCameraX = camera->getPosition()->getX();
    _keptCameraY = camera->getPosition()->getY();
}

void GameScreen::showCursor()
{
    GphWindow* window = _app ? _app->getWindow() : nullptr;
    if (window) window->showCursor();
}

void GameScreen::hideCursor()
{
    GphWindow* window = _app ? _app->getWindow() : nullptr;
    if (window) window->hideCursor();
}

void GameScreen::update(unsigned int ms)
{
    discardEndedLevel();
    if (_level) {
        moveListenerToCamera();
        if (_pdaPanel && _pdaPanel->isShown()) {
            // The world stands still while the panel is up; only the music goes on.
            _pdaPanel->update(ms);
            _level->updateMusic();
        } else {
            _level->update(ms);
        }
        if (_level) {
            int remaining = 0;
            int total = 0;
            _level->powerUpStatus(remaining, total);
            if (_scorePanel) _scorePanel->setTimer(remaining, total);
        } else {
            // The level ended inside its update; now that it has returned it can go.
            discardEndedLevel();
        }
    }
    if (!_level) {
        if (UiWindow* page = getPage(_pageIndex)) page->update(ms);
    }
}

void GameScreen::draw()
{
    GphWindow* window = _app ? _app->getWindow() : nullptr;
    if (!window) return;
    if (_level) {
        window->enableDepthTest();
        window->enableDepthWrite();
        if (_scorePanel && _scoreBoxShown && !_level->hasHint()) _scorePanel->draw();
        _level->draw();
        window->disableDepthWrite();
        if (_pdaPanel && _pdaPanel->isShown()) _pdaPanel->draw();
        window->enableDepthWrite();
        window->disableDepthTest();
        return;
    }
    window->disableLighting();
    if (UiWindow* page = getPage(_pageIndex)) page->draw();
    if (_loadingIcon) _loadingIcon->draw();
    window->enableLighting();
}

void GameScreen::loadLevel(const std::string& fileName)
{
    if (!_player) return;
    if (_loadingIcon) _loadingIcon->show();
    // The page and the loading picture show while the file is read.
    if (_app) _app->redraw();

    discardLevel();
    _level = build<Level>(_app, this, _player);
    if (_level->read(fileName, true, true) == 0) {
        _level->start();
        if (_pdaPanel) {
            _pdaPanel->setTotal(_level->treasureCount());
        }
        hideCursor();
        if (_pdaPanel) _pdaPanel->resetCounters();
    } else {
        // A level that did not read cannot run: the page stays and takes the input.
        LOG("Failed to load level " << fileName);
        discardLevel();
    }
    if (_loadingIcon) _loadingIcon->hide();
}

void GameScreen::nextPage()
{
    // Only the chapter pages have a next page.
    if (_pageIndex >= kPageCount) return;
    ++_pageIndex;
    if (_pageIndex == kPageCount && _page6 && _page5) _page6->showSummary(_app, _page5->isBonusLevelDone());
}

void GameScreen::previousPage()
{
    if (_pageIndex > 1) --_pageIndex;
}

void GameScreen::setObjective(const std::string& imageFileName)
{
    if (_pdaPanel) _pdaPanel->setObjective(imageFileName);
}

void GameScreen::onObjectiveFound()
{
    if (_pdaPanel) _pdaPanel->countFound();
}

void GameScreen::onPlayerDied()
{
    if (_level && _player && _player->getLives() > 0) {
        _level->restart();
        return;
    }
    if (_player) _player->setLives(0);
    setLevelAside();
    showCursor();
    if (_app) _app->gameOver(_player ? _player->getScore() : 0);
}

void GameScreen::onLevelFinished(const std::string& levelFileName, int exitCode)
{
    setLevelAside();
    showCursor();
    if (ChapterPage* page = getChapterPage(_pageIndex)) page->levelCompleted(levelFileName, exitCode);
}

void GameScreen::resume()
{
    GphWindow* window = _app ? _app->getWindow() : nullptr;
    GphCamera* camera = window ? window->getCamera() : nullptr;
    if (camera) {
        camera->getPosition()->setX(_keptCameraX);
        camera->getPosition()->setY(_keptCameraY);
        camera->move(0.0, 0.0, 0.0);
    }
    if (auto* ortho = window ? dynamic_cast<GphViewportOrthogonal*>(window->getViewport()) : nullptr)
        ortho->setZoom(kGameZoom);
    moveListenerToCamera();
    if (_level) {
        hideCursor();
        _level->resume();
    }
}

void GameScreen::leaveLevel()
{
    keepCameraPosition();
    _level->pause();
    if (_player) _player->clearInput();
    showCursor();
    if (_app) _app->leaveGameToMainMenu();
}

void GameScreen::onCharDown(char c)
{
    if (!_level) {
        if (c == kEscape) {
            keepCameraPosition();
            if (_app) _app->leaveGameToMainMenu();
        } else if (UiWindow* page = getPage(_pageIndex)) {
            page->onCharDown(c);
        }
        return;
    }
    if (_pdaPanel && _pdaPanel->isShown()) {
        _pdaPanel->onCharDown(c);
    } else if (c == kLineFeed || c == kEnter) {
        if (_level->hasHint()) {
            // The hint takes the key.
            _level->onCharDown(c);
        } else if (_pdaPanel) {
            _pdaPanel->show();
            if (_player) _player->clearInput();
            _level->clearInput();
        }
    } else if (c == kEscape) {
        leaveLevel();
    } else {
        _level->onCharDown(c);
    }
}

void GameScreen::onCharUp(char c)
{
    if (_level) _level->onCharUp(c);
}

void GameScreen::onKeyDown(AppKey key)
{
    if (!_level) {
        if (UiWindow* page = getPage(_pageIndex)) page->onKeyDown(key);
        return;
    }
    if (_pdaPanel && _pdaPanel->isShown())
        _pdaPanel->onKeyDown(key);
    else
        _level->onKeyDown(key);
}

void GameScreen::onKeyUp(AppKey key)
{
    if (_level) _level->onKeyUp(key);
}

void GameScreen::onMouseMove(double x, double y)
{
    if (_level) return;
    if (UiWindow* page = getPage(_pageIndex)) page->onMouseMove(x, y);
}

void GameScreen::onLeftButtonDown(double x, double y)
{
    if (_level) return;
    if (UiWindow* page = getPage(_pageIndex)) page->onLeftButtonDown(x, y);
}

void GameScreen::onLeftButtonUp(double x, double y)
{
    if (_level) return;
    if (UiWindow* page = getPage(_pageIndex)) page->onLeftButtonUp(x, y);
}

void GameScreen::onInputFocusGained()
{
    if (_level) _level->resume();
}

void GameScreen::onActivated()
{
    if (_level) _level->resume();
}

void GameScreen::onInputFocusLost()
{
    if (!_level) return;
    _level->pause();
    // Tab drops a throw being charged.
    if (_player) _player->onKeyDown(AppKeyTab);
}

void GameScreen::onDeactivated()
{
    if (!_level) return;
    _level->pause();
    if (_player) _player->clearInput();
}

int GameScreen::saveGame(const std::string& fileName)
{
    if (!_player || !_pdaPanel || !_scorePanel) {
        LOG("No game to save in " << fileName);
        return -1;
    }
    // The game is written beside the slot's file, which it replaces only once it is complete
    // on disk: a save that fails never costs the player the game saved there before.
    const std::string temporary = fileName + ".tmp";
    std::ofstream out(temporary, std::ios::out | std::ios::trunc);
    if (!out) {
        LOG("Failed to open filename for save: " << fileName);
        return -1;
    }
    out << _pageIndex << ' ';
    int result = 0;
    for (int index = 1; index < kPageCount && result == 0; ++index) {
        if (ChapterPage* page = getChapterPage(index)) result = page->writeState(out);
    }
    if (result == 0) result = _pdaPanel->writeState(out);
    if (result == 0) result = _scorePanel->writeState(out);
    if (result == 0) {
        if (_level) {
            out << "1 ";
            result = _level->writeState(out);
            if (result == 0) {
                out << _keptCameraX << ' ' << _keptCameraY << ' ';
                result = _player->writeState(out);
            }
        } else {
            out << "0 ";
            result = _player->writeState(out);
        }
    }
    out.close();
    // A save that did not reach the disk whole must not pass for one.
    if (result == 0 && !out) {
        LOG("Failed to write save game file: " << fileName);
        result = -1;
    }
    if (result == 0 && std::rename(temporary.c_str(), fileName.c_str()) != 0) {
        LOG("Failed to write save game file: " << fileName);
        result = -1;
    }
    if (result != 0) {
        std::remove(temporary.c_str());
        return -1;
    }
    return 0;
}

int GameScreen::restoreGame(const std::string& fileName)
{
    std::ifstream in(fileName);
    if (!in) {
        LOG("Failed to load save game file: " << fileName);
        return -1;
    }
    if (!_player || !_pdaPanel || !_scorePanel) {
        LOG("No game to restore " << fileName << " into");
        return -1;
    }
    const int result = readGame(in, fileName);
    // Half a game can be neither resumed nor saved over a good slot: what was read goes.
    if (result != 0) deleteGameObjects();
    return result;
}

int GameScreen::readGame(std::istream& in, const std::string& fileName)
{
    int pageIndex = 0;
    if (!(in >> pageIndex) || pageIndex < 1 || pageIndex > kPageCount) {
        // No page could be shown for it.
        LOG("Failed to read the page index of save game file: " << fileName);
        return -1;
    }
    _pageIndex = pageIndex;
    int result = 0;
    for (int index = 1; index < kPageCount && result == 0; ++index) {
        if (ChapterPage* page = getChapterPage(index)) result = page->readState(in);
    }
    // The summary's picture follows chapter 5 as loaded, as an arrival from it would pick it.
    if (result == 0 && _pageIndex == kPageCount && _page6 && _page5)
        _page6->showSummary(_app, _page5->isBonusLevelDone());
    if (result == 0) result = _pdaPanel->readState(in);
    if (result == 0) result = _scorePanel->readState(in);
    if (result != 0) return result;

    bool levelRuns = false;
    if (!(in >> levelRuns)) levelRuns = false;
    if (levelRuns) {
        _level = build<Level>(_app, this, _player);
        result = _level->readState(in);
        if (result != 0) {
            LOG("Failed to restore save game for level");
            return result;
        }
    }
    // The hero's block follows; anything else means the blocks before it were not what
    // this game writes.
    std::string playerTag;
    if (!(in >> playerTag) || playerTag != "<PLAYER>") {
        LOG("Failed to find the hero in save game file: " << fileName);
        return -1;
    }
    result = _player->readState(in);
    if (result != 0 || !_level) return result;
    _pdaPanel->setTotal(_level->treasureCount());
    keepCameraPosition();
    hideCursor();
    _level->start();
    return 0;
}
