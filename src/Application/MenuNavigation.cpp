#include "Application/MenuNavigation.h"

#include "Base/Ui/UiControl.h"

MenuNavigation::MenuNavigation(UiControl* screen) : _screen(screen) {}

void MenuNavigation::add(UiControl* control)
{
    _controls.push_back(control);
}

bool MenuNavigation::enter(char c)
{
    for (UiControl* control : _controls) {
        if (!control->isLit()) continue;
        // The control may switch screens: nothing of the list is touched afterwards.
        control->onCharDown(c);
        return true;
    }
    return false;
}

void MenuNavigation::down()
{
    const int count = static_cast<int>(_controls.size());
    for (int i = 0; i < count; ++i) {
        if (_controls[i]->isLit()) {
            moveLight(i, 1);
            return;
        }
    }
    moveLight(-1, 1);
}

void MenuNavigation::up()
{
    for (int i = static_cast<int>(_controls.size()) - 1; i >= 0; --i) {
        if (_controls[i]->isLit()) {
            moveLight(i, -1);
            return;
        }
    }
    moveLight(-1, -1);
}

void MenuNavigation::moveLight(int from, int step)
{
    const int count = static_cast<int>(_controls.size());
    if (count == 0) return;
    if (from >= 0) _controls[from]->setLit(false);
    // With nothing lit the walk starts just outside the list, at the end it enters from.
    int at = from >= 0 ? from : (step > 0 ? -1 : count);
    // Once round the ring at most: when every other control is passed over, the walk comes
    // back to where it started.
    for (int tries = 0; tries < count; ++tries) {
        at = ((at + step) % count + count) % count;
        if (!passedOver(_controls[at])) {
            _controls[at]->setLit(true);
            return;
        }
    }
}

void MenuNavigation::mouseMove(double x, double y)
{
    double wx = 0;
    double wy = 0;
    _screen->windowToWorld(x, y, wx, wy);
    for (UiControl* control : _controls) control->onMouseMove(wx, wy);
}

void MenuNavigation::leftButtonDown(double x, double y)
{
    _screen->passLeftButton(x, y, true);
}

void MenuNavigation::leftButtonUp(double x, double y)
{
    _screen->passLeftButton(x, y, false);
}
