#include "Kovo/Switch.h"

#include <GL/gl.h>

#include <string>

#include "Base/App/TaggedText.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Common/GameConstants.h"
#include "Kovo/Door.h"

namespace {

constexpr double kSize = 40.0;
// From this many targets on, the lever has the second look.
constexpr size_t kManyTargets = 4;

// The lever pictures are opaque.
GphTexture* leverFrame(const char* fileName)
{
    GphImage* image = GphImage::load(fileName, false);
    return new GphTexture(image, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT, GL_MODULATE);
}

}  // namespace

Switch::Switch(const std::list<Sprite*>& targets, bool on, bool hidden)
    : _targets(targets), _picture(nullptr), _on(on), _sound(nullptr)
{
    if (!hidden) {
        const bool many = _targets.size() >= kManyTargets;
        GphAnimatedTexture* animation = new GphAnimatedTexture();
        animation->addFrame(leverFrame(many ? "switch2_off.pcx" : "switch_off.pcx"));
        animation->addFrame(leverFrame(many ? "switch2_on.pcx" : "switch_on.pcx"));
        const ShpCoord centre(0, 0, GameConstants::zSwitch);
        _picture = new GphRect(kSize, kSize, &centre, animation, GPH_RECT);
        setGraphic(_picture);
        _picture->render();
    }
    setPosition(0, 0, GameConstants::zSwitch);
    setSize(kSize, kSize);
    _sound = SndSoundEffect::create("switch.wav");
    showState();
}

Switch::~Switch()
{
    SndSoundEffect::release(_sound);
    if (_picture) {
        GphAnimatedTexture* animation = _picture->getAnimatedTexture();
        _picture->setAnimatedTexture(nullptr);
        delete animation;
        delete _picture;
    }
}

void Switch::showState()
{
    if (_picture && _picture->getAnimatedTexture())
        _picture->getAnimatedTexture()->setCurrentFrame(_on ? 1 : 0);
}

void Switch::setOn(bool on)
{
    _on = on;
    for (Sprite* target : _targets) {
        if (!target) continue;
        if (Door* door = dynamic_cast<Door*>(target))
            door->setLocked(on);
        else
            target->setVisible(on);
    }
    SndSoundEffect::playAt(_sound, ShpCoord(_x, _y, 0));
    showState();
}

int Switch::writeState(std::ostream& out)
{
    out << "<SWITCH> " << (_on ? 1 : 0) << ' ';
    const int result = Sprite::writeState(out);
    if (result == 0) out << "</SWITCH>\n";
    return result;
}

int Switch::readState(std::istream& in)
{
    bool on;
    if (!(in >> on)) return -1;
    _on = on;
    showState();
    std::string token;
    if (!TaggedText::readToken(in, token)) return -1;
    const int result = Sprite::readState(in);
    if (result != 0) return result;
    return TaggedText::readToken(in, token) ? 0 : -1;
}
