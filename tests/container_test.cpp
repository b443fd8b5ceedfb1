// talvik-container: whole outputs of short scripts worked out by hand from the
// container's protocol and the controls' behaviour, and what stand-in controls do while
// a command runs, reported in order.
#include <cstdio>

#include "Support.h"
#include "answer/Matrix.h"
#include "frame/com/ClassFactory.h"
#include "frame/com/EntryPoints.h"
#include "frame/registry/Registry.h"
#include "frame/typelib/Catalogue.h"
#include "resources/Resources.h"

namespace talvik {
using namespace controls;
namespace {

using testing::lines;
using testing::quoted;
using testing::Ran;
using testing::runContainer;
namespace fs = std::filesystem;

// A path of its own for this process, so that suites running side by side do not meet.
fs::path scratch(const std::string& name) {
    return fs::path(::testing::TempDir()) / ("talvik-container-" + std::to_string(::getpid()) + "-" + name);
}

TEST(Container, ScriptsAndTheirWholeOutput) {
    const struct {
        const char* what;
        std::string script, expected;
        int status;
    } cases[] = {
        {"the protocol's own example",
         lines({"new Matrix m", "set m MaxItems 10", "fire m Image4(4) Click", "fire m Image1(6) Click",
                "fire m Image2(6) Click", "get m result", "get m RowSel", "dump m imgArrow"}),
         lines({R"j({"line":1,"new":"m","class":"Matrix","width":11070,"height":9780})j",
                R"j({"line":6,"get":"result","lbound":1,"value":["","","","","4","","1,2","","",""]})j",
                R"j({"line":7,"get":"RowSel","value":6})j",
                R"j({"line":8,"dump":"m","element":"imgArrow","kind":"image","Left":325,"Top":2470,"Width":120,)j"
                R"j("Height":120,"Picture":"tpl:imgArrow","Stretch":true,"Visible":true,"Enabled":true,)j"
                R"j("ToolTipText":""})j"}),
         0},
        {"a script with CR LF line endings, its last line without one",
         "# CR LF\r\nnew Matrix m\r\nset m MaxCols \"two\"\r\n\r\nget m MaxCols",
         lines({R"j({"line":2,"new":"m","class":"Matrix","width":11070,"height":9780})j",
                R"j({"line":3,"error":{"number":13,"description":"Type mismatch"}})j",
                R"j({"line":5,"get":"MaxCols","value":4})j"}),
         0},
        {"errors are reported, lines not understood too, and the script goes on",
         lines({"new Nothing x", "new {1E2E8703-D9FD-48D0-9002-8B673A58920A} m", "frobnicate", "get q MaxItems",
                "set m MaxItems abc", "fire m Image1(152) Click", "fire m Image9(1) Click", "new Matrix m",
                "get m maxitems", "canunload", "destroy m", "canunload", "get m RowSel"}),
         lines({R"j({"line":1,"error":{"number":-2147221231,"description":"Class not available"}})j",
                R"j({"line":2,"new":"m","class":"Matrix","width":11070,"height":9780})j",
                R"j({"line":3,"syntax":"unknown command frobnicate"})j",
                R"j({"line":4,"syntax":"no control named q"})j", R"j({"line":5,"syntax":"not a value: abc"})j",
                R"j({"line":6,"error":{"number":340,"description":"Control array element '152' doesn't exist"}})j",
                R"j({"line":7,"syntax":"m has no element Image9(1)"})j", R"j({"line":8,"syntax":"the name m is taken"})j",
                R"j({"line":9,"get":"maxitems","value":100})j", R"j({"line":10,"canunload":1})j",
                R"j({"line":12,"canunload":0})j", R"j({"line":13,"syntax":"no control named m"})j"}),
         2},
        {"keys on the surface move and mark; comments and blank lines count but print nothing",
         lines({"# an answer sheet", "", "   ", "new Matrix m", "  # indented comment", "set m MaxItems 3",
                "fire m surface KeyDown 40 0", "fire m surface KeyDown 68 0", "fire m Image1(0) MouseDown 1 0 10.5 20",
                "get m result", "get m RowSel"}),
         lines({R"j({"line":4,"new":"m","class":"Matrix","width":11070,"height":9780})j",
                R"j({"line":10,"get":"result","lbound":1,"value":["","4",""]})j",
                R"j({"line":11,"get":"RowSel","value":1})j"}),
         0},
        {"write reports every WriteProperty call; read takes values as written",
         lines({"new Matrix m", "write m", "read m MaxItems=12 DistanceItems=2.5 MaxCols=\"1\"", "get m DistanceItems",
                "get m MaxCols", "call m reset", "write m"}),
         lines({R"j({"line":1,"new":"m","class":"Matrix","width":11070,"height":9780})j",
                R"j({"line":2,"write":"m","bag":[["MaxItemPerCol",25,25],["DistanceItems",150,150],["MaxCols",4,4],)j"
                R"j(["MaxItems",100,100]]})j",
                R"j({"line":4,"get":"DistanceItems","value":2})j", R"j({"line":5,"get":"MaxCols","value":1})j",
                R"j({"line":6,"call":"reset","value":null})j",
                R"j({"line":7,"write":"m","bag":[["MaxItemPerCol",25,25],["DistanceItems",2,150],["MaxCols",1,4],)j"
                R"j(["MaxItems",12,100]]})j"}),
         0},
        {"the exam header's template, its caption read as TCVN3; resize reports the size after the call",
         lines({"new vltHeaderExam h", "dump h", "resize h 5000 4000.5", "resize h -1 10", "resize h 5000 \"x\"",
                "show h"}),
         lines({R"j({"line":1,"new":"h","class":"vltHeaderExam","width":9285,"height":4785})j",
                R"j({"line":2,"dump":"h","element":"surface","kind":"surface","Width":9285,"Height":4785,)j"
                R"j("BackStyle":1,"Picture":null})j",
                R"j({"line":2,"dump":"h","element":"Frame1","kind":"frame","Left":120,"Top":120,"Width":9015,)j"
                R"j("Height":4455})j",
                R"j({"line":2,"dump":"h","element":"Label1","kind":"label","Left":240,"Top":240,"Width":735,)j"
                R"j("Height":375,"Caption":"L)j"
                "\xe1\xbb\x9b"
                R"j(p:","ForeColor":2147483666,"Alignment":0,"FontSize":8.25,"Visible":true,"Enabled":true,)j"
                R"j("ToolTipText":""})j",
                R"j({"line":3,"resize":"h","width":5000,"height":4000.5})j",
                R"j({"line":4,"error":{"number":380,"description":"Invalid property value"}})j",
                R"j({"line":4,"resize":"h","width":5000,"height":4000.5})j",
                R"j({"line":5,"error":{"number":13,"description":"Type mismatch"}})j"}),
         0},
        {"dump names elements, and reports array elements that do not exist",
         lines({"new Matrix m", "set m MaxItems 2", "dump m Line1(0) Picture1(1) Line1(8)", "dump m Nothing"}),
         lines({R"j({"line":1,"new":"m","class":"Matrix","width":11070,"height":9780})j",
                R"j({"line":3,"dump":"m","element":"Line1(0)","kind":"line","X1":0,"Y1":22.5,"X2":0,"Y2":9757.5,)j"
                R"j("BorderColor":8421631,"BorderWidth":1,"Visible":true})j",
                R"j({"line":3,"dump":"m","element":"Picture1(1)","kind":"picturebox","Picture":"tpl:Picture1(1)",)j"
                R"j("Enabled":true})j",
                R"j({"line":3,"error":{"number":340,"description":"Control array element '8' doesn't exist"}})j",
                R"j({"line":4,"syntax":"m has no element Nothing"})j"}),
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Ran r = runContainer(c.script);
        EXPECT_EQ(r.out, c.expected);
        EXPECT_EQ(r.status, c.status);
    }
}

TEST(Container, TypeDescriptionOnOneLine) {
    const Ran r = runContainer("typelib\n");
    EXPECT_EQ(r.status, 0);
    ASSERT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1);
    const char* const parts[] = {
        R"j({"line":1,"typelib":{"name":"TalvikSkills","file":"TalvikSkills.ocx",)j"
        R"j("id":"{AD8BC1B3-2D95-4C15-8B3B-16F2FE11DFD3}","version":"1.0","locale":1033,)j"
        R"j("fileVersion":"4.0.0.0","productVersion":"4.0.0.0","versionText":"4.00","productName":"TalvikControls",)j"
        R"j("selfRegistering":true,"classes":[{"name":"Banner",)j",
        R"j({"name":"Text","kind":"property","type":"string","let":true,"id":-517})j",
        R"j({"name":"reset","kind":"method","type":"void","id":1610809356})j",
        R"j({"name":"result","kind":"property","type":"string[]","let":false,"id":1745027072})j",
        R"j({"name":"GoToURL","id":1,"args":[{"name":"URL","type":"string","byRef":true},)j"
        R"j({"name":"Cancel","type":"bool","byRef":true}]})j",
        R"j({"name":"Baby_FireFox","value":5},{"name":"Classicbox","value":10}]})j",
    };
    for (const char* p : parts) EXPECT_NE(r.out.find(p), std::string::npos) << p;
}

