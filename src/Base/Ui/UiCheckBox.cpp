#include "Base/Ui/UiCheckBox.h"

#include "Base/Snd/SndSoundEffect.h"
#include "Base/Ui/UiIcon.h"

UiCheckBox::UiCheckBox(AppBase* app, int id, const std::string& normalImage, const std::string& litImage, double x,
                       double y, double z, double width, double height)
    : UiControl(app, id), _checked(false), _lit(nullptr), _normal(nullptr), _checkMark(nullptr), _click(nullptr)
{
    _lit = new UiIcon(app, id, litImage, x, y, z, width, height, false);
    _normal = new UiIcon(app, id, normalImage, x, y, z, width, height, false);
    // A square of the box's height at its left end.
    _checkMark = new UiIcon(app, id, "check_mark.pcx", x - width / 2 + height / 2, y, z, height, height, true);
    _click = SndSoundEffect::create("menu_item_click1.wav");
    setPosition(x, y, z);
    setSize(height, width);
}

UiCheckBox::~UiCheckBox()
{
    if (_click) SndSoundEffect::release(_click);
    delete _checkMark;
    delete _normal;
    delete _lit;
}

void UiCheckBox::draw()
{
    if (!isVisible()) return;
    if (isLit()) {
        _lit->draw();
    } else {
        _normal->draw();
    }
    if (_checked) _checkMark->draw();
}

void UiCheckBox::onCharDown(char c)
{
    if (c != 10 && c != 13) return;
    if (getParent() && isEnabled()) {
        playAtListener(_click);
        _checked = !_checked;
        getParent()->onCheckBoxChanged(getId(), _checked);
    }
}

void UiCheckBox::onMouseMove(double x, double y)
{
    setLit(isEnabled() && containsPoint(x, y));
}

void UiCheckBox::onLeftButtonUp(double, double)
{
    if (getParent() && isEnabled()) {
        playAtListener(_click);
        _checked = !_checked;
        getParent()->onCheckBoxChanged(getId(), _checked);
    }
}
