// The loadable module as a container sees it: opened at run time, reached only through
// its four exported entry points, with its factories, objects and live counts. Driving a
// control made through it is the built container's part: it loads this module.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "frame/typelib/Catalogue.h"
#include "frame/com/ControlHandle.h"
#include "frame/typelib/TypeLib.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik {
namespace {

// The module stays loaded for the whole run, as a container keeps it.
struct Module {
    void* handle = ::dlopen(TALVIK_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    template <class F>
    F* sym(const char* name) const {
        return handle != nullptr ? reinterpret_cast<F*>(::dlsym(handle, name)) : nullptr;
    }
    EntryPoints entry{sym<HRESULT()>("DllRegisterServer"), sym<HRESULT()>("DllUnregisterServer"),
                      sym<HRESULT(const Guid&, const Guid&, void**)>("DllGetClassObject"),
                      sym<HRESULT()>("DllCanUnloadNow")};
};

const Module& module() {
    static const Module m;
    return m;
}

const Guid kMatrix = *Guid::parse("{1E2E8703-D9FD-48D0-9002-8B673A58920A}");

class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(module().handle, nullptr) << ::dlerror();
        ASSERT_EQ(entry().canUnloadNow(), S_OK) << "a previous test left an object alive";
    }
    static const EntryPoints& entry() { return module().entry; }
    static IClassFactory* factory(const Guid& clsid) {
        void* f = nullptr;
        EXPECT_EQ(entry().getClassObject(clsid, IID_IClassFactory, &f), S_OK);
        return static_cast<IClassFactory*>(f);
    }
};

TEST_F(ModuleTest, ExportsTheFourEntryPointsAndNothingElse) {
    for (const char* name : {"DllRegisterServer", "DllUnregisterServer", "DllGetClassObject", "DllCanUnloadNow"})
        EXPECT_NE(::dlsym(module().handle, name), nullptr) << name;
    for (const char* name : {"_ZN6talvik11typeLibraryEv", "_ZN6talvik14getClassObjectERKNS_4GuidES2_PPv",
                             "_ZN6talvik6Matrix5ClassE"})
        EXPECT_EQ(::dlsym(module().handle, name), nullptr) << name;
}

