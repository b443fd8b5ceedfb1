// The skinned boxes as a host sees them, slice rectangles and caption positions worked
// out by hand from the bitmap sizes of the six skins. Text sizes follow the headless
// measurement of the 8.25-point font: 90 twips a character, 195 high.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "Support.h"
#include "boxes/ScrollBox.h"
#include "boxes/vltBox.h"
#include "boxes/vltInfoBox.h"
#include "boxes/vltSwitch.h"
#include "boxes/vltZoomBox.h"

namespace talvik {
using namespace controls;
namespace {

using testing::origin;
using Skin = std::array<std::string, 9>;
using Names = std::vector<std::string>;
constexpr Colour kWhite = 0x00FFFFFF;

template <class C>
struct Box : testing::Hosted<C> {
    C& box = this->ctl;
    // Slices numbered 0 to 8, top row to bottom row, left to right.
    Image slice(int k) { return this->images("Image" + std::to_string(k / 3 + 1))(k % 3); }
    Label caption() { return this->label("Label1"); }
    Label info() { return this->label("Label2"); }
    Skin shown() {
        Skin names;
        for (int k = 0; k < 9; ++k) names[std::size_t(k)] = origin(slice(k).picture());
        return names;
    }
    int slicesShown() {
        int n = 0;
        for (int k = 0; k < 9; ++k) n += slice(k).Visible();
        return n;
    }
    Image button(int i) { return this->images("Image4")(i); }
    Names buttons() {
        Names out;
        for (const Image b : this->images("Image4")) out.push_back(origin(b.picture()));
        return out;
    }
    std::vector<float> lefts() {
        std::vector<float> out;
        for (const Image b : this->images("Image4")) out.push_back(b.Left());
        return out;
    }
    void move(const std::string& element) {
        InputEvent ev{EventKind::MouseMove};
        if (element != "surface") {
            const auto open = element.find('(');
            ev.source = open == std::string::npos
                            ? this->find(element)
                            : this->find(element.substr(0, open), std::stoi(element.substr(open + 1)));
        }
        this->deliver(ev);
    }
    // Every event raised so far, as "Name Button".
    Names events() {
        Names out;
        for (const ServiceCall& c : this->calls())
            if (c.kind == ServiceCall::Kind::Event) out.push_back(c.name + " " + c.args.at(0).toString());
        return out;
    }
};

// The skins by style, as the resources store their names.
const Skin kSkins[] = {
    {"res:101", "res:102", "res:103", "res:104", "res:105", "res:106", "res:107", "res:108", "res:109"},
    {"res:119", "res:120", "res:121", "res:122", "res:123", "res:124", "res:125", "res:126", "res:127"},
    {"res:137", "res:138", "res:139", "res:140", "res:141", "res:142", "res:143", "res:144", "res:145"},
    {"res:128", "res:129", "res:130", "res:131", "res:132", "res:133", "res:134", "res:135", "res:136"},
    {"res:175", "res:176", "res:194", "res:178", "res:179", "res:180", "res:181", "res:182", "res:183"},
    {"res:SB_TOP_1", "res:SB_TOP_2", "res:SB_TOP_3", "res:SB_MID_1", "res:SB_MID_2", "res:SB_MID_3",
     "res:SB_BOTTOM_1", "res:SB_BOTTOM_2", "res:SB_BOTTOM_3"},
};

std::string sizeName(std::int32_t style, float w, float h) {
    return "style " + std::to_string(style) + " at " + std::to_string(int(w)) + " x " + std::to_string(int(h));
}

// ---- The frame, through vltBox ----

TEST(SkinFrame, SlicesAndBottomHeightOfEveryStyle) {
    struct Case { std::int32_t style; float width, height; std::array<RectF, 9> slices; };
    // Slices from the top row down, left to right. Corners take their bitmap's size at 15
    // twips a pixel; the middle row's side columns take the top corners' widths; a box
    // narrower than a row's corners gets that row's middle slice 0 wide, and one lower
    // than its top and bottom rows a middle row 1 high.
    const Case cases[] = {
        {0, 3000, 1000, {{{0, 0, 45, 45}, {45, 0, 2910, 45}, {2955, 0, 45, 45}, {0, 45, 45, 640}, {45, 45, 2910, 640}, {2955, 45, 45, 640}, {0, 685, 45, 315}, {45, 685, 2910, 315}, {2955, 685, 45, 315}}}},
        {1, 3000, 1000, {{{0, 0, 435, 315}, {435, 0, 2130, 315}, {2565, 0, 435, 315}, {0, 315, 435, 115}, {435, 315, 2130, 115}, {2565, 315, 435, 115}, {0, 430, 435, 570}, {435, 430, 2130, 570}, {2565, 430, 435, 570}}}},
        {1, 1000, 885, {{{0, 0, 435, 315}, {435, 0, 130, 315}, {565, 0, 435, 315}, {0, 315, 435, 0}, {435, 315, 130, 0}, {565, 315, 435, 0}, {0, 315, 435, 570}, {435, 315, 130, 570}, {565, 315, 435, 570}}}},
        {1, 600, 600, {{{0, 0, 435, 315}, {435, 0, 0, 315}, {165, 0, 435, 315}, {0, 315, 435, 1}, {435, 315, 0, 1}, {165, 315, 435, 1}, {0, 30, 435, 570}, {435, 30, 0, 570}, {165, 30, 435, 570}}}},
        {2, 2000, 900, {{{0, 0, 345, 270}, {345, 0, 1205, 270}, {1550, 0, 450, 270}, {0, 270, 345, 180}, {345, 270, 1205, 180}, {1550, 270, 450, 180}, {0, 450, 345, 450}, {345, 450, 1205, 450}, {1550, 450, 450, 450}}}},
        {3, 2500, 1200, {{{0, 0, 360, 300}, {360, 0, 1750, 300}, {2110, 0, 390, 300}, {0, 300, 360, 450}, {360, 300, 1750, 450}, {2110, 300, 390, 450}, {0, 750, 360, 450}, {360, 750, 1750, 450}, {2110, 750, 390, 450}}}},
        {4, 3000, 1500, {{{0, 0, 120, 435}, {120, 0, 1725, 435}, {1845, 0, 1155, 435}, {0, 435, 120, 705}, {120, 435, 1725, 705}, {1845, 435, 1155, 705}, {0, 1140, 165, 360}, {165, 1140, 2700, 360}, {2865, 1140, 135, 360}}}},
        // Narrower than the top corners but not the bottom ones.
        {4, 1200, 700, {{{0, 0, 120, 435}, {120, 0, 0, 435}, {45, 0, 1155, 435}, {0, 435, 120, 1}, {120, 435, 0, 1}, {45, 435, 1155, 1}, {0, 340, 165, 360}, {165, 340, 900, 360}, {1065, 340, 135, 360}}}},
        {5, 3000, 1000, {{{0, 0, 90, 540}, {90, 0, 1515, 540}, {1605, 0, 1395, 540}, {0, 540, 90, 310}, {90, 540, 1515, 310}, {1605, 540, 1395, 310}, {0, 850, 90, 150}, {90, 850, 1515, 150}, {1605, 850, 1395, 150}}}},
        {5, 1000, 600, {{{0, 0, 90, 540}, {90, 0, 0, 540}, {-395, 0, 1395, 540}, {0, 540, 90, 1}, {90, 540, 0, 1}, {-395, 540, 1395, 1}, {0, 450, 90, 150}, {90, 450, 0, 150}, {-395, 450, 1395, 150}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(sizeName(c.style, c.width, c.height));
        Box<vltBox> b;
        b.box.Style(c.style);
        b.resizeTo(c.width, c.height);
        for (int k = 0; k < 9; ++k) {
            SCOPED_TRACE(k);
            EXPECT_EQ(b.slice(k).bounds(), c.slices[std::size_t(k)]);
            EXPECT_EQ(b.slice(k).Stretch(), k != 0 && k != 2 && k != 6 && k != 8);
        }
        EXPECT_EQ(b.shown(), kSkins[c.style]);
        EXPECT_EQ(b.box.BottomHeight(), c.slices[6].height);
    }
}

TEST(SkinFrame, CaptionPlacement) {
    struct Case { std::int32_t style; float width, height; std::string caption; float left, top; };
    const Case cases[] = {
        {0, 2895, 1485, "vltBox", 1177.5f, 1215},        // 2895/2 - 540/2; bottom row at 1170, + 45
        {1, 3000, 1000, "vltBox", 1230, 475},            // bottom row at 430
        {5, 3000, 1000, "vltBox", 1230, 300},            // top row 540 high: 540 - (195 + 45)
        {0, 540, 1485, "vltBox", 0, 1215},               // exactly as wide as the box
        {0, 2895, 1485, std::string(40, 'W'), 0, 1215},  // 3600 wide: starts at the left edge
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(sizeName(c.style, c.width, c.height) + " \"" + c.caption + "\"");
        // Placed by the layout when the caption comes first, by the label's Change after,
        // also when the host gives the label a text of its own, which is not stored.
        for (int path = 0; path < 3; ++path) {
            SCOPED_TRACE(path);
            Box<vltBox> b;
            if (path > 0) b.resizeTo(c.width, c.height);
            b.box.Style(c.style);
            if (path < 2)
                b.box.Caption(c.caption);
            else
                b.caption().Caption(c.caption);
            if (path == 0) b.resizeTo(c.width, c.height);
            EXPECT_EQ(b.caption().Left(), c.left);
            EXPECT_EQ(b.caption().Top(), c.top);
            EXPECT_EQ(b.caption().Caption(), c.caption);
            EXPECT_EQ(b.box.Caption(), path < 2 ? c.caption : "");
        }
    }
}

TEST(SkinFrame, StylesWithoutASkinKeepPicturesAndColourButPlaceTheCaption) {
    struct Case { std::int32_t first, then, skinShown; bool white; float captionTop; };
    // At 3000 x 1000 the caption is 45 below the bottom row's top, or in style 5 in the top row.
    const Case cases[] = {
        {2, 10, 2, false, 595}, {2, 6, 2, false, 595}, {2, -1, 2, false, 595}, {0, 10, 0, false, 730},
        {5, 10, 5, true, 895},  {5, 1, 1, true, 475},  {4, 0, 0, true, 730},   {1, 5, 5, true, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + " then " + std::to_string(c.then));
        Box<vltBox> b;
        b.resizeTo(3000, 1000);
        b.box.Caption("vltBox");
        b.box.Style(c.first);
        b.box.Style(c.then);
        EXPECT_EQ(b.box.Style(), c.then);
        EXPECT_EQ(b.shown(), kSkins[c.skinShown]);
        EXPECT_EQ(b.caption().ForeColor(), c.white ? kWhite : kHighlight);
        EXPECT_EQ(b.caption().Top(), c.captionTop);
    }
}

// A new box shows its caption only once the frame is laid out again; only skin changes
// load bitmaps.
TEST(SkinFrame, NewBoxAndBitmapLoads) {
    Box<vltBox> b;
    EXPECT_EQ(b.shown(), kSkins[0]);
    EXPECT_EQ(b.resourceLoads(), 9);
    b.InitProperties();
    EXPECT_EQ(b.box.Caption(), "vltBox");
    EXPECT_EQ(b.caption().Caption(), "");
    b.call([&] { b.box.Resize(); });
    EXPECT_EQ(b.caption().Caption(), "vltBox");
    EXPECT_EQ(b.caption().bounds(), (RectF{1177.5f, 1485 - 315 + 45, 540, 195}));
    EXPECT_EQ(b.caption().ForeColor(), kHighlight);
    for (int i = 0; i < 200; ++i) b.resizeTo(float(300 + 37 * i), float(200 + 23 * i));
    b.box.Caption("A caption");
    EXPECT_EQ(b.resourceLoads(), 9);
    b.box.Style(3);
    b.box.Style(3);  // the same value reloads
    EXPECT_EQ(b.resourceLoads(), 27);
    b.box.Style(10);
    for (int i = 0; i < 200; ++i) b.resizeTo(float(5000 - 19 * i), float(4000 - 11 * i));
    EXPECT_EQ(b.resourceLoads(), 27);
}

// ---- vltInfoBox ----

TEST(vltInfoBox, TextsInEverySkin) {
    struct Case {
        std::vector<std::int32_t> styles;  // set in turn
        const char* rightTop;              // Image1(2)'s bitmap
        float captionTop, infoTop;
        Colour caption, info;
        std::int32_t bottomHeight;
    };
    // At 3000 x 1000 with the caption "vltInfoBox" (900 wide, so Left 1500 - 450): the
    // caption 45 below the bottom row's top; the information at its design place, or in
    // Baby_reddarkbox 30 below the 29-pixel top row, where it stays in later styles.
    const Case cases[] = {
        {{0}, "res:103", 1000 - 315 + 45, 120, kHighlight, kHighlight, 315},
        {{1}, "res:121", 1000 - 570 + 45, 120, kWhite, kWhite, 570},
        {{4}, "res:193", 1000 - 360 + 45, 465, kWhite, kHighlight, 360},
        {{4, 2}, "res:139", 1000 - 450 + 45, 465, kWhite, kHighlight, 450},
        {{1, 2}, "res:139", 1000 - 450 + 45, 120, kWhite, kWhite, 450},
        {{1, 4}, "res:193", 1000 - 360 + 45, 465, kWhite, kWhite, 360},
        // No FireFox skin in this box: the skin before stays, the caption in the bottom row.
        {{1, 5}, "res:121", 1000 - 570 + 45, 120, kWhite, kWhite, 570},
        {{4, 10}, "res:193", 1000 - 360 + 45, 465, kWhite, kHighlight, 360},
    };
    for (const Case& c : cases) {
        std::string name = "styles";
        for (std::int32_t s : c.styles) name += " " + std::to_string(s);
        SCOPED_TRACE(name);
        // Laid out by the Style assignment, and again by a Resize after it.
        for (const bool resizeFirst : {true, false}) {
            SCOPED_TRACE(resizeFirst ? "resized first" : "resized last");
            Box<vltInfoBox> b;
            b.InitProperties();
            if (resizeFirst) b.resizeTo(3000, 1000);
            for (std::int32_t s : c.styles) b.box.Style(s);
            if (!resizeFirst) b.resizeTo(3000, 1000);
            EXPECT_EQ(b.shown()[2], c.rightTop);
            EXPECT_EQ(b.caption().bounds(), (RectF{1050, c.captionTop, 900, 195}));
            EXPECT_EQ(b.info().bounds(), (RectF{150, c.infoTop, 540, 195}));
            EXPECT_EQ(b.caption().ForeColor(), c.caption);
            EXPECT_EQ(b.info().ForeColor(), c.info);
            EXPECT_EQ(b.box.BottomHeight(), c.bottomHeight);
        }
    }
}

TEST(vltInfoBox, InfoAndCaptionTexts) {
    Box<vltInfoBox> b;
    b.InitProperties();
    b.resizeTo(3000, 1000);
    b.box.Style(4);
    // The information is shown where its label is and sized to it; the caption is centred again.
    b.box.Info("Read every question");
    EXPECT_EQ(b.info().bounds(), (RectF{150, 465, 19 * 90, 195}));
    b.box.Caption("Exam");
    EXPECT_EQ(b.caption().Left(), 1500 - 180);
    // A Change of the information label places nothing.
    b.info().Caption("Something else entirely");
    EXPECT_EQ(b.info().bounds(), (RectF{150, 465, 23 * 90, 195}));
    EXPECT_EQ(b.box.Info(), "Read every question");
    EXPECT_EQ(b.caption().Left(), 1500 - 180);
}

TEST(vltInfoBox, BackStyle) {
    struct Case { std::int32_t value; int slicesShown; };
    const Case cases[] = {{0, 0}, {1, 9}, {7, 9}, {-1, 9}, {0, 0}, {1, 9}};
    Box<vltInfoBox> b;
    b.InitProperties();
    b.box.Style(2);
    const int loads = b.resourceLoads();
    float width = 3000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        b.box.BackStyle(c.value);
        EXPECT_EQ(b.slicesShown(), c.slicesShown);
        EXPECT_EQ(b.surface().BackStyle(), 0);  // transparent for every value
        // Hidden slices keep their pictures and are still laid out.
        b.resizeTo(width, 1000);
        EXPECT_EQ(b.shown()[7], "res:144");
        EXPECT_EQ(b.slice(8).bounds(), (RectF{width - 450, 550, 450, 450}));
        EXPECT_EQ(b.caption().Top(), 550 + 45);
        width += 100;
    }
    EXPECT_EQ(b.resourceLoads(), loads);
    // A new skin while hidden stays hidden.
    b.box.BackStyle(0);
    b.box.Style(1);
    EXPECT_EQ(b.slicesShown(), 0);
    EXPECT_EQ(b.shown()[0], "res:119");
}

// ---- The button rows ----

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
        {4, {180, 845, 1510, 2165}, 645, 1125 - 545, 2680, kWhite},
        {5, {120, 815, 1510, 2195}, 690, 1335 - 740, 2830, kWhite},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        Box<vltSwitch> b;
        b.InitProperties();
        b.resizeTo(3000, 1485);
        b.box.Style(c.style);
        EXPECT_EQ(b.lefts(), c.lefts);
        EXPECT_EQ(b.button(0).Width(), c.width);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(b.button(i).Top(), c.top);
        EXPECT_EQ(b.caption().ForeColor(), c.caption);
        // A Resize moves the row down with the frame and leaves it across as it was.
        b.resizeTo(5000, 2000);
        EXPECT_EQ(b.lefts(), c.lefts);
        EXPECT_EQ(b.button(3).Top(), c.top + 515);
        // Narrower than its buttons: the box takes the least width back.
        b.resizeTo(1000, 2000);
        EXPECT_EQ(b.surface().Width(), c.leastWidth);
    }
    // A new box at the design width: C = 1447.5 rounded to the even 1448.
    Box<vltSwitch> b;
    EXPECT_EQ(b.lefts(), (std::vector<float>{128, 793, 1458, 2113}));
    EXPECT_EQ(b.button(0).Top(), 625);
}

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
void walk(std::initializer_list<Walk> walks) {
    for (const Walk& w : walks) {
        Box<C> b;
        b.box.Style(w.style);
        for (const Step& s : w.steps) {
            SCOPED_TRACE(std::to_string(w.style) + " over " + s.over);
            b.move(s.over);
            EXPECT_EQ(b.buttons(), s.shown);
        }
    }
}

TEST(vltSwitch, HoverShowsOneButtonUntilTheFrameOrSurface) {
    walk<vltSwitch>({
        {0,
         {{"Image4(2)", {"res:111", "res:113", "res:114", "res:117"}},
          {"Label1", {"res:111", "res:113", "res:114", "res:117"}},  // the caption keeps it
          {"Image4(3)", {"res:111", "res:113", "res:115", "res:116"}},
          {"Image1(1)", {"res:111", "res:113", "res:115", "res:117"}},
          {"Image4(0)", {"res:110", "res:113", "res:115", "res:117"}},
          {"surface", {"res:111", "res:113", "res:115", "res:117"}},
          {"Image4(1)", {"res:111", "res:112", "res:115", "res:117"}}}},
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
    });
    // Reloading the skin puts a hovered button back to normal.
    Box<vltSwitch> b;
    b.move("Image4(2)");
    b.box.Style(0);
    EXPECT_EQ(b.buttons(), (Names{"res:111", "res:113", "res:115", "res:117"}));
}

TEST(vltSwitch, HoverLoadsOnceAndRepaintsOnlyTheChangedButtons) {
    Box<vltSwitch> b;
    EXPECT_EQ(b.resourceLoads(), 9 + 4);  // the skin and the four normal buttons
    b.takeDamage();
    b.move("Image4(2)");
    EXPECT_EQ(b.resourceLoads(), 14);
    const RectF next = b.button(2).bounds();
    for (const RectF& r : b.takeDamage()) EXPECT_TRUE(next.contains(r));
    b.move("Image4(2)");
    EXPECT_TRUE(b.takeDamage().empty());
    for (int i = 0; i < 100; ++i) b.move(i % 2 ? "Image4(2)" : "Image1(1)");
    EXPECT_EQ(b.resourceLoads(), 14);
    b.box.Style(5);
    b.box.Style(0);  // the skin loads again, the buttons' pictures are kept
    EXPECT_EQ(b.resourceLoads(), 14 + 9 + 4 + 9);
    b.move("Image4(3)");
    EXPECT_EQ(b.resourceLoads(), 36 + 1);
}

TEST(vltSwitch, FailingButtonBitmapEndsTheLayout) {
    Box<vltSwitch> b;
    b.failResource("147");
    try {
        b.box.Style(1);
        ADD_FAILURE() << "expected the load to fail";
    } catch (const HostError& e) {
        EXPECT_EQ(e.number, 5);
    }
    EXPECT_EQ(b.buttons(), (Names{"res:146", "res:113", "res:115", "res:117"}));
    EXPECT_EQ(b.button(0).Top(), 625);  // nothing was laid out after the failure
}

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
        {4, {245, 1095, 1945}, 1595, 1235 - 965, 2000},
        {5, {177.5f, 1072.5f, 1967.5f}, 1595, 1445 - 1010, 2000},
        {10, {245, 1095, 1945}, 1595, 1025 - 965, 2000},  // after style 1: its skin and buttons stay
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        Box<vltZoomBox> b;
        b.InitProperties();
        b.resizeTo(3000, 1000);
        EXPECT_EQ(b.surface().Height(), 1485);  // Office2007box has one height
        if (c.style == 10) b.box.Style(1);
        b.box.Style(c.style);
        EXPECT_EQ(b.lefts(), c.lefts);
        EXPECT_EQ(b.surface().Height(), c.height);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(b.button(i).Top(), c.top);
        b.resizeTo(1000, 1000);
        EXPECT_EQ(b.surface().Height(), c.height);
        b.resizeTo(5000, 2000);
        EXPECT_EQ(b.surface().Height(), c.heightAt2000);
        EXPECT_EQ(b.lefts(), c.lefts);  // a Resize leaves them across as they were
        EXPECT_EQ(b.button(1).Top(), c.top + c.heightAt2000 - c.height);
    }
    // A new box, centred for the design width.
    Box<vltZoomBox> b;
    EXPECT_EQ(b.lefts(), (std::vector<float>{192.5f, 1042.5f, 1892.5f}));
    EXPECT_EQ(b.button(0).Top(), 205);
}

