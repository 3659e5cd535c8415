#ifndef KOVO_APPLICATION_MENUSCREEN_H
#define KOVO_APPLICATION_MENUSCREEN_H

#include <string>

#include "Application/KeyRing.h"
#include "Application/MenuNavigation.h"
#include "Base/Ui/UiWindow.h"

class GphAnimatedTexture;
class GphRect;

// What every menu screen is built on: a still picture filling the screen in front of the
// camera, which goes back to the origin when the screen is built; the pointer lighting and
// pressing the controls of the navigation list; Enter, Up and Down going to a key ring and
// Escape to the screen.
class MenuScreen : public UiWindow {
public:
    ~MenuScreen() override;

    // Enter and Return act on the key ring's lit control; Escape calls onEscape.
    void onCharDown(char c) override;
    // Down and Up move the key ring's light.
    void onKeyDown(AppKey key) override;
    void onMouseMove(double x, double y) override;
    void onLeftButtonDown(double x, double y) override;
    void onLeftButtonUp(double x, double y) override;

protected:
    // Depth of the picture and of every control of a menu, and the side of the picture.
    static constexpr double kDepth = -10.0;
    static constexpr double kSide = 1024.0;

    // `pictureFile`: the screen's picture, drawn with its transparent colour left out.
    MenuScreen(AppBase* app, int id, const std::string& pictureFile);

    // The controls the pointer reaches, top to bottom.
    MenuNavigation& getNavigation() { return _navigation; }
    // Where Enter, Up and Down go; the navigation list unless the screen has its own rule.
    void setKeyRing(KeyRing* keys) { _keys = keys; }
    // Escape: nothing, unless the screen is left by it.
    virtual void onEscape();

private:
    GphAnimatedTexture* _animation;
    GphRect* _picture;
    MenuNavigation _navigation;
    KeyRing* _keys;
};

#endif
