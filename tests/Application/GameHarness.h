#ifndef KOVO_TESTS_APPLICATION_GAMEHARNESS_H
#define KOVO_TESTS_APPLICATION_GAMEHARNESS_H

// Shared by the tests of the game's application and game screen: the game's own application
// with a hook after each frame (where a test reads the frame back, takes screenshots and
// queues the next events), screenshots written as PNG files, the colours of the game's
// generated pictures, and a fresh working folder per test that links the generated data and
// holds an options file asking for a window.

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Application/KovoApplication.h"
#include "Application/TitleScreen.h"
#include "Base/App/Globals.h"
#include "Base/Gph/GphImage.h"
#include "Base/Snd/SndManager.h"
#include "Base/Snd/SndSoundEffect.h"
#include "Base/Ui/UiButton.h"
#include "Base/Ui/UiHarness.h"
#include "Common/GameRandom.h"
#include "support/Files.h"
#include "support/GameTimeSound.h"

namespace gametest {

typedef std::array<unsigned char, 3> Rgb;

using uitest::near;

// A whole frame read back from the window, rows from the top.
class Shot {
public:
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    Rgb at(int x, int yFromTop) const
    {
        const size_t i = 3 * (static_cast<size_t>(yFromTop) * width + x);
        return Rgb{rgb[i], rgb[i + 1], rgb[i + 2]};
    }
    // The share of the pixels in the window rectangle [x0, x1) x [y0, y1) that show `colour`.
    double share(int x0, int y0, int x1, int y1, const Rgb& colour) const
    {
        int hits = 0;
        int all = 0;
        for (int y = std::max(0, y0); y < std::min(height, y1); ++y) {
            for (int x = std::max(0, x0); x < std::min(width, x1); ++x) {
                ++all;
                if (near(at(x, y), colour)) ++hits;
            }
        }
        return all ? static_cast<double>(hits) / all : 0.0;
    }
    // The same around a world point of a view of that zoom: a box of `w` x `h` world units.
    double shareAround(double zoom, double wx, double wy, double w, double h, const Rgb& colour) const
    {
        const double scale = 400.0 / zoom;
        const int cx = uitest::pixelX(wx, zoom);
        const int cy = uitest::pixelY(wy, zoom);
        const int hw = static_cast<int>(w * scale / 2);
        const int hh = static_cast<int>(h * scale / 2);
        return share(cx - hw, cy - hh, cx + hw, cy + hh, colour);
    }
};

// The frame just shown. The buffers have been swapped, so it is read from the front buffer.
inline Shot readFrame()
{
    Shot shot;
    shot.width = 800;
    shot.height = 600;
    std::vector<unsigned char> bottomUp(800 * 600 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_FRONT);
    glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    GLint drawBuffer = GL_BACK;
    glGetIntegerv(GL_DRAW_BUFFER, &drawBuffer);
    glReadBuffer(static_cast<GLenum>(drawBuffer));
    shot.rgb.resize(bottomUp.size());
    for (int y = 0; y < 600; ++y)
        std::copy(bottomUp.begin() + 3 * 800 * (599 - y), bottomUp.begin() + 3 * 800 * (600 - y),
                  shot.rgb.begin() + 3 * 800 * y);
    return shot;
}

// A PNG of the shot (stored, uncompressed deflate blocks), so that a person can look at it.
inline void writePng(const std::string& name, const Shot& shot)
{
    std::vector<unsigned char> raw;
    for (int y = 0; y < shot.height; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), shot.rgb.begin() + 3 * shot.width * y, shot.rgb.begin() + 3 * shot.width * (y + 1));
    }
    // A byte at a time from a table: the shots of a long run are many.
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
            t[n] = c;
        }
        return t;
    }();
    auto crc32 = [](const unsigned char* data, size_t n, uint32_t crc) {
        crc = ~crc;
        for (size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
        return ~crc;
    };
    std::vector<unsigned char> z{0x78, 0x01};
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t at = 0; at < raw.size(); at += 65535) {
        const size_t n = std::min<size_t>(65535, raw.size() - at);
        z.push_back(at + n == raw.size() ? 1 : 0);
        z.push_back(static_cast<unsigned char>(n & 0xFF));
        z.push_back(static_cast<unsigned char>(n >> 8));
        z.push_back(static_cast<unsigned char>(~n & 0xFF));
        z.push_back(static_cast<unsigned char>((~n >> 8) & 0xFF));
        z.insert(z.end(), raw.begin() + at, raw.begin() + at + n);
    }
    const uint32_t adler = (b << 16) | a;
    for (int s = 24; s >= 0; s -= 8) z.push_back(static_cast<unsigned char>(adler >> s));

    std::vector<unsigned char> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto put32 = [](std::vector<unsigned char>& out, uint32_t v) {
        for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<unsigned char>(v >> s));
    };
    auto chunk = [&](const char* type, const std::vector<unsigned char>& data) {
        put32(png, static_cast<uint32_t>(data.size()));
        std::vector<unsigned char> body(type, type + 4);
        body.insert(body.end(), data.begin(), data.end());
        png.insert(png.end(), body.begin(), body.end());
        put32(png, crc32(body.data(), body.size(), 0));
    };
    std::vector<unsigned char> header;
    put32(header, static_cast<uint32_t>(shot.width));
    put32(header, static_cast<uint32_t>(shot.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});
    chunk("IHDR", header);
    chunk("IDAT", z);
    chunk("IEND", {});
    testsupport::writeFile(name, png);
}

