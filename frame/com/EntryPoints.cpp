#include "frame/com/EntryPoints.h"

#include "frame/com/ClassFactory.h"
#include "frame/com/LiveObjects.h"
#include "frame/registry/Registration.h"

using talvik::HRESULT;

// Registration writes to the store that $TALVIK_REGISTRY names, or the user's default
// one, and records the file this code was loaded from.
extern "C" HRESULT DllRegisterServer() {
    try {
        return talvik::registerLibrary(talvik::defaultRegistryPath(), talvik::loadedModulePath());
    } catch (...) {
        return talvik::E_OUTOFMEMORY;
    }
}

extern "C" HRESULT DllUnregisterServer() {
    try {
        return talvik::unregisterLibrary(talvik::defaultRegistryPath());
    } catch (...) {
        return talvik::E_OUTOFMEMORY;
    }
}

extern "C" HRESULT DllGetClassObject(const talvik::Guid& clsid, const talvik::Guid& iid, void** object) {
    return talvik::getClassObject(clsid, iid, object);
}

extern "C" HRESULT DllCanUnloadNow() { return talvik::liveCounts().none() ? talvik::S_OK : talvik::S_FALSE; }

namespace talvik {

const EntryPoints& linkedEntryPoints() {
    static constexpr EntryPoints entry{&DllRegisterServer, &DllUnregisterServer, &DllGetClassObject,
                                       &DllCanUnloadNow};
    return entry;
}

}  // namespace talvik
