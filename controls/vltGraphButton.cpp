#include "controls/vltGraphButton.h"

#include <cstdint>
#include <span>

#include "frame/host/ControlHost.h"
#include "frame/host/HostError.h"
#include "frame/host/PropertyBag.h"
#include "resources/Resources.h"

namespace talvik::controls {

// ---- Template ----

namespace {
constexpr float kEdgeWidth = 45;
constexpr std::string_view kDefaultCaption = "vltButton";
}  // namespace

// Both sets cover the same rectangles, the highlighted one above; the caption lies on top.
const ControlTemplate& vltGraphButton::Design() {
    static const ControlTemplate t = [] {
        ControlTemplate t{.width = 1155, .height = 465};
        const auto piece = [](float width) {
            return [width](int) {
                return ElementSpec{.width = width, .height = 465, .stretch = true};
            };
        };
        t.addArray("Image1", 2, piece(kEdgeWidth));
        t.addArray("Image2", 2, piece(1065));
        t.addArray("Image3", 2, piece(kEdgeWidth));
        for (ElementSpec& e : t.elements) {
            e.picture = e.name + "(" + std::to_string(e.index) + ")";
            if (e.name == "Image2") e.left = kEdgeWidth;
            if (e.name == "Image3") e.left = 1155 - kEdgeWidth;
        }
        t.add({.kind = ElementKind::Label,
               .name = "Label1",
               .left = 300,
               .top = 135,
               .caption = std::string(kDefaultCaption),
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
    property<vltGraphButton, std::string, &vltGraphButton::CaptionText, &vltGraphButton::CaptionText>("CaptionText",
                                                                                                      kProperty + 1),
    property<vltGraphButton, bool, &vltGraphButton::Enabled, &vltGraphButton::Enabled>("Enabled", kProperty + 0),
};

// ---- Events ----

using enum VarType;
constexpr ArgDecl kAccessKeyArgs[] = {{"KeyAscii", Int16, false}};
constexpr ArgDecl kDragDropArgs[] = {{"Source", Object, false}, {"X", Float, true}, {"Y", Float, true}};
constexpr ArgDecl kDragOverArgs[] = {
    {"Source", Object, true}, {"X", Float, true}, {"Y", Float, true}, {"State", Int16, true}};
constexpr ArgDecl kKeyArgs[] = {{"KeyCode", Int16, true}, {"Shift", Int16, true}};
constexpr ArgDecl kKeyPressArgs[] = {{"KeyAscii", Int16, true}};
constexpr ArgDecl kMouseArgs[] = {{"Button", Int16, true}, {"Shift", Int16, true}, {"X", Float, true}, {"Y", Float, true}};
constexpr ArgDecl kCompleteDragArgs[] = {{"Effect", Int32, true}};
constexpr ArgDecl kOleDropArgs[] = {{"Data", Object, true}, {"Effect", Int32, true}, {"Button", Int16, true},
                                    {"Shift", Int16, true}, {"X", Float, true},      {"Y", Float, true}};
constexpr ArgDecl kOleOverArgs[] = {{"Data", Object, true},  {"Effect", Int32, true}, {"Button", Int16, true},
                                    {"Shift", Int16, true},  {"X", Float, true},      {"Y", Float, true},
                                    {"State", Int16, true}};
constexpr ArgDecl kFeedbackArgs[] = {{"Effect", Int32, true}, {"DefaultCursors", Bool, true}};
constexpr ArgDecl kSetDataArgs[] = {{"Data", Object, true}, {"DataFormat", Int16, true}};
constexpr ArgDecl kStartDragArgs[] = {{"Data", Object, true}, {"AllowedEffects", Int32, true}};

constexpr EventDecl kEvents[] = {
    {"AccessKeyPress", 1, kAccessKeyArgs}, {"DblClick", 2, {}},
    {"Click", 3, {}},                      {"vltDragDrop", 4, kDragDropArgs},
    {"vltDragOver", 5, kDragOverArgs},     {"EnterFocus", 6, {}},
    {"ExitFocus", 7, {}},                  {"vltGotFocus", 8, {}},
    {"KeyDown", 9, kKeyArgs},              {"KeyPress", 10, kKeyPressArgs},
    {"KeyUp", 11, kKeyArgs},               {"vltLostFocus", 12, {}},
    {"MouseDown", 13, kMouseArgs},         {"MouseUp", 14, kMouseArgs},
    {"OLECompleteDrag", 15, kCompleteDragArgs}, {"OLEDragDrop", 16, kOleDropArgs},
    {"OLEDragOver", 17, kOleOverArgs},     {"OLEGiveFeedback", 18, kFeedbackArgs},
    {"OLESetData", 19, kSetDataArgs},      {"OLEStartDrag", 20, kStartDragArgs},
    {"Paint", 21, {}},                     {"Resize", 22, {}},
    {"Terminate", 23, {}},                 {"MouseMove", 24, kMouseArgs},
};

enum class Raised {
    AccessKeyPress, DblClick, Click, vltDragDrop, vltDragOver, EnterFocus, ExitFocus, vltGotFocus, KeyDown, KeyPress,
    KeyUp, vltLostFocus, MouseDown, MouseUp, OLECompleteDrag, OLEDragDrop, OLEDragOver, OLEGiveFeedback, OLESetData,
    OLEStartDrag, Paint, Resize, Terminate, MouseMove,
};

// Where each argument of a raised event comes from in the input event, in the order the
// event declares its arguments.
enum class From : std::uint8_t { Button, Shift, X, Y, Key, State, Format, Effect, DefaultCursors, Dragged, Data };

constexpr From kFromKey[] = {From::Key};
constexpr From kFromKeyShift[] = {From::Key, From::Shift};
constexpr From kFromDrop[] = {From::Dragged, From::X, From::Y};
constexpr From kFromDragOver[] = {From::Dragged, From::X, From::Y, From::State};
constexpr From kFromMouse[] = {From::Button, From::Shift, From::X, From::Y};
constexpr From kFromEffect[] = {From::Effect};
constexpr From kFromOleDrop[] = {From::Data, From::Effect, From::Button, From::Shift, From::X, From::Y};
constexpr From kFromOleOver[] = {From::Data, From::Effect, From::Button, From::Shift, From::X, From::Y, From::State};
constexpr From kFromFeedback[] = {From::Effect, From::DefaultCursors};
constexpr From kFromSetData[] = {From::Data, From::Format};
constexpr From kFromStartDrag[] = {From::Data, From::Effect};

Variant argOf(const InputEvent& ev, From f) {
    switch (f) {
        case From::Button: return ev.button;
        case From::Shift: return ev.shift;
        case From::X: return ev.x;
        case From::Y: return ev.y;
        case From::Key: return ev.key;
        case From::State: return ev.state;
        case From::Format: return ev.format;
        case From::Effect: return ev.effect;
        case From::DefaultCursors: return ev.defaultCursors;
        case From::Dragged: return ObjectRef{.element = ev.dragged};
        case From::Data: return ObjectRef{.data = ev.data};
    }
    return {};
}

// A by-reference argument refers to the value the button received, so what the
// container's handler leaves in it goes back to whoever delivered the input.
void giveBack(const InputEvent& ev, From f, const Variant& v) {
    switch (f) {
        case From::Button: ev.button = v.toInt16(); break;
        case From::Shift: ev.shift = v.toInt16(); break;
        case From::X: ev.x = v.toFloat(); break;
        case From::Y: ev.y = v.toFloat(); break;
        case From::Key: ev.key = v.toInt16(); break;
        case From::State: ev.state = v.toInt16(); break;
        case From::Format: ev.format = v.toInt16(); break;
        case From::Effect: ev.effect = v.toInt32(); break;
        case From::DefaultCursors: ev.defaultCursors = v.toBool(); break;
        case From::Dragged: case From::Data: break;  // the objects themselves stay what they are
    }
}

// Raises the event with the input's own arguments.
void forward(ControlHost& host, Raised which, const InputEvent& ev, std::span<const From> from = {}) {
    const EventDecl& decl = kEvents[static_cast<int>(which)];
    Variant args[7];
    for (std::size_t i = 0; i < from.size(); ++i) args[i] = argOf(ev, from[i]);
    host.RaiseEvent(decl, std::span(args, from.size()));
    for (std::size_t i = 0; i < from.size(); ++i)
        if (decl.args[i].byRef) giveBack(ev, from[i], args[i]);
}

void raise(ControlHost& host, Raised which) { host.RaiseEvent(kEvents[static_cast<int>(which)], {}); }

}  // namespace

const ControlClass vltGraphButton::Class{
    .name = "vltGraphButton",
    .members = kMembers,
    .events = kEvents,
    .design = &vltGraphButton::Design,
    .create = &construct<vltGraphButton>,
    .pictures = &resources::kPictureFiles,
};

// ---- Fields ----

vltGraphButton::vltGraphButton(ControlHost& host)
    : Control(host),
      Image1(host.images("Image1")),
      Image2(host.images("Image2")),
      Image3(host.images("Image3")),
      Label1(host.label("Label1")) {}

// ---- Property operations ----

void vltGraphButton::CaptionText(std::string v) {
    caption_ = std::move(v);
    Label1.Caption(caption_);
    CenterCaption();
}

void vltGraphButton::Enabled(bool v) {
    enabled_ = v;
    SetChildrenEnabled(v);
}

// ---- Routines ----

void vltGraphButton::ShowHighlighted() {
    for (const auto* a : {&Image1, &Image2, &Image3}) (*a)(0).Visible(false);
    for (const auto* a : {&Image1, &Image2, &Image3}) (*a)(1).Visible(true);
}

void vltGraphButton::ShowNormal() {
    for (const auto* a : {&Image1, &Image2, &Image3}) (*a)(0).Visible(true);
    for (const auto* a : {&Image1, &Image2, &Image3}) (*a)(1).Visible(false);
}

// Each value is read back from the elements as it is needed, so the highlighted set
// follows the normal one and the middle fills what the edges leave.
void vltGraphButton::Arrange() {
    const Surface& s = host().surface();
    Image1(0).Left(0);
    Image1(1).Left(Image1(0).Left());
    Image1(0).Top(0);
    Image1(1).Top(Image1(0).Top());
    Image1(0).Height(s.Height());
    Image1(1).Height(s.Height());
    Image2(0).Top(0);
    Image2(1).Top(Image2(0).Top());
    Image2(0).Height(Image1(0).Height());
    Image2(1).Height(Image2(0).Height());
    Image3(0).Top(0);
    Image3(1).Top(Image3(0).Top());
    Image3(0).Height(Image1(0).Height());
    Image3(1).Height(Image1(0).Height());
    Image3(0).Left(s.Width() - Image3(0).Width());
    Image3(1).Left(Image3(0).Left());
    Image2(0).Width(Image3(0).Left() - Image1(0).Width());
    Image2(1).Width(Image2(0).Width());
    Image2(0).Left(Image1(0).Width());
    Image2(1).Left(Image2(0).Left());
}

// A caption wider than the button starts at its left edge; a taller one overhangs both
// edges alike. Nothing here may fail the caller: a failing step is skipped.
void vltGraphButton::CenterCaption() {
    const Surface& s = host().surface();
    ResumeNext step;
    step([&] {
        const float w = s.Width();
        if (Label1.Width() > w) Label1.Left(0);
        else Label1.Left(w / 2 - Label1.Width() / 2);
    });
    step([&] { Label1.Top(s.Height() / 2 - Label1.Height() / 2); });
}

void vltGraphButton::SetChildrenEnabled(bool v) {
    for (const Element e : host().elements()) {
        if (e.is<Image>()) e.as<Image>().Enabled(v);
        else if (e.is<Label>()) e.as<Label>().Enabled(v);
    }
}

// ---- Lifecycle ----

// The design caption is cleared before anything is shown.
void vltGraphButton::Initialize() {
    Label1.Caption(caption_);
    Arrange();
    for (const auto* a : {&Image1, &Image2, &Image3}) (*a)(1).Visible(false);
    enabled_ = true;
    CenterCaption();
}

// The caption is kept once read, even when the stored Enabled turns out not to be a
// boolean.
void vltGraphButton::ReadProperties(const PropertyBag& bag) {
    caption_ = bag.ReadProperty("CaptionText", Variant(kDefaultCaption)).toString();
    enabled_ = bag.ReadProperty("Enabled", enabled_).toBool();
    SetChildrenEnabled(enabled_);
    const std::string tip = bag.ReadProperty("ToolTipText", Variant("")).toString();
    // The right edge carries no tip.
    Label1.ToolTipText(tip);
    Image2(0).ToolTipText(tip);
    Image2(1).ToolTipText(tip);
    Image1(0).ToolTipText(tip);
    Image1(1).ToolTipText(tip);
    Label1.Caption(caption_);  // its Change centres it
}

void vltGraphButton::WriteProperties(PropertyBag& bag) {
    bag.WriteProperty("CaptionText", caption_, Variant(kDefaultCaption));
    bag.WriteProperty("Enabled", enabled_, true);
}

void vltGraphButton::Resize() {
    Arrange();
    CenterCaption();
    raise(host(), Raised::Resize);
}

void vltGraphButton::Paint() { raise(host(), Raised::Paint); }

void vltGraphButton::Terminate() { raise(host(), Raised::Terminate); }

// ---- Event handlers ----

void vltGraphButton::OnEvent(const InputEvent& ev) {
    ControlHost& h = host();
    const bool surface = !ev.source;
    switch (ev.kind) {
        case EventKind::Click: return raise(h, Raised::Click);
        case EventKind::DblClick: return raise(h, Raised::DblClick);
        case EventKind::MouseDown: return forward(h, Raised::MouseDown, ev, kFromMouse);
        case EventKind::MouseUp: return forward(h, Raised::MouseUp, ev, kFromMouse);
        case EventKind::MouseMove:
            // The edges pass nothing on; only the bare surface lights the button up.
            if (Image1.holds(ev.source) || Image3.holds(ev.source)) return;
            if (surface) ShowHighlighted();
            return forward(h, Raised::MouseMove, ev, kFromMouse);
        case EventKind::Change:
            if (ev.source == Label1) CenterCaption();
            return;
        default: break;
    }
    if (!surface) return;
    switch (ev.kind) {
        case EventKind::KeyPress:
            if (ev.key == 13) return raise(h, Raised::Click);  // Enter presses the button
            return forward(h, Raised::KeyPress, ev, kFromKey);
        case EventKind::KeyDown: return forward(h, Raised::KeyDown, ev, kFromKeyShift);
        case EventKind::KeyUp: return forward(h, Raised::KeyUp, ev, kFromKeyShift);
        case EventKind::AccessKeyPress: return forward(h, Raised::AccessKeyPress, ev, kFromKey);
        case EventKind::GotFocus:
            ShowHighlighted();
            return raise(h, Raised::vltGotFocus);
        case EventKind::LostFocus:
            ShowNormal();
            return raise(h, Raised::vltLostFocus);
        case EventKind::EnterFocus: return raise(h, Raised::EnterFocus);
        case EventKind::ExitFocus:
            ShowNormal();
            return raise(h, Raised::ExitFocus);
        case EventKind::DragDrop: return forward(h, Raised::vltDragDrop, ev, kFromDrop);
        case EventKind::DragOver: return forward(h, Raised::vltDragOver, ev, kFromDragOver);
        case EventKind::OLECompleteDrag: return forward(h, Raised::OLECompleteDrag, ev, kFromEffect);
        case EventKind::OLEDragDrop: return forward(h, Raised::OLEDragDrop, ev, kFromOleDrop);
        case EventKind::OLEDragOver: return forward(h, Raised::OLEDragOver, ev, kFromOleOver);
        case EventKind::OLEGiveFeedback: return forward(h, Raised::OLEGiveFeedback, ev, kFromFeedback);
        case EventKind::OLESetData: return forward(h, Raised::OLESetData, ev, kFromSetData);
        case EventKind::OLEStartDrag: return forward(h, Raised::OLEStartDrag, ev, kFromStartDrag);
        case EventKind::Paint: return raise(h, Raised::Paint);
        default: return;  // AmbientChanged and the rest pass nothing on
    }
}

}  // namespace talvik::controls
