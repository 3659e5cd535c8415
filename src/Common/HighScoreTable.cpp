#include "Common/HighScoreTable.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "Base/App/Log.h"
#include "Common/AtomicFile.h"
#include "Common/Score.h"

namespace {

const int kNameBase = 65;    // 'A'
const int kNameShift = 33;   // '!'
const int kDigitsBase = 54;  // '6'
const int kDigitsShift = 78; // 'N'

struct DefaultEntry {
    const char* name;
    int points;
};

const DefaultEntry kDefaults[HighScoreTable::kShown] = {
    {"A. MORGAN", 50000},   {"B. HOLT", 45000},   {"C. FINCH", 40000}, {"D. KOWALSKI", 35000},
    {"E. RAMIREZ", 30000},  {"F. OKAFOR", 25000}, {"G. NAKAMURA", 20000}, {"H. DUBOIS", 15000},
    {"I. PETROV", 10000},   {"J. SULLIVAN", 5000},
};

unsigned char byteOf(int value)
{
    return static_cast<unsigned char>(value & 0xFF);
}

void appendFiller(std::vector<unsigned char>& out, int count)
{
    for (int i = 0; i < count; ++i) out.push_back(static_cast<unsigned char>(std::rand() % 255));
}

// A count byte as the file means it: a signed byte less its base. Negative counts, which a
// byte from 0x80 up or below the base gives, do not decode.
int countOf(unsigned char byte, int base)
{
    return static_cast<int>(static_cast<signed char>(byte)) - base;
}

// Reads the input byte by byte, remembering whether it ran short.
class Reader {
public:
    explicit Reader(std::istream& in) : _in(in) {}

    bool byte(unsigned char& out)
    {
        char c = 0;
        if (!_in.get(c)) return false;
        out = static_cast<unsigned char>(c);
        return true;
    }
    bool bytes(std::vector<unsigned char>& out, int count)
    {
        out.assign(static_cast<size_t>(count), 0);
        if (count == 0) return true;
        _in.read(reinterpret_cast<char*>(out.data()), count);
        return _in.gcount() == count;
    }
    bool skip(int count)
    {
        _in.ignore(count);
        return _in.gcount() == count;
    }

private:
    std::istream& _in;
};

// The decoded text up to its first zero byte.
std::string textOf(const std::vector<unsigned char>& decoded)
{
    std::string text;
    for (unsigned char c : decoded) {
        if (c == 0) break;
        text.push_back(static_cast<char>(c));
    }
    return text;
}

// Converts like "%d": leading white space, a sign, decimal digits, anything after ignored.
// A text without digits, or one out of range, does not convert.
bool pointsOf(const std::string& text, int& points)
{
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(start, &end, 10);
    if (end == start || errno == ERANGE || value < INT_MIN || value > INT_MAX) return false;
    points = static_cast<int>(value);
    return true;
}

}  // namespace

HighScoreTable::HighScoreTable() = default;

HighScoreTable::~HighScoreTable()
{
    clear();
}

void HighScoreTable::insert(Score* score)
{
    // A multimap puts a new key after the equal ones already there.
    if (score) _entries.insert(std::make_pair(score->getPoints(), score));
}

Score* HighScoreTable::at(int index) const
{
    if (index < 0) return nullptr;
    for (const auto& entry : _entries) {
        if (index-- == 0) return entry.second;
    }
    return nullptr;
}

void HighScoreTable::clear()
{
    for (auto& entry : _entries) delete entry.second;
    _entries.clear();
}

void HighScoreTable::fillDefault()
{
    for (const DefaultEntry& entry : kDefaults) insert(new Score(entry.name, entry.points));
}

int HighScoreTable::read(const std::string& fileName)
{
    std::ifstream in(fileName.c_str(), std::ios::in | std::ios::binary);
    if (!in) return -1;
    Reader reader(in);

    std::vector<std::pair<std::string, int>> read;
    bool ok = reader.skip(kHeadFiller);
    // An entry whose digits do not convert takes the points of the one before.
    int points = 0;
    std::vector<unsigned char> raw;
    for (int e = 0; ok && e < kShown; ++e) {
        unsigned char count = 0;
        if (!reader.byte(count) || (countOf(count, kNameBase) < 0)) {
            ok = false;
            break;
        }
        const int n = countOf(count, kNameBase);
        if (!reader.bytes(raw, n)) {
            ok = false;
            break;
        }
        for (int i = 0; i < n; ++i) raw[i] = byteOf(raw[i] - kNameShift - 2 * i);
        const std::string name = textOf(raw);

        if (!reader.skip(kNameGap) || !reader.byte(count) || countOf(count, kDigitsBase) < 0) {
            ok = false;
            break;
        }
        const int m = countOf(count, kDigitsBase);
        if (!reader.bytes(raw, m)) {
            ok = false;
            break;
        }
        for (int i = 0; i < m; ++i) raw[i] = byteOf(raw[i] - kDigitsShift - i);
        if (m > 0) pointsOf(textOf(raw), points);
        read.push_back(std::make_pair(name, points));

        // The last entry's tail may be cut short: its digits were the last thing needed.
        if (!reader.skip(kEntryTail) && e < kShown - 1) ok = false;
    }
    if (!ok) {
        LOG("Malformed high-score file: " << fileName);
        return -1;
    }
    for (const auto& entry : read) insert(new Score(entry.first, entry.second));
    return 0;
}

int HighScoreTable::write(const std::string& fileName) const
{
    std::vector<unsigned char> out;
    appendFiller(out, kHeadFiller);
    int written = 0;
    for (const auto& entry : _entries) {
        if (written++ == kShown) break;
        std::string name = entry.second->getName();
        // A longer name would give a count byte that reads back as negative.
        if (name.size() > static_cast<size_t>(kMaxName)) name.resize(kMaxName);
        out.push_back(byteOf(kNameBase + static_cast<int>(name.size())));
        for (size_t i = 0; i < name.size(); ++i)
            out.push_back(byteOf(static_cast<unsigned char>(name[i]) + 2 * static_cast<int>(i) + kNameShift));
        appendFiller(out, kNameGap);

        char digits[16];
        const int m = std::snprintf(digits, sizeof digits, "%d", entry.second->getPoints());
        out.push_back(byteOf(kDigitsBase + m));
        for (int i = 0; i < m; ++i) out.push_back(byteOf(static_cast<unsigned char>(digits[i]) + i + kDigitsShift));
        appendFiller(out, kEntryTail);
    }
    appendFiller(out, kEndFiller);

    // The old file goes only when the new one is complete on disk.
    return AtomicFile::write(fileName, std::string(out.begin(), out.end()), true);
}
