// A private control: a catalogue row without identity, absent from the type description,
// created only by the library's private factory, raising events of its own whose
// arguments (16-bit and 32-bit integers, floats, booleans, objects; by value and by
// reference) the container reports by name and answers.
#include <gtest/gtest.h>

#include <sstream>

#include "answer/Matrix.h"
#include "apps/talvik-container/Container.h"
#include "frame/typelib/Catalogue.h"
#include "frame/com/ControlHandle.h"
#include "frame/host/ControlHost.h"
#include "frame/com/LiveObjects.h"

namespace talvik {
using namespace controls;
namespace {

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

std::string run(const std::vector<std::string>& script) {
    std::ostringstream out;
    container::Container c(linkedEntryPoints(), out);
    for (std::size_t i = 0; i < script.size(); ++i) c.run(script[i], static_cast<int>(i + 1));
    return out.str();
}

TEST(PrivateControl, ReachedOnlyByThePrivateFactory) {
    const ScopedPrivateClass added(kRelayClass);
    EXPECT_EQ(findControlClass("Relay"), &kRelayClass);
    EXPECT_EQ(findClass("Relay"), nullptr);
    for (const ClassDesc& c : typeLibrary().classes) EXPECT_NE(c.name, "Relay");
    const std::int32_t before = liveCounts().instances;
    {
        ControlHandle h;
        EXPECT_EQ(createControl("Relay", std::make_shared<HeadlessHost>(), h).hr, CLASS_E_CLASSNOTAVAILABLE);
        auto host = std::make_shared<HeadlessHost>();
        ASSERT_TRUE(createPrivateControl("Relay", host, h).ok());
        EXPECT_EQ(host->controlClass(), &kRelayClass);
        EXPECT_TRUE(h.let("caption", "Go").ok());
        EXPECT_EQ(h.get("Caption").value, Variant("Go"));
    }
    EXPECT_EQ(liveCounts().instances, before);
    EXPECT_THROW(ScopedPrivateClass{kRelayClass}, std::logic_error);  // added once only
    EXPECT_THROW(ScopedPrivateClass{Matrix::Class}, std::logic_error);  // public: it has an identity
}

TEST(PrivateControl, EventsReportedByNameAndAnsweredByReference) {
    const ScopedPrivateClass added(kRelayClass);
    const std::string out = run({
        "new-private Relay r", "fire r surface KeyPress 65", "fire r Label1 MouseUp 1 0 10.5 -3",  // 1-3
        "fire r surface DblClick", "answer r Feedback Effect=7 DefaultCursors=false",              // 4-5
        "fire r surface DblClick", "answer r Dropped Y=2", "fire r surface MouseUp 2 1 1 1",       // 6-8
        "answer r Key KeyAscii=1", "answer r Dropped Source=1", "answer r Feedback Data=1",        // 9-11
        "answer r Click", "new-private Nothing n", "new Relay q",                                  // 12-14
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
)j");
}

}  // namespace
}  // namespace talvik
