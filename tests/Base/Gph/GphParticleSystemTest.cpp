#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL/SDL.h>

#include <array>
#include <memory>
#include <sstream>
#include <string>

#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphLight.h"
#include "Base/Gph/GphParticleSystem.h"
#include "Base/Gph/GphPoint.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Gph/GphViewportOrthogonal.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "support/Files.h"
#include "support/GlContext.h"

namespace {

// An effect as the game builds them: rectangle particles drifting right, each retired
// (deleted and erased) once it passes the limit.
class Drift : public GphParticleSystem {
public:
    explicit Drift(double limit) : _limit(limit) {}

    void update(double seconds) override
    {
        for (auto it = _particles.begin(); it != _particles.end();) {
            (*it)->move(100.0 * seconds, 0.0, 0.0);
            if ((*it)->getCoord()->getX() > _limit) {
                delete *it;
                it = _particles.erase(it);
            } else {
                ++it;
            }
        }
    }

private:
    double _limit;
};

// A particle class of its own, derived from the rectangle without a type code of its own.
class Puff : public GphRect {
public:
    Puff(const ShpCoord* at, GphAnimatedTexture* texture) : GphRect(10, 10, at, texture, GPH_RECT) {}
};

GphRect* rectAt(double x, double y, double size = 10)
{
    ShpCoord at(x, y, -10);
    return new GphRect(size, size, &at, nullptr, GPH_RECT);
}

GphPoint* pointAt(double x, double y, float red)
{
    ShpCoord at(x, y, -20);
    const float color[3] = {red, 0.5f, 0.25f};
    return new GphPoint(&at, color, nullptr);
}

std::string written(GphParticleSystem& system, int expected = 0)
{
    std::ostringstream out;
    EXPECT_EQ(expected, system.write(out));
    return out.str();
}

int readBack(GphParticleSystem& system, const std::string& text)
{
    std::istringstream in(text);
    std::string opening;
    in >> opening;
    return system.read(in);
}

// Opens the game's window, which each test closes again, with one world unit per pixel, the camera at the origin.
GphWindow* openWindow()
{
    testsupport::keepGlDriverLoaded();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
    GphWindow* window =
        GphWindow::create(800, 600, 16, false, true, 1.0, 10000.0, 45.0, 400.0, nullptr);
    if (window == nullptr) return nullptr;
    dynamic_cast<GphViewportOrthogonal*>(window->getViewport())->setZoom(400.0);
    window->getCamera()->setPosition(ShpCoord(0.0, 0.0, 0.0));
    window->disableLighting();
    window->disableBlending();
    window->disableTexturing();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    while (glGetError() != GL_NO_ERROR) {
    }
    return window;
}

// Reads from the buffer being drawn into (the test display's visual may have no back one).
std::array<unsigned char, 3> pixelAt(int x, int y)
{
    GLint drawBuffer = GL_BACK;
    glGetIntegerv(GL_DRAW_BUFFER, &drawBuffer);
    glReadBuffer(static_cast<GLenum>(drawBuffer));
    std::array<unsigned char, 3> rgb{};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

class GphParticleSystemTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        _window = openWindow();
        ASSERT_NE(nullptr, _window);
    }
    void TearDown() override
    {
        if (_window == nullptr) return;
        EXPECT_EQ(static_cast<GLenum>(GL_NO_ERROR), glGetError());
        delete _window;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    GphWindow* _window = nullptr;
};

}  // namespace

TEST_F(GphParticleSystemTest, EmptySystem)
{
    Drift system(1000);
    EXPECT_EQ(0, system.getCount());
    EXPECT_FALSE(system.isVisible());
    EXPECT_EQ(0, system.draw());
    EXPECT_EQ("<PARTICLE_SYSTEM>\n</PARTICLE_SYSTEM>\n", written(system));
}

TEST_F(GphParticleSystemTest, UpdateThroughTheBaseMovesAndRetiresParticles)
{
    std::unique_ptr<GphParticleSystem> system(new Drift(50));
    GphObject* near = rectAt(0, 0);
    GphObject* far = rectAt(45, 0);
    system->add(near);
    system->add(far);
    system->update(0.1);  // 10 units: the far one passes the limit and is deleted
    ASSERT_EQ(1, system->getCount());
    EXPECT_TRUE(system->contains(near));
    EXPECT_DOUBLE_EQ(10, near->getCoord()->getX());

    system->move(-5, 2, 0);
    EXPECT_DOUBLE_EQ(5, near->getCoord()->getX());
    EXPECT_DOUBLE_EQ(2, near->getCoord()->getY());
}

