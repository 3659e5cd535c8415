#ifndef KOVO_APPLICATION_PAGESCREEN6_H
#define KOVO_APPLICATION_PAGESCREEN6_H

#include "Base/Ui/UiWindow.h"

class GphAnimatedTexture;
class GphRect;
class PageOwner;
class UiButton;
class UiIcon;

// The last page of the game, after chapter 5: it sums the game up in fixed pictures and one
// that tells whether chapter 5's bonus level was finished, and has two buttons, back to
// chapter 5 and the end button, which ends the game so that the score goes to the high-score
// table whatever lives are left. It has no levels and nothing of it is saved.
class PageScreen6 : public UiWindow {
public:
    // Control ids.
    enum { kPreviousPageId = 2, kEndId = 3, kTitleId = 4, kUpperPictureId = 5, kPanelId = 6,
           kLowerPictureId = 7, kSummaryId = 8 };

    PageScreen6(AppBase* app, PageOwner* gameScreen);
    ~PageScreen6() override;

    // Both buttons can be pressed.
    void enableButtons();
    // The summary picture for this arrival at the page: the one of a finished bonus level or
    // the other, made anew each time.
    void showSummary(AppBase* app, bool bonusDone);

    UiButton* getPreviousPageButton() const { return _previous; }
    UiButton* getEndButton() const { return _end; }
    // Null until the first arrival.
    UiIcon* getSummaryPicture() const { return _summary; }

    // Enter presses the lit button.
    void onCharDown(char c) override;
    // Left and Right move the light from one button to the other.
    void onKeyDown(AppKey key) override;
    // Window pixels.
    void onMouseMove(double x, double y) override;
    void onLeftButtonDown(double x, double y) override;
    void onLeftButtonUp(double x, double y) override;
    // Back to chapter 5, or the end of the game.
    void onCommand(int id) override;

private:
    AppBase* _app;
    PageOwner* _game_screen;
    GphAnimatedTexture* _page_animation;
    GphRect* _page_rect;
    UiIcon* _title;
    UiIcon* _panel;
    UiIcon* _upper;
    UiIcon* _summary;
    UiIcon* _lower;
    UiButton* _previous;
    UiButton* _end;
};

#endif
