#ifndef KOVO_APPLICATION_HIGHSCORESCREEN_H
#define KOVO_APPLICATION_HIGHSCORESCREEN_H

#include <string>

#include "Application/MenuScreen.h"
#include "Common/HighScoreTable.h"

class RecordScreenHost;
class Score;
class UiButton;
class UiIcon;
class UiTextBox;

// The ten best scores as ten rows of a name and a number. A finished game that earns a
// place opens its row for the player's name; the screen can be left only once the name has
// been ended. The table is read from "scores.dat" when the screen is built and written
// whenever a name has been entered and again when the screen is destroyed.
class HighScoreScreen : public MenuScreen {
public:
    enum { kLabel = 1, kTablePicture = 2, kReturn = 3, kFirstRowBox = 4 };
    static constexpr int kRows = HighScoreTable::kShown;
    static const char* const kFileName;

    explicit HighScoreScreen(RecordScreenHost* app);
    // Writes the file (when the table holds anything) and deletes the records.
    ~HighScoreScreen() override;

    // Fills the table from the file, or with the default table when the file is missing or
    // does not decode, and shows it.
    void loadScores();
    // The first ten records to the file. 0 when written; -1 (the old file kept) otherwise, or
    // when the table is empty.
    int saveScores();
    // Takes a finished game's record (empty name) and opens every shown row of its points
    // whose name is empty; the focus ends on the last of them.
    void submitScore(Score* score);
    // Rows show the table's first ten entries.
    void refreshRows();

    const HighScoreTable& getTable() const { return _table; }
    UiTextBox* getNameBox(int row) const;
    UiTextBox* getPointsBox(int row) const;
    UiButton* getReturnButton() const { return _returnButton; }

    // While a name box takes the typing, it gets every key.
    void onCharDown(char c) override;
    void onKeyDown(AppKey key) override;
    void onCommand(int id) override;
    // A row's name box has ended its typing: the entry takes the name and the file is
    // written, so a crash later loses nothing.
    void onTextEntered(int id, const std::string& text) override;

protected:
    // Back to the main menu.
    void onEscape() override;

private:
    RecordScreenHost* _app;
    HighScoreTable _table;
    UiIcon* _tablePicture;
    UiIcon* _label;
    UiButton* _returnButton;
    UiTextBox* _nameBoxes[kRows];
    UiTextBox* _pointsBoxes[kRows];
};

#endif
