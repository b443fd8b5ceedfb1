// vltBox as a host sees it: its design template, its lifecycle from creation to the first
// Resize, its members as a dispatch layer reaches them, and its persistence.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "boxes/vltBox.h"
#include "frame/Catalogue.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik {
namespace {

struct Box {
    HeadlessHost host{vltBox::Class};
    vltBox& box;
    Box() : box(static_cast<vltBox&>(*host.control())) { host.Initialize(); }
    Image& slice(int row, int i) { return host.images("Image" + std::to_string(row))(i); }
    Label& caption() { return host.label("Label1"); }
    std::string shown(int row, int i) {
        const Picture& p = slice(row, i).picture();
        return p.empty() ? "" : p.bitmap()->origin;
    }
    // The container shows the control: one Resize at the size it already has.
    void show() {
        host.call([&] { box.Resize(); });
    }
};

const MemberBinding& member(std::string_view name) {
    const auto members = vltBox::Members();
    const auto it = std::find_if(members.begin(), members.end(), [&](const MemberBinding& m) { return m.name == name; });
    if (it == members.end()) throw std::logic_error("no member " + std::string(name));
    return *it;
}

TEST(vltBox, TemplateBeforeInitialize) {
    HeadlessHost host{vltBox::Class};
    EXPECT_EQ(findControlClass("vltBox"), &vltBox::Class);
    EXPECT_EQ(host.surface().Width(), 2895);
    EXPECT_EQ(host.surface().Height(), 1485);
    EXPECT_EQ(host.surface().BackColor(), 0x00DAB08Eu);
    // Nine slices without pictures, then the caption above them.
    const auto& elements = host.elements();
    ASSERT_EQ(elements.size(), 10u);
    for (int k = 0; k < 9; ++k) {
        const auto& image = dynamic_cast<const Image&>(*elements[std::size_t(k)]);
        EXPECT_EQ(image.displayName(), "Image" + std::to_string(k / 3 + 1) + "(" + std::to_string(k % 3) + ")");
        EXPECT_TRUE(image.picture().empty());
        EXPECT_FALSE(image.Stretch());
    }
    const auto& label = dynamic_cast<const Label&>(*elements[9]);
    EXPECT_EQ(label.name(), "Label1");
    EXPECT_EQ(label.Caption(), "Label1");
    EXPECT_EQ(label.ForeColor(), 0x8000000Du);
    EXPECT_TRUE(label.transparent());
    EXPECT_TRUE(label.AutoSize());
    EXPECT_EQ(label.font(), (Font{"Veltrane Sans Serif", 8.25f, true, false}));
    EXPECT_EQ(label.Width(), 540);  // sizes itself: 6 characters of 90 twips
    EXPECT_EQ(label.Height(), 195);
}

TEST(vltBox, NewInstanceShowsItsCaptionAfterTheFirstResize) {
    Box b;
    // Initialize: the Office2007box skin at the design size, the empty caption.
    EXPECT_EQ(b.shown(1, 0), "res:101");
    EXPECT_EQ(b.shown(3, 2), "res:109");
    EXPECT_EQ(b.slice(3, 0).Top(), 1170);
    EXPECT_EQ(b.caption().Caption(), "");
    EXPECT_EQ(b.box.Style(), 0);
    EXPECT_EQ(b.box.Caption(), "");

    b.host.InitProperties();
    EXPECT_EQ(b.box.Caption(), "vltBox");
    EXPECT_EQ(b.caption().Caption(), "");  // until the frame is laid out again
    EXPECT_EQ(b.caption().Left(), 1447.5f);
    EXPECT_EQ(b.caption().Top(), 1215);

    b.show();
    EXPECT_EQ(b.caption().Caption(), "vltBox");
    EXPECT_EQ(b.caption().Left(), 1177.5f);
    EXPECT_EQ(b.caption().Top(), 1215);
    EXPECT_EQ(b.caption().ForeColor(), kHighlight);
}

TEST(vltBox, MembersInTypeDescriptionOrder) {
    const auto members = vltBox::Members();
    ASSERT_EQ(members.size(), 3u);
    EXPECT_EQ(members[0].name, "BottomHeight");
    EXPECT_TRUE(members[0].isMethod);
    EXPECT_EQ(members[0].let, nullptr);
    EXPECT_EQ(members[1].name, "Style");
    EXPECT_EQ(members[2].name, "Caption");
    EXPECT_FALSE(members[1].isMethod);
    EXPECT_FALSE(members[2].isMethod);

    struct Case {
        Variant style;
        std::int32_t stored, bottom;
    };
    // Values reach the property converted to a 32-bit integer; any value is kept.
    const Case cases[] = {{std::int32_t{1}, 1, 570}, {std::int16_t{5}, 5, 150}, {"4", 4, 360},
                          {2.5, 2, 450},             {10, 10, 315},          {-7, -7, 315}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style.toString());
        Box b;
        member("Style").let(b.box, c.style);
        EXPECT_EQ(member("Style").get(b.box), Variant(c.stored));
        EXPECT_EQ(member("BottomHeight").get(b.box), Variant(c.bottom));
        member("Caption").let(b.box, Variant("Answers"));
        EXPECT_EQ(member("Caption").get(b.box), Variant("Answers"));
        EXPECT_EQ(b.caption().Caption(), "Answers");
    }
    Box b;
    try {
        member("Style").let(b.box, Variant("abc"));
        ADD_FAILURE() << "expected a type mismatch";
    } catch (const HostError& e) {
        EXPECT_EQ(e.number, 13);
    }
}

