#ifndef KOVO_BASE_UI_UIBUTTON_H
#define KOVO_BASE_UI_UIBUTTON_H

#include <string>

#include "Base/Ui/UiControl.h"

class UiIcon;

// A push button of two or three pictures (normal, lit and optionally disabled) and a
// click sound. Enter or a left-button release on an enabled button sends onCommand
// with its id to its parent. The pictures are the button's own, in no child list.
class UiButton : public UiControl {
public:
    UiButton(AppBase* app, int id, const std::string& normalImage, const std::string& litImage, double x, double y,
             double z, double width, double height, bool transparent);
    UiButton(AppBase* app, int id, const std::string& normalImage, const std::string& litImage,
             const std::string& disabledImage, double x, double y, double z, double width, double height,
             bool transparent);
    ~UiButton() override;

    // Resizes the pictures only; the box that the pointer tests keeps its size.
    void setSize(double length, double width);
    // From now on a disabled button shows its normal picture.
    void deleteDisabledImage();

    void draw() override;
    void onCharDown(char c) override;
    void onMouseMove(double x, double y) override;
    void onLeftButtonDown(double x, double y) override;
    void onLeftButtonUp(double x, double y) override;

private:
    UiIcon* _normal;
    UiIcon* _lit;
    UiIcon* _disabled;
    SndSoundEffect* _click;
};

#endif
