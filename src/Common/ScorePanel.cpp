#include "Common/ScorePanel.h"

#include "Base/App/Log.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphBillboard.h"
#include "Base/Gph/GphRect.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "Common/PanelDigits.h"
#include "Kovo/ObjectPictures.h"
#include "Kovo/Player.h"

namespace {

GphAnimatedTexture* decalPicture(const char* imageName)
{
    GphAnimatedTexture* animation = new GphAnimatedTexture();
    animation->addFrame(PanelDigits::makeDecalTexture(imageName));
    return animation;
}

}  // namespace

ScorePanel::ScorePanel(Player* player)
    : _player(player), _box(nullptr), _digits(nullptr), _timerBar(nullptr), _timerValue(0), _timerMaximum(0)
{
    _box = new GphBillboard(kBoxOffsetX, kBoxOffsetY, kBoxLength, kBoxWidth, GameConstants::zPanelBack,
                            decalPicture("scorebox.pcx"));
    _digits = new PanelDigits();
    const ShpCoord barAt(0, 0, GameConstants::zScorePanel);
    _timerBar = new GphRect(10, kBarWidth, &barAt, decalPicture("timer.pcx"), GPH_RECT);
    // One drawing each at once, so that their textures are in place before the first frame.
    _box->render();
    _digits->getRect()->render();
    _timerBar->render();
    _box->show();
}

ScorePanel::~ScorePanel()
{
    delete _digits;
    _digits = nullptr;
    ObjectPictures::deletePicture(_timerBar);
    GphRect* box = _box;
    _box = nullptr;
    ObjectPictures::deletePicture(box);
}

void ScorePanel::show()
{
    _box->show();
}

void ScorePanel::setTimer(int remaining, int maximum)
{
    _timerValue = remaining;
    _timerMaximum = maximum;
}

void ScorePanel::draw()
{
    if (!_box->isShown()) return;
    _box->draw();
    const ShpCoord& at = *_box->getCoord();
    const double bx = at.getX();
    const double by = at.getY();

    if (_player) {
        _digits->drawNumber(_player->getScore(), bx + 61, by + 21);
        _digits->drawNumber(_player->getLives(), bx - 16, by - 7);
        _digits->drawNumber(_player->getGrenades(), bx + 61, by - 7);
    }

    // Without a full time there is no share to show (and nothing to divide by).
    if (_timerValue > 0 && _timerMaximum > 0) {
        const double length = static_cast<double>(_timerValue) / _timerMaximum * kBarFullLength;
        _timerBar->setCoord(ShpCoord(bx + kBarLeft + length / 2, by + kBarY, GameConstants::zScorePanel));
        _timerBar->setLength(length);
        _timerBar->draw();
    }
}

int ScorePanel::writeState(std::ostream& out)
{
    out << _timerValue << ' ' << _timerMaximum << ' ';
    return 0;
}

int ScorePanel::readState(std::istream& in)
{
    int value = 0;
    int maximum = 0;
    if (!(in >> value >> maximum)) {
        LOG("Failed to read score panel");
        return -1;
    }
    _timerValue = value;
    _timerMaximum = maximum;
    return 0;
}
