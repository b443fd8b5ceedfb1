#include "boxes/vltBox.h"

#include "frame/describe/Enumerations.h"
#include "resources/Resources.h"

namespace talvik::controls {

// ---- Template ----

const ControlTemplate& vltBox::Design() {
    static const ControlTemplate t = frameTemplate();
    return t;
}

namespace {
constexpr MemberDesc kMembers[] = {
    method<&vltBox::BottomHeight>("BottomHeight", 0x60030002),
    property<SkinFrame, std::int32_t, &SkinFrame::Style, &SkinFrame::Style>("Style", BoxStyleEnumType, kProperty + 1),
    property<SkinFrame, std::string, &SkinFrame::Caption, &SkinFrame::Caption>("Caption", kProperty + 0),
};
}  // namespace

const ControlClass vltBox::Class{
    .name = "vltBox",
    .ids = ClassIds{guid("{82C7B846-92B4-497D-923A-9F446E318049}"), guid("{27A351C3-F989-4EF5-86E0-316CA23E72AB}"),
                    guid("{FB7CBDD1-5663-42D4-A645-B7C7843DDB97}")},
    .members = kMembers,
    .design = &vltBox::Design,
    .create = &construct<vltBox>,
    .pictures = &resources::kPictureFiles,
};

// ---- Fields ----

namespace {
constexpr WhiteLabel kWhiteLabels[] = {{"Label1", {Baby_reddarkbox, Baby_FireFox}}};
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

}  // namespace talvik::controls
