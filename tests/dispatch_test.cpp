// Dispatch and the control object through the linked entry points, and input events as
// the element model delivers them, through stand-in controls made for these tests.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "answer/Matrix.h"
#include "frame/com/ControlHandle.h"
#include "frame/com/ControlObject.h"
#include "frame/com/LiveObjects.h"
#include "frame/host/ControlHost.h"
#include "frame/host/HostError.h"
#include "frame/model/DataObject.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik {
using namespace controls;
namespace {

constexpr std::int32_t kMaxItems = 0x68030002;
constexpr std::int32_t kResult = 0x68030000;

struct Sheet {
    std::shared_ptr<HeadlessHost> host = std::make_shared<HeadlessHost>();
    ControlHandle m;
    Sheet() {
        const Outcome made = createControl("Matrix", host, m);
        EXPECT_TRUE(made.ok()) << made.error.description;
        EXPECT_TRUE(m.initialize().ok());
    }
};

TEST(Dispatch, MembersByIdentifierOrByNameInAnyCase) {
    Sheet s;
    const Variant ten = std::int16_t{10};
    EXPECT_TRUE(s.m.invoke(kMaxItems, InvokeKind::PropertyPut, std::span<const Variant>(&ten, 1)).ok());
    const Outcome byId = s.m.invoke(kResult, InvokeKind::PropertyGet);
    EXPECT_EQ(byId.value.toStringArray(), makeStringArray(1, 10));
    EXPECT_EQ(s.m.get("RESULT").value.toStringArray().items.size(), 10u);
    std::int32_t id = 0;
    EXPECT_EQ(s.m.object()->GetIDsOfNames("maxitemPERcol", id), S_OK);
    EXPECT_EQ(id, 0x68030004);
    EXPECT_EQ(s.m.object()->GetIDsOfNames("MaxItem", id), DISP_E_UNKNOWNNAME);
}

// A probe control: what reaches it, in what order, and what it raises.
std::vector<std::string> probeLog;

constexpr ArgDecl kPingArgs[] = {{"Count", VarType::Int16, true}};
constexpr EventDecl kPing{"Ping", 1, kPingArgs};

class Probe : public Control {
public:
    using Control::Control;
    static const ControlTemplate& Design() {
        static const ControlTemplate t{.width = 1000, .height = 500};
        return t;
    }

    std::int16_t Count() const { return 0; }
    void Count(std::int16_t v) { probeLog.push_back("Count " + std::to_string(v)); }
    std::int32_t Kind() const { return 0; }
    void Kind(std::int32_t v) { probeLog.push_back("Kind " + std::to_string(v)); }
    std::int16_t Narrow() const { return 7; }
    void Fail() { throw HostError(380, "Invalid property value"); }
    void Crash() { throw std::runtime_error("bug"); }
    std::int16_t Ping() {
        Variant args[] = {std::int16_t{1}};
        host().RaiseEvent(kPing, args);
        probeLog.push_back("after Ping");
        return args[0].toInt16();
    }

