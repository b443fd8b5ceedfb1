// `talvik-exam --list` run as a script would run it, on a small folder of items.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "exam_program.h"
#include "qti_test_items.h"

namespace {
using talvik::qti::testing::TempDir;

using talvik::exam::testing::ExamRun;
ExamRun run(const std::string& args) { return talvik::exam::testing::runExam(args); }

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
        const ExamRun r = run(row.args);
        EXPECT_EQ(r.status, row.status);
        EXPECT_EQ(r.out, row.out);
    }
}

}  // namespace
