#include "Common/PdaPanel.h"

#include "Base/App/AppBase.h"
#include "Base/App/Log.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Common/GameConstants.h"
#include "Common/PanelDigits.h"
#include "Kovo/ObjectPictures.h"
#include "Kovo/Player.h"

const char* const PdaPanel::kNoObjective = "<NO_OBJECTIVE>";

PdaPanel::PdaPanel(AppBase* app, Player* player)
    : _app(app),
      _player(player),
      _panel(nullptr),
      _digits(nullptr),
      _objective(nullptr),
      _total(0),
      _found(0),
      _percentage(0),
      _shown(false),
      _slidingOut(false),
      _targetY(0),
      _arrival(nullptr),
      _departure(nullptr),
      _chime(nullptr)
{
    const ShpCoord start(400, -210, GameConstants::zPanelBack);
    // See-through and lit like the world, as the game objects' pictures are.
    GphAnimatedTexture* look = ObjectPictures::loadAnimation({"spywherecomputer.pcx"});
    _panel = new GphRect(kPanelSide, kPanelSide, &start, look, GPH_RECT);
    _digits = new PanelDigits();
    _arrival = SndSoundEffect::create("pdaarrive.wav");
    _departure = SndSoundEffect::create("pdaaway.wav");
    _chime = SndSoundEffect::create("chimes.wav");
}

PdaPanel::~PdaPanel()
{
    SndSoundEffect::release(_chime);
    SndSoundEffect::release(_departure);
    SndSoundEffect::release(_arrival);
    ObjectPictures::deletePicture(_objective);
    delete _digits;
    _digits = nullptr;
    ObjectPictures::deletePicture(_panel);
}

void PdaPanel::playAtCamera(SndSoundEffect* effect)
{
    double x = 0;
    double y = 0;
    GphWindow* window = _app ? _app->getWindow() : nullptr;
    if (window && window->getCamera()) {
        const ShpCoord* camera = window->getCamera()->getPosition();
        x = camera->getX();
        y = camera->getY();
    }
    SndSoundEffect::playAt(effect, ShpCoord(x, y, 0));
}

double PdaPanel::panelY() const
{
    return _panel->getCoord()->getY();
}

void PdaPanel::setPanelY(double y)
{
    const ShpCoord* at = _panel->getCoord();
    _panel->setCoord(ShpCoord(at->getX(), y, at->getZ()));
}

void PdaPanel::show()
{
    GphWindow* window = _app ? _app->getWindow() : nullptr;
    if (!_panel || !window || !window->getCamera()) return;
    const ShpCoord* camera = window->getCamera()->getPosition();
    _panel->setCoord(ShpCoord(camera->getX(), camera->getY() - kSlideDistance, GameConstants::zPanelBack));
    _shown = true;
    _slidingOut = false;
    _targetY = camera->getY();
    playAtCamera(_arrival);
}

void PdaPanel::resetMotion()
{
    _shown = false;
    _slidingOut = false;
}

void PdaPanel::slideOut()
{
    if (_slidingOut) return;
    _targetY = panelY() - kSlideDistance;
    _slidingOut = true;
    playAtCamera(_departure);
}

void PdaPanel::onCharDown(char)
{
    slideOut();
}

void PdaPanel::onKeyDown(AppKey)
{
    slideOut();
}

void PdaPanel::update(unsigned int ms)
{
    const double step = ms * GameConstants::panelSlideSpeed / 1000.0;
    const double y = panelY();
    if (!_slidingOut && y < _targetY) {
        setPanelY(y + step > _targetY ? _targetY : y + step);
    } else if (y > _targetY) {
        if (y - step <= _targetY) {
            setPanelY(kParkedY);
            resetMotion();
        } else {
            setPanelY(y - step);
        }
    }
}

void PdaPanel::draw()
{
    if (!_panel->isVisible()) return;
    GphWindow* window = _app ? _app->getWindow() : nullptr;
    if (window) window->disableLighting();
    _panel->draw();
    const ShpCoord& at = *_panel->getCoord();
    const double px = at.getX();
    const double py = at.getY();
    const double right = px + 96;
    if (_player) {
        _digits->drawNumber(_player->getScore(), right, py + 131);
        _digits->drawNumber(_player->getGrenades(), right, py + 98);
        _digits->drawNumber(_player->getHealth(), right, py + 65);
        _digits->drawNumber(_player->getLives(), right, py + 32);
    }
    _digits->drawNumber(_percentage, right, py - 1);
    // A picture object left without a look (the objective was cleared) is not drawn.
    if (_objective && _objective->getAnimatedTexture()) {
        _objective->setCoord(ShpCoord(px, py - kObjectiveDrop, GameConstants::zScorePanel));
        _objective->draw();
    }
    if (window) window->enableLighting();
}

void PdaPanel::setObjective(const std::string& imageFileName)
{
    if (_objective) {
        GphAnimatedTexture* old = _objective->getAnimatedTexture();
        _objective->setAnimatedTexture(nullptr);
        delete old;
    }
    _objectiveName = imageFileName;
    if (_objectiveName.empty()) return;
    GphAnimatedTexture* look = ObjectPictures::loadAnimation({_objectiveName});
    if (_objective) {
        _objective->setAnimatedTexture(look);
    } else {
        const ShpCoord at(0, 0, GameConstants::zScorePanel);
        _objective = new GphRect(kObjectiveLength, kObjectiveWidth, &at, look, GPH_RECT);
    }
}

void PdaPanel::resetCounters()
{
    _found = 0;
    _percentage = 0;
}

void PdaPanel::countFound()
{
    ++_found;
    if (_total > 0) {
        _percentage = static_cast<int>(static_cast<double>(_found) / _total * 100);
        if (_found == _total) playAtCamera(_chime);
    }
}

int PdaPanel::writeState(std::ostream& out)
{
    out << (_objectiveName.empty() ? std::string(kNoObjective) : _objectiveName) << ' ' << _total << ' ' << _found
        << ' ' << _percentage << ' ';
    return 0;
}

int PdaPanel::readState(std::istream& in)
{
    std::string name;
    int total = 0;
    int found = 0;
    int percentage = 0;
    if (!(in >> name >> total >> found >> percentage)) {
        LOG("Failed to read objective panel");
        return -1;
    }
    _total = total;
    _found = found;
    _percentage = percentage;
    setObjective(name == kNoObjective ? std::string() : name);
    return 0;
}
