#include "boxes/vltInfoBox.h"

#include "frame/describe/Enumerations.h"
#include "frame/host/ControlHost.h"
#include "frame/host/PropertyBag.h"
#include "resources/Resources.h"

namespace talvik::controls {

// ---- Template ----

// The information label lies above the caption, at its own place.
const ControlTemplate& vltInfoBox::Design() {
    static const ControlTemplate t = [] {
        ControlTemplate t = frameTemplate();
        t.add({.kind = ElementKind::Label,
               .name = "Label2",
               .left = 150,
               .top = 120,
               .caption = "Label2",
               .foreColor = kHighlight,
               .font = {"Veltrane Sans Serif", 8.25f, true, false},
               .autoSize = true,
               .transparent = true});
        return t;
    }();
    return t;
}

namespace {
constexpr MemberDesc kMembers[] = {
    property<vltInfoBox, std::int32_t, &vltInfoBox::BackStyle, &vltInfoBox::BackStyle>("BackStyle", BackStyleEnumType,
                                                                                        kProperty + 3),
    method<&vltInfoBox::BottomHeight>("BottomHeight", 0x60030004),
    property<SkinFrame, std::int32_t, &SkinFrame::Style, &SkinFrame::Style>("Style", BoxStyleEnumType, kProperty + 2),
    property<SkinFrame, std::string, &SkinFrame::Caption, &SkinFrame::Caption>("Caption", kProperty + 1),
    property<vltInfoBox, std::string, &vltInfoBox::Info, &vltInfoBox::Info>("Info", kProperty + 0),
};
}  // namespace

const ControlClass vltInfoBox::Class{
    .name = "vltInfoBox",
    .ids = ClassIds{guid("{B181C7DC-2593-4E69-9A5E-FA944494332E}"), guid("{5AA353E6-E4B8-4CD5-9827-65A214E1FB99}"),
                    guid("{AAAE7C53-C78D-4A35-9943-26B623747B78}")},
    .members = kMembers,
    .design = &vltInfoBox::Design,
    .create = &construct<vltInfoBox>,
    .pictures = &resources::kPictureFiles,
};

// ---- Fields ----

namespace {
// Both texts turn white on the blue skin, only the caption on the dark red one; the
// FireFox skin is not offered, and its caption step with it. A failing step of the layout
// ends it (the frame's default).
constexpr WhiteLabel kWhiteLabels[] = {{"Label1", {Natural_bluebox, Baby_reddarkbox}}, {"Label2", {Natural_bluebox}}};
constexpr BoxVariant kVariant{.defaultCaption = "vltInfoBox", .rightTopOfStyle4 = 193, .lastSkinnedStyle = 4,
                              .whiteLabels = kWhiteLabels, .captionInTopRowForStyle5 = false};
// Stored files carry this spelling as the default; it must not change.
constexpr std::string_view kDefaultInfo = "infomation";
constexpr std::int32_t kOpaque = 1;
}  // namespace

vltInfoBox::vltInfoBox(ControlHost& host) : SkinFrame(host, kVariant), Label2(host.label("Label2")) {}

// ---- Property operations ----

// Applied also when unchanged: a restored box and a box whose back style was set have a
// transparent surface, a new one keeps its opaque design surface.
void vltInfoBox::BackStyle(std::int32_t v) {
    backStyle_ = v;
    ApplyBackStyle();
}

void vltInfoBox::Info(std::string v) {
    info_ = std::move(v);
    Label2.Caption(info_);
    host().PartChanged(PartChange::Name, 0);
}

// ---- Routines ----

void vltInfoBox::PlaceTexts(FrameSteps& step) {
    step([&] { PlaceCaption(); });
    step([&] { PlaceInfo(); });
}

// Only the Baby_reddarkbox skin moves the information, below its tall top row; any other
// style leaves it where it is, also where that skin put it.
void vltInfoBox::PlaceInfo() {
    if (Style() == Baby_reddarkbox) Label2.Top(Image1(0).Height() + 30);
}

// Hidden slices keep their pictures and are still laid out, so showing them again needs
// no reload.
void vltInfoBox::ApplyBackStyle() {
    const bool skinShown = backStyle_ != 0;
    for (int i = 0; i < 3; ++i) {
        Image1(i).Visible(skinShown);
        Image2(i).Visible(skinShown);
        Image3(i).Visible(skinShown);
    }
    host().surface().BackStyle(0);
}

// ---- Lifecycle ----

void vltInfoBox::Initialize() {
    SkinFrame::Initialize();
    backStyle_ = kOpaque;
}

// Every key is read before anything is laid out, so a value that is no integer leaves
// the frame as it was.
void vltInfoBox::ReadProperties(const PropertyBag& bag) {
    caption_ = bag.ReadProperty("Caption", Variant(kVariant.defaultCaption)).toString();
    style_ = bag.ReadProperty("Style", std::int32_t{0}).toInt32();
    info_ = bag.ReadProperty("Info", Variant(kDefaultInfo)).toString();
    backStyle_ = bag.ReadProperty("BackStyle", kOpaque).toInt32();
    ArrangeFrame(true);
    Label1.Caption(caption_);
    Label2.Caption(info_);
    PlaceCaption();
    ApplyBackStyle();
}

void vltInfoBox::WriteProperties(PropertyBag& bag) {
    bag.WriteProperty("Caption", caption_, Variant(kVariant.defaultCaption));
    bag.WriteProperty("Info", info_, Variant(kDefaultInfo));
    bag.WriteProperty("Style", style_, std::int32_t{0});
    bag.WriteProperty("BackStyle", backStyle_, kOpaque);
}


// ---- Screen readers ----

AccessibleParts vltInfoBox::DescribeParts() const {
    AccessibleParts d = SkinFrame::DescribeParts();
    d.add({.role = PartRole::StaticText, .name = Label2.Caption(), .encoding = Label2.encoding(), .bounds = Label2.bounds(),
           .readOnly = true});
    return d;
}

}  // namespace talvik::controls
