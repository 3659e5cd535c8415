#include "Application/ButtonColumnScreen.h"

#include "Base/Ui/UiButton.h"
#include "Base/Ui/UiIcon.h"

namespace {

// The title above the column, and the size of the title and of every button.
constexpr double kTitleY = 150.0;
constexpr double kTitleWidth = 256.0;
constexpr double kButtonWidth = 512.0;
constexpr double kRowHeight = 32.0;

}  // namespace

ButtonColumnScreen::ButtonColumnScreen(AppBase* app, int titleId, const char* titleFile,
                                       int firstId, const std::vector<ButtonLayout>& layout)
    : MenuScreen(app, 1, "mainmenu.pcx"), _first_id(firstId), _title(nullptr), _buttons()
{
    _title = new UiIcon(app, titleId, titleFile, 0, kTitleY, kDepth, kTitleWidth, kRowHeight,
                        false);
    addChild(_title);
    for (size_t i = 0; i < layout.size(); ++i) {
        const ButtonLayout& b = layout[i];
        UiButton* button = new UiButton(app, firstId + static_cast<int>(i), b.normal, b.lit, 0,
                                        b.y, kDepth, kButtonWidth, kRowHeight, false);
        _buttons.push_back(button);
        addChild(button);
        getNavigation().add(button);
    }
}

ButtonColumnScreen::~ButtonColumnScreen()
{
    for (auto it = _buttons.rbegin(); it != _buttons.rend(); ++it) {
        removeChild(*it);
        delete *it;
    }
    _buttons.clear();
    removeChild(_title);
    delete _title;
    _title = nullptr;
}

UiButton* ButtonColumnScreen::getButton(int id) const
{
    const int index = id - _first_id;
    if (index < 0 || index >= static_cast<int>(_buttons.size())) return nullptr;
    return _buttons[static_cast<size_t>(index)];
}
