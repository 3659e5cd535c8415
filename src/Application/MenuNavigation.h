#ifndef KOVO_APPLICATION_MENUNAVIGATION_H
#define KOVO_APPLICATION_MENUNAVIGATION_H

#include <functional>
#include <vector>

#include "Application/KeyRing.h"

class UiControl;

// The way every menu screen is driven: one lit control at a time, moved by Up and Down in a
// ring over the screen's navigation list (top to bottom), Enter acting on the lit control, the
// pointer lighting the control under it and a left-button release pressing it. The highlight
// lives in the controls' own lit flags, so the keys and the mouse share it. The screen keeps
// Escape and anything else of its own.
class MenuNavigation : public KeyRing {
public:
    // Tells whether the ring steps over a control (a disabled button, a free slot) right now.
    typedef std::function<bool(const UiControl*)> PassOver;

    // `screen`: the window whose children the pointer tests and whose view converts points.
    explicit MenuNavigation(UiControl* screen);

    // Appends a control to the navigation list, below those already there.
    void add(UiControl* control);
    void setPassOver(PassOver passOver) { _passOver = passOver; }
    const std::vector<UiControl*>& getControls() const { return _controls; }

    // Enter: the first lit control of the list gets the character; false when none is lit.
    bool enter(char c) override;
    // Down: the first lit control from the top goes dark and the next one of the ring that
    // is not passed over lights; with none lit, the first one lights.
    void down() override;
    // Up: the lit control found from the bottom goes dark and the nearest one before it that
    // is not passed over lights; with none lit, the last one lights.
    void up() override;

    // Window pixels: the world point goes to every control of the list, each lighting itself
    // when it is enabled and under the pointer.
    void mouseMove(double x, double y);
    // Window pixels: the first child of the screen under the point (pictures aside) gets the
    // press or the release with the world point.
    void leftButtonDown(double x, double y);
    void leftButtonUp(double x, double y);

private:
    // From the lit control at `from` (or none, -1), `step` +1 or -1 around the ring.
    void moveLight(int from, int step);
    bool passedOver(const UiControl* control) const { return _passOver && _passOver(control); }

    UiControl* _screen;
    std::vector<UiControl*> _controls;
    PassOver _passOver;
};

#endif
