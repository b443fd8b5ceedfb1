// The host layer's own rules, through a small control made for these tests: element
// sizes from pictures and text, array bounds, resizing, damage, events that re-enter
// or destroy the control, and the variant conversions.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <stdexcept>
#include <string>
#include <tuple>

#include "frame/host/Arith.h"
#include "frame/host/PropertyBag.h"
#include "hosts/headless/HeadlessHost.h"
#include "resources/Resources.h"

namespace talvik {
namespace {

constexpr ArgDecl kPingArgs[] = {{"Count", VarType::Int16, true}};
constexpr EventDecl kPing{"Ping", 1, kPingArgs};

// What the next probes do beyond the usual; their terminations are counted here because
// a destroyed probe is gone.
enum class Throws { Nothing, HostError, Other };
struct ProbeScript {
    Throws clickThrows = Throws::Nothing;
    Throws terminateThrows = Throws::Nothing;
    int terminations = 0;
};
ProbeScript script;

// Raises Ping on every click and goes on touching its elements afterwards, as a control
// whose container may destroy it or change it from the handler.
class Probe : public Control {
public:
    static const ControlTemplate& Design() {
        static const ControlTemplate t = [] {
            ControlTemplate t;
            t.width = 2000;
            t.height = 1000;
            t.add({.kind = ElementKind::Image, .name = "pic", .left = 10, .top = 20, .width = 300, .height = 300});
            t.add({.kind = ElementKind::Label, .name = "caption", .caption = "vltBox", .autoSize = true});
            t.addArray("cell", 3, [](int i) {
                return ElementSpec{.kind = ElementKind::Image, .left = 100.0f * i, .width = 50, .height = 50};
            });
            t.add({.kind = ElementKind::Line, .name = "rule", .x2 = 100});
            return t;
        }();
        return t;
    }
    static std::span<const MemberBinding> Members() { return {}; }
    static const ControlClass Class;

    explicit Probe(ControlHost& h) : Control(h), cells(h.images("cell")) {}

    void Resize() override { ++resizes; }
    void Terminate() override {
        ++terminations;
        ++script.terminations;
        if (script.terminateThrows == Throws::HostError) err::invalidCall();
        if (script.terminateThrows == Throws::Other) throw std::runtime_error("Terminate");
    }
    void OnEvent(const InputEvent& ev) override {
        if (ev.kind == EventKind::Change) ++changes;
        if (ev.kind != EventKind::Click) return;
        Variant args[] = {std::int16_t{1}};
        host().RaiseEvent(kPing, args);
        pingCount = args[0].toInt16();
        cells(0).Left(cells(0).Left() + 1);  // still safe after the handler returned
        if (script.clickThrows == Throws::HostError) cells(3);
        if (script.clickThrows == Throws::Other) throw std::runtime_error("Click");
    }

