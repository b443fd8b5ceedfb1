#pragma once
// The data of an OLE drag: values by clipboard format, and the files of a file drag.
// A drop target reads it; a drag source fills it in OLEStartDrag or OLESetData.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "frame/host/Variant.h"

namespace talvik {

// Clipboard formats, as the data-format argument carries them.
inline constexpr std::int16_t kFormatText = 1;
inline constexpr std::int16_t kFormatBitmap = 2;
inline constexpr std::int16_t kFormatFiles = 15;

class DataObject {
public:
    bool GetFormat(std::int16_t format) const;
    // The value stored in that format; error 5 when there is none.
    const Variant& GetData(std::int16_t format) const;
    void SetData(Variant value, std::int16_t format);
    void Clear();

    // The paths of a file drag; GetFormat(kFormatFiles) tells whether there are any.
    const std::vector<std::string>& Files() const { return files_; }
    void AddFile(std::string path) { files_.push_back(std::move(path)); }

private:
    std::vector<std::pair<std::int16_t, Variant>> data_;
    std::vector<std::string> files_;
};

}  // namespace talvik
