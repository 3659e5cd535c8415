#include "Application/PageScreen1.h"

#include "Application/PageOwner.h"

namespace {

const ChapterPage::Layout kLayout = {
    "page1_title.pcx",
    "page1_objective.pcx",
    "chapter0_button.pcx",
    {
        {"level1-1.xml", 0, 150, "chapter1_button.pcx", "chapter1_button_lit.pcx", nullptr},
        {"level1-2.xml", 250, 150, "chapter2_button.pcx", "chapter2_button_lit.pcx", "chapter2_button_disabled.pcx"},
        {"level1-3.xml", -250, -75, "chapter3_button.pcx", "chapter3_button_lit.pcx", "chapter3_button_disabled.pcx"},
        {"level1-4.xml", 0, -75, "chapter4_button.pcx", "chapter4_button_lit.pcx", "chapter4_button_disabled.pcx"},
        {"level1-5.xml", 250, -75, "chapter5_button.pcx", "chapter5_button_lit.pcx", "chapter5_button_disabled.pcx"},
        {"level1-x.xml", -250, 150, "chapter6_button.pcx", "chapter6_button_lit.pcx", "chapter6_button_disabled.pcx"},
    },
    true,   // bonus slot
    false,  // key levels
    false,  // previous-page button
    // Slots 1 and 2 are only ever open alone, so they are not in the ring.
    {ChapterPage::kSlot3, ChapterPage::kSlot4, ChapterPage::kSlot5, ChapterPage::kNextPage, ChapterPage::kSlot6},
    {ChapterPage::kSlot1, ChapterPage::kNextPage, ChapterPage::kSlot5, ChapterPage::kSlot4, ChapterPage::kSlot3,
     ChapterPage::kSlot2, ChapterPage::kSlot6},
    {ChapterPage::kSlot1, ChapterPage::kSlot2, ChapterPage::kSlot3, ChapterPage::kSlot4, ChapterPage::kSlot5,
     ChapterPage::kNextPage, ChapterPage::kSlot6},
};

const char* const kLevel2Objective = "level1-2objective.pcx";

}  // namespace

PageScreen1::PageScreen1(AppBase* app, PageOwner* gameScreen) : ChapterPage(app, gameScreen, kLayout)
{
    refreshButtons();
}

PageScreen1::~PageScreen1() = default;

void PageScreen1::refreshButtons()
{
    // Levels 1 and 2 are each open alone, in turn, until done.
    if (opensAlone(kSlot1) || opensAlone(kSlot2)) return;
    disableButton(kSlot1);
    disableButton(kSlot2);
    disableButton(kSlot6);
    if (!isLevelDone(kSlot3)) enableButton(kSlot3);
    if (isLevelDone(kSlot4)) {
        enableButton(kNextPage);
    } else {
        enableButton(kSlot4);
    }
    if (!isLevelDone(kSlot5)) {
        enableButton(kSlot5);
    } else if (isBonusShown()) {
        // A finished bonus level stays open to be played again.
        enableButton(kSlot6);
    }
}

void PageScreen1::applyRule(Button slot, int exitCode)
{
    switch (slot) {
    case kSlot1:
        enableButton(kSlot2);
        light(kSlot2);
        break;
    case kSlot2:
        enableButton(kSlot3);
        enableButton(kSlot4);
        enableButton(kSlot5);
        light(kSlot3);
        break;
    case kSlot3:
        if (!isLevelDone(kSlot4)) {
            light(kSlot4);
        } else if (!isLevelDone(kSlot5)) {
            light(kSlot5);
        } else {
            enableButton(kNextPage);
            light(kNextPage);
        }
        break;
    case kSlot4:
        showNextPage();
        if (!isLevelDone(kSlot5)) {
            light(kSlot5);
        } else if (!isLevelDone(kSlot3)) {
            light(kSlot3);
        } else {
            light(kNextPage);
        }
        break;
    case kSlot5:
        // The placeholder stays beneath the bonus button while its pictures grow.
        if (exitCode == 2) revealBonus(true, false);
        if (!isLevelDone(kSlot3)) {
            light(kSlot3);
        } else if (!isLevelDone(kSlot4)) {
            light(kSlot4);
        } else {
            light(exitCode == 2 ? kSlot6 : kNextPage);
        }
        break;
    case kSlot6:
        if (!isLevelDone(kSlot3)) {
            light(kSlot3);
        } else if (!isLevelDone(kSlot4)) {
            light(kSlot4);
        } else {
            light(kNextPage);
        }
        break;
    default:
        break;
    }
}

void PageScreen1::lightDefault()
{
    if (!isLevelDone(kSlot1)) light(kSlot1);
}

void PageScreen1::stateRead()
{
    if (isLevelDone(kSlot4)) showNextPage();
}

void PageScreen1::onCommand(int id)
{
    ChapterPage::onCommand(id);
    // Whatever the load gave, this picture replaces any objective the level file set.
    if (id == kFirstSlotId + kSlot2 && getOwner()) getOwner()->setObjective(kLevel2Objective);
}
