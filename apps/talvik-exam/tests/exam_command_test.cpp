// The exam program's command line run as a script would run it: `--list` on a small
// folder of items, options it refuses, and a screenshot of the size asked for.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "exam_program.h"
#include "qti_test_items.h"

namespace {
using talvik::exam::testing::runExam;
using talvik::qti::testing::TempDir;

TEST(ExamList, PrintsOneJsonLinePerItemInFileNameOrder) {
    TempDir dir;
    dir.write("c_primes.xml", talvik::qti::testing::kPrimes30);
    dir.write("a_capital.xml", talvik::qti::testing::kCapital21);
    dir.write("b_name.xml", talvik::qti::testing::kName22);
    dir.write("imsmanifest.xml", "<manifest/>");
    dir.write("notes.txt", "not an item");
    const std::string missing = (dir.path() / "missing").string();
    struct Row {
        std::string args;
        int status;
        std::string out;
    };
    const std::vector<Row> rows = {
        {"--list '" + dir.path().string() + "'", 0,
         "{\"identifier\":\"capital\",\"title\":\"Capital of Estonia\",\"choices\":3,\"maxChoices\":1,\"delivered\":true}\n"
         "{\"identifier\":\"name\",\"title\":\"Your name\",\"delivered\":false,\"reason\":\"not supported: "
         "textEntryInteraction\"}\n"
         "{\"identifier\":\"primes\",\"title\":\"Prime numbers\",\"choices\":4,\"maxChoices\":0,\"delivered\":true}\n"},
        {"--list '" + missing + "'", 1, "talvik-exam: " + missing + ": no such file or folder\n"},
        {"--list", 2, "usage: talvik-exam --list EXAM\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args);
        const auto r = runExam(row.args);
        EXPECT_EQ(r.status, row.status);
        EXPECT_EQ(r.out, row.out);
    }
}

// Width and height from a PNG file's header (big-endian, after the 8-byte signature and
// the IHDR chunk's length and type); 0 x 0 for anything else.
std::pair<std::uint32_t, std::uint32_t> pngSize(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    unsigned char h[24] = {};
    if (!in.read(reinterpret_cast<char*>(h), sizeof h) || h[1] != 'P' || h[2] != 'N' || h[3] != 'G') return {0, 0};
    const auto be = [&](int at) {
        return std::uint32_t(h[at]) << 24 | std::uint32_t(h[at + 1]) << 16 | std::uint32_t(h[at + 2]) << 8 | h[at + 3];
    };
    return {be(16), be(20)};
}

TEST(ExamOptions, BadOptionsAreReportedAndAScreenshotTakesTheSize) {
    TempDir dir;
    const std::string item = dir.write("capital.xml", talvik::qti::testing::kCapital21).string();
    const std::string shot = (dir.path() / "shot.png").string();
    struct Row {
        std::string args;
        int status;
        std::string says;
    };
    const Row rows[] = {
        {"'" + item + "' --size 12", 2, "--size takes WIDTHxHEIGHT"},
        {"'" + item + "' --minutes soon", 2, "--minutes takes a number of minutes"},
        {"'" + item + "' --extra-minutes -5", 2, "--extra-minutes takes a number of minutes"},
        {"'" + item + "' '" + item + "'", 2, "one EXAM at most"},
        {"'" + (dir.path() / "missing").string() + "'", 1, "no such file or folder"},
        {"'" + item + "' --candidate 'Mari Tamm' --class 10B --minutes 30 --size 1000x600 --screenshot '" + shot + "'", 0,
         "wrote " + shot},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args);
        const auto r = runExam(row.args);
        EXPECT_EQ(r.status, row.status);
        EXPECT_NE(r.out.find(row.says), std::string::npos) << r.out;
    }
    EXPECT_EQ(pngSize(shot), (std::pair<std::uint32_t, std::uint32_t>{1000, 600}));
}

}  // namespace
