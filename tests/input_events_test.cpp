// Input events as the element model delivers them: by-reference arguments that a
// control's handler changes reach whoever delivered the event, drops reach only
// elements that take the mouse, and timers tick from the headless host's clock.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "frame/com/ControlHandle.h"
#include "frame/com/ControlObject.h"
#include "frame/model/DataObject.h"
#include "frame/host/HostError.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik {
namespace {

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