    ElementArray<Image> cells;
    int resizes = 0, terminations = 0, changes = 0;
    std::int16_t pingCount = 0;
};
const ControlClass Probe::Class = controlClass<Probe>("Probe", {}, {}, &resources::kPictureFiles);

struct Fixture {
    Fixture() { script = {}; }
    HeadlessHost host{Probe::Class};
    Probe& probe() { return static_cast<Probe&>(*host.control()); }
};

TEST(HostElements, SizesComeFromPicturesAndText) {
    Fixture f;
    Image pic = f.host.image("pic");
    pic.setPicture(f.host.LoadResPicture("SB_TOP_1"));  // 6 x 36 pixels
    EXPECT_EQ(pic.Width(), 90);
    EXPECT_EQ(pic.Height(), 540);
    pic.Stretch(true);
    pic.Width(1000);
    pic.setPicture(f.host.LoadResPicture("sb_mid_2"));  // stretched: the element keeps its size
    EXPECT_EQ(pic.Width(), 1000);
    pic.Stretch(false);  // back to the picture's own 8 x 8 pixels
    EXPECT_EQ(pic.Width(), 120);

    Label caption = f.host.label("caption");
    EXPECT_EQ(caption.Width(), 540);  // 6 characters of 6 pixels at 8.25 points
    EXPECT_EQ(caption.Height(), 195);
    caption.FontSize(6);  // 4-pixel characters, 10-pixel lines
    caption.Caption("abc");
    EXPECT_EQ(caption.Width(), 180);
    EXPECT_EQ(caption.Height(), 150);
}

TEST(HostElements, ResourcesByNumberAndNameWithoutRegardToCase) {
    Fixture f;
    const Picture a = f.host.LoadResPicture("SB_mid_2");
    EXPECT_EQ(a, f.host.LoadResPicture("SB_MID_2"));
    EXPECT_EQ(a.bitmap()->origin, "res:SB_MID_2");
    struct Case { ResId id; std::int32_t number; std::string description; };
    const Case failures[] = {
        {118, 326, "Resource with identifier '118' not found"},
        {"NO_SUCH", 326, "Resource with identifier 'NO_SUCH' not found"},
        {0, 326, "Resource with identifier '0' not found"},
    };
    for (const Case& c : failures) {
        try {
            f.host.LoadResPicture(c.id);
            ADD_FAILURE() << c.description;
        } catch (const HostError& e) {
            EXPECT_EQ(e.number, c.number);
            EXPECT_EQ(e.description, c.description);
        }
    }
    f.host.failResource("sb_top_1");
    try {
        f.host.LoadResPicture("SB_TOP_1");
        ADD_FAILURE();
    } catch (const HostError& e) {
        EXPECT_EQ(e.number, 5);
        EXPECT_EQ(e.description, "Injected fault");
    }
}

// Resize, repaints and a label's Change come only when something changed.
TEST(HostElements, OnlyChangesAreRaisedAndRepainted) {
    Fixture f;
    EXPECT_EQ(f.host.surface().Width(), 2000);  // the design size
    f.host.resizeTo(2000, 1000);
    EXPECT_EQ(f.probe().resizes, 0);
    f.host.resizeTo(2500, 1000);
    EXPECT_EQ(f.probe().resizes, 1);
    f.host.surface().Height(1200);  // a control's own assignment raises Resize at once
    EXPECT_EQ(f.probe().resizes, 2);
    f.host.surface().Height(1200);
    EXPECT_EQ(f.probe().resizes, 2);

    f.host.takeDamage();
    Image cell = f.host.images("cell")(1);
    cell.Left(150);
    const std::vector<RectF> moved = {{100, 0, 50, 50}, {150, 0, 50, 50}};
    EXPECT_EQ(f.host.takeDamage(), moved);
    cell.Left(150);
    EXPECT_TRUE(f.host.takeDamage().empty());
    cell.Visible(false);
    f.host.takeDamage();
    cell.Move(500, 500);  // hidden: nothing to repaint
    EXPECT_TRUE(f.host.takeDamage().empty());

    f.host.label("caption").Caption("new");
    f.host.label("caption").Caption("new");
    EXPECT_EQ(f.probe().changes, 1);
}

TEST(HostEvents, AControlSurvivesItsOwnEvents) {
    // The handler changes the by-reference argument.
    {
        Fixture f;
        f.host.onEvent = [](const EventDecl&, std::span<Variant> args) { args[0] = std::int16_t{7}; };
        f.host.deliver({EventKind::Click, f.host.image("pic")});
        EXPECT_EQ(f.probe().pingCount, 7);
        EXPECT_EQ(f.host.calls().at(0).args.at(0), Variant(std::int16_t{1}));  // recorded as raised
    }
    // The handler re-enters the control, then destroys it while the event is raised.
    {
        Fixture f;
        int terminationsSeen = -1;
        f.host.onEvent = [&](const EventDecl&, std::span<Variant>) {
            f.host.resizeTo(3000, 900);
            f.host.destroy();
            terminationsSeen = static_cast<Probe*>(f.host.control())->terminations;
        };
        f.host.deliver({EventKind::Click, f.host.image("pic")});
        EXPECT_EQ(terminationsSeen, 0);  // deferred until the click handler returned
        EXPECT_TRUE(f.host.destroyed());
        EXPECT_EQ(f.host.control(), nullptr);
        EXPECT_EQ(f.host.images("cell")(0).Left(), 1);  // the handler finished its work
        EXPECT_NO_THROW(f.host.deliver({EventKind::Click, f.host.image("pic")}));
    }
}

// A click handler whose container destroys the control and which then fails: the control
// is terminated once and released whatever happens, and the caller gets the click's own
// error; an error of Terminate gives way to it. Without one, Terminate's host errors are
// dropped as always, and any other failure of Terminate reaches the caller.
TEST(HostEvents, DestroyedDuringAFailingCall) {
    using T = Throws;
    struct Case {
        T click, terminate;
        std::string expected;  // what deliver raises: "", "340", "Click" or "Terminate"
    };
    const Case cases[] = {
        {T::HostError, T::Nothing, "340"},   {T::HostError, T::HostError, "340"}, {T::HostError, T::Other, "340"},
        {T::Other, T::Nothing, "Click"},     {T::Other, T::Other, "Click"},       {T::Other, T::HostError, "Click"},
        {T::Nothing, T::HostError, ""},      {T::Nothing, T::Other, "Terminate"},
    };
    for (const Case& c : cases) {
        Fixture f;
        script.clickThrows = c.click;
        script.terminateThrows = c.terminate;
        f.host.onEvent = [&](const EventDecl&, std::span<Variant>) { f.host.destroy(); };
        std::string raised;
        try {
            f.host.deliver({EventKind::Click, f.host.image("pic")});
        } catch (const HostError& e) {
            raised = std::to_string(e.number);
        } catch (const std::runtime_error& e) {
            raised = e.what();
        }
        EXPECT_EQ(raised, c.expected) << int(c.click) << " " << int(c.terminate);
        EXPECT_EQ(script.terminations, 1);
        EXPECT_TRUE(f.host.destroyed());
        EXPECT_EQ(f.host.control(), nullptr);
        EXPECT_NO_THROW(f.host.deliver({EventKind::Click, f.host.image("pic")}));
    }
}

// Out-of-range indexes, negative or non-finite sizes and positions are refused and
// change nothing.
TEST(HostElements, BadValuesAreRefusedAndChangeNothing) {
    constexpr float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    Fixture f;
    const ElementArray<Image> cells = f.host.images("cell");
    const Image pic = f.host.image("pic");
    const Label caption = f.host.label("caption");
    const Line rule = f.host.line("rule");
    const std::tuple<const char*, std::function<void()>, std::int32_t> refused[] = {
        {"cell(3)", [&] { cells(3); }, 340},
        {"cell(-1)", [&] { cells(-1); }, 340},
        {"negative Width", [&] { cells(0).Width(-1); }, 380},
        {"negative surface Height", [&] { f.host.surface().Height(-15); }, 380},
        {"resource of another type", [&] { f.host.LoadResPicture(101, 1); }, 5},
        {"Left", [&] { pic.Left(inf); }, 380},
        {"Top", [&] { pic.Top(-inf); }, 380},
        {"Width", [&] { pic.Width(nan); }, 380},
        {"Height", [&] { pic.Height(inf); }, 380},
        {"Move", [&] { pic.Move(0, inf); }, 380},
        {"Move 4", [&] { caption.Move(0, 0, 100, inf); }, 380},
        {"X1", [&] { rule.X1(inf); }, 380},
        {"Y1", [&] { rule.Y1(nan); }, 380},
        {"X2", [&] { rule.X2(-inf); }, 380},
        {"Y2", [&] { rule.Y2(inf); }, 380},
        {"surface Width", [&] { f.host.surface().Width(inf); }, 380},
        {"surface Height", [&] { f.host.surface().Height(nan); }, 380},
    };
    for (const auto& [name, set, expected] : refused) {
        std::int32_t number = 0;
        try {
            set();
        } catch (const HostError& e) {
            number = e.number;
        }
        EXPECT_EQ(number, expected) << name;
    }
    EXPECT_EQ(cells.Count(), 3);
    EXPECT_EQ(cells(0).Width(), 50);
    EXPECT_EQ(pic.bounds(), (RectF{10, 20, 300, 300}));
    EXPECT_EQ(caption.bounds(), (RectF{0, 0, 540, 195}));
    EXPECT_EQ(rule.X1(), 0);
    EXPECT_EQ(rule.Y1(), 0);
    EXPECT_EQ(rule.X2(), 100);
    EXPECT_EQ(rule.Y2(), 0);
    EXPECT_EQ(f.host.surface().Width(), 2000);
    EXPECT_EQ(f.host.surface().Height(), 1000);
    EXPECT_EQ(f.probe().resizes, 0);
}

// Where mouse input goes: the topmost visible image or label under the point, and the
// surface when there is none or when that one is disabled.
TEST(HostMouse, ElementAtAPoint) {
    Fixture f;
    const ElementArray<Image> cells = f.host.images("cell");
    const auto at = [&](float x, float y) {
        const Element e = f.host.elementAt(x, y);
        return e ? e.displayName() : std::string("surface");
    };
    struct Step {
        std::function<void()> change;
        float x, y;
        std::string expected;
    };
    const Step steps[] = {
        {[] {}, 5, 5, "cell(0)"},  // above the caption, which lies above the picture
        {[] {}, 60, 100, "caption"},
        {[] {}, 60, 250, "pic"},
        {[] {}, 400, 250, "surface"},
        {[] {}, 50, 5, "caption"},  // right and bottom edges belong to the neighbour
        {[&] { cells(0).Visible(false); }, 5, 5, "caption"},
        {[&] { f.host.label("caption").Enabled(false); }, 60, 100, "surface"},
        {[&] { cells(2).Move(5000, 5000); }, 5010, 5010, "cell(2)"},
        {[] {}, 210, 10, "surface"},
        {[&] { cells(1).Move(20000, 30000); }, 20010, 30049, "cell(1)"},
        {[&] { cells(0).Move(-40, -40); cells(0).Visible(true); }, -20, -20, "cell(0)"},
        {[] {}, 5, 5, "cell(0)"},
        {[&] { f.host.image("pic").Width(5000); }, 4000, 300, "pic"},
    };
    for (const Step& s : steps) {
        s.change();
        EXPECT_EQ(at(s.x, s.y), s.expected) << s.x << "," << s.y;
    }
}

TEST(HostServices, TextModelAndScriptedAnswers) {
    Fixture f;
    struct Case { std::string text; float size, width, height; };
    const Case cases[] = {
        // One line of 8.25 and 6 points is measured on the template's caption above.
        {"", 8.25f, 0, 195}, {"ab\ncde", 8.25f, 270, 390},
        {"A", 14.25f, 150, 345},  // 9.5 -> 10 pixels, 22.8 -> 23
    };
    for (const Case& c : cases) {
        const TextExtent e = f.host.MeasureText(c.text, Font{"MS Sans Serif", c.size});
        EXPECT_EQ(e.width, c.width) << c.text;
        EXPECT_EQ(e.height, c.height) << c.text;
    }
    f.host.setMsgBoxAnswer(2);
    EXPECT_EQ(f.host.MsgBox("Sure?", 16, "Veltrane"), 2);
    f.host.setClock({13, 45, 30});
    EXPECT_EQ(f.host.Now().minute, 45);
    EXPECT_EQ(f.host.calls().back().kind, ServiceCall::Kind::Now);
    f.host.LoadResPicture("sb_top_1");
    EXPECT_EQ(f.host.calls().back().kind, ServiceCall::Kind::LoadResPicture);
    EXPECT_EQ(f.host.calls().back().name, "sb_top_1");  // as asked
    f.host.failPointer();
    EXPECT_THROW(f.host.SetScreenPointer(ScreenPointer::Hourglass), HostError);
    f.host.unfailAll();
    f.host.SetScreenPointer(ScreenPointer::Hourglass);
    EXPECT_EQ(f.host.pointer(), ScreenPointer::Hourglass);
    // The record keeps the latest calls only, however long the session runs; every
    // call still reaches the listener.
    int heard = 0;
    f.host.onServiceCall = [&](const ServiceCall&) { ++heard; };
    f.host.setRecordLimit(2);
    for (int second = 0; second < 5; ++second) {
        f.host.setClock({13, 45, second});
        f.host.Now();
    }
    f.host.MsgBox("last", 0);
    EXPECT_EQ(heard, 6);
    ASSERT_EQ(f.host.calls().size(), 2u);
    EXPECT_EQ(f.host.calls().front().kind, ServiceCall::Kind::Now);
    EXPECT_EQ(f.host.calls().back().text, "last");
}

TEST(Variants, ConversionsFollowTheVariantRules) {
    struct Case {
        Variant value;
        VarType to;
        Variant expected;  // empty: an error is expected
        std::int32_t error;
    };
    // Overflows, text that is no number or boolean, "FALSE" and halves rounding to even
    // through a let are walked in the bad input and dispatch tests.
    const Case cases[] = {
        {std::int32_t{-32768}, VarType::Int16, std::int16_t{-32768}, 0},
        {-2.5, VarType::Int32, std::int32_t{-2}, 0},
        {" 12 ", VarType::Int16, std::int16_t{12}, 0},
        {"1e3", VarType::Int32, std::int32_t{1000}, 0},
        {"1,000", VarType::Int32, std::int32_t{1000}, 0},
        {"", VarType::Int16, {}, 13},
        {false, VarType::Int32, std::int32_t{0}, 0},
        {std::int16_t{5}, VarType::Bool, true, 0},
        {0.0, VarType::Bool, false, 0},
        {std::int16_t{7}, VarType::String, "7", 0},
        {true, VarType::String, "True", 0},
        {1.5f, VarType::String, "1.5", 0},
    };
    for (const Case& c : cases) {
        try {
            const Variant v = c.value.as(c.to);
            EXPECT_EQ(c.error, 0) << "converted " << (c.value.get<std::string>() ? *c.value.get<std::string>() : "");
            EXPECT_EQ(v, c.expected);
        } catch (const HostError& e) {
            EXPECT_EQ(e.number, c.error);
        }
    }
    EXPECT_EQ(shortestText(1072.5f), "1072.5");
    EXPECT_EQ(shortestText(22.5f), "22.5");
    EXPECT_EQ(shortestText(9780.0f), "9780");
    EXPECT_EQ(roundHalfEven(1447.5), 1448);
    EXPECT_EQ(roundHalfEven(1446.5), 1446);
    EXPECT_THROW(I16(32767) + I16(1), HostError);
    EXPECT_THROW(makeStringArray(1, 0), HostError);
}

// Defaults and write order are read back by every control's persistence test.
TEST(PropertyStore, KeysAreCaseSensitive) {
    PropertyBag bag;
    bag.WriteProperty("Caption", "x", "vltBox");
    EXPECT_EQ(bag.ReadProperty("Caption", "d"), Variant("x"));
    EXPECT_EQ(bag.ReadProperty("caption", "d"), Variant("d"));
}

}  // namespace
}  // namespace talvik
