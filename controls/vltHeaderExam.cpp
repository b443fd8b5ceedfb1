#include "controls/vltHeaderExam.h"

namespace talvik {

const ControlTemplate& vltHeaderExam::Design() {
    static const ControlTemplate t = [] {
        ControlTemplate t;
        t.className = "vltHeaderExam";
        t.width = 9285;
        t.height = 4785;

        t.add({.kind = ElementKind::Frame, .name = "Frame1", .left = 120, .top = 120, .width = 9015, .height = 4455});
        // "Lớp:" in TCVN3; the bytes are kept as they are and hosts decode them to draw.
        t.add({.kind = ElementKind::Label, .name = "Label1", .left = 240, .top = 240, .width = 735, .height = 375,
               .caption = "\x4C\xED\x70\x3A", .encoding = TextEncoding::Tcvn3});
        return t;
    }();
    return t;
}

const ControlClass vltHeaderExam::Class = controlClass<vltHeaderExam>("vltHeaderExam");

}  // namespace talvik
