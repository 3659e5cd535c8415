#ifndef KOVO_COMMON_HIGHSCORETABLE_H
#define KOVO_COMMON_HIGHSCORETABLE_H

#include <functional>
#include <map>
#include <string>

class Score;

// The best scores, highest first; records with equal points keep the order in which they
// came. The table owns its records. It may hold more than ten during a run (every finished
// game adds one); only the first ten are shown and kept in the file.
//
// The file hides its contents: each entry's counted name and decimal points are shifted
// byte by byte and buried between fixed-size blocks of random bytes.
//   head filler 4762
//   ten times: name count (65 + n), n name bytes (c + 2i + 33), filler 4388,
//              digits count (54 + m), m digit bytes (d + i + 78), filler 8302
//   end filler 5771 (never read)
// Every value is taken modulo 256; a filler byte is rand() % 255.
class HighScoreTable {
public:
    static constexpr int kShown = 10;
    static constexpr int kHeadFiller = 4762;
    static constexpr int kNameGap = 4388;
    static constexpr int kEntryTail = 8302;
    static constexpr int kEndFiller = 5771;
    // The longest name and digit text whose count byte still reads back as a positive count.
    static constexpr int kMaxName = 62;
    static constexpr int kMaxDigits = 73;

    HighScoreTable();
    // Deletes every record.
    ~HighScoreTable();
    HighScoreTable(const HighScoreTable&) = delete;
    HighScoreTable& operator=(const HighScoreTable&) = delete;

    // Takes the record; it goes below every record with the same points. Null is ignored.
    void insert(Score* score);
    int size() const { return static_cast<int>(_entries.size()); }
    bool empty() const { return _entries.empty(); }
    // The record in that place, counted from 0 in table order, or null.
    Score* at(int index) const;
    // Deletes every record.
    void clear();

    // Adds the ten default records, 50000 down to 5000.
    void fillDefault();

    // Adds the ten records of a score file. -1, with the table unchanged, when the file
    // cannot be opened (silently) or does not decode: it ends before the tenth entry's
    // digits, or a count byte gives a negative count.
    int read(const std::string& fileName);
    // Writes the first ten records (all, when there are fewer) through a file beside the
    // target that replaces it only once it is complete. -1 when anything fails; the old file
    // is then left as it was.
    int write(const std::string& fileName) const;

private:
    std::multimap<int, Score*, std::greater<int>> _entries;
};

#endif