// Every public identifier creates its own class and nothing else; the graphic button
// has no identifier and is reached only by the library-internal route.
TEST_F(ModuleTest, EachPublicIdentifierCreatesItsOwnClassOnly) {
    for (const ClassDesc& c : typeLibrary().classes) {
        SCOPED_TRACE(c.name);
        void* f = reinterpret_cast<void*>(1);
        const bool implemented = findControlClass(c.name) != nullptr;
        EXPECT_EQ(entry().getClassObject(c.clsid, IID_IClassFactory, &f), implemented ? S_OK : CLASS_E_CLASSNOTAVAILABLE);
        EXPECT_EQ(f != nullptr, implemented);
        if (f == nullptr) continue;
        static_cast<IClassFactory*>(f)->Release();
        auto host = std::make_shared<HeadlessHost>();
        ControlHandle h;
        ASSERT_TRUE(createControl(c.clsid.text(), host, h, entry()).ok());
        EXPECT_EQ(host->controlClass()->name, c.name);
    }
    auto host = std::make_shared<HeadlessHost>();
    ControlHandle h;
    EXPECT_EQ(createControl("vltGraphButton", host, h, entry()).hr, CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(createPrivateControl("vltGraphButton", host, h, entry()).hr,
              findControlClass("vltGraphButton") != nullptr ? S_OK : CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(createPrivateControl("Matrix", std::make_shared<HeadlessHost>(), h, entry()).hr,
              CLASS_E_CLASSNOTAVAILABLE);
}

TEST_F(ModuleTest, GetClassObjectResultCodes) {
    const Guid library = typeLibrary().id;
    const struct { const char* what; Guid clsid; Guid iid; HRESULT hr; } rows[] = {
        {"factory", kMatrix, IID_IClassFactory, S_OK},
        {"as IUnknown", kMatrix, IID_IUnknown, S_OK},
        {"an interface factories lack", kMatrix, IID_IDispatch, E_NOINTERFACE},
        {"unknown class", guid("{00000000-0000-0000-0000-000000000001}"), IID_IClassFactory, CLASS_E_CLASSNOTAVAILABLE},
        {"the library is no class", library, IID_IClassFactory, CLASS_E_CLASSNOTAVAILABLE},
        {"an interface is no class", findClass("Matrix")->propertyIid, IID_IClassFactory, CLASS_E_CLASSNOTAVAILABLE},
        {"the library-internal factory", library, IID_IPrivateFactory, S_OK},
        {"the internal factory needs the library", kMatrix, IID_IPrivateFactory, E_NOINTERFACE},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        void* f = nullptr;
        EXPECT_EQ(entry().getClassObject(r.clsid, r.iid, &f), r.hr);
        EXPECT_EQ(f != nullptr, r.hr == S_OK);
        if (f != nullptr) static_cast<IUnknown*>(f)->Release();
    }
    EXPECT_EQ(entry().getClassObject(kMatrix, IID_IClassFactory, nullptr), E_POINTER);
}

TEST_F(ModuleTest, FactoryCreatesInstancesAsAskedFor) {
    IClassFactory* f = factory(kMatrix);
    ASSERT_NE(f, nullptr);
    const struct { const char* what; Guid iid; HRESULT hr; } rows[] = {
        {"control", IID_IControl, S_OK},
        {"dispatch", IID_IDispatch, S_OK},
        {"unknown", IID_IUnknown, S_OK},
        {"its property interface _Matrix", findClass("Matrix")->propertyIid, S_OK},
        {"another class's interface _vltBox", findClass("vltBox")->propertyIid, E_NOINTERFACE},
        {"its event interface", findClass("Matrix")->eventIid, E_NOINTERFACE},
        {"a factory", IID_IClassFactory, E_NOINTERFACE},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        void* o = reinterpret_cast<void*>(1);
        EXPECT_EQ(f->CreateInstance(nullptr, r.iid, &o), r.hr);
        EXPECT_EQ(o != nullptr, r.hr == S_OK);
        if (o != nullptr) static_cast<IUnknown*>(o)->Release();
    }
    void* o = nullptr;
    EXPECT_EQ(f->CreateInstance(reinterpret_cast<IUnknown*>(f), IID_IControl, &o), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(o, nullptr);
    EXPECT_EQ(f->CreateInstance(nullptr, IID_IControl, nullptr), E_POINTER);
    f->Release();
}

// The module may be unloaded exactly when no instance, factory or lock is alive.
TEST_F(ModuleTest, ReferencesLocksAndCanUnloadNow) {
    IClassFactory* f = factory(kMatrix);
    EXPECT_EQ(entry().canUnloadNow(), S_FALSE);  // a factory
    EXPECT_EQ(f->LockServer(true), S_OK);
    void* made = nullptr;
    ASSERT_EQ(f->CreateInstance(nullptr, IID_IControl, &made), S_OK);
    f->Release();
    EXPECT_EQ(entry().canUnloadNow(), S_FALSE);  // an instance and a lock
    auto* c = static_cast<IControl*>(made);
    void* asDispatch = nullptr;
    ASSERT_EQ(c->QueryInterface(IID_IDispatch, &asDispatch), S_OK);
    EXPECT_EQ(asDispatch, static_cast<void*>(static_cast<IDispatch*>(c)));
    EXPECT_EQ(c->AddRef(), 3u);  // created, queried, added
    EXPECT_EQ(c->Release(), 2u);
    EXPECT_EQ(static_cast<IDispatch*>(asDispatch)->Release(), 1u);
    EXPECT_EQ(c->Release(), 0u);
    EXPECT_EQ(entry().canUnloadNow(), S_FALSE);  // the lock
    f = factory(kMatrix);
    EXPECT_EQ(f->LockServer(false), S_OK);
    f->Release();
    EXPECT_EQ(entry().canUnloadNow(), S_OK);
    // An unlock without a lock does not let a later lock go unnoticed.
    f = factory(kMatrix);
    EXPECT_EQ(f->LockServer(false), S_OK);
    EXPECT_EQ(f->LockServer(true), S_OK);
    f->Release();
    EXPECT_EQ(entry().canUnloadNow(), S_FALSE);
    f = factory(kMatrix);
    f->LockServer(false);
    f->Release();
    EXPECT_EQ(entry().canUnloadNow(), S_OK);
}

}  // namespace
}  // namespace talvik
