#include "Application/HighScoreScreen.h"

#include <cstdio>
#include <cstdlib>

#include "Application/RecordScreenHost.h"
#include "Base/Ui/UiButton.h"
#include "Base/Ui/UiIcon.h"
#include "Base/Ui/UiTextBox.h"
#include "Common/Score.h"

namespace {

double rowY(int row)
{
    return 113.0 - 41.0 * row;
}

std::string pointsText(int points)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", points);
    return text;
}

// A points box's number; a text that does not convert counts as 0.
int pointsIn(const std::string& text)
{
    int points = 0;
    if (std::sscanf(text.c_str(), "%d", &points) != 1) return 0;
    return points;
}

}  // namespace

const char* const HighScoreScreen::kFileName = "scores.dat";

HighScoreScreen::HighScoreScreen(RecordScreenHost* app)
    : MenuScreen(app, 0, "mainmenu.pcx"),
      _app(app),
      _tablePicture(nullptr),
      _label(nullptr),
      _returnButton(nullptr),
      _nameBoxes{},
      _pointsBoxes{}
{
    _tablePicture = new UiIcon(app, kTablePicture, "highscorescreen.pcx", 0, -68, kDepth, 1024, 512, true);
    _label = new UiIcon(app, kLabel, "highscoreslabel.pcx", 0, 150, kDepth, 512, 32, false);
    _returnButton = new UiButton(app, kReturn, "return_to_main_menu_button.pcx",
                                 "return_to_main_menu_button_lit.pcx", 0, -300, kDepth, 512, 32, false);
    addChild(_tablePicture);
    addChild(_label);
    addChild(_returnButton);
    for (int r = 0; r < kRows; ++r) {
        _nameBoxes[r] = new UiTextBox(app, kFirstRowBox + 2 * r, "", "", -141, rowY(r), kDepth, 502, 40, "",
                                      UiTextBox::AlignLeft, true);
        _pointsBoxes[r] = new UiTextBox(app, kFirstRowBox + 2 * r + 1, "", "", 250, rowY(r), kDepth, 280, 40, "",
                                        UiTextBox::AlignRight, true);
        addChild(_nameBoxes[r]);
        addChild(_pointsBoxes[r]);
    }
    // The keys and the pointer light only the return button; the rows never light.
    getNavigation().add(_returnButton);

    loadScores();
}

HighScoreScreen::~HighScoreScreen()
{
    if (!_table.empty()) saveScores();
    _table.clear();

    for (int r = kRows - 1; r >= 0; --r) {
        removeChild(_pointsBoxes[r]);
        delete _pointsBoxes[r];
        removeChild(_nameBoxes[r]);
        delete _nameBoxes[r];
    }
    for (UiControl* control : {static_cast<UiControl*>(_returnButton), static_cast<UiControl*>(_label),
                               static_cast<UiControl*>(_tablePicture)}) {
        removeChild(control);
        delete control;
    }
}

UiTextBox* HighScoreScreen::getNameBox(int row) const
{
    return row >= 0 && row < kRows ? _nameBoxes[row] : nullptr;
}

UiTextBox* HighScoreScreen::getPointsBox(int row) const
{
    return row >= 0 && row < kRows ? _pointsBoxes[row] : nullptr;
}

void HighScoreScreen::loadScores()
{
    if (_table.read(kFileName) != 0) _table.fillDefault();
    refreshRows();
}

int HighScoreScreen::saveScores()
{
    if (_table.empty()) return -1;
    return _table.write(kFileName);
}

void HighScoreScreen::refreshRows()
{
    for (int r = 0; r < kRows; ++r) {
        const Score* score = _table.at(r);
        if (!score) break;
        _nameBoxes[r]->setText(score->getName());
        _pointsBoxes[r]->setText(pointsText(score->getPoints()));
    }
}

void HighScoreScreen::submitScore(Score* score)
{
    if (!score) return;
    const int points = score->getPoints();
    _table.insert(score);
    refreshRows();
    for (int r = 0; r < kRows; ++r) {
        UiTextBox* name = _nameBoxes[r];
        if (pointsIn(_pointsBoxes[r]->getText()) != points || !name->getText().empty()) continue;
        name->setReadOnly(false);
        // A box typed into before would otherwise keep its old cursor place.
        name->setCursor(0);
        name->setFocus(true);
        _returnButton->disable();
    }
    _returnButton->setLit(false);
}

void HighScoreScreen::onCharDown(char c)
{
    if (UiControl* focused = getFocusedChild()) {
        focused->onCharDown(c);
        return;
    }
    MenuScreen::onCharDown(c);
}

void HighScoreScreen::onKeyDown(AppKey key)
{
    if (UiControl* focused = getFocusedChild()) {
        focused->onKeyDown(key);
        return;
    }
    // The return button is the only control the keys reach; lighting it again is silent.
    if (key == AppKeyUp || key == AppKeyDown) _returnButton->setLit(true);
}

void HighScoreScreen::onEscape()
{
    if (_app) _app->returnFromHighScores();
}

void HighScoreScreen::onCommand(int id)
{
    if (id == kReturn && _app) _app->returnFromHighScores();
}

void HighScoreScreen::onTextEntered(int id, const std::string& text)
{
    const int row = (id - kFirstRowBox) / 2;
    if (id < kFirstRowBox || (id - kFirstRowBox) % 2 != 0 || row >= kRows) return;
    UiTextBox* box = _nameBoxes[row];
    box->disable();
    box->setFocus(false);
    if (Score* score = _table.at(row)) score->setName(text);
    _returnButton->enable();
    saveScores();
}
