#ifndef KOVO_APPLICATION_PAGESCREEN5_H
#define KOVO_APPLICATION_PAGESCREEN5_H

#include "Application/ChapterPage.h"

// The page of chapter 5, the last chapter. Level 5-1 comes first; then 5-2, 5-3 and 5-4 are
// open, 5-5 opens once 5-3 is done, and the way to the summary opens once 5-3 and 5-5 are.
// Leaving level 5-3 through the exit with code 2 reveals the bonus level 5-x, and whether
// it was finished decides the summary's picture.
class PageScreen5 : public ChapterPage {
public:
    PageScreen5(AppBase* app, PageOwner* gameScreen);
    ~PageScreen5() override;

    // Whether the bonus level 5-x is done.
    bool isBonusLevelDone() const { return isLevelDone(kSlot6); }

    void refreshButtons() override;

protected:
    void applyRule(Button slot, int exitCode) override;
};

#endif
