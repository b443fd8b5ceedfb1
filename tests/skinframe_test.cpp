// The nine-slice frame the boxes share, seen through vltBox and through a probe box that
// departs from it as the other boxes do: slice rectangles and caption positions worked out
// by hand from the bitmap sizes of the six skins, styles without a skin, the caption
// colour, bitmap loads and failed loads.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "boxes/vltBox.h"
#include "hosts/headless/HeadlessHost.h"
#include "resources/Resources.h"

namespace talvik {
using namespace controls;
namespace {

using Skin = std::array<std::string, 9>;

template <class C>
struct Shown {
    HeadlessHost host{C::Class};
    C& box;
    Shown() : box(static_cast<C&>(*host.control())) { host.Initialize(); }
    Image slice(int row, int i) { return host.images("Image" + std::to_string(row))(i); }
    Label caption() { return host.label("Label1"); }
    // The resource each slice shows, top row to bottom row, left to right.
    Skin shown() {
        Skin names;
        for (int k = 0; k < 9; ++k) {
            const Picture& p = slice(k / 3 + 1, k % 3).picture();
            names[std::size_t(k)] = p.empty() ? "" : p.bitmap()->origin;
        }
        return names;
    }
};
using Box = Shown<vltBox>;

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

constexpr Colour kWhite = 0x00FFFFFF;

std::string sizeName(std::int32_t style, float w, float h) {
    return "style " + std::to_string(style) + " at " + std::to_string(int(w)) + " x " + std::to_string(int(h));
}

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
        Box b;
        b.box.Style(c.style);
        b.host.resizeTo(c.width, c.height);
        for (int k = 0; k < 9; ++k) {
            const Image s = b.slice(k / 3 + 1, k % 3);
            SCOPED_TRACE(s.displayName());
            EXPECT_EQ(s.bounds(), c.slices[std::size_t(k)]);
            EXPECT_EQ(s.Stretch(), k != 0 && k != 2 && k != 6 && k != 8);
        }
        EXPECT_EQ(b.shown(), kSkins[c.style]);
        EXPECT_EQ(b.box.BottomHeight(), c.slices[6].height);
    }
}

TEST(SkinFrame, CaptionPlacement) {
    struct Case { std::int32_t style; float width, height; std::string caption; float left, top; };
    // An 8.25-point caption is 90 twips a character wide and 195 high in the headless host.
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
            Box b;
            if (path > 0) b.host.resizeTo(c.width, c.height);
            b.box.Style(c.style);
            if (path < 2)
                b.box.Caption(c.caption);
            else
                b.caption().Caption(c.caption);
            if (path == 0) b.host.resizeTo(c.width, c.height);
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
        Box b;
        b.host.resizeTo(3000, 1000);
        b.box.Caption("vltBox");
        b.box.Style(c.first);
        b.box.Style(c.then);
        EXPECT_EQ(b.box.Style(), c.then);
        EXPECT_EQ(b.shown(), kSkins[c.skinShown]);
        EXPECT_EQ(b.caption().ForeColor(), c.white ? kWhite : kHighlight);
        EXPECT_EQ(b.caption().Top(), c.captionTop);
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
    b.box.Style(3);  // the same value reloads
    EXPECT_EQ(b.host.resourceLoads(), 27);
    b.box.Style(10);
    for (int i = 0; i < 200; ++i) b.host.resizeTo(float(5000 - 19 * i), float(4000 - 11 * i));
    EXPECT_EQ(b.host.resourceLoads(), 27);
}

// A box that departs from vltBox as the later ones do: another right top slice, no skin
// for style 5, two labels turned white in other styles, no style 5 caption step, failing
// layout steps skipped.
constexpr WhiteLabel kProbeWhite[] = {{"Label1", {1, 4}}, {"Label2", {1}}};
constexpr BoxVariant kProbeVariant{.defaultCaption = "Probe", .rightTopOfStyle4 = 191, .lastSkinnedStyle = 4,
                                   .whiteLabels = kProbeWhite, .captionInTopRowForStyle5 = false,
                                   .arrangeErrors = OnStepError::SkipStep};

class ProbeBox : public SkinFrame {
public:
    static const ControlClass Class;
    static const ControlTemplate& Design() {
        static const ControlTemplate t = [] {
            ControlTemplate t = frameTemplate();
            t.add({.kind = ElementKind::Label, .name = "Label2", .foreColor = kHighlight});
            return t;
        }();
        return t;
    }
    static std::span<const MemberBinding> Members() { return {}; }
    explicit ProbeBox(ControlHost& h) : SkinFrame(h, kProbeVariant) {}
};
const ControlClass ProbeBox::Class = controlClass<ProbeBox>("ProbeBox", {}, {}, &resources::kPictureFiles);
using Probe = Shown<ProbeBox>;

TEST(SkinFrame, AFailingStepIsSkippedInABoxThatSaysSo) {
    Probe p;
    p.host.resizeTo(3000, 1000);
    p.host.failResource("120");
    EXPECT_NO_THROW(p.box.Style(1));
    // The skin ends at its second slice; the rest is still laid out, the top edge up to
    // the old right corner, 45 twips wide.
    EXPECT_EQ(p.shown(), (Skin{"res:119", "res:102", "res:103", "res:104", "res:105", "res:106", "res:107",
                               "res:108", "res:109"}));
    EXPECT_EQ(p.slice(1, 1).bounds(), (RectF{435, 0, 2520, 315}));
    EXPECT_EQ(p.slice(2, 0).Top(), 315);
    EXPECT_EQ(p.caption().Top(), 1000 - 315 + 45);
    EXPECT_EQ(p.caption().ForeColor(), kHighlight);
}

TEST(SkinFrame, VariantOfAnotherBox) {
    struct Case { std::int32_t style; const char* rightTop; Colour label1, label2; float captionTop; };
    const Case cases[] = {
        {1, "res:121", kWhite, kWhite, 430 + 45},
        {4, "res:191", kWhite, kHighlight, 1000 - 360 + 45},
        {2, "res:139", kHighlight, kHighlight, 1000 - 450 + 45},
        {5, "res:103", kHighlight, kHighlight, 1000 - 315 + 45},  // no skin, no caption in the top row
    };
    for (const Case& c : cases) {  // at 3000 x 1000
        SCOPED_TRACE("style " + std::to_string(c.style));
        Probe p;
        p.host.resizeTo(3000, 1000);
        p.box.Style(c.style);
        EXPECT_EQ(p.shown()[2], c.rightTop);
        EXPECT_EQ(p.caption().ForeColor(), c.label1);
        EXPECT_EQ(p.host.label("Label2").ForeColor(), c.label2);
        EXPECT_EQ(p.caption().Top(), c.captionTop);
    }
}

}  // namespace
}  // namespace talvik
