#ifndef KOVO_APPLICATION_CHAPTERPAGE_H
#define KOVO_APPLICATION_CHAPTERPAGE_H

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "Base/Ui/UiWindow.h"

class GphAnimatedTexture;
class GphImage;
class GphRect;
class GphTexture;
class PageOwner;
class UiButton;
class UiIcon;

// What every chapter page shares. A page shows the levels of one chapter as six large
// picture buttons on a grid of two rows and three columns, marks the finished ones with a
// check mark, starts the level of a pressed button through its owner and turns to the next
// page (and, from chapter 2 on, back to the previous one). Each chapter builds its page
// from a Layout and its own rules: which levels are open (refreshButtons), what finishing
// a level opens and which button lights then (applyRule), and what Left or Right light when
// nothing is lit (lightDefault).
//
// A button is closed (disabled, showing its disabled picture if it has one), open (enabled)
// or done (disabled, its disabled picture gone, a check mark on it). Slot 6 of a page with a
// bonus level stays hidden, and disabled, until a finish reveals it; its pictures then grow
// from 10 to 200 in the page's update. So does the next-page button until the chapter's rule
// shows it.
//
// The page keeps one lit button for the keys: Enter presses the first lit one, Left and
// Right walk the chapter's ring of buttons to the next enabled one; the pointer lights the
// enabled button under it and a left-button release presses it.
//
// The page owns every control, picture and texture it makes; the application and the owner
// are not its.
class ChapterPage : public UiWindow {
public:
    // Control ids.
    enum {
        kTitleId = 2,
        kObjectiveId = 3,
        kPlaceholderId = 4,
        kFirstSlotId = 5,  // slots 1 to 6: ids 5 to 10
        kNextPageId = 11,
        kPreviousPageId = 12
    };
    // The page's buttons in field order: the six level slots, then the two page buttons.
    enum Button { kNoButton = -1, kSlot1 = 0, kSlot2, kSlot3, kSlot4, kSlot5, kSlot6, kNextPage, kPreviousPage };
    static constexpr int kSlotCount = 6;
    static constexpr int kButtonCount = 8;
    static constexpr double kDepth = -10.0;
    static constexpr double kFullBonusSize = 200.0;
    static constexpr double kSmallBonusSize = 10.0;

    // One level slot: its level file, the centre of its grid cell and its pictures.
    struct Slot {
        const char* levelFile;
        double x;
        double y;
        const char* normalImage;
        const char* litImage;
        // Null for a button without a disabled picture.
        const char* disabledImage;
    };

    // Everything that tells one chapter's page from another's apart from its rules.
    struct Layout {
        const char* titleImage;
        const char* objectiveImage;
        // The picture under the bonus slot; null on pages without one.
        const char* placeholderImage;
        Slot slots[kSlotCount];
        // Slot 6 is a bonus level: hidden until revealed, its pictures then grow in.
        bool bonusSlot;
        // The page counts finished key levels (and saves the count).
        bool keyLevels;
        bool previousPageButton;
        // The buttons that Left and Right walk, in the order Right walks them; Left walks it
        // backwards.
        std::vector<Button> ring;
        // The order in which Left, or Right, looks for the lit button to start from. A lit
        // button found there that is not in the ring stays lit and the key does nothing.
        std::vector<Button> leftTests;
        std::vector<Button> rightTests;
    };

    ~ChapterPage() override;

    // The button ring of the pages after the first: the five regular slots, the previous-
    // and next-page buttons and slot 6, with the orders in which Left and Right look for the
    // lit button.
    static const std::vector<Button>& laterRing();
    static const std::vector<Button>& laterLeftTests();
    static const std::vector<Button>& laterRightTests();

    // The owner reports that the hero left the level `fileName` through an exit with code
    // `exitCode`: a level of this page is marked done and its button closed, the chapter's
    // rule opens further buttons and lights one. A file that is not one of the page's levels
    // changes no flag. Either way the buttons are refreshed and the camera goes back to the
    // centre.
    void levelCompleted(const std::string& fileName, int exitCode);
    // Derives the enabled and visible states of the buttons from the done flags, the key
    // level count and whether the bonus button is shown.
    virtual void refreshButtons() = 0;

