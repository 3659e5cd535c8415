#include "Application/TitleScreen.h"

#include "Application/ScreenHost.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndListener.h"
#include "Base/Snd/SndManager.h"
#include "Base/Ui/UiButton.h"

TitleScreen::TitleScreen(ScreenHost* app)
    : MenuScreen(app, 1, "title_overlay.pcx"), _app(app), _continue(nullptr)
{
    SndListener* listener = SndManager::getListener();
    listener->setPosition(ShpCoord(0, 0, 0));
    listener->setOrientation(ShpCoord(0, 0, -1), ShpCoord(0, 1, 0));

    _continue = new UiButton(app, kContinueId, "title_continue_button.pcx", "title_continue_button_lit.pcx", 0,
                             -200, kDepth, 512, 64, false);
    addChild(_continue);
    _continue->hide();
    getNavigation().add(_continue);
}

TitleScreen::~TitleScreen()
{
    removeChild(_continue);
    delete _continue;
    _continue = nullptr;
}

void TitleScreen::showContinueButton()
{
    _continue->show();
}

void TitleScreen::onCharDown(char)
{
    if (_app) _app->showMainMenu();
}

void TitleScreen::onKeyDown(AppKey key)
{
    UiWindow::onKeyDown(key);
}

void TitleScreen::onCommand(int)
{
    if (_app) _app->showMainMenu();
}