TEST(vltBox, WritesCaptionThenStyleWithTheirDefaults) {
    struct Case {
        const char* caption;
        std::int32_t style;
    };
    const Case cases[] = {{"vltBox", 0}, {"Answer sheet", 3}, {"", 10}, {"Ky thi", -2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        Box b;
        b.host.InitProperties();
        b.box.Caption(c.caption);
        b.box.Style(c.style);
        PropertyBag bag;
        b.host.WriteProperties(bag);
        ASSERT_EQ(bag.writes().size(), 2u);
        EXPECT_EQ(bag.writes()[0].key, "Caption");
        EXPECT_EQ(bag.writes()[0].value, Variant(c.caption));
        EXPECT_EQ(bag.writes()[0].defaultValue, Variant("vltBox"));
        EXPECT_EQ(bag.writes()[1].key, "Style");
        EXPECT_EQ(bag.writes()[1].value, Variant(c.style));
        EXPECT_EQ(bag.writes()[1].defaultValue, Variant(std::int32_t{0}));
    }
}

TEST(vltBox, RestoresWhatItSaved) {
    struct Case {
        const char* caption;
        std::int32_t style;
        const char* topLeft;  // the top left slice of the restored skin
        float captionLeft, captionTop;  // at the design size, 2895 x 1485
        Colour colour;
    };
    const Case cases[] = {
        {"vltBox", 0, "res:101", 1177.5f, 1485 - 315 + 45, kHighlight},
        {"Answer sheet", 3, "res:128", 907.5f, 1485 - 450 + 45, kHighlight},
        {"Exam", 5, "res:SB_TOP_1", 1267.5f, 540 - 195 - 45, 0x00FFFFFF},
        {"Exam", 10, "res:101", 1267.5f, 1485 - 315 + 45, kHighlight},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.caption) + " " + std::to_string(c.style));
        PropertyBag bag;
        {
            Box saved;
            saved.host.InitProperties();
            saved.box.Caption(c.caption);
            saved.box.Style(c.style);
            saved.host.WriteProperties(bag);
        }
        Box b;
        b.host.ReadProperties(bag);
        EXPECT_EQ(b.box.Caption(), c.caption);
        EXPECT_EQ(b.box.Style(), c.style);
        EXPECT_EQ(b.caption().Caption(), c.caption);
        EXPECT_EQ(b.shown(1, 0), c.topLeft);
        EXPECT_EQ(b.caption().Top(), c.captionTop);
        EXPECT_EQ(b.caption().Left(), c.captionLeft);
        EXPECT_EQ(b.caption().ForeColor(), c.colour);
    }
}

TEST(vltBox, ReadingAnEmptyStoreGivesTheDefaults) {
    Box b;
    b.host.ReadProperties(PropertyBag{});
    EXPECT_EQ(b.box.Caption(), "vltBox");
    EXPECT_EQ(b.box.Style(), 0);
    EXPECT_EQ(b.caption().Caption(), "vltBox");
    EXPECT_EQ(b.caption().Left(), 1177.5f);
    EXPECT_EQ(b.caption().Top(), 1215);
    EXPECT_EQ(b.host.resourceLoads(), 18);  // Initialize and ReadProperties each load the skin
}