TEST(vltZoomBox, HoverShowsOneButtonUntilAnyOtherPart) {
    walk<vltZoomBox>({
        {0,
         {{"Image4(1)", {"res:158", "res:171", "res:160"}},
          {"Label1", {"res:158", "res:159", "res:160"}},
          {"Image4(0)", {"res:170", "res:159", "res:160"}},
          {"Image4(2)", {"res:158", "res:159", "res:172"}},
          {"surface", {"res:158", "res:159", "res:160"}}}},
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
    });
    // Styles 0 to 4 share their hover pictures: once loaded, no style loads them again.
    Box<vltZoomBox> b;
    for (std::int32_t style : {0, 1, 2}) {
        b.box.Style(style);
        b.move("Image4(1)");
        b.move("Image4(2)");
    }
    EXPECT_EQ(b.resourceLoads(), 9 + 3 + (9 + 2) + (9 + 3) + (9 + 3));
}

TEST(vltZoomBox, FailingStepsAreSkipped) {
    Box<vltZoomBox> b;
    b.failResource("162");
    b.box.Style(1);  // no error reaches the caller
    // The shrink button got its new picture before the failing one; the layout went on.
    EXPECT_EQ(b.buttons(), (Names{"res:161", "res:159", "res:160"}));
    EXPECT_EQ(b.surface().Height(), 1595);
    EXPECT_EQ(b.button(2).Top(), 1025 - 965);
    EXPECT_EQ(b.caption().Top(), 1025 + 45);
    b.unfailAll();
    b.failResource("SB_TOP_2");
    b.box.Style(5);
    EXPECT_EQ(b.buttons(), (Names{"res:THU_NHO_NORMAL", "res:PHONG_TO_NORMAL", "res:FIT_NORMAL"}));
    EXPECT_EQ(b.caption().ForeColor(), kHighlight);  // the skin stopped before the colour
    EXPECT_EQ(b.button(0).Top(), 1025 - 1010);       // on the bottom row of style 1, still shown
}

