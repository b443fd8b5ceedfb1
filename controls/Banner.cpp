#include "controls/Banner.h"

#include <algorithm>

#include "frame/host/ControlHost.h"
#include "resources/Resources.h"

namespace talvik::controls {

// ---- Template ----

// Three pieces 122 pixels high: the ends at their own size, the middle piece stretched
// by the arrangement.
const ControlTemplate& Banner::Design() {
    static const ControlTemplate t = [] {
        ControlTemplate t;
        t.width = 7365;
        t.height = 2910;
        constexpr float kLeft[] = {0, 75, 4620};
        constexpr float kWidth[] = {75, 75, 2745};
        t.addArray("Image1", 3, [&](int i) {
            return ElementSpec{.kind = ElementKind::Image, .left = kLeft[i], .top = 0, .width = kWidth[i],
                               .height = 1830, .picture = "Image1(" + std::to_string(i) + ")"};
        });
        return t;
    }();
    return t;
}

const ControlClass Banner::Class{
    .name = "Banner",
    .ids = ClassIds{guid("{9D47F3EF-2FA1-4630-96D5-BCF4CAA747D6}"), guid("{E2F00CF8-6928-41FA-B936-A32FDEFE5B27}"),
                    guid("{BDA763D2-0303-45BD-A68D-8CF85E1A8CC0}")},
    .design = &Banner::Design,
    .create = &construct<Banner>,
    .pictures = &resources::kPictureFiles,
};

// ---- Fields ----

Banner::Banner(ControlHost& host) : Control(host), Image1(host.images("Image1")) {}

// ---- Routines ----

void Banner::Arrange() {
    const Image left = Image1(0), middle = Image1(1), right = Image1(2);
    left.Left(0);
    left.Top(0);
    middle.Top(left.Top());
    middle.Left(left.Width());
    middle.Stretch(true);
    middle.Height(left.Height());
    right.Left(host().surface().Width() - right.Width());
    right.Top(left.Top());
    // Narrower than the two ends: no middle, and the right piece stays flush with the
    // right edge, drawn over the left end.
    middle.Width(std::max(0.0f, right.Left() - left.Width()));
}

// ---- Lifecycle ----

void Banner::Initialize() { Arrange(); }

void Banner::Resize() { Arrange(); }


AccessibleParts Banner::DescribeParts() const {
    AccessibleParts d;
    d.takesFocus = false;
    return d;
}

}  // namespace talvik::controls
