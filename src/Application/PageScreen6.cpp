#include "Application/PageScreen6.h"

#include "Application/PageOwner.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Ui/UiButton.h"
#include "Base/Ui/UiIcon.h"

namespace {

constexpr double kDepth = -10.0;
constexpr double kPageSide = 800.0;

}  // namespace

PageScreen6::PageScreen6(AppBase* app, PageOwner* gameScreen)
    : UiWindow(app, 1, true),
      _app(app),
      _game_screen(gameScreen),
      _page_animation(nullptr),
      _page_rect(nullptr),
      _title(nullptr),
      _panel(nullptr),
      _upper(nullptr),
      _summary(nullptr),
      _lower(nullptr),
      _previous(nullptr),
      _end(nullptr)
{
    GphWindow* window = app ? app->getWindow() : nullptr;
    if (window && window->getCamera()) window->getCamera()->setPosition(ShpCoord(0, 0, 0));

    _page_animation = new GphAnimatedTexture();
    _page_animation->addFrame(makeTexture("summarypage.pcx", false));
    const ShpCoord centre(0, 0, kDepth);
    _page_rect = new GphRect(kPageSide, kPageSide, &centre, _page_animation, GPH_RECT);
    setGraphic(_page_rect);
    setPosition(0, 0, kDepth);
    setSize(kPageSide, kPageSide);

    _title = new UiIcon(app, kTitleId, "page6_title.pcx", 0, 276, kDepth, 400, 40, false);
    _panel = new UiIcon(app, kPanelId, "summary1.pcx", 125, 150, kDepth, 400, 200, false);
    _upper = new UiIcon(app, kUpperPictureId, "summarypic1.pcx", -250, 150, kDepth, 200, 200, false);
    _lower = new UiIcon(app, kLowerPictureId, "summarypic2.pcx", 250, -75, kDepth, 200, 200, false);
    _previous = new UiButton(app, kPreviousPageId, "page_prev_button.pcx", "page_prev_button_lit.pcx", -340, -261,
                             kDepth, 80, 40, false);
    // The end button wears the next-page pictures.
    _end = new UiButton(app, kEndId, "page_next_button.pcx", "page_next_button_lit.pcx", 340, -261, kDepth, 80, 40,
                        false);
    for (UiControl* control : {static_cast<UiControl*>(_title), static_cast<UiControl*>(_panel),
                               static_cast<UiControl*>(_upper), static_cast<UiControl*>(_lower),
                               static_cast<UiControl*>(_previous), static_cast<UiControl*>(_end)})
        addChild(control);
    enableButtons();
}

PageScreen6::~PageScreen6()
{
    auto drop = [this](auto*& control) {
        if (!control) return;
        removeChild(control);
        delete control;
        control = nullptr;
    };
    drop(_summary);
    drop(_end);
    drop(_previous);
    drop(_lower);
    drop(_upper);
    drop(_panel);
    drop(_title);
    setGraphic(nullptr);
    _page_rect->setAnimatedTexture(nullptr);
    delete _page_rect;
    // Deletes its frame, which gives back the picture.
    delete _page_animation;
}

void PageScreen6::enableButtons()
{
    _previous->enable();
    _end->enable();
}

void PageScreen6::showSummary(AppBase* app, bool bonusDone)
{
    if (_summary) {
        removeChild(_summary);
        delete _summary;
        _summary = nullptr;
    }
    _summary = new UiIcon(app, kSummaryId, bonusDone ? "summary3.pcx" : "summary2.pcx", -125, -75, kDepth, 400, 200,
                          false);
    addChild(_summary);
}

void PageScreen6::onCharDown(char c)
{
    if (c != 10 && c != 13) return;
    if (_previous->isLit())
        _previous->onCharDown(c);
    else if (_end->isLit())
        _end->onCharDown(c);
}

void PageScreen6::onKeyDown(AppKey key)
{
    // Two buttons make the ring: either key lights the other one.
    if (key == AppKeyLeft) {
        const bool fromPrevious = _previous->isLit();
        (fromPrevious ? _previous : _end)->setLit(false);
        (fromPrevious ? _end : _previous)->setLit(true);
    } else if (key == AppKeyRight) {
        const bool fromEnd = _end->isLit();
        (fromEnd ? _end : _previous)->setLit(false);
        (fromEnd ? _previous : _end)->setLit(true);
    }
}

void PageScreen6::onMouseMove(double x, double y)
{
    double wx = 0;
    double wy = 0;
    windowToWorld(x, y, wx, wy);
    _previous->onMouseMove(wx, wy);
    _end->onMouseMove(wx, wy);
}

void PageScreen6::onLeftButtonDown(double x, double y)
{
    passLeftButton(x, y, true);
}

void PageScreen6::onLeftButtonUp(double x, double y)
{
    passLeftButton(x, y, false);
}

void PageScreen6::onCommand(int id)
{
    if (!_game_screen) return;
    if (id == kPreviousPageId) {
        _game_screen->previousPage();
    } else if (id == kEndId) {
        // No level runs: the game is over, lives or not.
        _game_screen->onPlayerDied();
    }
}
