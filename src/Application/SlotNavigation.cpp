#include "Application/SlotNavigation.h"

#include "Base/Ui/UiTextBox.h"

SlotNavigation::SlotNavigation() : _return(nullptr), _slots{} {}

void SlotNavigation::attach(UiControl* returnButton, UiTextBox* const (&slots)[SaveIndex::kSlots])
{
    _return = returnButton;
    for (int i = 0; i < SaveIndex::kSlots; ++i) _slots[i] = slots[i];
}

bool SlotNavigation::isFree(int i) const
{
    return _slots[i]->getText() == SaveIndex::kFreeSlot;
}

int SlotNavigation::litSlot(int step) const
{
    for (int n = 0; n < SaveIndex::kSlots; ++n) {
        const int i = step > 0 ? n : SaveIndex::kSlots - 1 - n;
        if (_slots[i]->isLit()) return i;
    }
    return -1;
}

void SlotNavigation::light(UiControl* from, UiControl* to)
{
    if (from == to) return;
    from->setLit(false);
    to->setLit(true);
}

bool SlotNavigation::enter(char c)
{
    for (UiTextBox* slot : _slots) {
        if (slot->isLit()) {
            slot->onCharDown(c);
            return true;
        }
    }
    if (!_return->isLit()) return false;
    _return->onCharDown(c);
    return true;
}

void SlotNavigation::down()
{
    // The slots stand above the return button: they are tested first.
    const int lit = litSlot(1);
    if (lit < 0 && !_return->isLit()) {
        _return->setLit(true);
        return;
    }
    UiControl* from = lit >= 0 ? static_cast<UiControl*>(_slots[lit]) : _return;
    for (int i = lit + 1; i < SaveIndex::kSlots; ++i) {
        if (!isFree(i)) {
            light(from, _slots[i]);
            return;
        }
    }
    light(from, _return);
}

void SlotNavigation::up()
{
    // From the bottom: the return button first, then slot 5 up to slot 1.
    const int lit = _return->isLit() ? -1 : litSlot(-1);
    if (lit < 0 && !_return->isLit()) {
        _return->setLit(true);
        return;
    }
    UiControl* from = lit >= 0 ? static_cast<UiControl*>(_slots[lit]) : _return;
    for (int i = (lit >= 0 ? lit : SaveIndex::kSlots) - 1; i >= 0; --i) {
        if (!isFree(i)) {
            light(from, _slots[i]);
            return;
        }
    }
    light(from, _return);
}
