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

namespace {

template <class T>
std::unique_ptr<T> makeElement(const ElementSpec& s, ElementOwner& owner) {
    return std::make_unique<T>(s.name, s.index, owner);
}

}  // namespace

void ControlHost::create(const ControlClass& cls) {
    if (class_ != nullptr) throw std::logic_error("ControlHost::create called twice");
    class_ = &cls;
    const ControlTemplate& tpl = cls.design();
    ElementOwner& owner = *this;
    const auto pictureOf = [&](const ElementSpec& s) {
        return s.picture.empty() ? Picture() : templatePicture(pictureFiles(), tpl.className, s.picture);
    };
    for (const ElementSpec& s : tpl.elements) {
        std::unique_ptr<Element> e;
        switch (s.kind) {
            case ElementKind::Image: {
                auto img = makeElement<Image>(s, owner);
                img->Move(s.left, s.top, s.width, s.height);
                img->Stretch(s.stretch);
                img->setPicture(pictureOf(s));
                img->Visible(s.visible);
                img->Enabled(s.enabled);
                e = std::move(img);
                break;
            }
            case ElementKind::Label: {
                auto l = makeElement<Label>(s, owner);
                l->Move(s.left, s.top, s.width, s.height);
                l->setFont(s.font);
                l->ForeColor(s.foreColor);
                l->setBackColor(s.backColor);
                l->setTransparent(s.transparent);
                l->setAlignment(s.alignment);
                l->setEncoding(s.encoding);
                l->Caption(s.caption);
                l->setAutoSize(s.autoSize);
                l->Visible(s.visible);
                l->Enabled(s.enabled);
                e = std::move(l);
                break;
            }
            case ElementKind::Line: {
                auto l = makeElement<Line>(s, owner);
                l->X1(s.x1);
                l->Y1(s.y1);
                l->X2(s.x2);
                l->Y2(s.y2);
                l->BorderColor(s.borderColor);
                l->BorderWidth(s.borderWidth);
                l->Visible(s.visible);
                e = std::move(l);
                break;
            }
            case ElementKind::PictureBox: {
                auto p = makeElement<PictureBox>(s, owner);
                p->setPicture(pictureOf(s));
                p->Enabled(s.enabled);
                e = std::move(p);
                break;
            }
            case ElementKind::Timer: {
                auto t = makeElement<Timer>(s, owner);
                t->Interval(s.interval);
                t->Enabled(s.enabled);
                e = std::move(t);
                break;
            }
            case ElementKind::Frame: {
                auto f = makeElement<Frame>(s, owner);
                f->Move(s.left, s.top, s.width, s.height);
                f->Caption(s.caption);
                f->Visible(s.visible);
                e = std::move(f);
                break;
            }
        }
        if (s.index >= 0) {
            auto it = arrays_.find(s.name);
            if (it == arrays_.end()) {
                std::unique_ptr<ElementArrayBase> a;
                switch (s.kind) {
                    case ElementKind::Image: a = std::make_unique<ElementArray<Image>>(); break;
                    case ElementKind::Label: a = std::make_unique<ElementArray<Label>>(); break;
                    case ElementKind::Line: a = std::make_unique<ElementArray<Line>>(); break;
                    case ElementKind::PictureBox: a = std::make_unique<ElementArray<PictureBox>>(); break;
                    case ElementKind::Timer: a = std::make_unique<ElementArray<Timer>>(); break;
                    case ElementKind::Frame: a = std::make_unique<ElementArray<Frame>>(); break;
                }
                it = arrays_.emplace(s.name, std::move(a)).first;
            }
            switch (s.kind) {
                case ElementKind::Image: static_cast<ElementArray<Image>&>(*it->second).append(static_cast<Image&>(*e)); break;
                case ElementKind::Label: static_cast<ElementArray<Label>&>(*it->second).append(static_cast<Label&>(*e)); break;
                case ElementKind::Line: static_cast<ElementArray<Line>&>(*it->second).append(static_cast<Line&>(*e)); break;
                case ElementKind::PictureBox: static_cast<ElementArray<PictureBox>&>(*it->second).append(static_cast<PictureBox&>(*e)); break;
                case ElementKind::Timer: static_cast<ElementArray<Timer>&>(*it->second).append(static_cast<Timer&>(*e)); break;
                case ElementKind::Frame: static_cast<ElementArray<Frame>&>(*it->second).append(static_cast<Frame&>(*e)); break;
            }
        }
        elements_.push_back(std::move(e));
    }
    surface_.BackColor(tpl.backColor);
    surface_.BackStyle(tpl.backStyle);
    surface_.setSize(tpl.width, tpl.height);  // no control yet, so no Resize
    control_ = cls.create(*this);
    takeDamage();
    damage_.add(surface_.bounds());
}

