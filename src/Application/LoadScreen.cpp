#include "Application/LoadScreen.h"

#include "Application/RecordScreenHost.h"
#include "Base/Ui/UiButton.h"
#include "Base/Ui/UiIcon.h"
#include "Base/Ui/UiTextBox.h"

LoadScreen::LoadScreen(RecordScreenHost* app)
    : MenuScreen(app, 0, "mainmenu.pcx"),
      _app(app),
      _title(nullptr),
      _label(nullptr),
      _returnButton(nullptr),
      _slots{},
      _loading(nullptr)
{
    _title = new UiIcon(app, kTitle, "loadmenulabel.pcx", 0, 150, kDepth, 256, 32, false);
    _label = new UiIcon(app, kLabel, "resume_game_label.pcx", 0, 110, kDepth, 512, 32, false);
    _returnButton = new UiButton(app, kReturn, "return_to_main_menu_button.pcx",
                                 "return_to_main_menu_button_lit.pcx", 0, -300, kDepth, 512, 32, false);
    addChild(_title);
    addChild(_label);
    addChild(_returnButton);
    for (int i = 0; i < SaveIndex::kSlots; ++i) {
        _slots[i] = new UiTextBox(app, kFirstSlot + i, "long_text_box.pcx", "long_text_box_lit.pcx", 0, 50 - 70 * i,
                                  kDepth, 512, 64, "", UiTextBox::AlignLeft, true);
        addChild(_slots[i]);
    }
    // Added last, so that it covers the slots while a game loads.
    _loading = new UiIcon(app, kLoading, "loadinggame.pcx", 0, 0, kDepth, 512, 64, true);
    addChild(_loading);
    _loading->hide();

    getNavigation().add(_returnButton);
    for (UiTextBox* slot : _slots) getNavigation().add(slot);
    _keys.attach(_returnButton, _slots);
    setKeyRing(&_keys);

    readSaveIndex();
}

LoadScreen::~LoadScreen()
{
    removeChild(_loading);
    delete _loading;
    for (int i = SaveIndex::kSlots - 1; i >= 0; --i) {
        removeChild(_slots[i]);
        delete _slots[i];
    }
    for (UiControl* control :
         {static_cast<UiControl*>(_returnButton), static_cast<UiControl*>(_label), static_cast<UiControl*>(_title)}) {
        removeChild(control);
        delete control;
    }
}

UiTextBox* LoadScreen::getSlotBox(int slot) const
{
    return slot >= 1 && slot <= SaveIndex::kSlots ? _slots[slot - 1] : nullptr;
}

void LoadScreen::setSlotName(int slot, const std::string& name)
{
    if (UiTextBox* box = getSlotBox(slot)) box->setText(name);
}

void LoadScreen::readSaveIndex()
{
    SaveIndex::Names names;
    for (int i = 0; i < SaveIndex::kSlots; ++i) names[i] = _slots[i]->getText();
    SaveIndex::read(SaveIndex::kFileName, names);
    for (int i = 0; i < SaveIndex::kSlots; ++i) _slots[i]->setText(names[i]);
}

void LoadScreen::onEscape()
{
    if (_app) _app->returnFromLoadScreen();
}

void LoadScreen::onCommand(int id)
{
    if (id == kReturn && _app) _app->returnFromLoadScreen();
}

void LoadScreen::onTextBoxActivated(int id)
{
    UiTextBox* box = getSlotBox(id - kFirstSlot + 1);
    if (!box || box->getText() == SaveIndex::kFreeSlot || !_app) return;
    _loading->show();
    _app->redraw();
    // On success the game screen is current now; on failure this screen still is.
    _app->loadGame(SaveIndex::slotFileName(id - kFirstSlot + 1));
    _loading->hide();
}
