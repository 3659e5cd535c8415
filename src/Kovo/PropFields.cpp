#include "Kovo/PropFields.h"

#include "Base/App/Log.h"
#include "Base/Gph/GphRect.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/Barrier.h"
#include "Common/Map.h"
#include "Common/Sprite.h"

namespace {

// The picture's size until "<LOCATION>" gives the prop's own.
constexpr double kDefaultSize = 100.0;

}  // namespace

int PropFields::readId(std::istream& in, Sprite& sprite)
{
    int id = 0;
    if (TaggedText::readValue(in, id) != 0) return -1;
    sprite.setId(id);
    return 0;
}

int PropFields::readAnimation(std::istream& in, Map* owner, GphAnimatedTexture*& animation)
{
    int id = 0;
    if (TaggedText::readValue(in, id) != 0) return -1;
    animation = owner ? owner->imageById(id) : nullptr;
    if (!animation) {
        LOG("Failed to retrieve animation");
        return -1;
    }
    return 0;
}

void PropFields::replacePicture(Sprite& sprite, GphRect*& picture, GphAnimatedTexture* animation,
                                double z, bool drawOnce)
{
    deletePicture(sprite, picture);
    const ShpCoord centre(0, 0, z);
    picture = new GphRect(kDefaultSize, kDefaultSize, &centre, animation, GPH_RECT);
    sprite.setGraphic(picture);
    if (drawOnce) picture->render();
    sprite.setPosition(0, 0, z);
    sprite.setSize(kDefaultSize, kDefaultSize);
}

void PropFields::deletePicture(Sprite& sprite, GphRect*& picture)
{
    if (!picture) return;
    // The animation is the room's.
    picture->setAnimatedTexture(nullptr);
    if (sprite.getGraphic() == picture) sprite.setGraphic(nullptr);
    delete picture;
    picture = nullptr;
}

void PropFields::fitPicture(GphRect* picture, const Sprite& sprite)
{
    if (!picture) return;
    double length, width;
    sprite.getSize(length, width);
    picture->setLength(width);
    picture->setWidth(length);
}

void PropFields::place(Sprite& sprite, GphRect* picture, int x, int y, int width, int height,
                       double z)
{
    sprite.setPosition(x, y, z);
    sprite.setSize(height, width);
    fitPicture(picture, sprite);
}

int PropFields::readBarrier(std::istream& in, Barrier*& slot)
{
    std::string opening;
    if (!TaggedText::readToken(in, opening)) return -1;
    Barrier* barrier = new Barrier();
    if (barrier->read(in) != 0) {
        LOG("Failed to read barrier");
        delete barrier;
        // Not filed in the room yet, so an earlier one of this block is still the prop's.
        delete slot;
        slot = nullptr;
        return -1;
    }
    delete slot;
    slot = barrier;
    std::string closing;
    return TaggedText::readToken(in, closing) ? 0 : -1;
}
