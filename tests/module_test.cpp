// The loadable module as a container sees it: opened at run time, reached only through
// its four exported entry points, with its factories, objects and live counts.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "frame/Catalogue.h"
#include "frame/ControlHandle.h"
#include "frame/Registry.h"
#include "frame/TypeLib.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik {
namespace {

// The module stays loaded for the whole run, as a container keeps it.
struct Module {
    void* handle = nullptr;
    EntryPoints entry{};
    Module() {
        handle = ::dlopen(TALVIK_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) return;
        entry.registerServer = reinterpret_cast<HRESULT (*)()>(::dlsym(handle, "DllRegisterServer"));
        entry.unregisterServer = reinterpret_cast<HRESULT (*)()>(::dlsym(handle, "DllUnregisterServer"));
        entry.getClassObject =
            reinterpret_cast<HRESULT (*)(const Guid&, const Guid&, void**)>(::dlsym(handle, "DllGetClassObject"));
        entry.canUnloadNow = reinterpret_cast<HRESULT (*)()>(::dlsym(handle, "DllCanUnloadNow"));
    }
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
    // Library code inside the module stays private to it.
    for (const char* name : {"_ZN6talvik11typeLibraryEv", "_ZN6talvik14getClassObjectERKNS_4GuidES2_PPv",
                             "_ZN6talvik6Matrix5ClassE"})
        EXPECT_EQ(::dlsym(module().handle, name), nullptr) << name;
}

TEST_F(ModuleTest, ClassObjectsForEveryPublicClassTheLibraryImplements) {
    for (const ClassDesc& c : typeLibrary().classes) {
        SCOPED_TRACE(c.name);
        void* f = reinterpret_cast<void*>(1);
        const HRESULT hr = entry().getClassObject(c.clsid, IID_IClassFactory, &f);
        if (findControlClass(c.name) != nullptr) {
            ASSERT_EQ(hr, S_OK);
            ASSERT_NE(f, nullptr);
            static_cast<IClassFactory*>(f)->Release();
        } else {
            EXPECT_EQ(hr, CLASS_E_CLASSNOTAVAILABLE);
            EXPECT_EQ(f, nullptr);
        }
    }
}

TEST_F(ModuleTest, GetClassObjectResultCodes) {
    struct Row {
        const char* what;
        Guid clsid;
        Guid iid;
        HRESULT hr;
    };
    const Guid library = typeLibrary().id;
    const Row rows[] = {
        {"factory", kMatrix, IID_IClassFactory, S_OK},
        {"as IUnknown", kMatrix, IID_IUnknown, S_OK},
        {"an interface factories lack", kMatrix, IID_IDispatch, E_NOINTERFACE},
        {"unknown class", *Guid::parse("{00000000-0000-0000-0000-000000000001}"), IID_IClassFactory,
         CLASS_E_CLASSNOTAVAILABLE},
        {"the library is no class", library, IID_IClassFactory, CLASS_E_CLASSNOTAVAILABLE},
        {"an interface identifier is no class", findClass("Matrix")->propertyIid, IID_IClassFactory,
         CLASS_E_CLASSNOTAVAILABLE},
        {"the library-internal factory", library, IID_IPrivateFactory, S_OK},
        {"the internal factory needs the library", kMatrix, IID_IPrivateFactory, E_NOINTERFACE},
    };
    for (const Row& r : rows) {
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
    struct Row {
        const char* what;
        Guid iid;
        HRESULT hr;
    };
    const Row rows[] = {
        {"control", IID_IControl, S_OK},
        {"dispatch", IID_IDispatch, S_OK},
        {"unknown", IID_IUnknown, S_OK},
        {"its property interface _Matrix", findClass("Matrix")->propertyIid, S_OK},
        {"another class's interface _vltBox", findClass("vltBox")->propertyIid, E_NOINTERFACE},
        {"its event interface", findClass("Matrix")->eventIid, E_NOINTERFACE},
        {"a factory", IID_IClassFactory, E_NOINTERFACE},
    };
    for (const Row& r : rows) {
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

TEST_F(ModuleTest, ObjectsCountTheirReferences) {
    IClassFactory* f = factory(kMatrix);
    void* made = nullptr;
    ASSERT_EQ(f->CreateInstance(nullptr, IID_IControl, &made), S_OK);
    f->Release();
    auto* c = static_cast<IControl*>(made);
    void* asDispatch = nullptr;
    ASSERT_EQ(c->QueryInterface(IID_IDispatch, &asDispatch), S_OK);
    EXPECT_EQ(asDispatch, static_cast<void*>(static_cast<IDispatch*>(c)));
    EXPECT_EQ(c->AddRef(), 3u);  // created, queried, added
    EXPECT_EQ(c->Release(), 2u);
    EXPECT_EQ(static_cast<IDispatch*>(asDispatch)->Release(), 1u);
    EXPECT_EQ(entry().canUnloadNow(), S_FALSE);
    EXPECT_EQ(c->Release(), 0u);
    EXPECT_EQ(entry().canUnloadNow(), S_OK);
}

TEST_F(ModuleTest, CanUnloadExactlyWhenNoInstanceFactoryOrLockIsAlive) {
    IClassFactory* f = factory(kMatrix);
    EXPECT_EQ(entry().canUnloadNow(), S_FALSE);  // a factory
    EXPECT_EQ(f->LockServer(true), S_OK);
    f->Release();
    EXPECT_EQ(entry().canUnloadNow(), S_FALSE);  // a lock
    f = factory(kMatrix);
    EXPECT_EQ(f->LockServer(false), S_OK);
    void* made = nullptr;
    ASSERT_EQ(f->CreateInstance(nullptr, IID_IControl, &made), S_OK);
    f->Release();
    EXPECT_EQ(entry().canUnloadNow(), S_FALSE);  // an instance
    static_cast<IControl*>(made)->Release();
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

TEST_F(ModuleTest, TheGraphicButtonHasNoIdentifierToBeCreatedBy) {
    // Every public identifier creates its own class and nothing else.
    for (const ClassDesc& c : typeLibrary().classes) {
        if (findControlClass(c.name) == nullptr) continue;
        auto host = std::make_shared<HeadlessHost>();
        ControlHandle h;
        ASSERT_TRUE(createControl(c.clsid.text(), host, h, entry()).ok()) << c.name;
        EXPECT_EQ(host->controlClass()->name, c.name);
    }
    auto host = std::make_shared<HeadlessHost>();
    ControlHandle h;
    EXPECT_EQ(createControl("vltGraphButton", host, h, entry()).hr, CLASS_E_CLASSNOTAVAILABLE);
    // Only the library-internal route reaches it, and only when the library has it.
    const Outcome o = createPrivateControl("vltGraphButton", host, h, entry());
    EXPECT_EQ(o.hr, findControlClass("vltGraphButton") != nullptr ? S_OK : CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(createPrivateControl("Matrix", std::make_shared<HeadlessHost>(), h, entry()).hr,
              CLASS_E_CLASSNOTAVAILABLE);
}

// A program that knows only the module's file and the class identifiers: it registers
// the module, creates a Matrix, sets and reads its properties by name and identifier,
// clicks a choice and reads the answer back.
TEST_F(ModuleTest, RegisterCreateDriveAnswerSheetThroughTheModule) {
    const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / ("talvik-module-test-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    const std::string store = (dir / "registry.txt").string();
    ::setenv("TALVIK_REGISTRY", store.c_str(), 1);
    EXPECT_EQ(entry().registerServer(), S_OK);
    ::unsetenv("TALVIK_REGISTRY");
    RegistryData data;
    ASSERT_EQ(readRegistry(store, data), S_OK);
    ASSERT_EQ(data.size(), 12u);
    EXPECT_EQ(data[1].key, "CLSID\\{1E2E8703-D9FD-48D0-9002-8B673A58920A}");
    EXPECT_EQ(*data[1].value("Module"), std::filesystem::canonical(TALVIK_MODULE_PATH).string());

    auto host = std::make_shared<HeadlessHost>();
    ControlHandle m;
    ASSERT_TRUE(createControl("{1E2E8703-D9FD-48D0-9002-8B673A58920A}", host, m, entry()).ok());
    ASSERT_TRUE(m.initialize().ok());
    EXPECT_EQ(host->surface().Width(), 11070);
    EXPECT_TRUE(m.let("MaxItems", "10").ok());
    const Variant twoCols = std::int16_t{2};
    EXPECT_TRUE(m.invoke(0x68030001, InvokeKind::PropertyPut, std::span<const Variant>(&twoCols, 1)).ok());
    EXPECT_EQ(m.let("MaxItems", std::int32_t{99999}).error.number, 6);
    ASSERT_TRUE(m.deliver({EventKind::Click, &host->images("Image3")(6)}).ok());
    ASSERT_TRUE(m.deliver({EventKind::KeyDown, nullptr, 0, 0, 0, 0, 40}).ok());  // Down
    ASSERT_TRUE(m.deliver({EventKind::KeyDown, nullptr, 0, 0, 0, 0, 65}).ok());  // A
    const Outcome answers = m.invoke(0x68030000, InvokeKind::PropertyGet);
    ASSERT_TRUE(answers.ok());
    const StringArray expected{1, {"", "", "", "", "", "", "3", "1", "", ""}};
    EXPECT_EQ(answers.value.toStringArray(), expected);
    EXPECT_EQ(m.get("RowSel").value.toInt16(), 7);
    EXPECT_EQ(entry().canUnloadNow(), S_FALSE);
    m.reset();
    EXPECT_EQ(entry().canUnloadNow(), S_OK);

    ::setenv("TALVIK_REGISTRY", store.c_str(), 1);
    EXPECT_EQ(entry().unregisterServer(), S_OK);
    ::unsetenv("TALVIK_REGISTRY");
    ASSERT_EQ(readRegistry(store, data), S_OK);
    EXPECT_TRUE(data.empty());
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace talvik
