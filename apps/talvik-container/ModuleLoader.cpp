#include "apps/talvik-container/ModuleLoader.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

namespace talvik::container {

std::string defaultModulePath() {
    char self[PATH_MAX];
    std::string dir = ".";
    if (::realpath("/proc/self/exe", self) != nullptr) {
        dir = self;
        dir.erase(dir.rfind('/'));
    }
    return dir + "/TalvikSkills.ocx";
}

std::optional<EntryPoints> loadModule(const std::string& path, std::string& error) {
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* why = ::dlerror();
        error = why != nullptr ? why : "cannot load " + path;
        return std::nullopt;
    }
    const auto find = [&](const char* name) {
        void* p = ::dlsym(module, name);
        if (p == nullptr) error = path + " has no entry point " + name;
        return p;
    };
    void* reg = find("DllRegisterServer");
    void* unreg = find("DllUnregisterServer");
    void* get = find("DllGetClassObject");
    void* can = find("DllCanUnloadNow");
    if (reg == nullptr || unreg == nullptr || get == nullptr || can == nullptr) return std::nullopt;
    return EntryPoints{reinterpret_cast<HRESULT (*)()>(reg), reinterpret_cast<HRESULT (*)()>(unreg),
                       reinterpret_cast<HRESULT (*)(const Guid&, const Guid&, void**)>(get),
                       reinterpret_cast<HRESULT (*)()>(can)};
}

}  // namespace talvik::container
