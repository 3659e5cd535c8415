#ifndef KOVO_APPLICATION_TITLESCREEN_H
#define KOVO_APPLICATION_TITLESCREEN_H

#include "Application/MenuNavigation.h"
#include "Base/Ui/UiWindow.h"

class GphAnimatedTexture;
class GphImage;
class GphRect;
class GphTexture;
class ScreenHost;
class UiButton;

// The first screen: the title picture over the menu backdrop. Its continue button stays
// hidden until start-up is over; then any character key or a click on the button leads to
// the main menu.
class TitleScreen : public UiWindow {
public:
    static constexpr int kContinueId = 2;

    explicit TitleScreen(ScreenHost* app);
    ~TitleScreen() override;

    void showContinueButton();
    UiButton* getContinueButton() const { return _continue; }

    // Any character at all.
    void onCharDown(char c) override;
    void onMouseMove(double x, double y) override;
    void onLeftButtonDown(double x, double y) override;
    void onLeftButtonUp(double x, double y) override;
    // Any command leads on.
    void onCommand(int id) override;

private:
    ScreenHost* _app;
    GphImage* _image;
    GphTexture* _texture;
    GphAnimatedTexture* _animation;
    GphRect* _picture;
    UiButton* _continue;
    MenuNavigation _navigation;
};

#endif
