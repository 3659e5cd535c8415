#include <gtest/gtest.h>

#include <GL/gl.h>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "KovoHarness.h"
#include "Kovo/ObjectPictures.h"
#include "Kovo/SleepZList.h"
#include "support/GlContext.h"

TEST(SleepZList, NewPictureIsAnOpaqueThirtySquareZAtTheActorsDepth)
{
    SleepZList list;
    EXPECT_TRUE(list.empty());
    list.add(-20, 60);
    ASSERT_EQ(1u, list.size());
    GphRect* z = list.getPictures().front();
    EXPECT_DOUBLE_EQ(30, z->getLength());
    EXPECT_DOUBLE_EQ(30, z->getWidth());
    EXPECT_DOUBLE_EQ(-20, z->getCoord()->getX());
    EXPECT_DOUBLE_EQ(60, z->getCoord()->getY());
    EXPECT_DOUBLE_EQ(GameConstants::zCharacterEffect, z->getCoord()->getZ());
    EXPECT_FLOAT_EQ(1.0f, z->getAlpha());
    const GphAnimatedTexture* a = z->getAnimatedTexture();
    ASSERT_NE(nullptr, a);
    ASSERT_EQ(1u, a->getFrameCount());
    EXPECT_EQ("sleep_z.pcx", kovotest::frameFile(a, 0));
    EXPECT_TRUE(a->getFrames().at(0)->getImage()->isTransparent());
    EXPECT_EQ(static_cast<GLenum>(GL_MODULATE), a->getFrames().at(0)->getMode());
}

TEST(SleepZList, PicturesRiseAndFadeWithTheSeconds)
{
    SleepZList list;
    list.add(0, 0);
    list.update(1.0);
    GphRect* z = list.getPictures().front();
    EXPECT_NEAR(0.65, z->getAlpha(), 1e-6);
    EXPECT_DOUBLE_EQ(35, z->getCoord()->getY());
    list.update(0.5);
    EXPECT_NEAR(0.475, z->getAlpha(), 1e-6);
    EXPECT_DOUBLE_EQ(52.5, z->getCoord()->getY());
}

TEST(SleepZList, PictureThatWouldTurnSeeThroughGoesInThatFrame)
{
    SleepZList list;
    list.add(0, 0);
    list.update(2.0);  // 0.3 left
    ASSERT_EQ(1u, list.size());
    list.add(10, 10);  // made in this frame: fully opaque
    list.update(1.0);  // the first would reach -0.05 and goes; the second keeps 0.65
    ASSERT_EQ(1u, list.size());
    EXPECT_DOUBLE_EQ(10, list.getPictures().front()->getCoord()->getX());
    EXPECT_NEAR(0.65, list.getPictures().front()->getAlpha(), 1e-6);
}

TEST(SleepZList, PictureFadedExactlyToZeroGoesOnTheNextFrame)
{
    SleepZList list;
    list.add(0, 0);
    GphRect* z = list.getPictures().front();
    z->setAlpha(0.35f);
    list.update(1.0);
    ASSERT_EQ(1u, list.size());
    EXPECT_FLOAT_EQ(0.0f, z->getAlpha());
    list.update(0.0);
    EXPECT_TRUE(list.empty());
}

TEST(SleepZList, ClearDeletesEveryPicture)
{
    SleepZList list;
    for (int i = 0; i < 4; ++i) list.add(i, i);
    list.update(0.1);
    EXPECT_EQ(4u, list.size());
    list.clear();
    EXPECT_TRUE(list.empty());
    list.add(0, 0);  // and the destructor deletes the rest
}

TEST(SleepZList, DrawShowsEveryPicture)
{
    GphWindow* window = GphWindow::getInstance();
    ASSERT_NE(nullptr, window);
    SleepZList list;
    list.add(-100, 0);
    list.add(100, 0);
    glClearColor(0, 0, 0, 0);
    window->clear();
    list.draw();
    for (int x : {300, 500}) {
        const auto p = testsupport::readPixel(x, 300);
        EXPECT_GT(p[0] + p[1] + p[2], 0) << "nothing drawn at " << x;
    }
    const auto between = testsupport::readPixel(400, 300);
    EXPECT_EQ(0, between[0] + between[1] + between[2]);
}

TEST(ObjectPictures, EveryFileIsAFrameEvenWhenItIsMissing)
{
    GphAnimatedTexture* a =
        ObjectPictures::loadAnimation({"sleep_z.pcx", "no_such_picture.pcx", "sleep_z.pcx"}, 75);
    ASSERT_EQ(3u, a->getFrameCount());
    EXPECT_EQ(75u, a->getMillisecondsPerFrame());
    EXPECT_EQ("sleep_z.pcx", kovotest::frameFile(a, 0));
    EXPECT_EQ(nullptr, a->getFrames().at(1)->getImage());
    EXPECT_NE(a->getFrames().at(0), a->getFrames().at(2)) << "one texture per frame";
    EXPECT_EQ(a->getFrames().at(0)->getImage(), a->getFrames().at(2)->getImage())
        << "one image per file";
    delete a;

    GphAnimatedTexture* still = ObjectPictures::loadAnimation({"sleep_z.pcx"});
    EXPECT_EQ(1u, still->getMillisecondsPerFrame());
    delete still;
}
