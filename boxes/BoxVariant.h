#pragma once
// What sets one skinned box apart from the others in the frame they share; everything
// else a box adds goes through the hooks of SkinFrame.
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

#include "boxes/FrameSteps.h"

namespace talvik::controls {

// A set of Style values, for the small non-negative styles that have skins.
class StyleSet {
public:
    constexpr StyleSet(std::initializer_list<int> styles) {
        for (int s : styles) bits_ |= std::uint32_t{1} << s;
    }
    constexpr bool has(std::int32_t style) const {
        return style >= 0 && style < 32 && (bits_ >> style & 1u) != 0;
    }

private:
    std::uint32_t bits_ = 0;
};

// A label whose caption turns white when a skin of one of these styles is loaded.
struct WhiteLabel {
    std::string_view label;
    StyleSet styles;
};

struct BoxVariant {
    std::string_view defaultCaption;           // "Caption" when placed new or not stored
    std::int32_t rightTopOfStyle4 = 194;       // bitmap of Image1(2) in style 4
    std::int32_t lastSkinnedStyle = 5;         // styles 0 to this have a skin row
    std::span<const WhiteLabel> whiteLabels;   // in the order they are recoloured
    bool captionInTopRowForStyle5 = true;      // PlaceCaption's style 5 step
    OnStepError arrangeErrors = OnStepError::EndRoutine;
    // InitProperties and ReadProperties put the caption into Label1 as soon as it is
    // known, before the Style is read, not only at the next layout.
    bool showsCaptionAtOnce = false;
};

}  // namespace talvik::controls
