#ifndef KOVO_APPLICATION_TITLESCREEN_H
#define KOVO_APPLICATION_TITLESCREEN_H

#include "Application/MenuScreen.h"

class ScreenHost;
class UiButton;

// The first screen: the title picture over the menu backdrop. Its continue button stays
// hidden until start-up is over; then any character key or a click on the button leads to
// the main menu.
class TitleScreen : public MenuScreen {
public:
    static constexpr int kContinueId = 2;

    explicit TitleScreen(ScreenHost* app);
    ~TitleScreen() override;

    void showContinueButton();
    UiButton* getContinueButton() const { return _continue; }

    // Any character at all.
    void onCharDown(char c) override;
    // No key moves a light here: the one button is hidden at first, and any character leads
    // on anyway.
    void onKeyDown(AppKey key) override;
    // Any command leads on.
    void onCommand(int id) override;

private:
    ScreenHost* _app;
    UiButton* _continue;
};

#endif
