#include "Application/KovoApplication.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <new>
#include <utility>

#include "Application/GameScreen.h"
#include "Application/HighScoreScreen.h"
#include "Application/LoadScreen.h"
#include "Application/MainMenuScreen.h"
#include "Application/MenuBackdrop.h"
#include "Application/OptionScreen.h"
#include "Application/SaveScreen.h"
#include "Application/SlideShowScreen.h"
#include "Application/TitleScreen.h"
#include "Application/TutorialScreen.h"
#include "Base/App/Log.h"
#include "Base/App/Platform.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphViewportOrthogonal.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndListener.h"
#include "Base/Snd/SndManager.h"
#include "Base/Ui/UiWindow.h"
#include "Common/GameRandom.h"
#include "Common/Score.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kBitsPerPixel = 16;
constexpr double kNearPlane = 1.0;
constexpr double kFarPlane = 10000.0;
constexpr double kFieldOfView = 45.0;
// The zoom of the menus' view: 1024 units across.
constexpr double kMenuZoom = 512.0;

template <typename T, typename... Args>
T* build(Args&&... args)
{
    T* object = new (std::nothrow) T(std::forward<Args>(args)...);
    if (!object) KOVO_NEW_FAILED();
    return object;
}

template <typename T>
void destroy(T*& object)
{
    delete object;
    object = nullptr;
}

GphViewportOrthogonal* orthogonalViewport(GphWindow* window)
{
    return window ? dynamic_cast<GphViewportOrthogonal*>(window->getViewport()) : nullptr;
}

}  // namespace

const char* const KovoApplication::kConfigFileName = "config.dat";
const char* const KovoApplication::kCaption = "Kovo Tarvell: Hush Courier!";

KovoApplication::KovoApplication()
    : RecordScreenHost(),
      _sound(nullptr),
      _backdrop(nullptr),
      _current(nullptr),
      _title(nullptr),
      _mainMenu(nullptr),
      _options(nullptr),
      _gameScreen(nullptr),
      _tutorial(nullptr),
      _slideShow(nullptr),
      _highScores(nullptr),
      _saveScreen(nullptr),
      _loadScreen(nullptr)
{
}

KovoApplication::~KovoApplication()
{
    _current = nullptr;
    destroy(_loadScreen);
    destroy(_saveScreen);
    destroy(_highScores);
    destroy(_slideShow);
    destroy(_tutorial);
    destroy(_gameScreen);
    destroy(_options);
    destroy(_mainMenu);
    destroy(_title);
    destroy(_backdrop);
    destroy(_sound);
}

void KovoApplication::readOptions(std::istream& in, Options& options)
{
    // Each value goes through a spare flag: a failed extraction stores false, which must
    // not switch an option off.
    bool* const fields[] = {&options.fullscreen, &options.scoreBox, &options.music, &options.soundEffects};
    for (bool* field : fields) {
        bool value = true;
        if (!(in >> value)) return;
        *field = value;
    }
}

KovoApplication::Options KovoApplication::readConfig()
{
    Options options;
    std::ifstream in(kConfigFileName);
    if (in) readOptions(in, options);
    return options;
}

void KovoApplication::onInit()
{
    // The looks and the game's own draws each run from the clock.
    std::srand(static_cast<unsigned int>(std::time(nullptr)));
    GameRandom::seed(static_cast<unsigned int>(std::time(nullptr)));

    const Options options = readConfig();

    _window = GphWindow::create(kWidth, kHeight, kBitsPerPixel, options.fullscreen, true, kNearPlane, kFarPlane,
                                kFieldOfView, kMenuZoom, nullptr);
    if (!_window) return;
    _window->setCaption(kCaption);

    // Without an audio device the game goes on silently.
    _sound = build<SndManager>();
    _sound->init();

    _backdrop = build<MenuBackdrop>(this);
    _title = build<TitleScreen>(this);
    _current = _title;
    // The title shows while the rest loads.
    update(0);

    _mainMenu = build<MainMenuScreen>(this);
    _options = build<OptionScreen>(this);
    _gameScreen = build<GameScreen>(this);
    _tutorial = build<TutorialScreen>(this);
    _slideShow = build<SlideShowScreen>(this);
    _highScores = build<HighScoreScreen>(this);
    _saveScreen = build<SaveScreen>(this);
    _loadScreen = build<LoadScreen>(this);

    // From here on the option screen's marks are the options.
    _options->setCheckBoxes(options.fullscreen, options.scoreBox, options.music, options.soundEffects);
    _gameScreen->setScoreBoxShown(options.scoreBox);
    SndManager::setMusicEnabled(options.music);
    SndManager::setSoundEffectsEnabled(options.soundEffects);

    // Only now may the player leave the title.
    _title->showContinueButton();
    LOG("Initialized.");
}

