#ifndef KOVO_APPLICATION_BUTTONCOLUMNSCREEN_H
#define KOVO_APPLICATION_BUTTONCOLUMNSCREEN_H

#include <vector>

#include "Application/MenuScreen.h"

class UiButton;
class UiIcon;

// A menu of a title picture above a column of buttons, on the menus' picture. The buttons'
// ids follow one another from the top one down, and the keys and the pointer walk them in
// that order.
class ButtonColumnScreen : public MenuScreen {
public:
    // One button of the column: its picture, its lit picture and the height of its centre.
    struct ButtonLayout {
        const char* normal;
        const char* lit;
        double y;
    };

    ~ButtonColumnScreen() override;

    // The button of that id, or null.
    UiButton* getButton(int id) const;
    UiIcon* getTitle() const { return _title; }

protected:
    // The title `titleFile` with id `titleId`, then the buttons of `layout` from id `firstId`
    // on, top to bottom.
    ButtonColumnScreen(AppBase* app, int titleId, const char* titleFile, int firstId,
                       const std::vector<ButtonLayout>& layout);

private:
    int _first_id;
    UiIcon* _title;
    std::vector<UiButton*> _buttons;
};

#endif
