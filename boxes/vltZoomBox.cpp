#include "boxes/vltZoomBox.h"

#include "frame/describe/Enumerations.h"
#include "frame/host/ControlHost.h"

namespace talvik::controls {

namespace {
constexpr MemberDesc kMembers[] = {ButtonRow::styleMember(kProperty + 1), ButtonRow::captionMember(kProperty + 0)};
constexpr EventDecl kEvents[] = {{"vltZoomBoxClick", 1, kButtonArg}};
constexpr ClassIds kIds{guid("{E050CFAB-5C89-4659-8091-7D8804FD967F}"), guid("{056FFB84-1CFE-46E3-9DB6-E76CD12A949C}"),
                        guid("{07C69405-2F1F-44C5-A1E5-7DD21C7F6C13}")};
}  // namespace

const ControlClass vltZoomBox::Class = record<vltZoomBox, 3>("vltZoomBox", kIds, kMembers, kEvents);

// ---- Fields ----

namespace {
// Shrink, enlarge, fit. Every style but 5 hovers with the same three pictures, also a
// style without normal ones.
constexpr ButtonSet kNumberedHover{{170, 171, 172}};
constexpr ButtonSet kNormal[] = {
    {{158, 159, 160}}, {{161, 162, 163}}, {{164, 165, 166}},
    {{167, 168, 169}}, {{188, 189, 190}}, {{"THU_NHO_NORMAL", "PHONG_TO_NORMAL", "FIT_NORMAL"}},
};
constexpr ButtonSet kHover[] = {
    kNumberedHover, kNumberedHover, kNumberedHover, kNumberedHover, kNumberedHover,
    {{"THU_NHO_HOVER", "PHONG_TO_HOVER", "FIT_HOVER"}},
};
constexpr WhiteLabel kWhiteLabels[] = {{"Label1", {Baby_reddarkbox, Baby_FireFox}}};
constexpr BoxVariant kVariant{.defaultCaption = "vltZoomBox", .rightTopOfStyle4 = 191,
                              .whiteLabels = kWhiteLabels, .arrangeErrors = OnStepError::SkipStep};
constexpr ButtonRowKind kRow{
    .normal = kNormal,
    .hover = kHover,
    .hoverOtherwise = &kNumberedHover,
    .restoreOn = RestoreOn::CaptionAndSurface,
    .stretchOff = true,
    .click = &kEvents[0],
    .names = {"Zoom out", "Zoom in", "Fit"},
};

constexpr float kLeastHeight = 1595;
constexpr float kOffice2007Height = 1485;
}  // namespace

vltZoomBox::vltZoomBox(ControlHost& host) : ButtonRow(host, kVariant, kRow) {}

// ---- Routines ----

void vltZoomBox::SkinLoaded(FrameSteps& step) {
    step([&] { SetButtonPictures(kNone); });
    step([&] { PlaceButtons(); });
}

// The Office2007box skin has one height; the others a least one. A new height lays the
// box out again at once (through Resize) before the buttons move down.
void vltZoomBox::ArrangeFinished(FrameSteps& step) {
    step([&] {
        Surface& box = host().surface();
        if (style_ != Office2007box && box.Height() < kLeastHeight) box.Height(kLeastHeight);
    });
    step([&] {
        if (style_ == Office2007box) host().surface().Height(kOffice2007Height);
    });
    PlaceButtonsDown(step);
}

// Centred on the enlarge button, 40 twips apart.
void vltZoomBox::PlaceButtons() {
    Image4(1).Left(host().surface().Width() / 2 - Image4(1).Width() / 2);
    Image4(0).Left(Image4(1).Left() - 40 - Image4(0).Width());
    Image4(2).Left(Image4(1).Left() + Image4(1).Width() + 40);
}

}  // namespace talvik::controls
