// The three boxes with a row of buttons as a host sees them: the row's places at the
// widths and heights of their skins, the hover pictures by identity as the mouse moves,
// the click events and persistence.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "boxes/ScrollBox.h"
#include "boxes/vltSwitch.h"
#include "boxes/vltZoomBox.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik {
using namespace controls;
namespace {

constexpr Colour kWhite = 0x00FFFFFF;

template <class C>
struct Box {
    HeadlessHost host{C::Class};
    C& box;
    Box() : box(static_cast<C&>(*host.control())) { host.Initialize(); }
    Image button(int i) { return host.images("Image4")(i); }
    Label caption() { return host.label("Label1"); }
    // The resource each button shows, left to right.
    std::vector<std::string> buttons() {
        std::vector<std::string> out;
        for (const Image b : host.images("Image4")) out.push_back(b.picture().empty() ? "" : b.picture().bitmap()->origin);
        return out;
    }
    std::vector<float> lefts() {
        std::vector<float> out;
        for (const Image b : host.images("Image4")) out.push_back(b.Left());
        return out;
    }
    void move(const std::string& element) {
        InputEvent ev;
        ev.kind = EventKind::MouseMove;
        if (element != "surface") {
            const auto open = element.find('(');
            ev.source = open == std::string::npos ? host.find(element)
                                                  : host.find(element.substr(0, open), std::stoi(element.substr(open + 1)));
        }
        host.deliver(ev);
    }
    // The Button argument of every event raised so far, as "Name Button".
    std::vector<std::string> events() {
        std::vector<std::string> out;
        for (const ServiceCall& c : host.calls())
            if (c.kind == ServiceCall::Kind::Event) out.push_back(c.name + " " + c.args.at(0).toString());
        return out;
    }
    void fire(EventKind kind, int button) {
        InputEvent ev;
        ev.kind = kind;
        ev.source = host.find("Image4", button);
        host.deliver(ev);
    }
};

using Names = std::vector<std::string>;

// A walk of the mouse over a box in one style: each step the element it moves onto and
// the pictures the buttons show then.
struct Step {
    const char* over;
    Names shown;
};
struct Walk {
    std::int32_t style;
    std::vector<Step> steps;
};

template <class C>
void walk(const Walk& w) {
    Box<C> b;
    b.box.Style(w.style);
    for (const Step& s : w.steps) {
        SCOPED_TRACE(std::to_string(w.style) + " over " + s.over);
        b.move(s.over);
        EXPECT_EQ(b.buttons(), s.shown);
    }
}

// A new box with this caption and style written, checked against the keys and the box's
// default caption, and read back into another box, which `check` then looks at.
template <class C>
void roundTrip(const std::string& caption, std::int32_t style, const char* defaultCaption,
               const std::function<void(Box<C>&)>& check = [](Box<C>&) {}) {
    SCOPED_TRACE(caption);
    PropertyBag bag;
    {
        Box<C> box;
        box.host.InitProperties();
        box.box.Caption(caption);
        box.box.Style(style);
        box.host.WriteProperties(bag);
    }
    ASSERT_EQ(bag.writes().size(), 2u);
    EXPECT_EQ(bag.writes()[0].key, "Caption");
    EXPECT_EQ(bag.writes()[0].value, Variant(caption));
    EXPECT_EQ(bag.writes()[0].defaultValue, Variant(defaultCaption));
    EXPECT_EQ(bag.writes()[1].key, "Style");
    EXPECT_EQ(bag.writes()[1].value, Variant(style));
    EXPECT_EQ(bag.writes()[1].defaultValue, Variant(std::int32_t{0}));
    Box<C> b;
    b.host.ReadProperties(bag);
    EXPECT_EQ(b.box.Caption(), caption);
    EXPECT_EQ(b.box.Style(), style);
    EXPECT_EQ(b.caption().Caption(), caption);
    check(b);
}

template <class C>
Names clicks(std::initializer_list<std::pair<EventKind, int>> sent) {
    Box<C> b;
    for (const auto& [kind, button] : sent) b.fire(kind, button);
    return b.events();
}

// ---- vltSwitch ----

TEST(vltSwitch, RowAcrossAndDownInEveryStyle) {
    struct Case {
        std::int32_t style;
        std::vector<float> lefts;  // first, previous, next, last
        float width, top;          // of the first button
        float leastWidth;
        Colour caption;
    };
    // At 3000 x 1485: C = 1500; numbered buttons 645 x 495, style 5 first/last 690 x 690,
    // previous/next 675 wide. Top = bottom row's top - (button height + 50).
    const Case cases[] = {
        {0, {180, 845, 1510, 2165}, 645, 1170 - 545, 2680, kHighlight},
        {1, {180, 845, 1510, 2165}, 645, 915 - 545, 2680, kWhite},
        {2, {180, 845, 1510, 2165}, 645, 1035 - 545, 2680, kHighlight},
        {3, {180, 845, 1510, 2165}, 645, 1035 - 545, 2680, kHighlight},
        {4, {180, 845, 1510, 2165}, 645, 1125 - 545, 2680, kWhite},
        {5, {120, 815, 1510, 2195}, 690, 1335 - 740, 2830, kWhite},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        Box<vltSwitch> b;
        b.host.InitProperties();
        b.host.resizeTo(3000, 1485);
        b.box.Style(c.style);
        EXPECT_EQ(b.lefts(), c.lefts);
        EXPECT_EQ(b.button(0).Width(), c.width);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(b.button(i).Top(), c.top);
        EXPECT_EQ(b.caption().ForeColor(), c.caption);
        // A Resize moves the row down with the frame and leaves it across as it was.
        b.host.resizeTo(5000, 2000);
        EXPECT_EQ(b.lefts(), c.lefts);
        EXPECT_EQ(b.button(3).Top(), c.top + 515);
        // Narrower than its buttons: the box takes the least width back.
        b.host.resizeTo(1000, 2000);
        EXPECT_EQ(b.host.surface().Width(), c.leastWidth);
    }
    // A new box at the design width: C = 1447.5 rounded to the even 1448.
    Box<vltSwitch> b;
    EXPECT_EQ(b.lefts(), (std::vector<float>{128, 793, 1458, 2113}));
    EXPECT_EQ(b.button(0).Top(), 625);
}

TEST(vltSwitch, HoverShowsOneButtonUntilTheFrameOrSurface) {
    const Walk walks[] = {
        {0,
         {{"Image4(2)", {"res:111", "res:113", "res:114", "res:117"}},
          {"Label1", {"res:111", "res:113", "res:114", "res:117"}},  // the caption keeps it
          {"Image4(3)", {"res:111", "res:113", "res:115", "res:116"}},
          {"Image1(1)", {"res:111", "res:113", "res:115", "res:117"}},
          {"Image4(0)", {"res:110", "res:113", "res:115", "res:117"}},
          {"surface", {"res:111", "res:113", "res:115", "res:117"}},
          {"Image4(1)", {"res:111", "res:112", "res:115", "res:117"}},
          {"Image3(2)", {"res:111", "res:113", "res:115", "res:117"}}}},
        {4,
         {{"Image4(1)", {"res:184", "res:112", "res:186", "res:187"}},
          {"Image2(1)", {"res:184", "res:185", "res:186", "res:187"}}}},
        {5,
         {{"Image4(0)", {"res:SB_FIRST_HOVER", "res:SB_PRE_NORMAL", "res:SB_NEXT_NORMAL", "res:SB_LAST_NORMAL"}},
          {"Image4(3)", {"res:SB_FIRST_NORMAL", "res:SB_PRE_NORMAL", "res:SB_NEXT_NORMAL", "res:SB_LAST_HOVER"}},
          {"surface", {"res:SB_FIRST_NORMAL", "res:SB_PRE_NORMAL", "res:SB_NEXT_NORMAL", "res:SB_LAST_NORMAL"}}}},
        // Without a row the buttons keep the pictures of style 0 and show no hover.
        {10,
         {{"Image4(2)", {"res:111", "res:113", "res:115", "res:117"}},
          {"Image1(0)", {"res:111", "res:113", "res:115", "res:117"}}}},
    };
    for (const Walk& w : walks) walk<vltSwitch>(w);
    // Reloading the skin puts a hovered button back to normal.
    Box<vltSwitch> b;
    b.move("Image4(2)");
    b.box.Style(0);
    EXPECT_EQ(b.buttons(), (Names{"res:111", "res:113", "res:115", "res:117"}));
}

TEST(vltSwitch, HoverLoadsOnceAndRepaintsOnlyTheChangedButtons) {
    Box<vltSwitch> b;
    EXPECT_EQ(b.host.resourceLoads(), 9 + 4);  // the skin and the four normal buttons
    b.host.takeDamage();
    b.move("Image4(2)");
    EXPECT_EQ(b.host.resourceLoads(), 14);
    const RectF next{b.button(2).Left(), b.button(2).Top(), b.button(2).Width(), b.button(2).Height()};
    for (const RectF& r : b.host.takeDamage()) EXPECT_TRUE(next.contains(r));
    b.move("Image4(2)");
    EXPECT_TRUE(b.host.takeDamage().empty());
    for (int i = 0; i < 100; ++i) b.move(i % 2 ? "Image4(2)" : "Image1(1)");
    EXPECT_EQ(b.host.resourceLoads(), 14);
    b.box.Style(5);
    b.box.Style(0);  // the skin loads again, the buttons' pictures are kept
    EXPECT_EQ(b.host.resourceLoads(), 14 + 9 + 4 + 9);
    b.move("Image4(3)");
    EXPECT_EQ(b.host.resourceLoads(), 36 + 1);
}

TEST(vltSwitch, FailingButtonBitmapEndsTheLayout) {
    Box<vltSwitch> b;
    b.host.failResource("147");
    try {
        b.box.Style(1);
        ADD_FAILURE() << "expected the load to fail";
    } catch (const HostError& e) {
        EXPECT_EQ(e.number, 5);
    }
    EXPECT_EQ(b.buttons(), (Names{"res:146", "res:113", "res:115", "res:117"}));
    EXPECT_EQ(b.button(0).Top(), 625);  // nothing was laid out after the failure
}

// ---- vltZoomBox ----

TEST(vltZoomBox, RowAcrossDownAndTheHeightRule) {
    struct Case {
        std::int32_t style;
        std::vector<float> lefts;  // shrink, enlarge, fit
        float height;              // after a Style at 3000 x 1485
        float top;
        float heightAt2000;        // sized to 2000 high
    };
    // Numbered buttons 810 x 915, style 5 855 x 960; tops = bottom row's top - (height + 50).
    const Case cases[] = {
        {0, {245, 1095, 1945}, 1485, 1170 - 965, 1485},
        {1, {245, 1095, 1945}, 1595, 1025 - 965, 2000},
        {2, {245, 1095, 1945}, 1595, 1145 - 965, 2000},
        {3, {245, 1095, 1945}, 1595, 1145 - 965, 2000},
        {4, {245, 1095, 1945}, 1595, 1235 - 965, 2000},
        {5, {177.5f, 1072.5f, 1967.5f}, 1595, 1445 - 1010, 2000},
        {10, {245, 1095, 1945}, 1595, 1025 - 965, 2000},  // after style 1: its skin and buttons stay
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        Box<vltZoomBox> b;
        b.host.InitProperties();
        b.host.resizeTo(3000, 1000);
        EXPECT_EQ(b.host.surface().Height(), 1485);  // Office2007box has one height
        if (c.style == 10) b.box.Style(1);
        b.box.Style(c.style);
        EXPECT_EQ(b.lefts(), c.lefts);
        EXPECT_EQ(b.host.surface().Height(), c.height);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(b.button(i).Top(), c.top);
        b.host.resizeTo(1000, 1000);
        EXPECT_EQ(b.host.surface().Height(), c.height);
        b.host.resizeTo(5000, 2000);
        EXPECT_EQ(b.host.surface().Height(), c.heightAt2000);
        EXPECT_EQ(b.lefts(), c.lefts);  // a Resize leaves them across as they were
        EXPECT_EQ(b.button(1).Top(), c.top + c.heightAt2000 - c.height);
    }
    // A new box, centred for the design width.
    Box<vltZoomBox> b;
    EXPECT_EQ(b.lefts(), (std::vector<float>{192.5f, 1042.5f, 1892.5f}));
    EXPECT_EQ(b.button(0).Top(), 205);
}

TEST(vltZoomBox, HoverShowsOneButtonUntilAnyOtherPart) {
    const Walk walks[] = {
        {0,
         {{"Image4(1)", {"res:158", "res:171", "res:160"}},
          {"Label1", {"res:158", "res:159", "res:160"}},
          {"Image4(0)", {"res:170", "res:159", "res:160"}},
          {"Image4(2)", {"res:158", "res:159", "res:172"}},
          {"surface", {"res:158", "res:159", "res:160"}},
          {"Image4(2)", {"res:158", "res:159", "res:172"}},
          {"Image2(2)", {"res:158", "res:159", "res:160"}}}},
        {4, {{"Image4(1)", {"res:188", "res:171", "res:190"}}, {"Image3(0)", {"res:188", "res:189", "res:190"}}}},
        {5,
         {{"Image4(2)", {"res:THU_NHO_NORMAL", "res:PHONG_TO_NORMAL", "res:FIT_HOVER"}},
          {"Image4(0)", {"res:THU_NHO_HOVER", "res:PHONG_TO_NORMAL", "res:FIT_NORMAL"}},
          {"Label1", {"res:THU_NHO_NORMAL", "res:PHONG_TO_NORMAL", "res:FIT_NORMAL"}}}},
        // Without normal pictures a hovered button keeps its hover picture.
        {10,
         {{"Image4(1)", {"res:158", "res:171", "res:160"}},
          {"Image1(0)", {"res:158", "res:171", "res:160"}},
          {"Label1", {"res:158", "res:171", "res:160"}},
          {"Image4(0)", {"res:170", "res:171", "res:160"}}}},
    };
    for (const Walk& w : walks) walk<vltZoomBox>(w);
    // Styles 0 to 4 share their hover pictures: once loaded, no style loads them again.
    Box<vltZoomBox> b;
    for (std::int32_t style : {0, 1, 2}) {
        b.box.Style(style);
        b.move("Image4(1)");
        b.move("Image4(2)");
    }
    EXPECT_EQ(b.host.resourceLoads(), 9 + 3 + (9 + 2) + (9 + 3) + (9 + 3));
}

TEST(vltZoomBox, FailingStepsAreSkipped) {
    Box<vltZoomBox> b;
    b.host.failResource("162");
    b.box.Style(1);  // no error reaches the caller
    // The shrink button got its new picture before the failing one; the layout went on.
    EXPECT_EQ(b.buttons(), (Names{"res:161", "res:159", "res:160"}));
    EXPECT_EQ(b.host.surface().Height(), 1595);
    EXPECT_EQ(b.button(2).Top(), 1025 - 965);
    EXPECT_EQ(b.caption().Top(), 1025 + 45);
    b.host.unfailAll();
    b.host.failResource("SB_TOP_2");
    b.box.Style(5);
    EXPECT_EQ(b.buttons(), (Names{"res:THU_NHO_NORMAL", "res:PHONG_TO_NORMAL", "res:FIT_NORMAL"}));
    EXPECT_EQ(b.caption().ForeColor(), kHighlight);  // the skin stopped before the colour
    EXPECT_EQ(b.button(0).Top(), 1025 - 1010);       // on the bottom row of style 1, still shown
}

// ---- ScrollBox ----

TEST(ScrollBox, RowAcrossAndDownOnEveryLayout) {
    struct Case {
        std::int32_t style;
        float top;  // at 3000 x 1000: bottom row's top - (720 + 50)
        std::int32_t bottomHeight;
    };
    const Case cases[] = {{0, 685 - 770, 315}, {1, 430 - 770, 570}, {2, 550 - 770, 450},
                          {3, 550 - 770, 450}, {4, 640 - 770, 360}, {5, 850 - 770, 150}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        Box<ScrollBox> b;
        b.host.resizeTo(3000, 1000);
        b.box.Style(c.style);
        EXPECT_EQ(b.lefts(), (std::vector<float>{270, 890, 1510, 2130}));
        for (int i = 0; i < 4; ++i) EXPECT_EQ(b.button(i).Top(), c.top);
        EXPECT_EQ(b.box.BottomHeight(), c.bottomHeight);
        // Every Resize places the row again, across and down.
        b.host.resizeTo(5000, 2000);
        EXPECT_EQ(b.lefts(), (std::vector<float>{1270, 1890, 2510, 3130}));
        EXPECT_EQ(b.button(0).Top(), c.top + 1000);
    }
}

TEST(ScrollBox, HoverShowsOneArrowUntilAFrameSlice) {
    const Names normal{"res:SCROLL_NORMAL_1", "res:SCROLL_NORMAL_2", "res:SCROLL_NORMAL_3", "res:SCROLL_NORMAL_4"};
    const std::vector<Step> steps = {
        {"Image4(2)", {"res:SCROLL_NORMAL_1", "res:SCROLL_NORMAL_2", "res:SCROLL_3", "res:SCROLL_NORMAL_4"}},
        {"Image4(3)", {"res:SCROLL_NORMAL_1", "res:SCROLL_NORMAL_2", "res:SCROLL_NORMAL_3", "res:SCROLL_4"}},
        {"Label1", {"res:SCROLL_NORMAL_1", "res:SCROLL_NORMAL_2", "res:SCROLL_NORMAL_3", "res:SCROLL_4"}},
        {"surface", {"res:SCROLL_NORMAL_1", "res:SCROLL_NORMAL_2", "res:SCROLL_NORMAL_3", "res:SCROLL_4"}},
        {"Image3(1)", normal},
        {"Image4(0)", {"res:SCROLL_1", "res:SCROLL_NORMAL_2", "res:SCROLL_NORMAL_3", "res:SCROLL_NORMAL_4"}},
        {"Image1(2)", normal},
        {"Image4(1)", {"res:SCROLL_NORMAL_1", "res:SCROLL_2", "res:SCROLL_NORMAL_3", "res:SCROLL_NORMAL_4"}},
    };
    for (std::int32_t style : {0, 5, 10}) {
        Box<ScrollBox> b;
        b.box.Style(style);
        for (const Step& s : steps) {
            SCOPED_TRACE(std::to_string(style) + " over " + s.over);
            b.move(s.over);
            EXPECT_EQ(b.buttons(), s.shown);
        }
        b.box.Style(style);  // a new skin puts the arrow back
        EXPECT_EQ(b.buttons(), normal);
        // The eight arrows load once for the box, whatever its styles.
        EXPECT_EQ(b.host.resourceLoads(), 9 + 8 + (style == 10 ? 0 : 18));
    }
}

// ---- all three ----

TEST(ButtonBoxes, ClicksRaiseTheBoxsOwnEventsOnly) {
    using K = EventKind;
    EXPECT_EQ(clicks<vltSwitch>({{K::Click, 3}, {K::DblClick, 3}, {K::Click, 0}, {K::MouseDown, 1}}),
              (Names{"ButtonClick 3", "ButtonClick 0"}));
    EXPECT_EQ(clicks<vltZoomBox>({{K::Click, 2}, {K::DblClick, 2}, {K::Click, 0}}),
              (Names{"vltZoomBoxClick 2", "vltZoomBoxClick 0"}));
    EXPECT_EQ(clicks<ScrollBox>({{K::Click, 1}, {K::DblClick, 1}, {K::Click, 3}, {K::MouseUp, 3}}),
              (Names{"ButtonClick 1", "ButtonDoubleClick 1", "ButtonClick 3"}));
}

TEST(ButtonBoxes, SaveAndRestore) {
    struct Case { const char* caption; std::int32_t style; const char* first; };
    const Case switches[] = {
        {"vltBox", 0, "res:111"}, {"Question 7", 3, "res:154"}, {"Next", 5, "res:SB_FIRST_NORMAL"}, {"None", 10, "res:111"}};
    for (const Case& c : switches)
        roundTrip<vltSwitch>(c.caption, c.style, "vltBox", [&](Box<vltSwitch>& b) { EXPECT_EQ(b.buttons().at(0), c.first); });
    for (const Case& c : {Case{"vltZoomBox", 0, ""}, Case{"Figure 3", 5, ""}, Case{"None", 7, ""}})
        roundTrip<vltZoomBox>(c.caption, c.style, "vltZoomBox", [&](Box<vltZoomBox>& b) {
            EXPECT_EQ(b.host.surface().Height(), c.style == 0 ? 1485 : 1595);
        });
    for (const auto& [caption, style] : {std::pair{"ScrollBox", 0}, {"Passage", 4}, {"None", -3}})
        roundTrip<ScrollBox>(caption, style, "ScrollBox");

    Box<vltSwitch> sw;
    sw.host.InitProperties();
    EXPECT_EQ(sw.caption().Caption(), "vltBox");
    EXPECT_EQ(sw.caption().Left(), 2895 / 2.0f - 270);
    Box<vltZoomBox> zoom;
    zoom.host.InitProperties();
    EXPECT_EQ(zoom.caption().Caption(), "");
}

}  // namespace
}  // namespace talvik
