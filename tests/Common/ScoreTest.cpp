#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Common/HighScoreTable.h"
#include "Common/Score.h"
#include "support/Files.h"

using testsupport::readFile;
using testsupport::writeFile;

namespace {

typedef std::vector<unsigned char> Bytes;

constexpr size_t kHead = HighScoreTable::kHeadFiller;
constexpr size_t kGap = HighScoreTable::kNameGap;
constexpr size_t kTail = HighScoreTable::kEntryTail;
constexpr size_t kEnd = HighScoreTable::kEndFiller;

struct Entry {
    std::string name;
    int points;
};

std::vector<Entry> entriesOf(const HighScoreTable& table)
{
    std::vector<Entry> out;
    for (int i = 0; i < table.size(); ++i) out.push_back({table.at(i)->getName(), table.at(i)->getPoints()});
    return out;
}

void fill(HighScoreTable& table, const std::vector<Entry>& entries)
{
    for (const Entry& e : entries) table.insert(new Score(e.name, e.points));
}

// Where each entry's fields lie in a written file.
struct Layout {
    size_t nameCount, digitsCount, tailEnd;
};
std::vector<Layout> layoutOf(const std::vector<Entry>& tableOrder)
{
    std::vector<Layout> out;
    size_t at = kHead;
    for (const Entry& e : tableOrder) {
        Layout l;
        l.nameCount = at;
        at += 1 + e.name.size() + kGap;
        l.digitsCount = at;
        at += 1 + std::to_string(e.points).size() + kTail;
        l.tailEnd = at;
        out.push_back(l);
    }
    return out;
}

void expectSame(const std::vector<Entry>& a, const std::vector<Entry>& b)
{
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].name, b[i].name) << i;
        EXPECT_EQ(a[i].points, b[i].points) << i;
    }
}

// Ten entries with the examples of the format among them, in table order.
const std::vector<Entry> kTen = {
    {"ABC", 90000}, {"", 80000},        {"KOVO", 70000},  {"X", 60000},   {"TWO WORDS", 50000},
    {"ABC", 5000},  {"SAME", 5000},     {"LATER", 5000},  {"Z-9!", 12},   {"NOBODY", 0},
};

}  // namespace

TEST(ScoreTableTest, InsertionKeepsHighestFirstAndEqualPointsInArrivalOrder)
{
    HighScoreTable table;
    table.insert(new Score("B", 100));
    table.insert(new Score("A", 200));
    table.insert(new Score("C", 100));
    table.insert(nullptr);
    table.insert(new Score("D", -5));
    expectSame(entriesOf(table), {{"A", 200}, {"B", 100}, {"C", 100}, {"D", -5}});
    EXPECT_EQ(table.at(4), nullptr);
    EXPECT_EQ(table.at(-1), nullptr);
    table.clear();
    EXPECT_TRUE(table.empty());
}

TEST(ScoreTableTest, DefaultTableIsTenNamedEntriesFrom50000DownTo5000)
{
    HighScoreTable table;
    table.fillDefault();
    ASSERT_EQ(table.size(), 10);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(table.at(i)->getPoints(), 50000 - 5000 * i);
        const std::string& name = table.at(i)->getName();
        EXPECT_TRUE(name.size() >= 7 && name.size() <= 11 && std::isupper(static_cast<unsigned char>(name[0])) &&
                    name.substr(1, 2) == ". " && std::isupper(static_cast<unsigned char>(name[3])))
            << name;
    }
}

TEST(ScoreTableTest, WrittenFileHasTheScrambledLayoutAndReadsBackTheSame)
{
    HighScoreTable table;
    fill(table, kTen);
    std::srand(7);
    ASSERT_EQ(table.write("score_layout.dat"), 0);
    const Bytes bytes = readFile("score_layout.dat");

    size_t names = 0, digits = 0;
    for (const Entry& e : kTen) {
        names += e.name.size();
        digits += std::to_string(e.points).size();
    }
    EXPECT_EQ(bytes.size(), 137453 + names + digits);

    const std::vector<Layout> at = layoutOf(kTen);
    // "ABC" and 90000.
    EXPECT_EQ(Bytes(bytes.begin() + at[0].nameCount, bytes.begin() + at[0].nameCount + 4),
              (Bytes{0x44, 0x62, 0x65, 0x68}));
    // The empty name is its count byte alone.
    EXPECT_EQ(bytes[at[1].nameCount], 0x41);
    // 5000.
    EXPECT_EQ(Bytes(bytes.begin() + at[5].digitsCount, bytes.begin() + at[5].digitsCount + 5),
              (Bytes{0x3A, 0x83, 0x7F, 0x80, 0x81}));
    // 0.
    EXPECT_EQ(bytes[at[9].digitsCount], 0x37);
    EXPECT_EQ(bytes[at[9].digitsCount + 1], 0x7E);
    EXPECT_EQ(at[9].tailEnd + kEnd, bytes.size());

    // Filler is rand() % 255, and no entry byte of this table reaches 0xFF either.
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 0xFF), 0);

    HighScoreTable back;
    ASSERT_EQ(back.read("score_layout.dat"), 0);
    expectSame(entriesOf(back), kTen);
    EXPECT_FALSE(std::filesystem::exists("score_layout.dat.tmp"));
}

