// URLLink as a host sees it: what a press on the label asks of the container and the
// shell, its tool tip, where its text goes, and what it saves and restores. Text sizes
// follow the headless measurement of the 8.25-point font: 90 twips a character, 195 a
// line.
#include <string>
#include <vector>

#include "Support.h"
#include "controls/URLLink.h"
#include "frame/com/ControlHandle.h"

namespace talvik {
using namespace controls;
namespace {

constexpr const char* kDefaultURL = "https://talvik.example/";  // 23 characters: 2070 twips

struct Link : testing::Hosted<URLLink> {
    URLLink& link = ctl;
    Label label() { return HeadlessHost::label("lblURL"); }
    void press(std::int16_t button) {
        InputEvent ev{.kind = EventKind::MouseDown, .source = label()};
        ev.button = button;
        deliver(ev);
    }
    // The recorded calls as short lines, oldest first.
    std::vector<std::string> log() const {
        std::vector<std::string> out;
        for (const ServiceCall& c : calls()) {
            switch (c.kind) {
                case ServiceCall::Kind::Event:
                    out.push_back("event " + c.name + " " + c.args.at(0).toString() + " " + c.args.at(1).toString());
                    break;
                case ServiceCall::Kind::MsgBox:
                    out.push_back("msgbox " + c.text + " | " + std::to_string(c.flags) + " | " +
                                  c.title.value_or("(no title)"));
                    break;
                case ServiceCall::Kind::Shell:
                    out.push_back("shell " + c.shell.verb + " " + c.shell.target + " [" + c.shell.params + "] [" +
                                  c.shell.dir + "] " + std::to_string(c.shell.show) + " window " +
                                  std::to_string(c.shell.window));
                    break;
                case ServiceCall::Kind::Pointer: out.push_back("pointer " + c.name); break;
                case ServiceCall::Kind::PropertyChanged: out.push_back("changed " + c.name); break;
                default: break;
            }
        }
        return out;
    }
};

using Lines = std::vector<std::string>;

// A host that sets "the text" of a control through the standard text identifier
// reaches the link's Text.
TEST(URLLink, TextAnswersToTheStandardTextIdentifier) {
    auto host = std::make_shared<HeadlessHost>();
    ControlHandle h;
    ASSERT_TRUE(createControl("URLLink", host, h).ok());
    ASSERT_TRUE(h.initialize().ok());
    const Variant text("Hello");
    EXPECT_TRUE(h.invoke(-517, InvokeKind::PropertyPut, std::span<const Variant>(&text, 1)).ok());
    EXPECT_EQ(h.invoke(-517, InvokeKind::PropertyGet).value, Variant("Hello"));
    const Label lbl = host->label("lblURL");
    EXPECT_EQ(lbl.Caption(), "Hello");
    EXPECT_EQ(lbl.bounds(), (RectF{0, 0, 450, 195}));
}

// First placement: the default address as text, at the top-left corner of the blue,
// underlined label, and no tool tip.
TEST(URLLink, FirstPlacement) {
    Link l;
    EXPECT_EQ(l.label().ForeColor(), 0x00FF0000u);
    EXPECT_EQ(l.label().font(), (Font{"MS Sans Serif", 8.25f, false, true}));
    l.InitProperties();
    EXPECT_EQ(l.link.Text(), kDefaultURL);
    EXPECT_EQ(l.link.URL(), kDefaultURL);
    EXPECT_FALSE(l.link.ShowToolTip());
    EXPECT_EQ(l.label().bounds(), (RectF{0, 0, 2070, 195}));
    EXPECT_EQ(l.label().ToolTipText(), "");
    EXPECT_EQ(l.surface().Width(), 2400);
    EXPECT_EQ(l.surface().Height(), 255);
    EXPECT_EQ(l.log(), (Lines{"changed Text", "changed ShowToolTip"}));
}

// Setting the text moves the label to (0, 0) with the text's extent; the control keeps
// its own size, whatever it is.
TEST(URLLink, TextTakesItsExtentAtTheCorner) {
    const struct {
        std::string text;
        RectF label;
    } cases[] = {
        {"", {0, 0, 0, 195}},
        {"Home", {0, 0, 360, 195}},
        {"two\nlines", {0, 0, 450, 390}},
        {"a much longer text than the control is wide", {0, 0, 43 * 90, 195}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Link l;
        l.resizeTo(3000, 600);
        l.clearCalls();
        l.call([&] { l.link.Text(c.text); });
        EXPECT_EQ(l.label().Caption(), c.text);
        EXPECT_EQ(l.label().bounds(), c.label);
        EXPECT_EQ(l.surface().Width(), 3000);
        EXPECT_EQ(l.surface().Height(), 600);
        EXPECT_EQ(l.log(), (Lines{"changed Text"}));
    }
}

// The tool tip shows the address while ShowToolTip is true, in whichever order the two
// are set; each let tells the container.
TEST(URLLink, ToolTipFollowsAddressAndFlag) {
    struct Step {
        enum { Url, Show } what;
        std::string url;
        bool show = false;
    };
    const struct {
        const char* what;
        std::vector<Step> steps;
        const char* tip;
        Lines notices;
    } cases[] = {
        {"shown, then a new address", {{Step::Show, "", true}, {Step::Url, "http://n"}}, "http://n",
         {"changed ShowToolTip", "changed URL"}},
        {"a new address, then shown", {{Step::Url, "http://n"}, {Step::Show, "", true}}, "http://n",
         {"changed URL", "changed ShowToolTip"}},
        {"hidden again", {{Step::Url, "http://n"}, {Step::Show, "", true}, {Step::Show, "", false}}, "",
         {"changed URL", "changed ShowToolTip", "changed ShowToolTip"}},
        {"not shown", {{Step::Show, "", false}, {Step::Url, "http://n"}}, "",
         {"changed ShowToolTip", "changed URL"}},
        {"the same address again still tells", {{Step::Url, "http://n"}, {Step::Url, "http://n"}}, "",
         {"changed URL", "changed URL"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Link l;
        l.InitProperties();
        l.clearCalls();
        for (const Step& s : c.steps)
            l.call([&] { s.what == Step::Url ? l.link.URL(s.url) : l.link.ShowToolTip(s.show); });
        EXPECT_EQ(l.label().ToolTipText(), c.tip);
        EXPECT_EQ(l.log(), c.notices);
    }
}

// A press on the label: GoToURL first, then the hourglass, the shell and the default
// pointer; the container's answer and the services' failures change that.
TEST(URLLink, PressAsksTheContainerThenOpens) {
    enum class Answer { None, Cancel, Replace, ReplaceAndCancel, SetsProperty };
    const struct {
        const char* what;
        std::int16_t button;
        Answer answer;
        bool failShell, failPointer;
        Lines calls;
        const char* urlAfter;
    } cases[] = {
        {"left button", kLeftButton, Answer::None, false, false,
         {"event GoToURL http://a False", "pointer hourglass", "shell open http://a [] [] 1 window 0",
          "pointer default"},
         "http://a"},
        {"left with right", kLeftButton | kRightButton, Answer::None, false, false,
         {"event GoToURL http://a False", "pointer hourglass", "shell open http://a [] [] 1 window 0",
          "pointer default"},
         "http://a"},
        {"cancelled: nothing opened, the pointer untouched", kLeftButton, Answer::Cancel, false, false,
         {"event GoToURL http://a False"}, "http://a"},
        {"replaced and cancelled", kLeftButton, Answer::ReplaceAndCancel, false, false,
         {"event GoToURL http://a False"}, "http://a"},
        {"replaced: the new address opens, the property keeps its own", kLeftButton, Answer::Replace, false, false,
         {"event GoToURL http://a False", "pointer hourglass", "shell open http://b [] [] 1 window 0",
          "pointer default"},
         "http://a"},
        {"the container sets URL meanwhile: the copy opens", kLeftButton, Answer::SetsProperty, false, false,
         {"event GoToURL http://a False", "changed URL", "pointer hourglass", "shell open http://a [] [] 1 window 0",
          "pointer default"},
         "http://c"},
        {"right button", kRightButton, Answer::None, false, false, {"pointer default"}, "http://a"},
        {"middle button", kMiddleButton, Answer::Cancel, false, false, {"pointer default"}, "http://a"},
        {"shell fails on the replaced address", kLeftButton, Answer::Replace, true, false,
         {"event GoToURL http://a False", "pointer hourglass",
          "msgbox Unable to load 'http://b' : Injected fault (Error 5) | 0 | (no title)", "pointer default"},
         "http://a"},
        // Each failing pointer call is shown and the press goes on: the shell still opens.
        {"pointer fails", kLeftButton, Answer::None, false, true,
         {"event GoToURL http://a False",
          "msgbox Unable to load 'http://a' : Injected fault (Error 5) | 0 | (no title)",
          "shell open http://a [] [] 1 window 0",
          "msgbox Unable to load 'http://a' : Injected fault (Error 5) | 0 | (no title)"},
         "http://a"},
        {"pointer and shell fail", kLeftButton, Answer::None, true, true,
         {"event GoToURL http://a False",
          "msgbox Unable to load 'http://a' : Injected fault (Error 5) | 0 | (no title)",
          "msgbox Unable to load 'http://a' : Injected fault (Error 5) | 0 | (no title)",
          "msgbox Unable to load 'http://a' : Injected fault (Error 5) | 0 | (no title)"},
         "http://a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Link l;
        l.InitProperties();
        l.call([&] { l.link.URL("http://a"); });
        l.onEvent = [&](const EventDecl& ev, std::span<Variant> args) {
            ASSERT_EQ(ev.name, "GoToURL");
            switch (c.answer) {
                case Answer::None: break;
                case Answer::Cancel: args[1] = Variant(true); break;
                case Answer::Replace: args[0] = Variant("http://b"); break;
                case Answer::ReplaceAndCancel:
                    args[0] = Variant("http://b");
                    args[1] = Variant(true);
                    break;
                case Answer::SetsProperty: l.link.URL("http://c"); break;
            }
        };
        l.failShell(c.failShell);
        l.failPointer(c.failPointer);
        l.clearCalls();
        l.press(c.button);
        EXPECT_EQ(l.log(), c.calls);
        EXPECT_EQ(l.pointer(), ScreenPointer::Default);
        EXPECT_EQ(l.link.URL(), c.urlAfter);
    }
}

// Before the hourglass is asked for, a failing pointer is the host's error to handle.
TEST(URLLink, PointerFailingOnAnotherButtonReachesTheHost) {
    Link l;
    l.InitProperties();
    l.failPointer();
    l.clearCalls();
    try {
        l.press(kRightButton);
        FAIL() << "no error";
    } catch (const HostError& e) {
        EXPECT_EQ(e.number, 5);
    }
    EXPECT_EQ(l.log(), Lines{});
}

// Restoring applies each key through its property; a key that cannot be applied puts
// the first-placement values back, and the keys after it are still applied.
TEST(URLLink, ReadPropertiesFallsBackToFirstPlacement) {
    const struct {
        const char* what;
        PropertyBag bag;
        const char* text;
        const char* url;
        bool show;
        const char* tip;
        RectF label;
    } cases[] = {
        {"nothing stored", {}, kDefaultURL, kDefaultURL, false, "", {0, 0, 2070, 195}},
        {"all stored", {{"Text", "Home"}, {"URL", "http://h"}, {"ShowToolTip", true}}, "Home", "http://h", true,
         "http://h", {0, 0, 360, 195}},
        {"flag as text", {{"Text", "Home"}, {"URL", "http://h"}, {"ShowToolTip", "true"}}, "Home", "http://h", true,
         "http://h", {0, 0, 360, 195}},
        {"flag as a number", {{"ShowToolTip", std::int16_t{-1}}}, kDefaultURL, kDefaultURL, true, kDefaultURL,
         {0, 0, 2070, 195}},
        {"a bad text: first placement, then the address and flag",
         {{"Text", StringArray{1, {"x"}}}, {"URL", "http://h"}, {"ShowToolTip", true}}, kDefaultURL, "http://h", true,
         "http://h", {0, 0, 2070, 195}},
        {"a bad address: first placement, then the flag",
         {{"Text", "Home"}, {"URL", StringArray{1, {"x"}}}, {"ShowToolTip", true}}, kDefaultURL, kDefaultURL, true,
         kDefaultURL, {0, 0, 2070, 195}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Link l;
        l.ReadProperties(c.bag);
        EXPECT_EQ(l.link.Text(), c.text);
        EXPECT_EQ(l.link.URL(), c.url);
        EXPECT_EQ(l.link.ShowToolTip(), c.show);
        EXPECT_EQ(l.label().ToolTipText(), c.tip);
        EXPECT_EQ(l.label().bounds(), c.label);
    }
}

// What is written reads back as the same link.
TEST(URLLink, WritePropertiesRoundTrip) {
    const struct {
        const char* text;
        const char* url;
        bool show;
    } cases[] = {{kDefaultURL, kDefaultURL, false}, {"Home", "http://h", true}, {"", "", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Link a;
        a.InitProperties();
        a.call([&] {
            a.link.Text(c.text);
            a.link.URL(c.url);
            a.link.ShowToolTip(c.show);
        });
        PropertyBag bag;
        a.WriteProperties(bag);
        testing::expectWrites(bag,
                              {{"Text", c.text, kDefaultURL}, {"URL", c.url, kDefaultURL}, {"ShowToolTip", c.show, false}});
        Link b;
        b.ReadProperties(bag);
        EXPECT_EQ(b.link.Text(), c.text);
        EXPECT_EQ(b.link.URL(), c.url);
        EXPECT_EQ(b.link.ShowToolTip(), c.show);
        EXPECT_EQ(b.label().ToolTipText(), a.label().ToolTipText());
        EXPECT_EQ(b.label().bounds(), a.label().bounds());
    }
}

}  // namespace
}  // namespace talvik