TEST(ScrollBox, RowAcrossAndDownOnEveryLayout) {
    // At 3000 x 1000 the top is the bottom row's top - (720 + 50).
    const std::pair<std::int32_t, float> cases[] = {{0, 685 - 770}, {1, 430 - 770}, {4, 640 - 770}, {5, 850 - 770}};
    for (const auto& [style, top] : cases) {
        SCOPED_TRACE(style);
        Box<ScrollBox> b;
        b.resizeTo(3000, 1000);
        b.box.Style(style);
        EXPECT_EQ(b.lefts(), (std::vector<float>{270, 890, 1510, 2130}));
        for (int i = 0; i < 4; ++i) EXPECT_EQ(b.button(i).Top(), top);
        // Every Resize places the row again, across and down.
        b.resizeTo(5000, 2000);
        EXPECT_EQ(b.lefts(), (std::vector<float>{1270, 1890, 2510, 3130}));
        EXPECT_EQ(b.button(0).Top(), top + 1000);
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
        EXPECT_EQ(b.resourceLoads(), 9 + 8 + (style == 10 ? 0 : 18));
    }
}

template <class C>
Names clicks(std::initializer_list<std::pair<EventKind, int>> sent) {
    Box<C> b;
    for (const auto& [kind, button] : sent) b.deliver({kind, b.button(button)});
    return b.events();
}

