#include <memory>

#include "Base/Gph/GphViewportOrthogonal.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Snd/SndListener.h"
#include "Base/Ui/UiIcon.h"
#include "UiHarness.h"

using namespace uitest;

namespace {

// A control that writes down what reaches it.
class Probe : public UiControl {
public:
    Probe(AppBase* app, int id, std::vector<std::string>* log) : UiControl(app, id), _log(log) {}
    void draw() override
    {
        if (isVisible()) _log->push_back("draw " + std::to_string(getId()));
    }
    void update(unsigned int ms) override { _log->push_back("update " + std::to_string(getId()) + " " + std::to_string(ms)); }
    void onCharDown(char) override { _log->push_back("input"); }
    void onKeyDown(AppKey) override { _log->push_back("input"); }
    void onKeyUp(AppKey) override { _log->push_back("input"); }
    void onMouseMove(double, double) override { _log->push_back("input"); }
    void onLeftButtonDown(double, double) override { _log->push_back("input"); }
    void onLeftButtonUp(double, double) override { _log->push_back("input"); }
    void onMiddleButtonDown(double, double) override { _log->push_back("input"); }
    void onMiddleButtonUp(double, double) override { _log->push_back("input"); }
    void onRightButtonDown(double, double) override { _log->push_back("input"); }
    void onRightButtonUp(double, double) override { _log->push_back("input"); }

private:
    std::vector<std::string>* _log;
};

// A control with a box of the given size at (x, y).
std::unique_ptr<UiControl> boxAt(AppBase* app, int id, double x, double y, double width, double height)
{
    auto control = std::make_unique<UiControl>(app, id);
    control->setPosition(x, y, 0);
    control->setSize(height, width);
    return control;
}

}  // namespace

TEST_F(UiTest, HitTestTakesEdgesFirstAddedAndSkipsOnlyPictures)
{
    auto a = boxAt(app, 1, 0, 0, 40, 20);  // x -20..20, y -10..10
    auto b = boxAt(app, 2, 15, 0, 40, 20);  // overlaps a from x -5 to 20
    UiIcon icon(app, 3, "check_mark.pcx", 100, 0, -10, 40, 40, true);
    auto underIcon = boxAt(app, 4, 200, 0, 40, 40);
    UiIcon iconOverBox(app, 5, "check_mark.pcx", 200, 0, -10, 40, 40, true);
    screen->addChild(a.get());
    screen->addChild(b.get());
    screen->addChild(&icon);
    screen->addChild(&iconOverBox);
    screen->addChild(underIcon.get());

    EXPECT_EQ(screen->findControlAt(-20, 10), a.get());  // a corner
    EXPECT_EQ(screen->findControlAt(-20, -10), a.get());
    EXPECT_EQ(screen->findControlAt(-20.01, 0), nullptr);
    EXPECT_EQ(screen->findControlAt(0, 10.01), nullptr);
    EXPECT_EQ(screen->findControlAt(10, 0), a.get()) << "the first added wins an overlap";
    EXPECT_EQ(screen->findControlAt(30, 0), b.get());
    EXPECT_EQ(screen->findControlAt(100, 0), nullptr) << "a picture is never hit";
    EXPECT_EQ(screen->findControlAt(200, 0), underIcon.get()) << "a picture does not hide what lies under it";

    // Neither the visible nor the enabled flag matters.
    a->hide();
    a->disable();
    EXPECT_EQ(screen->findControlAt(0, 0), a.get());

    // Only direct children are searched.
    auto grandchild = boxAt(app, 6, 400, 0, 10, 10);
    b->addChild(grandchild.get());
    EXPECT_EQ(screen->findControlAt(400, 0), nullptr);
    EXPECT_EQ(b->findControlAt(400, 0), grandchild.get());
}

TEST_F(UiTest, BoxIsCentredWhateverTheAnchor)
{
    auto a = boxAt(app, 1, 50, 50, 20, 10);
    a->setAnchor(8);
    EXPECT_TRUE(a->containsPoint(40, 45));
    EXPECT_TRUE(a->containsPoint(60, 55));
    EXPECT_FALSE(a->containsPoint(50, 56));
}

