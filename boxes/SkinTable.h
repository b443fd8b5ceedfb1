#pragma once
// The six skins of the boxes: for each Style, the bitmaps of the nine frame slices.
#include <array>
#include <cstdint>
#include <optional>

#include "boxes/BoxVariant.h"
#include "frame/host/ControlHost.h"

namespace talvik::controls {

// A slice's bitmap resource, by number or by name.
class SliceBitmap {
public:
    constexpr SliceBitmap() = default;  // none: a place a shorter row leaves unused
    constexpr SliceBitmap(std::int32_t number) : number_(number) {}
    constexpr SliceBitmap(const char* name) : name_(name) {}
    ResId id() const { return name_ != nullptr ? ResId(name_) : ResId(number_); }

private:
    std::int32_t number_ = 0;
    const char* name_ = nullptr;
};

// Each row left to right: index 0 the left slice, 1 the middle, 2 the right.
struct SkinRow {
    std::array<SliceBitmap, 3> top, middle, bottom;
};

// The skin of a style as the box shows it (its own right top slice in style 4), or
// nothing for a style without a skin in that box.
std::optional<SkinRow> skinRow(std::int32_t style, const BoxVariant& box);

}  // namespace talvik::controls
