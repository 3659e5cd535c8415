#ifndef KOVO_BASE_UI_UISLIDESHOW_H
#define KOVO_BASE_UI_UISLIDESHOW_H

#include <list>
#include <string>

#include "Base/Ui/UiControl.h"

class GphAnimatedTexture;
class GphRect;
class UiButton;

// A fixed series of pictures shown one at a time, paged with Left and Right or with
// its arrow buttons, and left with Escape or its escape button, which it reports to
// its parent as onCancel. Its mouse operations take window pixels and convert them.
class UiSlideShow : public UiControl {
public:
    // The ids of its own buttons.
    static const int RightArrowId = 1;
    static const int LeftArrowId = 2;
    static const int EscapeId = 3;

    UiSlideShow(AppBase* app, int id, const std::list<std::string>& imageNames, double x, double y, double z,
                double width, double height);
    ~UiSlideShow() override;

    void update(unsigned int ms) override;
    void onCharDown(char c) override;
    void onKeyDown(AppKey key) override;
    void onMouseMove(double x, double y) override;
    void onLeftButtonDown(double x, double y) override;
    void onLeftButtonUp(double x, double y) override;
    void onCommand(int id) override;

private:
    int pictureCount() const;
    void nextPicture();
    void previousPicture();
    void cancel();

    GphAnimatedTexture* _pictures;
    GphRect* _view;
    UiButton* _rightArrow;
    UiButton* _leftArrow;
    UiButton* _escape;
};

#endif
