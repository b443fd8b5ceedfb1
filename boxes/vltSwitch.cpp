#include "boxes/vltSwitch.h"

#include <cstdint>

#include "frame/describe/Enumerations.h"
#include "frame/host/Arith.h"
#include "frame/host/ControlHost.h"

namespace talvik::controls {

// ---- Fields ----

namespace {
constexpr EventDecl kEvents[] = {{"ButtonClick", 1, kButtonArg}};

// First, previous, next, last. In styles 0 to 4 the hover pictures are shared.
constexpr ButtonSet kNumberedHover{{110, 112, 114, 116}};
constexpr ButtonSet kNormal[] = {
    {{111, 113, 115, 117}},
    {{146, 147, 148, 149}},
    {{150, 151, 152, 153}},
    {{154, 155, 156, 157}},
    {{184, 185, 186, 187}},
    {{"SB_FIRST_NORMAL", "SB_PRE_NORMAL", "SB_NEXT_NORMAL", "SB_LAST_NORMAL"}},
};
constexpr ButtonSet kHover[] = {
    kNumberedHover, kNumberedHover, kNumberedHover, kNumberedHover, kNumberedHover,
    {{"SB_FIRST_HOVER", "SB_PRE_HOVER", "SB_NEXT_HOVER", "SB_LAST_HOVER"}},
};
constexpr WhiteLabel kWhiteLabels[] = {{"Label1", {Natural_bluebox, Baby_reddarkbox, Baby_FireFox}}};
constexpr BoxVariant kVariant{.defaultCaption = "vltBox", .rightTopOfStyle4 = 192, .whiteLabels = kWhiteLabels,
                              .showsCaptionAtOnce = true};
constexpr ButtonRowKind kRow{
    .normal = kNormal,
    .hover = kHover,
    .restoreOn = RestoreOn::Surface,
    .click = &kEvents[0],
    .names = {"First question", "Previous question", "Next question", "Last question"},
};

constexpr MemberDesc kMembers[] = {ButtonRow::captionMember(kProperty + 1), ButtonRow::styleMember(kProperty + 0)};
constexpr ClassIds kIds{guid("{D2410CE3-FA5E-4D39-9866-7C6B4BE9CDCC}"), guid("{28AD59AC-3214-4EE2-9B8C-935B5AA0DA40}"),
                        guid("{0FF65186-1D58-42D2-BA4C-7EF9B7903CDA}")};
}  // namespace

const ControlClass vltSwitch::Class = record<vltSwitch, 4>("vltSwitch", kIds, kMembers, kEvents);

vltSwitch::vltSwitch(ControlHost& host) : ButtonRow(host, kVariant, kRow) {}

// ---- Routines ----

// Whatever the Style, also one without a skin.
void vltSwitch::SkinLoaded(FrameSteps& step) {
    step([&] { Label1.Caption(caption_); });
    step([&] { SetButtonPictures(kNone); });
    step([&] { PlaceButtons(); });
}

void vltSwitch::ArrangeFinished(FrameSteps& step) { PlaceButtonsDown(step); }

// Previous and next 20 twips apart about the middle; the first button keeps the width
// of the previous one from it, so its gap follows that width.
void vltSwitch::PlaceButtons() {
    const std::int64_t c = roundHalfEven(host().surface().Width() / 2);
    if (c + 10 > INT32_MAX) err::overflow();  // whole-number arithmetic of 32 bits
    Image4(2).Left(float(c + 10));
    Image4(1).Left(float(c - 10) - Image4(1).Width());
    Image4(0).Left(Image4(1).Left() - 20 - Image4(1).Width());
    Image4(3).Left(Image4(2).Left() + Image4(2).Width() + 10);
}

// ---- Lifecycle ----

// Never narrower than its four buttons and 100 twips; the narrower size comes back
// through a further Resize.
void vltSwitch::Resize() {
    float buttons = 0;
    for (const Image b : Image4) buttons += b.Width();
    const float least = float(roundHalfEven(buttons) + 100);
    Surface& box = host().surface();
    if (box.Width() < least) box.Width(least);
    SkinFrame::Resize();
}

}  // namespace talvik::controls
