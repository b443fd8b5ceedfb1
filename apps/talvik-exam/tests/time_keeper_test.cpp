// The time kept against a set clock: the time left as it is shown, the warnings at five
// minutes and one minute left given once each when due, and the expiry given once.
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "flow/TimeKeeper.h"
#include "flow_fixture.h"

namespace talvik::exam {
namespace {

using testing::makeTest;

struct Step {
    qint64 at;                // clock, ms after start()
    std::string heard;        // what is sent by this poll: "w5", "w1", "x", in order
    qint64 grantExtraMs = -1; // extra time granted just before this poll
};

struct Case {
    const char* name;
    double limitSeconds;
    qint64 extraMs;
    qint64 usedMs;  // time used before, as in a resumed session
    std::vector<Step> steps;  // the first at 0, when the keeper starts
};

TEST(TimeKeeper, WarnsOnceAtFiveAndOneMinuteAndExpiresOnce) {
    const std::vector<Case> cases = {
        {"an hour from the start", 3600, 0, 0,
         {{0, ""}, {3'299'999, ""}, {3'300'000, "w5"}, {3'300'500, ""}, {3'539'999, ""},
          {3'540'000, "w1"}, {3'599'999, ""}, {3'600'000, "x"}, {3'700'000, ""}}},
        {"resumed with 3 minutes left", 3600, 0, 3'420'000,
         {{0, "w5"}, {1'000, ""}, {119'999, ""}, {120'000, "w1"}, {180'000, "x"}}},
        {"resumed with 30 seconds left says only the nearer warning", 3600, 0, 3'570'000,
         {{0, "w1"}, {29'999, ""}, {30'000, "x"}}},
        {"extra time moves the warnings", 3600, 300'000, 0,
         {{0, ""}, {3'300'000, ""}, {3'599'999, ""}, {3'600'000, "w5"}, {3'840'000, "w1"}, {3'900'000, "x"}}},
        {"a three-minute test warns at one minute only", 180, 0, 0,
         {{0, ""}, {119'999, ""}, {120'000, "w1"}, {180'000, "x"}}},
        {"a five-minute test does not start with a warning", 300, 0, 0,
         {{0, ""}, {240'000, "w1"}, {300'000, "x"}}},
        {"a clock jump past five minutes to 30 seconds left", 600, 0, 0,
         {{0, ""}, {100'000, ""}, {570'000, "w1"}, {580'000, ""}, {600'000, "x"}}},
        {"a clock jump straight past the end", 600, 0, 0, {{0, ""}, {700'000, "x"}, {800'000, ""}}},
        {"resumed when the time was already up", 600, 0, 600'000, {{0, "x"}, {1'000, ""}}},
        {"time granted after a warning arms it again", 600, 0, 0,
         {{0, ""}, {300'000, "w5"}, {300'001, "", 120'000}, {419'999, ""}, {420'000, "w5"}, {660'000, "w1"},
          {720'000, "x"}}},
        {"time granted after expiry lets it expire again", 600, 0, 0,
         {{0, ""}, {600'000, "x"}, {600'000, "", 30'000}, {630'000, "x"}}},
        {"no limit", 0, 0, 0, {{0, ""}, {10'000'000, ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExamSession session(makeTest(3, c.limitSeconds), 1u);
        session.setTimeLimit(session.state().timeLimitMs, c.extraMs);
        session.setElapsed(c.usedMs);
        qint64 now = 50'000;  // the clock need not start at 0
        const qint64 origin = now;
        TimeKeeper keeper(session, [&now] { return now; });
        std::string heard;
        QObject::connect(&keeper, &TimeKeeper::warning, [&](int m) { heard += "w" + std::to_string(m); });
        QObject::connect(&keeper, &TimeKeeper::expired, [&] { heard += "x"; });
        bool started = false;
        for (const Step& s : c.steps) {
            SCOPED_TRACE(s.at);
            now = origin + s.at;
            if (s.grantExtraMs >= 0) session.setTimeLimit(session.state().timeLimitMs, s.grantExtraMs);
            heard.clear();
            if (!started) {
                keeper.start();
                started = true;
            } else {
                keeper.poll();
            }
            EXPECT_EQ(heard, s.heard);
            EXPECT_EQ(session.state().elapsedMs, c.usedMs + s.at);
        }
    }
}

TEST(TimeKeeper, ReportsTheTimeLeftWhenTheShownSecondChanges) {
    ExamSession session(makeTest(1, 10), 1u);
    qint64 now = 0;
    TimeKeeper keeper(session, [&now] { return now; });
    QSignalSpy spy(&keeper, &TimeKeeper::remainingChanged);
    // clock, the time left it reports (-1: none)
    const std::vector<std::pair<qint64, qint64>> steps = {
        {0, 10'000}, {400, -1}, {999, -1}, {1'000, 9'000}, {1'001, -1}, {2'000, 8'000},
        {2'500, -1}, {9'001, 999}, {9'999, -1}, {10'000, 0}, {11'000, -1},
    };
    for (const auto& [at, reported] : steps) {
        SCOPED_TRACE(at);
        now = at;
        spy.clear();
        if (at == 0) keeper.start();
        else keeper.poll();
        if (reported < 0) {
            EXPECT_EQ(spy.count(), 0);
        } else {
            ASSERT_EQ(spy.count(), 1);
            EXPECT_EQ(spy.at(0).at(0).toLongLong(), reported);
        }
        EXPECT_EQ(keeper.remainingMs(), std::max<qint64>(0, 10'000 - at));
    }
}

TEST(TimeKeeper, StopsWithHandInAndOnStop) {
    ExamSession session(makeTest(1, 600), 1u);
    qint64 now = 0;
    TimeKeeper keeper(session, [&now] { return now; });
    keeper.start();
    EXPECT_TRUE(keeper.running());
    now = 10'000;
    keeper.stop();
    EXPECT_FALSE(keeper.running());
    EXPECT_EQ(session.state().elapsedMs, 10'000);
    now = 20'000;
    keeper.poll();
    EXPECT_EQ(session.state().elapsedMs, 10'000);

    // Started again, it counts on from the time used, not from the clock's origin.
    keeper.start();
    now = 25'000;
    keeper.poll();
    EXPECT_EQ(session.state().elapsedMs, 15'000);

    session.handIn(1);
    now = 600'000;
    QSignalSpy expired(&keeper, &TimeKeeper::expired);
    keeper.poll();
    EXPECT_FALSE(keeper.running());
    EXPECT_EQ(expired.count(), 0);
    EXPECT_EQ(session.state().elapsedMs, 15'000);
    keeper.start();
    EXPECT_FALSE(keeper.running());
}

TEST(TimeKeeper, FormatsAsACountdown) {
    const std::vector<std::pair<qint64, const char*>> cases = {
        {0, "0:00"},        {1, "0:01"},          {999, "0:01"},          {1'000, "0:01"},
        {59'000, "0:59"},   {59'001, "1:00"},     {60'000, "1:00"},       {754'000, "12:34"},
        {3'599'000, "59:59"}, {3'600'000, "1:00:00"}, {3'723'000, "1:02:03"}, {36'000'000, "10:00:00"},
        {-1, ""},
    };
    for (const auto& [ms, shown] : cases) EXPECT_EQ(TimeKeeper::format(ms), QString::fromLatin1(shown)) << ms;
    EXPECT_EQ(TimeKeeper::warningText(5), QStringLiteral("5 minutes left"));
    EXPECT_EQ(TimeKeeper::warningText(1), QStringLiteral("1 minute left"));
}

}  // namespace
}  // namespace talvik::exam