TEST_F(GphParticleSystemTest, VisibleWhenAnyParticleIs)
{
    // The view box is x in [-400, 400], y in [-300, 300].
    Drift system(1e9);
    system.add(rectAt(1000, 0));
    system.add(rectAt(0, -2000));
    EXPECT_FALSE(system.isVisible());
    system.add(rectAt(404, 0));  // its left edge touches the view's right edge
    EXPECT_TRUE(system.isVisible());
}

TEST_F(GphParticleSystemTest, DrawsEveryParticle)
{
    Drift system(1e9);
    GphRect* left = rectAt(-100, 0, 20);
    left->setColor(1, 0, 0);
    GphRect* right = rectAt(100, 0, 20);
    right->setColor(0, 1, 0);
    system.add(left);
    system.add(right);
    EXPECT_EQ(0, system.draw());
    EXPECT_GT(pixelAt(300, 300)[0], 200);
    EXPECT_GT(pixelAt(500, 300)[1], 200);
}

TEST_F(GphParticleSystemTest, DrawingStopsAtTheFirstFailure)
{
    // A light whose id names no OpenGL light fails to draw.
    Drift system(1e9);
    system.add(new GphLight());
    GphRect* rect = rectAt(0, 0, 20);
    rect->setColor(1, 0, 0);
    system.add(rect);
    EXPECT_EQ(-1, system.draw());
    EXPECT_EQ(0, pixelAt(400, 300)[0]);

    system.remove(rect);
    Drift second(1e9);
    second.add(rect);
    second.add(new GphLight());
    EXPECT_EQ(-1, second.draw());
    EXPECT_GT(pixelAt(400, 300)[0], 200);
}

TEST_F(GphParticleSystemTest, PointsRoundTripAfterTheParticlesHeld)
{
    Drift system(1e9);
    system.add(pointAt(1, 2, 0.125f));
    system.add(pointAt(3, 4, 0.75f));
    const std::string text = written(system);
    EXPECT_EQ(0u, text.find("<PARTICLE_SYSTEM>\n<POINT>\n"));

    Drift copy(1e9);
    GphObject* held = rectAt(0, 0);
    copy.add(held);
    ASSERT_EQ(0, readBack(copy, text));
    ASSERT_EQ(3, copy.getCount());
    EXPECT_EQ(held, copy.getParticles().front());
    GphPoint* second = dynamic_cast<GphPoint*>(copy.getParticles().back());
    ASSERT_NE(nullptr, second);
    EXPECT_FLOAT_EQ(0.75f, second->getColor()[0]);
    EXPECT_DOUBLE_EQ(4, second->getCoord()->getY());

    copy.remove(held);
    delete held;
    EXPECT_EQ(text, written(copy));
}

TEST_F(GphParticleSystemTest, RectangleParticlesDoNotReadBack)
{
    Drift system(1e9);
    system.add(rectAt(0, 0));
    const std::string text = written(system);
    EXPECT_NE(std::string::npos, text.find("<RECT>"));
    Drift copy(1e9);
    EXPECT_EQ(-1, readBack(copy, text));
    EXPECT_EQ(0, copy.getCount());
    EXPECT_TRUE(testsupport::logContains("Unknown tag: <RECT>"));

    // Points read before the unknown block stay.
    Drift mixed(1e9);
    mixed.add(pointAt(1, 1, 1));
    mixed.add(rectAt(0, 0));
    Drift partial(1e9);
    EXPECT_EQ(-1, readBack(partial, written(mixed)));
    EXPECT_EQ(1, partial.getCount());
}

