#ifndef KOVO_COMMON_CUTSCENE_H
#define KOVO_COMMON_CUTSCENE_H

#include <deque>
#include <istream>
#include <ostream>
#include <string>

class Hint;

// The dialogue panels a room shows one after another the first time the hero is in it.
// Each entry is a panel picture and the world point at which it is shown. Once the
// entries have run out the cut-scene is done for good, also across saved games.
class CutScene {
public:
    CutScene();
    ~CutScene();

    // The body behind "<CUTSCENE>" up to and including "</CUTSCENE>": any number of
    // "<DIALOGUE> picture x y </DIALOGUE>" fields. 0, or -1 after an unknown tag, a value
    // that does not parse or a stream that ends inside the block.
    int read(std::istream& in);

    // The next entry as a hint panel for the room to show, its point in x and y; the
    // caller owns the hint. With no entry left the cut-scene becomes done and the result
    // is null.
    Hint* next(int& x, int& y);
    // The entry part of next(): takes the front entry into its picture and point, or,
    // when none is left, marks the cut-scene done and gives false.
    bool takeNext(std::string& text, int& x, int& y);

    bool isDone() const { return _done; }
    // Entries not yet shown.
    size_t getEntryCount() const { return _texts.size(); }

    // "<CUTSCENE> done </CUTSCENE>" on one line; always 0.
    int writeState(std::ostream& out) const;
    // The done flag and one closing token, after the caller has taken "<CUTSCENE>"; a
    // done cut-scene drops its entries. 0, or -1 when the stream fails.
    int readState(std::istream& in);

private:
    std::deque<std::string> _texts;
    std::deque<int> _xs;
    std::deque<int> _ys;
    bool _done;
};

#endif
