#ifndef KOVO_BENCH_LEVELBENCH_H
#define KOVO_BENCH_LEVELBENCH_H

#include <string>
#include <vector>

class GameScreen;
class Level;

namespace bench {

class BenchApp;
class FloorLoop;

// One level file in a running game: the time its load takes, then every room of it entered
// where the hero arrives (the level's start, the doors' targets) and its whole frame
// measured, each frame followed by one of the floor drawing as many rectangles. Results go to standard output as lines
// starting with "@" for the report.
class LevelBench {
public:
    // Game time handed to each frame: a frame at sixty a second.
    static constexpr unsigned int kFrameMs = 16;

    // `frames`: measured frames per room (and as many of the floor).
    LevelBench(BenchApp& app, FloorLoop& floor, int frames);

    // "@load FILE MS", then per room "@room FILE ID RECTS KILOPIXELS MEDIAN P99 CPU
    // FLOOR_MEDIAN FLOOR_P99 FLOOR_CPU REENTRIES" (rectangles and pixels per frame). False (after "@failed FILE") when the level does not
    // load or ends while it is measured.
    bool run(const std::string& fileName);

private:
    struct Entry {
        double x;
        double y;
    };
    // The drawing of some frames added up.
    struct FrameWork {
        double rects = 0;
        double blended = 0;
        double pixels = 0;
    };

    // Where the hero arrives in the room: the level's start in its first room and the target
    // of every door leading in; the level's start when nothing leads in.
    std::vector<Entry> entries(int roomId) const;
    // The hero brought back on his feet with lives to spare and put into the room.
    void enter(int roomId, const Entry& entry);
    // One pass of the main loop; the rectangles it drew, or -1 when the level has gone. Its
    // drawing is added to `work` when given. A hint panel that comes up is put away and a
    // hero who left the room (dying, say) is brought back, which `reentries` counts.
    long frame(int roomId, const Entry& entry, FrameWork* work);
    // The most rectangles of one frame among a few frames from that entry.
    long probe(int roomId, const Entry& entry);
    bool measureRoom(const std::string& fileName, int roomId);

    BenchApp& _app;
    FloorLoop& _floor;
    GameScreen* _game;
    Level* _level;
    int _frames;
    int _reentries;
};

}  // namespace bench

#endif
