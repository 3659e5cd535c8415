#ifndef KOVO_BASE_UI_UITEXTBOX_H
#define KOVO_BASE_UI_UITEXTBOX_H

#include <map>
#include <string>

#include "Base/Ui/UiControl.h"

class GphAnimatedTexture;
class GphRect;
class UiIcon;

// One picture per character: every printable ASCII character but the lower-case
// letters.
typedef std::map<char, GphAnimatedTexture*> UiGlyphMap;

// A one-line text field drawn in a bitmap font, 30 units per character, with a
// blinking bar cursor. The screen that owns it chooses which box gets keys and gives
// it the focus; the box edits its text, asks to be edited with onTextBoxActivated and
// hands its text over with onTextEntered when editing ends.
class UiTextBox : public UiControl {
public:
    static const int AlignLeft = 0;
    static const int AlignRight = 1;

    UiTextBox(AppBase* app, int id, const std::string& normalImage, const std::string& litImage, double x, double y,
              double z, double width, double height, const std::string& text, int alignment, bool readOnly);
    ~UiTextBox() override;

    void setText(const std::string& text);
    const std::string& getText() const { return _text; }
    void setAlign(int alignment) { _alignment = alignment; }
    int getAlign() const { return _alignment; }
    // Read-only only hides the cursor.
    void setReadOnly(bool readOnly) { _readOnly = readOnly; }
    bool isReadOnly() const { return _readOnly; }
    void setCursor(int cursor) { _cursor = cursor; }
    int getCursor() const { return _cursor; }

    void draw() override;
    void update(unsigned int ms) override;
    void onCharDown(char c) override;
    void onKeyDown(AppKey key) override;
    void onKeyUp(AppKey key) override;
    void onMouseMove(double x, double y) override;
    void onLeftButtonUp(double x, double y) override;

private:
    void loadGlyphs();
    void clampCursor();
    void drawGlyph(char c, double x);

    UiGlyphMap _glyphs;
    std::string _text;
    int _alignment;
    bool _readOnly;
    int _cursor;
    GphRect* _glyphRect;
    GphRect* _cursorRect;
    GphAnimatedTexture* _cursorPicture;
    UiIcon* _normal;
    UiIcon* _lit;
    SndSoundEffect* _click;
    double _y;
    double _left;
    double _right;
    bool _blinkPhase;
    int _blinkCounter;
    int _capacity;
};

#endif
