#include "GalleryEntries.h"

#include <cstdint>

namespace talvik {

namespace {
using i16 = std::int16_t;
using i32 = std::int32_t;
}  // namespace

// A control that joins the library joins the gallery with one line here for each of
// its styles or uses; classes the library does not have yet are left out.
std::vector<GalleryEntry> galleryEntries() {
    return {
        {"Matrix", "New answer sheet: 100 questions, 4 columns", {}},
        {"Matrix", "40 questions, 2 columns of 20", {{"MaxItems", i16{40}}, {"MaxCols", i16{2}}, {"MaxItemPerCol", i16{20}}}},
        {"Matrix", "12 questions, wide spacing", {{"MaxItems", i16{12}}, {"MaxCols", i16{2}}, {"MaxItemPerCol", i16{6}}, {"DistanceItems", i16{300}}}},

        {"VelOptionToolBar", "WindowXP, check boxes", {{"VelStyle", i32{1}}, {"VelOptionBox", i32{1}}}},
        {"VelOptionToolBar", "WindowXP, option buttons, 9 boxes", {{"VelStyle", i32{1}}, {"VelOptionBox", i32{2}}, {"VelCountItems", i16{9}}}},
        {"VelOptionToolBar", "Window2k3, option buttons", {{"VelStyle", i32{2}}, {"VelOptionBox", i32{2}}}},
        {"VelOptionToolBar", "Window2k3, check boxes, digits", {{"VelStyle", i32{2}}, {"VelOptionBox", i32{1}}, {"VelOptionChar", i32{1}}}},
        {"VelOptionToolBar", "Veltrane, digits, 6 boxes", {{"VelStyle", i32{3}}, {"VelOptionChar", i32{1}}, {"VelCountItems", i16{6}}}},
        {"VelOptionToolBar", "Veltrane, check boxes", {{"VelStyle", i32{3}}, {"VelOptionBox", i32{1}}}},
        {"VelOptionToolBar", "FireFox2007, lower-case letters", {{"VelStyle", i32{4}}, {"VelOptionChar", i32{2}}}},
        {"VelOptionToolBar", "FireFox2007, check boxes, 5 boxes", {{"VelStyle", i32{4}}, {"VelOptionBox", i32{1}}, {"VelCountItems", i16{5}}}},

        {"vltBox", "Office2007box", {{"Caption", "Office2007box"}, {"Style", i32{0}}}},
        {"vltBox", "Natural_bluebox", {{"Caption", "Natural_bluebox"}, {"Style", i32{1}}}},
        {"vltBox", "Natural_greenbox", {{"Caption", "Natural_greenbox"}, {"Style", i32{2}}}},
        {"vltBox", "Natural_redlightbox", {{"Caption", "Natural_redlightbox"}, {"Style", i32{3}}}},
        {"vltBox", "Baby_reddarkbox", {{"Caption", "Baby_reddarkbox"}, {"Style", i32{4}}}},
        {"vltBox", "Baby_FireFox", {{"Caption", "Baby_FireFox"}, {"Style", i32{5}}}},
        {"vltBox", "Classicbox (no skin of its own)", {{"Caption", "Classicbox"}, {"Style", i32{10}}}},

        {"vltSwitch", "Office2007box", {{"Caption", "Office2007box"}, {"Style", i32{0}}}},
        {"vltSwitch", "Natural_bluebox", {{"Caption", "Natural_bluebox"}, {"Style", i32{1}}}},
        {"vltSwitch", "Natural_greenbox", {{"Caption", "Natural_greenbox"}, {"Style", i32{2}}}},
        {"vltSwitch", "Natural_redlightbox", {{"Caption", "Natural_redlightbox"}, {"Style", i32{3}}}},
        {"vltSwitch", "Baby_reddarkbox", {{"Caption", "Baby_reddarkbox"}, {"Style", i32{4}}}},
        {"vltSwitch", "Baby_FireFox", {{"Caption", "Baby_FireFox"}, {"Style", i32{5}}}},
        {"vltSwitch", "Classicbox (no skin of its own)", {{"Caption", "Classicbox"}, {"Style", i32{10}}}},

        {"vltZoomBox", "Office2007box", {{"Caption", "Office2007box"}, {"Style", i32{0}}}},
        {"vltZoomBox", "Natural_bluebox", {{"Caption", "Natural_bluebox"}, {"Style", i32{1}}}},
        {"vltZoomBox", "Natural_greenbox", {{"Caption", "Natural_greenbox"}, {"Style", i32{2}}}},
        {"vltZoomBox", "Natural_redlightbox", {{"Caption", "Natural_redlightbox"}, {"Style", i32{3}}}},
        {"vltZoomBox", "Baby_reddarkbox", {{"Caption", "Baby_reddarkbox"}, {"Style", i32{4}}}},
        {"vltZoomBox", "Baby_FireFox", {{"Caption", "Baby_FireFox"}, {"Style", i32{5}}}},
        {"vltZoomBox", "Classicbox (no skin of its own)", {{"Caption", "Classicbox"}, {"Style", i32{10}}}},

        {"ScrollBox", "Office2007box", {{"Caption", "Office2007box"}, {"Style", i32{0}}}},
        {"ScrollBox", "Natural_bluebox", {{"Caption", "Natural_bluebox"}, {"Style", i32{1}}}},
        {"ScrollBox", "Natural_greenbox", {{"Caption", "Natural_greenbox"}, {"Style", i32{2}}}},
        {"ScrollBox", "Natural_redlightbox", {{"Caption", "Natural_redlightbox"}, {"Style", i32{3}}}},
        {"ScrollBox", "Baby_reddarkbox", {{"Caption", "Baby_reddarkbox"}, {"Style", i32{4}}}},
        {"ScrollBox", "Baby_FireFox", {{"Caption", "Baby_FireFox"}, {"Style", i32{5}}}},
        {"ScrollBox", "Classicbox (no skin of its own)", {{"Caption", "Classicbox"}, {"Style", i32{10}}}},

        {"vltInfoBox", "Office2007box", {{"Caption", "Office2007box"}, {"Style", i32{0}}, {"Info", "Read every question"}}},
        {"vltInfoBox", "Natural_bluebox", {{"Caption", "Natural_bluebox"}, {"Style", i32{1}}, {"Info", "Read every question"}}},
        {"vltInfoBox", "Natural_greenbox", {{"Caption", "Natural_greenbox"}, {"Style", i32{2}}, {"Info", "Read every question"}}},
        {"vltInfoBox", "Natural_redlightbox", {{"Caption", "Natural_redlightbox"}, {"Style", i32{3}}, {"Info", "Read every question"}}},
        {"vltInfoBox", "Baby_reddarkbox", {{"Caption", "Baby_reddarkbox"}, {"Style", i32{4}}, {"Info", "Read every question"}}},
        {"vltInfoBox", "Baby_FireFox (no skin of its own)", {{"Caption", "Baby_FireFox"}, {"Style", i32{5}}, {"Info", "Read every question"}}},
        {"vltInfoBox", "Transparent_box (Natural_greenbox skin hidden)", {{"Caption", "Transparent"}, {"Style", i32{2}}, {"Info", "Read every question"}, {"BackStyle", i32{0}}}},

        {"vltHeaderExam", "Exam header", {}},

        {"URLLink", "New link", {}},
        {"URLLink", "Own text, the address as tool tip", {{"Text", "Exam rules and help"}, {"URL", "https://talvik.example/help"}, {"ShowToolTip", true}}},

        {"Banner", "Design width", {}},
        {"Banner", "Stretched across a wide screen", {}, 17400, 2910},

        {"TimerPicture", "Analog clock, ticking", {{"Enable", true}}},

        {"vltGraphButton", "vltGraphButton (library-internal)", {{"CaptionText", "vltButton"}, {"ToolTipText", "A push button of the library's own"}}},
        {"vltGraphButton", "vltGraphButton (library-internal), Next, 2000 x 500", {{"CaptionText", "Next"}}, 2000, 500},
        {"vltGraphButton", "vltGraphButton (library-internal), disabled", {{"CaptionText", "Hand in"}, {"Enabled", false}}},
        {"vltGraphButton", "vltGraphButton (library-internal), caption too wide", {{"CaptionText", "A caption wider than the button"}}},
    };
}

}  // namespace talvik
