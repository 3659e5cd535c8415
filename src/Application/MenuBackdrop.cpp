#include "Application/MenuBackdrop.h"

#include <GL/gl.h>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"

namespace {

constexpr double kDepth = -10.0;
constexpr double kSide = 1024.0;

GphAnimatedTexture* stillAnimation(GphTexture* texture)
{
    GphAnimatedTexture* animation = new GphAnimatedTexture();
    animation->addFrame(texture);
    return animation;
}

}  // namespace

MenuBackdrop::MenuBackdrop(ScreenHost* app)
    : _app(app),
      _panelImage(GphImage::load("menu_background.pcx", false)),
      _stripImage(GphImage::load("menu_background2.pcx", true)),
      _panelTexture(nullptr),
      _stripTexture(nullptr),
      _panelAnimation(nullptr),
      _stripAnimation(nullptr),
      _panel(nullptr)
{
    _panelTexture = new GphTexture(_panelImage, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT, GL_MODULATE, nullptr);
    _stripTexture = new GphTexture(_stripImage, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT, GL_MODULATE, nullptr);
    _panelAnimation = stillAnimation(_panelTexture);
    _stripAnimation = stillAnimation(_stripTexture);

    const ShpCoord centre(0, 0, kDepth);
    _panel = new GphRect(kSide, kSide, &centre, _panelAnimation, GPH_RECT);
    for (int i = 0; i < kStripCount; ++i) {
        const ShpCoord at(0, kStripHeight * i + kLowestStrip, kDepth);
        _strips.push_back(new GphRect(kSide, kStripHeight, &at, _stripAnimation, GPH_RECT));
    }
}

MenuBackdrop::~MenuBackdrop()
{
    for (GphRect* strip : _strips) delete strip;
    _strips.clear();
    delete _panel;
    _panel = nullptr;
    // Each animation deletes its texture, which gives back the image.
    delete _stripAnimation;
    delete _panelAnimation;
    _stripAnimation = nullptr;
    _panelAnimation = nullptr;
    _stripTexture = nullptr;
    _panelTexture = nullptr;
    _stripImage = nullptr;
    _panelImage = nullptr;
}

void MenuBackdrop::update(unsigned int ms)
{
    const double dy = -(ms * GameConstants::backdropScrollSpeed / 1000.0);
    // The band is as high as all strips together.
    const double band = kStripCount * kStripHeight;
    for (GphRect* strip : _strips) {
        strip->move(0, dy, 0);
        if (strip->getCoord()->getY() < kLowestStrip) strip->move(0, band, 0);
    }
}

void MenuBackdrop::draw()
{
    _panel->draw();
    for (GphRect* strip : _strips) strip->draw();
}