TEST(Container, RegistersIntoTheStoreItIsGiven) {
    const fs::path dir = scratch("registry");
    fs::remove_all(dir);
    const std::string store = (dir / "registry.txt").string();
    const Ran r = runContainer("register\nunregister\nregister\n", "--registry " + quoted(store));
    EXPECT_EQ(r.out, lines({R"j({"line":1,"register":0})j", R"j({"line":2,"unregister":0})j", R"j({"line":3,"register":0})j"}));
    RegistryData data;
    ASSERT_EQ(readRegistry(store, data), S_OK);
    ASSERT_EQ(data.size(), 12u);
    EXPECT_EQ(*data[1].value("Module"), fs::canonical(TALVIK_MODULE_PATH).string());
    fs::remove_all(dir);
}

TEST(Container, ModuleAndScriptArguments) {
    EXPECT_EQ(runContainer("canunload\n", "--module /nonexistent/TalvikSkills.ocx").status, 1);
    EXPECT_EQ(runContainer("", "--bogus").status, 1);
    const fs::path script = scratch("file.txt");
    std::ofstream(script) << "new Matrix m\nget m MaxItemPerCol\n";
    const Ran r = runContainer("canunload\n", quoted(script.string()));  // the file, not standard input
    EXPECT_EQ(r.out, lines({R"j({"line":1,"new":"m","class":"Matrix","width":11070,"height":9780})j",
                            R"j({"line":2,"get":"MaxItemPerCol","value":25})j"}));
    fs::remove(script);
}