void KovoApplication::onShutdown()
{
    if (_sound) _sound->shutdown();
}

bool KovoApplication::isMenuScreen(const UiWindow* screen) const
{
    return screen && screen != _gameScreen;
}

void KovoApplication::update(unsigned int ms)
{
    // Each test looks at the current screen anew: a screen switched by the update (the end
    // of a game) is drawn in this same frame.
    if (isMenuScreen(_current) && _backdrop) _backdrop->update(ms);
    if (_current) _current->update(ms);
    if (!_window) return;
    _window->clear();
    const bool menu = isMenuScreen(_current);
    if (menu) {
        _window->disableLighting();
        if (_backdrop) _backdrop->draw();
    }
    if (_current) _current->draw();
    if (menu) _window->enableLighting();
    _window->swapBuffers();
}

void KovoApplication::redraw()
{
    update(0);
}

void KovoApplication::onInputFocusGained()
{
    if (_current) _current->onInputFocusGained();
}

void KovoApplication::onInputFocusLost()
{
    if (_current) _current->onInputFocusLost();
}

void KovoApplication::onDeactivated()
{
    if (_current) _current->onDeactivated();
}

void KovoApplication::onActivated()
{
    if (_current) _current->onActivated();
}

void KovoApplication::onCharDown(char c)
{
    if (_current) _current->onCharDown(c);
}

void KovoApplication::onCharUp(char c)
{
    if (_current) _current->onCharUp(c);
}

void KovoApplication::onKeyDown(AppKey key)
{
    if (_current) _current->onKeyDown(key);
}

void KovoApplication::onKeyUp(AppKey key)
{
    if (_current) _current->onKeyUp(key);
}

void KovoApplication::onMouseMove(double x, double y)
{
    if (_current) _current->onMouseMove(x, y);
}

void KovoApplication::onLeftButtonDown(double x, double y)
{
    if (_current) _current->onLeftButtonDown(x, y);
}

void KovoApplication::onLeftButtonUp(double x, double y)
{
    if (_current) _current->onLeftButtonUp(x, y);
}

void KovoApplication::onMiddleButtonDown(double x, double y)
{
    if (_current) _current->onMiddleButtonDown(x, y);
}

void KovoApplication::onMiddleButtonUp(double x, double y)
{
    if (_current) _current->onMiddleButtonUp(x, y);
}

void KovoApplication::onRightButtonDown(double x, double y)
{
    if (_current) _current->onRightButtonDown(x, y);
}

void KovoApplication::onRightButtonUp(double x, double y)
{
    if (_current) _current->onRightButtonUp(x, y);
}

void KovoApplication::switchTo(UiWindow* screen)
{
    if (screen) _current = screen;
}

void KovoApplication::showMainMenu()
{
    switchTo(_mainMenu);
}

bool KovoApplication::isGameInProgress()
{
    return _gameScreen && _gameScreen->isGameInProgress();
}

void KovoApplication::startNewGame()
{
    if (!_gameScreen) return;
    _gameScreen->reset();
    if (_gameScreen->newGame() != 0) return;
    switchTo(_gameScreen);
}

void KovoApplication::showLoadScreen()
{
    switchTo(_loadScreen);
}

void KovoApplication::showSaveScreen()
{
    if (isGameInProgress()) switchTo(_saveScreen);
}

void KovoApplication::showOptions()
{
    switchTo(_options);
}

void KovoApplication::returnToGame()
{
    if (!isGameInProgress()) return;
    _gameScreen->resume();
    switchTo(_gameScreen);
}

void KovoApplication::showTutorial()
{
    switchTo(_tutorial);
}

void KovoApplication::showSlides(int set)
{
    if (!_slideShow) return;
    _slideShow->selectSlideShow(set);
    switchTo(_slideShow);
}

void KovoApplication::showMissionSlides()
{
    showSlides(SlideShowScreen::kMission);
}

void KovoApplication::showLocationSlides()
{
    showSlides(SlideShowScreen::kLocation);
}

void KovoApplication::showMovesSlides()
{
    showSlides(SlideShowScreen::kMoves);
}

