// The session file: every field comes back as it was saved, and a file that was cut short
// or has any single bit changed is refused with a message naming the file, never half-read.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <functional>
#include <limits>
#include <optional>
#include <random>

#include "qti_test_items.h"
#include "session/AtomicFile.h"
#include "session/SessionFile.h"
#include "session/SessionStore.h"
#include "session_test_support.h"

namespace talvik::exam {
namespace {
using qti::testing::TempDir;

SessionState everyFieldSet() {
    SessionState s;
    s.testPath = "/srv/eksamid/Füüsika 9. klass/test.xml";
    s.testIdentifier = "füüsika-9";
    s.candidate = "Tõnu Põder 🙂";
    s.className = "9B";
    s.seed = 4294967295u;
    s.current = 7;
    s.timeLimitMs = 2'400'000;
    s.extraTimeMs = 600'000;
    s.elapsedMs = 1'234'567;
    s.handedIn = true;
    s.handedInAtMs = 1'796'566'862'123;
    s.revision = 4711;
    s.items = {{"q1", {2, 0, 1}, {"B"}, true},
               {"q2 \"quoted\" \\ back\nslash\t", {0, 1, 2, 3}, {"P3", "P2"}, false},
               {"ülesanne-3", {}, {}, true}};
    return s;
}

SessionState extremes() {
    SessionState s;
    s.seed = 0;
    s.current = std::numeric_limits<std::int32_t>::min();
    s.timeLimitMs = std::numeric_limits<std::int64_t>::max();
    s.extraTimeMs = std::numeric_limits<std::int64_t>::min();
    s.elapsedMs = -1;
    s.handedInAtMs = std::numeric_limits<std::int64_t>::min();
    s.revision = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    s.items = {{"x", {4294967295u, 0}, {}, false}};
    return s;
}

SessionState notUtf8() {
    SessionState s;
    s.testPath = "/mnt/k\xe4ytt\xe4j\xe4/test.xml";  // Latin-1 from an old file system
    s.candidate = std::string("a\0b", 3);
    s.className = "\xff\xfe";
    s.items = {{"\xc3", {0}, {"\x80", "ok"}, false}};
    s.revision = std::numeric_limits<std::uint64_t>::max();
    return s;
}

TEST(SessionFile, EveryFieldComesBackAsSaved) {
    struct Case {
        const char* name;
        SessionState state;
    };
    const std::vector<Case> cases = {
        {"a new session", SessionState{}},
        {"every field set, text beyond ASCII", everyFieldSet()},
        {"the ends of every number's range", extremes()},
        {"text that is not UTF-8 and a revision beyond a JSON integer", notUtf8()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SessionState back = parseSession(serializeSession(c.state), "s.json");
        EXPECT_EQ(testing::stateDifference(back, c.state), "");
    }
}

// A file as a save writes it, with a session part-way through.
std::string realFile(const TempDir& dir) {
    std::optional<ExamSession> session;
    session.emplace(testing::killLoopTest(), 5u);
    std::mt19937 rng(99);
    for (int i = 0; i < 300; ++i) testing::randomChange(*session, rng);
    SessionStore store(dir.path().string());
    store.save(session->state());
    return readWholeFile(store.currentPath());
}

TEST(SessionFile, EveryTruncationAndEverySingleBitFlipIsRefused) {
    const TempDir dir;
    const std::string bytes = realFile(dir);
    ASSERT_GT(bytes.size(), 1000u);
    ASSERT_NO_THROW(parseSession(bytes, "f.json"));
    const auto refusal = [](std::string_view file) -> std::string {
        try {
            parseSession(file, "f.json");
        } catch (const SessionFileError& e) {
            return e.what();
        }
        return "read";
    };
    std::size_t cutsRefused = 0, flipsRefused = 0;
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        const std::string message = refusal(std::string_view(bytes).substr(0, n));
        const std::string expected = n == 0 ? "f.json: the file is empty" : "f.json: truncated: ";
        if (message.compare(0, expected.size(), expected) == 0) ++cutsRefused;
        else ADD_FAILURE() << "cut at " << n << ": " << message;
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        for (int bit = 0; bit < 8; ++bit) {
            std::string flipped = bytes;
            flipped[i] = static_cast<char>(flipped[i] ^ (1 << bit));
            const std::string message = refusal(flipped);
            if (message.rfind("f.json: ", 0) == 0) ++flipsRefused;
            else ADD_FAILURE() << "bit " << bit << " of byte " << i << " flipped: " << message;
        }
    }
    EXPECT_EQ(cutsRefused, bytes.size());
    EXPECT_EQ(flipsRefused, bytes.size() * 8);
}

// A file whose checksum is right but whose content this program did not write.
std::string withFirstLine(const std::string& content, int version = 1) {
    const std::string sha =
        QCryptographicHash::hash(QByteArray::fromStdString(content), QCryptographicHash::Sha256).toHex().toStdString();
    return "TALVIK-EXAM-SESSION " + std::to_string(version) + " " + std::to_string(content.size()) + " " + sha + "\n" +
           content;
}

std::string edited(const std::function<void(QJsonObject&)>& edit) {
    const std::string bytes = serializeSession(everyFieldSet());
    QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(bytes.substr(bytes.find('\n') + 1))).object();
    edit(o);
    return withFirstLine(QJsonDocument(o).toJson().toStdString());
}

TEST(SessionFile, FirstLineGivesFormatVersionLengthAndSha256AndTheRestIsChecked) {
    const std::string good = serializeSession(everyFieldSet());
    const std::string content = good.substr(good.find('\n') + 1);
    const std::string line = good.substr(0, good.find('\n'));
    EXPECT_EQ(good, withFirstLine(content));
    // The content is JSON a person can read, with its text as UTF-8.
    EXPECT_NE(content.find("\"candidate\": \"Tõnu Põder 🙂\""), std::string::npos);
    struct Case {
        const char* name;
        std::string bytes;
        std::string message;  // after "s.json: "
    };
    const std::vector<Case> cases = {
        {"empty", "", "the file is empty"},
        {"something else", "PK\x03\x04 a zip file\n", "not a talvik-exam session file"},
        {"a later format", withFirstLine(content, 2),
         "format version 2 is not supported (this program reads version 1)"},
        {"no first line", "TALVIK-EXAM-SESSION 1 12", "truncated: the file ends inside its first line, at byte 24"},
        {"first line without checksum", "TALVIK-EXAM-SESSION 1 2\n{}", "damaged: the first line is not valid"},
        {"length with a leading zero", "TALVIK-EXAM-SESSION 1 0" + line.substr(22) + "\n" + content,
         "damaged: the first line is not valid"},
        {"checksum in capitals",
         line.substr(0, line.size() - 64) +
             QByteArray::fromStdString(line.substr(line.size() - 64)).toUpper().toStdString() + "\n" + content,
         "damaged: the first line is not valid"},
        {"one byte more", good + "x",
         "damaged: the content is longer than the first line says (" + std::to_string(content.size() + 1) + " of " +
             std::to_string(content.size()) + " bytes)"},
        {"half the content", good.substr(0, good.size() - content.size() / 2),
         "truncated: the content ends after " + std::to_string(content.size() - content.size() / 2) + " of its " +
             std::to_string(content.size()) + " bytes (file offset " +
             std::to_string(good.size() - content.size() / 2) + ")"},
        {"one byte changed", good.substr(0, good.size() - 2) + "]\n",
         "damaged: the checksum does not match the content"},
        {"not an object", withFirstLine("[1, 2]"), "the content is not an object"},
        {"a missing field", edited([](QJsonObject& o) { o.remove("seed"); }), "\"seed\" is missing"},
        {"a negative seed", edited([](QJsonObject& o) { o["seed"] = -1; }),
         "\"seed\" is not a whole number from 0 to 4294967295"},
        {"a seed with a fraction", edited([](QJsonObject& o) { o["seed"] = 1.5; }),
         "\"seed\" is not a whole number from 0 to 4294967295"},
        {"current beyond 32 bits", edited([](QJsonObject& o) { o["current"] = qint64(1) << 31; }),
         "\"current\" is not a whole number from -2147483648 to 2147483647"},
        {"handed in as text", edited([](QJsonObject& o) { o["handedIn"] = "yes"; }),
         "\"handedIn\" is not true or false"},
        {"candidate as a number", edited([](QJsonObject& o) { o["candidate"] = 5; }), "\"candidate\" is not text"},
        {"items as an object", edited([](QJsonObject& o) { o["items"] = QJsonObject(); }), "\"items\" is not a list"},
        {"an order entry as text", edited([](QJsonObject& o) {
             QJsonArray items = o["items"].toArray();
             QJsonObject second = items[1].toObject();
             second["order"] = QJsonArray{0, "x"};
             items[1] = second;
             o["items"] = items;
         }),
         "item 2: \"order\" entry is not a whole number from 0 to 4294967295"},
        {"a revision as words", edited([](QJsonObject& o) { o["revision"] = "many"; }),
         "\"revision\" is not a whole number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            parseSession(c.bytes, "s.json");
            ADD_FAILURE() << "accepted";
        } catch (const SessionFileError& e) {
            EXPECT_EQ(std::string(e.what()), "s.json: " + c.message);
        }
    }
    // Malformed JSON behind a right checksum: the message gives the byte in the file.
    try {
        parseSession(withFirstLine("{\"a\": }"), "s.json");
        ADD_FAILURE() << "accepted";
    } catch (const SessionFileError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("s.json: malformed content at byte ", 0), 0u) << e.what();
    }
}

}  // namespace
}  // namespace talvik::exam
