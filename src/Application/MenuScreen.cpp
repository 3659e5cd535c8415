#include "Application/MenuScreen.h"

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"

MenuScreen::MenuScreen(AppBase* app, int id, const std::string& pictureFile)
    : UiWindow(app, id, true), _animation(nullptr), _picture(nullptr), _navigation(this), _keys(&_navigation)
{
    GphWindow* window = app ? app->getWindow() : nullptr;
    if (window && window->getCamera()) window->getCamera()->setPosition(ShpCoord(0, 0, 0));

    _animation = new GphAnimatedTexture();
    _animation->addFrame(makeTexture(pictureFile, true));
    const ShpCoord centre(0, 0, kDepth);
    _picture = new GphRect(kSide, kSide, &centre, _animation, GPH_RECT);
    setGraphic(_picture);

    setPosition(0, 0, kDepth);
    setSize(kSide, kSide);
}

MenuScreen::~MenuScreen()
{
    setGraphic(nullptr);
    _picture->setAnimatedTexture(nullptr);
    delete _picture;
    // Deletes its frame, which gives back the image.
    delete _animation;
}

void MenuScreen::onCharDown(char c)
{
    if (c == 10 || c == 13) {
        _keys->enter(c);
    } else if (c == 27) {
        onEscape();
    }
}

void MenuScreen::onKeyDown(AppKey key)
{
    if (key == AppKeyDown)
        _keys->down();
    else if (key == AppKeyUp)
        _keys->up();
}

void MenuScreen::onEscape() {}

void MenuScreen::onMouseMove(double x, double y)
{
    _navigation.mouseMove(x, y);
}

void MenuScreen::onLeftButtonDown(double x, double y)
{
    _navigation.leftButtonDown(x, y);
}

void MenuScreen::onLeftButtonUp(double x, double y)
{
    _navigation.leftButtonUp(x, y);
}
