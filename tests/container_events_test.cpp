// The container's report of what a control does while a command runs: events with
// their arguments by name, the answers its handlers give, message boxes, shell calls,
// pointer changes, property-changed notices, the clock, timers and injected faults.
// A stand-in class factory serves a beacon control that uses every host service.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "apps/talvik-container/Container.h"
#include "frame/com/ClassFactory.h"
#include "frame/host/ControlHost.h"
#include "frame/com/ControlObject.h"
#include "frame/com/EntryPoints.h"
#include "resources/Resources.h"

namespace talvik {
namespace {

constexpr ArgDecl kPingArgs[] = {{"Count", VarType::Int16, true}, {"Note", VarType::String, true}};
constexpr EventDecl kPing{"Ping", 1, kPingArgs};

class Beacon : public Control {
public:
    using Control::Control;
    static const ControlTemplate& Design() {
        static const ControlTemplate t = [] {
            ControlTemplate t{.width = 1500, .height = 600};
            for (const bool on : {true, false})
                t.add({.kind = ElementKind::Timer, .name = on ? "Timer1" : "Timer2", .enabled = on, .interval = 1000});
            t.add({.kind = ElementKind::Label, .name = "lblNote"});
            return t;
        }();
        return t;
    }

    std::int16_t Level() const { return 0; }
    void Level(std::int16_t) { host().PropertyChanged("Level"); }

    void OnEvent(const InputEvent& ev) override {
        switch (ev.kind) {
            case EventKind::Click: {
                Variant args[] = {std::int16_t{1}, "hi"};
                host().RaiseEvent(kPing, args);
                host().MsgBox("count " + args[0].toString() + " " + args[1].toString(), kMsgCritical, "Beacon");
                break;
            }
            case EventKind::Timer:
                host().SetScreenPointer(ScreenPointer::Hourglass);
                host().ShellOpen({0, "open", "http://x", "", "", 1});
                host().SetScreenPointer(ScreenPointer::Default);
                break;
            case EventKind::KeyPress: {
                const TimeOfDay t = host().Now();
                char text[16];
                std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, t.second);
                host().MsgBox(text, kMsgOkOnly);
                break;
            }
            case EventKind::DblClick: host().LoadResPicture("SB_MID_1"); break;
            case EventKind::Change: host().PropertyChanged("Note"); break;
            default: break;
        }
    }
};

constexpr MemberDesc kBeaconMembers[] = {property<Beacon, std::int16_t, &Beacon::Level, &Beacon::Level>("Level", 1)};
constexpr EventDecl kBeaconEvents[] = {kPing};
const ControlClass kBeaconClass = controlClass<Beacon>("Beacon", kBeaconMembers, kBeaconEvents, &resources::kPictureFiles);
constexpr const char* kBeaconId = "{0B0E1C2D-3E4F-4A5B-8C6D-7E8F90A1B2C3}";

HRESULT beaconClassObject(const Guid& clsid, const Guid& iid, void** object) {
    return clsid == guid(kBeaconId) ? classObjectOf(kBeaconClass, iid, object) : getClassObject(clsid, iid, object);
}

std::string run(const std::vector<std::string>& script, decltype(&beaconClassObject) classObject = &beaconClassObject) {
    const EntryPoints& linked = linkedEntryPoints();
    const EntryPoints entry{linked.registerServer, linked.unregisterServer, classObject, linked.canUnloadNow};
    std::ostringstream out;
    container::Container c(entry, out);
    for (std::size_t i = 0; i < script.size(); ++i) c.run(script[i], static_cast<int>(i + 1));
    return out.str();
}

TEST(ContainerEvents, EverythingAControlDoesIsReportedInOrder) {
    const std::string out = run({
        std::string("new ") + kBeaconId + " b", "fire b surface Click", "answer b Ping Count=7 Note=\"yo\"",  // 1-3
        "fire b surface Click", "answer b Ping", "fire b surface Click", "tick b 2",                         // 4-7
        "clock 09:05:30", "fire b surface KeyPress 65",                                                     // 8-9
        "fail resource sb_mid_1", "fire b surface DblClick", "unfail", "fire b surface DblClick",           // 10-13
        "fail shell", "tick b", "fire b lblNote Change", "set b Level 3", "fail pointer", "tick b",         // 14-19
        // Settings not understood.
        "clock 9:05:30", "clock 24:00:00", "fail disk", "msgbox-returns yes", "answer nobody Ping", "tick",  // 20-25
    });
    const std::string expected = std::string(R"({"line":1,"new":"b","class":")") + kBeaconId +
                                 R"(","width":1500,"height":600})" "\n" R"j({"line":2,"event":"Ping","control":"b","args":{"Count":1,"Note":"hi"}}
{"line":2,"msgbox":{"text":"count 1 hi","flags":16,"title":"Beacon"}}
{"line":4,"event":"Ping","control":"b","args":{"Count":1,"Note":"hi"}}
{"line":4,"msgbox":{"text":"count 7 yo","flags":16,"title":"Beacon"}}
{"line":6,"event":"Ping","control":"b","args":{"Count":1,"Note":"hi"}}
{"line":6,"msgbox":{"text":"count 1 hi","flags":16,"title":"Beacon"}}
{"line":7,"pointer":"hourglass"}
{"line":7,"shell":{"verb":"open","target":"http://x","params":"","dir":"","show":1}}
{"line":7,"pointer":"default"}
{"line":7,"pointer":"hourglass"}
{"line":7,"shell":{"verb":"open","target":"http://x","params":"","dir":"","show":1}}
{"line":7,"pointer":"default"}
{"line":9,"msgbox":{"text":"09:05:30","flags":0,"title":null}}
{"line":11,"error":{"number":5,"description":"Injected fault"}}
{"line":15,"pointer":"hourglass"}
{"line":15,"error":{"number":5,"description":"Injected fault"}}
{"line":16,"changed":"Note","control":"b"}
{"line":17,"changed":"Level","control":"b"}
{"line":19,"error":{"number":5,"description":"Injected fault"}}
{"line":20,"syntax":"expected HH:MM:SS: 9:05:30"}
{"line":21,"syntax":"expected HH:MM:SS: 24:00:00"}
{"line":22,"syntax":"usage: fail resource ID | fail shell | fail pointer"}
{"line":23,"syntax":"not a value: yes"}
{"line":24,"syntax":"no control named nobody"}
{"line":25,"syntax":"usage: tick NAME [COUNT]"}
)j";
    EXPECT_EQ(out, expected);
}

