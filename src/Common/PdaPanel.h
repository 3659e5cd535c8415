#ifndef KOVO_COMMON_PDAPANEL_H
#define KOVO_COMMON_PDAPANEL_H

#include <istream>
#include <ostream>
#include <string>

#include "Base/App/AppBase.h"

class GphRect;
class PanelDigits;
class Player;
class SndSoundEffect;

// The hand-held computer that the player calls up during a level: it slides up from below
// into the middle of the view and shows the hero's score, grenades, health and lives, the
// share of the level's treasure found so far and the current objective's picture; any key
// sends it down again. It also keeps the level's treasure count and chimes when the last
// treasure is found.
class PdaPanel {
public:
    static constexpr double kPanelSide = 400.0;
    // How far below the camera the slide starts and how far down it leaves.
    static constexpr double kSlideDistance = 500.0;
    // Where the panel waits while it is not shown.
    static constexpr double kParkedY = -200.0;
    static constexpr double kObjectiveLength = 200.0;
    static constexpr double kObjectiveWidth = 100.0;
    // The objective picture's place below the panel's centre.
    static constexpr double kObjectiveDrop = 85.0;
    // Written for a game whose objective has no picture: a name cannot be empty in the
    // saved form, and no picture file is named like this.
    static const char* const kNoObjective;

    // `app` gives the window's camera.
    PdaPanel(AppBase* app, Player* player);
    ~PdaPanel();
    PdaPanel(const PdaPanel&) = delete;
    PdaPanel& operator=(const PdaPanel&) = delete;

    // Starts the slide in from below the view.
    void show();
    bool isShown() const { return _shown; }
    bool isSlidingOut() const { return _slidingOut; }
    void resetMotion();
    // One step of the slide.
    void update(unsigned int ms);
    // Only while the panel is in view.
    void draw();

    // Any key sends the panel down again (a panel still coming up turns back at once);
    // keys while it goes down change nothing.
    void onCharDown(char c);
    void onKeyDown(AppKey key);

    // The objective's picture; an empty name shows none until a picture is named.
    void setObjective(const std::string& imageFileName);
    const std::string& getObjective() const { return _objectiveName; }

    void setTotal(int total) { _total = total; }
    int getTotal() const { return _total; }
    // Found and percentage back to 0; the total stays.
    void resetCounters();
    // One more treasure found.
    void countFound();
    int getFound() const { return _found; }
    int getPercentage() const { return _percentage; }

    // The objective name, total, found count and percentage, each followed by a blank.
    int writeState(std::ostream& out);
    // The same four values; -1 (logged, panel unchanged) when they do not read.
    int readState(std::istream& in);

    GphRect* getPanel() const { return _panel; }
    GphRect* getObjectivePicture() const { return _objective; }
    PanelDigits* getDigits() const { return _digits; }
    double getTargetY() const { return _targetY; }

private:
    // Restarts an effect at the camera; a missing effect is skipped.
    void playAtCamera(SndSoundEffect* effect);
    // The panel's centre height and moving it there.
    double panelY() const;
    void setPanelY(double y);
    // Sets the slide going down from where the panel stands.
    void slideOut();

    AppBase* _app;
    Player* _player;
    GphRect* _panel;
    PanelDigits* _digits;
    GphRect* _objective;
    std::string _objectiveName;
    int _total;
    int _found;
    int _percentage;
    bool _shown;
    bool _slidingOut;
    double _targetY;
    SndSoundEffect* _arrival;
    SndSoundEffect* _departure;
    SndSoundEffect* _chime;
};

#endif
