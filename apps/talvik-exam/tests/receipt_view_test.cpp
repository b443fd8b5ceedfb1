// The receipt after hand-in: who, what, when in local time, how much was answered, where
// the report is, and the code from the report's SHA-256 (known test vectors).
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <ctime>
#include <gtest/gtest.h>
#include <vector>

#include "flow/ReceiptView.h"
#include "flow_fixture.h"

namespace talvik::exam {
namespace {

using testing::makeTest;

// Local time two hours ahead of UTC all year, whatever the machine's zone.
class EasternEuropeanTime {
public:
    EasternEuropeanTime() : saved_(qgetenv("TZ")), had_(qEnvironmentVariableIsSet("TZ")) {
        qputenv("TZ", "EET-2");
        tzset();
    }
    ~EasternEuropeanTime() {
        if (had_) qputenv("TZ", saved_);
        else qunsetenv("TZ");
        tzset();
    }
    EasternEuropeanTime(const EasternEuropeanTime&) = delete;
    EasternEuropeanTime& operator=(const EasternEuropeanTime&) = delete;

private:
    QByteArray saved_;
    bool had_;
};

TEST(ReceiptView, CodeIsTheFirstEightHexDigitsOfTheReportsSha256) {
    const std::vector<std::pair<QByteArray, const char*>> cases = {
        {QByteArray(), "E3B0-C442"},
        {QByteArrayLiteral("abc"), "BA78-16BF"},
        {QByteArrayLiteral("The quick brown fox jumps over the lazy dog"), "D7A8-FBB3"},
    };
    for (const auto& [bytes, code] : cases) EXPECT_EQ(ReceiptView::receiptCode(bytes), QLatin1String(code)) << bytes.constData();
}

TEST(ReceiptView, HandInTimeIsShownInLocalTime) {
    const EasternEuropeanTime zone;
    EXPECT_EQ(ReceiptView::handedInText(1'796'569'200'000), QStringLiteral("2026-12-06 17:00"));  // 15:00 UTC
    EXPECT_EQ(ReceiptView::handedInText(1'798'757'970'000), QStringLiteral("2027-01-01 00:59"));  // 22:59:30 UTC
}

TEST(ReceiptView, ShowsWhatWasHandedIn) {
    const EasternEuropeanTime zone;
    ExamSession session(makeTest(4, 3600), 3u);
    session.setCandidate("Mari Tamm", "9B");
    session.toggleChoice(0, 1);
    session.toggleChoice(2, 0);
    session.setFlagged(3, true);
    session.handIn(1'796'569'200'000);
    const QString path = QStringLiteral("/home/mari/exams/physics-mari-tamm.report.json");
    ReceiptView view(session, path, QByteArrayLiteral("abc"));

    const std::vector<std::pair<const char*, QString>> rows = {
        {"heading", QStringLiteral("Your answers have been handed in")},
        {"candidate", QStringLiteral("Mari Tamm")},
        {"class", QStringLiteral("9B")},
        {"test", QStringLiteral("Physics, autumn term")},
        {"handedIn", QStringLiteral("2026-12-06 17:00")},
        {"answered", QStringLiteral("2 of 4")},
        {"flagged", QStringLiteral("1")},
        {"report", path},
        {"code", QStringLiteral("BA78-16BF")},
    };
    for (const auto& [name, text] : rows) EXPECT_EQ(view.field(QLatin1String(name)), text) << name;
    EXPECT_EQ(view.code(), QStringLiteral("BA78-16BF"));

    QSignalSpy closing(&view, &ReceiptView::closeRequested);
    view.findChild<QPushButton*>(QStringLiteral("close"))->click();
    EXPECT_EQ(closing.count(), 1);

    view.resize(760, 520);
    testing::renderPng(view, QStringLiteral("receipt"), 1);
    testing::renderPng(view, QStringLiteral("receipt"), 2);
}

TEST(ReceiptView, LeavesOutWhatTheSessionDoesNotKnow) {
    ExamSession session(makeTest(2), 3u);
    session.handIn(0);
    const ReceiptView view(session, QStringLiteral("r.json"), QByteArray());
    EXPECT_EQ(view.field(QStringLiteral("candidate")), QString());
    EXPECT_EQ(view.field(QStringLiteral("class")), QString());
    EXPECT_EQ(view.field(QStringLiteral("answered")), QStringLiteral("0 of 2"));
    EXPECT_EQ(view.field(QStringLiteral("flagged")), QStringLiteral("0"));
    EXPECT_EQ(view.field(QStringLiteral("code")), QStringLiteral("E3B0-C442"));
}

}  // namespace
}  // namespace talvik::exam