TEST(ButtonBoxes, ClicksRaiseTheBoxsOwnEventsOnly) {
    using K = EventKind;
    EXPECT_EQ(clicks<vltSwitch>({{K::Click, 3}, {K::DblClick, 3}, {K::Click, 0}, {K::MouseDown, 1}}),
              (Names{"ButtonClick 3", "ButtonClick 0"}));
    EXPECT_EQ(clicks<vltZoomBox>({{K::Click, 2}, {K::DblClick, 2}, {K::Click, 0}}),
              (Names{"vltZoomBoxClick 2", "vltZoomBoxClick 0"}));
    EXPECT_EQ(clicks<ScrollBox>({{K::Click, 1}, {K::DblClick, 1}, {K::Click, 3}, {K::MouseUp, 3}}),
              (Names{"ButtonClick 1", "ButtonDoubleClick 1", "ButtonClick 3"}));
}

// ---- Persistence ----

// A new box with these values written, checked against the keys and defaults, and read
// back into another box, which `check` then looks at.
template <class C>
void roundTrip(const std::string& caption, std::int32_t style, const char* defaultCaption,
               const std::function<void(Box<C>&)>& check = [](Box<C>&) {}) {
    SCOPED_TRACE(caption + " " + std::to_string(style));
    PropertyBag bag;
    {
        Box<C> box;
        box.InitProperties();
        box.box.Caption(caption);
        box.box.Style(style);
        box.WriteProperties(bag);
    }
    testing::expectWrites(bag, {{"Caption", caption, defaultCaption}, {"Style", style, std::int32_t{0}}});
    Box<C> b;
    b.ReadProperties(bag);
    EXPECT_EQ(b.box.Caption(), caption);
    EXPECT_EQ(b.box.Style(), style);
    EXPECT_EQ(b.caption().Caption(), caption);
    check(b);
}

