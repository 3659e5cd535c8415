#ifndef KOVO_BASE_UI_UICHECKBOX_H
#define KOVO_BASE_UI_UICHECKBOX_H

#include <string>

#include "Base/Ui/UiControl.h"

class UiIcon;

// A toggle: a normal and a lit picture with a check mark at its left end while
// checked. Enter or a left-button release on an enabled box with a parent toggles it
// and sends onCheckBoxChanged with the new state.
class UiCheckBox : public UiControl {
public:
    UiCheckBox(AppBase* app, int id, const std::string& normalImage, const std::string& litImage, double x,
               double y, double z, double width, double height);
    ~UiCheckBox() override;

    void check() { _checked = true; }
    void uncheck() { _checked = false; }
    // Sets the state silently: no sound, no notification.
    void setChecked(bool checked) { _checked = checked; }
    bool isChecked() const { return _checked; }

    void draw() override;
    void onCharDown(char c) override;
    void onMouseMove(double x, double y) override;
    void onLeftButtonUp(double x, double y) override;

private:
    bool _checked;
    UiIcon* _lit;
    UiIcon* _normal;
    UiIcon* _checkMark;
    SndSoundEffect* _click;
};

#endif
