#pragma once
// This library's entries in the registration store: each public class under its class
// identifier (module, library and control name, type library) and the type library
// under its identifier and version.
#include <string>

#include "frame/com/Interfaces.h"
#include "frame/registry/Registry.h"

namespace talvik {

// The entries DllRegisterServer writes for a module at modulePath.
RegistryData libraryEntries(const std::string& modulePath);

// Adds this library's entries or brings them up to date; other entries stay as they
// were. Result codes as updateRegistry; E_INVALIDARG for a module path that does not
// fit on one line.
HRESULT registerLibrary(const std::string& storePath, const std::string& modulePath) noexcept;
// Removes exactly this library's entries.
HRESULT unregisterLibrary(const std::string& storePath) noexcept;

// The file the library's code was loaded from: the module, or the program that links
// the library in.
std::string loadedModulePath();

}  // namespace talvik