// The most frequent opaque colour of a picture that the game has loaded: the fill of a
// generated picture, whatever its lettering. Black when the picture is not loaded.
inline Rgb pictureColour(const std::string& imageName)
{
    auto cached = GphImageCache.find(imageName);
    if (cached == GphImageCache.end()) {
        ADD_FAILURE() << imageName << " is not loaded";
        return Rgb{0, 0, 0};
    }
    GphImage* image = cached->second;
    const unsigned char* pixels = image->getPixels();
    const unsigned stride = image->getBitsPerPixel() / 8;
    if (!pixels || stride < 3) return Rgb{0, 0, 0};
    std::map<uint32_t, int> counts;
    const size_t count = static_cast<size_t>(image->getWidth()) * image->getHeight();
    for (size_t i = 0; i < count; ++i) {
        const unsigned char* p = pixels + stride * i;
        if (stride == 4 && p[3] != 255) continue;
        ++counts[(uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2]];
    }
    uint32_t best = 0;
    int bestCount = -1;
    for (const auto& entry : counts) {
        if (entry.second > bestCount) {
            best = entry.first;
            bestCount = entry.second;
        }
    }
    return Rgb{static_cast<unsigned char>(best >> 16), static_cast<unsigned char>(best >> 8),
               static_cast<unsigned char>(best)};
}

// The digit pictures of the in-game panels ("0.pcx" to "9.pcx", as the game has loaded them)
// are drawn 10 x 20 pixels in a game's view. Each picture is sampled here as the texture unit
// samples it, bilinearly at the pixel centres with the picture repeating, and compared with the
// block of the shot whose top-left pixel is (left, top): the digit whose picture comes closest,
// or -1 when none is close (the block shows something else).
inline int digitAt(const Shot& shot, int left, int top)
{
    constexpr int BlockWidth = 10;
    constexpr int BlockHeight = 20;
    // Mean difference per colour channel; the window's 16-bit colours alone stay far below.
    constexpr double Match = 24.0;
    int best = -1;
    double bestError = 1e9;
    for (int n = 0; n < 10; ++n) {
        auto cached = GphImageCache.find(std::to_string(n) + ".pcx");
        if (cached == GphImageCache.end()) {
            ADD_FAILURE() << "the digit pictures are not loaded";
            return -1;
        }
        GphImage* image = cached->second;
        const int w = static_cast<int>(image->getWidth());
        const int h = static_cast<int>(image->getHeight());
        const int stride = static_cast<int>(image->getBitsPerPixel() / 8);
        const unsigned char* pixels = image->getPixels();
        if (!pixels || stride < 3) return -1;
        // Rows of the picture are kept bottom first, as the texture takes them.
        auto texel = [&](int x, int y, int channel) {
            x = ((x % w) + w) % w;
            y = ((y % h) + h) % h;
            return static_cast<double>(pixels[stride * (y * w + x) + channel]);
        };
        double error = 0;
        for (int j = 0; j < BlockHeight; ++j) {
            for (int i = 0; i < BlockWidth; ++i) {
                const double u = (i + 0.5) / BlockWidth * w - 0.5;
                const double v = (BlockHeight - 1 - j + 0.5) / BlockHeight * h - 0.5;
                const int u0 = static_cast<int>(std::floor(u));
                const int v0 = static_cast<int>(std::floor(v));
                const double fu = u - u0;
                const double fv = v - v0;
                const Rgb drawn = shot.at(left + i, top + j);
                for (int c = 0; c < 3; ++c) {
                    const double sampled =
                        (1 - fv) * ((1 - fu) * texel(u0, v0, c) + fu * texel(u0 + 1, v0, c)) +
                        fv * ((1 - fu) * texel(u0, v0 + 1, c) + fu * texel(u0 + 1, v0 + 1, c));
                    error += std::fabs(sampled - drawn[c]);
                }
            }
        }
        error /= 3.0 * BlockWidth * BlockHeight;
        if (error < bestError) {
            bestError = error;
            best = n;
        }
    }
    return bestError < Match ? best : -1;
}

