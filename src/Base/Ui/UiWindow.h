#ifndef KOVO_BASE_UI_UIWINDOW_H
#define KOVO_BASE_UI_UIWINDOW_H

#include "Base/Ui/UiControl.h"

// The base of every screen: the root of a control tree, driven by the application,
// which forwards each of its input hooks to the current screen unchanged. A screen
// has no parent, so it always has the focus, and it decides itself which of its
// controls gets an event; in the base every input hook is empty. Its update runs every
// child and its draw shows its own graphic and then every child, as a control's do.
class UiWindow : public UiControl {
public:
    UiWindow(AppBase* app, int id, bool flag);
    ~UiWindow() override;

    // Events that only a screen receives.
    virtual void onInputFocusGained();
    virtual void onInputFocusLost();
    virtual void onDeactivated();
    virtual void onActivated();
    virtual void onCharUp(char c);

    bool getFlag() const { return _flag; }

private:
    bool _flag;
};

#endif
