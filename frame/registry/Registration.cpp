#include "frame/registry/Registration.h"

#include <dlfcn.h>
#include <stdlib.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <new>

#include "frame/typelib/TypeLib.h"

namespace talvik {

namespace {

std::string classKey(const ClassDesc& c) { return "CLSID\\" + c.clsid.text(); }

std::string typeLibKey() {
    const LibraryDesc& lib = typeLibrary();
    return "TypeLib\\" + lib.id.text() + "\\" + std::to_string(lib.major) + "." + std::to_string(lib.minor);
}

std::string hex(std::uint32_t v) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string s;
    do {
        s.insert(s.begin(), digits[v % 16]);
        v /= 16;
    } while (v != 0);
    return s;
}

bool isOurs(const RegistrySection& s) {
    if (s.key == typeLibKey()) return true;
    for (const ClassDesc& c : typeLibrary().classes)
        if (s.key == classKey(c)) return true;
    return false;
}

template <class F>
HRESULT guardedStore(F&& f) noexcept {
    try {
        return f();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace

RegistryData libraryEntries(const std::string& modulePath) {
    const LibraryDesc& lib = typeLibrary();
    const std::string version = std::to_string(lib.major) + "." + std::to_string(lib.minor);
    RegistryData data;
    for (const ClassDesc& c : lib.classes)
        data.push_back({classKey(c),
                        {{"Module", modulePath},
                         {"Library", std::string(lib.name)},
                         {"Control", std::string(c.name)},
                         {"TypeLib", lib.id.text()},
                         {"Version", version}}});
    data.push_back({typeLibKey(),
                    {{"Name", std::string(lib.name)}, {"Locale", hex(lib.locale)}, {"Module", modulePath}}});
    return data;
}

HRESULT registerLibrary(const std::string& storePath, const std::string& modulePath) noexcept {
    if (modulePath.find_first_of("\r\n") != std::string::npos) return E_INVALIDARG;
    return guardedStore([&] {
        const RegistryData ours = libraryEntries(modulePath);
        return updateRegistry(storePath, [&](RegistryData& data) {
            for (const RegistrySection& entry : ours) {
                const auto it = std::find_if(data.begin(), data.end(),
                                             [&](const RegistrySection& s) { return s.key == entry.key; });
                if (it != data.end())
                    *it = entry;
                else
                    data.push_back(entry);
            }
        });
    });
}

HRESULT unregisterLibrary(const std::string& storePath) noexcept {
    return guardedStore([&] {
        return updateRegistry(storePath, [](RegistryData& data) { std::erase_if(data, isOurs); });
    });
}

std::string loadedModulePath() {
    Dl_info info{};
    const char* file = nullptr;
    if (::dladdr(reinterpret_cast<void*>(&loadedModulePath), &info) != 0) file = info.dli_fname;
    // The main program has no file name of its own in the loader's map.
    if (file == nullptr || *file == '\0') file = "/proc/self/exe";
    char resolved[PATH_MAX];
    if (::realpath(file, resolved) != nullptr) return resolved;
    return file;
}

}  // namespace talvik
