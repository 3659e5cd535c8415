#include <gtest/gtest.h>

#include <GL/gl.h>

#include <climits>
#include <cstdlib>
#include <set>
#include <utility>
#include <string>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Common/GameConstants.h"
#include "KovoHarness.h"
#include "Kovo/Character.h"
#include "Kovo/Reaction.h"
#include "support/GlContext.h"

namespace {

// A bare actor of a chosen type: the bubble only asks its maker's type.
class Maker : public Character {
public:
    explicit Maker(CharacterType type)
        : Character(nullptr, nullptr, type, 0, 0, 8, true, false, 1, 105, 210, 0, 0, 0, 0,
                    CharacterStateStandLeft, true, false)
    {
    }
    void buildAnimations() override {}
};

std::string pictureOf(const Reaction& bubble)
{
    return kovotest::frameFile(bubble.getPicture()->getAnimatedTexture(), 0);
}

}  // namespace

TEST(Reaction, BubbleIsAnEightyByFortyPictureCentredInFrontOfTheActors)
{
    Maker thug(CharacterTypeThug);
    Reaction bubble(&thug, 700, 120, -30, false);
    EXPECT_EQ(&thug, bubble.getOwner());
    EXPECT_EQ(700, bubble.getRemaining());
    EXPECT_FALSE(bubble.isExpired());

    EXPECT_DOUBLE_EQ(120, bubble.getX());
    EXPECT_DOUBLE_EQ(-30, bubble.getY());
    EXPECT_DOUBLE_EQ(GameConstants::zBubble, bubble.getZ());
    EXPECT_EQ(4, bubble.getAnchor());
    EXPECT_DOUBLE_EQ(80, bubble.getLeft());
    EXPECT_DOUBLE_EQ(160, bubble.getRight());
    EXPECT_DOUBLE_EQ(-10, bubble.getTop());
    EXPECT_DOUBLE_EQ(-50, bubble.getBottom());

    GphRect* picture = bubble.getPicture();
    ASSERT_NE(nullptr, picture);
    EXPECT_EQ(picture, bubble.getGraphic());
    EXPECT_DOUBLE_EQ(80, picture->getLength()) << "80 across";
    EXPECT_DOUBLE_EQ(40, picture->getWidth()) << "40 high";
    EXPECT_DOUBLE_EQ(120, picture->getCoord()->getX());
    EXPECT_DOUBLE_EQ(-30, picture->getCoord()->getY());
    EXPECT_DOUBLE_EQ(-12, picture->getCoord()->getZ());
    EXPECT_FLOAT_EQ(1.0f, picture->getAlpha());

    const GphAnimatedTexture* animation = picture->getAnimatedTexture();
    ASSERT_NE(nullptr, animation);
    ASSERT_EQ(1u, animation->getFrameCount());
    const GphTexture* frame = animation->getFrames().at(0);
    ASSERT_NE(nullptr, frame->getImage());
    EXPECT_TRUE(frame->getImage()->isTransparent());
    EXPECT_EQ(static_cast<GLenum>(GL_LINEAR), frame->getMinFilter());
    EXPECT_EQ(static_cast<GLenum>(GL_LINEAR), frame->getMagFilter());
    EXPECT_EQ(static_cast<GLenum>(GL_REPEAT), frame->getSWrap());
    EXPECT_EQ(static_cast<GLenum>(GL_REPEAT), frame->getTWrap());
    EXPECT_EQ(static_cast<GLenum>(GL_MODULATE), frame->getMode());
}

TEST(Reaction, PictureTableByDraw)
{
    // Ground: 1..9 give 01..09, 0 gives 10.
    EXPECT_EQ("reaction10.pcx", Reaction::pictureFor(false, false, 0));
    EXPECT_EQ("reaction01.pcx", Reaction::pictureFor(false, false, 1));
    EXPECT_EQ("reaction05.pcx", Reaction::pictureFor(false, false, 15));
    EXPECT_EQ("reaction09.pcx", Reaction::pictureFor(false, false, 9));
    // Airborne: 1 -> 06, 2 -> 07, 3 -> 11, 0 -> 12.
    EXPECT_EQ("reaction12.pcx", Reaction::pictureFor(false, true, 0));
    EXPECT_EQ("reaction06.pcx", Reaction::pictureFor(false, true, 1));
    EXPECT_EQ("reaction07.pcx", Reaction::pictureFor(false, true, 2));
    EXPECT_EQ("reaction11.pcx", Reaction::pictureFor(false, true, 7));
    // A wolf: 1..9 give 30..38, 0 gives 39, whatever the hero does.
    for (bool airborne : {false, true}) {
        EXPECT_EQ("reaction39.pcx", Reaction::pictureFor(true, airborne, 0));
        EXPECT_EQ("reaction30.pcx", Reaction::pictureFor(true, airborne, 1));
        EXPECT_EQ("reaction38.pcx", Reaction::pictureFor(true, airborne, 19));
    }
}

