#include "Base/Ui/UiTextBox.h"

#include <cctype>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Base/Ui/UiIcon.h"

namespace {

// Each character takes this many units; the first glyph's centre lies 35 units in
// from the edge the text is aligned to.
const double GlyphAdvance = 30;
const double GlyphInset = 35;
const double GlyphSize = 32;
const double CursorWidth = 4;
const double TextZ = -10;
const int BlinkMs = 500;
const double NoCursor = -10000;

struct GlyphFile {
    char c;
    const char* file;
};

const GlyphFile Punctuation[] = {
    {'!', "exclamationpoint.bmp"}, {'@', "at.bmp"},         {'#', "pound.bmp"},
    {'$', "dollar.bmp"},           {'%', "percent.bmp"},    {'^', "carat.bmp"},
    {'&', "ampersand.bmp"},        {'*', "star.bmp"},       {'(', "leftparen.bmp"},
    {')', "rightparen.bmp"},       {'-', "dash.bmp"},       {'_', "underscore.bmp"},
    {'+', "plus.bmp"},             {'=', "equal.bmp"},      {'"', "quote.bmp"},
    {'`', "singlequotereverse.bmp"}, {'[', "leftbracket.bmp"}, {']', "rightbracket.bmp"},
    {'{', "leftbrace.bmp"},        {'}', "rightbrace.bmp"}, {'|', "divider.bmp"},
    {'\\', "backslash.bmp"},       {'/', "slash.bmp"},      {'?', "question.bmp"},
    {'<', "less.bmp"},             {'>', "greater.bmp"},    {',', "comma.bmp"},
    {'.', "period.bmp"},           {':', "colon.bmp"},      {';', "semicolon.bmp"},
    {'\'', "singlequote.bmp"},     {'~', "tilde.bmp"},
};

// A one-frame animated texture of an opaque picture.
GphAnimatedTexture* stillPicture(GphTexture* texture)
{
    GphAnimatedTexture* picture = new GphAnimatedTexture();
    picture->addFrame(texture);
    return picture;
}

}  // namespace

UiTextBox::UiTextBox(AppBase* app, int id, const std::string& normalImage, const std::string& litImage, double x,
                     double y, double z, double width, double height, const std::string& text, int alignment,
                     bool readOnly)
    : UiControl(app, id),
      _text(text),
      _alignment(alignment),
      _readOnly(readOnly),
      _cursor(0),
      _glyphRect(nullptr),
      _cursorRect(nullptr),
      _cursorPicture(nullptr),
      _normal(nullptr),
      _lit(nullptr),
      _click(nullptr),
      _y(y),
      _left(x - width / 2),
      _right(x + width / 2),
      _blinkPhase(false),
      _blinkCounter(0),
      // Two characters' room is kept for the margins; the cursor may stand after the
      // last character.
      _capacity(static_cast<int>(width / 30.0) - 2)
{
    if (!normalImage.empty()) _normal = new UiIcon(app, id, normalImage, x, y, z, width, height, false);
    if (!litImage.empty()) _lit = new UiIcon(app, id, litImage, x, y, z, width, height, false);
    _click = SndSoundEffect::create("menu_item_click1.wav");
    setPosition(x, y, z);
    setSize(height, width);
    loadGlyphs();
    ShpCoord origin(0, 0, TextZ);
    _glyphRect = new GphRect(GlyphSize, GlyphSize, &origin, nullptr, GPH_RECT);
    _cursorRect = new GphRect(CursorWidth, GlyphSize, &origin, _cursorPicture, GPH_RECT);
}

UiTextBox::~UiTextBox()
{
    _cursorRect->setAnimatedTexture(nullptr);
    delete _cursorRect;
    _glyphRect->setAnimatedTexture(nullptr);
    delete _glyphRect;
    delete _cursorPicture;
    for (auto& entry : _glyphs) delete entry.second;
    _glyphs.clear();
    if (_click) SndSoundEffect::release(_click);
    delete _lit;
    delete _normal;
}

void UiTextBox::loadGlyphs()
{
    for (char c = 'A'; c <= 'Z'; ++c) {
        const std::string file = std::string(1, static_cast<char>(c - 'A' + 'a')) + ".bmp";
        _glyphs[c] = stillPicture(makeTexture(file, false));
    }
    for (char c = '0'; c <= '9'; ++c) {
        _glyphs[c] = stillPicture(makeTexture(std::string(1, c) + ".bmp", false));
    }
    _glyphs[' '] = stillPicture(makeTexture("space.bmp", false));
    for (const GlyphFile& glyph : Punctuation) _glyphs[glyph.c] = stillPicture(makeTexture(glyph.file, false));
    _cursorPicture = stillPicture(makeTexture("cursor.bmp", false));
}

