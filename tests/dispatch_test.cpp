// Dispatch and the control object, through the linked entry points: coercion of a let's
// value before the control sees it, the errors of the call itself, control errors as
// result codes, lifecycle and input forwarding, and a control destroyed and released by
// the handler of an event it is raising.
#include <gtest/gtest.h>

#include <stdexcept>

#include "answer/Matrix.h"
#include "frame/ControlHandle.h"
#include "frame/ControlHost.h"
#include "frame/ControlObject.h"
#include "frame/LiveObjects.h"
#include "frame/PropertyBag.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik {
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
    std::int32_t questions() const { return m.get("result").value.toStringArray().ubound(); }
};

TEST(Dispatch, LetValuesAreCoercedToTheMembersTypeFirst) {
    struct Row {
        const char* what;
        Variant value;
        HRESULT hr;
        std::int32_t number;
        std::int32_t questions;  // MaxItems as the sheet then shows it
    };
    StringArray array = makeStringArray(1, 1);
    const Row rows[] = {
        {"16-bit integer", std::int16_t{10}, S_OK, 0, 10},
        {"numeric text", "12", S_OK, 0, 12},
        {"text with spaces", " 7 ", S_OK, 0, 7},
        {"text with an exponent", "1e2", S_OK, 0, 100},
        {"a half rounds to even, down", 10.5, S_OK, 0, 10},
        {"a half rounds to even, up", 11.5, S_OK, 0, 12},
        {"single", 150.0f, S_OK, 0, 150},
        {"32-bit that fits", std::int32_t{200}, S_OK, 0, 150},  // the let clamps to 150
        {"true is -1", true, S_OK, 0, 25},                      // and 0 or less becomes 25
        {"empty is 0", Variant(), S_OK, 0, 25},
        {"past 16 bits", std::int32_t{40000}, DISP_E_OVERFLOW, 6, 100},
        {"past 16 bits as text", "32768", DISP_E_OVERFLOW, 6, 100},
        {"not a number", "abc", DISP_E_TYPEMISMATCH, 13, 100},
        {"an array", array, DISP_E_TYPEMISMATCH, 13, 100},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Sheet s;
        const Outcome o = s.m.let("MaxItems", r.value);
        EXPECT_EQ(o.hr, r.hr);
        EXPECT_EQ(o.error.number, r.number);
        EXPECT_EQ(s.questions(), r.questions);
    }
}

TEST(Dispatch, ErrorDescriptionsOfFailedCoercions) {
    Sheet s;
    EXPECT_EQ(s.m.let("MaxItems", std::int32_t{-40000}).error.description, "Overflow");
    EXPECT_EQ(s.m.let("MaxCols", "four").error.description, "Type mismatch");
}

TEST(Dispatch, MembersByIdentifierAndByNameInAnyCase) {
    Sheet s;
    const Variant ten = std::int16_t{10};
    EXPECT_TRUE(s.m.invoke(kMaxItems, InvokeKind::PropertyPut, std::span<const Variant>(&ten, 1)).ok());
    const Outcome byId = s.m.invoke(kResult, InvokeKind::PropertyGet);
    ASSERT_TRUE(byId.ok());
    EXPECT_EQ(byId.value.toStringArray().lbound, 1);
    EXPECT_EQ(byId.value.toStringArray().items.size(), 10u);
    EXPECT_EQ(s.m.get("RESULT").value.toStringArray().items.size(), 10u);

    std::int32_t id = 0;
    EXPECT_EQ(s.m.object()->GetIDsOfNames("maxitemPERcol", id), S_OK);
    EXPECT_EQ(id, 0x68030004);
    EXPECT_EQ(s.m.object()->GetIDsOfNames("MaxItem", id), DISP_E_UNKNOWNNAME);
}

