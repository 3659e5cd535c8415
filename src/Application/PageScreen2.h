#ifndef KOVO_APPLICATION_PAGESCREEN2_H
#define KOVO_APPLICATION_PAGESCREEN2_H

#include "Application/ChapterPage.h"

// The page of chapter 2. All five regular levels are open at once; 2-2 and 2-4 are its key
// levels, and the way to chapter 3 opens when both are done. Leaving level 2-3 or 2-5 through
// the exit with code 2 reveals the bonus level 2-x in the top-left cell.
class PageScreen2 : public ChapterPage {
public:
    PageScreen2(AppBase* app, PageOwner* gameScreen);
    ~PageScreen2() override;

    void refreshButtons() override;

protected:
    void applyRule(Button slot, int exitCode) override;
};

#endif
