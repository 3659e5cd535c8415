#include "Base/Ui/UiIcon.h"

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Shp/ShpCoord.h"

UiIcon::UiIcon(AppBase* app, int id, const std::string& imageName, double x, double y, double z, double width,
               double height, bool transparent)
    : UiControl(app, id), _texture(nullptr), _animation(nullptr), _rect(nullptr)
{
    setPosition(x, y, z);
    setSize(height, width);
    _texture = makeTexture(imageName, transparent);
    _animation = new GphAnimatedTexture();
    _animation->addFrame(_texture);
    ShpCoord centre(x, y, z);
    _rect = new GphRect(width, height, &centre, _animation, GPH_RECT);
    setGraphic(_rect);
}

UiIcon::~UiIcon()
{
    setGraphic(nullptr);
    _rect->setAnimatedTexture(nullptr);
    delete _rect;
    // Deletes its one frame, which gives back the image.
    delete _animation;
}