void UiTextBox::setText(const std::string& text)
{
    _text = text;
    clampCursor();
}

void UiTextBox::clampCursor()
{
    const int length = static_cast<int>(_text.size());
    if (_cursor < 0) _cursor = 0;
    if (_cursor > length) _cursor = length;
}

void UiTextBox::update(unsigned int ms)
{
    _blinkCounter += static_cast<int>(ms);
    if (_blinkCounter > BlinkMs) {
        _blinkCounter -= BlinkMs;
        _blinkPhase = !_blinkPhase;
    }
}

void UiTextBox::drawGlyph(char c, double x)
{
    auto it = _glyphs.find(c);
    if (it == _glyphs.end()) it = _glyphs.find(' ');
    _glyphRect->setAnimatedTexture(it->second);
    _glyphRect->setCoord(ShpCoord(x, _y, TextZ));
    _glyphRect->draw();
}

void UiTextBox::draw()
{
    if (!isVisible()) return;
    UiIcon* background = isLit() ? _lit : _normal;
    if (background) background->draw();

    double cursorX = NoCursor;
    const int length = static_cast<int>(_text.size());
    if (_alignment == AlignLeft) {
        double p = _left + GlyphInset;
        for (int i = 0; i < length; ++i) {
            if (i == _cursor) cursorX = p;
            drawGlyph(_text[i], p);
            p += GlyphAdvance;
        }
        if (cursorX == NoCursor) cursorX = p;
    } else if (_alignment == AlignRight) {
        double p = _right - GlyphInset;
        for (int i = length - 1; i >= 0; --i) {
            if (i == _cursor) cursorX = p;
            drawGlyph(_text[i], p);
            p -= GlyphAdvance;
        }
        // At the end of the text the bar stands just right of the last character.
        if (cursorX == NoCursor) cursorX = _right - GlyphInset + GlyphAdvance;
    }

    if (!_readOnly && !_blinkPhase && hasFocus() && cursorX != NoCursor) {
        // The bar stands at the left edge of the character at the cursor.
        _cursorRect->setCoord(ShpCoord(cursorX - GlyphSize / 2, _y, TextZ));
        _cursorRect->draw();
    }
}

void UiTextBox::onCharDown(char c)
{
    clampCursor();
    const unsigned char code = static_cast<unsigned char>(c);
    switch (code) {
    case 8:
        if (_cursor > 0 && !_text.empty()) {
            _text.erase(static_cast<std::string::size_type>(_cursor - 1), 1);
            --_cursor;
        }
        return;
    case 9:
    case 27:
        setFocus(false);
        if (getParent()) getParent()->onTextEntered(getId(), _text);
        return;
    case 10:
    case 13:
        if (!getParent()) return;
        if (hasFocus()) {
            setFocus(false);
            getParent()->onTextEntered(getId(), _text);
        } else {
            getParent()->onTextBoxActivated(getId());
        }
        return;
    default:
        break;
    }
    // Code 0 and the other control codes are not characters.
    if (code < 32) return;
    if (static_cast<int>(_text.size()) > _capacity) return;
    _text.insert(static_cast<std::string::size_type>(_cursor), 1,
                 static_cast<char>(std::toupper(code)));
    ++_cursor;
}

void UiTextBox::onKeyDown(AppKey key)
{
    clampCursor();
    const int length = static_cast<int>(_text.size());
    switch (key) {
    case AppKeyLeft:
        if (_cursor > 0) --_cursor;
        break;
    case AppKeyRight:
        if (_cursor < length) ++_cursor;
        break;
    case AppKeyDelete:
        if (_cursor < length) _text.erase(static_cast<std::string::size_type>(_cursor), 1);
        break;
    case AppKeyHome:
        _cursor = 0;
        break;
    case AppKeyEnd:
        _cursor = length;
        break;
    case AppKeyTab:
        // The application delivers Tab as a special key, never as character 9, so the
        // box ends the entry here as well.
        if (hasFocus() && getParent()) {
            setFocus(false);
            getParent()->onTextEntered(getId(), _text);
        }
        break;
    default:
        break;
    }
}

void UiTextBox::onKeyUp(AppKey) {}

void UiTextBox::onMouseMove(double x, double y)
{
    setLit(isEnabled() && containsPoint(x, y));
}

void UiTextBox::onLeftButtonUp(double, double)
{
    if (isEnabled() && getParent() && !hasFocus()) {
        playAtListener(_click);
        getParent()->onTextBoxActivated(getId());
    }
}
