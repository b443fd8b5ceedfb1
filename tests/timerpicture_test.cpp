// TimerPicture as a host sees it: where the hands point at given times of day, when the
// clock ticks and when it does not, what it saves and restores, and a new clock in the
// test container. The end points are worked out from the hand lengths (650, 500, 350), the
// angles with 3.14 for the half turn, and the centre (907.5, 900), rounded halves to even.
#include <optional>
#include <string>

#include "Support.h"
#include "controls/TimerPicture.h"

namespace talvik {
using namespace controls;
namespace {

struct Point {
    float x, y;
    friend bool operator==(const Point&, const Point&) = default;
};

void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

// A clock created at a time of day, initialized in the headless host, and restored from
// `saved` when one is given.
struct Clock : HeadlessHost {
    TimerPicture& clock = static_cast<TimerPicture&>(*control());
    explicit Clock(TimeOfDay at = {}, const PropertyBag* saved = nullptr) : HeadlessHost(TimerPicture::Class) {
        setClock(at);
        Initialize();
        if (saved != nullptr) ReadProperties(*saved);
    }
    Line second() { return line("kimgiay"); }
    Line minute() { return line("kimphut"); }
    Line hour() { return line("kimgio"); }
    static Point end(const Line& l) { return {l.X2(), l.Y2()}; }
    static Point start(const Line& l) { return {l.X1(), l.Y1()}; }
    bool ticking() { return timer("Timer1").Enabled(); }
    void tickNow() { tick(timer("Timer1")); }
};

TEST(TimerPicture, HandsShowTheTimeOfDay) {
    struct Case {
        TimeOfDay at;
        Point second, minute, hour;
    };
    const Case cases[] = {
        // 3.14 is a little short of the half turn, so "up" leans a few twips right.
        {{0, 0, 0}, {910, 250}, {909, 400}, {908, 550}},
        // The hour hand straight right ends at 1257.5, which rounds to the even 1258.
        {{3, 0, 0}, {910, 250}, {909, 400}, {1258, 900}},
        {{15, 0, 0}, {910, 250}, {909, 400}, {1257, 899}},
        {{0, 0, 15}, {1557, 902}, {909, 400}, {908, 550}},
        {{6, 0, 0}, {910, 250}, {909, 400}, {908, 1250}},
        // The hour hand moves on with the minutes, an eighth of an hour here.
        {{0, 15, 0}, {910, 250}, {1407, 902}, {953, 553}},
        {{9, 45, 30}, {906, 1550}, {408, 899}, {584, 767}},
        {{23, 59, 59}, {840, 254}, {856, 403}, {902, 550}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.at.hour) + ":" + std::to_string(c.at.minute) + ":" + std::to_string(c.at.second));
        // Drawn by Initialize, and by a tick after a clock created at another time.
        Clock made(c.at);
        Clock ticked({12, 34, 56});
        ticked.setClock(c.at);
        ticked.tickNow();
        for (Clock* clock : {&made, &ticked}) {
            EXPECT_EQ(Clock::end(clock->second()), c.second);
            EXPECT_EQ(Clock::end(clock->minute()), c.minute);
            EXPECT_EQ(Clock::end(clock->hour()), c.hour);
            for (const Line& hand : {clock->second(), clock->minute(), clock->hour()})
                EXPECT_EQ(Clock::start(hand), (Point{907.5f, 900}));
        }
    }
}

TEST(TimerPicture, WhenItTicks) {
    struct Case {
        const char* what;
        std::optional<bool> stored;  // restored from a store with this "Enable"; none: a new clock
        bool restored;
        std::optional<bool> setAfter;  // Enable set after creation
        bool enable, ticks;
    };
    const Case cases[] = {
        {"a new clock ticks from its template", std::nullopt, false, std::nullopt, false, true},
        {"a new clock given Enable false stops", std::nullopt, false, false, false, false},
        {"a new clock given Enable true ticks", std::nullopt, false, true, true, true},
        {"restored without Enable: still", std::nullopt, true, std::nullopt, false, false},
        {"restored without Enable, then Enable true", std::nullopt, true, true, true, true},
        {"restored with Enable false: still", false, true, std::nullopt, false, false},
        {"restored with Enable true", true, true, std::nullopt, true, true},
        {"restored with Enable true, then Enable false", true, true, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PropertyBag bag;
        if (c.stored) bag.WriteProperty("Enable", *c.stored, false);
        Clock clock({10, 20, 30}, c.restored ? &bag : nullptr);
        if (c.setAfter) clock.clock.Enable(*c.setAfter);
        EXPECT_EQ(clock.clock.Enable(), c.enable);
        EXPECT_EQ(clock.ticking(), c.ticks);
        // 10:20:30 as created; a tick one second on moves the second hand to 31 s.
        ASSERT_EQ(Clock::end(clock.second()), (Point{906, 1550}));
        clock.advance(1000);
        EXPECT_EQ(Clock::end(clock.second()), (c.ticks ? Point{838, 1546} : Point{906, 1550}));
        EXPECT_EQ(Clock::end(clock.minute()), (Point{1340, 1151}));
        EXPECT_EQ(Clock::end(clock.hour()), (Point{639, 676}));
    }
}

// Stopped, the hands stay where they were last drawn however much time passes; started
// again, they show the time of the next tick.
TEST(TimerPicture, StopAndStartAgain) {
    Clock c({10, 20, 30});
    c.clock.Enable(true);
    c.advance(1000);
    ASSERT_EQ(Clock::end(c.second()), (Point{838, 1546}));  // 10:20:31
    c.clock.Enable(false);
    c.takeDamage();
    c.advance(3 * 60 * 60 * 1000);
    EXPECT_EQ(Clock::end(c.second()), (Point{838, 1546}));
    EXPECT_EQ(Clock::end(c.minute()), (Point{1340, 1151}));
    EXPECT_EQ(Clock::end(c.hour()), (Point{639, 676}));
    EXPECT_TRUE(c.takeDamage().empty());
    // 13:20:31 now; the first tick comes a second after Enable.
    c.clock.Enable(true);
    c.setClock({9, 45, 29});
    c.advance(999);
    EXPECT_EQ(Clock::end(c.second()), (Point{838, 1546}));
    c.advance(1);
    EXPECT_EQ(Clock::end(c.second()), (Point{906, 1550}));
    EXPECT_EQ(Clock::end(c.minute()), (Point{408, 899}));
    EXPECT_EQ(Clock::end(c.hour()), (Point{584, 767}));
}

// What is saved is Enable alone: Duration is kept, changes nothing of the clock, and is
// neither saved nor restored.
TEST(TimerPicture, SavesEnableOnly) {
    for (const std::optional<bool> set : {std::optional<bool>{}, std::optional{true}, std::optional{false}}) {
        SCOPED_TRACE(set ? (*set ? "true" : "false") : "never set");
        const bool saved = set.value_or(false);
        PropertyBag bag;
        {
            Clock before({10, 20, 30});
            if (set) before.clock.Enable(*set);
            before.takeDamage();
            before.clock.Duration(-12.5f);
            EXPECT_TRUE(before.takeDamage().empty());
            before.WriteProperties(bag);
        }
        testing::expectWrites(bag, {{"Enable", saved, false}});
        Clock after({8, 0, 0}, &bag);
        EXPECT_EQ(after.clock.Enable(), saved);
        EXPECT_EQ(after.ticking(), saved);
        EXPECT_EQ(after.clock.Duration(), 45);  // Initialize's value
    }
}

// The centre is taken once: a container that resizes the clock leaves the hands where
// they turn.
TEST(TimerPicture, ResizingKeepsTheCentre) {
    Clock c({0, 0, 0});
    c.resizeTo(3000, 2400);
    c.setClock({3, 0, 0});
    c.tickNow();
    EXPECT_EQ(Clock::start(c.hour()), (Point{907.5f, 900}));
    EXPECT_EQ(Clock::end(c.hour()), (Point{1258, 900}));
    EXPECT_EQ(c.surface().Width(), 3000);
}

// A new clock as the test container shows it through the library's entry points: the
// size Initialize gives it, its face, its timer and the three hands at midnight. Where
// the hands go and when it ticks is in the tests above.
TEST(TimerPicture, ThroughTheTestContainer) {
    const testing::Ran ran = testing::runContainer("clock 00:00:00\nnew TimerPicture t\ndump t\n");
    EXPECT_EQ(ran.status, 0);
    EXPECT_EQ(ran.out,
        R"j({"line":2,"new":"t","class":"TimerPicture","width":1815,"height":1800}
{"line":3,"dump":"t","element":"surface","kind":"surface","Width":1815,"Height":1800,"BackStyle":1,"Picture":"res:CLOCK_FIREFOX"}
{"line":3,"dump":"t","element":"Timer1","kind":"timer","Enabled":true,"Interval":1000}
{"line":3,"dump":"t","element":"kimgiay","kind":"line","X1":907.5,"Y1":900,"X2":910,"Y2":250,"BorderColor":4194304,"BorderWidth":2,"Visible":true}
{"line":3,"dump":"t","element":"kimphut","kind":"line","X1":907.5,"Y1":900,"X2":909,"Y2":400,"BorderColor":4194304,"BorderWidth":2,"Visible":true}
{"line":3,"dump":"t","element":"kimgio","kind":"line","X1":907.5,"Y1":900,"X2":908,"Y2":550,"BorderColor":4194304,"BorderWidth":2,"Visible":true}
)j");
}

}  // namespace
}  // namespace talvik
