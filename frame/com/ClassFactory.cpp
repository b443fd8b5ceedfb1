#include "frame/com/ClassFactory.h"

#include <atomic>
#include <new>

#include "frame/typelib/Catalogue.h"
#include "frame/com/ControlObject.h"
#include "frame/com/LiveObjects.h"
#include "frame/typelib/TypeLib.h"

namespace talvik {

namespace {

// Hands out a new object (a factory or an instance) as iid, dropping the reference it
// was born with; a failed allocation gives E_OUTOFMEMORY.
template <class Made>
HRESULT handOut(Made* made, const Guid& iid, void** object) noexcept {
    if (made == nullptr) return E_OUTOFMEMORY;
    const HRESULT hr = made->QueryInterface(iid, object);
    made->Release();
    return hr;
}

// Reference counting and live-count bookkeeping shared by both factories.
template <class Interface, const Guid& Iid>
class Factory : public Interface {
public:
    Factory() { live::factoryCreated(); }
    Factory(const Factory&) = delete;
    Factory& operator=(const Factory&) = delete;

    HRESULT QueryInterface(const Guid& iid, void** object) noexcept override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (iid != IID_IUnknown && iid != Iid) return E_NOINTERFACE;
        AddRef();
        *object = static_cast<Interface*>(this);
        return S_OK;
    }
    std::uint32_t AddRef() noexcept override { return ++refs_; }
    std::uint32_t Release() noexcept override {
        const std::uint32_t n = --refs_;
        if (n == 0) delete this;
        return n;
    }

protected:
    virtual ~Factory() { live::factoryDestroyed(); }

private:
    std::atomic<std::uint32_t> refs_{1};
};

class ClassFactory final : public Factory<IClassFactory, IID_IClassFactory> {
public:
    explicit ClassFactory(const ControlClass& cls) : cls_(cls) {}

    HRESULT CreateInstance(IUnknown* outer, const Guid& iid, void** object) noexcept override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        return handOut(new (std::nothrow) ControlObject(cls_), iid, object);
    }
    HRESULT LockServer(bool lock) noexcept override {
        lock ? live::lock() : live::unlock();
        return S_OK;
    }

private:
    const ControlClass& cls_;
};

class PrivateFactory final : public Factory<IPrivateFactory, IID_IPrivateFactory> {
public:
    HRESULT CreatePrivateInstance(std::string_view className, const Guid& iid, void** object) noexcept override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        const ControlClass* cls = findControlClass(className);
        // Public classes are created by their identifiers only.
        if (cls == nullptr || cls->isPublic()) return CLASS_E_CLASSNOTAVAILABLE;
        return handOut(new (std::nothrow) ControlObject(*cls), iid, object);
    }
};

}  // namespace

HRESULT getClassObject(const Guid& clsid, const Guid& iid, void** object) noexcept {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    try {
        if (clsid == typeLibrary().id && iid == IID_IPrivateFactory)
            return handOut(new (std::nothrow) PrivateFactory(), iid, object);
        // A class that is described but not built yet is not available.
        const ClassDesc* desc = findClass(clsid);
        if (desc == nullptr || !desc->source->implemented()) return CLASS_E_CLASSNOTAVAILABLE;
        return handOut(new (std::nothrow) ClassFactory(*desc->source), iid, object);
    } catch (...) {  // assembling the type description on first use ran out of memory
        return E_OUTOFMEMORY;
    }
}

HRESULT classObjectOf(const ControlClass& cls, const Guid& iid, void** object) noexcept {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    return handOut(new (std::nothrow) ClassFactory(cls), iid, object);
}

}  // namespace talvik