TEST(Dispatch, CallsOfTheWrongKindOrShapeFail) {
    const Variant one = std::int16_t{1};
    const Variant two[] = {std::int16_t{1}, std::int16_t{2}};
    struct Row {
        const char* what;
        std::int32_t id;
        InvokeKind kind;
        std::span<const Variant> args;
        HRESULT hr;
        std::int32_t number;
    };
    const Row rows[] = {
        {"no such identifier", 0x68030006, InvokeKind::PropertyGet, {}, DISP_E_MEMBERNOTFOUND, 438},
        {"let of a get-only property", kResult, InvokeKind::PropertyPut, {&one, 1}, DISP_E_MEMBERNOTFOUND, 383},
        {"get of a method", 0x6003000C, InvokeKind::PropertyGet, {}, DISP_E_MEMBERNOTFOUND, 438},
        {"let of a method", 0x6003000C, InvokeKind::PropertyPut, {&one, 1}, DISP_E_MEMBERNOTFOUND, 438},
        {"call of a property", kMaxItems, InvokeKind::Method, {}, DISP_E_MEMBERNOTFOUND, 438},
        {"let without a value", kMaxItems, InvokeKind::PropertyPut, {}, DISP_E_BADPARAMCOUNT, 450},
        {"let with two values", kMaxItems, InvokeKind::PropertyPut, two, DISP_E_BADPARAMCOUNT, 450},
        {"get with an argument", kMaxItems, InvokeKind::PropertyGet, {&one, 1}, DISP_E_BADPARAMCOUNT, 450},
        {"method with an argument", 0x6003000C, InvokeKind::Method, {&one, 1}, DISP_E_BADPARAMCOUNT, 450},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Sheet s;
        const Outcome o = s.m.invoke(r.id, r.kind, r.args);
        EXPECT_EQ(o.hr, r.hr);
        EXPECT_EQ(o.error.number, r.number);
        EXPECT_EQ(s.questions(), 100);
    }
    Sheet s;
    EXPECT_EQ(s.m.get("Nope").hr, DISP_E_UNKNOWNNAME);
    EXPECT_EQ(s.m.get("Nope").error.number, 438);
}

TEST(Dispatch, MethodCallReachesTheControl) {
    Sheet s;
    ASSERT_TRUE(s.m.deliver({EventKind::Click, &s.host->images("Image2")(3)}).ok());
    EXPECT_EQ(s.m.get("result").value.toStringArray().at(4), "2");
    const Outcome o = s.m.call("reset");
    ASSERT_TRUE(o.ok());
    EXPECT_TRUE(o.value.empty());
    EXPECT_EQ(s.m.get("result").value.toStringArray().at(4), "");
}

TEST(Dispatch, CreationByNameOrIdentifierOnly) {
    struct Row {
        const char* cls;
        HRESULT hr;
    };
    const Row rows[] = {
        {"Matrix", S_OK},
        {"{1E2E8703-D9FD-48D0-9002-8B673A58920A}", S_OK},
        {"{1e2e8703-d9fd-48d0-9002-8b673a58920a}", S_OK},
        {"matrix", CLASS_E_CLASSNOTAVAILABLE},
        {"vltGraphButton", CLASS_E_CLASSNOTAVAILABLE},
        {"{AD8BC1B3-2D95-4C15-8B3B-16F2FE11DFD3}", CLASS_E_CLASSNOTAVAILABLE},  // the library, not a class
        {"{00000000-0000-0000-0000-000000000000}", CLASS_E_CLASSNOTAVAILABLE},
        {"", CLASS_E_CLASSNOTAVAILABLE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.cls);
        auto host = std::make_shared<HeadlessHost>();
        ControlHandle h;
        const Outcome o = createControl(r.cls, host, h);
        EXPECT_EQ(o.hr, r.hr);
        EXPECT_EQ(bool(h), r.hr == S_OK);
        if (r.hr != S_OK) {
            EXPECT_EQ(o.error.number, static_cast<std::int32_t>(0x80040111u));
            EXPECT_EQ(o.error.description, "Class not available");
            EXPECT_EQ(host->controlClass(), nullptr);
        } else {
            EXPECT_EQ(host->controlClass(), &Matrix::Class);
        }
    }
    const std::int32_t before = liveCounts().instances;
    {
        auto host = std::make_shared<HeadlessHost>();
        ControlHandle h;
        EXPECT_EQ(createPrivateControl("Matrix", host, h).hr, CLASS_E_CLASSNOTAVAILABLE);
        EXPECT_EQ(createPrivateControl("NoSuchControl", host, h).hr, CLASS_E_CLASSNOTAVAILABLE);
    }
    EXPECT_EQ(liveCounts().instances, before);
}

