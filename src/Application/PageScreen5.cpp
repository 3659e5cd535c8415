#include "Application/PageScreen5.h"

namespace {

const ChapterPage::Layout kLayout = {
    "page5_title.pcx",
    "page5_objective.pcx",
    "chapter50_button.pcx",
    {
        {"level5-1.xml", 0, 150, "chapter51_button.pcx", "chapter51_button_lit.pcx", nullptr},
        {"level5-2.xml", 250, 150, "chapter52_button.pcx", "chapter52_button_lit.pcx", "chapter52_button_disabled.pcx"},
        {"level5-3.xml", -250, -75, "chapter53_button.pcx", "chapter53_button_lit.pcx", "chapter53_button_disabled.pcx"},
        {"level5-4.xml", 0, -75, "chapter54_button.pcx", "chapter54_button_lit.pcx", "chapter54_button_disabled.pcx"},
        {"level5-5.xml", 250, -75, "chapter55_button.pcx", "chapter55_button_lit.pcx", "chapter55_button_disabled.pcx"},
        {"level5-x.xml", -250, 150, "chapter5x_button.pcx", "chapter5x_button_lit.pcx", "chapter5x_button_disabled.pcx"},
    },
    true,   // bonus slot
    false,  // key levels
    true,   // previous-page button
    ChapterPage::laterRing(),
    ChapterPage::laterLeftTests(),
    ChapterPage::laterRightTests(),
};

}  // namespace

PageScreen5::PageScreen5(AppBase* app, PageOwner* gameScreen) : ChapterPage(app, gameScreen, kLayout)
{
    refreshButtons();
}

PageScreen5::~PageScreen5() = default;

void PageScreen5::refreshButtons()
{
    enableButton(kPreviousPage);
    if (opensAlone(kSlot1)) return;
    closeLevels();
    if (!isLevelDone(kSlot2)) enableButton(kSlot2);
    if (!isLevelDone(kSlot3)) {
        enableButton(kSlot3);
    } else if (!isLevelDone(kSlot5)) {
        enableButton(kSlot5);
    } else {
        showNextPage();
    }
    if (!isLevelDone(kSlot4)) enableButton(kSlot4);
    // A finished bonus level stays open to be played again.
    if (isBonusShown()) enableButton(kSlot6);
}

void PageScreen5::applyRule(Button slot, int exitCode)
{
    // The first slot of the list that is not done lights; the last entry whatever its state.
    auto lightFirstUndone = [this](std::initializer_list<Button> order) {
        for (Button b : order) {
            if (!isLevelDone(b)) {
                light(b);
                return;
            }
        }
        light(kNextPage);
    };
    switch (slot) {
    case kSlot1:
        light(kSlot2);
        break;
    case kSlot2:
        lightFirstUndone({kSlot3, kSlot4, kSlot5});
        break;
    case kSlot3:
        // The placeholder stays beneath the bonus button while its pictures grow.
        if (exitCode == 2) revealBonus(true, false);
        lightFirstUndone({kSlot4, kSlot5, kSlot2});
        break;
    case kSlot4:
        // Closed or done, slot 5 lights all the same; Enter does nothing there then.
        light(kSlot5);
        break;
    case kSlot5:
        lightFirstUndone({kSlot2, kSlot3});
        break;
    case kSlot6:
        lightFirstUndone({kSlot2, kSlot3, kSlot5});
        break;
    default:
        break;
    }
}