TEST(Boxes, SaveAndRestore) {
    // vltBox: the top left slice of the restored skin and the caption at the design size.
    struct BoxCase { const char* caption; std::int32_t style; const char* topLeft; float left, top; Colour colour; };
    const BoxCase boxes[] = {
        {"vltBox", 0, "res:101", 1177.5f, 1485 - 315 + 45, kHighlight},
        {"Exam", 5, "res:SB_TOP_1", 1267.5f, 540 - 195 - 45, kWhite},
        {"Exam", 10, "res:101", 1267.5f, 1485 - 315 + 45, kHighlight},
    };
    for (const BoxCase& c : boxes)
        roundTrip<vltBox>(c.caption, c.style, "vltBox", [&](Box<vltBox>& b) {
            EXPECT_EQ(b.shown()[0], c.topLeft);
            EXPECT_EQ(b.caption().Left(), c.left);
            EXPECT_EQ(b.caption().Top(), c.top);
            EXPECT_EQ(b.caption().ForeColor(), c.colour);
        });
    const std::pair<const char*, std::int32_t> rows[] = {{"vltBox", 0}, {"Question 7", 3}, {"Next", 5}, {"None", 10}};
    const char* const firstButton[] = {"res:111", "res:154", "res:SB_FIRST_NORMAL", "res:111"};
    for (int i = 0; i < 4; ++i)
        roundTrip<vltSwitch>(rows[i].first, rows[i].second, "vltBox",
                             [&](Box<vltSwitch>& b) { EXPECT_EQ(b.buttons().at(0), firstButton[i]); });
    for (const auto& row : {std::pair{"vltZoomBox", 0}, {"Figure 3", 5}, {"None", 7}})
        roundTrip<vltZoomBox>(row.first, row.second, "vltZoomBox", [&](Box<vltZoomBox>& b) {
            EXPECT_EQ(b.surface().Height(), row.second == 0 ? 1485 : 1595);
        });
    for (const auto& [caption, style] : {std::pair{"ScrollBox", 0}, {"Passage", 4}, {"None", -3}})
        roundTrip<ScrollBox>(caption, style, "ScrollBox");

    // An empty store gives the defaults; Initialize and ReadProperties each load the skin.
    Box<vltBox> b;
    b.ReadProperties(PropertyBag{});
    EXPECT_EQ(b.box.Caption(), "vltBox");
    EXPECT_EQ(b.box.Style(), 0);
    EXPECT_EQ(b.caption().Left(), 1177.5f);
    EXPECT_EQ(b.resourceLoads(), 18);
    Box<vltSwitch> sw;
    sw.InitProperties();
    EXPECT_EQ(sw.caption().Caption(), "vltBox");
    EXPECT_EQ(sw.caption().Left(), 2895 / 2.0f - 270);
    Box<vltZoomBox> zoom;
    zoom.InitProperties();
    EXPECT_EQ(zoom.caption().Caption(), "");
}

