#include "frame/host/ControlHost.h"

#include <stdexcept>

#include "frame/host/HostError.h"
#include "frame/host/ResourceStore.h"

namespace talvik {

std::string ResId::text() const {
    if (const auto* n = std::get_if<std::int32_t>(&id_)) return std::to_string(*n);
    return std::get<std::string>(id_);
}

ControlHost::ControlHost() : surface_(*this) {}

ControlHost::~ControlHost() = default;

void ControlHost::create(const ControlClass& cls) {
    if (class_ != nullptr) throw std::logic_error("ControlHost::create called twice");
    class_ = &cls;
    const ControlTemplate& tpl = cls.design();
    model_.instantiate(ElementModel::prototype(cls), *this);
    // A host runs the timers the template starts with.
    for (Element e : elements())
        if (e.kind() == ElementKind::Timer) {
            const Timer t = e.as<Timer>();
            if (t.Interval() != 0 || !t.Enabled()) onTimerChanged(t);
        }
    surface_.BackColor(tpl.backColor);
    surface_.BackStyle(tpl.backStyle);
    surface_.setSize(tpl.width, tpl.height);  // no control yet, so no Resize
    control_ = cls.create(*this);
    takeDamage();
    model_.damage().add(surface_.bounds());
}

Element ControlHost::find(std::string_view name, int index) const {
    const std::optional<std::uint16_t> g = model_.findGroup(name);
    if (!g) return {};
    const ElementGroup& grp = model_.group(*g);
    if (index < 0 ? grp.isArray : !grp.isArray || index >= grp.count) return {};
    return Element(&model_, {*g, static_cast<std::uint16_t>(index < 0 ? 0 : index)});
}

Element ControlHost::elementAt(float x, float y) const {
    const std::optional<ElementSlot> s = model_.elementAt(x, y);
    return s ? Element(&model_, *s) : Element();
}

template <class T>
T ControlHost::single(std::string_view name) {
    const std::optional<std::uint16_t> g = model_.findGroup(name);
    if (g && !model_.group(*g).isArray && model_.group(*g).kind == T::Kind) return T(&model_, {*g, 0});
    throw std::logic_error("the template has no element " + std::string(name));
}

template <class T>
ElementArray<T> ControlHost::array(std::string_view name) {
    const std::optional<std::uint16_t> g = model_.findGroup(name);
    if (g && model_.group(*g).isArray && model_.group(*g).kind == T::Kind) return ElementArray<T>(&model_, *g);
    throw std::logic_error("the template has no element array " + std::string(name));
}

template Image ControlHost::single<Image>(std::string_view);
template Label ControlHost::single<Label>(std::string_view);
template Line ControlHost::single<Line>(std::string_view);
template PictureBox ControlHost::single<PictureBox>(std::string_view);
template Timer ControlHost::single<Timer>(std::string_view);
template Frame ControlHost::single<Frame>(std::string_view);
template ElementArray<Image> ControlHost::array<Image>(std::string_view);
template ElementArray<Label> ControlHost::array<Label>(std::string_view);
template ElementArray<Line> ControlHost::array<Line>(std::string_view);
template ElementArray<PictureBox> ControlHost::array<PictureBox>(std::string_view);

// ---- lifecycle ----

ControlHost::Guard::Guard(ControlHost& h) : host_(h) { ++host_.depth_; }

void ControlHost::Guard::leave() {
    left_ = true;
    if (--host_.depth_ == 0 && host_.destroyPending_ && host_.control_) host_.finishDestroy();
}

ControlHost::Guard::~Guard() {
    if (left_) return;
    if (--host_.depth_ != 0 || !host_.destroyPending_ || !host_.control_) return;
    // An exception is already on its way out: Terminate still runs and the control is
    // released, but nothing Terminate raises may replace that exception.
    try {
        host_.finishDestroy();
    } catch (...) {
    }
}

void ControlHost::Initialize() {
    if (control_) call([&] { control_->Initialize(); });
}

void ControlHost::InitProperties() {
    if (control_) call([&] { control_->InitProperties(); });
}

void ControlHost::ReadProperties(const PropertyBag& bag) {
    if (control_) call([&] { control_->ReadProperties(bag); });
}

void ControlHost::WriteProperties(PropertyBag& bag) {
    if (control_) call([&] { control_->WriteProperties(bag); });
}

void ControlHost::Paint() {
    if (control_) call([&] { control_->Paint(); });
}

void ControlHost::resizeTo(float width, float height) {
    call([&] { surface_.setSize(width, height); });
}

void ControlHost::surfaceResized() {
    if (control_ && !destroyPending_) call([&] { control_->Resize(); });
}

void ControlHost::deliver(const InputEvent& ev) {
    if (!control_ || destroyPending_) return;
    // A handle into another control's elements would let this control's handlers read
    // and change that control.
    if ((ev.source && !ev.source.belongsTo(model_)) || (ev.dragged && !ev.dragged.belongsTo(model_)))
        err::invalidCall();
    if (ev.source) {
        // What the mouse pointer does to an element, drops included.
        bool mouse = false;
        switch (ev.kind) {
            case EventKind::Click: case EventKind::DblClick: case EventKind::MouseDown: case EventKind::MouseUp:
            case EventKind::MouseMove: case EventKind::DragDrop: case EventKind::DragOver:
            case EventKind::OLEDragDrop: case EventKind::OLEDragOver: mouse = true; break;
            default: break;
        }
        if (mouse && (!ev.source.takesMouse() || !ev.source.isVisible() || !ev.source.isEnabled())) return;
    }
    call([&] { control_->OnEvent(ev); });
}

void ControlHost::tick(const Timer& t) {
    if (t.Enabled()) deliver({EventKind::Timer, t});
}

void ControlHost::destroy() {
    if (!control_ || destroyPending_) return;
    destroyPending_ = true;
    if (depth_ == 0) finishDestroy();
}

void ControlHost::finishDestroy() {
    // Terminate runs as a call of its own; its errors do not keep the control alive.
    std::unique_ptr<Control> c = std::move(control_);
    destroyed_ = true;
    struct Depth {
        int& d;
        explicit Depth(int& v) : d(v) { ++d; }
        ~Depth() { --d; }
    } depth(depth_);
    try {
        c->Terminate();
    } catch (const HostError&) {
    }
}

// ---- element owner ----

std::vector<RectF> ControlHost::takeDamage() { return model_.takeDamage(); }

void ControlHost::captionChanged(const Label& l) {
    if (control_ && !destroyPending_) call([&] { control_->OnEvent({EventKind::Change, l}); });
}

void ControlHost::timerChanged(const Timer& t) { onTimerChanged(t); }

TextExtent ControlHost::measure(std::string_view text, const Font& font) { return hostMeasureText(text, font); }

// ---- services ----

const PictureFiles& ControlHost::pictureFiles() const {
    static const PictureFiles none;
    return class_ != nullptr && class_->pictures != nullptr ? *class_->pictures : none;
}

Picture ControlHost::LoadResPicture(const ResId& id, int kind) {
    Picture p;
    check(hostLoadResPicture(id.text(), kind, p));
    return p;
}

ControlHost::Status ControlHost::hostLoadResPicture(const std::string& id, int kind, Picture& out) noexcept {
    try {
        if (kind != 0) err::invalidCall();
        out = findResourcePicture(pictureFiles(), id);
        if (out.empty()) err::resourceNotFound(id);
        return Status::ok();
    } catch (const HostError& e) {
        return Status::error(e.number, e.description);
    } catch (const std::exception&) {
        return Status::error(err::InvalidCall, "Invalid procedure call or argument");
    }
}

void ControlHost::RaiseEvent(const EventDecl& ev, std::span<Variant> args) { check(hostRaiseEvent(ev, args)); }

std::int32_t ControlHost::MsgBox(std::string_view text, std::int32_t flags, std::optional<std::string_view> title) {
    std::int32_t button = 0;
    check(hostMsgBox(text, flags, title, button));
    return button;
}

void ControlHost::SetScreenPointer(ScreenPointer p) { check(hostSetScreenPointer(p)); }

std::int32_t ControlHost::ShellOpen(const ShellRequest& request) {
    std::int32_t result = 0;
    check(hostShellOpen(request, result));
    return result;
}

TimeOfDay ControlHost::Now() {
    TimeOfDay t;
    check(hostNow(t));
    return t;
}

void ControlHost::PropertyChanged(std::string_view property) { check(hostPropertyChanged(property)); }

bool ControlHost::IsNumeric(std::string_view text) const { return isNumericText(text); }

void ControlHost::check(const Status& s) {
    if (s.number != 0) throw HostError(s.number, s.description);
}

}  // namespace talvik
