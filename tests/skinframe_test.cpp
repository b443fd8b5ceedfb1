// The nine-slice frame the boxes share, seen through vltBox: slice rectangles and caption
// positions worked out by hand from the bitmap sizes of the six skins, styles without a
// skin, the caption colour, the bottom row's height, bitmap loads and failed loads.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "boxes/vltBox.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik {
namespace {

struct Box {
    HeadlessHost host{vltBox::Class};
    vltBox& box;
    Box() : box(static_cast<vltBox&>(*host.control())) { host.Initialize(); }
    Image& slice(int row, int i) { return host.images("Image" + std::to_string(row))(i); }
    Label& caption() { return host.label("Label1"); }
    // The resource each slice shows, top row to bottom row, left to right.
    std::array<std::string, 9> shown() {
        std::array<std::string, 9> names;
        for (int row = 1; row <= 3; ++row)
            for (int i = 0; i < 3; ++i) {
                const Picture& p = slice(row, i).picture();
                names[std::size_t((row - 1) * 3 + i)] = p.empty() ? "" : p.bitmap()->origin;
            }
        return names;
    }
};

using Skin = std::array<std::string, 9>;
// The skins by style, top row, middle row, bottom row, as the resources store their names.
const Skin kSkins[] = {
    {"res:101", "res:102", "res:103", "res:104", "res:105", "res:106", "res:107", "res:108", "res:109"},
    {"res:119", "res:120", "res:121", "res:122", "res:123", "res:124", "res:125", "res:126", "res:127"},
    {"res:137", "res:138", "res:139", "res:140", "res:141", "res:142", "res:143", "res:144", "res:145"},
    {"res:128", "res:129", "res:130", "res:131", "res:132", "res:133", "res:134", "res:135", "res:136"},
    {"res:175", "res:176", "res:194", "res:178", "res:179", "res:180", "res:181", "res:182", "res:183"},
    {"res:SB_TOP_1", "res:SB_TOP_2", "res:SB_TOP_3", "res:SB_MID_1", "res:SB_MID_2", "res:SB_MID_3",
     "res:SB_BOTTOM_1", "res:SB_BOTTOM_2", "res:SB_BOTTOM_3"},
};

constexpr Colour kWhite = 0x00FFFFFF;

TEST(SkinFrame, SlicesOfEveryStyleAtSeveralSizes) {
    struct Case {
        std::int32_t style;
        float width, height;
        // Image1(0..2), Image2(0..2), Image3(0..2): left, top, width, height.
        std::array<RectF, 9> slices;
    };
    // Corners take their bitmap's size at 15 twips a pixel; the middle row's side columns
    // take the top corners' widths; a box narrower than its corners gets a middle slice
    // 0 wide, and one lower than its top and bottom rows a middle row 1 high.
    const Case cases[] = {
        {0, 3000, 1000, {{{0, 0, 45, 45}, {45, 0, 2910, 45}, {2955, 0, 45, 45}, {0, 45, 45, 640}, {45, 45, 2910, 640}, {2955, 45, 45, 640}, {0, 685, 45, 315}, {45, 685, 2910, 315}, {2955, 685, 45, 315}}}},
        {0, 2895, 1485, {{{0, 0, 45, 45}, {45, 0, 2805, 45}, {2850, 0, 45, 45}, {0, 45, 45, 1125}, {45, 45, 2805, 1125}, {2850, 45, 45, 1125}, {0, 1170, 45, 315}, {45, 1170, 2805, 315}, {2850, 1170, 45, 315}}}},
        {0, 60, 300, {{{0, 0, 45, 45}, {45, 0, 0, 45}, {15, 0, 45, 45}, {0, 45, 45, 1}, {45, 45, 0, 1}, {15, 45, 45, 1}, {0, -15, 45, 315}, {45, -15, 0, 315}, {15, -15, 45, 315}}}},
        {1, 3000, 1000, {{{0, 0, 435, 315}, {435, 0, 2130, 315}, {2565, 0, 435, 315}, {0, 315, 435, 115}, {435, 315, 2130, 115}, {2565, 315, 435, 115}, {0, 430, 435, 570}, {435, 430, 2130, 570}, {2565, 430, 435, 570}}}},
        {1, 1000, 885, {{{0, 0, 435, 315}, {435, 0, 130, 315}, {565, 0, 435, 315}, {0, 315, 435, 0}, {435, 315, 130, 0}, {565, 315, 435, 0}, {0, 315, 435, 570}, {435, 315, 130, 570}, {565, 315, 435, 570}}}},
        {1, 600, 600, {{{0, 0, 435, 315}, {435, 0, 0, 315}, {165, 0, 435, 315}, {0, 315, 435, 1}, {435, 315, 0, 1}, {165, 315, 435, 1}, {0, 30, 435, 570}, {435, 30, 0, 570}, {165, 30, 435, 570}}}},
        {2, 2000, 900, {{{0, 0, 345, 270}, {345, 0, 1205, 270}, {1550, 0, 450, 270}, {0, 270, 345, 180}, {345, 270, 1205, 180}, {1550, 270, 450, 180}, {0, 450, 345, 450}, {345, 450, 1205, 450}, {1550, 450, 450, 450}}}},
        {2, 700, 500, {{{0, 0, 345, 270}, {345, 0, 0, 270}, {250, 0, 450, 270}, {0, 270, 345, 1}, {345, 270, 0, 1}, {250, 270, 450, 1}, {0, 50, 345, 450}, {345, 50, 0, 450}, {250, 50, 450, 450}}}},
        {3, 2500, 1200, {{{0, 0, 360, 300}, {360, 0, 1750, 300}, {2110, 0, 390, 300}, {0, 300, 360, 450}, {360, 300, 1750, 450}, {2110, 300, 390, 450}, {0, 750, 360, 450}, {360, 750, 1750, 450}, {2110, 750, 390, 450}}}},
        {3, 500, 800, {{{0, 0, 360, 300}, {360, 0, 0, 300}, {110, 0, 390, 300}, {0, 300, 360, 50}, {360, 300, 0, 50}, {110, 300, 390, 50}, {0, 350, 360, 450}, {360, 350, 0, 450}, {110, 350, 390, 450}}}},
        {4, 3000, 1500, {{{0, 0, 120, 435}, {120, 0, 1725, 435}, {1845, 0, 1155, 435}, {0, 435, 120, 705}, {120, 435, 1725, 705}, {1845, 435, 1155, 705}, {0, 1140, 165, 360}, {165, 1140, 2700, 360}, {2865, 1140, 135, 360}}}},
        // Narrower than the top corners but not the bottom ones.
        {4, 1200, 700, {{{0, 0, 120, 435}, {120, 0, 0, 435}, {45, 0, 1155, 435}, {0, 435, 120, 1}, {120, 435, 0, 1}, {45, 435, 1155, 1}, {0, 340, 165, 360}, {165, 340, 900, 360}, {1065, 340, 135, 360}}}},
        {5, 3000, 1000, {{{0, 0, 90, 540}, {90, 0, 1515, 540}, {1605, 0, 1395, 540}, {0, 540, 90, 310}, {90, 540, 1515, 310}, {1605, 540, 1395, 310}, {0, 850, 90, 150}, {90, 850, 1515, 150}, {1605, 850, 1395, 150}}}},
        {5, 1000, 600, {{{0, 0, 90, 540}, {90, 0, 0, 540}, {-395, 0, 1395, 540}, {0, 540, 90, 1}, {90, 540, 0, 1}, {-395, 540, 1395, 1}, {0, 450, 90, 150}, {90, 450, 0, 150}, {-395, 450, 1395, 150}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("style " + std::to_string(c.style) + " at " + std::to_string(int(c.width)) + " x " +
                     std::to_string(int(c.height)));
        Box b;
        b.box.Style(c.style);
        b.host.resizeTo(c.width, c.height);
        for (int k = 0; k < 9; ++k) {
            const Image& s = b.slice(k / 3 + 1, k % 3);
            SCOPED_TRACE(s.displayName());
            EXPECT_EQ(s.bounds(), c.slices[std::size_t(k)]);
            const bool corner = k == 0 || k == 2 || k == 6 || k == 8;
            EXPECT_EQ(s.Stretch(), !corner);
        }
        EXPECT_EQ(b.shown(), kSkins[c.style]);
    }
}

TEST(SkinFrame, CaptionPlacement) {
    struct Case {
        std::int32_t style;
        float width, height;
        std::string caption;
        float left, top;
    };
    // An 8.25-point caption is 90 twips a character wide and 195 high in the headless host.
    const Case cases[] = {
        {0, 2895, 1485, "vltBox", 1177.5f, 1215},  // 2895/2 - 540/2; bottom row at 1170, + 45
        {0, 2895, 1485, "Exam", 1267.5f, 1215},
        {1, 3000, 1000, "vltBox", 1230, 475},  // bottom row at 430
        {2, 2000, 900, "", 1000, 495},         // no text: 0 wide, centred on its left edge
        {4, 3000, 1500, "vltBox", 1230, 1185},
        {5, 3000, 1000, "vltBox", 1230, 300},  // top row 540 high: 540 - (195 + 45)
        {0, 540, 1485, "vltBox", 0, 1215},     // exactly as wide as the box
        {0, 2895, 1485, std::string(40, 'W'), 0, 1215},  // 3600 wide: starts at the left edge
        {5, 2895, 1485, std::string(40, 'W'), 0, 300},
        {3, 100, 400, "vltBox", 0, -5},  // bottom row starts above the top: 400 - 450
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("style " + std::to_string(c.style) + " caption \"" + c.caption + "\" at " +
                     std::to_string(int(c.width)));
        // Set before and after the resize: the label's Change places a new caption, and a
        // resize places it again for the new size.
        Box b;
        b.box.Style(c.style);
        b.box.Caption(c.caption);
        b.host.resizeTo(c.width, c.height);
        EXPECT_EQ(b.caption().Left(), c.left);
        EXPECT_EQ(b.caption().Top(), c.top);
        EXPECT_EQ(b.caption().Caption(), c.caption);

        Box a;
        a.host.resizeTo(c.width, c.height);
        a.box.Style(c.style);
        a.box.Caption(c.caption);
        EXPECT_EQ(a.caption().Left(), c.left);
        EXPECT_EQ(a.caption().Top(), c.top);
    }
}

TEST(SkinFrame, LabelChangeByTheHostPlacesTheCaption) {
    Box b;
    b.box.Caption("vltBox");
    b.caption().Move(7, 9);
    b.host.deliver({EventKind::Change, &b.caption()});
    EXPECT_EQ(b.caption().Left(), 1177.5f);
    EXPECT_EQ(b.caption().Top(), 1215);
    // A caption the host gives the label directly is placed too, but not stored.
    b.caption().Caption("Exam");
    EXPECT_EQ(b.caption().Left(), 1267.5f);
    EXPECT_EQ(b.box.Caption(), "vltBox");
}

TEST(SkinFrame, StylesWithoutASkinKeepPicturesAndColour) {
    struct Case {
        std::int32_t first, then;  // -1 for first: the box as created
        std::int32_t skinShown;
        bool white;
    };
    const Case cases[] = {
        {2, 10, 2, false}, {2, 6, 2, false},  {2, -1, 2, false}, {2, 9, 2, false},
        {2, 11, 2, false}, {-1, 10, 0, false}, {-1, 7, 0, false}, {5, 10, 5, true},
        {4, 6, 4, true},   {5, 1, 1, true},   {4, 0, 0, true},   {0, 3, 3, false},
        {1, 5, 5, true},   {3, 2, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + " then " + std::to_string(c.then));
        Box b;
        b.host.resizeTo(3000, 1000);
        if (c.first >= 0) b.box.Style(c.first);
        b.box.Style(c.then);
        EXPECT_EQ(b.box.Style(), c.then);
        EXPECT_EQ(b.shown(), kSkins[c.skinShown]);
        EXPECT_EQ(b.caption().ForeColor(), c.white ? kWhite : kHighlight);
    }
}

TEST(SkinFrame, StyleWithoutASkinStillLaysOut) {
    // Style 5 puts the caption in the top row; 10 keeps the FireFox pictures but the
    // caption goes back to the bottom row, and the slices follow a new size.
    Box b;
    b.host.resizeTo(3000, 1000);
    b.box.Caption("vltBox");
    b.box.Style(5);
    EXPECT_EQ(b.caption().Top(), 300);
    EXPECT_EQ(b.caption().ForeColor(), kWhite);
    b.host.resizeTo(2000, 1000);
    b.box.Style(10);
    EXPECT_EQ(b.shown(), kSkins[5]);
    EXPECT_EQ(b.caption().ForeColor(), kWhite);
    EXPECT_EQ(b.caption().Top(), 850 + 45);
    EXPECT_EQ(b.caption().Left(), 730);
    EXPECT_EQ(b.slice(1, 2).Left(), 2000 - 1395);
    EXPECT_EQ(b.slice(2, 1).Width(), 2000 - 1395 - 90);
}

TEST(SkinFrame, BottomHeightOfEveryStyle) {
    struct Case {
        std::int32_t style;
        std::int32_t height;
    };
    const Case cases[] = {{0, 315}, {1, 570}, {2, 450}, {3, 450}, {4, 360}, {5, 150}};
    for (const Case& c : cases) {
        SCOPED_TRACE("style " + std::to_string(c.style));
        Box b;
        b.box.Style(c.style);
        EXPECT_EQ(b.box.BottomHeight(), c.height);
        // Neither the size nor a style without a skin changes it.
        b.host.resizeTo(400, 300);
        b.box.Style(10);
        EXPECT_EQ(b.box.BottomHeight(), c.height);
    }
}

TEST(SkinFrame, OnlySkinChangesLoadBitmaps) {
    Box b;
    EXPECT_EQ(b.host.resourceLoads(), 9);  // Initialize loads the Office2007box skin
    b.host.InitProperties();
    for (int i = 0; i < 200; ++i) b.host.resizeTo(float(300 + 37 * i), float(200 + 23 * i));
    b.box.Caption("A caption");
    EXPECT_EQ(b.host.resourceLoads(), 9);
    b.box.Style(3);
    EXPECT_EQ(b.host.resourceLoads(), 18);
    b.box.Style(3);  // the same value reloads
    EXPECT_EQ(b.host.resourceLoads(), 27);
    b.box.Style(10);
    EXPECT_EQ(b.host.resourceLoads(), 27);
    for (int i = 0; i < 200; ++i) b.host.resizeTo(float(5000 - 19 * i), float(4000 - 11 * i));
    EXPECT_EQ(b.host.resourceLoads(), 27);
}

TEST(SkinFrame, FailedBitmapLeavesTheSlicesAlreadyAssigned) {
    struct Case {
        std::int32_t from, to;
        const char* failing;
        Skin shown;  // what the slices show afterwards
    };
    // Slices load top row, bottom row, middle row; the caption turns white only after all nine.
    const Case cases[] = {
        {0, 5, "SB_bottom_2",
         {"res:SB_TOP_1", "res:SB_TOP_2", "res:SB_TOP_3", "res:104", "res:105", "res:106", "res:SB_BOTTOM_1",
          "res:108", "res:109"}},
        {2, 4, "194",
         {"res:175", "res:176", "res:139", "res:140", "res:141", "res:142", "res:143", "res:144", "res:145"}},
        {1, 5, "SB_MID_3",
         {"res:SB_TOP_1", "res:SB_TOP_2", "res:SB_TOP_3", "res:SB_MID_1", "res:SB_MID_2", "res:124",
          "res:SB_BOTTOM_1", "res:SB_BOTTOM_2", "res:SB_BOTTOM_3"}},
        {0, 1, "119", kSkins[0]},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.failing) + " failing");
        Box b;
        b.host.resizeTo(3000, 1000);
        b.box.Style(c.from);
        const float rightTopLeft = b.slice(1, 2).Left();
        b.host.failResource(c.failing);
        try {
            b.box.Style(c.to);
            ADD_FAILURE() << "expected the load to fail";
        } catch (const HostError& e) {
            EXPECT_EQ(e.number, 5);
            EXPECT_EQ(e.description, "Injected fault");
        }
        EXPECT_EQ(b.box.Style(), c.to);
        EXPECT_EQ(b.shown(), c.shown);
        EXPECT_EQ(b.caption().ForeColor(), kHighlight);
        // The error ends the layout: nothing was moved after the failed load.
        EXPECT_EQ(b.slice(1, 2).Left(), rightTopLeft);

        b.host.unfailAll();
        b.box.Style(c.to);
        EXPECT_EQ(b.shown(), kSkins[c.to]);
    }
}


// A box as the later ones differ from vltBox: another right top slice, no skin for
// style 5, two labels turned white in other styles, no style 5 caption step, failing
// layout steps skipped. Its hooks note when they run and how many bitmaps were loaded.
constexpr WhiteLabel kProbeWhite[] = {{"Label1", {1, 4}}, {"Label2", {1}}};
constexpr BoxVariant kProbeVariant{
    .defaultCaption = "Probe",
    .rightTopOfStyle4 = 191,
    .lastSkinnedStyle = 4,
    .whiteLabels = kProbeWhite,
    .captionInTopRowForStyle5 = false,
    .arrangeErrors = OnStepError::SkipStep,
};

class ProbeBox : public SkinFrame {
public:
    static const ControlClass Class;
    static const ControlTemplate& Design() {
        static const ControlTemplate t = [] {
            ControlTemplate t = frameTemplate("ProbeBox");
            ElementSpec info;
            info.kind = ElementKind::Label;
            info.name = "Label2";
            info.foreColor = kHighlight;
            t.add(info);
            return t;
        }();
        return t;
    }
    static std::span<const MemberBinding> Members() { return {}; }
    explicit ProbeBox(ControlHost& h) : SkinFrame(h, kProbeVariant) {}

    std::vector<std::string> log;

protected:
    void SkinLoading() override { note("loading"); }
    void SkinLoaded(FrameSteps& step) override {
        note("loaded");
        step([] { err::invalidCall(); });  // skipped: the routine goes on
    }
    void ArrangeButtons(FrameSteps&) override { note("buttons"); }
    void PlaceTexts(FrameSteps& step) override {
        note("texts:" + Label1.Caption());
        SkinFrame::PlaceTexts(step);
    }
    void ArrangeFinished(FrameSteps&) override { note("finished"); }

private:
    void note(std::string what) {
        log.push_back(what + " " + std::to_string(static_cast<HeadlessHost&>(host()).resourceLoads()));
    }
};
const ControlClass ProbeBox::Class = controlClass<ProbeBox>("ProbeBox");

struct Probe {
    HeadlessHost host{ProbeBox::Class};
    ProbeBox& box;
    Probe() : box(static_cast<ProbeBox&>(*host.control())) { host.Initialize(); }
    std::string shown(int row, int i) {
        const Picture& p = host.images("Image" + std::to_string(row))(i).picture();
        return p.empty() ? "" : p.bitmap()->origin;
    }
};

TEST(SkinFrame, HooksRunAtTheirSteps) {
    Probe p;
    // Initialize: the skin between loading and loaded, the caption copied before the
    // texts are placed.
    EXPECT_EQ(p.box.log, (std::vector<std::string>{"loading 0", "loaded 9", "buttons 9", "texts: 9", "finished 9"}));
    p.box.log.clear();
    p.box.Caption("Probe");
    p.host.resizeTo(3000, 1000);
    EXPECT_EQ(p.box.log, (std::vector<std::string>{"buttons 9", "texts:Probe 9", "finished 9"}));
    p.box.log.clear();
    p.box.Style(10);  // no skin, but the hooks of a skin change still run
    EXPECT_EQ(p.box.log, (std::vector<std::string>{"loading 9", "loaded 9", "buttons 9", "texts:Probe 9", "finished 9"}));
}

TEST(SkinFrame, VariantOfAnotherBox) {
    struct Case {
        std::int32_t style;
        const char* rightTop;
        Colour label1, label2;
        float captionTop;  // at 3000 x 1000
    };
    const Case cases[] = {
        {1, "res:121", kWhite, kWhite, 430 + 45},
        {4, "res:191", kWhite, kHighlight, 1000 - 360 + 45},
        {2, "res:139", kHighlight, kHighlight, 1000 - 450 + 45},
        // No skin for style 5 here, and no caption in the top row.
        {5, "res:103", kHighlight, kHighlight, 1000 - 315 + 45},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("style " + std::to_string(c.style));
        Probe p;
        p.host.resizeTo(3000, 1000);
        p.box.Style(c.style);
        EXPECT_EQ(p.shown(1, 2), c.rightTop);
        EXPECT_EQ(p.host.label("Label1").ForeColor(), c.label1);
        EXPECT_EQ(p.host.label("Label2").ForeColor(), c.label2);
        EXPECT_EQ(p.host.label("Label1").Top(), c.captionTop);
    }
}

TEST(SkinFrame, SkippedStepsLetTheLayoutGoOn) {
    Probe p;
    p.host.resizeTo(3000, 1000);
    p.box.Caption("Probe");
    p.host.failResource("120");
    p.box.log.clear();
    EXPECT_NO_THROW(p.box.Style(1));
    // The skin stopped at its second slice; everything after it was still laid out.
    EXPECT_EQ(p.shown(1, 0), "res:119");
    EXPECT_EQ(p.shown(1, 1), "res:102");
    EXPECT_EQ(p.shown(3, 0), "res:107");
    EXPECT_EQ(p.box.log, (std::vector<std::string>{"loading 9", "loaded 10", "buttons 10", "texts:Probe 10", "finished 10"}));
    EXPECT_EQ(p.host.images("Image1")(1).Left(), 435);
    EXPECT_EQ(p.host.images("Image1")(1).Height(), 315);
    EXPECT_EQ(p.host.images("Image2")(0).Top(), 315);
    EXPECT_EQ(p.host.label("Label1").Top(), 1000 - 315 + 45);
    EXPECT_EQ(p.host.label("Label1").ForeColor(), kHighlight);
}

}  // namespace
}  // namespace talvik
