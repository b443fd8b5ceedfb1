// vltInfoBox as a host sees it: where its two texts go in each skin, what its back style
// hides, and what it saves and restores. Text sizes
// follow the headless measurement: 90 twips a character, 195 high.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "boxes/vltInfoBox.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik {
using namespace controls;
namespace {

constexpr Colour kWhite = 0x00FFFFFF;

// A box created and initialized in the headless host.
struct InfoBox : HeadlessHost {
    vltInfoBox& box = static_cast<vltInfoBox&>(*control());
    InfoBox() : HeadlessHost(vltInfoBox::Class) { Initialize(); }
    Label caption() { return label("Label1"); }
    Label info() { return label("Label2"); }
    // Slices numbered 0 to 8, top row to bottom row, left to right.
    Image slice(int k) { return images("Image" + std::to_string(k / 3 + 1))(k % 3); }
    std::string shown(int k) { return slice(k).picture().empty() ? "" : slice(k).picture().bitmap()->origin; }
    int slicesShown() {
        int n = 0;
        for (int k = 0; k < 9; ++k) n += slice(k).Visible();
        return n;
    }
};

TEST(vltInfoBox, NewInstance) {
    InfoBox b;
    // Initialize: the Office2007box skin, an empty caption, the information label as designed.
    EXPECT_EQ(b.shown(0), "res:101");
    EXPECT_EQ(b.caption().Caption(), "");
    EXPECT_EQ(b.info().Caption(), "Label2");
    EXPECT_EQ(b.info().bounds(), (RectF{150, 120, 540, 195}));
    EXPECT_EQ(b.box.BackStyle(), 1);
    EXPECT_EQ(b.surface().BackStyle(), 1);
    EXPECT_EQ(b.slicesShown(), 9);

    b.InitProperties();
    EXPECT_EQ(b.box.Caption(), "vltInfoBox");
    EXPECT_EQ(b.box.Info(), "");
    EXPECT_EQ(b.box.Style(), 0);
    EXPECT_EQ(b.caption().Left(), 1447.5f);  // the empty caption centred in 2895
    b.call([&] { b.box.Resize(); });
    EXPECT_EQ(b.caption().Caption(), "vltInfoBox");
    EXPECT_EQ(b.caption().Left(), 1447.5f - 450);
    EXPECT_EQ(b.caption().Top(), 1485 - 315 + 45);
    EXPECT_EQ(b.info().Caption(), "Label2");
    EXPECT_EQ(b.info().bounds(), (RectF{150, 120, 540, 195}));
    EXPECT_EQ(b.surface().BackStyle(), 1);
}

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
        {{2}, "res:139", 1000 - 450 + 45, 120, kHighlight, kHighlight, 450},
        {{3}, "res:130", 1000 - 450 + 45, 120, kHighlight, kHighlight, 450},
        {{4}, "res:193", 1000 - 360 + 45, 465, kWhite, kHighlight, 360},
        {{4, 2}, "res:139", 1000 - 450 + 45, 465, kWhite, kHighlight, 450},
        {{1, 2}, "res:139", 1000 - 450 + 45, 120, kWhite, kWhite, 450},
        {{1, 4}, "res:193", 1000 - 360 + 45, 465, kWhite, kWhite, 360},
        // No FireFox skin in this box: the skin before stays, the caption in the bottom row.
        {{5}, "res:103", 1000 - 315 + 45, 120, kHighlight, kHighlight, 315},
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
            InfoBox b;
            b.InitProperties();
            if (resizeFirst) b.resizeTo(3000, 1000);
            for (std::int32_t s : c.styles) b.box.Style(s);
            if (!resizeFirst) b.resizeTo(3000, 1000);
            EXPECT_EQ(b.box.Style(), c.styles.back());
            EXPECT_EQ(b.shown(2), c.rightTop);
            EXPECT_EQ(b.caption().bounds(), (RectF{1050, c.captionTop, 900, 195}));
            EXPECT_EQ(b.info().bounds(), (RectF{150, c.infoTop, 540, 195}));
            EXPECT_EQ(b.caption().ForeColor(), c.caption);
            EXPECT_EQ(b.info().ForeColor(), c.info);
            EXPECT_EQ(b.box.BottomHeight(), c.bottomHeight);
        }
    }
}

TEST(vltInfoBox, InfoAndCaptionTexts) {
    InfoBox b;
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
    InfoBox b;
    b.InitProperties();
    b.box.Style(2);
    const int loads = b.resourceLoads();
    float width = 3000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        b.box.BackStyle(c.value);
        EXPECT_EQ(b.box.BackStyle(), c.value);
        EXPECT_EQ(b.slicesShown(), c.slicesShown);
        EXPECT_EQ(b.surface().BackStyle(), 0);  // transparent for every value
        // Hidden slices keep their pictures and are still laid out.
        b.resizeTo(width, 1000);
        EXPECT_EQ(b.shown(7), "res:144");
        EXPECT_EQ(b.slice(8).bounds(), (RectF{width - 450, 550, 450, 450}));
        EXPECT_EQ(b.box.BottomHeight(), 450);
        EXPECT_EQ(b.caption().Top(), 550 + 45);
        width += 100;
    }
    EXPECT_EQ(b.resourceLoads(), loads);
    // A new skin while hidden stays hidden.
    b.box.BackStyle(0);
    b.box.Style(1);
    EXPECT_EQ(b.slicesShown(), 0);
    EXPECT_EQ(b.shown(0), "res:119");
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
            InfoBox saved;
            saved.InitProperties();
            saved.box.Caption(c.caption);
            if (c.info != nullptr) saved.box.Info(c.info);
            saved.box.Style(c.style);
            saved.box.BackStyle(c.backStyle);
            saved.WriteProperties(bag);
        }
        const std::vector<std::pair<std::string, std::pair<Variant, Variant>>> written = {
            {"Caption", {c.caption, "vltInfoBox"}},
            {"Info", {info, "infomation"}},
            {"Style", {c.style, std::int32_t{0}}},
            {"BackStyle", {c.backStyle, std::int32_t{1}}},
        };
        ASSERT_EQ(bag.writes().size(), written.size());
        for (std::size_t i = 0; i < written.size(); ++i) {
            SCOPED_TRACE(written[i].first);
            EXPECT_EQ(bag.writes()[i].key, written[i].first);
            EXPECT_EQ(bag.writes()[i].value, written[i].second.first);
            EXPECT_EQ(bag.writes()[i].defaultValue, written[i].second.second);
        }

        InfoBox b;
        b.ReadProperties(bag);
        EXPECT_EQ(b.box.Caption(), c.caption);
        EXPECT_EQ(b.box.Info(), info);
        EXPECT_EQ(b.box.Style(), c.style);
        EXPECT_EQ(b.box.BackStyle(), c.backStyle);
        EXPECT_EQ(b.caption().Caption(), c.caption);
        EXPECT_EQ(b.info().Caption(), info);
        EXPECT_EQ(b.shown(0), c.topLeft);
        EXPECT_EQ(b.info().Top(), c.infoTop);
        EXPECT_EQ(b.info().ForeColor(), c.infoColour);
        EXPECT_EQ(b.slicesShown(), c.slicesShown);
        EXPECT_EQ(b.surface().BackStyle(), 0);
    }
    // An empty store gives the defaults, the information text included.
    InfoBox b;
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
