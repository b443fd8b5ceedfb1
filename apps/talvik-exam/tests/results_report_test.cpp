// The results report: scores as QTI's standard templates give them, worked out by hand;
// the assessmentResult document read back with an XML reader; the readable summary; and
// `talvik-exam --report` run as an invigilator would run it.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>

#include "exam_program.h"
#include "qti/QtiReader.h"
#include "qti_test_items.h"
#include "report_reader.h"
#include "session/AtomicFile.h"
#include "session/ResultsReport.h"
#include "session/SessionStore.h"

namespace talvik::exam {
namespace {
namespace fs = std::filesystem;
using qti::testing::TempDir;

// A mapping with both bounds and a negative default.
const char* const kBounded = R"(<assessmentItem xmlns="http://www.imsglobal.org/xsd/imsqti_v2p2"
    identifier="bounded" title="Bounded">
  <responseDeclaration identifier="RESPONSE" cardinality="multiple" baseType="identifier">
    <mapping lowerBound="0" upperBound="2" defaultValue="-0.5">
      <mapEntry mapKey="A" mappedValue="1.5"/>
      <mapEntry mapKey="B" mappedValue="1"/>
      <mapEntry mapKey="C" mappedValue="-2"/>
    </mapping>
  </responseDeclaration>
  <itemBody><choiceInteraction responseIdentifier="RESPONSE" maxChoices="0">
    <simpleChoice identifier="A">a</simpleChoice><simpleChoice identifier="B">b</simpleChoice>
    <simpleChoice identifier="C">c</simpleChoice><simpleChoice identifier="D">d</simpleChoice>
  </choiceInteraction></itemBody>
</assessmentItem>)";

// Neither a correct response nor a mapping: a survey question.
const char* const kOpinion = R"(<assessmentItem xmlns="http://www.imsglobal.org/xsd/imsqti_v2p2"
    identifier="opinion" title="Opinion">
  <responseDeclaration identifier="RESPONSE" cardinality="single" baseType="identifier"/>
  <itemBody><choiceInteraction responseIdentifier="RESPONSE" maxChoices="1">
    <simpleChoice identifier="X">yes</simpleChoice><simpleChoice identifier="Y">no</simpleChoice>
  </choiceInteraction></itemBody>
</assessmentItem>)";

// A lower bound above what an answer maps to, and no default (QTI 3.0 spelling).
const char* const kFloor = R"(<qti-assessment-item xmlns="http://www.imsglobal.org/xsd/imsqtiasi_v3p0"
    identifier="floor" title="Floor">
  <qti-response-declaration identifier="RESPONSE" cardinality="single" base-type="identifier">
    <qti-mapping lower-bound="1"><qti-map-entry map-key="A" mapped-value="3"/></qti-mapping>
  </qti-response-declaration>
  <qti-item-body><qti-choice-interaction response-identifier="RESPONSE" max-choices="1">
    <qti-simple-choice identifier="A">a</qti-simple-choice><qti-simple-choice identifier="B">b</qti-simple-choice>
  </qti-choice-interaction></qti-item-body>
</qti-assessment-item>)";

std::map<std::string, qti::Item> items() {
    std::map<std::string, qti::Item> out;
    for (const char* xml : {qti::testing::kCapital21, qti::testing::kPrimes30, kBounded, kOpinion, kFloor}) {
        qti::Item item = qti::readItemText(xml, "/items/x.xml");
        EXPECT_TRUE(item.delivered) << item.reason;
        out[item.identifier] = std::move(item);
    }
    return out;
}

using Ids = std::vector<std::string>;

TEST(ResultsReport, ScoresAsTheStandardTemplatesGiveThem) {
    const auto all = items();
    struct Case {
        const char* item;
        Ids response;
        std::optional<double> score;
    };
    const std::vector<Case> cases = {
        // match_correct, single
        {"capital", {"B"}, 1.0},
        {"capital", {"A"}, 0.0},
        {"capital", {}, 0.0},
        // map_response (the item also gives a correct response; its mapping decides)
        {"primes", {"P3", "P2"}, 1.0},
        {"primes", {"P2"}, 0.5},
        {"primes", {"P2", "N4"}, -0.5},  // N4 unmapped: the default -1, no bounds
        {"primes", {"NONE"}, -1.0},
        {"primes", {}, 0.0},  // unanswered: 0, not the default
        // map_response with bounds 0..2 and default -0.5
        {"bounded", {"A", "B"}, 2.0},  // 2.5 capped
        {"bounded", {"C"}, 0.0},       // -2 raised to 0
        {"bounded", {"A", "D"}, 1.0},  // 1.5 - 0.5
        {"bounded", {"A", "A"}, 1.5},  // a key counts once
        // lower bound 1, no default
        {"floor", {"A"}, 3.0},
        {"floor", {"B"}, 1.0},  // unmapped 0, raised to 1
        {"floor", {}, 0.0},     // unanswered stays 0 despite the bound
        // not scored
        {"opinion", {"X"}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.item) + " " + ::testing::PrintToString(c.response));
        EXPECT_EQ(itemScore(all.at(c.item), c.response), c.score);
    }
    const std::vector<std::pair<const char*, std::optional<double>>> maxima = {
        {"capital", 1.0}, {"primes", 1.0}, {"bounded", 2.0}, {"floor", 3.0}, {"opinion", std::nullopt}};
    for (const auto& [id, max] : maxima) EXPECT_EQ(itemMaxScore(all.at(id)), max) << id;
}