Element* ControlHost::find(std::string_view name, int index) const {
    for (const auto& e : elements_)
        if (e->name() == name && (index < 0 ? !e->inArray() : e->inArray() && e->index() == index))
            return e.get();
    return nullptr;
}

template <class T>
T& ControlHost::single(std::string_view name) {
    for (const auto& e : elements_)
        if (!e->inArray() && e->name() == name)
            if (auto* t = dynamic_cast<T*>(e.get())) return *t;
    throw std::logic_error("the template has no element " + std::string(name));
}

template <class T>
ElementArray<T>& ControlHost::array(std::string_view name) {
    const auto it = arrays_.find(name);
    if (it != arrays_.end())
        if (auto* a = dynamic_cast<ElementArray<T>*>(it->second.get())) return *a;
    throw std::logic_error("the template has no element array " + std::string(name));
}

template Image& ControlHost::single<Image>(std::string_view);
template Label& ControlHost::single<Label>(std::string_view);
template Line& ControlHost::single<Line>(std::string_view);
template PictureBox& ControlHost::single<PictureBox>(std::string_view);
template Timer& ControlHost::single<Timer>(std::string_view);
template Frame& ControlHost::single<Frame>(std::string_view);
template ElementArray<Image>& ControlHost::array<Image>(std::string_view);
template ElementArray<Label>& ControlHost::array<Label>(std::string_view);
template ElementArray<Line>& ControlHost::array<Line>(std::string_view);
template ElementArray<PictureBox>& ControlHost::array<PictureBox>(std::string_view);

// ---- lifecycle ----

ControlHost::Guard::Guard(ControlHost& h) : host(h) { ++host.depth_; }

ControlHost::Guard::~Guard() noexcept(false) {
    if (--host.depth_ == 0 && host.destroyPending_) host.finishDestroy();
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
    if (ev.source != nullptr) {
        // What the mouse pointer does to an element, drops included.
        bool mouse = false;
        switch (ev.kind) {
            case EventKind::Click: case EventKind::DblClick: case EventKind::MouseDown: case EventKind::MouseUp:
            case EventKind::MouseMove: case EventKind::DragDrop: case EventKind::DragOver:
            case EventKind::OLEDragDrop: case EventKind::OLEDragOver: mouse = true; break;
            default: break;
        }
        if (mouse) {
            const auto* box = dynamic_cast<const BoxElement*>(ev.source);
            if (box == nullptr || !box->takesMouse() || !box->Visible() || !box->Enabled()) return;
        }
    }
    call([&] { control_->OnEvent(ev); });
}

void ControlHost::tick(Timer& t) {
    if (t.Enabled()) deliver({EventKind::Timer, &t});
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
    try {
        ++depth_;
        c->Terminate();
    } catch (const HostError&) {
    }
    --depth_;
}

// ---- element owner ----

void ControlHost::changed(Element& e) { changed_.push_back(&e); }

std::vector<RectF> ControlHost::takeDamage() {
    // A layout that moved many elements repaints their bounding box; sorting out
    // dozens of small rectangles would cost more than it saves.
    constexpr std::size_t kManyChanges = 16;
    const bool many = changed_.size() > kManyChanges;
    for (Element* e : changed_) {
        if (many) damage_.mergeAll();
        damage_.add(e->takePainted());
        damage_.add(e->isVisible() ? e->bounds() : RectF{});
    }
    changed_.clear();
    return damage_.take();
}

void ControlHost::captionChanged(Label& l) {
    if (control_ && !destroyPending_) call([&] { control_->OnEvent({EventKind::Change, &l}); });
}

void ControlHost::timerChanged(Timer& t) { onTimerChanged(t); }

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