TEST(ScoreTableTest, OnlyTheFirstTenAreWritten)
{
    HighScoreTable table;
    table.fillDefault();
    for (int i = 0; i < 11; ++i) table.insert(new Score("G" + std::to_string(i), 12000));
    ASSERT_EQ(table.size(), 21);
    ASSERT_EQ(table.write("score_eleven.dat"), 0);
    HighScoreTable back;
    ASSERT_EQ(back.read("score_eleven.dat"), 0);
    const std::vector<Entry> entries = entriesOf(back);
    ASSERT_EQ(entries.size(), 10u);
    // 50000 to 15000, then the first two games of 12000 in the order they came.
    EXPECT_EQ(entries[7].points, 15000);
    EXPECT_EQ(entries[8].name, "G0");
    EXPECT_EQ(entries[9].name, "G1");
    EXPECT_EQ(entries[9].points, 12000);
}

TEST(ScoreTableTest, LongNamesAreCutToWhatTheCountByteCanHold)
{
    HighScoreTable table;
    std::vector<Entry> entries = kTen;
    entries[0].name = std::string(62, 'M');
    entries[1].name = std::string(90, 'L');
    fill(table, entries);
    ASSERT_EQ(table.write("score_long.dat"), 0);
    const Bytes bytes = readFile("score_long.dat");
    EXPECT_EQ(bytes[kHead], 0x7F);
    HighScoreTable back;
    ASSERT_EQ(back.read("score_long.dat"), 0);
    EXPECT_EQ(back.at(0)->getName(), std::string(62, 'M'));
    EXPECT_EQ(back.at(1)->getName(), std::string(62, 'L'));
}

TEST(ScoreTableTest, DecodingFollowsTheCountsZeroBytesAndUnconvertibleDigits)
{
    HighScoreTable table;
    fill(table, kTen);
    ASSERT_EQ(table.write("score_patch.dat"), 0);
    Bytes bytes = readFile("score_patch.dat");
    const std::vector<Layout> at = layoutOf(kTen);
    // "KOVO" with a zero byte as its third character: the name ends there.
    bytes[at[2].nameCount + 1 + 2] = static_cast<unsigned char>(0 + 2 * 2 + 33);
    // 60000 written as "6x000": converts as far as the digits go.
    bytes[at[3].digitsCount + 1 + 1] = static_cast<unsigned char>('x' + 1 + 78);
    // 50000 written as "-----": does not convert, so the entry takes the points before it.
    for (int i = 0; i < 5; ++i) bytes[at[4].digitsCount + 1 + i] = static_cast<unsigned char>('-' + i + 78);
    // 12 with no digits at all: also the points before.
    bytes[at[8].digitsCount] = 0x36;
    bytes.erase(bytes.begin() + at[8].digitsCount + 1, bytes.begin() + at[8].digitsCount + 3);
    writeFile("score_patch.dat", bytes);

    HighScoreTable back;
    ASSERT_EQ(back.read("score_patch.dat"), 0);
    ASSERT_EQ(back.size(), 10);
    EXPECT_EQ(back.at(2)->getName(), "KO");
    // Keyed by the points read, so the table orders them again.
    const std::vector<Entry> read = entriesOf(back);
    int sixes = 0, fiveK = 0;
    for (const Entry& e : read) {
        if (e.points == 6) ++sixes;
        if (e.points == 5000) ++fiveK;
    }
    EXPECT_EQ(sixes, 2) << "\"6x000\" reads 6, and \"-----\" keeps it";
    EXPECT_EQ(fiveK, 4) << "the entry without digits keeps the 5000 before it";
}

