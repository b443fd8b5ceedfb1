#pragma once
// The binary interface between the library and a host: result codes, the reference
// counted objects behind the four entry points, and the control object a host drives.
//
// Every call returns a result code and never throws; an error that a control raises
// comes back as DISP_E_EXCEPTION with its number and description in an ErrorInfo.
// Objects start with one reference, owned by whoever received them.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "frame/model/Events.h"
#include "frame/describe/Guid.h"
#include "frame/host/Variant.h"

namespace talvik {

class ControlHost;
class PropertyBag;
class Timer;

using HRESULT = std::int32_t;

constexpr HRESULT hresult(std::uint32_t code) { return static_cast<HRESULT>(code); }
constexpr bool succeeded(HRESULT hr) { return hr >= 0; }

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOINTERFACE = hresult(0x80004002u);
inline constexpr HRESULT E_POINTER = hresult(0x80004003u);
inline constexpr HRESULT E_FAIL = hresult(0x80004005u);
inline constexpr HRESULT E_UNEXPECTED = hresult(0x8000FFFFu);
inline constexpr HRESULT E_OUTOFMEMORY = hresult(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = hresult(0x80070057u);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = hresult(0x80040110u);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = hresult(0x80040111u);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = hresult(0x80020003u);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = hresult(0x80020005u);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = hresult(0x80020006u);
inline constexpr HRESULT DISP_E_EXCEPTION = hresult(0x80020009u);
inline constexpr HRESULT DISP_E_OVERFLOW = hresult(0x8002000Au);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = hresult(0x8002000Eu);
// The registration store: unreadable (never overwritten), or not writable.
inline constexpr HRESULT REGDB_E_CORRUPT = hresult(0x800703F1u);  // "the registry database is corrupt"
inline constexpr HRESULT STG_E_WRITEFAULT = hresult(0x8003001Du);
inline constexpr HRESULT STG_E_READFAULT = hresult(0x8003001Eu);

inline constexpr Guid IID_IUnknown = guid("{00000000-0000-0000-C000-000000000046}");
inline constexpr Guid IID_IClassFactory = guid("{00000001-0000-0000-C000-000000000046}");
inline constexpr Guid IID_IDispatch = guid("{00020400-0000-0000-C000-000000000046}");
inline constexpr Guid IID_IControl = guid("{5E1D7A2C-3B4F-4C8E-9A61-2F0D8B7C4E15}");
// Library-internal: see IPrivateFactory.
inline constexpr Guid IID_IPrivateFactory = guid("{B7A3F0E4-6C2D-4E91-8D5A-1C9E3F7B20A6}");

// The error behind a failed call: the host error's number and description.
struct ErrorInfo {
    std::int32_t number = 0;
    std::string description;
};

class IUnknown {
public:
    virtual HRESULT QueryInterface(const Guid& iid, void** object) noexcept = 0;
    virtual std::uint32_t AddRef() noexcept = 0;
    virtual std::uint32_t Release() noexcept = 0;

protected:
    ~IUnknown() = default;
};

class IClassFactory : public IUnknown {
public:
    // outer must be null: the library's objects cannot be aggregated.
    virtual HRESULT CreateInstance(IUnknown* outer, const Guid& iid, void** object) noexcept = 0;
    // A lock keeps the library loaded (DllCanUnloadNow answers S_FALSE) until unlocked.
    virtual HRESULT LockServer(bool lock) noexcept = 0;

protected:
    ~IClassFactory() = default;
};

enum class InvokeKind : std::uint16_t { Method = 1, PropertyGet = 2, PropertyPut = 4 };

class IDispatch : public IUnknown {
public:
    // The member identifier of a name, without regard to case; DISP_E_UNKNOWNNAME if
    // the control has no such member.
    virtual HRESULT GetIDsOfNames(std::string_view name, std::int32_t& id) noexcept = 0;
    // A property get (no arguments), a property let (one argument, coerced to the
    // property's type before the control sees it) or a method call (no arguments).
    // result may be null when the value is not wanted; error may be null.
    virtual HRESULT Invoke(std::int32_t id, InvokeKind kind, std::span<const Variant> args, Variant* result,
                           ErrorInfo* error) noexcept = 0;

protected:
    ~IDispatch() = default;
};

// A control instance. Site it on a host first; every other call before that returns
// E_UNEXPECTED. The interface of a public control also answers to the identifier of
// its property interface (_Matrix) and to IID_IDispatch.
class IControl : public IDispatch {
public:
    // Creates the control's elements and the control itself on the host, which the
    // object shares until it is released. Once only.
    virtual HRESULT Site(std::shared_ptr<ControlHost> host, ErrorInfo* error) noexcept = 0;
    virtual HRESULT Initialize(ErrorInfo* error) noexcept = 0;
    virtual HRESULT InitProperties(ErrorInfo* error) noexcept = 0;
    virtual HRESULT ReadProperties(const PropertyBag& bag, ErrorInfo* error) noexcept = 0;
    virtual HRESULT WriteProperties(PropertyBag& bag, ErrorInfo* error) noexcept = 0;
    // The container shows the control: one Resize, then one Paint.
    virtual HRESULT Show(ErrorInfo* error) noexcept = 0;
    virtual HRESULT Paint(ErrorInfo* error) noexcept = 0;
    // The container sets the size; Resize is raised only when it changed.
    virtual HRESULT Resize(float width, float height, ErrorInfo* error) noexcept = 0;
    // An input event on one of the control's elements (or its surface: source null).
    virtual HRESULT Deliver(const InputEvent& event, ErrorInfo* error) noexcept = 0;
    // One Timer event of one of the control's timers, if it is enabled.
    virtual HRESULT Tick(const Timer& timer, ErrorInfo* error) noexcept = 0;
    // Terminate, then the control is released. From inside one of the control's own
    // calls (an event handler) this waits until the outermost call returns.
    virtual HRESULT Destroy(ErrorInfo* error) noexcept = 0;

protected:
    ~IControl() = default;
};

// Library-internal route to the private classes, which have no class identifier:
// DllGetClassObject with the library's own identifier and IID_IPrivateFactory gives
// this factory; any other interface asked of that identifier is class-not-available.
// Only the library's own tools and tests use it.
class IPrivateFactory : public IUnknown {
public:
    // An instance of the private class of that name; CLASS_E_CLASSNOTAVAILABLE for a
    // name that is not a private class of the library.
    virtual HRESULT CreatePrivateInstance(std::string_view className, const Guid& iid, void** object) noexcept = 0;

protected:
    ~IPrivateFactory() = default;
};

// The four entry points, as a host reaches them: linked in, or looked up in the
// loaded module.
struct EntryPoints {
    HRESULT (*registerServer)();
    HRESULT (*unregisterServer)();
    HRESULT (*getClassObject)(const Guid& clsid, const Guid& iid, void** object);
    HRESULT (*canUnloadNow)();
};

}  // namespace talvik

extern "C" {
talvik::HRESULT DllRegisterServer();
talvik::HRESULT DllUnregisterServer();
talvik::HRESULT DllGetClassObject(const talvik::Guid& clsid, const talvik::Guid& iid, void** object);
talvik::HRESULT DllCanUnloadNow();
}
