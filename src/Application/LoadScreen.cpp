#include "Application/LoadScreen.h"

#include <GL/gl.h>

#include "Application/RecordScreenHost.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Ui/UiButton.h"
#include "Base/Ui/UiIcon.h"
#include "Base/Ui/UiTextBox.h"

namespace {

constexpr double kDepth = -10.0;
constexpr double kSide = 1024.0;

}  // namespace

LoadScreen::LoadScreen(RecordScreenHost* app)
    : UiWindow(app, 0, true),
      _app(app),
      _image(nullptr),
      _texture(nullptr),
      _animation(nullptr),
      _picture(nullptr),
      _title(nullptr),
      _label(nullptr),
      _returnButton(nullptr),
      _slots{},
      _loading(nullptr),
      _pointer(this)
{
    GphWindow* window = app ? app->getWindow() : nullptr;
    if (window && window->getCamera()) window->getCamera()->setPosition(ShpCoord(0, 0, 0));

    _image = GphImage::load("mainmenu.pcx", true);
    _texture = new GphTexture(_image, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT, GL_MODULATE, nullptr);
    _animation = new GphAnimatedTexture();
    _animation->addFrame(_texture);
    const ShpCoord centre(0, 0, kDepth);
    _picture = new GphRect(kSide, kSide, &centre, _animation, GPH_RECT);
    setGraphic(_picture);

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

    _pointer.add(_returnButton);
    for (UiTextBox* slot : _slots) _pointer.add(slot);
    _keys.attach(_returnButton, _slots);

    setPosition(0, 0, kDepth);
    setSize(kSide, kSide);

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
    setGraphic(nullptr);
    _picture->setAnimatedTexture(nullptr);
    delete _picture;
    // Deletes its frame, which gives back the image.
    delete _animation;
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

void LoadScreen::onCharDown(char c)
{
    if (c == 10 || c == 13) {
        _keys.enter(c);
    } else if (c == 27) {
        if (_app) _app->returnFromLoadScreen();
    }
}

void LoadScreen::onKeyDown(AppKey key)
{
    if (key == AppKeyDown)
        _keys.down();
    else if (key == AppKeyUp)
        _keys.up();
}

void LoadScreen::onMouseMove(double x, double y)
{
    _pointer.mouseMove(x, y);
}

void LoadScreen::onLeftButtonDown(double x, double y)
{
    _pointer.leftButtonDown(x, y);
}

void LoadScreen::onLeftButtonUp(double x, double y)
{
    _pointer.leftButtonUp(x, y);
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
