#ifndef KOVO_APPLICATION_SAVESCREEN_H
#define KOVO_APPLICATION_SAVESCREEN_H

#include <string>

#include "Application/MenuScreen.h"
#include "Application/SaveIndex.h"
#include "Application/SlotNavigation.h"

class RecordScreenHost;
class UiButton;
class UiIcon;
class UiTextBox;

// Saves the game in progress into one of five slots under a typed name. Choosing a slot
// opens its box for typing (every other control is disabled meanwhile); Enter, Tab or Escape
// in the box saves. The screen owns the save-slot index: it reads it when built and writes it
// after every successful save and when destroyed. The index only ever names saves that
// worked: a failed save puts the slot's former name back.
class SaveScreen : public MenuScreen {
public:
    enum { kTitle = 1, kSaveLabel = 2, kTypeNameLabel = 3, kReturn = 4, kFirstSlot = 5 };

    explicit SaveScreen(RecordScreenHost* app);
    // Writes the index.
    ~SaveScreen() override;

    void readSaveIndex();
    // The names of the saves made, as the index holds them. 0 when written, -1 (the old file
    // kept) otherwise.
    int writeSaveIndex();

    // Slot 1 to 5's box, or null.
    UiTextBox* getSlotBox(int slot) const;
    UiButton* getReturnButton() const { return _returnButton; }
    UiIcon* getSaveLabel() const { return _saveLabel; }
    UiIcon* getTypeNameLabel() const { return _typeNameLabel; }

    // While a box takes the typing, it gets every key.
    void onCharDown(char c) override;
    void onKeyDown(AppKey key) override;
    void onCommand(int id) override;
    // A slot chosen: its box takes the typing.
    void onTextBoxActivated(int id) override;
    // A slot's name confirmed: the game is saved under it.
    void onTextEntered(int id, const std::string& text) override;

protected:
    // Back to the main menu.
    void onEscape() override;

private:
    // Every box and the return button enabled, the save label shown.
    void endTyping();

    RecordScreenHost* _app;
    UiIcon* _title;
    UiIcon* _saveLabel;
    UiIcon* _typeNameLabel;
    UiButton* _returnButton;
    UiTextBox* _slots[SaveIndex::kSlots];
    // What the index says of each slot: the names read, then those of the saves that worked.
    SaveIndex::Names _saved;
    SlotNavigation _keys;
};

#endif
