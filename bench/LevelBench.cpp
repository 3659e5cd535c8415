#include "LevelBench.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Application/GameScreen.h"
#include "Base/Gph/GphRect.h"
#include "BenchApp.h"
#include "Common/Level.h"
#include "Common/Map.h"
#include "FloorLoop.h"
#include "FrameStats.h"
#include "Kovo/Door.h"
#include "Kovo/Player.h"

namespace bench {

namespace {

// Frames run from each entry to find the busiest, and before a room's measurement starts
// (pictures first used, characters settling).
constexpr int kProbeFrames = 30;
constexpr int kWarmUpFrames = 30;
// Enough lives that no death during a measurement ends the game.
constexpr int kLives = 99;

}  // namespace

LevelBench::LevelBench(BenchApp& app, FloorLoop& floor, int frames)
    : _app(app), _floor(floor), _game(app.getGameScreen()), _level(nullptr), _frames(frames), _reentries(0)
{
}

std::vector<LevelBench::Entry> LevelBench::entries(int roomId) const
{
    std::vector<Entry> found;
    if (roomId == _level->getInitialMapId()) found.push_back({_level->getPlayerX(), _level->getPlayerY()});
    for (const auto& room : _level->getMaps()) {
        for (const Door* door : room.second->getDoors()) {
            if (door->getTargetMapId() != roomId) continue;
            const Entry entry{door->getTargetX(), door->getTargetY()};
            const bool known = std::any_of(found.begin(), found.end(), [&](const Entry& e) {
                return e.x == entry.x && e.y == entry.y;
            });
            if (!known) found.push_back(entry);
        }
    }
    if (found.empty()) found.push_back({_level->getPlayerX(), _level->getPlayerY()});
    return found;
}

void LevelBench::enter(int roomId, const Entry& entry)
{
    if (Player* player = _game->getPlayer()) player->setLives(kLives);
    _level->restart();
    _level->gotoMap(roomId, entry.x, entry.y, 0, 0, 0, 0, 0);
}

long LevelBench::frame(int roomId, const Entry& entry, FrameWork* work)
{
    const GphRect::Tally before = GphRect::getTally();
    _app.frame(kFrameMs);
    const GphRect::Tally& after = GphRect::getTally();
    const long drawn = static_cast<long>(after.rects - before.rects);
    if (work) {
        work->rects += static_cast<double>(drawn);
        work->blended += static_cast<double>(after.blended - before.blended);
        work->pixels += after.pixels - before.pixels;
    }
    if (_game->getLevel() != _level) return -1;
    if (_level->hasHint()) {
        _app.onCharDown('h');
        _app.onCharUp('h');
    }
    const Map* current = _level->getCurrentMap();
    Player* player = _game->getPlayer();
    if (!current || current->getId() != roomId || (player && player->isDying())) {
        enter(roomId, entry);
        ++_reentries;
    }
    return drawn;
}

long LevelBench::probe(int roomId, const Entry& entry)
{
    enter(roomId, entry);
    long most = 0;
    for (int i = 0; i < kProbeFrames; ++i) {
        const long drawn = frame(roomId, entry, nullptr);
        if (drawn < 0) return -1;
        most = std::max(most, drawn);
    }
    return most;
}

bool LevelBench::measureRoom(const std::string& fileName, int roomId)
{
    const std::vector<Entry> candidates = entries(roomId);
    Entry busiest = candidates.front();
    long most = -1;
    for (const Entry& entry : candidates) {
        const long drawn = probe(roomId, entry);
        if (drawn < 0) return false;
        if (drawn > most) {
            most = drawn;
            busiest = entry;
        }
    }

    enter(roomId, busiest);
    _reentries = 0;
    for (int i = 0; i < kWarmUpFrames; ++i)
        if (frame(roomId, busiest, nullptr) < 0) return false;
    _reentries = 0;

    // Each game frame is followed by a floor frame of the mean frame so far, so that both
    // meet the same load of the machine, however it changes.
    std::vector<double> gameTimes, floorTimes;
    double gameCpu = 0, floorCpu = 0;
    FrameWork work;
    for (int i = 0; i < _frames; ++i) {
        double cpuStart = cpuMs();
        double start = wallMs();
        const long drawn = frame(roomId, busiest, &work);
        gameTimes.push_back(wallMs() - start);
        gameCpu += cpuMs() - cpuStart;
        if (drawn < 0) return false;

        const double done = i + 1;
        const int count = static_cast<int>(std::lround(work.rects / done));
        const int blended = static_cast<int>(std::lround(work.blended / done));
        const double side = work.rects > 0 ? std::sqrt(work.pixels / work.rects) : 0;
        _floor.begin();
        cpuStart = cpuMs();
        start = wallMs();
        _floor.frame(count, blended, side);
        floorTimes.push_back(wallMs() - start);
        floorCpu += cpuMs() - cpuStart;
        _floor.end();
    }
    const FrameStats game = FrameStats::of(gameTimes, gameCpu);
    const FrameStats floor = FrameStats::of(floorTimes, floorCpu);
    const double frames = static_cast<double>(gameTimes.size());
    std::printf("@room %s %d %.0f %.0f %.3f %.3f %.3f %.3f %.3f %.3f %d\n", fileName.c_str(), roomId,
                work.rects / frames, work.pixels / frames / 1000.0, game.median, game.p99, game.cpuPerFrame,
                floor.median, floor.p99, floor.cpuPerFrame, _reentries);
    std::fflush(stdout);
    return true;
}

bool LevelBench::run(const std::string& fileName)
{
    const double start = wallMs();
    _game->loadLevel(fileName);
    const double loadMs = wallMs() - start;
    _level = _game->getLevel();
    if (!_level) {
        std::printf("@failed %s\n", fileName.c_str());
        return false;
    }
    std::printf("@load %s %.3f\n", fileName.c_str(), loadMs);
    std::fflush(stdout);
    for (const auto& room : _level->getMaps()) {
        if (!measureRoom(fileName, room.first)) {
            std::printf("@failed %s\n", fileName.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace bench
