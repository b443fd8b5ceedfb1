#pragma once
// The pictures a library carries, decoded once and shared: its numbered and named
// bitmap resources and the pictures of its controls' design templates. The library
// supplies the files; the frame only decodes and caches them.
#include <optional>
#include <span>
#include <string_view>

#include "frame/model/Picture.h"

namespace talvik {

// A picture as the library stores it: its stored name and a complete BMP file, and
// optionally the same picture at twice its width and height.
struct PictureFile {
    std::string_view id;
    std::span<const unsigned char> bytes;
    std::span<const unsigned char> large = {};
};

// Where a library's pictures come from.
struct PictureFiles {
    // A bitmap resource by number or name (names without regard to case).
    std::optional<PictureFile> (*bitmap)(std::string_view id) = nullptr;
    // A template picture by "<Control>/<Element>" ("Matrix/Picture1(1)").
    std::optional<PictureFile> (*templatePicture)(std::string_view id) = nullptr;
};

// The bitmap resource stored under that number or name, or the empty picture when the
// library has none.
Picture findResourcePicture(const PictureFiles& files, std::string_view id);
// The picture a control's template carries on an element ("Matrix", "Picture1(1)").
// Raises "Invalid procedure call or argument" when the library has none.
Picture templatePicture(const PictureFiles& files, std::string_view control, std::string_view element);

}  // namespace talvik
