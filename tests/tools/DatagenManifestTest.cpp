#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "DatagenRun.h"
#include "support/Files.h"

namespace fs = std::filesystem;

namespace {

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

}  // namespace

TEST(DatagenManifest, CommentsBlankLinesAndIdenticalDuplicatesAreAccepted)
{
    std::string folder = datagentest::freshFolder("accepted");
    datagentest::RunResult r = datagentest::runGenerator(folder, {
                                                                     "# a comment line\n"
                                                                     "\n"
                                                                     "   \t\n"
                                                                     "image one.pcx 32 32   # trailing comment\n"
                                                                     "wav one.wav 20\r\n",
                                                                     "image one.pcx 32 32\n"
                                                                     "sprite two.bmp 16 16\n",
                                                                 });
    ASSERT_EQ(0, r.exitCode) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    EXPECT_TRUE(contains(r.out, "3 files, 3 written")) << r.out;
    EXPECT_TRUE(fs::exists(folder + "/out/one.pcx"));
    EXPECT_TRUE(fs::exists(folder + "/out/one.wav"));
    EXPECT_TRUE(fs::exists(folder + "/out/two.bmp"));
}

TEST(DatagenManifest, EveryBadLineIsReportedWithItsPlaceAndNothingIsWritten)
{
    std::string folder = datagentest::freshFolder("rejected");
    datagentest::RunResult r = datagentest::runGenerator(folder, {
                                                                     "image fine.pcx 32 32\n"
                                                                     "picture x.pcx 32 32\n"
                                                                     "image y.png 32 32\n"
                                                                     "image z.pcx 32\n"
                                                                     "glyph g.bmp 32 32 #\n"
                                                                     "glyph h.bmp 32 32 ab\n"
                                                                     "wav w.wav 0\n"
                                                                     "ogg o.ogg 2 quad\n"
                                                                     "image ../up.pcx 32 32\n"
                                                                     "image w.pcx -4 32\n",
                                                                     "image fine.pcx 64 32\n",
                                                                 });
    EXPECT_NE(0, r.exitCode);
    const std::string m1 = folder + "/manifest1.txt:";
    for (int line = 2; line <= 10; ++line)
        EXPECT_TRUE(contains(r.err, m1 + std::to_string(line) + ": error:")) << "line " << line << "\n" << r.err;
    EXPECT_FALSE(contains(r.err, m1 + "1:"));
    EXPECT_TRUE(contains(r.err, folder + "/manifest2.txt:1: error: fine.pcx is declared differently at " + m1 + "1"))
        << r.err;
    EXPECT_TRUE(contains(r.err, "given as 35")) << "the '#' line explains how to give '#'";
    EXPECT_FALSE(fs::exists(folder + "/out/fine.pcx"));
}

TEST(DatagenManifest, MissingManifestFails)
{
    std::string folder = datagentest::freshFolder("missing");
    std::string command = "../../kovo_datagen '" + folder + "/out' '" + folder + "/nothing.txt' 2>/dev/null";
    int status = std::system(command.c_str());
    EXPECT_NE(0, status);
}

TEST(DatagenManifest, OddSizesWarnButAreWritten)
{
    std::string folder = datagentest::freshFolder("warned");
    datagentest::RunResult r = datagentest::runGenerator(folder, {"image wide.pcx 48 30\nimage also.jpeg 32 32\n"});
    ASSERT_EQ(0, r.exitCode) << r.err;
    EXPECT_TRUE(contains(r.err, "manifest1.txt:1: warning: wide.pcx is 48x30, not a power of two")) << r.err;
    EXPECT_TRUE(contains(r.err, "manifest1.txt:2: warning: 'also.jpeg': the game loads only")) << r.err;
    EXPECT_EQ(48u, datagentest::le16(testsupport::readFile(folder + "/out/wide.pcx"), 8));
    std::vector<unsigned char> jpeg = testsupport::readFile(folder + "/out/also.jpeg");
    ASSERT_GE(jpeg.size(), 2u);
    EXPECT_EQ(0xD8, jpeg[1]);
}

TEST(DatagenManifest, UnchangedFilesAreLeftAloneAndChangedOnesRewritten)
{
    std::string folder = datagentest::freshFolder("rewrite");
    const std::string manifest = "image keep.pcx 32 32\nwav keep.wav 50\nogg keep.ogg 0.5 mono\n";
    ASSERT_EQ(0, datagentest::runGenerator(folder, {manifest}).exitCode);

    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    for (const char* name : {"keep.pcx", "keep.wav", "keep.ogg"})
        fs::last_write_time(folder + "/out/" + name, old);

    datagentest::RunResult again = datagentest::runGenerator(folder, {manifest});
    ASSERT_EQ(0, again.exitCode) << again.err;
    EXPECT_TRUE(contains(again.out, "3 files, 0 written")) << again.out;
    for (const char* name : {"keep.pcx", "keep.wav", "keep.ogg"})
        EXPECT_EQ(old, fs::last_write_time(folder + "/out/" + name)) << name;

    // A damaged file is made again; so is one whose line changed.
    testsupport::writeText(folder + "/out/keep.pcx", "garbage");
    datagentest::RunResult changed =
        datagentest::runGenerator(folder, {"image keep.pcx 32 32\nwav keep.wav 50\nogg keep.ogg 0.5 stereo\n"});
    ASSERT_EQ(0, changed.exitCode) << changed.err;
    EXPECT_TRUE(contains(changed.out, "3 files, 2 written")) << changed.out;
    EXPECT_EQ(old, fs::last_write_time(folder + "/out/keep.wav"));
    EXPECT_EQ(2, testsupport::readFile(folder + "/out/keep.ogg").at(39)) << "now stereo";
    EXPECT_EQ(0x0A, testsupport::readFile(folder + "/out/keep.pcx").at(0));
    EXPECT_FALSE(fs::exists(folder + "/out/keep.pcx.part"));
}