constexpr std::int64_t kHandedIn = 1'796'566'951'000;  // 2026-12-06 14:22:31 UTC

ExamSession sampleSession() {
    auto all = items();
    qti::Test test;
    test.identifier = "sample";
    test.title = "Sample test";
    qti::Section section;
    for (const char* id : {"capital", "primes", "bounded", "opinion", "floor"}) section.items.push_back(all.at(id));
    test.sections.push_back(std::move(section));
    SessionState s;
    s.testIdentifier = "sample";
    s.candidate = "Tõnu Põder";
    s.className = "9B";
    s.elapsedMs = 754'000;
    s.timeLimitMs = 2'400'000;
    s.extraTimeMs = 600'000;
    s.handedIn = true;
    s.handedInAtMs = kHandedIn;
    s.items = {{"capital", {2, 0, 1}, {"B"}, false},
               {"primes", {1, 0, 2, 3}, {"P3", "P2"}, true},
               {"bounded", {0, 1, 2, 3}, {"A", "D"}, false},
               {"opinion", {1, 0}, {"X"}, false},
               {"floor", {0, 1}, {}, false}};
    return ExamSession(std::move(test), std::move(s));
}

using testing::readReport;
using testing::ReportRead;

TEST(ResultsReport, AssessmentResultReadsBackWithEveryItemAndScore) {
    const TempDir dir;
    const std::string xml = writeReport(sampleSession(), (dir.path() / "r.xml").string(), 0);
    EXPECT_EQ(readWholeFile((dir.path() / "r.xml").string()), xml);
    const ReportRead report = readReport(xml);
    ASSERT_EQ(report.error, "");
    EXPECT_EQ(report.rootNamespace, "http://www.imsglobal.org/xsd/imsqti_result_v2p2");
    EXPECT_EQ(report.sourcedId, "Tõnu Põder");
    EXPECT_EQ(report.test,
              (std::map<std::string, std::string>{{"identifier", "sample"}, {"datestamp", "2026-12-06T14:22:31Z"}}));
    EXPECT_EQ(report.testScore, "3");  // 1 + 1 + 1 + 0 + 0, the opinion not scored
    struct Expected {
        std::string identifier;
        std::string cardinality;
        Ids correct;
        Ids candidate;
        std::optional<std::string> score;
    };
    const std::vector<Expected> expected = {
        {"capital", "single", {"B"}, {"B"}, "1"},
        {"primes", "multiple", {"P2", "P3"}, {"P3", "P2"}, "1"},
        {"bounded", "multiple", {}, {"A", "D"}, "1"},
        {"opinion", "single", {}, {"X"}, std::nullopt},
        {"floor", "single", {}, {}, "0"},
    };
    ASSERT_EQ(report.items.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
        const Expected& e = expected[k];
        SCOPED_TRACE(e.identifier);
        const auto& [id, item] = report.items[k];
        EXPECT_EQ(id, e.identifier);
        EXPECT_EQ(item.attributes.at("sequenceIndex"), std::to_string(k + 1));
        EXPECT_EQ(item.attributes.at("sessionStatus"), "final");
        EXPECT_EQ(item.attributes.at("datestamp"), "2026-12-06T14:22:31Z");
        EXPECT_EQ(item.cardinality, e.cardinality);
        EXPECT_EQ(item.correct, e.correct);
        EXPECT_TRUE(item.hasCandidate);
        EXPECT_EQ(item.candidate, e.candidate);
        EXPECT_EQ(item.score, e.score);
    }
}

TEST(ResultsReport, SummaryNamesEachAnswerByTheLettersTheCandidateSaw) {
    EXPECT_EQ(resultsSummary(sampleSession(), 0),
              "Results: Sample test (sample)\n"
              "Candidate: Tõnu Põder, class 9B\n"
              "Handed in: 2026-12-06 14:22:31 UTC\n"
              "Time used: 12:34 of 40:00 and 10:00 extra\n"
              "\n"
              "1. Capital of Estonia\n"
              "   Answer C (B). Score 1 of 1.\n"
              "2. Prime numbers [flagged]\n"
              "   Answer A, B (P3, P2). Score 1 of 1.\n"
              "3. Bounded\n"
              "   Answer A, D (A, D). Score 1 of 2.\n"
              "4. Opinion\n"
              "   Answer B (X). Not scored.\n"
              "5. Floor\n"
              "   Not answered. Score 0 of 3.\n"
              "\n"
              "Answered 4 of 5, flagged 1.\n"
              "Total score: 3 of 7.\n");
}

