#include "Application/TitleScreen.h"

#include <GL/gl.h>

#include "Application/ScreenHost.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndListener.h"
#include "Base/Snd/SndManager.h"
#include "Base/Ui/UiButton.h"

namespace {

constexpr double kDepth = -10.0;
constexpr double kSide = 1024.0;

}  // namespace

TitleScreen::TitleScreen(ScreenHost* app)
    : UiWindow(app, 1, true),
      _app(app),
      _image(nullptr),
      _texture(nullptr),
      _animation(nullptr),
      _picture(nullptr),
      _continue(nullptr),
      _navigation(this)
{
    GphWindow* window = app ? app->getWindow() : nullptr;
    if (window && window->getCamera()) window->getCamera()->setPosition(ShpCoord(0, 0, 0));
    SndListener* listener = SndManager::getListener();
    listener->setPosition(ShpCoord(0, 0, 0));
    listener->setOrientation(ShpCoord(0, 0, -1), ShpCoord(0, 1, 0));

    _image = GphImage::load("title_overlay.pcx", true);
    _texture = new GphTexture(_image, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT, GL_MODULATE, nullptr);
    _animation = new GphAnimatedTexture();
    _animation->addFrame(_texture);
    const ShpCoord centre(0, 0, kDepth);
    _picture = new GphRect(kSide, kSide, &centre, _animation, GPH_RECT);
    setGraphic(_picture);

    _continue = new UiButton(app, kContinueId, "title_continue_button.pcx", "title_continue_button_lit.pcx", 0,
                             -200, kDepth, 512, 64, false);
    addChild(_continue);
    _continue->hide();
    _navigation.add(_continue);

    setPosition(0, 0, kDepth);
    setSize(kSide, kSide);
}

TitleScreen::~TitleScreen()
{
    removeChild(_continue);
    delete _continue;
    _continue = nullptr;
    setGraphic(nullptr);
    _picture->setAnimatedTexture(nullptr);
    delete _picture;
    _picture = nullptr;
    // Deletes its frame, which gives back the image.
    delete _animation;
    _animation = nullptr;
    _texture = nullptr;
    _image = nullptr;
}

void TitleScreen::showContinueButton()
{
    _continue->show();
}

void TitleScreen::onCharDown(char)
{
    if (_app) _app->showMainMenu();
}

void TitleScreen::onMouseMove(double x, double y)
{
    _navigation.mouseMove(x, y);
}

void TitleScreen::onLeftButtonDown(double x, double y)
{
    _navigation.leftButtonDown(x, y);
}

void TitleScreen::onLeftButtonUp(double x, double y)
{
    _navigation.leftButtonUp(x, y);
}

void TitleScreen::onCommand(int)
{
    if (_app) _app->showMainMenu();
}
