#include "boxes/SkinTable.h"

#include "frame/describe/Enumerations.h"

namespace talvik::controls {

namespace {

const SkinRow kSkins[] = {
    // 0 Office2007box
    {{101, 102, 103}, {104, 105, 106}, {107, 108, 109}},
    // 1 Natural_bluebox
    {{119, 120, 121}, {122, 123, 124}, {125, 126, 127}},
    // 2 Natural_greenbox
    {{137, 138, 139}, {140, 141, 142}, {143, 144, 145}},
    // 3 Natural_redlightbox
    {{128, 129, 130}, {131, 132, 133}, {134, 135, 136}},
    // 4 Baby_reddarkbox; the right top slice is the box's own
    {{175, 176, 194}, {178, 179, 180}, {181, 182, 183}},
    // 5 Baby_FireFox
    {{"SB_TOP_1", "SB_TOP_2", "SB_TOP_3"},
     {"SB_mid_1", "SB_mid_2", "SB_mid_3"},
     {"SB_bottom_1", "SB_bottom_2", "SB_bottom_3"}},
};

constexpr std::int32_t kStyles = static_cast<std::int32_t>(std::size(kSkins));

}  // namespace

std::optional<SkinRow> skinRow(std::int32_t style, const BoxVariant& box) {
    if (style < 0 || style >= kStyles || style > box.lastSkinnedStyle) return std::nullopt;
    SkinRow row = kSkins[style];
    if (style == Baby_reddarkbox) row.top[2] = box.rightTopOfStyle4;
    return row;
}

}  // namespace talvik::controls
