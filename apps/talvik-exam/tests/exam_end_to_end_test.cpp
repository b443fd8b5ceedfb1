// The whole program on the sample test of 40 items, as a candidate sits it: answers with
// the mouse on the sheet, the keys and the strip, flags, the review, the help, closing and
// coming back, a damaged save, and the time running out, after which results.xml must
// hold the scores the items' answer keys give.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "AnswerSheet.h"
#include "ExamApp.h"
#include "ExamWindow.h"
#include "flow/HelpOverlay.h"
#include "flow/ReceiptView.h"
#include "flow/ReviewDialog.h"
#include "flow/TimeKeeper.h"
#include "flow_fixture.h"
#include "hosts/qt/widgets/VelOptionToolBar.h"
#include "hosts/qt/widgets/vltInfoBox.h"
#include "hosts/qt/widgets/vltSwitch.h"
#include "report_reader.h"
#include "screen_fixture.h"
#include "session/Autosaver.h"
#include "session/ExamSession.h"
#include "session/SessionStore.h"
#include "session_test_support.h"

namespace talvik::exam {
namespace {

constexpr std::int64_t kLimitMs = 45 * 60 * 1000;  // the sample test's timeLimits: 2700 s
constexpr std::int64_t kEpoch = 1'796'554'800'000;   // 2026-12-06 11:00 UTC

using testing::click;
using testing::settle;
using testing::whenModal;

struct Sitting {
    QString dir;
    std::int64_t monotonic = 0;
    std::int64_t epoch = kEpoch;
    std::unique_ptr<ExamApp> app;

    explicit Sitting(const QString& directory) : dir(directory) { start(); }

    void start() {
        ExamOptions options;
        options.exam = TALVIK_EXAM_SAMPLE;
        options.candidate = "Ada Lovelace";
        options.className = "7B";
        options.sessionDirectory = dir.toStdString();
        ExamApp::Clocks clocks{[this] { return monotonic; }, [this] { return epoch; }};
        app = std::make_unique<ExamApp>(options, std::move(clocks));
        window().resize(1280, 720);
        window().show();
        QApplication::setActiveWindow(&window());
        settle();
    }
    void stop() {
        app.reset();
        settle();
    }

    ExamWindow& window() const { return app->window(); }
    ExamSession& session() const { return app->session(); }
    int current() const { return session().state().current; }

    // The display position of the choice with this identifier (the order may be shuffled).
    int position(int item, const std::string& id) const {
        for (int p = 0; p < int(session().itemState(item).order.size()); ++p)
            if (session().choiceAt(item, p).identifier == id) return p;
        ADD_FAILURE() << "item " << item << " has no choice " << id;
        return 0;
    }
    std::set<std::string> response(int item) const {
        const auto& r = session().itemState(item).response;
        return {r.begin(), r.end()};
    }

