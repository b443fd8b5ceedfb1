#include "frame/model/DataObject.h"

#include <algorithm>

#include "frame/host/HostError.h"

namespace talvik {

bool DataObject::GetFormat(std::int16_t format) const {
    if (format == kFormatFiles) return !files_.empty();
    return std::any_of(data_.begin(), data_.end(), [&](const auto& d) { return d.first == format; });
}

const Variant& DataObject::GetData(std::int16_t format) const {
    for (const auto& [f, v] : data_)
        if (f == format) return v;
    err::invalidCall();
}

void DataObject::SetData(Variant value, std::int16_t format) {
    for (auto& [f, v] : data_)
        if (f == format) {
            v = std::move(value);
            return;
        }
    data_.emplace_back(format, std::move(value));
}

void DataObject::Clear() {
    data_.clear();
    files_.clear();
}

}  // namespace talvik