TEST_F(GphParticleSystemTest, TruncatedTextFailsAndKeepsThePartlyReadPoint)
{
    Drift system(1e9);
    system.add(pointAt(1, 2, 0.5f));
    const std::string text = written(system);
    const std::string cut = text.substr(0, text.find("</COORD>"));
    Drift copy(1e9);
    EXPECT_EQ(-1, readBack(copy, cut));
    ASSERT_EQ(1, copy.getCount());
    EXPECT_FLOAT_EQ(0.5f, dynamic_cast<GphPoint*>(copy.getParticles().front())->getColor()[0]);

    // Cut right before the system's closing tag.
    Drift whole(1e9);
    EXPECT_EQ(-1, readBack(whole, text.substr(0, text.find("</PARTICLE_SYSTEM>"))));
    EXPECT_EQ(1, whole.getCount());
}

TEST_F(GphParticleSystemTest, AFailingParticleEndsTheWriteWithoutTheClosingTag)
{
    // A frame texture without a picture cannot write itself.
    GphAnimatedTexture texture;
    texture.addFrame(new GphTexture());
    Drift system(1e9);
    system.add(pointAt(0, 0, 1));
    ShpCoord at(0, 0, -10);
    system.add(new GphRect(5, 5, &at, &texture, GPH_RECT));
    system.add(pointAt(1, 1, 1));
    const std::string text = written(system, -1);
    EXPECT_EQ(std::string::npos, text.find("</PARTICLE_SYSTEM>"));
    EXPECT_EQ(text.find("<POINT>"), text.rfind("<POINT>"));
}

TEST_F(GphParticleSystemTest, CopiesHoldPlainRectanglesSharingTheirTextures)
{
    GphAnimatedTexture texture;
    ShpCoord at(7, 8, -9);
    auto source = std::make_unique<Drift>(1e9);
    source->add(new Puff(&at, &texture));
    source->add(pointAt(1, 2, 0.25f));

    Drift copy(*source);
    ASSERT_EQ(2, copy.getCount());
    GphObject* first = copy.getParticles().front();
    EXPECT_NE(source->getParticles().front(), first);
    EXPECT_EQ(nullptr, dynamic_cast<Puff*>(first));
    ASSERT_NE(nullptr, dynamic_cast<GphRect*>(first));
    EXPECT_EQ(&texture, first->getAnimatedTexture());
    EXPECT_DOUBLE_EQ(8, first->getCoord()->getY());
    ASSERT_NE(nullptr, dynamic_cast<GphPoint*>(copy.getParticles().back()));

    // The copies are the copy's own.
    const std::string before = written(copy);
    source.reset();
    EXPECT_EQ(before, written(copy));
}

TEST_F(GphParticleSystemTest, AssignmentReplacesAndSkipsWhatCannotBeCopied)
{
    Drift target(1e9);
    target.add(rectAt(0, 0));
    target.add(rectAt(1, 1));

    Drift source(1e9);
    source.add(pointAt(0, 0, 1));
    // A drawable of the reserved code has no class to copy into.
    source.add(new GphRect(1, 1, nullptr, nullptr, GPH_RESERVED));
    target = source;
    EXPECT_EQ(1, target.getCount());
    EXPECT_EQ(0, target.draw());

    target = target;
    EXPECT_EQ(1, target.getCount());
}

TEST_F(GphParticleSystemTest, RemovedParticleOutlivesTheSystem)
{
    GphObject* kept = rectAt(0, 0);
    {
        Drift system(1e9);
        system.add(rectAt(5, 5));
        system.add(kept);
        system.remove(kept);
        EXPECT_FALSE(system.contains(kept));
        EXPECT_EQ(1, system.getCount());
        system.remove(kept);  // absent: nothing happens
        EXPECT_EQ(1, system.getCount());
    }
    // Still alive (the leak and address checkers watch this).
    kept->move(1, 0, 0);
    EXPECT_DOUBLE_EQ(1, kept->getCoord()->getX());
    delete kept;
}

TEST_F(GphParticleSystemTest, SetParticlesTakesTheListOver)
{
    Drift system(1e9);
    system.add(rectAt(0, 0));
    GphParticleList given;
    GphObject* a = rectAt(1, 1);
    GphObject* b = rectAt(2, 2);
    given.push_back(a);
    given.push_back(b);
    system.setParticles(given);
    EXPECT_TRUE(given.empty());
    EXPECT_EQ(2, system.getCount());
    EXPECT_EQ(a, system.getParticles().front());

    system.setParticles(system.getParticles());
    EXPECT_EQ(2, system.getCount());
    system.clear();
    EXPECT_EQ(0, system.getCount());
}
