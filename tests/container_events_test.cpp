// The container's report of what a control does while a command runs: events with
// their arguments by name, the answers its handlers give, message boxes, shell calls,
// pointer changes, property-changed notices, the clock, timers and injected faults.
// A stand-in class factory serves a beacon control that uses every host service.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "apps/talvik-container/Container.h"
#include "frame/ClassFactory.h"
#include "frame/ControlHost.h"
#include "frame/ControlObject.h"
#include "frame/EntryPoints.h"

namespace talvik {
namespace {

constexpr ArgDecl kPingArgs[] = {{"Count", VarType::Int16, true}, {"Note", VarType::String, true}};
constexpr EventDecl kPing{"Ping", 1, kPingArgs};

class Beacon : public Control {
public:
    using Control::Control;
    static const ControlTemplate& Design() {
        static const ControlTemplate t = [] {
            ControlTemplate t{.className = "Beacon", .width = 1500, .height = 600};
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
const ControlClass kBeaconClass = controlClass<Beacon>("Beacon", kBeaconMembers, kBeaconEvents);
constexpr const char* kBeaconId = "{0B0E1C2D-3E4F-4A5B-8C6D-7E8F90A1B2C3}";

// One factory serves the whole run and is never freed, so it keeps no count.
class BeaconFactory final : public IClassFactory {
public:
    HRESULT QueryInterface(const Guid& iid, void** object) noexcept override {
        *object = iid == IID_IClassFactory || iid == IID_IUnknown ? this : nullptr;
        return *object != nullptr ? S_OK : E_NOINTERFACE;
    }
    std::uint32_t AddRef() noexcept override { return 2; }
    std::uint32_t Release() noexcept override { return 1; }
    HRESULT CreateInstance(IUnknown*, const Guid& iid, void** object) noexcept override {
        auto* made = new ControlObject(kBeaconClass);
        const HRESULT hr = made->QueryInterface(iid, object);
        made->Release();
        return hr;
    }
    HRESULT LockServer(bool) noexcept override { return S_OK; }
};

HRESULT beaconClassObject(const Guid& clsid, const Guid& iid, void** object) {
    static BeaconFactory factory;
    return clsid == guid(kBeaconId) ? factory.QueryInterface(iid, object) : getClassObject(clsid, iid, object);
}

std::string run(const std::vector<std::string>& script) {
    const EntryPoints& linked = linkedEntryPoints();
    const EntryPoints entry{linked.registerServer, linked.unregisterServer, &beaconClassObject, linked.canUnloadNow};
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

}  // namespace
}  // namespace talvik