TEST_F(UiTest, RolloverPlaysOnlyWhenTheControlLightsUp)
{
    const int before = newestEffectId();
    UiControl control(app, 7);
    SndSoundEffect* rollover = soundsAfter(before).rollover;
    ASSERT_NE(rollover, nullptr);
    EXPECT_EQ(rollover->getFileName(), "menu_item_rollover.wav");

    SndManager::getListener()->setPosition(ShpCoord(120, -40, 0));
    control.setLit(true);
    EXPECT_TRUE(control.isLit());
    EXPECT_TRUE(rollover->isPlaying());
    EXPECT_EQ(rollover->getPosition(), ShpCoord(120, -40, 0)) << "played where the listener is";

    rollover->stop();
    control.setLit(true);
    EXPECT_FALSE(rollover->isPlaying()) << "a lit control does not sound again";
    control.setLit(false);
    EXPECT_FALSE(control.isLit());
    EXPECT_FALSE(rollover->isPlaying()) << "going dark is silent";
    control.setLit(true);
    EXPECT_TRUE(rollover->isPlaying());
    rollover->stop();
    SndManager::getListener()->setPosition(ShpCoord(0, 0, 0));
}

TEST_F(UiTest, FocusFollowsTheChainUpToTheScreen)
{
    auto a = boxAt(app, 1, 0, 0, 10, 10);
    auto b = boxAt(app, 2, 0, 0, 10, 10);
    auto inner = boxAt(app, 3, 0, 0, 10, 10);
    screen->addChild(a.get());
    screen->addChild(b.get());
    a->addChild(inner.get());

    EXPECT_TRUE(screen->hasFocus()) << "a screen has the focus with its own flag clear";
    EXPECT_EQ(screen->getFocusedChild(), nullptr);

    a->setFocus(true);
    EXPECT_TRUE(a->hasFocus());
    EXPECT_EQ(screen->getFocusedChild(), a.get());
    b->setFocus(true);
    EXPECT_FALSE(a->hasFocus()) << "the sibling that had it loses it";
    EXPECT_EQ(screen->getFocusedChild(), b.get());

    inner->setFocus(true);
    EXPECT_FALSE(inner->hasFocus()) << "its parent does not have the focus";
    EXPECT_EQ(a->getFocusedChild(), nullptr);
    a->setFocus(true);
    EXPECT_TRUE(inner->hasFocus());
    EXPECT_EQ(a->getFocusedChild(), inner.get());

    a->setFocus(false);
    EXPECT_EQ(screen->getFocusedChild(), nullptr) << "setting false leaves no child focused";
    EXPECT_FALSE(inner->hasFocus());

    UiControl orphan(app, 9);
    EXPECT_TRUE(orphan.hasFocus()) << "a control without a parent has the focus";
}

TEST_F(UiTest, ChildListKeepsOrderAndParents)
{
    auto a = boxAt(app, 1, 0, 0, 10, 10);
    auto b = boxAt(app, 2, 0, 0, 10, 10);
    auto stranger = boxAt(app, 3, 0, 0, 10, 10);
    screen->addChild(a.get());
    screen->addChild(b.get());
    EXPECT_EQ(a->getParent(), screen);
    EXPECT_EQ(screen->findControlAt(0, 0), a.get());

    a->bringToFront();
    EXPECT_EQ(screen->findControlAt(0, 0), b.get()) << "brought to the end of the list";
    EXPECT_EQ(a->getParent(), screen);

    stranger->setParent(a.get());
    screen->removeChild(stranger.get());
    EXPECT_EQ(stranger->getParent(), nullptr) << "removing a stranger clears its parent";
    EXPECT_EQ(screen->findControlAt(0, 0), b.get());
    stranger->bringToFront();  // no parent: nothing happens

    screen->removeChild(b.get());
    EXPECT_EQ(b->getParent(), nullptr);
    EXPECT_EQ(screen->findControlAt(0, 0), a.get());
}

