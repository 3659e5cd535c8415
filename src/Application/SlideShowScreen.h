#ifndef KOVO_APPLICATION_SLIDESHOWSCREEN_H
#define KOVO_APPLICATION_SLIDESHOWSCREEN_H

#include "Application/MenuScreen.h"

class KovoApplication;
class UiSlideShow;

// The pictures of one instructions topic, paged with Left and Right or the arrows and left
// with Escape or the escape button, back to the instructions menu. The five series live as
// long as the screen, and each keeps the picture the player left it at for the next visit.
class SlideShowScreen : public MenuScreen {
public:
    // The series, in the order of the instructions' topics.
    enum Set { kMission = 0, kLocation, kMoves, kEquipment, kDossiers, kSetCount };

    explicit SlideShowScreen(KovoApplication* app);
    ~SlideShowScreen() override;

    // Only that series shows from now on, at the picture where it was left.
    void selectSlideShow(int set);
    // The series shown, or null before the first selection.
    UiSlideShow* getCurrentSet() const { return _current; }
    UiSlideShow* getSet(int set) const;

    // Only the series shown runs, takes the input and is drawn.
    void update(unsigned int ms) override;
    void onCharDown(char c) override;
    void onKeyDown(AppKey key) override;
    // Window pixels, passed on as they are: the series converts them itself.
    void onMouseMove(double x, double y) override;
    void onLeftButtonDown(double x, double y) override;
    void onLeftButtonUp(double x, double y) override;
    // The series asks to close: back to the instructions.
    void onCancel(int id) override;

private:
    KovoApplication* _app;
    UiSlideShow* _current;
    UiSlideShow* _sets[kSetCount];
};

#endif
