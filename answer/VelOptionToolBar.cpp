#include "answer/VelOptionToolBar.h"

#include <string>
#include <string_view>
#include <utility>

#include "frame/host/Arith.h"
#include "frame/host/ControlHost.h"
#include "frame/host/PropertyBag.h"
#include "resources/Resources.h"

namespace talvik::controls {

// ---- Template ----

namespace {
constexpr std::int16_t kBoxes = 9;
constexpr float kLabelLeft[kBoxes] = {330, 960, 1590, 2220, 2850, 3510, 4110, 4770, 5370};

ElementSpec image(float left, float top, float width, float height, std::string picture, bool stretch) {
    ElementSpec s;
    s.kind = ElementKind::Image;
    s.left = left;
    s.top = top;
    s.width = width;
    s.height = height;
    s.picture = std::move(picture);
    s.stretch = stretch;
    return s;
}

// A hidden store of one template picture (none when the name is empty).
ElementSpec pictureBox(std::string picture) {
    ElementSpec s;
    s.kind = ElementKind::PictureBox;
    s.visible = false;
    s.picture = std::move(picture);
    return s;
}

std::string pictureName(std::string_view array, int i) {
    return std::string(array) + "(" + std::to_string(i) + ")";
}
}  // namespace

const ControlTemplate& VelOptionToolBar::Design() {
    static const ControlTemplate t = [] {
        ControlTemplate t;
        t.width = 4800;
        t.height = 3600;
        ElementSpec background = image(0, -30, 6150, 1080, "Picture3(0)", true);
        background.name = "Image1";
        t.add(std::move(background));
        t.addArray("Image2", kBoxes, [](int i) { return image(300.0f + 630.0f * float(i), 60, 480, 480, "", false); });
        t.addArray("Label1", kBoxes, [](int i) {
            ElementSpec s;
            s.kind = ElementKind::Label;
            s.left = kLabelLeft[i];
            s.top = 630;
            s.width = 435;
            s.height = 285;
            s.caption = std::string(1, char('A' + i));
            s.foreColor = rgb(0, 0, 192);
            s.alignment = Alignment::Center;
            s.font = {"Times New Roman", 14.25f, true, false};
            s.transparent = true;
            return s;
        });
        for (const auto& store : {std::pair{"Picture1", 2}, {"Picture2", 2}, {"Picture3", 2}, {"Picture4", 4}})
            t.addArray(store.first, store.second, [array = store.first](int i) {
                // Picture3(1) is the empty background of the styles that show none.
                const bool empty = std::string_view(array) == "Picture3" && i == 1;
                return pictureBox(empty ? "" : pictureName(array, i));
            });
        return t;
    }();
    return t;
}

namespace {
using V = VelOptionToolBar;
constexpr MemberDesc kMembers[] = {
    property<V, std::int32_t, &V::VelStyle, &V::VelStyle>("VelStyle", StyleEnumType, kProperty + 5),
    property<V, std::int16_t, &V::VelCountItems, &V::VelCountItems>("VelCountItems", kProperty + 4),
    property<V, std::string, &V::VelValue, &V::VelValue>("VelValue", kProperty + 3),
    property<V, std::int32_t, &V::VelOptionChar, &V::VelOptionChar>("VelOptionChar", TypeOfCharEnumType, kProperty + 2),
    property<V, std::int32_t, &V::VelOptionBox, &V::VelOptionBox>("VelOptionBox", TypeOfOptionEnumType, kProperty + 1),
    method<&V::VelReset>("VelReset", 0x60030008),
    property<V, bool, &V::Enabled, &V::Enabled>("Enabled", kProperty + 0),
};
}  // namespace

const ControlClass VelOptionToolBar::Class{
    .name = "VelOptionToolBar",
    .ids = ClassIds{guid("{630F64F1-ADF9-4C0A-8814-8530A1E6E1BE}"), guid("{02E38380-FA68-4FF9-80E0-A1BDD45D1CEF}"),
                    guid("{F63F56C0-807B-41F1-B3A8-CAB3F8E89CE3}")},
    .members = kMembers,
    .design = &VelOptionToolBar::Design,
    .create = &construct<VelOptionToolBar>,
    .pictures = &resources::kPictureFiles,
};

// ---- Fields ----

VelOptionToolBar::VelOptionToolBar(ControlHost& host)
    : Control(host),
      Image1(host.image("Image1")),
      Image2(host.images("Image2")),
      Label1(host.labels("Label1")),
      Picture1(host.pictureBoxes("Picture1")),
      Picture2(host.pictureBoxes("Picture2")),
      Picture3(host.pictureBoxes("Picture3")),
      Picture4(host.pictureBoxes("Picture4")) {}

// ---- Property operations ----

void VelOptionToolBar::VelStyle(std::int32_t s) {
    style_ = s;
    switch (s) {
        case WindowXP:
            Image1.Visible(true);
            Image1.setPicture(Picture3(0).picture());
            break;
        case Window2k3:
        case FireFox2007:
            Image1.Visible(true);
            Image1.setPicture(Picture3(1).picture());
            break;
        case Veltrane:
            Image1.Visible(false);
            break;
        default:
            break;
    }
    UnmarkAll();
}

void VelOptionToolBar::VelCountItems(std::int16_t n) {
    if (n > 9 || n < 1) return;
    countItems_ = n;
    host().PartChanged(PartChange::Structure);
    std::int32_t total = 0;
    for (std::int16_t i = 0; i < kBoxes; ++i) {
        const bool shown = i < n;
        Image2(i).Visible(shown);
        Label1(i).Visible(shown);
        if (shown) total = roundHalfEven(double(total) + Image2(i).Width());
    }
    // Resize answers at once with the background's width, so the strip keeps its size.
    if (total >= 1) host().surface().Width(float(total + 100));
}

std::string VelOptionToolBar::VelValue() const {
    std::string v = value_;
    if (optionChar_ != VelLChar && optionChar_ != VelUChar) return v;
    const char first = optionChar_ == VelLChar ? 'a' : 'A';
    for (char& c : v)
        if (c >= '1' && c <= '9') c = char(first + (c - '1'));
    return v;
}

void VelOptionToolBar::VelValue(std::string text) {
    value_.clear();
    if (text.find_first_not_of(' ') == std::string::npos) return UnmarkAll();
    // A number keeps its letters: the "e" of "1e2" is no box.
    if (!host().IsNumeric(text)) {
        for (char& c : text) {
            if (c >= 'a' && c <= 'i') c = char('1' + (c - 'a'));
            else if (c >= 'A' && c <= 'I') c = char('1' + (c - 'A'));
        }
    }
    if (optionBox_ != VelCheck && text.size() >= 2) {
        host().MsgBox("Wrong value with VelOptionToolbar", kMsgOkOnly + kMsgCritical, "Veltrane");
        return;
    }
    MarkDigits(text);
}

void VelOptionToolBar::VelOptionChar(std::int32_t c) {
    optionChar_ = c;
    LabelBoxes();
}

void VelOptionToolBar::VelOptionBox(std::int32_t b) {
    optionBox_ = b;
    host().PartChanged(PartChange::Structure);
    if (b == VelCheck || b == VelOption) UnmarkAll();
    value_.clear();
}

void VelOptionToolBar::VelReset() {
    if (optionBox_ == VelCheck || optionBox_ == VelOption) UnmarkAll();
    LabelBoxes();
    value_.clear();
}

void VelOptionToolBar::Enabled(bool e) {
    enabled_ = e;
    EnableElements(e);
    host().PartChanged(PartChange::Structure);
}

// ---- Routines ----

// The picture rule: Veltrane and FireFox2007 have one pair for check boxes and option
// buttons alike; the other styles one pair for each.
const Picture& VelOptionToolBar::UnmarkedPicture() const {
    switch (VelStyle()) {
        case Veltrane: return Picture4(0).picture();
        case FireFox2007: return Picture4(3).picture();
        default: return (optionBox_ == VelCheck ? Picture1 : Picture2)(0).picture();
    }
}

const Picture& VelOptionToolBar::MarkedPicture() const {
    switch (VelStyle()) {
        case Veltrane: return Picture4(1).picture();
        case FireFox2007: return Picture4(2).picture();
        default: return (optionBox_ == VelCheck ? Picture1 : Picture2)(1).picture();
    }
}

// The Veltrane and FireFox2007 marks count in either kind of box; the kind of box only
// chooses which of the two XP marks counts.
bool VelOptionToolBar::IsMarked(const Image& box) const {
    const Picture& p = box.picture();
    const Picture& ownMarked = (optionBox_ == VelCheck ? Picture1 : Picture2)(1).picture();
    return p == ownMarked || p == Picture4(1).picture() || p == Picture4(2).picture();
}

void VelOptionToolBar::ShowMark(std::int16_t k, const Picture& p) {
    const Image box = Image2(k);
    const bool was = IsMarked(box);
    box.setPicture(p);
    if (IsMarked(box) != was) host().PartChanged(PartChange::State, k);
}

void VelOptionToolBar::UnmarkAll() {
    for (std::int16_t k = 0; k < Image2.Count(); ++k) ShowMark(k, UnmarkedPicture());
}

// Box k - 1 is marked when the text holds the digit k; a hidden box keeps its picture.
void VelOptionToolBar::MarkDigits(const std::string& text) {
    for (std::int16_t k = 1; k <= kBoxes; ++k) {
        const char digit = char('0' + k);
        const Image box = Image2(k - 1);
        if (text.find(digit) == std::string::npos) {
            ShowMark(k - 1, UnmarkedPicture());
        } else if (box.Visible()) {
            ShowMark(k - 1, MarkedPicture());
            value_ += digit;
        }
    }
}

void VelOptionToolBar::LabelBoxes() {
    for (std::int16_t i = 0; i < kBoxes; ++i) {
        const char c = optionChar_ == VelNumber ? char('1' + i) : optionChar_ == VelUChar ? char('A' + i) : char('a' + i);
        if (Label1(i).Caption() == std::string(1, c)) continue;
        Label1(i).Caption(std::string(1, c));
        if (i < countItems_) host().PartChanged(PartChange::Name, i);
    }
}

void VelOptionToolBar::EnableElements(bool e) {
    for (const Element el : host().elements()) {
        switch (el.kind()) {
            case ElementKind::Image: el.as<Image>().Enabled(e); break;
            case ElementKind::Label: el.as<Label>().Enabled(e); break;
            case ElementKind::PictureBox: el.as<PictureBox>().Enabled(e); break;
            default: break;
        }
    }
}

// ---- Lifecycle ----

void VelOptionToolBar::Initialize() {
    VelCountItems(4);
    Image1.Top(-30);
    Image1.Height(1080);
    Image1.Width(6150);
    Image1.Left(-5);
    Surface& surface = host().surface();
    surface.Height(Image1.Height() - 60);
    surface.Width(Image1.Width());
    optionBox_ = VelOption;
    optionChar_ = VelUChar;
    style_ = WindowXP;
    VelOptionBox(VelOption);
    VelOptionChar(VelUChar);
    VelStyle(WindowXP);
    VelReset();
    enabled_ = true;
}

void VelOptionToolBar::ReadProperties(const PropertyBag& bag) {
    ResumeNext step;
    step([&] { VelOptionBox(bag.ReadProperty("VelOptionBox", std::int32_t{VelOption}).toInt32()); });
    step([&] { VelOptionChar(bag.ReadProperty("VelOptionChar", std::int32_t{VelUChar}).toInt32()); });
    step([&] { VelCountItems(bag.ReadProperty("VelCountItems", std::int16_t{4}).toInt16()); });
    step([&] { VelStyle(bag.ReadProperty("VelStyle", std::int32_t{WindowXP}).toInt32()); });
    step([&] { enabled_ = bag.ReadProperty("Enabled", enabled_).toBool(); });
    step([&] { EnableElements(enabled_); });
}

void VelOptionToolBar::WriteProperties(PropertyBag& bag) {
    bag.WriteProperty("VelOptionBox", optionBox_, std::int32_t{VelOption});
    bag.WriteProperty("VelOptionChar", optionChar_, std::int32_t{VelUChar});
    bag.WriteProperty("VelCountItems", countItems_, std::int16_t{4});
    bag.WriteProperty("VelStyle", style_, std::int32_t{WindowXP});
    bag.WriteProperty("Enabled", enabled_, true);
}

void VelOptionToolBar::Resize() {
    Surface& surface = host().surface();
    surface.Height(Image1.Height() - 60);
    surface.Width(Image1.Width());
}

// ---- Event handlers ----

void VelOptionToolBar::OnEvent(const InputEvent& ev) {
    if (ev.kind == EventKind::Click && Image2.holds(ev.source)) BoxClick(ev.source.index());
}

void VelOptionToolBar::BoxClick(std::int16_t k) {
    const Image box = Image2(k);
    if (optionBox_ == VelCheck) {
        const Picture& p = box.picture();
        const bool unmarked = p == Picture1(0).picture() || p == Picture4(0).picture() || p == Picture4(3).picture();
        ShowMark(k, unmarked ? MarkedPicture() : UnmarkedPicture());
    } else if (optionBox_ == VelOption) {
        for (std::int16_t other = 0; other < Image2.Count(); ++other)
            if (other != k) ShowMark(other, UnmarkedPicture());
        ShowMark(k, box.picture() == MarkedPicture() ? UnmarkedPicture() : MarkedPicture());
    }
    // The value is read back from the pictures, so it lists the marked boxes in order.
    value_.clear();
    for (std::int16_t i = 0; i < kBoxes; ++i) {
        if (!IsMarked(Image2(i))) continue;
        const char digit = char('1' + i);
        if (optionBox_ == VelCheck) value_ += digit;
        else value_ = std::string(1, digit);
    }
}

// ---- Screen readers ----

AccessibleParts VelOptionToolBar::DescribeParts() const {
    AccessibleParts d;
    d.self.name = "Answer options";
    d.self.disabled = !enabled_;
    const bool boxes = optionBox_ == VelCheck || optionBox_ == VelOption;
    for (std::int16_t k = 0; k < countItems_; ++k) {
        const Image box = Image2(k);
        d.add({.role = optionBox_ == VelOption ? PartRole::RadioButton : PartRole::CheckBox,
               .name = Label1(k).Caption(),
               .encoding = Label1(k).encoding(),
               .bounds = box.bounds(),
               .element = box,
               .action = boxes ? PartAction::Toggle : PartAction::None,
               .checked = IsMarked(box),
               .disabled = !enabled_});
    }
    return d;
}

}  // namespace talvik::controls
