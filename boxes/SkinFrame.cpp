#include "boxes/SkinFrame.h"

#include <algorithm>
#include <optional>

#include "boxes/SkinTable.h"
#include "frame/host/Arith.h"
#include "frame/host/ControlHost.h"
#include "frame/describe/Enumerations.h"
#include "frame/host/PropertyBag.h"

namespace talvik::controls {

namespace {
constexpr Colour kWhite = 0x00FFFFFF;
}  // namespace

// ---- Template ----

ControlTemplate SkinFrame::frameTemplate() {
    ControlTemplate t;
    t.width = 2895;
    t.height = 1485;
    t.backColor = 0x00DAB08E;
    ElementSpec slice;
    slice.kind = ElementKind::Image;
    for (const char* row : {"Image1", "Image2", "Image3"}) t.addArray(row, 3, [&](int) { return slice; });
    ElementSpec caption;
    caption.kind = ElementKind::Label;
    caption.name = "Label1";
    caption.caption = "Label1";
    caption.autoSize = true;
    caption.transparent = true;
    caption.foreColor = kHighlight;
    caption.font = {"Veltrane Sans Serif", 8.25f, true, false};
    t.add(std::move(caption));
    return t;
}

// ---- Fields ----

SkinFrame::SkinFrame(ControlHost& host, const BoxVariant& variant)
    : Control(host),
      Image1(host.images("Image1")),
      Image2(host.images("Image2")),
      Image3(host.images("Image3")),
      Label1(host.label("Label1")),
      variant_(variant) {}

// ---- Property operations ----

void SkinFrame::Style(std::int32_t v) {
    style_ = v;
    ArrangeFrame(true);
}

void SkinFrame::Caption(std::string v) {
    caption_ = std::move(v);
    Label1.Caption(caption_);
    host().PartChanged(PartChange::Name);
}

std::int32_t SkinFrame::BottomHeight() const { return roundHalfEven(Image3(0).Height()); }

// ---- Routines ----

void SkinFrame::NineSliceFrame() {
    SkinLoading();
    const std::optional<SkinRow> skin = skinRow(style_, variant_);
    if (!skin) return;  // the slices keep their pictures, the caption its colour
    const auto load = [&](const ElementArray<Image>& row, const std::array<SliceBitmap, 3>& bitmaps) {
        for (int i = 0; i < 3; ++i) row(i).setPicture(host().LoadResPicture(bitmaps[i].id(), 0));
    };
    load(Image1, skin->top);
    Image1(1).Stretch(true);
    load(Image3, skin->bottom);
    Image3(1).Stretch(true);
    load(Image2, skin->middle);
    for (const Image slice : Image2) slice.Stretch(true);
    for (const WhiteLabel& w : variant_.whiteLabels)
        if (w.styles.has(style_)) host().label(w.label).ForeColor(kWhite);
}

void SkinFrame::ArrangeFrame(bool reloadSkin) {
    FrameSteps step(variant_.arrangeErrors);
    const Surface& box = host().surface();
    // A box narrower than its two corners gets a middle slice of no width; the corners
    // then overlap, and everything else is placed as usual.
    const auto between = [](float right, float left) { return std::max(right - left, 0.0f); };

    // 1. Skin
    if (reloadSkin) {
        step([&] { NineSliceFrame(); });
        SkinLoaded(step);
    }

    // 2. Top row
    step([&] { Image1(0).Top(0); });
    step([&] { Image1(1).Top(0); });
    step([&] { Image1(2).Top(0); });
    step([&] { Image1(0).Left(0); });
    step([&] { Image1(2).Left(box.Width() - Image1(2).Width()); });
    step([&] { Image1(1).Left(Image1(0).Width()); });
    step([&] { Image1(1).Width(between(Image1(2).Left(), Image1(0).Width())); });
    step([&] { Image1(1).Height(Image1(0).Height()); });

    // 3. Bottom row
    step([&] { Image3(0).Left(0); });
    step([&] { Image3(0).Top(box.Height() - Image3(0).Height()); });
    step([&] { Image3(1).Top(Image3(0).Top()); });
    step([&] { Image3(2).Top(Image3(0).Top()); });
    step([&] { Image3(2).Left(box.Width() - Image3(2).Width()); });
    step([&] { Image3(1).Left(Image3(0).Width()); });
    step([&] { Image3(1).Width(between(Image3(2).Left(), Image3(0).Width())); });
    step([&] { Image3(1).Height(Image3(0).Height()); });

    // 4. Middle row, across: its side columns follow the top corners, not their own bitmaps.
    step([&] { Image2(0).Left(0); });
    step([&] { Image2(0).Top(Image1(0).Height()); });
    step([&] { Image2(1).Top(Image2(0).Top()); });
    step([&] { Image2(2).Top(Image2(0).Top()); });
    step([&] { Image2(0).Width(Image1(0).Width()); });
    step([&] { Image2(2).Width(Image1(2).Width()); });
    step([&] { Image2(2).Left(box.Width() - Image2(2).Width()); });
    step([&] { Image2(1).Left(Image2(0).Width()); });
    step([&] { Image2(1).Width(between(Image2(2).Left(), Image2(0).Width())); });

    // 5. Middle row, down: a box lower than its top and bottom rows keeps a 1-twip middle row.
    step([&] {
        const float d = Image3(0).Top() - Image1(0).Height();
        Image2(0).Height(d < 0 ? 1.0f : d);
    });
    step([&] { Image2(1).Height(Image2(0).Height()); });
    step([&] { Image2(2).Height(Image2(0).Height()); });

    // 6.
    ArrangeButtons(step);

    // 7, 8. Caption
    step([&] { Label1.Caption(caption_); });
    PlaceTexts(step);

    ArrangeFinished(step);
}

void SkinFrame::PlaceTexts(FrameSteps& step) {
    step([&] { PlaceCaption(); });
}

void SkinFrame::PlaceCaption() {
    const float W = host().surface().Width();
    // A caption wider than the box starts at its left edge and is cut at the right.
    if (Label1.Width() <= W)
        Label1.Left(W / 2 - Label1.Width() / 2);
    else
        Label1.Left(0);
    Label1.Top(Image3(0).Top() + 45);
    // The Baby_FireFox skin's tall row is the top one: the caption sits in it, 45 twips above its lower edge.
    if (variant_.captionInTopRowForStyle5 && style_ == Baby_FireFox)
        Label1.Top(Image1(0).Height() - (Label1.Height() + 45));
}

// ---- Lifecycle ----

void SkinFrame::Initialize() { ArrangeFrame(true); }

void SkinFrame::InitProperties() {
    // Unless the box shows it at once, the label stays empty until the host's first
    // Resize lays the frame out.
    caption_ = variant_.defaultCaption;
    if (variant_.showsCaptionAtOnce) Label1.Caption(caption_);
    PlaceCaption();
}

void SkinFrame::ReadProperties(const PropertyBag& bag) {
    caption_ = bag.ReadProperty("Caption", Variant(variant_.defaultCaption)).toString();
    if (variant_.showsCaptionAtOnce) Label1.Caption(caption_);
    style_ = bag.ReadProperty("Style", std::int32_t{0}).toInt32();
    ArrangeFrame(true);
    Label1.Caption(caption_);
    PlaceCaption();
}

void SkinFrame::WriteProperties(PropertyBag& bag) {
    bag.WriteProperty("Caption", caption_, Variant(variant_.defaultCaption));
    bag.WriteProperty("Style", style_, std::int32_t{0});
}

// Resizing only moves and sizes the slices; no bitmap is loaded again.
void SkinFrame::Resize() { ArrangeFrame(false); }

// ---- Event handlers ----

void SkinFrame::OnEvent(const InputEvent& ev) {
    if (ev.kind == EventKind::Change && ev.source == Label1) PlaceCaption();
}


// ---- Screen readers ----

AccessibleParts SkinFrame::DescribeParts() const {
    AccessibleParts d;
    d.self.name = Label1.Caption();
    d.self.encoding = Label1.encoding();
    d.takesFocus = false;
    return d;
}

}  // namespace talvik::controls