// The example the README quotes runs as written: its expected output is in its own
// comment lines after "# prints:".
TEST(Container, ExampleRunsAsDocumented) {
    std::ifstream in(std::string(TALVIK_SOURCE_DIR) + "/apps/talvik-container/example.txt");
    std::string script, expected;
    bool output = false;
    for (std::string line; std::getline(in, line);) {
        script += line + "\n";
        if (line == "# prints:") output = true;
        else if (output && line.rfind("# ", 0) == 0) expected += line.substr(2) + "\n";
    }
    ASSERT_FALSE(expected.empty());
    const Ran r = runContainer(script);
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(r.status, 0);
}

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

// The container in this process on the linked entry points, with a stand-in class object.
std::string run(const std::vector<std::string>& script, decltype(&beaconClassObject) classObject = &beaconClassObject) {
    const EntryPoints& linked = linkedEntryPoints();
    return testing::runScript(script, {linked.registerServer, linked.unregisterServer, classObject, linked.canUnloadNow});
}

TEST(ContainerEvents, EverythingAControlDoesIsReportedInOrder) {
    const std::string out = run({
        std::string("new ") + kBeaconId + " b", "fire b surface Click", "answer b Ping Count=7 Note=\"yo\"",  // 1-3
        "fire b surface Click", "answer b Ping", "fire b surface Click", "tick b 2",                         // 4-7
        "clock 09:05:30", "fire b surface KeyPress 65",                                                     // 8-9
        "fail resource sb_mid_1", "fire b surface DblClick", "unfail", "fire b surface DblClick",           // 10-13
        "fail shell", "tick b", "fire b lblNote Change", "set b Level 3", "fail pointer", "tick b",         // 14-19
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

// Events with arguments the graphic button passes on unchanged are checked through it.
TEST(ContainerEvents, FireDeliversEveryInputEventWithItsArguments) {
    struct Case {
        const char* line;  // after "fire r "
        std::string out;   // what the recorder received, or the container's report
    };
    const Case cases[] = {
        {"Image1(1) DblClick", "DblClick Image1(1) b0 s0 x0 y0 k0 st0 f0 c0 e0 d- data0"},
        {"Label1 Change", "Change Label1 b0 s0 x0 y0 k0 st0 f0 c0 e0 d- data0"},
        {"Timer2 Timer", "Timer Timer2 b0 s0 x0 y0 k0 st0 f0 c0 e0 d- data0"},
        {"surface AmbientChanged", "AmbientChanged - b0 s0 x0 y0 k0 st0 f0 c0 e0 d- data0"},
        {"Label1 MouseDown 1 2 30.5 -45", "MouseDown Label1 b1 s2 x30.5 y-45 k0 st0 f0 c0 e0 d- data0"},
        {"Image1(0) MouseUp 2 1 15 0", "MouseUp Image1(0) b2 s1 x15 y0 k0 st0 f0 c0 e0 d- data0"},
        {"surface MouseMove 0 4 1e3 2", "MouseMove - b0 s4 x1000 y2 k0 st0 f0 c0 e0 d- data0"},
        {"surface KeyDown 40 1", "KeyDown - b0 s1 x0 y0 k40 st0 f0 c0 e0 d- data0"},
        {"surface DragDrop Label1 10 20", "DragDrop - b0 s0 x10 y20 k0 st0 f0 c0 e0 dLabel1 data0"},
        {"Label1 DragDrop none 10 20", "DragDrop Label1 b0 s0 x10 y20 k0 st0 f0 c0 e0 d- data0"},
        {"surface DragOver Image1(1) 5 6 2", "DragOver - b0 s0 x5 y6 k0 st2 f0 c0 e0 dImage1(1) data0"},
        {"surface OLEDragDrop 1 1 2 7.5 8", "OLEDragDrop - b1 s2 x7.5 y8 k0 st0 f0 c0 e1 d- data1"},
        {"surface OLEDragOver 2 1 0 9 10 1", "OLEDragOver - b1 s0 x9 y10 k0 st1 f0 c0 e2 d- data1"},
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
        // The counts themselves are those every event above is fired with.
        {"surface Click 1", syntax("Click takes 0 arguments")},
        {"surface MouseDown 1 0 5", syntax("MouseDown takes 4 arguments")},
        {"surface KeyPress 13 0", syntax("KeyPress takes 1 arguments")},
        {"surface OLEStartDrag", syntax("OLEStartDrag takes 1 arguments")},
        {"surface OLEDragOver 1 1 0 5 5 0 0", syntax("usage: fire NAME TARGET EVENT [ARGS]")},
        {"surface OLEDragOver 1 1 0 5 5", syntax("OLEDragOver takes 6 arguments")},
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

constexpr ArgDecl kKeyArgs[] = {{"KeyAscii", VarType::Int16, false}};
constexpr ArgDecl kDropArgs[] = {
    {"Source", VarType::Object, false}, {"X", VarType::Float, true}, {"Y", VarType::Float, true}};
constexpr ArgDecl kFeedbackArgs[] = {{"Data", VarType::Object, true},
                                     {"Effect", VarType::Int32, true},
                                     {"DefaultCursors", VarType::Bool, true}};
constexpr EventDecl kRelayEvents[] = {{"Key", 1, kKeyArgs}, {"Dropped", 2, kDropArgs}, {"Feedback", 3, kFeedbackArgs}};

// Passes input on as its own events and shows what the handlers left in the arguments.
class Relay : public Control {
public:
    using Control::Control;
    static const ControlTemplate& Design() {
        static const ControlTemplate t = [] {
            ControlTemplate t{.width = 1155, .height = 465};
            t.add({.kind = ElementKind::Label, .name = "Label1"});
            return t;
        }();
        return t;
    }
    std::string Caption() const { return caption_; }
    void Caption(std::string v) { caption_ = std::move(v); }

    void OnEvent(const InputEvent& ev) override {
        switch (ev.kind) {
            case EventKind::KeyPress: {
                Variant args[] = {ev.key};
                host().RaiseEvent(kRelayEvents[0], args);
                break;
            }
            case EventKind::MouseUp: {
                Variant args[] = {ObjectRef{.element = ev.source}, ev.x, ev.y};
                host().RaiseEvent(kRelayEvents[1], args);
                host().MsgBox(args[1].toString() + " " + args[2].toString(), kMsgOkOnly);
                break;
            }
            case EventKind::DblClick: {
                Variant args[] = {ObjectRef{}, std::int32_t{1}, true};
                host().RaiseEvent(kRelayEvents[2], args);
                host().MsgBox(args[1].toString() + " " + args[2].toString(), kMsgOkOnly);
                break;
            }
            default: break;
        }
    }

private:
    std::string caption_;
};

constexpr MemberDesc kRelayMembers[] = {
    property<Relay, std::string, &Relay::Caption, &Relay::Caption>("Caption", 1),
};
const ControlClass kRelayClass = controlClass<Relay>("Relay", kRelayMembers, kRelayEvents);

// Reached by new-private only (the public route and the type description are the
// graphic button's checks too); its members by name in any case.
TEST(PrivateControl, EventsReportedByNameAndAnsweredByReference) {
    const ScopedPrivateClass added(kRelayClass);
    const std::string out = run({
        "new-private Relay r", "fire r surface KeyPress 65", "fire r Label1 MouseUp 1 0 10.5 -3",  // 1-3
        "fire r surface DblClick", "answer r Feedback Effect=7 DefaultCursors=false",              // 4-5
        "fire r surface DblClick", "answer r Dropped Y=2", "fire r surface MouseUp 2 1 1 1",       // 6-8
        "answer r Key KeyAscii=1", "answer r Dropped Source=1", "answer r Feedback Data=1",        // 9-11
        "answer r Click", "new-private Nothing n", "new Relay q", "answer r Key Target=1",       // 12-15
        "set r caption \"Go\"", "get r Caption",                                                // 16-17
    });
    EXPECT_EQ(out, R"j({"line":1,"new":"r","class":"Relay","width":1155,"height":465}
{"line":2,"event":"Key","control":"r","args":{"KeyAscii":65}}
{"line":3,"event":"Dropped","control":"r","args":{"Source":"Label1","X":10.5,"Y":-3}}
{"line":3,"msgbox":{"text":"10.5 -3","flags":0,"title":null}}
{"line":4,"event":"Feedback","control":"r","args":{"Data":null,"Effect":1,"DefaultCursors":true}}
{"line":4,"msgbox":{"text":"1 True","flags":0,"title":null}}
{"line":6,"event":"Feedback","control":"r","args":{"Data":null,"Effect":1,"DefaultCursors":true}}
{"line":6,"msgbox":{"text":"7 False","flags":0,"title":null}}
{"line":8,"event":"Dropped","control":"r","args":{"Source":null,"X":1,"Y":1}}
{"line":8,"msgbox":{"text":"1 2","flags":0,"title":null}}
{"line":9,"syntax":"Key passes KeyAscii by value"}
{"line":10,"syntax":"Dropped passes Source by value"}
{"line":11,"error":{"number":13,"description":"Type mismatch"}}
{"line":12,"syntax":"Relay has no event Click"}
{"line":13,"error":{"number":-2147221231,"description":"Class not available"}}
{"line":14,"error":{"number":-2147221231,"description":"Class not available"}}
{"line":15,"syntax":"Key has no argument Target"}
{"line":17,"get":"Caption","value":"Go"}
)j");
    EXPECT_THROW(ScopedPrivateClass{kRelayClass}, std::logic_error);    // added once only
    EXPECT_THROW(ScopedPrivateClass{Matrix::Class}, std::logic_error);  // public: it has an identity
}

}  // namespace
}  // namespace talvik
