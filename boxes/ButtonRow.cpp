#include "boxes/ButtonRow.h"

#include "frame/host/ControlHost.h"

namespace talvik::controls {

ButtonRow::ButtonRow(ControlHost& host, const BoxVariant& variant, const ButtonRowKind& kind)
    : SkinFrame(host, variant), Image4(host.images("Image4")), kind_(kind) {}

ControlTemplate ButtonRow::buttonTemplate(int count) {
    ControlTemplate t = frameTemplate();
    ElementSpec button;
    button.kind = ElementKind::Image;
    t.addArray("Image4", count, [&](int) { return button; });
    return t;
}

// ---- Pictures ----

namespace {
bool sameBitmaps(const ButtonSet& a, const ButtonSet& b) {
    for (int i = 0; i < kMaxButtons; ++i)
        if (a.bitmaps[i].id().text() != b.bitmaps[i].id().text()) return false;
    return true;
}
}  // namespace

// Styles that show the same bitmaps share their loaded pictures.
int ButtonRow::loadedIndex(const ButtonSet* set) {
    if (set == nullptr) return -1;
    for (std::size_t i = 0; i < loaded_.size(); ++i)
        if (loaded_[i].set == set || sameBitmaps(*loaded_[i].set, *set)) return static_cast<int>(i);
    loaded_.push_back({set, {}});
    return static_cast<int>(loaded_.size() - 1);
}

void ButtonRow::resolve() {
    if (resolved_ && resolvedStyle_ == style_) return;
    const auto pick = [&](std::span<const ButtonSet> table, const ButtonSet* otherwise) {
        return style_ >= 0 && static_cast<std::size_t>(style_) < table.size() ? &table[style_] : otherwise;
    };
    normal_ = loadedIndex(pick(kind_.normal, kind_.normalOtherwise));
    hover_ = loadedIndex(pick(kind_.hover, kind_.hoverOtherwise));
    resolvedStyle_ = style_;
    resolved_ = true;
}

const Picture& ButtonRow::picture(int loaded, int button) {
    Loaded& l = loaded_[loaded];
    Picture& p = l.pictures[button];
    if (p.empty()) p = host().LoadResPicture(l.set->bitmaps[button].id(), 0);
    return p;
}

void ButtonRow::SetButtonPictures(int hover) {
    resolve();
    const int count = Image4.Count();
    if (kind_.stretchOff)
        for (const Image button : Image4) button.Stretch(false);
    // Each button is given its final picture once, so that a button that stays as it
    // is is not touched; the pictures are loaded in the order the buttons are refreshed,
    // and a load that fails leaves the buttons before it in their normal picture.
    std::array<const Picture*, kMaxButtons> shown{};
    int ready = 0;
    try {
        if (normal_ >= 0)
            for (; ready < count; ++ready) shown[ready] = &picture(normal_, ready);
        if (hover_ >= 0 && hover >= 0 && hover < count) shown[hover] = &picture(hover_, hover);
    } catch (...) {
        for (int i = 0; i < ready; ++i) Image4(i).setPicture(*shown[i]);
        throw;
    }
    for (int i = 0; i < count; ++i)
        if (shown[i] != nullptr) Image4(i).setPicture(*shown[i]);
}

// ---- Layout ----

void ButtonRow::PlaceButtonsDown(FrameSteps& step) {
    step([&] { Image4(0).Top(Image3(0).Top() - (Image4(0).Height() + 50)); });
    for (int i = 1; i < Image4.Count(); ++i) step([&] { Image4(i).Top(Image4(0).Top()); });
}

// ---- Input ----

void ButtonRow::OnEvent(const InputEvent& ev) {
    if (Image4.holds(ev.source)) {
        const std::int16_t i = ev.source.index();
        const EventDecl* raised = nullptr;
        switch (ev.kind) {
            case EventKind::MouseMove: SetButtonPictures(i); return;
            case EventKind::Click: raised = kind_.click; break;
            case EventKind::DblClick: raised = kind_.dblClick; break;
            default: return;
        }
        if (raised == nullptr) return;
        // The handler may change the argument; the box never reads it back.
        Variant button[] = {Variant(i)};
        host().RaiseEvent(*raised, button);
        return;
    }
    if (ev.kind == EventKind::MouseMove) {
        const auto on = [&](RestoreOn r) {
            return (static_cast<std::uint8_t>(kind_.restoreOn) & static_cast<std::uint8_t>(r)) != 0;
        };
        const bool restores = Image1.holds(ev.source) || Image2.holds(ev.source) || Image3.holds(ev.source) ||
                              (ev.source == Label1 && on(RestoreOn::Caption)) || (!ev.source && on(RestoreOn::Surface));
        if (restores) SetButtonPictures(kNone);
        return;
    }
    SkinFrame::OnEvent(ev);
}


// ---- Screen readers ----

AccessibleParts ButtonRow::DescribeParts() const {
    AccessibleParts d = SkinFrame::DescribeParts();
    d.takesFocus = true;
    for (std::int16_t i = 0; i < Image4.Count(); ++i) {
        const Image button = Image4(i);
        if (!button.Visible()) continue;
        d.add({.role = PartRole::Button,
               .name = kind_.names[static_cast<std::size_t>(i)] != nullptr ? kind_.names[static_cast<std::size_t>(i)] : "",
               .bounds = button.bounds(),
               .element = button,
               .action = PartAction::Press,
               .disabled = !button.Enabled()});
    }
    return d;
}

}  // namespace talvik::controls
