// The registration store on arbitrary files: parsing, and registering and
// unregistering the library over such a store in a directory of the fuzzer's own.
// A store that parses reads back the same after formatting, takes the library's
// entries and loses exactly them again; one that does not is reported and left as it was.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "frame/registry/Registration.h"
#include "frame/registry/Registry.h"
#include "fuzz/Scratch.h"

using namespace talvik;
namespace fs = std::filesystem;

namespace {

std::string contents(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

void check(bool ok) {
    if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<RegistryData> parsed = parseRegistry(text);
    if (parsed) check(parseRegistry(formatRegistry(*parsed)) == parsed);

    const fs::path store = talvik::fuzz::scratch("registry") / "registry.txt";
    std::ofstream(store, std::ios::binary | std::ios::trunc) << text;
    const std::string module = "/opt/talvik/TalvikSkills.ocx";
    const HRESULT registered = registerLibrary(store.string(), module);
    if (!parsed) {
        check(registered == REGDB_E_CORRUPT && contents(store) == text);
        check(unregisterLibrary(store.string()) == REGDB_E_CORRUPT && contents(store) == text);
        return 0;
    }
    check(registered == S_OK);
    RegistryData after;
    check(readRegistry(store.string(), after) == S_OK);
    for (const RegistrySection& s : libraryEntries(module))
        check(std::find(after.begin(), after.end(), s) != after.end());

    // Unregistering leaves what was there before, less this library's own sections.
    RegistryData others = *parsed;
    for (const RegistrySection& mine : libraryEntries(module))
        std::erase_if(others, [&](const RegistrySection& s) { return s.key == mine.key; });
    check(unregisterLibrary(store.string()) == S_OK);
    check(readRegistry(store.string(), after) == S_OK && after == others);
    return 0;
}
