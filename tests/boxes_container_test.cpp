// The four boxes through the test container, which reaches them only through the
// library's entry points and dispatch: the whole output of a script per box, worked out
// by hand from the boxes' layout rules, hover pictures, events and persistence.
#include "RunContainer.h"

namespace talvik {
namespace {

using testing::runContainer;

TEST(Boxes, ThroughTheTestContainer) {
    const struct {
        const char* box;
        const char* script;
        const char* expected;
    } cases[] = {
        // At 2680 wide in style 5: C = 1340, next at 1350, previous 1330 - 675, first 655 - 20 - 675.
        {"vltSwitch",
         "new vltSwitch s\ninit s\nshow s\ndump s Image4(0) Image4(2)\n"
         "fire s Image4(2) MouseMove 0 0 10 10\nfire s Label1 MouseMove 0 0 10 10\ndump s Image4(2)\n"
         "fire s Image2(1) MouseMove 0 0 10 10\ndump s Image4(2)\nfire s Image4(3) Click\n"
         "resize s 1000 1485\nset s Style 5\ndump s Image4(0) Label1\nwrite s\n",
         R"j({"line":1,"new":"s","class":"vltSwitch","width":2895,"height":1485}
{"line":4,"dump":"s","element":"Image4(0)","kind":"image","Left":128,"Top":625,"Width":645,"Height":495,"Picture":"res:111","Stretch":false,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":4,"dump":"s","element":"Image4(2)","kind":"image","Left":1458,"Top":625,"Width":645,"Height":495,"Picture":"res:115","Stretch":false,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":7,"dump":"s","element":"Image4(2)","kind":"image","Left":1458,"Top":625,"Width":645,"Height":495,"Picture":"res:114","Stretch":false,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":9,"dump":"s","element":"Image4(2)","kind":"image","Left":1458,"Top":625,"Width":645,"Height":495,"Picture":"res:115","Stretch":false,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":10,"event":"ButtonClick","control":"s","args":{"Button":3}}
{"line":11,"resize":"s","width":2680,"height":1485}
{"line":13,"dump":"s","element":"Image4(0)","kind":"image","Left":-40,"Top":595,"Width":690,"Height":690,"Picture":"res:SB_FIRST_NORMAL","Stretch":false,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":13,"dump":"s","element":"Label1","kind":"label","Left":1070,"Top":300,"Width":540,"Height":195,"Caption":"vltBox","ForeColor":16777215,"Alignment":0,"FontSize":8.25,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":14,"write":"s","bag":[["Caption","vltBox","vltBox"],["Style",5,0]]}
)j"},
        // Style 1 centres the row for 2895 (1447.5 - 405) and raises the height to 1595; the
        // later resize keeps both. Top: 1595 - 570 - (915 + 50).
        {"vltZoomBox",
         "new vltZoomBox z\ninit z\nshow z\nset z Style 1\nresize z 3000 1000\ndump z Image4(1)\n"
         "fire z Image4(1) MouseMove 0 0 5 5\ndump z Image4(1)\nfire z Label1 MouseMove 0 0 5 5\n"
         "dump z Image4(1)\nfire z Image4(2) Click\nfire z Image4(2) DblClick\nwrite z\n",
         R"j({"line":1,"new":"z","class":"vltZoomBox","width":2895,"height":1485}
{"line":5,"resize":"z","width":3000,"height":1595}
{"line":6,"dump":"z","element":"Image4(1)","kind":"image","Left":1042.5,"Top":60,"Width":810,"Height":915,"Picture":"res:162","Stretch":false,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":8,"dump":"z","element":"Image4(1)","kind":"image","Left":1042.5,"Top":60,"Width":810,"Height":915,"Picture":"res:171","Stretch":false,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":10,"dump":"z","element":"Image4(1)","kind":"image","Left":1042.5,"Top":60,"Width":810,"Height":915,"Picture":"res:162","Stretch":false,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":11,"event":"vltZoomBoxClick","control":"z","args":{"Button":2}}
{"line":13,"write":"z","bag":[["Caption","vltZoomBox","vltZoomBox"],["Style",1,0]]}
)j"},
        // At 3000 wide the row spans 1500 - 1230 to 1500 + 1230; style 1 at 1000 high puts
        // it at 430 - 770, above the top edge.
        {"ScrollBox",
         "new ScrollBox sb\ninit sb\nshow sb\nresize sb 3000 1000\nset sb Style 1\ndump sb Image4(0) Image4(3)\n"
         "fire sb Image4(1) MouseMove 0 0 5 5\nfire sb surface MouseMove 0 0 5 5\ndump sb Image4(1)\n"
         "fire sb Image2(0) MouseMove 0 0 5 5\ndump sb Image4(1)\nfire sb Image4(1) Click\n"
         "fire sb Image4(1) DblClick\ncall sb BottomHeight\nwrite sb\n",
         R"j({"line":1,"new":"sb","class":"ScrollBox","width":2895,"height":1485}
{"line":4,"resize":"sb","width":3000,"height":1000}
{"line":6,"dump":"sb","element":"Image4(0)","kind":"image","Left":270,"Top":-340,"Width":600,"Height":720,"Picture":"res:SCROLL_NORMAL_1","Stretch":false,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":6,"dump":"sb","element":"Image4(3)","kind":"image","Left":2130,"Top":-340,"Width":600,"Height":720,"Picture":"res:SCROLL_NORMAL_4","Stretch":false,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":9,"dump":"sb","element":"Image4(1)","kind":"image","Left":890,"Top":-340,"Width":600,"Height":720,"Picture":"res:SCROLL_2","Stretch":false,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":11,"dump":"sb","element":"Image4(1)","kind":"image","Left":890,"Top":-340,"Width":600,"Height":720,"Picture":"res:SCROLL_NORMAL_2","Stretch":false,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":12,"event":"ButtonClick","control":"sb","args":{"Button":1}}
{"line":13,"event":"ButtonDoubleClick","control":"sb","args":{"Button":1}}
{"line":14,"call":"BottomHeight","value":570}
{"line":15,"write":"sb","bag":[["Caption","ScrollBox","ScrollBox"],["Style",1,0]]}
)j"},
        // At 2895 x 1485: "vltInfoBox" 900 wide centred at 1447.5 - 450, 45 into the 315-high
        // bottom row. Style 4: the information 30 below the 435-high top row, the right top
        // corner bitmap 193 (1155 wide), the centre between the 120-wide left column and it,
        // down to the 360-high bottom row. Style 5 loads nothing and keeps the caption in the
        // bottom row, white since style 4. The second box stops at the back style that is no
        // integer, with Caption, Style and Info read and nothing shown; restored again, the
        // defaults fill the missing keys and style 1 turns both texts white.
        // Line by line, so that a difference names its line.
        {"vltInfoBox",
         "new vltInfoBox i\ninit i\nshow i\ndump i surface Label1 Label2\n"
         "set i Style 4\nset i Info \"Read every question\"\ndump i Label2 Image1(2)\n"
         "set i BackStyle 0\ndump i surface Image2(1)\nget i BackStyle\n"
         "resize i 3000 1000\ndump i Image3(1)\ncall i BottomHeight\n"
         "set i Style 5\ndump i Label1 Label2\nwrite i\n"
         "new vltInfoBox j\nread j Caption=\"Kept\" Style=2 Info=\"Note\" BackStyle=\"abc\"\n"
         "get j Style\nget j Info\ndump j Label2\n"
         "read j Style=1 BackStyle=7\ndump j surface Label2 Image1(0)\nget j BackStyle\n",
         R"j({"line":1,"new":"i","class":"vltInfoBox","width":2895,"height":1485}
{"line":4,"dump":"i","element":"surface","kind":"surface","Width":2895,"Height":1485,"BackStyle":1,"Picture":null}
{"line":4,"dump":"i","element":"Label1","kind":"label","Left":997.5,"Top":1215,"Width":900,"Height":195,"Caption":"vltInfoBox","ForeColor":2147483661,"Alignment":0,"FontSize":8.25,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":4,"dump":"i","element":"Label2","kind":"label","Left":150,"Top":120,"Width":540,"Height":195,"Caption":"Label2","ForeColor":2147483661,"Alignment":0,"FontSize":8.25,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":7,"dump":"i","element":"Label2","kind":"label","Left":150,"Top":465,"Width":1710,"Height":195,"Caption":"Read every question","ForeColor":2147483661,"Alignment":0,"FontSize":8.25,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":7,"dump":"i","element":"Image1(2)","kind":"image","Left":1740,"Top":0,"Width":1155,"Height":435,"Picture":"res:193","Stretch":false,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":9,"dump":"i","element":"surface","kind":"surface","Width":2895,"Height":1485,"BackStyle":0,"Picture":null}
{"line":9,"dump":"i","element":"Image2(1)","kind":"image","Left":120,"Top":435,"Width":1620,"Height":690,"Picture":"res:179","Stretch":true,"Visible":false,"Enabled":true,"ToolTipText":""}
{"line":10,"get":"BackStyle","value":0}
{"line":11,"resize":"i","width":3000,"height":1000}
{"line":12,"dump":"i","element":"Image3(1)","kind":"image","Left":165,"Top":640,"Width":2700,"Height":360,"Picture":"res:182","Stretch":true,"Visible":false,"Enabled":true,"ToolTipText":""}
{"line":13,"call":"BottomHeight","value":360}
{"line":15,"dump":"i","element":"Label1","kind":"label","Left":1050,"Top":685,"Width":900,"Height":195,"Caption":"vltInfoBox","ForeColor":16777215,"Alignment":0,"FontSize":8.25,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":15,"dump":"i","element":"Label2","kind":"label","Left":150,"Top":465,"Width":1710,"Height":195,"Caption":"Read every question","ForeColor":2147483661,"Alignment":0,"FontSize":8.25,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":16,"write":"i","bag":[["Caption","vltInfoBox","vltInfoBox"],["Info","Read every question","infomation"],["Style",5,0],["BackStyle",0,1]]}
{"line":17,"new":"j","class":"vltInfoBox","width":2895,"height":1485}
{"line":18,"error":{"number":13,"description":"Type mismatch"}}
{"line":19,"get":"Style","value":2}
{"line":20,"get":"Info","value":"Note"}
{"line":21,"dump":"j","element":"Label2","kind":"label","Left":150,"Top":120,"Width":540,"Height":195,"Caption":"Label2","ForeColor":2147483661,"Alignment":0,"FontSize":8.25,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":23,"dump":"j","element":"surface","kind":"surface","Width":2895,"Height":1485,"BackStyle":0,"Picture":null}
{"line":23,"dump":"j","element":"Label2","kind":"label","Left":150,"Top":120,"Width":900,"Height":195,"Caption":"infomation","ForeColor":16777215,"Alignment":0,"FontSize":8.25,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":23,"dump":"j","element":"Image1(0)","kind":"image","Left":0,"Top":0,"Width":435,"Height":315,"Picture":"res:119","Stretch":false,"Visible":true,"Enabled":true,"ToolTipText":""}
{"line":24,"get":"BackStyle","value":7}
)j"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        EXPECT_EQ(runContainer(c.box, c.script), c.expected);
    }
}

}  // namespace
}  // namespace talvik
