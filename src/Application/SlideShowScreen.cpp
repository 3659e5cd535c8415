#include "Application/SlideShowScreen.h"

#include <list>
#include <string>

#include "Application/KovoApplication.h"
#include "Base/Ui/UiSlideShow.h"

namespace {

// The pictures of each series in the order they show, which is not always the order of
// their numbers.
const std::list<std::string> kPictures[SlideShowScreen::kSetCount] = {
    {"missionscreen1.pcx", "missionscreen2.pcx"},
    {"localescreen1.pcx", "localescreen2.pcx"},
    {"movesscreen1.pcx", "movesscreen2.pcx", "movesscreen3.pcx", "movesscreen4.pcx", "movesscreen5.pcx",
     "movesscreen7.pcx", "movesscreen6.pcx"},
    {"equipmentscreen1.pcx", "equipmentscreen2.pcx", "equipmentscreen3.pcx", "equipmentscreen4.pcx",
     "equipmentscreen5.pcx", "equipmentscreen6.pcx"},
    {"dossierscreen02.pcx", "dossierscreen01.pcx", "dossierscreen12.pcx", "dossierscreen13.pcx",
     "dossierscreen14.pcx", "dossierscreen15.pcx", "dossierscreen03.pcx", "dossierscreen04.pcx",
     "dossierscreen05.pcx", "dossierscreen06.pcx", "dossierscreen07.pcx", "dossierscreen08.pcx",
     "dossierscreen09.pcx", "dossierscreen10.pcx", "dossierscreen11.pcx"},
};

// Every series fills the view above the buttons.
constexpr double kSetY = -68.0;
constexpr double kSetWidth = 1024.0;
constexpr double kSetHeight = 512.0;
// The control id of the first series; the others follow.
constexpr int kFirstSetId = 2;

}  // namespace

SlideShowScreen::SlideShowScreen(KovoApplication* app)
    : MenuScreen(app, 1, "mainmenu.pcx"), _app(app), _current(nullptr), _sets{}
{
    for (int i = 0; i < kSetCount; ++i) {
        _sets[i] = new UiSlideShow(app, kFirstSetId + i, kPictures[i], 0, kSetY, kDepth, kSetWidth, kSetHeight);
        addChild(_sets[i]);
        _sets[i]->hide();
    }
}

SlideShowScreen::~SlideShowScreen()
{
    _current = nullptr;
    for (int i = kSetCount - 1; i >= 0; --i) {
        removeChild(_sets[i]);
        delete _sets[i];
        _sets[i] = nullptr;
    }
}

UiSlideShow* SlideShowScreen::getSet(int set) const
{
    return set >= 0 && set < kSetCount ? _sets[set] : nullptr;
}

void SlideShowScreen::selectSlideShow(int set)
{
    for (UiSlideShow* series : _sets) series->hide();
    // A number outside the series leaves none shown, and nothing to page or close.
    _current = getSet(set);
    if (_current) _current->show();
}

void SlideShowScreen::update(unsigned int ms)
{
    if (_current) _current->update(ms);
}

void SlideShowScreen::onCharDown(char c)
{
    if (_current) _current->onCharDown(c);
}

void SlideShowScreen::onKeyDown(AppKey key)
{
    if (_current) _current->onKeyDown(key);
}

void SlideShowScreen::onMouseMove(double x, double y)
{
    if (_current) _current->onMouseMove(x, y);
}

void SlideShowScreen::onLeftButtonDown(double x, double y)
{
    if (_current) _current->onLeftButtonDown(x, y);
}

void SlideShowScreen::onLeftButtonUp(double x, double y)
{
    if (_current) _current->onLeftButtonUp(x, y);
}

void SlideShowScreen::onCancel(int)
{
    if (_app) _app->returnFromSlideShow();
}
