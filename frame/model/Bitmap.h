#pragma once
// A decoded bitmap: what a Picture handle points at. Immutable once made.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace talvik {

struct Bitmap {
    std::int32_t width = 0;   // pixels
    std::int32_t height = 0;  // pixels
    int bitDepth = 24;        // as stored: 4, 8, 24 or 32
    bool hasMask = false;     // true when some pixels are transparent
    // Row-major, top row first, 0xAARRGGBB; fully transparent pixels have alpha 0.
    std::vector<std::uint32_t> argb;
    // What the dump prints for a picture of this bitmap: "res:SB_MID_1", "tpl:Picture1(1)".
    std::string origin;
    // The same picture drawn at twice the width and height, when the library has it: a
    // host draws it on screens of more than one device pixel per pixel. Sizes and
    // layouts always use this bitmap's own width and height.
    std::shared_ptr<const Bitmap> large;
};

// Decodes a Windows device-independent bitmap file (BITMAPFILEHEADER + BITMAPINFOHEADER,
// 1/4/8/24/32 bits, uncompressed, bottom-up or top-down). A 32-bit file carries alpha.
// Throws HostError 5 ("Invalid procedure call or argument") on malformed data.
Bitmap decodeBmp(std::span<const std::uint8_t> file);

}  // namespace talvik
