#include "frame/host/PropertyBag.h"

namespace talvik {

PropertyBag::PropertyBag(std::initializer_list<Entry> entries) {
    for (const auto& e : entries) WriteProperty(e.key, e.value, Variant());
    writes_.clear();
}

const PropertyBag::Entry* PropertyBag::find(std::string_view key) const {
    const auto it = index_.find(key);
    return it == index_.end() ? nullptr : &entries_[it->second];
}

Variant PropertyBag::ReadProperty(std::string_view key, const Variant& defaultValue) const {
    const Entry* e = find(key);
    return e == nullptr ? defaultValue : e->value;
}

void PropertyBag::WriteProperty(std::string_view key, const Variant& value, const Variant& defaultValue) {
    writes_.push_back({std::string(key), value, defaultValue});
    const auto [it, added] = index_.try_emplace(std::string(key), entries_.size());
    if (added)
        entries_.push_back({std::string(key), value});
    else
        entries_[it->second].value = value;
}

bool PropertyBag::contains(std::string_view key) const { return find(key) != nullptr; }

}  // namespace talvik
