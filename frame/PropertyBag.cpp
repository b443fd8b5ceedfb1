#include "frame/PropertyBag.h"

#include <algorithm>

namespace talvik {

PropertyBag::PropertyBag(std::initializer_list<Entry> entries) {
    for (const auto& e : entries) WriteProperty(e.key, e.value, Variant());
    writes_.clear();
}

Variant PropertyBag::ReadProperty(std::string_view key, const Variant& defaultValue) const {
    const auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.key == key; });
    return it == entries_.end() ? defaultValue : it->value;
}

void PropertyBag::WriteProperty(std::string_view key, const Variant& value, const Variant& defaultValue) {
    writes_.push_back({std::string(key), value, defaultValue});
    const auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.key == key; });
    if (it != entries_.end())
        it->value = value;
    else
        entries_.push_back({std::string(key), value});
}

bool PropertyBag::contains(std::string_view key) const {
    return std::any_of(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.key == key; });
}

}  // namespace talvik
