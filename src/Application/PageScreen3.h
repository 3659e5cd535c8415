#ifndef KOVO_APPLICATION_PAGESCREEN3_H
#define KOVO_APPLICATION_PAGESCREEN3_H

#include "Application/ChapterPage.h"

// The page of chapter 3, which has no bonus level. Level 3-1 comes first; then the other five
// open at once, and the way to chapter 4 opens when its key levels 3-3 and 3-6 are done.
class PageScreen3 : public ChapterPage {
public:
    PageScreen3(AppBase* app, PageOwner* gameScreen);
    ~PageScreen3() override;

    void refreshButtons() override;

protected:
    void applyRule(Button slot, int exitCode) override;
};

#endif