void KovoApplication::showEquipmentSlides()
{
    showSlides(SlideShowScreen::kEquipment);
}

void KovoApplication::showDossierSlides()
{
    showSlides(SlideShowScreen::kDossiers);
}

void KovoApplication::returnFromTutorial()
{
    switchTo(_mainMenu);
}

void KovoApplication::returnFromSlideShow()
{
    switchTo(_tutorial);
}

void KovoApplication::showHighScores()
{
    switchTo(_highScores);
}

void KovoApplication::exitGame()
{
    quit();
}

void KovoApplication::returnFromHighScores()
{
    switchTo(_mainMenu);
}

void KovoApplication::returnFromLoadScreen()
{
    switchTo(_mainMenu);
}

void KovoApplication::returnFromSaveScreen()
{
    switchTo(_mainMenu);
}

void KovoApplication::placeCamera(double x, double y)
{
    GphCamera* camera = _window ? _window->getCamera() : nullptr;
    if (!camera) return;
    camera->getPosition()->setX(x);
    camera->getPosition()->setY(y);
    // An empty move brings the view's bounds in step with the new position.
    camera->move(0.0, 0.0, 0.0);
}

int KovoApplication::loadGame(const std::string& fileName)
{
    if (!_gameScreen) return -1;
    GphCamera* camera = _window ? _window->getCamera() : nullptr;
    GphViewportOrthogonal* ortho = orthogonalViewport(_window);
    const double keptX = camera ? camera->getPosition()->getX() : 0.0;
    const double keptY = camera ? camera->getPosition()->getY() : 0.0;
    const double keptZoom = ortho ? ortho->getZoom() : 0.0;

    if (isGameInProgress()) _gameScreen->reset();
    if (_gameScreen->newGame() == 0 && _gameScreen->restoreGame(fileName) == 0) {
        switchTo(_gameScreen);
        return 0;
    }
    if (camera) {
        if (ortho) ortho->setZoom(keptZoom);
        placeCamera(keptX, keptY);
    }
    return -1;
}

int KovoApplication::saveGame(const std::string& fileName, int slot, const std::string& name)
{
    if (!isGameInProgress()) return -1;
    if (_gameScreen->saveGame(fileName) != 0) return -1;
    if (_loadScreen) _loadScreen->setSlotName(slot, name);
    return 0;
}

void KovoApplication::resetMenuView()
{
    placeCamera(0.0, 0.0);
    if (GphViewportOrthogonal* ortho = orthogonalViewport(_window)) ortho->setZoom(kMenuZoom);
}

void KovoApplication::leaveGameToMainMenu()
{
    resetMenuView();
    switchTo(_mainMenu);
    GphCamera* camera = _window ? _window->getCamera() : nullptr;
    if (camera) {
        const ShpCoord* at = camera->getPosition();
        SndManager::getListener()->setPosition(ShpCoord(at->getX(), at->getY(), 0.0));
    }
}

void KovoApplication::gameOver(int points)
{
    resetMenuView();
    switchTo(_highScores);
    GphCamera* camera = _window ? _window->getCamera() : nullptr;
    if (camera) {
        const ShpCoord* at = camera->getPosition();
        SndManager::getListener()->setPosition(ShpCoord(at->getX(), at->getY(), 0.0));
    }
    // The table keeps the record.
    if (_highScores) _highScores->submitScore(build<Score>("", points));
}

void KovoApplication::saveConfig(bool fullscreen, bool scoreBox, bool music, bool soundEffects)
{
    switchTo(_mainMenu);
    std::ofstream out(kConfigFileName, std::ios::out | std::ios::trunc);
    if (!out) return;
    out << (fullscreen ? 1 : 0) << ' ' << (scoreBox ? 1 : 0) << ' ' << (music ? 1 : 0) << ' '
        << (soundEffects ? 1 : 0) << ' ' << '\n';
}

void KovoApplication::toggleFullscreen()
{
    if (!_window) return;
    _window->toggleFullscreen();
    resetMenuView();
}

void KovoApplication::setScoreBoxShown(bool shown)
{
    if (_gameScreen) _gameScreen->setScoreBoxShown(shown);
}

void KovoApplication::setMusicEnabled(bool enabled)
{
    SndManager::setMusicEnabled(enabled);
}

void KovoApplication::setSoundEffectsEnabled(bool enabled)
{
    SndManager::setSoundEffectsEnabled(enabled);
}