TEST(Dispatch, LifecycleCallsReachTheControl) {
    Sheet s;
    PropertyBag saved;
    ASSERT_TRUE(s.m.writeProperties(saved).ok());
    ASSERT_EQ(saved.writes().size(), 4u);
    EXPECT_EQ(saved.writes()[0].key, "MaxItemPerCol");
    EXPECT_EQ(saved.writes()[3].key, "MaxItems");

    const PropertyBag stored{{"MaxItems", std::int16_t{12}}};
    ASSERT_TRUE(s.m.readProperties(stored).ok());
    EXPECT_EQ(s.questions(), 12);

    // Resizing to a negative width is refused by the surface, as a result code.
    const Outcome bad = s.m.resize(-1, 100);
    EXPECT_EQ(bad.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(bad.error.number, 380);
    EXPECT_EQ(bad.error.description, "Invalid property value");
}

// ---- A probe control: what reaches it, in what order, and what it raises ----

std::vector<std::string> probeLog;

constexpr ArgDecl kPingArgs[] = {{"Count", VarType::Int16, true}};
constexpr EventDecl kPing{"Ping", 1, kPingArgs};

class Probe : public Control {
public:
    using Control::Control;
    static const ControlTemplate& Design() {
        static const ControlTemplate t = [] {
            ControlTemplate t;
            t.className = "Probe";
            t.width = 1000;
            t.height = 500;
            ElementSpec on, off;
            on.kind = off.kind = ElementKind::Timer;
            on.name = "TimerOn";
            off.name = "TimerOff";
            on.interval = off.interval = 1000;
            off.enabled = false;
            t.add(on);
            t.add(off);
            return t;
        }();
        return t;
    }
    static std::span<const MemberBinding> Members() {
        static const MemberBinding m[] = {
            property<Probe, std::int16_t, &Probe::Count, &Probe::Count>("Count"),
            property<Probe, std::int32_t, &Probe::Kind, &Probe::Kind>("Kind"),
            readOnly<&Probe::Narrow>("Narrow"),
            method<&Probe::Fail>("Fail"),
            method<&Probe::Crash>("Crash"),
            method<&Probe::Ping>("Ping"),
        };
        return m;
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
    {"Count", MemberKind::Property, {VarType::Int16, {}}, 0x68030003},
    {"Kind", MemberKind::Property, {VarType::Int32, "BoxStyleEnum"}, 0x68030002},
    {"Narrow", MemberKind::ReadOnlyProperty, {VarType::Int32, {}}, 0x68030001},
    {"Fail", MemberKind::Method, {VarType::Empty, {}}, 0x60030001},
    {"Crash", MemberKind::Method, {VarType::Empty, {}}, 0x60030002},
    {"Ping", MemberKind::Method, {VarType::Int16, {}}, 0x60030003},
};
constexpr EventDecl kProbeEvents[] = {kPing};
const ClassDesc kProbeDesc{"Probe", Guid{}, "_Probe", Guid{}, "__Probe", Guid{}, kProbeMembers, kProbeEvents};
const ControlClass kProbeClass = controlClass<Probe>("Probe");

struct Probed {
    std::shared_ptr<HeadlessHost> host = std::make_shared<HeadlessHost>();
    ControlHandle p{new ControlObject(kProbeClass, &kProbeDesc)};
    Probed() {
        probeLog.clear();
        EXPECT_TRUE(p.object()->Site(host, nullptr) == S_OK);
    }
};

TEST(ControlObject, ControlErrorsComeBackAsResultCodes) {
    struct Row {
        const char* method;
        HRESULT hr;
        std::int32_t number;
        const char* description;
    };
    const Row rows[] = {
        {"Fail", DISP_E_EXCEPTION, 380, "Invalid property value"},
        {"Crash", E_UNEXPECTED, 51, "Internal error: bug"},
    };
    for (const Row& r : rows) {
        Probed s;
        const Outcome o = s.p.call(r.method);
        EXPECT_EQ(o.hr, r.hr) << r.method;
        EXPECT_EQ(o.error.number, r.number) << r.method;
        EXPECT_EQ(o.error.description, r.description) << r.method;
    }
}

TEST(ControlObject, ValuesReachTheControlInTheDescribedType) {
    Probed s;
    EXPECT_TRUE(s.p.let("Kind", "6").ok());            // a value no enumeration names is still a long
    EXPECT_TRUE(s.p.let("Count", 2.5f).ok());          // rounds half to even
    EXPECT_EQ(s.p.let("Kind", 3e9).hr, DISP_E_OVERFLOW);  // past 32 bits, never reaches the let
    EXPECT_EQ(probeLog, (std::vector<std::string>{"Kind 6", "Count 2"}));
    // A result narrower than described reaches the host in the described type.
    const Outcome narrow = s.p.get("Narrow");
    EXPECT_EQ(narrow.value.type(), VarType::Int32);
    EXPECT_EQ(narrow.value.toInt32(), 7);
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

TEST(ControlObject, HandlersMayChangeByReferenceArguments) {
    Probed s;
    s.host->onEvent = [](const EventDecl& ev, std::span<Variant> args) {
        if (ev.name == "Ping") args[0] = std::int16_t{41};
    };
    const Outcome o = s.p.call("Ping");
    EXPECT_EQ(o.value.toInt16(), 41);
}

TEST(ControlObject, ControlDestroyedAndReleasedByAHandlerOfItsOwnEvent) {
    const std::int32_t before = liveCounts().instances;
    {
        Probed s;
        ControlHandle& handle = s.p;
        IControl* raw = handle.object();
        s.host->onEvent = [&](const EventDecl&, std::span<Variant>) {
            probeLog.push_back("handler");
            EXPECT_TRUE(handle.destroy().ok());
            handle.reset();  // the last reference the container holds
            probeLog.push_back("released");
        };
        ASSERT_EQ(liveCounts().instances, before + 1);
        const HRESULT hr = raw->Deliver({EventKind::Click, nullptr}, nullptr);
        EXPECT_EQ(hr, S_OK);
        // Terminate waited until the click had been handled to the end.
        EXPECT_EQ(probeLog, (std::vector<std::string>{"Click", "handler", "released", "after Ping", "Terminate"}));
        EXPECT_EQ(s.host->control(), nullptr);
        EXPECT_EQ(liveCounts().instances, before);
    }
}

TEST(ControlObject, CallsBeforeSitingOrAfterDestructionAreRefused) {
    Probed s;
    ASSERT_TRUE(s.p.destroy().ok());
    EXPECT_EQ(probeLog, (std::vector<std::string>{"Terminate"}));
    EXPECT_EQ(s.p.get("Count").hr, E_UNEXPECTED);
    EXPECT_EQ(s.p.destroy().hr, S_OK);  // once is enough
    EXPECT_EQ(probeLog.size(), 1u);

    ControlHandle unsited{new ControlObject(kProbeClass, &kProbeDesc)};
    EXPECT_EQ(unsited.initialize().hr, E_UNEXPECTED);
    EXPECT_EQ(unsited.object()->Site(nullptr, nullptr), E_POINTER);
    auto used = std::make_shared<HeadlessHost>(Matrix::Class);
    EXPECT_EQ(unsited.object()->Site(used, nullptr), E_UNEXPECTED);  // a host holds one control
}

TEST(ControlObject, LastReleaseTerminatesALiveControl) {
    const std::int32_t before = liveCounts().instances;
    {
        Probed s;
        s.p.reset();
        EXPECT_EQ(probeLog, (std::vector<std::string>{"Terminate"}));
    }
    EXPECT_EQ(liveCounts().instances, before);
}

}  // namespace
}  // namespace talvik