    void Terminate() override { probeLog.push_back("Terminate"); }
    void OnEvent(const InputEvent& ev) override {
        probeLog.push_back(std::string(eventName(ev.kind)));
        if (ev.kind == EventKind::Click) Ping();
    }
};

constexpr MemberDesc kProbeMembers[] = {
    property<Probe, std::int16_t, &Probe::Count, &Probe::Count>("Count", 0x68030003),
    property<Probe, std::int32_t, &Probe::Kind, &Probe::Kind>("Kind", BoxStyleEnumType, 0x68030002),
    // Described wider than the control gives it.
    {"Narrow", MemberKind::ReadOnlyProperty, kInt32, 0x68030001, readOnly<&Probe::Narrow>("Narrow", 0).binding},
    method<&Probe::Fail>("Fail", 0x60030001),
    method<&Probe::Crash>("Crash", 0x60030002),
    method<&Probe::Ping>("Ping", 0x60030003),
};
constexpr EventDecl kProbeEvents[] = {kPing};
const ControlClass kProbeClass = controlClass<Probe>("Probe", kProbeMembers, kProbeEvents);

struct Probed {
    std::shared_ptr<HeadlessHost> host = std::make_shared<HeadlessHost>();
    ControlHandle p{new ControlObject(kProbeClass)};
    Probed() {
        probeLog.clear();
        EXPECT_EQ(p.object()->Site(host, nullptr), S_OK);
    }
};

// Nothing a control throws crosses the binary interface.
TEST(ControlObject, ControlErrorsComeBackAsResultCodes) {
    const Outcome fail = Probed().p.call("Fail");
    EXPECT_EQ(fail.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(fail.error.number, 380);
    EXPECT_EQ(fail.error.description, "Invalid property value");
    const Outcome crash = Probed().p.call("Crash");
    EXPECT_EQ(crash.hr, E_UNEXPECTED);
    EXPECT_EQ(crash.error.number, 51);
    EXPECT_EQ(crash.error.description, "Internal error: bug");
}

TEST(ControlObject, ValuesTravelInTheDescribedType) {
    Probed s;
    EXPECT_TRUE(s.p.let("Kind", "6").ok());               // a value no enumeration names is still a long
    EXPECT_TRUE(s.p.let("Kind", 3.5).ok());               // rounds half to even
    EXPECT_TRUE(s.p.let("Count", 2.5f).ok());
    EXPECT_EQ(s.p.let("Kind", 3e9).hr, DISP_E_OVERFLOW);  // never reaches the let
    EXPECT_EQ(probeLog, (std::vector<std::string>{"Kind 6", "Kind 4", "Count 2"}));
    const Outcome narrow = s.p.get("Narrow");
    EXPECT_EQ(narrow.value.type(), VarType::Int32);
    EXPECT_EQ(narrow.value.toInt32(), 7);
    s.host->onEvent = [](const EventDecl&, std::span<Variant> args) { args[0] = std::int16_t{41}; };
    EXPECT_EQ(s.p.call("Ping").value.toInt16(), 41);  // a handler may change by-reference arguments
}

TEST(ControlObject, ControlDestroyedAndReleasedByAHandlerOfItsOwnEvent) {
    const std::int32_t before = liveCounts().instances;
    {
        Probed s;
        IControl* raw = s.p.object();
        s.host->onEvent = [&](const EventDecl&, std::span<Variant>) {
            probeLog.push_back("handler");
            EXPECT_TRUE(s.p.destroy().ok());
            s.p.reset();  // the last reference the container holds
            probeLog.push_back("released");
        };
        ASSERT_EQ(liveCounts().instances, before + 1);
        EXPECT_EQ(raw->Deliver({EventKind::Click, nullptr}, nullptr), S_OK);
        // Terminate waited until the click had been handled to the end.
        EXPECT_EQ(probeLog, (std::vector<std::string>{"Click", "handler", "released", "after Ping", "Terminate"}));
        EXPECT_EQ(s.host->control(), nullptr);
        EXPECT_EQ(liveCounts().instances, before);
    }
}

TEST(ControlObject, DestroyOrLastReleaseTerminatesOnceAndLaterCallsAreRefused) {
    const std::int32_t before = liveCounts().instances;
    {
        Probed s;
        ASSERT_TRUE(s.p.destroy().ok());
        EXPECT_EQ(s.p.get("Count").hr, E_UNEXPECTED);
        EXPECT_EQ(s.p.destroy().hr, S_OK);  // once is enough
        EXPECT_EQ(probeLog, (std::vector<std::string>{"Terminate"}));
    }
    {
        Probed s;
        s.p.reset();
        EXPECT_EQ(probeLog, (std::vector<std::string>{"Terminate"}));
    }
    EXPECT_EQ(liveCounts().instances, before);
}

TEST(ControlObject, CallsBeforeSitingAreRefused) {
    ControlHandle unsited{new ControlObject(kProbeClass)};
    EXPECT_EQ(unsited.initialize().hr, E_UNEXPECTED);
    EXPECT_EQ(unsited.object()->Site(nullptr, nullptr), E_POINTER);
    auto used = std::make_shared<HeadlessHost>(Matrix::Class);
    EXPECT_EQ(unsited.object()->Site(used, nullptr), E_UNEXPECTED);  // a host holds one control
}

// Answers every event by changing its arguments as a drop target or a key filter
// would, and logs which events reached it and when.
class Target : public Control {
public:
    static const ControlTemplate& Design() {
        static const ControlTemplate t = [] {
            ControlTemplate t{.width = 3000, .height = 1500};
            t.add({.kind = ElementKind::Image, .name = "pic", .width = 300, .height = 300});
            t.add({.kind = ElementKind::Image, .name = "hidden", .width = 300, .height = 300, .visible = false});
            t.add({.kind = ElementKind::Image, .name = "off", .width = 300, .height = 300, .enabled = false});
            t.add({.kind = ElementKind::Timer, .name = "Slow", .interval = 1000});
            t.add({.kind = ElementKind::Timer, .name = "Fast", .interval = 300});
            t.add({.kind = ElementKind::Timer, .name = "Idle", .enabled = false, .interval = 500});
            return t;
        }();
        return t;
    }
    static const ControlClass Class;

    using Control::Control;

    void OnEvent(const InputEvent& ev) override {
        auto& h = static_cast<HeadlessHost&>(host());
        log.push_back(std::string(eventName(ev.kind)) + (ev.source ? " " + ev.source.displayName() : "") + "@" +
                      std::to_string(h.elapsed()));
        switch (ev.kind) {
            case EventKind::OLEDragOver:
            case EventKind::OLEDragDrop:
                ev.effect = ev.data != nullptr && ev.data->GetFormat(kFormatText) ? kDropCopy : kDropNone;
                break;
            case EventKind::KeyPress: ev.key = 0; break;
            case EventKind::KeyDown: ev.shift = 0; break;
            case EventKind::DragDrop:
                ev.x += 15;
                ev.y -= 15;
                break;
            case EventKind::Timer:
                if (onTimer) onTimer(ev.source.as<Timer>());
                break;
            default: break;
        }
    }

    std::vector<std::string> log;
    std::function<void(const Timer&)> onTimer;
};
const ControlClass Target::Class = controlClass<Target>("Target");

// The control sited on a headless host through its object, as a container holds it.
struct Fixture {
    Fixture() {
        handle.object()->Site(host, nullptr);
        handle.initialize();
    }
    std::shared_ptr<HeadlessHost> host = std::make_shared<HeadlessHost>();
    ControlHandle handle{new ControlObject(Target::Class)};
    Target& target() { return static_cast<Target&>(*host->control()); }
};

TEST(InputEvents, ByReferenceArgumentsComeBackToTheDeliverer) {
    Fixture f;
    DataObject text, empty;
    text.SetData("answer", kFormatText);
    struct Case {
        const char* what;
        InputEvent ev;
        InputEvent expected;  // the arguments as the deliverer reads them afterwards
    };
    const Case cases[] = {
        {"a drop target takes text", {.kind = EventKind::OLEDragOver, .effect = kDropCopy | kDropMove, .data = &text},
         {.effect = kDropCopy}},
        {"and refuses anything else", {.kind = EventKind::OLEDragOver, .effect = kDropCopy, .data = &empty},
         {.effect = kDropNone}},
        {"the drop itself", {.kind = EventKind::OLEDragDrop, .effect = kDropMove | kDropCopy, .data = &text},
         {.effect = kDropCopy}},
        {"a key character cancelled", {.kind = EventKind::KeyPress, .key = 13}, {.key = 0}},
        {"the shift state of a key cleared", {.kind = EventKind::KeyDown, .shift = 3, .key = 40}, {.shift = 0, .key = 40}},
        {"a dropped point moved", {.kind = EventKind::DragDrop, .x = 100, .y = 200}, {.x = 115, .y = 185}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Straight on the host, and through the control's interface as a container does.
        const InputEvent direct = c.ev;
        f.host->deliver(direct);
        const InputEvent viaObject = c.ev;
        ASSERT_TRUE(f.handle.deliver(viaObject).ok());
        for (const InputEvent* got : {&direct, &viaObject}) {
            EXPECT_EQ(got->effect, c.expected.effect);
            EXPECT_EQ(got->key, c.expected.key);
            EXPECT_EQ(got->shift, c.expected.shift);
            EXPECT_EQ(got->x, c.expected.x);
            EXPECT_EQ(got->y, c.expected.y);
        }
    }
}

TEST(InputEvents, PointerEventsReachOnlyElementsThatShowAndTakeTheMouse) {
    Fixture f;
    const Image pic = f.host->image("pic");
    const Image hidden = f.host->image("hidden");
    const Image off = f.host->image("off");
    DataObject data;
    for (const EventKind k : {EventKind::Click, EventKind::DragDrop, EventKind::DragOver, EventKind::OLEDragDrop,
                              EventKind::OLEDragOver})
        for (const Image& to : {pic, hidden, off}) f.host->deliver({.kind = k, .source = to, .data = &data});
    // Events that are not the pointer's reach a hidden element all the same.
    for (const EventKind k : {EventKind::OLEStartDrag, EventKind::OLEGiveFeedback, EventKind::OLESetData,
                              EventKind::OLECompleteDrag, EventKind::AmbientChanged})
        f.host->deliver({.kind = k, .source = hidden, .data = &data});
    EXPECT_EQ(f.target().log, (std::vector<std::string>{
                                  "Click pic@0", "DragDrop pic@0", "DragOver pic@0", "OLEDragDrop pic@0",
                                  "OLEDragOver pic@0", "OLEStartDrag hidden@0", "OLEGiveFeedback hidden@0",
                                  "OLESetData hidden@0", "OLECompleteDrag hidden@0", "AmbientChanged hidden@0"}));
}

TEST(InputEvents, TimersTickFromTheHostsClock) {
    // Slow ticks every 1000 ms and Fast every 300 ms from the start; Idle (500 ms) is off.
    struct Step {
        const char* what;
        std::function<void(Fixture&)> act;
        std::vector<std::string> ticks;
    };
    const auto advance = [](std::int32_t ms) { return [ms](Fixture& f) { f.host->advance(ms); }; };
    const Step steps[] = {
        {"nothing is due before the first interval", advance(299), {}},
        {"one tick per elapsed interval, in time order", advance(1001),
         {"Timer Fast@300", "Timer Fast@600", "Timer Fast@900", "Timer Slow@1000", "Timer Fast@1200"}},
        {"enabling starts the interval afresh", [](Fixture& f) { f.host->timer("Idle").Enabled(true); },  {}},
        {"timers due together tick in template order", advance(1200),
         {"Timer Fast@1500", "Timer Fast@1800", "Timer Idle@1800", "Timer Slow@2000", "Timer Fast@2100",
          "Timer Idle@2300", "Timer Fast@2400"}},
        {"a new interval starts now", [](Fixture& f) {
             f.host->timer("Fast").Enabled(false);
             f.host->timer("Idle").Enabled(false);
             f.host->timer("Slow").Interval(250);
         }, {}},
        {"and ticks by itself", advance(500), {"Timer Slow@2750", "Timer Slow@3000"}},
        {"a timer that turns itself off ticks no more", [](Fixture& f) {
             f.target().onTimer = [](const Timer& t) { t.Enabled(false); };
             f.host->advance(10000);
         }, {"Timer Slow@3250"}},
        {"the clock moved all the same", [](Fixture& f) { EXPECT_EQ(f.host->elapsed(), 13000); }, {}},
        {"a tick asked of a timer that is off is not delivered",
         [](Fixture& f) { EXPECT_TRUE(f.handle.tick(f.host->timer("Idle")).ok()); }, {}},
    };
    Fixture f;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        f.target().log.clear();
        s.act(f);
        EXPECT_EQ(f.target().log, s.ticks);
    }
}

TEST(InputEvents, TheTimeOfDayMovesWithTheClock) {
    Fixture f;
    f.host->advance(400);
    f.host->setClock({23, 59, 58});
    struct Case { std::int32_t advance; TimeOfDay now; };
    const Case cases[] = {{0, {23, 59, 58}}, {999, {23, 59, 58}}, {1, {23, 59, 59}}, {1000, {0, 0, 0}},
                          {3'600'000, {1, 0, 0}}};
    for (const Case& c : cases) {
        f.host->advance(c.advance);
        const TimeOfDay t = f.host->Now();
        EXPECT_EQ((std::vector{t.hour, t.minute, t.second}), (std::vector{c.now.hour, c.now.minute, c.now.second}))
            << "after " << c.advance << " ms more";
    }
    try {
        f.host->advance(-1);
        ADD_FAILURE() << "a negative advance was taken";
    } catch (const HostError& e) {
        EXPECT_EQ(e.number, 5);
    }
}

}  // namespace
}  // namespace talvik
