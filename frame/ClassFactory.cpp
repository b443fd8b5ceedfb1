#include "frame/ClassFactory.h"

#include <atomic>
#include <new>

#include "frame/Catalogue.h"
#include "frame/ControlObject.h"
#include "frame/LiveObjects.h"
#include "frame/TypeLib.h"

namespace talvik {

namespace {

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

    // Hands out the new object as iid, dropping the reference it was born with.
    static HRESULT handOut(ControlObject* created, const Guid& iid, void** object) noexcept {
        const HRESULT hr = created->QueryInterface(iid, object);
        created->Release();
        return hr;
    }

private:
    std::atomic<std::uint32_t> refs_{1};
};

class ClassFactory final : public Factory<IClassFactory, IID_IClassFactory> {
public:
    ClassFactory(const ControlClass& cls, const ClassDesc& desc) : cls_(cls), desc_(desc) {}

    HRESULT CreateInstance(IUnknown* outer, const Guid& iid, void** object) noexcept override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        auto* created = new (std::nothrow) ControlObject(cls_, &desc_);
        if (created == nullptr) return E_OUTOFMEMORY;
        return handOut(created, iid, object);
    }
    HRESULT LockServer(bool lock) noexcept override {
        lock ? live::lock() : live::unlock();
        return S_OK;
    }

private:
    const ControlClass& cls_;
    const ClassDesc& desc_;
};

class PrivateFactory final : public Factory<IPrivateFactory, IID_IPrivateFactory> {
public:
    HRESULT CreatePrivateInstance(std::string_view className, const Guid& iid, void** object) noexcept override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        const ControlClass* cls = findControlClass(className);
        // Public classes are created by their identifiers only.
        if (cls == nullptr || findClass(cls->name) != nullptr) return CLASS_E_CLASSNOTAVAILABLE;
        auto* created = new (std::nothrow) ControlObject(*cls, nullptr);
        if (created == nullptr) return E_OUTOFMEMORY;
        return handOut(created, iid, object);
    }
};

template <class Made>
HRESULT offer(Made* made, const Guid& iid, void** object) noexcept {
    if (made == nullptr) return E_OUTOFMEMORY;
    const HRESULT hr = made->QueryInterface(iid, object);
    made->Release();
    return hr;
}

}  // namespace

HRESULT getClassObject(const Guid& clsid, const Guid& iid, void** object) noexcept {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (clsid == typeLibrary().id && iid == IID_IPrivateFactory)
        return offer(new (std::nothrow) PrivateFactory(), iid, object);
    const ClassDesc* desc = findClass(clsid);
    const ControlClass* cls = desc != nullptr ? findControlClass(desc->name) : nullptr;
    if (cls == nullptr) return CLASS_E_CLASSNOTAVAILABLE;
    return offer(new (std::nothrow) ClassFactory(*cls, *desc), iid, object);
}

}  // namespace talvik