TEST(ScoreTableTest, MissingCorruptAndTruncatedFilesLeaveTheTableAsItWas)
{
    HighScoreTable table;
    EXPECT_EQ(table.read("score_nowhere.dat"), -1);
    EXPECT_TRUE(table.empty());

    HighScoreTable good;
    fill(good, kTen);
    ASSERT_EQ(good.write("score_good.dat"), 0);
    const Bytes bytes = readFile("score_good.dat");
    const std::vector<Layout> at = layoutOf(kTen);

    auto rejected = [&](const Bytes& file, const std::string& what) {
        writeFile("score_bad.dat", file);
        HighScoreTable t;
        t.insert(new Score("KEPT", 1));
        EXPECT_EQ(t.read("score_bad.dat"), -1) << what;
        ASSERT_EQ(t.size(), 1) << what;
        EXPECT_EQ(t.at(0)->getName(), "KEPT");
    };
    auto patched = [&](size_t offset, unsigned char value) {
        Bytes b = bytes;
        b[offset] = value;
        return b;
    };
    rejected(Bytes(), "empty file");
    rejected(Bytes(bytes.begin(), bytes.begin() + kHead), "head only");
    rejected(patched(at[0].nameCount, 0x40), "name count below 'A'");
    rejected(patched(at[4].nameCount, 0x80), "name count from 0x80 up");
    rejected(patched(at[9].nameCount, 0xFF), "last name count 0xFF");
    rejected(patched(at[3].digitsCount, 0x35), "digits count below '6'");
    rejected(patched(at[9].digitsCount, 0x90), "last digits count from 0x80 up");
    // Every cut before the tenth entry's last digit.
    for (size_t cut : {at[0].nameCount + 2, at[0].digitsCount, at[5].tailEnd - 1, at[9].nameCount + 1,
                       at[9].digitsCount, at[9].tailEnd - kTail - 1})
        rejected(Bytes(bytes.begin(), bytes.begin() + cut), "cut at " + std::to_string(cut));
    // Random garbage of every length around the file's.
    std::srand(3);
    for (size_t size : {size_t(100), size_t(5000), size_t(140000)}) {
        Bytes noise(size);
        for (unsigned char& c : noise) c = static_cast<unsigned char>(std::rand() & 0xFF);
        // Count bytes that would be valid everywhere give a file that decodes; make the first one bad.
        if (size > kHead) noise[kHead] = 0x90;
        rejected(noise, "noise of " + std::to_string(size));
    }

    // A file that stops anywhere in the tenth entry's tail reads like the whole one.
    for (size_t cut : {at[9].tailEnd - kTail, at[9].tailEnd - 1, at[9].tailEnd}) {
        writeFile("score_short.dat", Bytes(bytes.begin(), bytes.begin() + cut));
        HighScoreTable t;
        ASSERT_EQ(t.read("score_short.dat"), 0) << cut;
        expectSame(entriesOf(t), kTen);
    }
}

TEST(ScoreTableTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporary)
{
    HighScoreTable old;
    fill(old, kTen);
    ASSERT_EQ(old.write("score_kept.dat"), 0);
    const Bytes before = readFile("score_kept.dat");

    HighScoreTable table;
    table.fillDefault();
    // A folder where the temporary file would go: it cannot be made (whoever runs the test).
    std::filesystem::remove_all("score_kept.dat.tmp");
    ASSERT_EQ(mkdir("score_kept.dat.tmp", 0755), 0);
    EXPECT_EQ(table.write("score_kept.dat"), -1);
    EXPECT_EQ(readFile("score_kept.dat"), before);
    std::filesystem::remove_all("score_kept.dat.tmp");

    // A target that cannot be replaced: a folder with something in it. The temporary goes.
    std::filesystem::remove_all("score_folder.dat");
    ASSERT_TRUE(std::filesystem::create_directories("score_folder.dat/inside"));
    EXPECT_EQ(table.write("score_folder.dat"), -1);
    EXPECT_FALSE(std::filesystem::exists("score_folder.dat.tmp"));
    EXPECT_TRUE(std::filesystem::is_directory("score_folder.dat/inside"));
    std::filesystem::remove_all("score_folder.dat");

    // A path through a plain file.
    testsupport::writeText("score_plain", "x");
    EXPECT_EQ(table.write("score_plain/scores.dat"), -1);
    EXPECT_EQ(testsupport::readText("score_plain"), "x");
}
