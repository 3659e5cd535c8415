#ifndef KOVO_APPLICATION_PAGESCREEN1_H
#define KOVO_APPLICATION_PAGESCREEN1_H

#include "Application/ChapterPage.h"

// The page of chapter 1 and the first screen of every new game. Level 1-1 comes first, then
// 1-2, then 1-3, 1-4 and 1-5 in any order; finishing 1-4 opens the way to chapter 2, and
// leaving 1-5 through the exit with code 2 reveals the bonus level 1-x in the top-left cell.
// The page has no previous-page button and counts no key levels.
class PageScreen1 : public ChapterPage {
public:
    PageScreen1(AppBase* app, PageOwner* gameScreen);
    ~PageScreen1() override;

    // Whether level 1-1 is done: from then on a game counts as in progress between levels.
    bool isFirstLevelDone() const { return isLevelDone(kSlot1); }

    void refreshButtons() override;
    // As every page's; starting level 1-2 also sets its objective picture afterwards, over
    // whatever the level file set.
    void onCommand(int id) override;

protected:
    void applyRule(Button slot, int exitCode) override;
    // Lights slot 1 while level 1-1 is not done; otherwise nothing.
    void lightDefault() override;
    // The next-page button shows again when level 1-4 is done.
    void stateRead() override;
};

#endif
