#ifndef KOVO_APPLICATION_SLOTNAVIGATION_H
#define KOVO_APPLICATION_SLOTNAVIGATION_H

#include "Application/KeyRing.h"
#include "Application/SaveIndex.h"

class UiControl;
class UiTextBox;

// The keys of the load and save screens: Up and Down move the light around the ring of the
// return button and the five slots, stepping over free slots; a step that finds no further
// slot lands on the return button, and from the return button a step that finds no slot
// leaves it lit. With nothing lit, either key lights the return button. Enter acts on the
// first lit of slot 1 to 5, then the return button.
class SlotNavigation : public KeyRing {
public:
    SlotNavigation();
    // The controls it moves the light over, once the screen has made them.
    void attach(UiControl* returnButton, UiTextBox* const (&slots)[SaveIndex::kSlots]);

    // False when nothing is lit.
    bool enter(char c) override;
    void down() override;
    void up() override;

private:
    // Whether slot i (0 to 4) reads as a free slot.
    bool isFree(int i) const;
    // The lit slot (0 to 4) found first in the given direction, -1 for none.
    int litSlot(int step) const;
    void light(UiControl* from, UiControl* to);

    UiControl* _return;
    UiTextBox* _slots[SaveIndex::kSlots];
};

#endif
