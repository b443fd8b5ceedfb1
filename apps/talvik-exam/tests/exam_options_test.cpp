// The exam program's command line, run as a script would run it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include "exam_program.h"
#include "qti_test_items.h"

namespace {
using talvik::qti::testing::TempDir;

using talvik::exam::testing::ExamRun;
ExamRun run(const std::string& args) { return talvik::exam::testing::runExam(args); }

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
        const ExamRun r = run(row.args);
        EXPECT_EQ(r.status, row.status);
        EXPECT_NE(r.out.find(row.says), std::string::npos) << r.out;
    }
    EXPECT_EQ(pngSize(shot), (std::pair<std::uint32_t, std::uint32_t>{1000, 600}));
}

}  // namespace