TEST(ContainerEvents, SettingsReachControlsMadeLater) {
    const std::string out = run({"clock 23:59:01", "fail shell", std::string("new ") + kBeaconId + " b",
                                 "fire b surface KeyPress 13", "tick b 0", "tick b"});
    EXPECT_EQ(out, std::string(R"({"line":3,"new":"b","class":")") + kBeaconId + R"(","width":1500,"height":600})" "\n"
                   R"({"line":4,"msgbox":{"text":"23:59:01","flags":0,"title":null}})" "\n"
                   R"({"line":6,"pointer":"hourglass"})" "\n"
                   R"({"line":6,"error":{"number":5,"description":"Injected fault"}})" "\n");
}

// Raises Got with a line that names every argument of every input event it receives,
// so that an argument that lands in the wrong place shows. Timer1 turns itself off
// after `Ticks` of its events (0: never); `Second` turns Timer2 on and off.
constexpr ArgDecl kGotArgs[] = {{"What", VarType::String, false}};
constexpr EventDecl kGot{"Got", 1, kGotArgs};

class Recorder : public Control {
public:
    using Control::Control;
    static const ControlTemplate& Design() {
        static const ControlTemplate t = [] {
            ControlTemplate t{.width = 3000, .height = 900};
            t.add({.kind = ElementKind::Label, .name = "Label1", .width = 600, .height = 200});
            t.addArray("Image1", 2, [](int) { return ElementSpec{.kind = ElementKind::Image, .width = 90, .height = 90}; });
            t.add({.kind = ElementKind::Timer, .name = "Timer1", .interval = 1000});
            t.add({.kind = ElementKind::Timer, .name = "Timer2", .enabled = false, .interval = 1000});
            return t;
        }();
        return t;
    }
    std::int16_t Ticks() const { return ticks_; }
    void Ticks(std::int16_t n) { ticks_ = n; }
    bool Second() const { return host().timer("Timer2").Enabled(); }
    void Second(bool on) { host().timer("Timer2").Enabled(on); }

    void OnEvent(const InputEvent& ev) override {
        const auto name = [](const Element& e) { return e ? e.displayName() : std::string("-"); };
        char text[200];
        std::snprintf(text, sizeof text, "%s %s b%d s%d x%g y%g k%d st%d f%d c%d e%d d%s data%d",
                      std::string(eventName(ev.kind)).c_str(), name(ev.source).c_str(), ev.button, ev.shift,
                      double(ev.x), double(ev.y), ev.key, ev.state, ev.format, ev.defaultCursors ? 1 : 0, ev.effect,
                      name(ev.dragged).c_str(), ev.data != nullptr ? 1 : 0);
        Variant args[] = {std::string(text)};
        host().RaiseEvent(kGot, args);
        if (ev.kind == EventKind::Timer && ev.source.name() == "Timer1" && ticks_ > 0 && --ticks_ == 0)
            host().timer("Timer1").Enabled(false);
    }

private:
    std::int16_t ticks_ = 0;
};

constexpr MemberDesc kRecorderMembers[] = {
    property<Recorder, std::int16_t, &Recorder::Ticks, &Recorder::Ticks>("Ticks", 0x68030001),
    property<Recorder, bool, &Recorder::Second, &Recorder::Second>("Second", 0x68030000),
};
constexpr EventDecl kRecorderEvents[] = {kGot};
const ControlClass kRecorderClass = controlClass<Recorder>("Recorder", kRecorderMembers, kRecorderEvents);

HRESULT recorderClassObject(const Guid& clsid, const Guid& iid, void** object) {
    return clsid == guid(kBeaconId) ? classObjectOf(kRecorderClass, iid, object) : getClassObject(clsid, iid, object);
}

std::string got(int line, const std::string& what) {
    return R"({"line":)" + std::to_string(line) + R"(,"event":"Got","control":"r","args":{"What":")" + what + "\"}}\n";
}

