#pragma once
// A host's convenient hold on a control object: creation by class name or identifier
// through DllGetClassObject and the class factory, dispatch by member name, and the
// lifecycle and input calls, each giving back an Outcome instead of throwing.
//
//     auto host = std::make_shared<MyHost>();
//     ControlHandle m;
//     if (Outcome o = createControl("Matrix", host, m); !o) report(o.error);
//     m.initialize();
//     m.let("MaxItems", std::int16_t{10});
//     Outcome r = m.get("result");  // r.value holds the StringArray
//
// A statically linked host uses the linked entry points (the default); a container
// that loads the module passes the entry points it looked up.
#include <memory>
#include <string_view>

#include "frame/com/EntryPoints.h"
#include "frame/com/Interfaces.h"

namespace talvik {

// The result of a call: its result code, the error behind a failure, and the value
// of a property get or a method call (empty when there is none).
struct Outcome {
    HRESULT hr = S_OK;
    ErrorInfo error;
    Variant value;

    bool ok() const { return succeeded(hr); }
    explicit operator bool() const { return ok(); }
};

class ControlHandle {
public:
    ControlHandle() = default;
    // Takes over one reference the caller holds.
    explicit ControlHandle(IControl* adopted) : object_(adopted) {}
    ControlHandle(const ControlHandle& other);
    ControlHandle(ControlHandle&& other) noexcept;
    ControlHandle& operator=(ControlHandle other) noexcept;
    ~ControlHandle();

    IControl* object() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    // Drops this reference (the control is destroyed with its last reference).
    void reset();

    // Dispatch by member name (without regard to case).
    Outcome get(std::string_view property) const;
    Outcome let(std::string_view property, const Variant& value) const;
    Outcome call(std::string_view method) const;
    // Dispatch by member identifier.
    Outcome invoke(std::int32_t id, InvokeKind kind, std::span<const Variant> args = {}) const;

    Outcome initialize() const;
    Outcome initProperties() const;
    Outcome readProperties(const PropertyBag& bag) const;
    Outcome writeProperties(PropertyBag& bag) const;
    Outcome show() const;
    Outcome paint() const;
    Outcome resize(float width, float height) const;
    Outcome deliver(const InputEvent& event) const;
    Outcome tick(const Timer& timer) const;
    Outcome destroy() const;

private:
    IControl* object_ = nullptr;
};

// Creates a control of a public class, named ("Matrix") or by its class identifier
// ("{1E2E8703-D9FD-48D0-9002-8B673A58920A}"), through the entry points' class factory,
// and sites it on host. On success `control` holds it; a class the library does not
// offer gives CLASS_E_CLASSNOTAVAILABLE with error number 0x80040111.
Outcome createControl(std::string_view classNameOrId, std::shared_ptr<ControlHost> host, ControlHandle& control,
                      const EntryPoints& entry = linkedEntryPoints());
// The same on a host that the caller owns and keeps alive until the control's last
// handle is gone (a widget owned by its window, say).
Outcome createControl(std::string_view classNameOrId, ControlHost& host, ControlHandle& control,
                      const EntryPoints& entry = linkedEntryPoints());
// The same for a private class of the library ("vltGraphButton"), by the
// library-internal route (IPrivateFactory).
Outcome createPrivateControl(std::string_view className, std::shared_ptr<ControlHost> host,
                             ControlHandle& control, const EntryPoints& entry = linkedEntryPoints());
// The same on a host that the caller owns and keeps alive.
Outcome createPrivateControl(std::string_view className, ControlHost& host, ControlHandle& control,
                             const EntryPoints& entry = linkedEntryPoints());

}  // namespace talvik
