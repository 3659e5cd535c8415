#ifndef KOVO_BASE_UI_UICONTROL_H
#define KOVO_BASE_UI_UICONTROL_H

#include <list>
#include <string>

#include "Base/App/AppBase.h"
#include "Common/Sprite.h"

class GphTexture;
class SndSoundEffect;

// The base of every widget and every screen. A control is a sprite with a parent, an
// id, a few state flags and a list of child controls; it receives the application's
// input hooks as virtual operations and reports to its parent through five
// notifications. The child list is owned, the children are not: whoever made a child
// removes and deletes it.
class UiControl : public Sprite {
public:
    UiControl(AppBase* app, int id);
    ~UiControl() override;

    UiControl(const UiControl&) = delete;
    UiControl& operator=(const UiControl&) = delete;

    // The control's own graphic (if any) and then every child, only while visible. The
    // saved state is the sprite's.
    void draw() override;

    // The first direct child, in list order, whose box holds the point; pictures are
    // never hit. Neither the visible nor the enabled flag is looked at.
    virtual UiControl* findControlAt(double x, double y);
    // Runs every child with the same elapsed milliseconds, in list order.
    virtual void update(unsigned int ms);

    virtual void onCharDown(char c);
    virtual void onKeyDown(AppKey key);
    virtual void onKeyUp(AppKey key);
    virtual void onMouseMove(double x, double y);
    virtual void onLeftButtonDown(double x, double y);
    virtual void onLeftButtonUp(double x, double y);
    virtual void onMiddleButtonDown(double x, double y);
    virtual void onMiddleButtonUp(double x, double y);
    virtual void onRightButtonDown(double x, double y);
    virtual void onRightButtonUp(double x, double y);

    // Notifications from children; each carries the sender's id.
    virtual void onCommand(int id);
    virtual void onCheckBoxChanged(int id, bool state);
    virtual void onCancel(int id);
    virtual void onTextBoxActivated(int id);
    virtual void onTextEntered(int id, const std::string& text);

    void setParent(UiControl* parent) { _parent = parent; }
    UiControl* getParent() const { return _parent; }

    void addChild(UiControl* child);
    void removeChild(UiControl* child);
    void bringToFront();

    // The control's own visible flag, apart from the sprite's.
    void show() { _visible = true; }
    void hide() { _visible = false; }
    bool isVisible() const { return _visible; }

    void enable() { _enabled = true; }
    void disable() { _enabled = false; }
    bool isEnabled() const { return _enabled; }

    void setFocus(bool focus);
    bool hasFocus() const;
    UiControl* getFocusedChild() const;
    void clearChildrenFocus();

    void setTag(int tag) { _tag = tag; }
    int getTag() const { return _tag; }

    // Plays the rollover sound on each change from unlit to lit.
    void setLit(bool lit);
    bool isLit() const { return _lit; }

    // The box centred on the position, edges included, whatever the anchor.
    bool containsPoint(double x, double y) const;
    // Window pixels (origin top-left, y down) to view coordinates relative to the
    // centre of the view. Leaves the outputs alone for a viewport that is not
    // orthogonal.
    void windowToWorld(double sx, double sy, double& wx, double& wy) const;
    // The left button pressed (`down`) or let go at window pixels (sx, sy): the child under
    // the pointer (findControlAt), if any, takes it in view coordinates.
    void passLeftButton(double sx, double sy, bool down);

protected:
    AppBase* getApplication() const { return _app; }
    const std::list<UiControl*>& getChildren() const { return *_children; }
    // Restarts an effect at the listener's position; a missing effect is skipped.
    static void playAtListener(SndSoundEffect* effect);
    // A texture of a picture file as every control draws it: linear filters, repeat
    // wraps, modulated by the drawing colour. It holds the image's reference.
    static GphTexture* makeTexture(const std::string& imageName, bool transparent);

private:
    AppBase* _app;
    UiControl* _parent;
    bool _visible;
    bool _enabled;
    bool _focus;
    int _tag;
    bool _lit;
    std::list<UiControl*>* _children;
    SndSoundEffect* _rollover;
};

#endif
