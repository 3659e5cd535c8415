#include "Base/Ui/UiSlideShow.h"

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Ui/UiButton.h"

namespace {
const double ButtonWidth = 64;
const double ButtonHeight = 32;
const double ButtonZ = -10;
const double ButtonY = -308;
const double ArrowX = 303;
}  // namespace

UiSlideShow::UiSlideShow(AppBase* app, int id, const std::list<std::string>& imageNames, double x, double y,
                         double z, double width, double height)
    : UiControl(app, id), _pictures(nullptr), _view(nullptr), _rightArrow(nullptr), _leftArrow(nullptr),
      _escape(nullptr)
{
    setPosition(x, y, z);
    setSize(height, width);
    _pictures = new GphAnimatedTexture();
    for (const std::string& name : imageNames) _pictures->addFrame(makeTexture(name, true));
    ShpCoord centre(x, y, z);
    _view = new GphRect(width, height, &centre, _pictures, GPH_RECT);
    setGraphic(_view);

    // The buttons stand at the same place of the view for every slide show.
    _rightArrow = new UiButton(app, RightArrowId, "right_arrow.pcx", "right_arrow_lit.pcx", ArrowX, ButtonY,
                               ButtonZ, ButtonWidth, ButtonHeight, true);
    _leftArrow = new UiButton(app, LeftArrowId, "left_arrow.pcx", "left_arrow_lit.pcx", -ArrowX, ButtonY, ButtonZ,
                              ButtonWidth, ButtonHeight, true);
    _escape = new UiButton(app, EscapeId, "escape_button.pcx", "escape_button_lit.pcx", 0, ButtonY, ButtonZ,
                           ButtonWidth, ButtonHeight, true);
    addChild(_rightArrow);
    addChild(_leftArrow);
    addChild(_escape);
    if (pictureCount() <= 1) {
        _rightArrow->hide();
        _leftArrow->hide();
    }
}

UiSlideShow::~UiSlideShow()
{
    removeChild(_escape);
    delete _escape;
    removeChild(_leftArrow);
    delete _leftArrow;
    removeChild(_rightArrow);
    delete _rightArrow;
    setGraphic(nullptr);
    _view->setAnimatedTexture(nullptr);
    delete _view;
    delete _pictures;
}

int UiSlideShow::pictureCount() const
{
    return static_cast<int>(_pictures->getFrameCount());
}

void UiSlideShow::update(unsigned int)
{
    const int current = static_cast<int>(_pictures->getCurrentFrame());
    if (current >= pictureCount() - 1) {
        _rightArrow->hide();
        _rightArrow->disable();
    } else {
        _rightArrow->show();
        _rightArrow->enable();
    }
    if (current != 0) {
        _leftArrow->show();
        _leftArrow->enable();
    } else {
        _leftArrow->hide();
        _leftArrow->disable();
    }
}

void UiSlideShow::nextPicture()
{
    // One millisecond at one millisecond per frame is exactly one step.
    if (static_cast<int>(_pictures->getCurrentFrame()) < pictureCount() - 1) _pictures->update(1);
}

void UiSlideShow::previousPicture()
{
    const unsigned int current = _pictures->getCurrentFrame();
    if (current > 0) _pictures->setCurrentFrame(current - 1);
}

void UiSlideShow::cancel()
{
    if (getParent() && isEnabled()) getParent()->onCancel(getId());
}

void UiSlideShow::onCharDown(char c)
{
    if (c == 27) cancel();
}

void UiSlideShow::onKeyDown(AppKey key)
{
    if (key == AppKeyLeft) {
        previousPicture();
    } else if (key == AppKeyRight) {
        nextPicture();
    }
}

void UiSlideShow::onMouseMove(double x, double y)
{
    double wx = 0;
    double wy = 0;
    windowToWorld(x, y, wx, wy);
    _rightArrow->onMouseMove(wx, wy);
    _leftArrow->onMouseMove(wx, wy);
    _escape->onMouseMove(wx, wy);
}

void UiSlideShow::onLeftButtonDown(double x, double y)
{
    passLeftButton(x, y, true);
}

void UiSlideShow::onLeftButtonUp(double x, double y)
{
    passLeftButton(x, y, false);
}

void UiSlideShow::onCommand(int id)
{
    switch (id) {
    case RightArrowId:
        nextPicture();
        break;
    case LeftArrowId:
        previousPicture();
        break;
    case EscapeId:
        cancel();
        break;
    default:
        break;
    }
}
