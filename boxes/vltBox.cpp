#include "boxes/vltBox.h"

namespace talvik {

// ---- Template ----

const ControlTemplate& vltBox::Design() {
    static const ControlTemplate t = frameTemplate("vltBox");
    return t;
}

const ControlClass vltBox::Class = controlClass<vltBox>("vltBox");

std::span<const MemberBinding> vltBox::Members() {
    static const MemberBinding members[] = {
        method<&vltBox::BottomHeight>("BottomHeight"),
        property<SkinFrame, std::int32_t, &SkinFrame::Style, &SkinFrame::Style>("Style"),
        property<SkinFrame, std::string, &SkinFrame::Caption, &SkinFrame::Caption>("Caption"),
    };
    return members;
}

// ---- Fields ----

namespace {
constexpr WhiteLabel kWhiteLabels[] = {{"Label1", {4, 5}}};
constexpr BoxVariant kVariant{
    .defaultCaption = "vltBox",
    .rightTopOfStyle4 = 194,
    .lastSkinnedStyle = 5,
    .whiteLabels = kWhiteLabels,
    .captionInTopRowForStyle5 = true,
    .arrangeErrors = OnStepError::EndRoutine,
};
}  // namespace

vltBox::vltBox(ControlHost& host) : SkinFrame(host, kVariant) {}

}  // namespace talvik
