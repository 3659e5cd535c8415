#include "Common/PanelDigits.h"

#include <GL/gl.h>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"

PanelDigits::PanelDigits() : _animation(new GphAnimatedTexture()), _rect(nullptr)
{
    for (int n = 0; n < 10; ++n) _animation->addFrame(makeDecalTexture(std::to_string(n) + ".pcx"));
    const ShpCoord at(0, 0, GameConstants::zScorePanel);
    _rect = new GphRect(kDigitLength, kDigitWidth, &at, _animation, GPH_RECT);
}

PanelDigits::~PanelDigits()
{
    // The animation first, then the rectangle that showed it.
    _rect->setAnimatedTexture(nullptr);
    delete _animation;
    _animation = nullptr;
    delete _rect;
    _rect = nullptr;
}

void PanelDigits::drawNumber(int value, double x, double y)
{
    const std::string text = std::to_string(value);
    _rect->setCoord(ShpCoord(x, y, GameConstants::zScorePanel));
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        if (*it >= '0' && *it <= '9') _animation->setCurrentFrame(static_cast<unsigned>(*it - '0'));
        _rect->draw();
        _rect->move(-kDigitLength, 0, 0);
    }
}

GphTexture* PanelDigits::makeDecalTexture(const std::string& imageName)
{
    GphImage* image = GphImage::load(imageName, false);
    return new GphTexture(image, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT, GL_DECAL, nullptr);
}
