#ifndef KOVO_APPLICATION_LOADSCREEN_H
#define KOVO_APPLICATION_LOADSCREEN_H

#include <string>

#include "Application/MenuNavigation.h"
#include "Application/SaveIndex.h"
#include "Application/SlotNavigation.h"
#include "Base/Ui/UiWindow.h"

class GphAnimatedTexture;
class GphImage;
class GphRect;
class GphTexture;
class RecordScreenHost;
class UiButton;
class UiIcon;
class UiTextBox;

// Lists the names of the five save slots and restores the one chosen. Free slots cannot be
// chosen. The names come from the save-slot index when the screen is built and afterwards
// from each successful save; this screen never writes the index.
class LoadScreen : public UiWindow {
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

    void onCharDown(char c) override;
    void onKeyDown(AppKey key) override;
    void onMouseMove(double x, double y) override;
    void onLeftButtonDown(double x, double y) override;
    void onLeftButtonUp(double x, double y) override;
    void onCommand(int id) override;
    // A filled slot's box: shows the loading picture for a frame and restores the game. A
    // failed restore leaves this screen current.
    void onTextBoxActivated(int id) override;

private:
    RecordScreenHost* _app;
    GphImage* _image;
    GphTexture* _texture;
    GphAnimatedTexture* _animation;
    GphRect* _picture;
    UiIcon* _title;
    UiIcon* _label;
    UiButton* _returnButton;
    UiTextBox* _slots[SaveIndex::kSlots];
    UiIcon* _loading;
    MenuNavigation _pointer;
    SlotNavigation _keys;
};

#endif