TEST(ContainerEvents, FireDeliversEveryInputEventWithItsArguments) {
    struct Case {
        const char* line;  // after "fire r "
        std::string out;   // what the recorder received, or the container's report
    };
    const Case cases[] = {
        {"surface Click", "Click - b0 s0 x0 y0 k0 st0 f0 c0 e0 d- data0"},
        {"Image1(1) DblClick", "DblClick Image1(1) b0 s0 x0 y0 k0 st0 f0 c0 e0 d- data0"},
        {"surface GotFocus", "GotFocus - b0 s0 x0 y0 k0 st0 f0 c0 e0 d- data0"},
        {"surface LostFocus", "LostFocus - b0 s0 x0 y0 k0 st0 f0 c0 e0 d- data0"},
        {"surface EnterFocus", "EnterFocus - b0 s0 x0 y0 k0 st0 f0 c0 e0 d- data0"},
        {"surface ExitFocus", "ExitFocus - b0 s0 x0 y0 k0 st0 f0 c0 e0 d- data0"},
        {"surface Paint", "Paint - b0 s0 x0 y0 k0 st0 f0 c0 e0 d- data0"},
        {"Label1 Change", "Change Label1 b0 s0 x0 y0 k0 st0 f0 c0 e0 d- data0"},
        {"Timer2 Timer", "Timer Timer2 b0 s0 x0 y0 k0 st0 f0 c0 e0 d- data0"},
        {"surface AmbientChanged", "AmbientChanged - b0 s0 x0 y0 k0 st0 f0 c0 e0 d- data0"},
        {"Label1 MouseDown 1 2 30.5 -45", "MouseDown Label1 b1 s2 x30.5 y-45 k0 st0 f0 c0 e0 d- data0"},
        {"Image1(0) MouseUp 2 1 15 0", "MouseUp Image1(0) b2 s1 x15 y0 k0 st0 f0 c0 e0 d- data0"},
        {"surface MouseMove 0 4 1e3 2", "MouseMove - b0 s4 x1000 y2 k0 st0 f0 c0 e0 d- data0"},
        {"surface KeyDown 40 1", "KeyDown - b0 s1 x0 y0 k40 st0 f0 c0 e0 d- data0"},
        {"surface KeyUp 65 6", "KeyUp - b0 s6 x0 y0 k65 st0 f0 c0 e0 d- data0"},
        {"surface KeyPress 13", "KeyPress - b0 s0 x0 y0 k13 st0 f0 c0 e0 d- data0"},
        {"surface AccessKeyPress 66", "AccessKeyPress - b0 s0 x0 y0 k66 st0 f0 c0 e0 d- data0"},
        {"surface DragDrop Label1 10 20", "DragDrop - b0 s0 x10 y20 k0 st0 f0 c0 e0 dLabel1 data0"},
        {"Label1 DragDrop none 10 20", "DragDrop Label1 b0 s0 x10 y20 k0 st0 f0 c0 e0 d- data0"},
        {"surface DragOver Image1(1) 5 6 2", "DragOver - b0 s0 x5 y6 k0 st2 f0 c0 e0 dImage1(1) data0"},
        {"surface OLEStartDrag 3", "OLEStartDrag - b0 s0 x0 y0 k0 st0 f0 c0 e3 d- data1"},
        {"surface OLEDragDrop 1 1 2 7.5 8", "OLEDragDrop - b1 s2 x7.5 y8 k0 st0 f0 c0 e1 d- data1"},
        {"surface OLEDragOver 2 1 0 9 10 1", "OLEDragOver - b1 s0 x9 y10 k0 st1 f0 c0 e2 d- data1"},
        {"surface OLEGiveFeedback 1 true", "OLEGiveFeedback - b0 s0 x0 y0 k0 st0 f0 c1 e1 d- data0"},
        {"surface OLESetData 15", "OLESetData - b0 s0 x0 y0 k0 st0 f15 c0 e0 d- data1"},
        {"surface OLECompleteDrag -2147483648", "OLECompleteDrag - b0 s0 x0 y0 k0 st0 f0 c0 e-2147483648 d- data0"},
    };
    for (const Case& c : cases) {
        const std::string out = run({std::string("new ") + kBeaconId + " r", std::string("fire r ") + c.line},
                                    &recorderClassObject);
        const std::size_t created = out.find('\n') + 1;
        EXPECT_EQ(out.substr(created), got(2, c.out)) << c.line;
    }
}

