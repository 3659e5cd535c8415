#ifndef KOVO_APPLICATION_LOADSCREEN_H
#define KOVO_APPLICATION_LOADSCREEN_H

#include <string>

#include "Application/MenuScreen.h"
#include "Application/SaveIndex.h"
#include "Application/SlotNavigation.h"

class RecordScreenHost;
class UiButton;
class UiIcon;
class UiTextBox;

// Lists the names of the five save slots and restores the one chosen. Free slots cannot be
// chosen. The names come from the save-slot index when the screen is built and afterwards
// from each successful save; this screen never writes the index.
class LoadScreen : public MenuScreen {
public:
    enum { kLoading = 0, kTitle = 1, kLabel = 2, kReturn = 3, kFirstSlot = 4 };

    explicit LoadScreen(RecordScreenHost* app);
    ~LoadScreen() override;

    // Slot 1 to 5 shows the name; other numbers are ignored.
    void setSlotName(int slot, const std::string& name);
    void readSaveIndex();

    // Slot 1 to 5's box, or null.
    UiTextBox* getSlotBox(int slot) const;
    UiButton* getReturnButton() const { return _returnButton; }
    UiIcon* getLoadingIcon() const { return _loading; }

    void onCommand(int id) override;
    // A filled slot's box: shows the loading picture for a frame and restores the game. A
    // failed restore leaves this screen current.
    void onTextBoxActivated(int id) override;

protected:
    // Back to the main menu.
    void onEscape() override;

private:
    RecordScreenHost* _app;
    UiIcon* _title;
    UiIcon* _label;
    UiButton* _returnButton;
    UiTextBox* _slots[SaveIndex::kSlots];
    UiIcon* _loading;
    SlotNavigation _keys;
};

#endif
