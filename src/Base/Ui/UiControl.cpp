#include "Base/Ui/UiControl.h"

#include <GL/gl.h>

#include <algorithm>

#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Gph/GphViewportOrthogonal.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Snd/SndListener.h"
#include "Base/Snd/SndManager.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Base/Ui/UiIcon.h"

UiControl::UiControl(AppBase* app, int id)
    : Sprite(),
      _app(app),
      _parent(nullptr),
      _visible(true),
      _enabled(true),
      _focus(false),
      _tag(0),
      _lit(false),
      _children(new std::list<UiControl*>()),
      _rollover(SndSoundEffect::create("menu_item_rollover.wav"))
{
    // Every notification carries this id.
    setId(id);
}

UiControl::~UiControl()
{
    if (_rollover) SndSoundEffect::release(_rollover);
    // Neither side may keep a pointer to a control that is gone: children forget this
    // parent, and this control leaves its parent's list.
    for (UiControl* child : *_children) {
        if (child->_parent == this) child->_parent = nullptr;
    }
    delete _children;
    _children = nullptr;
    if (_parent) {
        std::list<UiControl*>& siblings = *_parent->_children;
        siblings.remove(this);
        _parent = nullptr;
    }
}

void UiControl::draw()
{
    if (!_visible) return;
    Sprite::draw();
    for (UiControl* child : *_children) child->draw();
}

UiControl* UiControl::findControlAt(double x, double y)
{
    for (UiControl* child : *_children) {
        if (!child->containsPoint(x, y)) continue;
        if (dynamic_cast<UiIcon*>(child)) continue;
        return child;
    }
    return nullptr;
}

void UiControl::update(unsigned int ms)
{
    for (UiControl* child : *_children) child->update(ms);
}

void UiControl::onCharDown(char) {}
void UiControl::onKeyDown(AppKey) {}
void UiControl::onKeyUp(AppKey) {}
void UiControl::onMouseMove(double, double) {}
void UiControl::onLeftButtonDown(double, double) {}
void UiControl::onLeftButtonUp(double, double) {}
void UiControl::onMiddleButtonDown(double, double) {}
void UiControl::onMiddleButtonUp(double, double) {}
void UiControl::onRightButtonDown(double, double) {}
void UiControl::onRightButtonUp(double, double) {}
void UiControl::onCommand(int) {}
void UiControl::onCheckBoxChanged(int, bool) {}
void UiControl::onCancel(int) {}
void UiControl::onTextBoxActivated(int) {}
void UiControl::onTextEntered(int, const std::string&) {}

void UiControl::addChild(UiControl* child)
{
    _children->push_back(child);
    child->_parent = this;
}

void UiControl::removeChild(UiControl* child)
{
    auto it = std::find(_children->begin(), _children->end(), child);
    if (it != _children->end()) _children->erase(it);
    child->_parent = nullptr;
}

void UiControl::bringToFront()
{
    if (!_parent) return;
    UiControl* parent = _parent;
    parent->removeChild(this);
    parent->addChild(this);
}

void UiControl::setFocus(bool focus)
{
    if (_parent) _parent->clearChildrenFocus();
    _focus = focus;
}

bool UiControl::hasFocus() const
{
    if (!_parent) return true;
    return _focus && _parent->hasFocus();
}

UiControl* UiControl::getFocusedChild() const
{
    for (UiControl* child : *_children) {
        if (child->hasFocus()) return child;
    }
    return nullptr;
}

void UiControl::clearChildrenFocus()
{
    for (UiControl* child : *_children) child->_focus = false;
}

void UiControl::setLit(bool lit)
{
    if (!_lit && lit) playAtListener(_rollover);
    _lit = lit;
}

bool UiControl::containsPoint(double px, double py) const
{
    const double x = getX();
    const double y = getY();
    const double halfWidth = getHalfWidth();
    const double halfLength = getHalfLength();
    return x - halfWidth <= px && px <= x + halfWidth && y - halfLength <= py && py <= y + halfLength;
}

void UiControl::windowToWorld(double sx, double sy, double& wx, double& wy) const
{
    if (!_app) return;
    GphWindow* window = _app->getWindow();
    if (!window) return;
    GphViewport* viewport = window->getViewport();
    auto* ortho = dynamic_cast<GphViewportOrthogonal*>(viewport);
    if (!ortho) return;
    const double aspect = ortho->getAspect();
    const double zoom = ortho->getZoom();
    const double width = window->getWidth();
    const double height = window->getHeight();
    wx = (2.0 * sx / width - 1.0) * zoom;
    wy = (1.0 - 2.0 * sy / height) * zoom * aspect;
}

void UiControl::passLeftButton(double sx, double sy, bool down)
{
    double wx = 0;
    double wy = 0;
    windowToWorld(sx, sy, wx, wy);
    UiControl* control = findControlAt(wx, wy);
    if (!control) return;
    if (down)
        control->onLeftButtonDown(wx, wy);
    else
        control->onLeftButtonUp(wx, wy);
}

void UiControl::playAtListener(SndSoundEffect* effect)
{
    if (!effect) return;
    SndSoundEffect::playAt(effect, SndManager::getListener()->getPosition());
}

GphTexture* UiControl::makeTexture(const std::string& imageName, bool transparent)
{
    GphImage* image = GphImage::load(imageName, transparent);
    return new GphTexture(image, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT, GL_MODULATE, nullptr);
}
