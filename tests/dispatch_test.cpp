// Dispatch and the control object through the linked entry points: coercion before a
// let, the errors of the call itself, control errors as result codes, lifecycle and
// input forwarding, and a control released by the handler of an event it is raising.
#include <gtest/gtest.h>

#include <stdexcept>

#include "answer/Matrix.h"
#include "frame/com/ControlHandle.h"
#include "frame/host/ControlHost.h"
#include "frame/com/ControlObject.h"
#include "frame/com/LiveObjects.h"
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

    ASSERT_TRUE(s.m.deliver({EventKind::Click, s.host->images("Image2")(3)}).ok());
    EXPECT_EQ(s.m.get("result").value.toStringArray().at(4), "2");
    const Outcome reset = s.m.call("reset");
    ASSERT_TRUE(reset.ok());
    EXPECT_TRUE(reset.value.empty());
    EXPECT_EQ(s.m.get("result").value.toStringArray().at(4), "");
}

// A probe control: what reaches it, in what order, and what it raises.
std::vector<std::string> probeLog;

constexpr ArgDecl kPingArgs[] = {{"Count", VarType::Int16, true}};
constexpr EventDecl kPing{"Ping", 1, kPingArgs};

class Probe : public Control {
public:
    using Control::Control;
    static const ControlTemplate& Design() {
        static const ControlTemplate t = [] {
            ControlTemplate t{.width = 1000, .height = 500};
            for (const bool on : {true, false})
                t.add({.kind = ElementKind::Timer, .name = on ? "TimerOn" : "TimerOff", .enabled = on, .interval = 1000});
            return t;
        }();
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

    void Initialize() override { probeLog.push_back("Initialize"); }
    void Resize() override { probeLog.push_back("Resize"); }
    void Paint() override { probeLog.push_back("Paint"); }
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

TEST(ControlObject, ShowResizesThenPaintsAndTimersTickWhenEnabled) {
    Probed s;
    ASSERT_TRUE(s.p.show().ok());
    ASSERT_TRUE(s.p.resize(1000, 500).ok());  // the size it has: no Resize
    ASSERT_TRUE(s.p.resize(1200, 500).ok());
    ASSERT_TRUE(s.p.tick(s.host->timer("TimerOn")).ok());
    ASSERT_TRUE(s.p.tick(s.host->timer("TimerOff")).ok());
    EXPECT_EQ(probeLog, (std::vector<std::string>{"Resize", "Paint", "Resize", "Timer"}));
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

}  // namespace
}  // namespace talvik
