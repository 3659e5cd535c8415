#include "Kovo/SleepZList.h"

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphRect.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "Kovo/ObjectPictures.h"

namespace {

const double pictureSide = 30.0;

}  // namespace

SleepZList::SleepZList() {}

SleepZList::~SleepZList()
{
    clear();
}

void SleepZList::destroy(GphRect* picture)
{
    GphAnimatedTexture* animation = picture->getAnimatedTexture();
    picture->setAnimatedTexture(nullptr);
    delete animation;
    delete picture;
}

void SleepZList::clear()
{
    for (GphRect* picture : _pictures) destroy(picture);
    _pictures.clear();
}

void SleepZList::add(double x, double y)
{
    GphAnimatedTexture* animation = ObjectPictures::loadAnimation({"sleep_z.pcx"});
    const ShpCoord at(x, y, GameConstants::zCharacterEffect);
    GphRect* picture = new GphRect(pictureSide, pictureSide, &at, animation, GPH_RECT);
    picture->setAlpha(1.0f);
    _pictures.push_back(picture);
}

void SleepZList::update(double seconds)
{
    const float fade = static_cast<float>(GameConstants::fadeRate * seconds);
    const double rise = GameConstants::effectRiseRate * seconds;
    for (auto it = _pictures.begin(); it != _pictures.end();) {
        GphRect* picture = *it;
        const float alpha = picture->getAlpha();
        const float faded = alpha - fade;
        if (alpha <= 0.0f || faded < 0.0f) {
            destroy(picture);
            it = _pictures.erase(it);
            continue;
        }
        picture->setAlpha(faded);
        picture->move(0.0, rise, 0.0);
        ++it;
    }
}

void SleepZList::draw()
{
    for (GphRect* picture : _pictures) picture->draw();
}
