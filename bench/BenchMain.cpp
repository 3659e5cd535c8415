// The benchmark: run in the game's data folder under a display (scripts/run-bench.sh does
// both). It reports the start-up to the first drawn title frame, the load of every level file
// and the whole frame of every room of every level beside the floor, a bare SDL and OpenGL
// loop drawing as many textured rectangles, with the ratio of the two.
//
//   kovo_bench [--frames N] [--startups N] [LEVEL_FILE...]
//
// N frames are measured per room (600 by default) and the start-up is timed N times (5);
// naming level files measures only those. The parts that start the game run as child
// processes of this program: "--child-startup" and "--child-level FILE FRAMES".

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Application/KovoApplication.h"
#include "BenchApp.h"
#include "FloorLoop.h"
#include "FrameStats.h"
#include "LevelBench.h"
#include "Spawn.h"

namespace {

using namespace bench;

constexpr int kDefaultFrames = 600;
constexpr int kDefaultStartups = 5;
// The game's window, in which the floor draws too.
constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;

int childStartup()
{
    BenchApp app;
    if (app.init() != 0) return 1;
    std::printf("@startup %.3f\n", app.firstFrameMs());
    app.shutdown();
    return 0;
}

int childLevel(const std::string& fileName, int frames)
{
    BenchApp app;
    if (app.init() != 0) return 1;
    std::printf("@renderer %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    app.startNewGame();
    if (!app.getGameScreen()) return 1;
    int status = 0;
    {
        FloorLoop floor(kWindowWidth, kWindowHeight);
        LevelBench bench(app, floor, frames);
        if (!bench.run(fileName)) status = 1;
    }
    app.shutdown();
    return status;
}

std::vector<std::string> discoverLevels()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(KOVO_LEVELS_DIR)) {
        if (entry.is_regular_file() && entry.path().extension() == ".xml")
            names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

struct RoomRow {
    std::string level;
    int room = 0;
    double rects = 0;
    double kilopixels = 0;
    double median = 0, p99 = 0, cpu = 0;
    double floorMedian = 0, floorP99 = 0, floorCpu = 0;
    int reentries = 0;
    bool busiest = false;
};

// The machine's one-minute load average: other work on it shows in every time measured.
std::string loadAverage()
{
    std::ifstream in("/proc/loadavg");
    std::string minute;
    if (!(in >> minute)) return "unknown";
    return minute;
}

double ratio(double game, double floor)
{
    return floor > 0 ? game / floor : 0;
}

void reportStartup(int runs)
{
    std::vector<double> samples;
    for (int i = 0; i < runs; ++i) {
        std::vector<std::string> lines;
        const double start = wallMs();
        const int status = runSelf({"--child-startup"}, lines);
        for (const std::string& line : lines) {
            std::istringstream in(line);
            std::string tag;
            double at = 0;
            if (in >> tag >> at && tag == "@startup") samples.push_back(at - start);
        }
        if (status != 0) std::printf("start-up run %d failed (status %d; see %s)\n", i + 1, status, kChildLog);
    }
    if (samples.empty()) return;
    std::vector<double> sorted = samples;
    std::sort(sorted.begin(), sorted.end());
    std::printf("Start-up to the first drawn title frame: %.1f ms median of %zu runs (%.1f to %.1f)\n\n",
                percentile(samples, 0.5), samples.size(), sorted.front(), sorted.back());
}

void printTable(const std::vector<RoomRow>& rows, int frames)
{
    std::printf("Whole frames (update, draw, swap; %u ms of game time each), %d per room, beside the floor:\n",
                LevelBench::kFrameMs, frames);
    std::printf("as many textured rectangles of the same mean size drawn by a bare SDL + OpenGL loop.\n");
    std::printf("Times in ms, pixels in thousands a frame; * marks the busiest room of its level.\n\n");
    std::printf("%-14s %5s %6s %6s %7s %7s %7s | %7s %7s %7s | %6s %6s\n", "level", "room", "rects", "kpix",
                "median", "p99", "CPU/fr", "floor", "fl.p99", "fl.CPU", "ratio", "r.p99");
    const RoomRow* worstMedian = nullptr;
    const RoomRow* worstP99 = nullptr;
    for (const RoomRow& row : rows) {
        const double rm = ratio(row.median, row.floorMedian);
        const double rp = ratio(row.p99, row.floorP99);
        std::printf("%-14s %4d%c %6.0f %6.0f %7.2f %7.2f %7.2f | %7.2f %7.2f %7.2f | %6.2f %6.2f",
                    row.level.c_str(), row.room, row.busiest ? '*' : ' ', row.rects, row.kilopixels, row.median, row.p99, row.cpu, row.floorMedian,
                    row.floorP99, row.floorCpu, rm, rp);
        if (row.reentries > 0) std::printf("  (hero put back %d times)", row.reentries);
        std::printf("\n");
        if (!worstMedian || rm > ratio(worstMedian->median, worstMedian->floorMedian)) worstMedian = &row;
        if (!worstP99 || rp > ratio(worstP99->p99, worstP99->floorP99)) worstP99 = &row;
    }
    if (worstMedian && worstP99) {
        std::printf("\nHighest ratio: median %.2f (%s room %d), p99 %.2f (%s room %d)\n",
                    ratio(worstMedian->median, worstMedian->floorMedian), worstMedian->level.c_str(),
                    worstMedian->room, ratio(worstP99->p99, worstP99->floorP99), worstP99->level.c_str(),
                    worstP99->room);
    }
}

int runAll(int frames, int startups, std::vector<std::string> levels)
{
    const std::string loadBefore = loadAverage();
    reportStartup(startups);
    if (levels.empty()) levels = discoverLevels();

    std::vector<RoomRow> rows;
    std::vector<std::pair<std::string, double>> loads;
    std::string renderer;
    bool failed = false;
    for (const std::string& level : levels) {
        std::vector<std::string> lines;
        const int status = runSelf({"--child-level", level, std::to_string(frames)}, lines);
        std::vector<RoomRow> levelRows;
        for (const std::string& line : lines) {
            std::istringstream in(line);
            std::string tag, file;
            in >> tag;
            if (tag == "@renderer") {
                std::getline(in >> std::ws, renderer);
            } else if (tag == "@load") {
                double ms = 0;
                in >> file >> ms;
                loads.emplace_back(file, ms);
            } else if (tag == "@room") {
                RoomRow row;
                in >> row.level >> row.room >> row.rects >> row.kilopixels >> row.median >> row.p99 >> row.cpu >> row.floorMedian >>
                    row.floorP99 >> row.floorCpu >> row.reentries;
                levelRows.push_back(row);
            } else if (tag == "@failed") {
                failed = true;
                std::printf("%s: the level did not load or ended while it was measured\n", level.c_str());
            } else if (!line.empty() && line[0] != '@') {
                std::printf("%s\n", line.c_str());
            }
        }
        if (status != 0) {
            failed = true;
            std::printf("%s: the benchmark's child ended with status %d (see %s)\n", level.c_str(), status,
                        kChildLog);
        }
        auto busiest = std::max_element(levelRows.begin(), levelRows.end(),
                                        [](const RoomRow& a, const RoomRow& b) { return a.rects < b.rects; });
        if (busiest != levelRows.end()) busiest->busiest = true;
        rows.insert(rows.end(), levelRows.begin(), levelRows.end());
    }

    if (!renderer.empty()) std::printf("OpenGL renderer: %s\n", renderer.c_str());
    std::printf("Load average of the machine (%u processors): %s at the start, %s at the end\n\n",
                std::thread::hardware_concurrency(), loadBefore.c_str(), loadAverage().c_str());
    std::printf("Level loads (a fresh game each, title and menus already built):\n");
    for (const auto& load : loads) std::printf("  %-14s %8.1f ms\n", load.first.c_str(), load.second);
    std::printf("\n");
    printTable(rows, frames);
    return failed ? 1 : 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "--child-startup") return childStartup();
    if (args.size() == 3 && args[0] == "--child-level") return childLevel(args[1], std::atoi(args[2].c_str()));

    int frames = kDefaultFrames;
    int startups = kDefaultStartups;
    std::vector<std::string> levels;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--frames" && i + 1 < args.size()) {
            frames = std::max(1, std::atoi(args[++i].c_str()));
        } else if (args[i] == "--startups" && i + 1 < args.size()) {
            startups = std::max(0, std::atoi(args[++i].c_str()));
        } else if (!args[i].empty() && args[i][0] == '-') {
            std::fprintf(stderr, "usage: kovo_bench [--frames N] [--startups N] [LEVEL_FILE...]\n");
            return 2;
        } else {
            levels.push_back(args[i]);
        }
    }
    return runAll(frames, startups, levels);
}