    void clickBubble(int item, const std::string& id) {
        if (position(item, id) >= AnswerSheet::kBubbles) ADD_FAILURE() << id << " has no bubble on the sheet";
        click(&window().sheet(), window().sheet().bubbleRect(item, position(item, id)).center());
    }
    void clickStrip(int item, const std::string& id) { click(&window().strip(), testing::stripBox(position(item, id))); }
    void focus(QWidget& w) { testing::focus(w); }
    void key(int k, Qt::KeyboardModifiers m = {}) { testing::key(window(), k, m); }
    // The letter key of a choice, as the screen shows it.
    void chooseByKey(int item, const std::string& id) { key(Qt::Key_A + position(item, id)); }
    void pressSwitch(const char* name) { testing::press(window().questionSwitch(), name); }
    QString status() const { return window().status().accessibleDescription(); }
};

// The report's total and, by item, the response and score.
struct Results {
    std::string total;
    std::map<std::string, std::pair<std::set<std::string>, std::string>> items;
};

Results readResults(const std::string& path) {
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
    const testing::ReportRead report = testing::readReport(file.readAll().toStdString());
    EXPECT_EQ(report.error, "");
    Results out{report.testScore.value_or("none"), {}};
    for (const auto& [id, item] : report.items)
        out.items[id] = {{item.candidate.begin(), item.candidate.end()}, item.score.value_or("none")};
    return out;
}

TEST(ExamEndToEnd, ASittingAnsweredEveryWayIsHandedInWhenTheTimeRunsOut) {
    QTemporaryDir dir;
    Sitting s(dir.path());
    ASSERT_FALSE(s.app->resumed());
    ASSERT_EQ(s.session().itemCount(), 40);
    ASSERT_EQ(s.session().state().timeLimitMs, kLimitMs);

    // q01 with the mouse on the sheet: A, the key.
    s.clickBubble(0, "A");
    EXPECT_EQ(s.response(0), (std::set<std::string>{"A"}));

    // Next with the switch's button, then q02 with the keyboard: B (the key says D).
    s.pressSwitch("Next question");
    ASSERT_EQ(s.current(), 1);
    s.focus(s.window().pane());
    s.chooseByKey(1, "B");
    EXPECT_EQ(s.response(1), (std::set<std::string>{"B"}));

    // Page Down, then q03 with a click on the strip: B, the key.
    s.key(Qt::Key_PageDown);
    ASSERT_EQ(s.current(), 2);
    s.clickStrip(2, "B");
    EXPECT_EQ(s.response(2), (std::set<std::string>{"B"}));

    // q05 (shuffled, several answers, mapped): A and C with the keys while the strip has
    // the focus, B with a click on it.
    s.session().goTo(4);
    s.focus(s.window().strip());
    s.chooseByKey(4, "A");
    s.chooseByKey(4, "C");
    s.clickStrip(4, "B");
    EXPECT_EQ(s.response(4), (std::set<std::string>{"A", "B", "C"}));
    EXPECT_EQ(s.window().strip().VelValue().size(), 3);

    // q09 (at most two): A and D with the number keys, and the question flagged with its button.
    s.session().goTo(8);
    s.focus(s.window().pane());
    s.key(Qt::Key_1 + s.position(8, "A"));
    s.key(Qt::Key_1 + s.position(8, "D"));
    EXPECT_EQ(s.response(8), (std::set<std::string>{"A", "D"}));
    click(&s.window().flagButton(), s.window().flagButton().rect().center());
    EXPECT_TRUE(s.session().itemState(8).flagged);

    // The review's button of q24 goes there; B with the key (the key is B and D), and
    // Ctrl+F flags it.
    click(&s.window().reviewButton(), s.window().reviewButton().rect().center());
    ASSERT_NE(s.app->review(), nullptr);
    QPushButton* q24 = testing::questionButtons(*s.app->review(), "unanswered")[23];
    ASSERT_NE(q24, nullptr);
    q24->click();
    settle();
    ASSERT_EQ(s.current(), 23);
    s.focus(s.window().pane());
    s.chooseByKey(23, "B");
    s.key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(s.response(23), (std::set<std::string>{"B"}));

    EXPECT_TRUE(s.status().contains(QStringLiteral("Answered 6 of 40, 2 flagged"))) << s.status().toStdString();
    s.key(Qt::Key_R, Qt::ControlModifier);
    ASSERT_NE(s.app->review(), nullptr);
    s.app->review()->backButton()->click();
    settle();

    // The time runs out while the help is open: the program hands in by itself, and the
    // receipt is not left under the help.
    s.focus(s.window().pane());
    s.key(Qt::Key_F1);
    ASSERT_TRUE(s.app->help().isOpen());
    s.monotonic += kLimitMs + 1000;
    s.epoch += kLimitMs + 1000;
    s.app->timeKeeper().poll();
    settle();
    EXPECT_TRUE(s.session().state().handedIn);
    EXPECT_TRUE(s.window().isLocked());
    EXPECT_FALSE(s.app->help().isOpen());
    EXPECT_TRUE(s.window().noticeLabel().text().contains(QStringLiteral("Time is up")));
    const auto* receipt = s.window().findChild<ReceiptView*>();
    ASSERT_NE(receipt, nullptr);
    EXPECT_TRUE(receipt->isVisible());
    EXPECT_EQ(receipt->field(QStringLiteral("answered")), QStringLiteral("6 of 40"));

    // Locked: clicks and keys change nothing any more.
    const SessionState before = s.session().state();
    s.clickBubble(30, "A");
    s.clickStrip(23, "D");
    s.key(Qt::Key_PageDown);
    s.key(Qt::Key_A);
    s.key(Qt::Key_F, Qt::ControlModifier);
    click(&s.window().flagButton(), s.window().flagButton().rect().center());
    EXPECT_EQ(s.session().state().revision, before.revision);
    EXPECT_EQ(s.current(), before.current);
    EXPECT_EQ(s.response(30), std::set<std::string>{});
    EXPECT_FALSE(s.window().pane().isVisible());
    for (QWidget* w : QList<QWidget*>{&s.window().strip(), &s.window().sheet(), &s.window().questionSwitch(),
                                      &s.window().flagButton(), &s.window().handInButton()})
        EXPECT_FALSE(w->isEnabled());

    // The report, against the answer keys of the sample's items: q01 key A (given A: 1),
    // q02 key D (B: 0), q03 key B (B: 1), q05 maps A, C, E to 1 and the rest to -1 within
    // 0..3 (A, B, C: 1 - 1 + 1 = 1), q09 key A and D (A, D: 1), q24 key B and D (B: 0);
    // every other item unanswered: 0. Total 4.
    const Results results = readResults(s.app->reportPath());
    const std::map<std::string, std::pair<std::set<std::string>, std::string>> given = {
        {"q01", {{"A"}, "1"}}, {"q02", {{"B"}, "0"}}, {"q03", {{"B"}, "1"}},
        {"q05", {{"A", "B", "C"}, "1"}}, {"q09", {{"A", "D"}, "1"}}, {"q24", {{"B"}, "0"}},
    };
    ASSERT_EQ(results.items.size(), 40u);
    for (const auto& [id, result] : results.items) {
        const auto it = given.find(id);
        EXPECT_EQ(result, it != given.end() ? it->second : std::pair(std::set<std::string>{}, std::string("0"))) << id;
    }
    EXPECT_EQ(results.total, "4");
    EXPECT_TRUE(QFile::exists(dir.path() + QStringLiteral("/results.txt")));

    // Started again on the same folder: the receipt of the same report, nothing to answer.
    const QString code = receipt->code();
    s.stop();
    s.start();
    EXPECT_TRUE(s.window().isLocked());
    const auto* again = s.window().findChild<ReceiptView*>();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->code(), code);
    EXPECT_EQ(s.response(0), (std::set<std::string>{"A"}));
}

TEST(ExamEndToEnd, TheTimeRunsOutWhileTheCandidateIsAskedToHandIn) {
    QTemporaryDir dir;
    Sitting s(dir.path());
    s.clickBubble(0, "A");
    s.focus(s.window().pane());
    s.key(Qt::Key_Return, Qt::ControlModifier);  // Hand in…: the review first
    ASSERT_NE(s.app->review(), nullptr);
    bool asked = false;
    whenModal<QMessageBox>([&](QMessageBox* box) {
        asked = true;
        // Still asking when the time is up: the program hands in by itself...
        s.monotonic += kLimitMs;
        s.app->timeKeeper().poll();
        settle();
        // ...and the candidate's late yes changes nothing.
        if (QApplication::activeModalWidget() == box) box->button(QMessageBox::Yes)->click();
    });
    s.app->review()->handInButton()->click();
    settle();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(s.session().state().handedIn);
    EXPECT_TRUE(s.window().isLocked());
    EXPECT_EQ(s.app->review(), nullptr);
    EXPECT_TRUE(s.window().noticeLabel().text().contains(QStringLiteral("Time is up")));
    EXPECT_EQ(readResults(s.app->reportPath()).total, "1");
}

TEST(ExamEndToEnd, ClosingAsksAndNothingIsLostOnTheWayBack) {
    QTemporaryDir dir;
    Sitting s(dir.path());
    s.clickBubble(6, "A");       // q07, shuffled
    s.clickBubble(12, "B");      // q13, several answers; E is past the sheet's bubbles
    s.focus(s.window().pane());
    s.chooseByKey(12, "E");
    s.key(Qt::Key_F, Qt::ControlModifier);  // flags q13
    s.key(Qt::Key_PageDown);                // to q14
    s.key(Qt::Key_PageDown);                // to q15
    ASSERT_EQ(s.current(), 14);

    // No: the window stays open, the answers as they were.
    whenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
    EXPECT_FALSE(s.window().close());
    settle();
    EXPECT_TRUE(s.window().isVisible());
    EXPECT_FALSE(s.window().isLocked());

    // Yes: the window closes, and what it showed is on disk already.
    whenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    EXPECT_TRUE(s.window().close());
    settle();
    EXPECT_FALSE(s.window().isVisible());
    const SessionState shown = s.session().state();
    const LoadedSession onDisk = SessionStore(dir.path().toStdString()).read();
    ASSERT_TRUE(onDisk.state.has_value());
    EXPECT_EQ(onDisk.state->revision, shown.revision);

    s.stop();
    s.start();
    ASSERT_TRUE(s.app->resumed());
    const SessionState& back = s.session().state();
    EXPECT_EQ(back.current, 14);
    EXPECT_EQ(back.seed, shown.seed);
    EXPECT_EQ(testing::answerDigest(back), testing::answerDigest(shown));  // orders, responses, flags
    EXPECT_EQ(s.response(6), (std::set<std::string>{"A"}));
    EXPECT_EQ(s.response(12), (std::set<std::string>{"B", "E"}));
    EXPECT_TRUE(s.session().itemState(12).flagged);
    // The screen shows it too: the current question, the marks on the sheet and the flag.
    EXPECT_EQ(s.window().sheet().RowSel(), 14);
    EXPECT_TRUE(s.window().sheet().showsFlag(12));
    EXPECT_TRUE(s.status().contains(QStringLiteral("Answered 2 of 40, 1 flagged"))) << s.status().toStdString();
}

TEST(ExamEndToEnd, ADamagedSaveIsSetAsideAndTheOneBeforeResumes) {
    QTemporaryDir dir;
    Sitting s(dir.path());
    s.clickBubble(0, "A");
    ASSERT_TRUE(s.app->saver().flush());
    s.clickBubble(1, "D");
    ASSERT_TRUE(s.app->saver().flush());
    s.stop();

    // The newest save cut short, as a failing disk might leave it.
    const QString current = dir.path() + QStringLiteral("/session.json");
    QFile file(current);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(file.size() / 2));
    file.close();

    s.start();
    ASSERT_TRUE(s.app->resumed());
    EXPECT_EQ(s.response(0), (std::set<std::string>{"A"}));
    EXPECT_EQ(s.response(1), std::set<std::string>{});
    EXPECT_TRUE(s.window().noticeLabel().isVisible());
    EXPECT_FALSE(s.window().noticeLabel().text().isEmpty());
}

}  // namespace
}  // namespace talvik::exam
