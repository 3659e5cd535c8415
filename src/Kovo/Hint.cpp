#include "Kovo/Hint.h"

#include "Base/Gph/GphRect.h"
#include "Base/Shp/ShpCoord.h"
#include "Kovo/ObjectPictures.h"

Hint::Hint(const std::string& image, const std::string& popupImage,
           const std::string& panelImage, const std::string& objectiveImage,
           const std::string& sound)
    : Item(ItemTypeHint, image, popupImage, sound),
      _panel(makePicture(panelImage, 200, 400, -10)),
      _shown(false),
      _objective_image(objectiveImage)
{
}

Hint::~Hint()
{
    ObjectPictures::deletePicture(_panel);
}

void Hint::draw()
{
    if (_shown) _panel->draw();
    Item::draw();
}

void Hint::show(const ShpCoord& at)
{
    _panel->setCoord(at);
    _shown = true;
}