TEST(ContainerEvents, FireRefusesWhatTheEventDoesNotTake) {
    struct Case {
        const char* line;  // after "fire r "
        std::string out;   // the container's report
    };
    const auto syntax = [](const std::string& what) { return R"({"line":2,"syntax":")" + what + "\"}\n"; };
    const auto error = [](int number, const std::string& description) {
        return R"({"line":2,"error":{"number":)" + std::to_string(number) + R"(,"description":")" + description +
               "\"}}\n";
    };
    const Case cases[] = {
        {"surface Click 1", syntax("Click takes 0 arguments")},
        {"surface AmbientChanged \"Font\"", syntax("AmbientChanged takes 0 arguments")},
        {"surface MouseDown 1 0 5", syntax("MouseDown takes 4 arguments")},
        {"surface KeyDown 40", syntax("KeyDown takes 2 arguments")},
        {"surface KeyPress 13 0", syntax("KeyPress takes 1 arguments")},
        {"surface DragDrop Label1 1", syntax("DragDrop takes 3 arguments")},
        {"surface DragOver none 1 2", syntax("DragOver takes 4 arguments")},
        {"surface OLEStartDrag", syntax("OLEStartDrag takes 1 arguments")},
        {"surface OLEDragDrop 1 1 0 5", syntax("OLEDragDrop takes 5 arguments")},
        {"surface OLEDragOver 1 1 0 5 5 0 0", syntax("usage: fire NAME TARGET EVENT [ARGS]")},
        {"surface OLEDragOver 1 1 0 5 5", syntax("OLEDragOver takes 6 arguments")},
        {"surface OLEGiveFeedback 1", syntax("OLEGiveFeedback takes 2 arguments")},
        {"surface OLESetData", syntax("OLESetData takes 1 arguments")},
        {"surface OLECompleteDrag 1 2", syntax("OLECompleteDrag takes 1 arguments")},
        {"surface Resize", syntax("unknown event Resize")},
        {"surface click", syntax("unknown event click")},
        {"surface DragDrop surface 1 2", syntax("the dragged source is an element or none, not surface")},
        {"surface DragDrop Label9 1 2", syntax("r has no element Label9")},
        {"surface DragDrop Image1 1 2", syntax("Image1 is an element array: name one of its elements")},
        {"surface DragDrop Image1( 1 2", syntax("not an element name: Image1(")},
        {"surface DragOver none 1 2 x", syntax("not a value: x")},
        {"surface DragDrop Image1(2) 1 2", error(340, "Control array element '2' doesn't exist")},
        {"surface KeyPress 40000", error(6, "Overflow")},
        {"surface OLEDragOver 1 1 0 \"here\" 5 0", error(13, "Type mismatch")},
    };
    for (const Case& c : cases) {
        const std::string out = run({std::string("new ") + kBeaconId + " r", std::string("fire r ") + c.line},
                                    &recorderClassObject);
        const std::size_t created = out.find('\n') + 1;
        EXPECT_EQ(out.substr(created), c.out) << c.line;
    }
}

