#ifndef KOVO_COMMON_SCOREPANEL_H
#define KOVO_COMMON_SCOREPANEL_H

#include <istream>
#include <ostream>

class GphAnimatedTexture;
class GphBillboard;
class GphRect;
class PanelDigits;
class Player;

// The score box in the upper left of the view while a level runs: the hero's score, lives
// and grenades in digit pictures on the box picture, and under them a bar that shrinks to
// the left as the running power-up runs out. It is drawn relative to the camera, so it keeps
// its place on the screen while the world scrolls.
class ScorePanel {
public:
    // The box's offset from the camera and its size.
    static constexpr double kBoxOffsetX = -300.0;
    static constexpr double kBoxOffsetY = 250.0;
    static constexpr double kBoxLength = 160.0;
    static constexpr double kBoxWidth = 80.0;
    // The power-up bar: its left end and centre line relative to the box, its full length.
    static constexpr double kBarLeft = -70.0;
    static constexpr double kBarY = -27.0;
    static constexpr double kBarFullLength = 140.0;
    static constexpr double kBarWidth = 6.0;

    explicit ScorePanel(Player* player);
    ~ScorePanel();
    ScorePanel(const ScorePanel&) = delete;
    ScorePanel& operator=(const ScorePanel&) = delete;

    void show();
    // The running power-up's remaining and full time in milliseconds; remaining 0 when none
    // runs.
    void setTimer(int remaining, int maximum);
    int getTimerValue() const { return _timerValue; }
    int getTimerMaximum() const { return _timerMaximum; }

    // Only while the box is shown: the box at the camera, the three numbers and the bar.
    void draw();

    // The two timer values, each followed by a blank.
    int writeState(std::ostream& out);
    // The two timer values; -1 (logged, values kept) when they do not read.
    int readState(std::istream& in);

    GphBillboard* getBox() const { return _box; }
    GphRect* getTimerBar() const { return _timerBar; }
    PanelDigits* getDigits() const { return _digits; }

private:
    Player* _player;
    GphBillboard* _box;
    PanelDigits* _digits;
    GphRect* _timerBar;
    int _timerValue;
    int _timerMaximum;
};

#endif
