#include "Application/SaveScreen.h"

#include "Application/RecordScreenHost.h"
#include "Base/Ui/UiButton.h"
#include "Base/Ui/UiIcon.h"
#include "Base/Ui/UiTextBox.h"

SaveScreen::SaveScreen(RecordScreenHost* app)
    : MenuScreen(app, 0, "mainmenu.pcx"),
      _app(app),
      _title(nullptr),
      _saveLabel(nullptr),
      _typeNameLabel(nullptr),
      _returnButton(nullptr),
      _slots{}
{
    _title = new UiIcon(app, kTitle, "savemenulabel.pcx", 0, 150, kDepth, 256, 32, false);
    _saveLabel = new UiIcon(app, kSaveLabel, "save_game_label.pcx", 0, 110, kDepth, 512, 32, false);
    _typeNameLabel = new UiIcon(app, kTypeNameLabel, "type_name_label.pcx", 0, 110, kDepth, 512, 32, false);
    _returnButton = new UiButton(app, kReturn, "return_to_main_menu_button.pcx",
                                 "return_to_main_menu_button_lit.pcx", 0, -300, kDepth, 512, 32, false);
    addChild(_title);
    addChild(_saveLabel);
    addChild(_typeNameLabel);
    addChild(_returnButton);
    for (int i = 0; i < SaveIndex::kSlots; ++i) {
        _slots[i] = new UiTextBox(app, kFirstSlot + i, "long_text_box.pcx", "long_text_box_lit.pcx", 0, 50 - 70 * i,
                                  kDepth, 512, 64, "", UiTextBox::AlignLeft, false);
        addChild(_slots[i]);
    }

    getNavigation().add(_returnButton);
    for (UiTextBox* slot : _slots) getNavigation().add(slot);
    _keys.attach(_returnButton, _slots);
    setKeyRing(&_keys);

    _typeNameLabel->hide();

    readSaveIndex();
}

SaveScreen::~SaveScreen()
{
    writeSaveIndex();
    for (int i = SaveIndex::kSlots - 1; i >= 0; --i) {
        removeChild(_slots[i]);
        delete _slots[i];
    }
    for (UiControl* control : {static_cast<UiControl*>(_returnButton), static_cast<UiControl*>(_typeNameLabel),
                               static_cast<UiControl*>(_saveLabel), static_cast<UiControl*>(_title)}) {
        removeChild(control);
        delete control;
    }
}

UiTextBox* SaveScreen::getSlotBox(int slot) const
{
    return slot >= 1 && slot <= SaveIndex::kSlots ? _slots[slot - 1] : nullptr;
}

void SaveScreen::readSaveIndex()
{
    for (int i = 0; i < SaveIndex::kSlots; ++i) _saved[i] = _slots[i]->getText();
    SaveIndex::read(SaveIndex::kFileName, _saved);
    for (int i = 0; i < SaveIndex::kSlots; ++i) _slots[i]->setText(_saved[i]);
}

int SaveScreen::writeSaveIndex()
{
    return SaveIndex::write(SaveIndex::kFileName, _saved);
}

void SaveScreen::onCharDown(char c)
{
    if (UiControl* focused = getFocusedChild()) {
        focused->onCharDown(c);
        return;
    }
    MenuScreen::onCharDown(c);
}

void SaveScreen::onKeyDown(AppKey key)
{
    if (UiControl* focused = getFocusedChild()) {
        focused->onKeyDown(key);
        return;
    }
    MenuScreen::onKeyDown(key);
}

void SaveScreen::onEscape()
{
    if (_app) _app->returnFromSaveScreen();
}

void SaveScreen::onCommand(int id)
{
    if (id == kReturn && _app) _app->returnFromSaveScreen();
}

void SaveScreen::onTextBoxActivated(int id)
{
    UiTextBox* box = getSlotBox(id - kFirstSlot + 1);
    if (!box) return;
    for (UiTextBox* slot : _slots) {
        if (slot == box)
            slot->enable();
        else
            slot->disable();
    }
    _returnButton->disable();
    _saveLabel->hide();
    _typeNameLabel->show();
    box->setFocus(true);
    if (box->getText() == SaveIndex::kFreeSlot) box->setText("");
    box->setCursor(static_cast<int>(box->getText().size()));
}

void SaveScreen::onTextEntered(int id, const std::string& text)
{
    const int slot = id - kFirstSlot + 1;
    UiTextBox* box = getSlotBox(slot);
    if (!box) return;
    // The name as the index can hold it: no marker inside, never read back as a free slot.
    const std::string name = SaveIndex::cleanName(text);
    box->setText(name);
    if (_app && _app->saveGame(SaveIndex::slotFileName(slot), slot, name) == 0) {
        _saved[slot - 1] = name;
        writeSaveIndex();
    } else {
        box->setText(_saved[slot - 1]);
    }
    box->setFocus(false);
    endTyping();
}

void SaveScreen::endTyping()
{
    for (UiTextBox* slot : _slots) slot->enable();
    _returnButton->enable();
    _saveLabel->show();
    _typeNameLabel->hide();
}