TEST(vltBox, StoredStyleThatIsNoInteger) {
    struct Case {
        Variant style;
        std::int32_t error;
    };
    const Case cases[] = {{"abc", 13}, {"", 13}, {1e12, 6}, {"3000000000", 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style.toString());
        Box b;
        try {
            b.host.ReadProperties(PropertyBag{{"Caption", "Kept"}, {"Style", c.style}});
            ADD_FAILURE() << "expected error " << c.error;
        } catch (const HostError& e) {
            EXPECT_EQ(e.number, c.error);
        }
        // The caption read before the style stays; nothing was laid out or loaded again.
        EXPECT_EQ(b.box.Caption(), "Kept");
        EXPECT_EQ(b.box.Style(), 0);
        EXPECT_EQ(b.caption().Caption(), "");
        EXPECT_EQ(b.host.resourceLoads(), 9);
    }
    // A style stored as text that reads as a number is taken.
    Box b;
    b.host.ReadProperties(PropertyBag{{"Style", "2"}});
    EXPECT_EQ(b.box.Style(), 2);
    EXPECT_EQ(b.shown(3, 1), "res:144");
}

TEST(vltBox, CreatedByNameFromTheCatalogue) {
    const ControlClass* cls = findControlClass("vltBox");
    ASSERT_NE(cls, nullptr);
    HeadlessHost host{*cls};
    host.Initialize();
    host.InitProperties();
    host.resizeTo(4000, 2000);
    EXPECT_EQ(host.label("Label1").Caption(), "vltBox");
    EXPECT_EQ(host.images("Image3")(1).Width(), 4000 - 90);
}


#ifdef TALVIK_CONTAINER_PATH
// The whole output of the test container driving a vltBox through the library's entry
// points and dispatch.
TEST(vltBox, ThroughTheTestContainer) {
    const std::filesystem::path script =
        std::filesystem::path(::testing::TempDir()) / ("vltbox-" + std::to_string(::getpid()) + ".txt");
    std::ofstream(script) << "new vltBox b\ninit b\nshow b\ndump b Label1\nset b Style 5\n"
                             "resize b 3000 1000\ndump b Label1 Image1(2)\ncall b BottomHeight\n"
                             "fail resource 123\nset b Style 1\nunfail\nget b Style\ndump b Image2(1)\n"
                             "write b\n";
    const std::string command = std::string(TALVIK_CONTAINER_PATH) + " '" + script.string() + "'";
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, n);
    EXPECT_EQ(::pclose(pipe), 0);
    std::filesystem::remove(script);

    // Style 5 at 3000 x 1000: caption in the top row, 540 - (195 + 45); the middle row
    // 1000 - 150 - 540 high. Style 1 stops at its centre bitmap (loaded last but one),
    // and nothing is laid out after it.
    const char* const expected[] = {
        R"j({"line":1,"new":"b","class":"vltBox","width":2895,"height":1485})j",
        R"j({"line":4,"dump":"b","element":"Label1","kind":"label","Left":1177.5,"Top":1215,"Width":540,"Height":195,"Caption":"vltBox","ForeColor":2147483661,"Alignment":0,"FontSize":8.25,"Visible":true,"Enabled":true,"ToolTipText":""})j",
        R"j({"line":6,"resize":"b","width":3000,"height":1000})j",
        R"j({"line":7,"dump":"b","element":"Label1","kind":"label","Left":1230,"Top":300,"Width":540,"Height":195,"Caption":"vltBox","ForeColor":16777215,"Alignment":0,"FontSize":8.25,"Visible":true,"Enabled":true,"ToolTipText":""})j",
        R"j({"line":7,"dump":"b","element":"Image1(2)","kind":"image","Left":1605,"Top":0,"Width":1395,"Height":540,"Picture":"res:SB_TOP_3","Stretch":false,"Visible":true,"Enabled":true,"ToolTipText":""})j",
        R"j({"line":8,"call":"BottomHeight","value":150})j",
        R"j({"line":10,"error":{"number":5,"description":"Injected fault"}})j",
        R"j({"line":12,"get":"Style","value":1})j",
        R"j({"line":13,"dump":"b","element":"Image2(1)","kind":"image","Left":90,"Top":540,"Width":1515,"Height":310,"Picture":"res:SB_MID_2","Stretch":true,"Visible":true,"Enabled":true,"ToolTipText":""})j",
        R"j({"line":14,"write":"b","bag":[["Caption","vltBox","vltBox"],["Style",1,0]]})j",
    };
    std::string whole;
    for (const char* line : expected) (whole += line) += '\n';
    EXPECT_EQ(out, whole);
}
#endif

}  // namespace
}  // namespace talvik
