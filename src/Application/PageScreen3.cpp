#include "Application/PageScreen3.h"

namespace {

const ChapterPage::Layout kLayout = {
    "page3_title.pcx",
    // The objective line of chapter 2 serves chapters 3 and 4 too.
    "page2_objective.pcx",
    nullptr,
    {
        {"level3-1.xml", -250, 150, "chapter31_button.pcx", "chapter31_button_lit.pcx", nullptr},
        {"level3-2.xml", 0, 150, "chapter32_button.pcx", "chapter32_button_lit.pcx", "chapter32_button_disabled.pcx"},
        {"level3-3.xml", 250, 150, "chapter33_button.pcx", "chapter33_button_lit.pcx", "chapter33_button_disabled.pcx"},
        {"level3-4.xml", -250, -75, "chapter34_button.pcx", "chapter34_button_lit.pcx", "chapter34_button_disabled.pcx"},
        {"level3-5.xml", 0, -75, "chapter35_button.pcx", "chapter35_button_lit.pcx", "chapter35_button_disabled.pcx"},
        {"level3-6.xml", 250, -75, "chapter36_button.pcx", "chapter36_button_lit.pcx", "chapter36_button_disabled.pcx"},
    },
    false,  // bonus slot
    true,   // key levels: 3-3 and 3-6
    true,   // previous-page button
    ChapterPage::laterRing(),
    ChapterPage::laterLeftTests(),
    ChapterPage::laterRightTests(),
};

}  // namespace

PageScreen3::PageScreen3(AppBase* app, PageOwner* gameScreen) : ChapterPage(app, gameScreen, kLayout)
{
    refreshButtons();
}

PageScreen3::~PageScreen3() = default;

void PageScreen3::refreshButtons()
{
    enableButton(kPreviousPage);
    if (opensAlone(kSlot1)) return;
    closeLevels();
    for (Button b : {kSlot2, kSlot3, kSlot4, kSlot5, kSlot6})
        if (!isLevelDone(b)) enableButton(b);
    if (getKeyLevelsDone() >= 2) showNextPage();
}

void PageScreen3::applyRule(Button slot, int)
{
    if (slot == kSlot3 || slot == kSlot6) countKeyLevel();
    lightNextUndone(slot, kSlotCount);
}
