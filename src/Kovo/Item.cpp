#include "Kovo/Item.h"

#include <sstream>

#include "Base/Gph/GphRect.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Common/GameConstants.h"
#include "Kovo/ObjectPictures.h"

Item::Item(ItemType type, const std::string& image, const std::string& popupImage,
           const std::string& sound)
    : Item(type, image, popupImage, sound, 40, 40, 40, 40)
{
    _picture->render();
}

Item::Item(ItemType type, const std::string& image, const std::string& popupImage,
           const std::string& sound, double length, double width, double popupLength,
           double popupWidth)
    : Sprite(),
      _type(type),
      _picture(nullptr),
      _popup(nullptr),
      _sound(nullptr),
      _collected(false),
      _alpha(1.0f),
      _popup_length(popupLength),
      _popup_width(popupWidth)
{
    build(image, popupImage, sound, length, width);
}

void Item::build(const std::string& image, const std::string& popupImage,
                 const std::string& sound, double length, double width)
{
    _picture = makePicture(image, length, width, GameConstants::zItem);
    _popup = makePicture(popupImage, _popup_length, _popup_width, GameConstants::zItemPopup);
    setGraphic(_picture);
    setPosition(0, 0, GameConstants::zItem);
    resizeBox(length, width);
    _sound = SndSoundEffect::create(sound);
}

Item::~Item()
{
    setGraphic(nullptr);
    ObjectPictures::deletePicture(_picture);
    ObjectPictures::deletePicture(_popup);
    SndSoundEffect::release(_sound);
}

GphRect* Item::makePicture(const std::string& image, double length, double width, double z)
{
    const ShpCoord at(0, 0, z);
    GphAnimatedTexture* animation = ObjectPictures::loadAnimation({image});
    return new GphRect(width, length, &at, animation, GPH_RECT);
}

void Item::resizeBox(double length, double width)
{
    const double pictureX = _picture->getLength(), pictureY = _picture->getWidth();
    const double popupX = _popup->getLength(), popupY = _popup->getWidth();
    setSize(length, width);
    _picture->setLength(pictureX);
    _picture->setWidth(pictureY);
    _popup->setLength(popupX);
    _popup->setWidth(popupY);
}

void Item::collect(bool collected, bool playSound)
{
    _collected = collected;
    if (!collected) return;
    setGraphic(_popup);
    resizeBox(_popup_length, _popup_width);
    _popup->setCoord(*_picture->getCoord());
    setZ(GameConstants::zItemPopup);
    if (playSound && _sound) SndSoundEffect::playAt(_sound, ShpCoord(getX(), getY(), 0));
}

void Item::setAlpha(float alpha)
{
    _alpha = alpha;
    if (alpha <= 0) {
        _alpha = -1.0f;
        _popup->setAlpha(0.0f);
    } else {
        _popup->setAlpha(alpha);
    }
}

void Item::draw()
{
    if (getGraphic() == _popup && _alpha <= 0) return;
    Sprite::draw();
}

void Item::update(double seconds)
{
    if (getGraphic() != _popup) return;
    if (_alpha <= 0) {
        _alpha = -1.0f;
        _popup->setAlpha(0.0f);
        return;
    }
    const double rise = GameConstants::effectRiseRate * seconds;
    _alpha = static_cast<float>(_alpha - GameConstants::fadeRate * seconds);
    if (_alpha < 0) {
        _alpha = -1.0f;
        _popup->setAlpha(0.0f);
    } else {
        _popup->setAlpha(_alpha);
    }
    move(0, rise, 0);
}

int Item::writeState(std::ostream& out)
{
    // A restored pop-up never shows again (readState below), so a collected item is written
    // as faded: a game saved, loaded and saved again gives the same file.
    out << "<ITEM> " << (_collected ? 1 : 0) << ' ' << (_collected ? -1.0f : _alpha) << ' ';
    const int result = Sprite::writeState(out);
    if (result != 0) return result;
    out << "</ITEM>\n";
    return 0;
}

int Item::readState(std::istream& in)
{
    // collected, alpha and the "<SPRITE>" tag come before the sprite line, the block's
    // closing tag after it.
    static_assert(kStateTokens == 3 + kStateLineTokens + 1, "the item's saved block");
    // The whole block is taken before anything is applied: one that ends early or holds
    // garbage leaves the item as it was instead of restoring zeros.
    bool collected;
    float alpha;
    std::string spriteTag;
    if (!(in >> collected >> alpha >> spriteTag)) return -1;
    std::istringstream spriteLine;
    if (!takeStateLine(in, spriteLine)) return -1;

    const double pictureX = _picture->getLength(), pictureY = _picture->getWidth();
    const double popupX = _popup->getLength(), popupY = _popup->getWidth();
    const int result = Sprite::readState(spriteLine);
    if (result != 0) return result;
    _picture->setLength(pictureX);
    _picture->setWidth(pictureY);
    _popup->setLength(popupX);
    _popup->setWidth(popupY);

    _alpha = alpha;
    if (collected) {
        // A restored pop-up never shows again, and nothing is heard.
        collect(true, false);
        setAlpha(-1.0f);
    }
    return 0;
}
