#pragma once
// The library's pictures, decoded once and shared: the numbered and named bitmap
// resources, and the pictures of the design templates.
#include <string_view>

#include "frame/Picture.h"

namespace talvik {

// The bitmap resource stored under that number or name (names without regard to case),
// or the empty picture when the library has none.
Picture findResourcePicture(std::string_view id);
// The picture a control's template carries on an element ("Matrix", "Picture1(1)").
// Raises "Invalid procedure call or argument" when the library has none.
Picture templatePicture(std::string_view control, std::string_view element);

}  // namespace talvik
