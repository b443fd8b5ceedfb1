#pragma once
// The registration store: a text file of keyed sections, laid out like a class
// registry, that libraries register their classes and type libraries in.
//
//     [CLSID\{1E2E8703-D9FD-48D0-9002-8B673A58920A}]
//     Control=Matrix
//
// Updates are serialised by a lock file beside the store and atomic: the new store is
// written to a temporary file in the same directory, synced and renamed over the old
// one, so a reader or a process killed midway sees the old store or the new one, never
// a mix. A store that cannot be parsed is reported and never overwritten.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "frame/com/Interfaces.h"

namespace talvik {

struct RegistrySection {
    std::string key;
    std::vector<std::pair<std::string, std::string>> values;  // name=value, in order

    const std::string* value(std::string_view name) const;
    friend bool operator==(const RegistrySection&, const RegistrySection&) = default;
};

using RegistryData = std::vector<RegistrySection>;

// The store's location: $TALVIK_REGISTRY, else $XDG_DATA_HOME/talvik/registry.txt,
// else ~/.local/share/talvik/registry.txt.
std::string defaultRegistryPath();

// Sections in order; blank lines and lines starting with '#' are skipped. Anything
// else that is not a "[key]" line or a "name=value" line of a section, and a key or
// a name given twice, makes the text unparseable.
std::optional<RegistryData> parseRegistry(std::string_view text);
std::string formatRegistry(const RegistryData& data);

// Reads the store (a missing store is empty). S_OK, REGDB_E_CORRUPT, STG_E_READFAULT.
HRESULT readRegistry(const std::string& path, RegistryData& out);
// Applies edit to the store under its lock and replaces the store atomically; the
// directory is created when missing. S_OK, REGDB_E_CORRUPT (the store is left as it
// was), STG_E_READFAULT, STG_E_WRITEFAULT.
HRESULT updateRegistry(const std::string& path, const std::function<void(RegistryData&)>& edit);

}  // namespace talvik
