#include "Application/PageScreen4.h"

namespace {

const ChapterPage::Layout kLayout = {
    "page4_title.pcx",
    // The objective line of chapter 2 serves chapters 3 and 4 too.
    "page2_objective.pcx",
    nullptr,
    {
        // Slots 1 and 2 are never closed, so they have no disabled picture.
        {"level4-1.xml", -250, 150, "chapter41_button.pcx", "chapter41_button_lit.pcx", nullptr},
        {"level4-2.xml", 0, 150, "chapter42_button.pcx", "chapter42_button_lit.pcx", nullptr},
        {"level4-3.xml", 250, 150, "chapter43_button.pcx", "chapter43_button_lit.pcx", "chapter43_button_disabled.pcx"},
        {"level4-4.xml", -250, -75, "chapter44_button.pcx", "chapter44_button_lit.pcx", "chapter44_button_disabled.pcx"},
        {"level4-5.xml", 0, -75, "chapter45_button.pcx", "chapter45_button_lit.pcx", "chapter45_button_disabled.pcx"},
        {"level4-6.xml", 250, -75, "chapter46_button.pcx", "chapter46_button_lit.pcx", "chapter46_button_disabled.pcx"},
    },
    false,  // bonus slot
    true,   // key levels: 4-2 and 4-5
    true,   // previous-page button
    ChapterPage::laterRing(),
    ChapterPage::laterLeftTests(),
    ChapterPage::laterRightTests(),
};

}  // namespace

PageScreen4::PageScreen4(AppBase* app, PageOwner* gameScreen) : ChapterPage(app, gameScreen, kLayout)
{
    refreshButtons();
}

PageScreen4::~PageScreen4() = default;

void PageScreen4::refreshButtons()
{
    closeLevels();
    enableButton(kPreviousPage);
    for (Button b : {kSlot1, kSlot2, kSlot3, kSlot4, kSlot5})
        if (!isLevelDone(b)) enableButton(b);
    if (getKeyLevelsDone() >= 2) {
        if (!isLevelDone(kSlot6)) enableButton(kSlot6);
        showNextPage();
    }
}

void PageScreen4::applyRule(Button slot, int)
{
    // Every finish of a key level counts: a done slot is closed and cannot be played again.
    if (slot == kSlot2 || slot == kSlot5) countKeyLevel();
    // The light may fall on slot 6 while it is still closed; Enter does nothing there.
    lightNextUndone(slot, kSlotCount);
}
