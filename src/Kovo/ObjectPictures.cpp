#include "Kovo/ObjectPictures.h"

#include <GL/gl.h>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"

GphTexture* ObjectPictures::loadFrame(const std::string& fileName)
{
    GphImage* image = GphImage::load(fileName, true);
    return new GphTexture(image, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT, GL_MODULATE);
}

GphAnimatedTexture* ObjectPictures::loadAnimation(const std::vector<std::string>& fileNames,
                                                  unsigned msPerFrame)
{
    GphAnimatedTexture* animation = new GphAnimatedTexture();
    for (const std::string& fileName : fileNames) animation->addFrame(loadFrame(fileName));
    if (msPerFrame > 0) animation->setMillisecondsPerFrame(msPerFrame);
    return animation;
}

void ObjectPictures::deletePicture(GphRect*& picture)
{
    if (!picture) return;
    GphAnimatedTexture* animation = picture->getAnimatedTexture();
    picture->setAnimatedTexture(nullptr);
    delete animation;
    delete picture;
    picture = nullptr;
}
