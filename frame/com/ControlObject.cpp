#include "frame/com/ControlObject.h"

#include "frame/host/ControlHost.h"
#include "frame/com/Guarded.h"
#include "frame/com/LiveObjects.h"

namespace talvik {

namespace {
constexpr std::int32_t kObjectNotSet = 91;
}  // namespace

ControlObject::ControlObject(const ControlClass& cls) : cls_(cls), dispatcher_(cls) {
    live::instanceCreated();
}

ControlObject::~ControlObject() { live::instanceDestroyed(); }

HRESULT ControlObject::QueryInterface(const Guid& iid, void** object) noexcept {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    const bool mine = iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IControl ||
                      (cls_.ids && iid == cls_.ids->propertyIid);
    if (!mine) return E_NOINTERFACE;
    AddRef();
    *object = static_cast<IControl*>(this);
    return S_OK;
}

std::uint32_t ControlObject::AddRef() noexcept { return ++refs_; }

std::uint32_t ControlObject::Release() noexcept {
    const std::uint32_t n = --refs_;
    if (n != 0) return n;
    // The last reference ends the control's life: Terminate runs if the host has not
    // been told to destroy it yet.
    if (host_ && host_->control() != nullptr) {
        try {
            host_->destroy();
        } catch (...) {
        }
    }
    delete this;
    return 0;
}

template <class F>
HRESULT ControlObject::run(ErrorInfo* error, F&& f) noexcept {
    if (!host_ || host_->control() == nullptr)
        return failWith(E_UNEXPECTED, error, kObjectNotSet,
                        host_ ? "The control has been destroyed" : "The control is not sited on a host");
    AddRef();
    ControlHost& host = *host_;
    const HRESULT hr = guarded(error, [&] { host.call([&] { f(host); }); });
    Release();
    return hr;
}

HRESULT ControlObject::GetIDsOfNames(std::string_view name, std::int32_t& id) noexcept {
    const std::optional<std::int32_t> found = dispatcher_.idOf(name);
    if (!found) return DISP_E_UNKNOWNNAME;
    id = *found;
    return S_OK;
}

HRESULT ControlObject::Invoke(std::int32_t id, InvokeKind kind, std::span<const Variant> args, Variant* result,
                              ErrorInfo* error) noexcept {
    return run(error, [&](ControlHost& host) {
        Variant v = dispatcher_.invoke(*host.control(), id, kind, args);
        if (result != nullptr) *result = std::move(v);
    });
}

HRESULT ControlObject::Site(std::shared_ptr<ControlHost> host, ErrorInfo* error) noexcept {
    if (!host) return failWith(E_POINTER, error, kObjectNotSet, "No host to site the control on");
    if (host_ || host->controlClass() != nullptr)
        return failWith(E_UNEXPECTED, error, err::InvalidCall, "Invalid procedure call or argument");
    return guarded(error, [&] {
        host->create(cls_);
        host_ = std::move(host);
    });
}

HRESULT ControlObject::Initialize(ErrorInfo* error) noexcept {
    return run(error, [](ControlHost& h) { h.Initialize(); });
}

HRESULT ControlObject::InitProperties(ErrorInfo* error) noexcept {
    return run(error, [](ControlHost& h) { h.InitProperties(); });
}

HRESULT ControlObject::ReadProperties(const PropertyBag& bag, ErrorInfo* error) noexcept {
    return run(error, [&](ControlHost& h) { h.ReadProperties(bag); });
}

HRESULT ControlObject::WriteProperties(PropertyBag& bag, ErrorInfo* error) noexcept {
    return run(error, [&](ControlHost& h) { h.WriteProperties(bag); });
}

HRESULT ControlObject::Show(ErrorInfo* error) noexcept {
    AddRef();
    HRESULT hr = run(error, [](ControlHost& h) { h.control()->Resize(); });
    // A handler may have destroyed the control during Resize; then there is nothing
    // left to paint.
    if (succeeded(hr) && host_->control() != nullptr) hr = Paint(error);
    Release();
    return hr;
}

HRESULT ControlObject::Paint(ErrorInfo* error) noexcept {
    return run(error, [](ControlHost& h) { h.Paint(); });
}

HRESULT ControlObject::Resize(float width, float height, ErrorInfo* error) noexcept {
    return run(error, [&](ControlHost& h) { h.resizeTo(width, height); });
}

HRESULT ControlObject::Deliver(const InputEvent& event, ErrorInfo* error) noexcept {
    return run(error, [&](ControlHost& h) { h.deliver(event); });
}

HRESULT ControlObject::Tick(const Timer& timer, ErrorInfo* error) noexcept {
    return run(error, [&](ControlHost& h) { h.tick(timer); });
}

HRESULT ControlObject::Destroy(ErrorInfo* error) noexcept {
    if (!host_) return failWith(E_UNEXPECTED, error, kObjectNotSet, "The control is not sited on a host");
    return guarded(error, [&] { host_->destroy(); });
}

}  // namespace talvik