TEST(ContainerEvents, TickDeliversCountTimerEventsOfEachEnabledTimer) {
    const std::string timer1 = "Timer Timer1 b0 s0 x0 y0 k0 st0 f0 c0 e0 d- data0";
    const std::string timer2 = "Timer Timer2 b0 s0 x0 y0 k0 st0 f0 c0 e0 d- data0";
    struct Case {
        std::vector<std::string> lines;  // after "new ... r"
        std::string out;
    };
    const Case cases[] = {
        {{"tick r"}, got(2, timer1)},
        {{"tick r 3"}, got(2, timer1) + got(2, timer1) + got(2, timer1)},
        {{"tick r 0"}, ""},
        // The largest count is taken; Timer1 stops itself, and then nothing is left to tick.
        {{"set r Ticks 2", "tick r 86400"}, got(3, timer1) + got(3, timer1)},
        {{"set r Second true", "tick r 2"}, got(3, timer1) + got(3, timer2) + got(3, timer1) + got(3, timer2)},
        // A handler that turns a timer off or on counts from the next timer on.
        {{"set r Second true", "set r Ticks 1", "tick r 3"},
         got(4, timer1) + got(4, timer2) + got(4, timer2) + got(4, timer2)},
        {{"set r Ticks 1", "tick r 1", "tick r 86400"}, got(3, timer1)},
        {{"tick r 86401"}, R"({"line":2,"syntax":"out of range: 86401"})" "\n"},
        {{"tick r -1"}, R"({"line":2,"syntax":"out of range: -1"})" "\n"},
        {{"tick r 2147483647"}, R"({"line":2,"syntax":"out of range: 2147483647"})" "\n"},
        {{"tick r 1 2"}, R"({"line":2,"syntax":"usage: tick NAME [COUNT]"})" "\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> script{std::string("new ") + kBeaconId + " r"};
        script.insert(script.end(), c.lines.begin(), c.lines.end());
        const std::string out = run(script, &recorderClassObject);
        EXPECT_EQ(out.substr(out.find('\n') + 1), c.out) << c.lines.back();
    }
}

}  // namespace
}  // namespace talvik