TEST(vltInfoBox, SavesAndRestores) {
    struct Case {
        const char* caption;
        const char* info;  // nullptr: never set
        std::int32_t style, backStyle;
        const char* topLeft;
        float infoTop;
        Colour infoColour;
        int slicesShown;
    };
    const Case cases[] = {
        {"vltInfoBox", nullptr, 0, 1, "res:101", 120, kHighlight, 9},
        {"Exam", "Read every question", 4, 0, "res:175", 465, kHighlight, 0},
        {"Answer", "x", 1, 7, "res:119", 120, kWhite, 9},
        {"", "", 5, 1, "res:101", 120, kHighlight, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.caption) + " " + std::to_string(c.style) + " " + std::to_string(c.backStyle));
        const std::string info = c.info != nullptr ? c.info : "";
        PropertyBag bag;
        {
            Box<vltInfoBox> saved;
            saved.InitProperties();
            saved.box.Caption(c.caption);
            if (c.info != nullptr) saved.box.Info(c.info);
            saved.box.Style(c.style);
            saved.box.BackStyle(c.backStyle);
            saved.WriteProperties(bag);
        }
        testing::expectWrites(bag, {
                                       {"Caption", c.caption, "vltInfoBox"},
                                       {"Info", info, "infomation"},
                                       {"Style", c.style, std::int32_t{0}},
                                       {"BackStyle", c.backStyle, std::int32_t{1}},
                                   });

        Box<vltInfoBox> b;
        b.ReadProperties(bag);
        EXPECT_EQ(b.box.Caption(), c.caption);
        EXPECT_EQ(b.box.Info(), info);
        EXPECT_EQ(b.box.Style(), c.style);
        EXPECT_EQ(b.box.BackStyle(), c.backStyle);
        EXPECT_EQ(b.caption().Caption(), c.caption);
        EXPECT_EQ(b.info().Caption(), info);
        EXPECT_EQ(b.shown()[0], c.topLeft);
        EXPECT_EQ(b.info().Top(), c.infoTop);
        EXPECT_EQ(b.info().ForeColor(), c.infoColour);
        EXPECT_EQ(b.slicesShown(), c.slicesShown);
        EXPECT_EQ(b.surface().BackStyle(), 0);
    }
    // An empty store gives the defaults, the information text included.
    Box<vltInfoBox> b;
    b.ReadProperties(PropertyBag{});
    EXPECT_EQ(b.box.Caption(), "vltInfoBox");
    EXPECT_EQ(b.box.Info(), "infomation");
    EXPECT_EQ(b.info().bounds(), (RectF{150, 120, 900, 195}));
    EXPECT_EQ(b.caption().bounds(), (RectF{997.5f, 1215, 900, 195}));
    EXPECT_EQ(b.box.BackStyle(), 1);
    EXPECT_EQ(b.slicesShown(), 9);
    EXPECT_EQ(b.surface().BackStyle(), 0);
    EXPECT_EQ(b.resourceLoads(), 18);
}

}  // namespace
}  // namespace talvik
