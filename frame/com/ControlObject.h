#pragma once
// The reference-counted object behind IControl: one control instance, sited on a host,
// reached through dispatch and the lifecycle and input calls.
#include <atomic>
#include <memory>

#include "frame/typelib/Dispatch.h"
#include "frame/com/Interfaces.h"

namespace talvik {

class ControlObject final : public IControl {
public:
    // An instance of an implemented class of the catalogue. Starts with one reference.
    explicit ControlObject(const ControlClass& cls);
    ControlObject(const ControlObject&) = delete;
    ControlObject& operator=(const ControlObject&) = delete;

    HRESULT QueryInterface(const Guid& iid, void** object) noexcept override;
    std::uint32_t AddRef() noexcept override;
    std::uint32_t Release() noexcept override;

    HRESULT GetIDsOfNames(std::string_view name, std::int32_t& id) noexcept override;
    HRESULT Invoke(std::int32_t id, InvokeKind kind, std::span<const Variant> args, Variant* result,
                   ErrorInfo* error) noexcept override;

    HRESULT Site(std::shared_ptr<ControlHost> host, ErrorInfo* error) noexcept override;
    HRESULT Initialize(ErrorInfo* error) noexcept override;
    HRESULT InitProperties(ErrorInfo* error) noexcept override;
    HRESULT ReadProperties(const PropertyBag& bag, ErrorInfo* error) noexcept override;
    HRESULT WriteProperties(PropertyBag& bag, ErrorInfo* error) noexcept override;
    HRESULT Show(ErrorInfo* error) noexcept override;
    HRESULT Paint(ErrorInfo* error) noexcept override;
    HRESULT Resize(float width, float height, ErrorInfo* error) noexcept override;
    HRESULT Deliver(const InputEvent& event, ErrorInfo* error) noexcept override;
    HRESULT Tick(const Timer& timer, ErrorInfo* error) noexcept override;
    HRESULT Destroy(ErrorInfo* error) noexcept override;

private:
    ~ControlObject();
    // Runs f on the sited host as one call into the control. The object holds a
    // reference of its own meanwhile, so that a handler that releases the last one
    // leaves it alive until the call returns.
    template <class F>
    HRESULT run(ErrorInfo* error, F&& f) noexcept;

    std::atomic<std::uint32_t> refs_{1};
    const ControlClass& cls_;
    Dispatcher dispatcher_;
    std::shared_ptr<ControlHost> host_;
};

}  // namespace talvik
