#include "Base/Ui/UiButton.h"

#include "Base/Snd/SndSoundEffect.h"
#include "Base/Ui/UiIcon.h"

UiButton::UiButton(AppBase* app, int id, const std::string& normalImage, const std::string& litImage, double x,
                   double y, double z, double width, double height, bool transparent)
    : UiButton(app, id, normalImage, litImage, std::string(), x, y, z, width, height, transparent)
{
}

UiButton::UiButton(AppBase* app, int id, const std::string& normalImage, const std::string& litImage,
                   const std::string& disabledImage, double x, double y, double z, double width, double height,
                   bool transparent)
    : UiControl(app, id), _normal(nullptr), _lit(nullptr), _disabled(nullptr), _click(nullptr)
{
    _normal = new UiIcon(app, id, normalImage, x, y, z, width, height, transparent);
    _lit = new UiIcon(app, id, litImage, x, y, z, width, height, transparent);
    if (!disabledImage.empty()) {
        _disabled = new UiIcon(app, id, disabledImage, x, y, z, width, height, transparent);
    }
    _click = SndSoundEffect::create("menu_item_click1.wav");
    setPosition(x, y, z);
    Sprite::setSize(height, width);
}

UiButton::~UiButton()
{
    if (_click) SndSoundEffect::release(_click);
    delete _disabled;
    delete _lit;
    delete _normal;
}

void UiButton::setSize(double length, double width)
{
    if (_disabled) _disabled->setSize(length, width);
    _lit->setSize(length, width);
    _normal->setSize(length, width);
}

void UiButton::deleteDisabledImage()
{
    delete _disabled;
    _disabled = nullptr;
}

void UiButton::draw()
{
    if (!isVisible()) return;
    if (isLit()) {
        _lit->draw();
    } else if (!isEnabled() && _disabled) {
        _disabled->draw();
    } else {
        _normal->draw();
    }
}

void UiButton::onCharDown(char c)
{
    if (c != 10 && c != 13) return;
    if (getParent() && isEnabled()) {
        playAtListener(_click);
        getParent()->onCommand(getId());
    }
}

void UiButton::onMouseMove(double x, double y)
{
    setLit(isEnabled() && containsPoint(x, y));
}

void UiButton::onLeftButtonDown(double, double) {}

void UiButton::onLeftButtonUp(double, double)
{
    if (getParent() && isEnabled()) {
        playAtListener(_click);
        getParent()->onCommand(getId());
    }
}