    // The page's saved values, untagged, each followed by one blank: the six done flags as
    // 0 or 1, then the key level count on pages that keep one, then whether the bonus button
    // shows (0 or 1) on pages with a bonus slot. No line end. Returns 0.
    int writeState(std::ostream& out) override;
    // Reads the values writeState writes into a freshly built page and rebuilds its buttons
    // from them. A value that does not read keeps the fresh page's (false, 0, bonus hidden);
    // the result is then -1, else 0.
    int readState(std::istream& in) override;

    // The controls' update, then the growth of a shown bonus button's pictures.
    void update(unsigned int ms) override;
    // The page picture and every control, then a check mark on each finished slot.
    void draw() override;

    // Enter (10 or 13) goes to the first lit button; other characters do nothing.
    void onCharDown(char c) override;
    // Left and Right walk the ring; other keys do nothing.
    void onKeyDown(AppKey key) override;
    // Window pixels.
    void onMouseMove(double x, double y) override;
    void onLeftButtonDown(double x, double y) override;
    void onLeftButtonUp(double x, double y) override;
    // Ids 5 to 10 load the slot's level, 11 turns to the next page, 12 (on pages that have
    // that button) to the previous one; other ids do nothing.
    void onCommand(int id) override;

    const std::string& getLevelFile(Button slot) const;
    bool isLevelDone(Button slot) const;
    // The button, or null (kNoButton, or the previous-page button of a page without one).
    UiButton* getButton(Button button) const;
    UiIcon* getTitle() const { return _title; }
    UiIcon* getObjective() const { return _objective; }
    // Null on pages without a placeholder picture.
    UiIcon* getPlaceholder() const { return _placeholder; }
    int getKeyLevelsDone() const { return _key_levels_done; }
    // The edge of the bonus button's pictures while they grow.
    double getBonusSize() const { return _bonus_size; }
    bool isBonusShown() const;
    const Layout& getLayout() const { return _layout; }

protected:
    // Builds the page as far as every chapter's page goes: the camera back to the centre,
    // the page picture as the window's graphic, the check mark, the controls in id order
    // (added as children in that order), the bonus and next-page buttons hidden. The
    // chapter's constructor calls refreshButtons when it is done.
    ChapterPage(AppBase* app, PageOwner* owner, const Layout& layout);

    // The chapter's rule for a finished slot, after the slot has been marked done, closed
    // and unlit: what it opens, counts or reveals, and which button it lights.
    virtual void applyRule(Button slot, int exitCode) = 0;
    // Left or Right while no button is lit: lights the previous-page button.
    virtual void lightDefault();
    // After readState has applied the saved values and before it refreshes the buttons.
    virtual void stateRead();

    PageOwner* getOwner() const { return _game_screen; }
    void enableButton(Button button);
    void disableButton(Button button);
    // Every level slot and the next-page button closed.
    void closeLevels();
    // While `slot` is not done it is the page's one open level: it opens, every other slot
    // and the next-page button close, and the answer is true. False, and nothing changed,
    // once it is done.
    bool opensAlone(Button slot);
    // Lights the button (its rollover sound plays if it was dark).
    void light(Button button);
    // Shows and enables the next-page button.
    void showNextPage();
    // Shows and enables the bonus button; `smallPictures` starts its pictures at 10 by 10,
    // `hidePlaceholder` takes the placeholder picture away.
    void revealBonus(bool smallPictures, bool hidePlaceholder);
    void countKeyLevel() { ++_key_levels_done; }
    // Lights the first of the first `slots` slots that is not done, searching from the one
    // after `finished` round to slot 1; with all of them done, the next-page button.
    void lightNextUndone(Button finished, int slots);

private:
    // From the lit button `start` of the ring at `index`, the next enabled one in `step`'s
    // direction lights; the start lights anew when no other one is enabled.
    void walkRing(size_t index, int step);
    void placeCheckMark(Button slot);
    // Takes a control out of the child list and deletes it; null is skipped.
    void deleteControl(UiControl* control);

    AppBase* _app;
    PageOwner* _game_screen;
    GphImage* _page_image;
    GphTexture* _page_texture;
    GphAnimatedTexture* _page_animation;
    GphRect* _page_rect;
    GphImage* _check_image;
    GphTexture* _check_texture;
    GphAnimatedTexture* _check_animation;
    GphRect* _check_mark;
    UiIcon* _title;
    UiIcon* _objective;
    UiIcon* _placeholder;
    UiButton* _buttons[kButtonCount];
    bool _level_done[kSlotCount];
    int _key_levels_done;
    double _bonus_size;
    Layout _layout;
    std::string _level_files[kSlotCount];
};

#endif
