// The library's private graphic button: its three-piece layout and centred caption, the
// set it shows, what it persists, and the input it passes on as its own events, in the
// headless host and through the test container's private route. Text sizes follow the
// headless measurement: at 8.25 points a character is 90 twips wide, at 8 points 75;
// both are 195 high.
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "Support.h"
#include "controls/vltGraphButton.h"

namespace talvik {
using namespace controls;
namespace {

using testing::lines;
using testing::runScript;

// A button placed new in the headless host, recording the names of the events it raises.
struct Button : HeadlessHost {
    vltGraphButton& button = static_cast<vltGraphButton&>(*control());
    std::vector<std::string> raised;
    std::function<void(const EventDecl&, std::span<Variant>)> handler;

    explicit Button(bool placeNew = true) : HeadlessHost(vltGraphButton::Class) {
        onEvent = [this](const EventDecl& ev, std::span<Variant> args) {
            raised.emplace_back(ev.name);
            if (handler) handler(ev, args);
        };
        Initialize();
        if (placeNew) InitProperties();
    }
    // Piece k (1 left edge, 2 middle, 3 right edge) of set 0 (normal) or 1 (highlighted).
    Image piece(int k, int set) { return images("Image" + std::to_string(k))(set); }
    Label caption() { return label("Label1"); }
    void setCaption(const std::string& text) { call([&] { button.CaptionText(text); }); }
    // Whether the highlighted set is the one seen; fails when the sets are mixed.
    bool highlighted() {
        for (int k = 1; k <= 3; ++k) EXPECT_NE(piece(k, 0).Visible(), piece(k, 1).Visible()) << "piece " << k;
        return piece(1, 1).Visible();
    }
    void fire(EventKind kind, const char* element = nullptr, int index = -1) {
        InputEvent ev{kind};
        if (element != nullptr) ev.source = find(element, index);
        deliver(ev);
    }
};

// ---- Layout and caption ----

TEST(vltGraphButton, PiecesAndCaptionFollowTheSize) {
    const struct Case {
        const char* name;
        float width, height, fontSize;
        std::string caption;
        RectF captionBox;  // where the caption ends up
    } cases[] = {
        {"caption 600 wide in 2000 x 500", 2000, 500, 8, "ABCDEFGH", {700, 152.5f, 600, 195}},
        {"caption 2100 wide starts at the left edge", 2000, 500, 8, std::string(28, 'x'), {0, 152.5f, 2100, 195}},
        {"design size and font", 1155, 465, 8.25f, "vltButton", {172.5f, 135, 810, 195}},
        {"exactly as wide: centred at 0, taller: above the top", 1800, 150, 8.25f, std::string(20, 'x'),
         {0, -22.5f, 1800, 195}},
        {"empty caption", 1000, 300, 8.25f, "", {500, 52.5f, 0, 195}},
        {"halves are kept", 1001, 301, 8.25f, "A", {455.5f, 53, 90, 195}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const bool captionFirst : {true, false}) {
            Button b;
            b.caption().FontSize(c.fontSize);
            if (captionFirst) b.setCaption(c.caption);
            b.resizeTo(c.width, c.height);
            if (!captionFirst) b.setCaption(c.caption);
            for (int set = 0; set < 2; ++set) {
                EXPECT_EQ(b.piece(1, set).bounds(), (RectF{0, 0, 45, c.height}));
                EXPECT_EQ(b.piece(2, set).bounds(), (RectF{45, 0, c.width - 90, c.height}));
                EXPECT_EQ(b.piece(3, set).bounds(), (RectF{c.width - 45, 0, 45, c.height}));
            }
            EXPECT_EQ(b.caption().bounds(), c.captionBox);
            EXPECT_EQ(b.caption().Caption(), c.caption);
        }
    }
}

TEST(vltGraphButton, NewButton) {
    Button b;
    EXPECT_EQ(b.surface().bounds(), (RectF{0, 0, 1155, 465}));
    // The design caption is never seen: a new button has none, centred at the middle.
    EXPECT_EQ(b.caption().Caption(), "");
    EXPECT_EQ(b.caption().bounds(), (RectF{577.5f, 135, 0, 195}));
    EXPECT_EQ(b.caption().ForeColor(), kHighlight);
    EXPECT_EQ(b.caption().font(), (Font{"Veltrane Sans Serif", 8.25f, true, false}));
    EXPECT_FALSE(b.highlighted());
    for (int k = 1; k <= 3; ++k)
        for (int set = 0; set < 2; ++set) EXPECT_TRUE(b.piece(k, set).Stretch());
    // The middle of the highlighted set is drawn from a wider picture than the others.
    EXPECT_EQ(b.piece(2, 1).picture().bitmap()->width, 4);
    EXPECT_EQ(b.piece(1, 0).picture().bitmap()->height, 31);
    EXPECT_TRUE(b.raised.empty());
}

// ---- The set shown ----

TEST(vltGraphButton, HighlightFollowsFocusAndHoverOnTheBareSurface) {
    struct Step {
        EventKind kind;
        const char* element = nullptr;  // the surface
        int index = -1;
    };
    using enum EventKind;
    const struct Case {
        const char* name;
        std::vector<Step> steps;
        bool highlighted;
        std::vector<std::string> raised;
    } cases[] = {
        {"focus", {{GotFocus}}, true, {"vltGotFocus"}},
        {"focus lost", {{GotFocus}, {LostFocus}}, false, {"vltGotFocus", "vltLostFocus"}},
        {"focus leaves the button's form", {{GotFocus}, {ExitFocus}}, false, {"vltGotFocus", "ExitFocus"}},
        {"entering alone lights nothing", {{EnterFocus}}, false, {"EnterFocus"}},
        {"mouse over the bare surface", {{MouseMove}}, true, {"MouseMove"}},
        {"mouse over the pieces and the caption",
         {{MouseMove, "Image2", 0}, {MouseMove, "Label1"}, {MouseMove, "Image1", 0}, {MouseMove, "Image3", 0}},
         false,
         {"MouseMove", "MouseMove"}},
        {"moving on from the surface keeps the highlight",
         {{MouseMove}, {MouseMove, "Image2", 1}, {MouseMove, "Label1"}, {MouseMove, "Image3", 1}},
         true,
         {"MouseMove", "MouseMove", "MouseMove"}},
        {"losing the focus ends a hover", {{MouseMove}, {LostFocus}}, false, {"MouseMove", "vltLostFocus"}},
        {"an ambient change passes nothing on", {{GotFocus}, {AmbientChanged}}, true, {"vltGotFocus"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Button b;
        for (const Step& s : c.steps) b.fire(s.kind, s.element, s.index);
        EXPECT_EQ(b.highlighted(), c.highlighted);
        EXPECT_EQ(b.raised, c.raised);
    }
}

// ---- Properties and persistence ----

TEST(vltGraphButton, EnabledReachesEveryChildButNotTheSurface) {
    Button b;
    const auto children = [&](bool enabled) {
        int n = 0;
        for (const Element e : b.elements()) {
            EXPECT_EQ(e.isEnabled(), enabled) << e.displayName();
            ++n;
        }
        EXPECT_EQ(n, 7);  // the six pieces and the caption
    };
    b.call([&] { b.button.Enabled(false); });
    EXPECT_FALSE(b.button.Enabled());
    children(false);
    // Input on the surface still arrives.
    b.fire(EventKind::KeyPress);
    EXPECT_EQ(b.raised, std::vector<std::string>{"KeyPress"});
    b.call([&] { b.button.Enabled(true); });
    children(true);

    // What a save writes is in the container's write script.
    Button restored(false);
    restored.ReadProperties(PropertyBag{{"Enabled", false}});
    EXPECT_FALSE(restored.button.Enabled());
    for (const Element e : restored.elements()) EXPECT_FALSE(e.isEnabled()) << e.displayName();
}

TEST(vltGraphButton, StoredToolTipGoesToCaptionLeftEdgeAndMiddle) {
    Button b(false);
    b.ReadProperties(PropertyBag{{"ToolTipText", "Next question"}});
    for (const Element e : b.elements()) {
        const bool rightEdge = e.name() == "Image3";
        const std::string tip = e.is<Label>() ? e.as<Label>().ToolTipText() : e.as<Image>().ToolTipText();
        EXPECT_EQ(tip, rightEdge ? "" : "Next question") << e.displayName();
    }
    // The restored caption is the default one, centred by the label's change.
    EXPECT_EQ(b.caption().bounds(), (RectF{577.5f - 405, 135, 810, 195}));
}

TEST(vltGraphButton, SavedAndRestoredThroughTheContainer) {
    const struct Case {
        const char* name;
        std::vector<std::string> script;
        std::string expected;
    } cases[] = {
        {"a new button saves its empty caption; one captioned vltButton saves the default",
         {"new-private vltGraphButton g", "init g", "write g", "set g CaptionText \"vltButton\"", "write g",
          "set g Enabled false", "write g"},
         lines({R"j({"line":1,"new":"g","class":"vltGraphButton","width":1155,"height":465})j",
                R"j({"line":3,"write":"g","bag":[["CaptionText","","vltButton"],["Enabled",true,true]]})j",
                R"j({"line":5,"write":"g","bag":[["CaptionText","vltButton","vltButton"],["Enabled",true,true]]})j",
                R"j({"line":7,"write":"g","bag":[["CaptionText","vltButton","vltButton"],["Enabled",false,true]]})j"})},
        {"restored without entries, with an empty caption, with a number for Enabled",
         {"new-private vltGraphButton a", "read a", "get a CaptionText", "get a Enabled",
          "new-private vltGraphButton e", "read e CaptionText=\"\" Enabled=0", "get e CaptionText", "get e Enabled"},
         lines({R"j({"line":1,"new":"a","class":"vltGraphButton","width":1155,"height":465})j",
                R"j({"line":3,"get":"CaptionText","value":"vltButton"})j", R"j({"line":4,"get":"Enabled","value":true})j",
                R"j({"line":5,"new":"e","class":"vltGraphButton","width":1155,"height":465})j",
                R"j({"line":7,"get":"CaptionText","value":""})j", R"j({"line":8,"get":"Enabled","value":false})j"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(runScript(c.script), c.expected);
    }
}

// ---- Events ----

// With their arguments as the container prints them; the focus events and by-value
// arguments are the highlight and by-reference tests'.
TEST(vltGraphButton, InputPassedOnThroughTheContainer) {
    const std::string made = R"j({"line":1,"new":"g","class":"vltGraphButton","width":1155,"height":465})j";
    const auto event = [](int line, const char* name, const char* args = "{}") {
        return R"j({"line":)j" + std::to_string(line) + R"j(,"event":")j" + name + R"j(","control":"g","args":)j" +
               args + "}";
    };
    const struct Case {
        const char* name;
        std::vector<std::string> script;  // after "new-private vltGraphButton g"
        std::vector<std::string> expected;
    } cases[] = {
        {"Enter clicks, other keys are passed on",
         {"fire g surface KeyPress 13", "fire g surface KeyPress 65", "fire g surface KeyDown 13 0",
          "fire g surface KeyUp 65 1", "fire g surface AccessKeyPress 71"},
         {event(2, "Click"), event(3, "KeyPress", R"j({"KeyAscii":65})j"),
          event(4, "KeyDown", R"j({"KeyCode":13,"Shift":0})j"), event(5, "KeyUp", R"j({"KeyCode":65,"Shift":1})j"),
          event(6, "AccessKeyPress", R"j({"KeyAscii":71})j")}},
        {"a click anywhere on the button clicks it once",
         {"fire g Label1 Click", "fire g Image1(0) Click", "fire g Image3(0) Click", "fire g Image2(0) Click",
          "fire g surface Click", "fire g Image2(0) DblClick", "fire g surface DblClick"},
         {event(2, "Click"), event(3, "Click"), event(4, "Click"), event(5, "Click"), event(6, "Click"),
          event(7, "DblClick"), event(8, "DblClick")}},
        {"mouse buttons from every piece, moves from all but the edges",
         {"fire g Label1 MouseDown 1 2 10.5 -3", "fire g Image3(0) MouseUp 2 0 4 5", "fire g Image1(0) MouseMove 0 0 1 1",
          "fire g Image3(0) MouseMove 0 0 1 1", "fire g Image2(0) MouseMove 1 0 7 8", "fire g Label1 MouseMove 0 1 2 3",
          "fire g surface MouseMove 0 0 100 200", "fire g Image2(1) MouseMove 4 0 1 2"},
         {event(2, "MouseDown", R"j({"Button":1,"Shift":2,"X":10.5,"Y":-3})j"),
          event(3, "MouseUp", R"j({"Button":2,"Shift":0,"X":4,"Y":5})j"),
          event(6, "MouseMove", R"j({"Button":1,"Shift":0,"X":7,"Y":8})j"),
          event(7, "MouseMove", R"j({"Button":0,"Shift":1,"X":2,"Y":3})j"),
          event(8, "MouseMove", R"j({"Button":0,"Shift":0,"X":100,"Y":200})j"),
          // the surface lit the highlighted set, whose middle now takes the mouse
          event(9, "MouseMove", R"j({"Button":4,"Shift":0,"X":1,"Y":2})j")}},
        {"drags and data transfers",
         {"fire g surface DragDrop Label1 10 20", "fire g surface DragOver none 1 2 0", "fire g surface OLEStartDrag 3",
          "fire g surface OLEDragDrop 1 1 0 5 6", "fire g surface OLEDragOver 1 1 0 5 6 2",
          "fire g surface OLEGiveFeedback 2 true", "fire g surface OLESetData 1", "fire g surface OLECompleteDrag 4"},
         {event(2, "vltDragDrop", R"j({"Source":"Label1","X":10,"Y":20})j"),
          event(3, "vltDragOver", R"j({"Source":null,"X":1,"Y":2,"State":0})j"),
          event(4, "OLEStartDrag", R"j({"Data":null,"AllowedEffects":3})j"),
          event(5, "OLEDragDrop", R"j({"Data":null,"Effect":1,"Button":1,"Shift":0,"X":5,"Y":6})j"),
          event(6, "OLEDragOver", R"j({"Data":null,"Effect":1,"Button":1,"Shift":0,"X":5,"Y":6,"State":2})j"),
          event(7, "OLEGiveFeedback", R"j({"Effect":2,"DefaultCursors":true})j"),
          event(8, "OLESetData", R"j({"Data":null,"DataFormat":1})j"), event(9, "OLECompleteDrag", R"j({"Effect":4})j")}},
        {"painting, sizing, a caption change and the end",
         {"fire g surface Paint", "fire g Label1 Change", "show g", "resize g 2000 500", "resize g 2000 500",
          "destroy g"},
         {event(2, "Paint"), event(4, "Resize"), event(4, "Paint"), event(5, "Resize"),
          R"j({"line":5,"resize":"g","width":2000,"height":500})j",
          R"j({"line":6,"resize":"g","width":2000,"height":500})j", event(7, "Terminate")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> script{"new-private vltGraphButton g"};
        script.insert(script.end(), c.script.begin(), c.script.end());
        std::vector<std::string> expected{made};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(runScript(script), lines(expected));
    }
}

// What the container's handler leaves in a by-reference argument goes back to whoever
// delivered the input; a by-value one does not.
TEST(vltGraphButton, ByReferenceArgumentsGoBackToTheInput) {
    Button b;
    b.handler = [](const EventDecl& ev, std::span<Variant> args) {
        for (std::size_t i = 0; i < args.size(); ++i) {
            const std::string_view n = ev.args[i].name;
            if (n == "X") args[i] = 99.5f;
            if (n == "Effect") args[i] = kDropMove;
            if (n == "KeyAscii") args[i] = std::int16_t{66};
            if (n == "DefaultCursors") args[i] = false;
        }
    };
    const InputEvent down{.kind = EventKind::MouseDown, .source = b.find("Label1"), .button = 1, .x = 10, .y = 20};
    b.deliver(down);
    EXPECT_EQ(down.x, 99.5f);
    EXPECT_EQ(down.y, 20);
    const InputEvent over{.kind = EventKind::OLEDragOver, .effect = kDropCopy};
    b.deliver(over);
    EXPECT_EQ(over.effect, kDropMove);
    const InputEvent feedback{.kind = EventKind::OLEGiveFeedback, .defaultCursors = true, .effect = kDropCopy};
    b.deliver(feedback);
    EXPECT_FALSE(feedback.defaultCursors);
    const InputEvent press{.kind = EventKind::KeyPress, .key = 65};
    b.deliver(press);
    EXPECT_EQ(press.key, 66);
    const InputEvent access{.kind = EventKind::AccessKeyPress, .key = 65};
    b.deliver(access);
    EXPECT_EQ(access.key, 65);
    const InputEvent drop{.kind = EventKind::DragDrop, .x = 1, .y = 2};
    b.deliver(drop);
    EXPECT_EQ(drop.x, 99.5f);
    EXPECT_EQ(b.raised, (std::vector<std::string>{"MouseDown", "OLEDragOver", "OLEGiveFeedback", "KeyPress",
                                                  "AccessKeyPress", "vltDragDrop"}));
}

// A handler that destroys the button: the button finishes its own event first, then ends.
TEST(vltGraphButton, DestroyedByAHandlerOfItsOwnEvent) {
    using enum EventKind;
    const struct Case {
        const char* name;
        std::string destroyOn;
        EventKind kind;
        const char* element;
        std::vector<std::string> raised;
    } cases[] = {
        {"click", "Click", Click, "Label1", {"Click", "Terminate"}},
        {"Enter", "Click", KeyPress, nullptr, {"Click", "Terminate"}},
        {"focus", "vltGotFocus", GotFocus, nullptr, {"vltGotFocus", "Terminate"}},
        {"hover", "MouseMove", MouseMove, nullptr, {"MouseMove", "Terminate"}},
        {"drop", "OLEDragDrop", OLEDragDrop, nullptr, {"OLEDragDrop", "Terminate"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Button b;
        b.handler = [&](const EventDecl& ev, std::span<Variant>) {
            if (ev.name == c.destroyOn) b.destroy();
        };
        InputEvent ev{.kind = c.kind, .key = 13};
        if (c.element != nullptr) ev.source = b.find(c.element);
        b.deliver(ev);
        EXPECT_TRUE(b.destroyed());
        EXPECT_EQ(b.raised, c.raised);
        b.fire(Click);  // nothing is left to take it
        EXPECT_EQ(b.raised, c.raised);
    }
    // Resizing from a handler of Resize, and destroying from there.
    Button b;
    b.handler = [&](const EventDecl& ev, std::span<Variant>) {
        if (ev.name == "Resize" && b.surface().Width() == 2000) b.surface().Width(3000);
        else if (ev.name == "Resize") b.destroy();
    };
    b.resizeTo(2000, 500);
    EXPECT_TRUE(b.destroyed());
    EXPECT_EQ(b.raised, (std::vector<std::string>{"Resize", "Resize", "Terminate"}));
    EXPECT_EQ(b.piece(3, 0).Left(), 3000 - 45);
}

}  // namespace
}  // namespace talvik