TEST(Reaction, OneDrawOfRandChoosesThePictureByMakerAndHero)
{
    Maker wolf(CharacterTypeWolf);
    Maker gunner(CharacterTypeGunner);
    std::set<std::string> ground, airborne, wolfs;
    for (unsigned seed = 1; seed <= 60; ++seed) {
        for (int kind = 0; kind < 3; ++kind) {
            std::srand(seed);
            const int draw = std::rand();
            const int next = std::rand();
            std::srand(seed);
            Character* maker = kind == 2 ? static_cast<Character*>(&wolf) : &gunner;
            const bool heroAirborne = kind != 0;
            Reaction bubble(maker, 100, 0, 0, heroAirborne);
            EXPECT_EQ(next, std::rand()) << "exactly one draw per bubble";
            const std::string file = pictureOf(bubble);
            EXPECT_EQ(Reaction::pictureFor(kind == 2, heroAirborne, draw), file);
            (kind == 0 ? ground : kind == 1 ? airborne : wolfs).insert(file);
        }
    }
    EXPECT_EQ(10u, ground.size());
    EXPECT_EQ(4u, airborne.size());
    EXPECT_EQ(10u, wolfs.size());
    EXPECT_TRUE(wolfs.count("reaction30.pcx") && wolfs.count("reaction39.pcx"));
    EXPECT_TRUE(airborne.count("reaction06.pcx") && airborne.count("reaction12.pcx"));
    EXPECT_TRUE(ground.count("reaction01.pcx") && ground.count("reaction10.pcx"));
}

TEST(Reaction, CountsDownToExpiryAndStopsAtZero)
{
    Maker thug(CharacterTypeThug);
    // Gone in the first frame at whose end the summed milliseconds reach the duration.
    Reaction bubble(&thug, 100, 0, 0, false);
    for (int i = 0; i < 3; ++i) bubble.update(30);
    EXPECT_EQ(10, bubble.getRemaining());
    EXPECT_FALSE(bubble.isExpired());
    bubble.update(30);
    EXPECT_EQ(0, bubble.getRemaining());
    EXPECT_TRUE(bubble.isExpired());
    bubble.update(30);
    EXPECT_EQ(0, bubble.getRemaining());

    Reaction exact(&thug, 60, 0, 0, false);
    exact.update(30);
    exact.consumeTime(30);
    EXPECT_TRUE(exact.isExpired());

    Reaction zero(&thug, 0, 0, 0, false);
    EXPECT_TRUE(zero.isExpired());
    zero.update(16);
    EXPECT_EQ(0, zero.getRemaining());

    // A negative duration never changes and never expires.
    Reaction negative(&thug, -5, 0, 0, false);
    for (int i = 0; i < 10; ++i) negative.update(1000);
    EXPECT_EQ(-5, negative.getRemaining());
    EXPECT_FALSE(negative.isExpired());

    // A frame longer than any time left ends the bubble rather than wrapping around.
    Reaction huge(&thug, 850, 0, 0, false);
    huge.update(UINT_MAX);
    EXPECT_EQ(0, huge.getRemaining());
    Reaction big(&thug, INT_MAX, 0, 0, false);
    big.update(static_cast<unsigned>(INT_MAX) + 2u);
    EXPECT_EQ(0, big.getRemaining());
}

TEST(Reaction, DrawShowsThePictureOverItsBoxOnly)
{
    GphWindow* window = GphWindow::getInstance();
    ASSERT_NE(nullptr, window);
    window->getCamera()->setPosition(ShpCoord(0, 0, 0));
    Maker thug(CharacterTypeThug);
    Reaction bubble(&thug, 500, 100, 50, false);
    glClearColor(0, 0, 0, 0);
    window->clear();
    bubble.draw();
    // The picture's coloured core fills most of its 80 x 40; its surround is see-through.
    for (int dx : {-20, 0, 20}) {
        const auto p = testsupport::readPixel(400 + 100 + dx, 300 + 50);
        EXPECT_GT(p[0] + p[1] + p[2], 0) << "nothing drawn at " << dx;
    }
    for (auto [x, y] : {std::pair<int, int>{500 - 45, 350}, {500 + 45, 350}, {500, 350 + 25},
                        {500, 350 - 25}}) {
        const auto p = testsupport::readPixel(x, y);
        EXPECT_EQ(0, p[0] + p[1] + p[2]) << "drawn outside at " << x << ", " << y;
    }
}
