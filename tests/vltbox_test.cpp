// vltBox as a host sees it: its lifecycle from creation to the first Resize, its
// persistence, and a script of the test container.
#include <gtest/gtest.h>

#include <string>

#include "boxes/vltBox.h"
#include "RunContainer.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik {
using namespace controls;
namespace {

constexpr Colour kWhite = 0x00FFFFFF;

struct Box {
    HeadlessHost host{vltBox::Class};
    vltBox& box;
    Box() : box(static_cast<vltBox&>(*host.control())) { host.Initialize(); }
    Label caption() { return host.label("Label1"); }
    std::string shown(int row, int i) {
        const Picture& p = host.images("Image" + std::to_string(row))(i).picture();
        return p.empty() ? "" : p.bitmap()->origin;
    }
};

TEST(vltBox, NewInstanceShowsItsCaptionAfterTheFirstResize) {
    Box b;
    // Initialize: the Office2007box skin at the design size, the still empty caption.
    EXPECT_EQ(b.shown(1, 0), "res:101");
    EXPECT_EQ(b.caption().Caption(), "");
    b.host.InitProperties();
    EXPECT_EQ(b.box.Caption(), "vltBox");
    EXPECT_EQ(b.caption().Caption(), "");  // until the frame is laid out again
    EXPECT_EQ(b.caption().Left(), 1447.5f);
    b.host.call([&] { b.box.Resize(); });
    EXPECT_EQ(b.caption().Caption(), "vltBox");
    EXPECT_EQ(b.caption().Left(), 1177.5f);
    EXPECT_EQ(b.caption().Top(), 1485 - 315 + 45);
    EXPECT_EQ(b.caption().ForeColor(), kHighlight);
}

TEST(vltBox, SavesAndRestores) {
    struct Case {
        const char* caption;
        std::int32_t style;
        const char* topLeft;
        float captionLeft, captionTop;
        Colour colour;
    };
    // The top left slice of the restored skin, and the caption at the design size, 2895 x 1485.
    const Case cases[] = {
        {"vltBox", 0, "res:101", 1177.5f, 1485 - 315 + 45, kHighlight},
        {"Answer sheet", 3, "res:128", 907.5f, 1485 - 450 + 45, kHighlight},
        {"Exam", 5, "res:SB_TOP_1", 1267.5f, 540 - 195 - 45, kWhite},
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
        ASSERT_EQ(bag.writes().size(), 2u);
        EXPECT_EQ(bag.writes()[0].key, "Caption");
        EXPECT_EQ(bag.writes()[0].value, Variant(c.caption));
        EXPECT_EQ(bag.writes()[0].defaultValue, Variant("vltBox"));
        EXPECT_EQ(bag.writes()[1].key, "Style");
        EXPECT_EQ(bag.writes()[1].value, Variant(c.style));
        EXPECT_EQ(bag.writes()[1].defaultValue, Variant(std::int32_t{0}));

        Box b;
        b.host.ReadProperties(bag);
        EXPECT_EQ(b.box.Caption(), c.caption);
        EXPECT_EQ(b.box.Style(), c.style);
        EXPECT_EQ(b.caption().Caption(), c.caption);
        EXPECT_EQ(b.shown(1, 0), c.topLeft);
        EXPECT_EQ(b.caption().Left(), c.captionLeft);
        EXPECT_EQ(b.caption().Top(), c.captionTop);
        EXPECT_EQ(b.caption().ForeColor(), c.colour);
    }
    // An empty store gives the defaults; Initialize and ReadProperties each load the skin.
    Box b;
    b.host.ReadProperties(PropertyBag{});
    EXPECT_EQ(b.box.Caption(), "vltBox");
    EXPECT_EQ(b.box.Style(), 0);
    EXPECT_EQ(b.caption().Caption(), "vltBox");
    EXPECT_EQ(b.caption().Left(), 1177.5f);
    EXPECT_EQ(b.host.resourceLoads(), 18);
}

#ifdef TALVIK_CONTAINER_PATH
// The whole output of the test container driving a vltBox through the library's entry
// points and dispatch.
TEST(vltBox, ThroughTheTestContainer) {
    const std::string out = testing::runContainer("vltbox", "new vltBox b\ninit b\nshow b\ndump b Label1\nset b Style 5\n"
                             "resize b 3000 1000\ndump b Label1 Image1(2)\ncall b BottomHeight\n"
                             "fail resource 123\nset b Style 1\nunfail\nget b Style\ndump b Image2(1)\n"
                             "write b\n");

    // Style 5 at 3000 x 1000: caption in the top row, 540 - (195 + 45); the middle row
    // 1000 - 150 - 540 high. Style 1 stops at its centre bitmap (loaded last but one),
    // and nothing is laid out after it.
    EXPECT_EQ(out,
        R"j({"line":1,"new":"b","class":"vltBox","width":2895,"height":1485}
{"line":4,"dump":"b","element":"Label1","kind":"label","Left":1177.5,"Top":1215,"Width":540,"Height":195,"Caption":"vltBox","ForeColor":2147483661,"Alignment":0,"FontSize":8.25,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":6,"resize":"b","width":3000,"height":1000}
{"line":7,"dump":"b","element":"Label1","kind":"label","Left":1230,"Top":300,"Width":540,"Height":195,"Caption":"vltBox","ForeColor":16777215,"Alignment":0,"FontSize":8.25,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":7,"dump":"b","element":"Image1(2)","kind":"image","Left":1605,"Top":0,"Width":1395,"Height":540,"Picture":"res:SB_TOP_3","Stretch":false,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":8,"call":"BottomHeight","value":150}
{"line":10,"error":{"number":5,"description":"Injected fault"}}
{"line":12,"get":"Style","value":1}
{"line":13,"dump":"b","element":"Image2(1)","kind":"image","Left":90,"Top":540,"Width":1515,"Height":310,"Picture":"res:SB_MID_2","Stretch":true,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":14,"write":"b","bag":[["Caption","vltBox","vltBox"],["Style",1,0]]}
)j");
}
#endif

}  // namespace
}  // namespace talvik
