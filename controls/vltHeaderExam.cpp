#include "controls/vltHeaderExam.h"

namespace talvik {

const ControlTemplate& vltHeaderExam::Design() {
    static const ControlTemplate t = [] {
        ControlTemplate t;
        t.className = "vltHeaderExam";
        t.width = 9285;
        t.height = 4785;

        ElementSpec frame;
        frame.kind = ElementKind::Frame;
        frame.name = "Frame1";
        frame.left = 120;
        frame.top = 120;
        frame.width = 9015;
        frame.height = 4455;
        t.add(frame);

        ElementSpec label;
        label.kind = ElementKind::Label;
        label.name = "Label1";
        label.left = 240;
        label.top = 240;
        label.width = 735;
        label.height = 375;
        // "Lớp:" in TCVN3; the bytes are kept as they are and hosts decode them to draw.
        label.caption = "\x4C\xED\x70\x3A";
        label.encoding = TextEncoding::Tcvn3;
        t.add(label);
        return t;
    }();
    return t;
}

const ControlClass vltHeaderExam::Class = controlClass<vltHeaderExam>("vltHeaderExam");

}  // namespace talvik