TEST(ResultsReport, SummaryGoesBesideTheReport) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"out/results.xml", "out/results.txt"}, {"results", "results.txt"}, {"r.txt", "r.txt.txt"},
        {"dir.v2/report", "dir.v2/report.txt"}, {".hidden", ".hidden.txt"},
    };
    for (const auto& [out, summary] : cases) EXPECT_EQ(summaryPath(out), summary) << out;
}

TEST(ResultsReport, ReportCommandWritesBothFilesFromASavedSession) {
    const TempDir dir;
    const fs::path exam = dir.path() / "exam";
    dir.write("exam/a_capital.xml", qti::testing::kCapital21);
    dir.write("exam/b_primes.xml", qti::testing::kPrimes30);
    ExamSession session(qti::loadTest(exam.string()), 3u);
    SessionState state = session.state();
    state.testPath = exam.string();
    state.candidate = "Mari";
    state.handedIn = true;
    state.handedInAtMs = kHandedIn;
    state.items[0].response = {"B"};   // capital: right, 1
    state.items[1].response = {"P2"};  // primes: mapped 0.5
    const fs::path sessionDir = dir.path() / "session";
    SessionStore(sessionDir.string()).save(state);
    const std::string sessionFile = (sessionDir / "session.json").string();
    dir.write("damaged/session.json",
              readWholeFile(sessionFile).substr(0, 200) + "x" + readWholeFile(sessionFile).substr(201));
    fs::create_directories(dir.path() / "empty");
    SessionState moved = state;
    moved.testPath = (dir.path() / "gone").string();
    SessionStore((dir.path() / "moved").string()).save(moved);

    const std::string d = dir.path().string();
    struct Case {
        const char* name;
        std::string args;
        int status;
        std::string out;     // DIR for the temporary folder
        std::string report;  // written there, with the total score 1.5
    };
    const std::vector<Case> cases = {
        {"the session's folder", "'" + d + "/session' '" + d + "/r1.xml'", 0, "Wrote DIR/r1.xml and DIR/r1.txt\n",
         d + "/r1.xml"},
        {"the session file", "'" + sessionFile + "' '" + d + "/r2'", 0, "Wrote DIR/r2 and DIR/r2.txt\n", d + "/r2"},
        {"a test that moved, given again", "'" + d + "/moved' '" + d + "/r3.xml' '" + exam.string() + "'", 0,
         "Wrote DIR/r3.xml and DIR/r3.txt\n", d + "/r3.xml"},
        {"no such session", "'" + d + "/nothing.json' '" + d + "/x.xml'", 3,
         "talvik-exam: DIR/nothing.json: cannot be read: No such file or directory\n", ""},
        {"a damaged session", "'" + d + "/damaged/session.json' '" + d + "/x.xml'", 3,
         "talvik-exam: DIR/damaged/session.json: damaged: the checksum does not match the content\n", ""},
        {"a folder without a session", "'" + d + "/empty' '" + d + "/x.xml'", 3,
         "talvik-exam: no readable session in DIR/empty\n", ""},
        {"a test that moved", "'" + d + "/moved' '" + d + "/x.xml'", 4,
         "talvik-exam: DIR/gone: no such file or folder\n", ""},
        {"a report folder that is not there", "'" + d + "/session' '" + d + "/no/r.xml'", 5,
         "talvik-exam: Cannot save DIR/no/r.xml: cannot create a new file in DIR/no: No such file or directory\n", ""},
        {"no output named", "'" + d + "/session'", 2,
         "usage: talvik-exam --report SESSION OUT [EXAM]\n"
         "  SESSION  a session file or the folder it is in\n"
         "  OUT      the results report to write (QTI XML); the summary goes beside it as .txt\n"
         "  EXAM     the test, where it is not where the session says\n",
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::ExamRun r = testing::runExam("--report " + c.args);
        for (std::size_t at; (at = r.out.find(d)) != std::string::npos;) r.out.replace(at, d.size(), "DIR");
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.out, c.out);
        if (c.report.empty()) continue;
        const ReportRead report = readReport(readWholeFile(c.report));
        EXPECT_EQ(report.error, "");
        EXPECT_EQ(report.sourcedId, "Mari");
        EXPECT_EQ(report.testScore, "1.5");
        EXPECT_EQ(report.items.size(), 2u);
        EXPECT_NE(readWholeFile(summaryPath(c.report)).find("Total score: 1.5 of 2.\n"), std::string::npos);
    }
    // The reports and their summaries, nothing half-written, nothing where the command failed.
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.path())) names.insert(e.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"damaged", "empty", "exam", "moved", "r1.txt", "r1.xml", "r2", "r2.txt",
                                            "r3.txt", "r3.xml", "session"}));
}

}  // namespace
}  // namespace talvik::exam
