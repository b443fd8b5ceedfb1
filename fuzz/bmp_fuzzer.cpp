// The bitmap decoder on arbitrary files: a picture, or error 5, and a picture always
// holds exactly one pixel per pixel of its size.
#include <cstddef>
#include <cstdint>
#include <span>

#include "frame/host/HostError.h"
#include "frame/model/Bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const talvik::Bitmap b = talvik::decodeBmp(std::span(data, size));
        if (b.width <= 0 || b.height <= 0 ||
            b.argb.size() != static_cast<std::size_t>(b.width) * static_cast<std::size_t>(b.height))
            __builtin_trap();
    } catch (const talvik::HostError& e) {
        if (e.number != 5) __builtin_trap();
    }
    return 0;
}
