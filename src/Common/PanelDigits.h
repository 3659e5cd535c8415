#ifndef KOVO_COMMON_PANELDIGITS_H
#define KOVO_COMMON_PANELDIGITS_H

#include <string>

class GphAnimatedTexture;
class GphRect;
class GphTexture;

// The digit pictures of the in-game panels: one 10 x 20 rectangle whose ten frames are
// "0.pcx" to "9.pcx" (frame n shows n), opaque and drawn through decal, so that the digits
// keep their own colours whatever the light. The panels write their numbers with it.
class PanelDigits {
public:
    static constexpr double kDigitLength = 10.0;
    static constexpr double kDigitWidth = 20.0;

    PanelDigits();
    ~PanelDigits();
    PanelDigits(const PanelDigits&) = delete;
    PanelDigits& operator=(const PanelDigits&) = delete;

    // The decimal text of `value`, right-aligned: its last character centred at (x, y) on
    // the panels' front depth, each character before it 10 further left. A character that
    // is not a digit (a minus sign) keeps the frame of the place before it but still takes
    // its place.
    void drawNumber(int value, double x, double y);
    GphRect* getRect() const { return _rect; }

    // An opaque picture as the panels draw it: linear filters, repeat wraps, decal.
    static GphTexture* makeDecalTexture(const std::string& imageName);

private:
    GphAnimatedTexture* _animation;
    GphRect* _rect;
};

#endif
