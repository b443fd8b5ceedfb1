// The receipt after hand-in: who, what, when in local time, how much was answered, where
// the report is, and the code from the report's SHA-256 (known test vectors).
#include <QPushButton>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <vector>

#include "flow/ReceiptView.h"
#include "flow_fixture.h"
#include "session_test_support.h"

namespace talvik::exam {
namespace {

using testing::makeTest;

TEST(ReceiptView, ShowsWhatWasHandedInInLocalTime) {
    const testing::ScopedEnv zone("TZ", "EET-2");  // two hours ahead of UTC all year
    EXPECT_EQ(ReceiptView::handedInText(1'798'757'970'000), QStringLiteral("2027-01-01 00:59"));  // 22:59:30 UTC
    ExamSession full(makeTest(4, 3600), 3u);
    full.setCandidate("Mari Tamm", "9B");
    full.toggleChoice(0, 1);
    full.toggleChoice(2, 0);
    full.setFlagged(3, true);
    full.handIn(1'796'569'200'000);  // 15:00 UTC
    ExamSession bare(makeTest(2), 3u);
    bare.handIn(0);
    const QString path = QStringLiteral("/home/mari/exams/physics-mari-tamm.report.json");
    struct Case {
        const ExamSession& session;
        QByteArray report;
        std::vector<std::pair<const char*, QString>> fields;
    };
    const std::vector<Case> cases = {
        {full, QByteArrayLiteral("abc"),
         {{"heading", QStringLiteral("Your answers have been handed in")}, {"candidate", QStringLiteral("Mari Tamm")},
          {"class", QStringLiteral("9B")}, {"test", QStringLiteral("Physics, autumn term")},
          {"handedIn", QStringLiteral("2026-12-06 17:00")}, {"answered", QStringLiteral("2 of 4")},
          {"flagged", QStringLiteral("1")}, {"report", path}, {"code", QStringLiteral("BA78-16BF")}}},
        // What the session does not know is left out.
        {bare, QByteArray(),
         {{"candidate", QString()}, {"class", QString()}, {"answered", QStringLiteral("0 of 2")},
          {"flagged", QStringLiteral("0")}, {"code", QStringLiteral("E3B0-C442")}}},
    };
    for (const Case& c : cases) {
        ReceiptView view(c.session, path, c.report);
        for (const auto& [name, text] : c.fields) EXPECT_EQ(view.field(QLatin1String(name)), text) << name;
        EXPECT_EQ(view.code(), view.field(QStringLiteral("code")));
        QSignalSpy closing(&view, &ReceiptView::closeRequested);
        view.findChild<QPushButton*>(QStringLiteral("close"))->click();
        EXPECT_EQ(closing.count(), 1);
    }
}

}  // namespace
}  // namespace talvik::exam
