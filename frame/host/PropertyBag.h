#pragma once
// The keyed store in which a container keeps a control's design-time properties.
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "frame/host/Variant.h"

namespace talvik {

class PropertyBag {
public:
    struct Entry {
        std::string key;
        Variant value;
    };
    struct Write {
        std::string key;
        Variant value;
        Variant defaultValue;
    };

    PropertyBag() = default;
    PropertyBag(std::initializer_list<Entry> entries);

    // The stored value of the key (keys are case-sensitive), or the default when absent.
    Variant ReadProperty(std::string_view key, const Variant& defaultValue) const;
    // Stores the value under the key. Every value is kept, also one equal to its default,
    // so that a saved store shows everything the control wrote.
    void WriteProperty(std::string_view key, const Variant& value, const Variant& defaultValue);

    bool contains(std::string_view key) const;
    const std::vector<Entry>& entries() const { return entries_; }
    // Every WriteProperty call in the order it was made.
    const std::vector<Write>& writes() const { return writes_; }

private:
    const Entry* find(std::string_view key) const;

    std::vector<Entry> entries_;
    std::map<std::string, std::size_t, std::less<>> index_;  // key -> position in entries_
    std::vector<Write> writes_;
};

}  // namespace talvik