TEST_F(UiTest, ParentAndChildOutliveEachOtherSafely)
{
    auto child = boxAt(app, 2, 0, 0, 10, 10);
    auto* parent = new UiControl(app, 1);
    parent->addChild(child.get());
    delete parent;
    EXPECT_EQ(child->getParent(), nullptr) << "the child is not deleted and forgets its parent";
    child->setFocus(true);
    EXPECT_TRUE(child->hasFocus());

    auto* gone = new UiControl(app, 3);
    gone->setPosition(0, 0, 0);
    gone->setSize(10, 10);
    screen->addChild(gone);
    delete gone;
    EXPECT_EQ(screen->findControlAt(0, 0), nullptr) << "a deleted child leaves its parent's list";
}

TEST_F(UiTest, WindowPixelsMapToTheCentreOfTheView)
{
    double wx = 0;
    double wy = 0;
    screen->windowToWorld(400, 300, wx, wy);
    EXPECT_DOUBLE_EQ(wx, 0);
    EXPECT_DOUBLE_EQ(wy, 0);
    screen->windowToWorld(0, 0, wx, wy);
    EXPECT_DOUBLE_EQ(wx, -512);
    EXPECT_DOUBLE_EQ(wy, 384);
    screen->windowToWorld(800, 600, wx, wy);
    EXPECT_DOUBLE_EQ(wx, 512);
    EXPECT_DOUBLE_EQ(wy, -384);

    // The zoom of the level view; the camera's position is not added.
    auto* viewport = dynamic_cast<GphViewportOrthogonal*>(app->getWindow()->getViewport());
    ASSERT_NE(viewport, nullptr);
    viewport->setZoom(400);
    screen->windowToWorld(0, 600, wx, wy);
    EXPECT_DOUBLE_EQ(wx, -400);
    EXPECT_DOUBLE_EQ(wy, -300);
    viewport->setZoom(Zoom);

    // Without a window nothing is converted.
    UiTestApp noWindow;
    UiControl loose(&noWindow, 1);
    wx = 7;
    wy = 8;
    loose.windowToWorld(400, 300, wx, wy);
    EXPECT_EQ(wx, 7);
    EXPECT_EQ(wy, 8);
}

TEST_F(UiTest, BareScreenIgnoresInputAndRunsEveryChild)
{
    std::vector<std::string> log;
    UiWindow bare(app, 0, true);
    EXPECT_TRUE(bare.getFlag());
    EXPECT_EQ(bare.getId(), 0);
    Probe first(app, 1, &log);
    Probe second(app, 2, &log);
    first.setPosition(0, 0, 0);
    first.setSize(100, 100);
    bare.addChild(&first);
    bare.addChild(&second);
    first.setFocus(true);

    bare.onCharDown('\r');
    bare.onCharUp('\r');
    bare.onKeyDown(AppKeyLeft);
    bare.onKeyUp(AppKeyLeft);
    bare.onMouseMove(400, 300);
    bare.onLeftButtonDown(400, 300);
    bare.onLeftButtonUp(400, 300);
    bare.onMiddleButtonDown(400, 300);
    bare.onMiddleButtonUp(400, 300);
    bare.onRightButtonDown(400, 300);
    bare.onRightButtonUp(400, 300);
    bare.onInputFocusGained();
    bare.onInputFocusLost();
    bare.onDeactivated();
    bare.onActivated();
    bare.onCommand(1);
    bare.onCheckBoxChanged(1, true);
    bare.onCancel(1);
    bare.onTextBoxActivated(1);
    bare.onTextEntered(1, "TEXT");
    EXPECT_TRUE(log.empty());

    bare.update(16);
    bare.draw();
    EXPECT_EQ(log, (std::vector<std::string>{"update 1 16", "update 2 16", "draw 1", "draw 2"}));

    // A hidden child is skipped by its own draw, yet updated.
    log.clear();
    second.hide();
    bare.update(5);
    bare.draw();
    EXPECT_EQ(log, (std::vector<std::string>{"update 1 5", "update 2 5", "draw 1"}));

    // A hidden screen draws nothing but still runs its children.
    log.clear();
    bare.hide();
    bare.update(3);
    bare.draw();
    EXPECT_EQ(log, (std::vector<std::string>{"update 1 3", "update 2 3"}));
}
