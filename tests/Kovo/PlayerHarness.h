#ifndef KOVO_TESTS_KOVO_PLAYERHARNESS_H
#define KOVO_TESTS_KOVO_PLAYERHARNESS_H

#include <gtest/gtest.h>

#include "Base/App/AppBase.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "KovoHarness.h"
#include "Kovo/Player.h"

namespace kovotest {

// Reaches the throw and key fields that only the key handlers and the frame update change.
class TestPlayer : public Player {
public:
    explicit TestPlayer(AppBase* owner) : Player(owner) {}
    void setThrowVelocity(double x, double y)
    {
        _throw_velocity_x = x;
        _throw_velocity_y = y;
    }
    double rawThrowVelocityX() const { return _throw_velocity_x; }
    void setCharging(bool on) { _charging = on; }
    void holdAll() { _left_held = _right_held = _up_held = _down_held = true; }
    void setJumping(bool on) { _jumping = on; }
    void setProjectileReleased(bool on) { _projectile_released = on; }
    bool isProjectileReleased() const { return _projectile_released; }
    void setGrenadeThrown(bool on) { _grenade_thrown = on; }
    bool isGrenadeThrown() const { return _grenade_thrown; }
    void setIdleClock(int ms) { _idle_clock = ms; }
    bool isBeepPlayed() const { return _beep_played; }
    bool anyHeld() const { return _left_held || _right_held || _up_held || _down_held; }
};

// The game's application as the hero sees it: it answers getWindow with the test window,
// which it does not own.
class WindowApp : public AppBase {
public:
    WindowApp() { _window = GphWindow::getInstance(); }
    ~WindowApp() override { _window = nullptr; }
};

class PlayerFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        stopAllEffects();
        GphWindow::getInstance()->getCamera()->setPosition(ShpCoord(0, 0, 0));
    }
    void TearDown() override
    {
        stopAllEffects();
        GphWindow::getInstance()->getCamera()->setPosition(ShpCoord(0, 0, 0));
    }

    GphAnimatedTexture* animation(int key) const
    {
        auto it = hero.getAnimations().find(key);
        return it == hero.getAnimations().end() ? nullptr : it->second;
    }
    const GphAnimatedTexture* shown() const { return hero.getBody()->getAnimatedTexture(); }

    // n frames of ms each, as the room runs them.
    void frames(int n, unsigned ms)
    {
        for (int i = 0; i < n; ++i) hero.update(ms, ms / 1000.0);
    }

    WindowApp app;
    TestPlayer hero{&app};
};

}  // namespace kovotest

#endif