// The number the panels wrote with its last digit's block at (left, top): digits are read
// leftwards, ten pixels apart, until a block shows none.
inline std::string numberAt(const Shot& shot, int left, int top)
{
    std::string text;
    for (int x = left; x >= 0; x -= 10) {
        const int digit = digitAt(shot, x, top);
        if (digit < 0) break;
        text.insert(text.begin(), static_cast<char>('0' + digit));
    }
    return text;
}

// The pointer moved to a world point of a view of that zoom (512 in the menus, 400 in a
// game) and clicked there.
inline void clickAt(double zoom, double wx, double wy)
{
    uitest::pushMotion(wx, wy, zoom);
    uitest::pushClick(wx, wy, zoom);
}

inline double currentZoom(GphWindow* window)
{
    auto* ortho = window ? dynamic_cast<GphViewportOrthogonal*>(window->getViewport()) : nullptr;
    return ortho ? ortho->getZoom() : 0.0;
}

// The game's application with a hook after every frame. The window is kept for the test
// program: other suites' applications find it open.
class GameApp : public KovoApplication {
public:
    // The game time of every frame in a test: a frame of a quick machine.
    static constexpr unsigned int kFrameMs = 16;

    // The main loop runs on game time: N frames are N steps of kFrameMs on any machine.
    GameApp() { setClock(AppClock::fixedStep(kFrameMs)); }

    std::function<void(int frame)> afterFrame;
    int frames = 0;
    // The frame drawn during start-up, and what had been built by then.
    Shot startupFrame;
    bool startupMenuBuilt = true;
    bool startupContinueShown = true;
    UiWindow* startupScreen = nullptr;

    ~GameApp() override { _window = nullptr; }

    void update(unsigned int ms) override
    {
        // The frame's time passes for the sound too, then the game's frame runs.
        testsupport::advanceSound(ms);
        KovoApplication::update(ms);
        if (frames == 0) {
            startupFrame = readFrame();
            startupMenuBuilt = getMainMenu() != nullptr;
            startupScreen = getCurrentScreen();
            startupContinueShown = getTitleScreen() && getTitleScreen()->getContinueButton()->isVisible();
        }
        // Only the frames of the main loop count; the first one, drawn during start-up,
        // comes before any hook is set.
        ++frames;
        if (afterFrame) afterFrame(frames);
    }
    // `count` passes of the main loop: the queued events through the hooks, then a frame.
    void runFrames(int count = 1, unsigned int ms = kFrameMs)
    {
        for (int i = 0; i < count; ++i) {
            pollEvents();
            update(ms);
            SndSoundEffect::updateAll();
        }
    }
};

// Each test starts the real application in a fresh folder that links the generated data;
// the options file asks for a window. Screenshots stay in the folder "game_shots" of the
// test program's working directory.
class GameTest : public ::testing::Test {
protected:
    static constexpr const char* WorkDir = "game_work";
    static constexpr const char* ShotDir = "game_shots";
    static constexpr unsigned int kGameSeed = 2024;

    void SetUp() override
    {
        home = std::filesystem::current_path();
        std::filesystem::create_directory(ShotDir);
        testsupport::makeDataFolder(WorkDir, true);
        std::filesystem::current_path(WorkDir);
        testsupport::writeText(KovoApplication::kConfigFileName, options);
        uitest::resyncWindow(GphWindow::getInstance());
        uitest::flushEvents();
    }
    void TearDown() override
    {
        stop();
        // The switches are the program's: the next test starts with both on.
        SndManager::setMusicEnabled(true);
        SndManager::setSoundEffectsEnabled(true);
        std::filesystem::current_path(home);
    }

    // Builds and starts the application as the entry point does.
    void start()
    {
        app = new GameApp();
        ASSERT_EQ(0, app->init());
        // The game's own draws (a thug's turn) the same in every run.
        GameRandom::seed(kGameSeed);
        window = app->getWindow();
        uitest::flushEvents();
    }

    // The application ends as the entry point ends it: the sound closes, the screens write
    // their files and everything goes.
    void stop()
    {
        if (app) app->shutdown();
        delete app;
        app = nullptr;
    }

    // A screenshot of the last frame, kept under the test's name.
    Shot shoot(const std::string& step)
    {
        Shot shot = readFrame();
        const std::string name = (home / ShotDir / (testName() + "_" + step + ".png")).string();
        writePng(name, shot);
        return shot;
    }
    static std::string testName()
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        return std::string(info->test_suite_name()) + "_" + info->name();
    }

    std::string options = "0 1 1 1 \n";
    std::filesystem::path home;
    GameApp* app = nullptr;
    GphWindow* window = nullptr;
};

}  // namespace gametest

#endif
