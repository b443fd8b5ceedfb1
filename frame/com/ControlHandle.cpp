#include "frame/com/ControlHandle.h"

#include <utility>

#include "frame/typelib/TypeLib.h"

namespace talvik {

namespace {

Outcome failed(HRESULT hr, std::int32_t number, std::string description) {
    return {hr, {number, std::move(description)}, {}};
}

// A result code that came without error info still tells the host what failed.
Outcome completed(HRESULT hr, ErrorInfo error, Variant value = {}) {
    if (!succeeded(hr) && error.number == 0 && error.description.empty()) {
        error.number = hr;
        error.description = hr == CLASS_E_CLASSNOTAVAILABLE ? "Class not available" : "Call failed";
    }
    return {hr, std::move(error), std::move(value)};
}

Outcome unbound() { return failed(E_POINTER, 91, "Object variable not set"); }

Outcome sited(IControl* object, std::shared_ptr<ControlHost> host, ControlHandle& control) {
    ControlHandle made(object);
    ErrorInfo error;
    const HRESULT hr = object->Site(std::move(host), &error);
    if (!succeeded(hr)) return completed(hr, std::move(error));
    control = std::move(made);
    return {};
}

}  // namespace

ControlHandle::ControlHandle(const ControlHandle& other) : object_(other.object_) {
    if (object_ != nullptr) object_->AddRef();
}

ControlHandle::ControlHandle(ControlHandle&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}

ControlHandle& ControlHandle::operator=(ControlHandle other) noexcept {
    std::swap(object_, other.object_);
    return *this;
}

ControlHandle::~ControlHandle() { reset(); }

void ControlHandle::reset() {
    if (IControl* o = std::exchange(object_, nullptr)) o->Release();
}

Outcome ControlHandle::invoke(std::int32_t id, InvokeKind kind, std::span<const Variant> args) const {
    if (object_ == nullptr) return unbound();
    ErrorInfo error;
    Variant value;
    const HRESULT hr = object_->Invoke(id, kind, args, &value, &error);
    return completed(hr, std::move(error), std::move(value));
}

namespace {
Outcome byName(IControl* object, std::string_view name, InvokeKind kind, std::span<const Variant> args) {
    if (object == nullptr) return unbound();
    std::int32_t id = 0;
    if (!succeeded(object->GetIDsOfNames(name, id)))
        return failed(DISP_E_UNKNOWNNAME, 438, "Object doesn't support this property or method");
    ErrorInfo error;
    Variant value;
    const HRESULT hr = object->Invoke(id, kind, args, &value, &error);
    return completed(hr, std::move(error), std::move(value));
}
}  // namespace

Outcome ControlHandle::get(std::string_view property) const {
    return byName(object_, property, InvokeKind::PropertyGet, {});
}

Outcome ControlHandle::let(std::string_view property, const Variant& value) const {
    return byName(object_, property, InvokeKind::PropertyPut, std::span<const Variant>(&value, 1));
}

Outcome ControlHandle::call(std::string_view method) const { return byName(object_, method, InvokeKind::Method, {}); }

namespace {
template <class F>
Outcome forward(IControl* object, F&& f) {
    if (object == nullptr) return unbound();
    ErrorInfo error;
    const HRESULT hr = f(*object, &error);
    return completed(hr, std::move(error));
}
}  // namespace

Outcome ControlHandle::initialize() const {
    return forward(object_, [](IControl& o, ErrorInfo* e) { return o.Initialize(e); });
}
Outcome ControlHandle::initProperties() const {
    return forward(object_, [](IControl& o, ErrorInfo* e) { return o.InitProperties(e); });
}
Outcome ControlHandle::readProperties(const PropertyBag& bag) const {
    return forward(object_, [&](IControl& o, ErrorInfo* e) { return o.ReadProperties(bag, e); });
}
Outcome ControlHandle::writeProperties(PropertyBag& bag) const {
    return forward(object_, [&](IControl& o, ErrorInfo* e) { return o.WriteProperties(bag, e); });
}
Outcome ControlHandle::show() const {
    return forward(object_, [](IControl& o, ErrorInfo* e) { return o.Show(e); });
}
Outcome ControlHandle::paint() const {
    return forward(object_, [](IControl& o, ErrorInfo* e) { return o.Paint(e); });
}
Outcome ControlHandle::resize(float width, float height) const {
    return forward(object_, [&](IControl& o, ErrorInfo* e) { return o.Resize(width, height, e); });
}
Outcome ControlHandle::deliver(const InputEvent& event) const {
    return forward(object_, [&](IControl& o, ErrorInfo* e) { return o.Deliver(event, e); });
}
Outcome ControlHandle::tick(const Timer& timer) const {
    return forward(object_, [&](IControl& o, ErrorInfo* e) { return o.Tick(timer, e); });
}
Outcome ControlHandle::destroy() const {
    return forward(object_, [](IControl& o, ErrorInfo* e) { return o.Destroy(e); });
}

Outcome createControl(std::string_view classNameOrId, std::shared_ptr<ControlHost> host, ControlHandle& control,
                      const EntryPoints& entry) {
    std::optional<Guid> clsid = Guid::parse(classNameOrId);
    if (!clsid)
        if (const ClassDesc* c = findClass(classNameOrId)) clsid = c->clsid;
    if (!clsid) return completed(CLASS_E_CLASSNOTAVAILABLE, {});
    void* made = nullptr;
    HRESULT hr = entry.getClassObject(*clsid, IID_IClassFactory, &made);
    if (!succeeded(hr)) return completed(hr, {});
    auto* factory = static_cast<IClassFactory*>(made);
    made = nullptr;
    hr = factory->CreateInstance(nullptr, IID_IControl, &made);
    factory->Release();
    if (!succeeded(hr)) return completed(hr, {});
    return sited(static_cast<IControl*>(made), std::move(host), control);
}

Outcome createControl(std::string_view classNameOrId, ControlHost& host, ControlHandle& control,
                      const EntryPoints& entry) {
    // Shares no ownership: the caller keeps the host alive.
    return createControl(classNameOrId, std::shared_ptr<ControlHost>(std::shared_ptr<ControlHost>(), &host), control,
                         entry);
}

Outcome createPrivateControl(std::string_view className, std::shared_ptr<ControlHost> host, ControlHandle& control,
                             const EntryPoints& entry) {
    void* made = nullptr;
    HRESULT hr = entry.getClassObject(typeLibrary().id, IID_IPrivateFactory, &made);
    if (!succeeded(hr)) return completed(hr, {});
    auto* factory = static_cast<IPrivateFactory*>(made);
    made = nullptr;
    hr = factory->CreatePrivateInstance(className, IID_IControl, &made);
    factory->Release();
    if (!succeeded(hr)) return completed(hr, {});
    return sited(static_cast<IControl*>(made), std::move(host), control);
}

Outcome createPrivateControl(std::string_view className, ControlHost& host, ControlHandle& control,
                             const EntryPoints& entry) {
    return createPrivateControl(className, std::shared_ptr<ControlHost>(std::shared_ptr<ControlHost>(), &host),
                                control, entry);
}

}  // namespace talvik
