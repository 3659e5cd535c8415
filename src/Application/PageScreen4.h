#ifndef KOVO_APPLICATION_PAGESCREEN4_H
#define KOVO_APPLICATION_PAGESCREEN4_H

#include "Application/ChapterPage.h"

// The page of chapter 4. Levels 4-1 to 4-5 are open from the start in any order; when its
// key levels 4-2 and 4-5 are done, level 4-6 and the way to chapter 5 open. The exit a level
// is left by plays no part here.
class PageScreen4 : public ChapterPage {
public:
    PageScreen4(AppBase* app, PageOwner* gameScreen);
    ~PageScreen4() override;

    void refreshButtons() override;

protected:
    void applyRule(Button slot, int exitCode) override;
};

#endif
