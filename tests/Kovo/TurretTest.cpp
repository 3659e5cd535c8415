#include "CastHarness.h"
#include "Kovo/Turret.h"

namespace {

using kovotest::actorAt;
using kovotest::floorAt;

class TurretTest : public kovotest::CastTest {};

TEST_F(TurretTest, FiresAboutEveryThreeSecondsWhileShownAndFreezesWhileHidden)
{
    // Facing left, its count from 0, on screen; the room wide enough for its bullets.
    makeRoom(floorAt(0, 8000, 40) + actorAt(11, 7800, 300, 14, true, "0 5"), 8000);
    lookAt(7600);
    Turret* turret = actor<Turret>();
    // The hero near it, under its line of fire, keeps the camera on it.
    placeHero(7500, 40);
    auto shot = [&] { return !newShots().empty(); };

    // Tested before it grows: 31 frames bring the count to 3100, the 32nd fires.
    EXPECT_EQ(32, updatesUntil(shot, 100));
    const Projectile* bullet = room->getEnemyProjectiles().back();
    EXPECT_DOUBLE_EQ(300, bullet->getY());
    EXPECT_DOUBLE_EQ(-GameConstants::projectileSpeed, bullet->getVelocityX());
    EXPECT_LE(bullet->getX(), 7800 - 25);
    EXPECT_TRUE(kovotest::isPlaying("turret.wav"));
    EXPECT_EQ(32, updatesUntil(shot, 100));

    // Hidden after ten frames, it waits with its count; shown again, it goes on from there.
    for (int i = 0; i < 10; ++i) room->update(100);
    turret->hide();
    EXPECT_EQ(-1, updatesUntil(shot, 100, 60));
    EXPECT_EQ(41, turret->getState());
    EXPECT_EQ(1000, turret->getFireTimer());
    turret->show();
    EXPECT_EQ(22, updatesUntil(shot, 100));
    EXPECT_EQ(14, turret->getState());
}

}  // namespace
