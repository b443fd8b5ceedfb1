#include "controls/vltHeaderExam.h"
#include "resources/Resources.h"

namespace talvik::controls {

const ControlTemplate& vltHeaderExam::Design() {
    static const ControlTemplate t = [] {
        ControlTemplate t;
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

const ControlClass vltHeaderExam::Class{
    .name = "vltHeaderExam",
    .ids = ClassIds{guid("{6018FC49-7224-4987-B540-8C465AB7E7F1}"), guid("{8F3FCB2F-1C1F-4E16-8A5F-71F8A4638EC7}"),
                    guid("{053BE48D-5A43-4C0C-B854-EDC6C67407A8}")},
    .design = &vltHeaderExam::Design,
    .create = &construct<vltHeaderExam>,
    .pictures = &resources::kPictureFiles,
};

AccessibleParts vltHeaderExam::DescribeParts() const {
    AccessibleParts d;
    d.takesFocus = false;
    return d;
}

}  // namespace talvik::controls
