#include "Application/PageScreen2.h"

namespace {

const ChapterPage::Layout kLayout = {
    "page2_title.pcx",
    "page2_objective.pcx",
    "chapter20_button.pcx",
    {
        {"level2-1.xml", 0, 150, "chapter21_button.pcx", "chapter21_button_lit.pcx", nullptr},
        {"level2-2.xml", 250, 150, "chapter22_button.pcx", "chapter22_button_lit.pcx", "chapter22_button_disabled.pcx"},
        {"level2-3.xml", -250, -75, "chapter23_button.pcx", "chapter23_button_lit.pcx", "chapter23_button_disabled.pcx"},
        {"level2-4.xml", 0, -75, "chapter24_button.pcx", "chapter24_button_lit.pcx", "chapter24_button_disabled.pcx"},
        {"level2-5.xml", 250, -75, "chapter25_button.pcx", "chapter25_button_lit.pcx", "chapter25_button_disabled.pcx"},
        {"level2-x.xml", -250, 150, "chapter2x_button.pcx", "chapter2x_button_lit.pcx", "chapter2x_button_disabled.pcx"},
    },
    true,  // bonus slot
    true,  // key levels: 2-2 and 2-4
    true,  // previous-page button
    ChapterPage::laterRing(),
    ChapterPage::laterLeftTests(),
    ChapterPage::laterRightTests(),
};

// The regular levels; slot 6 is the bonus.
constexpr int kRegularSlots = 5;

}  // namespace

PageScreen2::PageScreen2(AppBase* app, PageOwner* gameScreen) : ChapterPage(app, gameScreen, kLayout)
{
    refreshButtons();
}

PageScreen2::~PageScreen2() = default;

void PageScreen2::refreshButtons()
{
    closeLevels();
    enableButton(kPreviousPage);
    for (int slot = kSlot1; slot < kRegularSlots; ++slot)
        if (!isLevelDone(static_cast<Button>(slot))) enableButton(static_cast<Button>(slot));
    // A finished bonus level stays open to be played again.
    if (isBonusShown()) enableButton(kSlot6);
    if (getKeyLevelsDone() >= 2) showNextPage();
}

void PageScreen2::applyRule(Button slot, int exitCode)
{
    if (slot == kSlot2 || slot == kSlot4) countKeyLevel();
    if (slot == kSlot3 && exitCode == 2) revealBonus(false, true);
    // Revealed once already (by 2-3), the bonus button keeps its pictures as they are: set
    // small again they would stay small, their growth being over.
    if (slot == kSlot5 && exitCode == 2 && !isBonusShown()) revealBonus(true, false);
    lightNextUndone(slot, kRegularSlots);
}
