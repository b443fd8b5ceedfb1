#include "boxes/ScrollBox.h"

#include "frame/describe/Enumerations.h"
#include "frame/host/ControlHost.h"

namespace talvik::controls {

namespace {
constexpr MemberDesc kMembers[] = {method<&ScrollBox::BottomHeight>("BottomHeight", 0x60030003),
    ButtonRow::styleMember(kProperty + 1), ButtonRow::captionMember(kProperty + 0)};
constexpr EventDecl kEvents[] = {{"ButtonClick", 1, kButtonArg}, {"ButtonDoubleClick", 2, kButtonArg}};
constexpr ClassIds kIds{guid("{6BB6E398-FC76-42AA-8C4C-604127549B04}"), guid("{BA32745C-6422-4525-B303-B4822410E4C0}"),
                        guid("{22BECC71-BC71-44D6-9A4F-53A5DB7D4D0B}")};
}  // namespace

const ControlClass ScrollBox::Class = record<ScrollBox, 4>("ScrollBox", kIds, kMembers, kEvents);

// ---- Fields ----

namespace {
// Up, down, left, right: the same arrows in every style.
constexpr ButtonSet kNormal{{"SCROLL_NORMAL_1", "SCROLL_NORMAL_2", "SCROLL_NORMAL_3", "SCROLL_NORMAL_4"}};
constexpr ButtonSet kHover{{"SCROLL_1", "SCROLL_2", "SCROLL_3", "SCROLL_4"}};
constexpr WhiteLabel kWhiteLabels[] = {{"Label1", {Baby_reddarkbox, Baby_FireFox}}};
constexpr BoxVariant kVariant{.defaultCaption = "ScrollBox", .whiteLabels = kWhiteLabels};
constexpr ButtonRowKind kRow{
    .normalOtherwise = &kNormal,
    .hoverOtherwise = &kHover,
    .restoreOn = RestoreOn::Slices,
    .click = &kEvents[0],
    .dblClick = &kEvents[1],
    .names = {"Scroll up", "Scroll down", "Scroll left", "Scroll right"},
};
}  // namespace

ScrollBox::ScrollBox(ControlHost& host) : ButtonRow(host, kVariant, kRow) {}

// ---- Routines ----

// The buttons are in their normal pictures, and their sizes known, before every layout
// that loads the skin.
void ScrollBox::SkinLoading() { SetButtonPictures(kNone); }

void ScrollBox::ArrangeButtons(FrameSteps& step) {
    step([&] { PlaceButtons(); });
    PlaceButtonsDown(step);
}

// Left and right 20 twips apart right of the middle; down and up leftwards from them.
void ScrollBox::PlaceButtons() {
    const float W = host().surface().Width();
    Image4(2).Left(W / 2 + 10);
    Image4(3).Left(Image4(2).Left() + Image4(2).Width() + 20);
    Image4(1).Left(Image4(2).Left() - (Image4(1).Width() + 20));
    Image4(0).Left(Image4(1).Left() - (Image4(0).Width() + 20));
}

}  // namespace talvik::controls
