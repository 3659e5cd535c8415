#ifndef KOVO_TESTS_COMMON_LEVELTESTWINDOW_H
#define KOVO_TESTS_COMMON_LEVELTESTWINDOW_H

#include <SDL/SDL.h>

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Base/App/AppBase.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphViewportOrthogonal.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Kovo/Player.h"
#include "support/Files.h"
#include "support/GlContext.h"
#include "support/SoundSuite.h"

// The game window and small pictures for the level-world tests.
namespace leveltest {

// The game's window: 800 x 600, orthogonal, zoom 400 (one unit a pixel), the camera at
// (400, 300) as a room's first view puts it. Made once and left open for the program.
inline GphWindow* openWindow()
{
    testsupport::keepGlDriverLoaded();
    if (!SDL_WasInit(SDL_INIT_VIDEO)) SDL_InitSubSystem(SDL_INIT_VIDEO);
    GphWindow* window = GphWindow::create(800, 600, 16, false, true, 1.0, 10000.0, 45.0, 400.0, nullptr);
    if (!window) return nullptr;
    if (auto* ortho = dynamic_cast<GphViewportOrthogonal*>(window->getViewport())) ortho->setZoom(400.0);
    window->getCamera()->setPosition(ShpCoord(400, 300, 0));
    window->disableLighting();
    return window;
}

// An application object that lends the window to what is built with it, without owning it.
class WindowOwner : public AppBase {
public:
    explicit WindowOwner(GphWindow* window) { _window = window; }
    ~WindowOwner() override { _window = nullptr; }
};

// The level world's suite: the sound engine for the suite, and for each test the game window,
// an application lending it and a new hero.
class LevelFixture : public testsupport::SoundSuite {
protected:
    void SetUp() override
    {
        _window = openWindow();
        ASSERT_NE(nullptr, _window);
        _app.reset(new WindowOwner(_window));
        _player.reset(new Player(_app.get()));
    }
    void TearDown() override
    {
        _player.reset();
        _app.reset();
        // A lit level must not light the next test's pictures.
        if (_window) _window->disableLighting();
    }

    GphWindow* _window = nullptr;
    std::unique_ptr<WindowOwner> _app;
    std::unique_ptr<Player> _player;
};

// A flat-colour 24-bit BMP of 16 x 16 pixels.
inline void writeBmp(const std::string& name, unsigned char r, unsigned char g, unsigned char b)
{
    const int side = 16;
    const uint32_t pixelBytes = side * side * 3;
    std::vector<unsigned char> bytes;
    auto put16 = [&](uint32_t v) {
        bytes.push_back(v & 0xff);
        bytes.push_back((v >> 8) & 0xff);
    };
    auto put32 = [&](uint32_t v) {
        put16(v & 0xffff);
        put16(v >> 16);
    };
    put16(0x4D42);
    put32(54 + pixelBytes);
    put32(0);
    put32(54);
    put32(40);
    put32(side);
    put32(side);
    put16(1);
    put16(24);
    put32(0);
    put32(pixelBytes);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    for (int i = 0; i < side * side; ++i) {
        bytes.push_back(b);
        bytes.push_back(g);
        bytes.push_back(r);
    }
    testsupport::writeFile(name, bytes);
}

// The tokens of a tagged text, as a reader sees them.
inline std::vector<std::string> tokens(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> result;
    std::string token;
    while (in >> token) result.push_back(token);
    return result;
}

// The first n tokens joined by blanks: a record cut short after its n-th token.
inline std::string prefix(const std::vector<std::string>& all, size_t n)
{
    std::string text;
    for (size_t i = 0; i < n && i < all.size(); ++i) text += all[i] + " ";
    return text;
}

}  // namespace leveltest

#endif
