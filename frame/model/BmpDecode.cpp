// Decoder for Windows device-independent bitmap files.
//
// Accepted: a BITMAPFILEHEADER followed by a BITMAPCOREHEADER (12 bytes), a
// BITMAPINFOHEADER (40) or one of its longer forms (52, 56, V4 108, V5 124); 1, 4 and 8
// bits with a colour table, 24 bits, 32 bits either plain (BI_RGB, the fourth byte being
// alpha) or with BI_BITFIELDS masks; bottom-up (positive height) and top-down (negative
// height) rows, each padded to a multiple of four bytes. Compressed data (RLE, JPEG, PNG)
// is refused.
//
// Every read is checked against the length of the input, so a damaged file raises the
// host's "Invalid procedure call or argument" instead of reading past its end.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "frame/model/Bitmap.h"
#include "frame/host/HostError.h"

namespace talvik {
namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

// Largest side and area we agree to decode: far beyond any skin or template picture,
// small enough that a forged header cannot make us allocate gigabytes.
constexpr std::int64_t kMaxSide = 32768;
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 26;

[[noreturn]] void malformed() { err::invalidCall(); }

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}

    std::size_t size() const { return data_.size(); }

    bool has(std::size_t offset, std::size_t count) const {
        return offset <= data_.size() && count <= data_.size() - offset;
    }
    std::uint8_t u8(std::size_t at) const {
        if (!has(at, 1)) malformed();
        return data_[at];
    }
    std::uint16_t u16(std::size_t at) const {
        if (!has(at, 2)) malformed();
        return static_cast<std::uint16_t>(data_[at] | (data_[at + 1] << 8));
    }
    std::uint32_t u32(std::size_t at) const {
        if (!has(at, 4)) malformed();
        return static_cast<std::uint32_t>(data_[at]) | (static_cast<std::uint32_t>(data_[at + 1]) << 8) |
               (static_cast<std::uint32_t>(data_[at + 2]) << 16) |
               (static_cast<std::uint32_t>(data_[at + 3]) << 24);
    }
    std::int32_t i32(std::size_t at) const { return static_cast<std::int32_t>(u32(at)); }
    std::int16_t i16(std::size_t at) const { return static_cast<std::int16_t>(u16(at)); }
    const std::uint8_t* ptr(std::size_t at) const { return data_.data() + at; }

private:
    std::span<const std::uint8_t> data_;
};

// One channel described by a bit mask: where it starts and how to scale it to 0..255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;  // the mask's value range after shifting

    explicit Channel(std::uint32_t m = 0) : mask(m) {
        if (mask == 0) return;
        while (((mask >> shift) & 1u) == 0) ++shift;
        max = mask >> shift;
        // Masks must be one contiguous run of bits.
        if ((max & (max + 1)) != 0) malformed();
    }
    std::uint32_t extract(std::uint32_t pixel) const {
        if (mask == 0) return 0;
        const std::uint32_t v = (pixel & mask) >> shift;
        return max == 255 ? v : static_cast<std::uint32_t>((v * 255u + max / 2) / max);
    }
};

}  // namespace

Bitmap decodeBmp(std::span<const std::uint8_t> file) {
    const Reader in(file);
    constexpr std::size_t kFileHeader = 14;
    if (!in.has(0, kFileHeader + 12)) malformed();
    if (in.u8(0) != 'B' || in.u8(1) != 'M') malformed();
    const std::uint32_t pixelOffset = in.u32(10);

    const std::uint32_t headerSize = in.u32(kFileHeader);
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t planes = 0;
    std::uint32_t bits = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t colorsUsed = 0;
    std::size_t paletteEntry = 4;  // RGBQUAD; the core header uses RGBTRIPLE
    std::uint32_t maskR = 0, maskG = 0, maskB = 0, maskA = 0;
    std::size_t afterHeader = kFileHeader + headerSize;

    if (headerSize == 12) {
        width = in.u16(kFileHeader + 4);
        height = in.i16(kFileHeader + 6);
        planes = in.u16(kFileHeader + 8);
        bits = in.u16(kFileHeader + 10);
        paletteEntry = 3;
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 ||
               headerSize == 124) {
        if (!in.has(kFileHeader, headerSize)) malformed();
        width = in.i32(kFileHeader + 4);
        height = in.i32(kFileHeader + 8);
        planes = in.u16(kFileHeader + 12);
        bits = in.u16(kFileHeader + 14);
        compression = in.u32(kFileHeader + 16);
        colorsUsed = in.u32(kFileHeader + 32);
        if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
            // The masks follow the 40-byte header, either inside a longer header or,
            // for a plain BITMAPINFOHEADER, as three (or four) extra fields.
            const std::size_t m = kFileHeader + 40;
            maskR = in.u32(m);
            maskG = in.u32(m + 4);
            maskB = in.u32(m + 8);
            const bool alphaField = headerSize >= 56 || compression == kBiAlphaBitfields;
            if (alphaField) maskA = in.u32(m + 12);
            if (headerSize == 40) afterHeader += alphaField ? 16 : 12;
        } else if (headerSize >= 56) {
            maskA = in.u32(kFileHeader + 52);
        }
    } else {
        malformed();
    }

    if (planes != 1) malformed();
    if (width <= 0 || height == 0) malformed();
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels) malformed();

    const bool paletted = bits == 1 || bits == 4 || bits == 8;
    if (!paletted && bits != 24 && bits != 32) malformed();
    if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
        if (bits != 32) malformed();
    } else if (compression != kBiRgb) {
        malformed();
    }

    // Colour table.
    std::uint32_t palette[256] = {};
    std::uint32_t paletteSize = 0;
    if (paletted) {
        const std::uint32_t maxColors = 1u << bits;
        paletteSize = colorsUsed == 0 ? maxColors : colorsUsed;
        if (paletteSize > maxColors) malformed();
        const std::size_t start = afterHeader;
        if (!in.has(start, std::size_t{paletteSize} * paletteEntry)) malformed();
        for (std::uint32_t i = 0; i < paletteSize; ++i) {
            const std::size_t at = start + i * paletteEntry;
            const std::uint32_t b = in.u8(at), g = in.u8(at + 1), r = in.u8(at + 2);
            palette[i] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }

    // Pixel rows: each padded to four bytes; the last row may lack its padding.
    const std::size_t rowBytes = static_cast<std::size_t>((width * bits + 7) / 8);
    const std::size_t stride = static_cast<std::size_t>(((width * bits + 31) / 32) * 4);
    const std::size_t needed = stride * static_cast<std::size_t>(height - 1) + rowBytes;
    if (!in.has(pixelOffset, needed)) malformed();
    if (pixelOffset < afterHeader) malformed();

    Bitmap out;
    out.width = static_cast<std::int32_t>(width);
    out.height = static_cast<std::int32_t>(height);
    out.bitDepth = static_cast<int>(bits);
    out.argb.resize(static_cast<std::size_t>(width * height));

    const bool bitfields = compression != kBiRgb;
    Channel cr(bitfields ? maskR : 0x00FF0000u);
    Channel cg(bitfields ? maskG : 0x0000FF00u);
    Channel cb(bitfields ? maskB : 0x000000FFu);
    Channel ca(bitfields ? maskA : 0xFF000000u);

    for (std::int64_t y = 0; y < height; ++y) {
        const std::int64_t fileRow = topDown ? y : height - 1 - y;
        const std::uint8_t* row = in.ptr(pixelOffset + static_cast<std::size_t>(fileRow) * stride);
        std::uint32_t* dst = out.argb.data() + static_cast<std::size_t>(y * width);
        for (std::int64_t x = 0; x < width; ++x) {
            std::uint32_t argb = 0;
            if (paletted) {
                std::uint32_t index = 0;
                const std::size_t bitPos = static_cast<std::size_t>(x) * bits;
                const std::uint8_t byte = row[bitPos / 8];
                const unsigned shift = 8 - bits - static_cast<unsigned>(bitPos % 8);
                index = (byte >> shift) & ((1u << bits) - 1u);
                // An index past the table shows black rather than reading beyond it.
                argb = index < paletteSize ? palette[index] : 0xFF000000u;
            } else if (bits == 24) {
                const std::uint8_t* p = row + x * 3;
                argb = 0xFF000000u | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
            } else {
                const std::uint8_t* p = row + x * 4;
                const std::uint32_t v = std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) |
                                        (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
                argb = (ca.extract(v) << 24) | (cr.extract(v) << 16) | (cg.extract(v) << 8) | cb.extract(v);
            }
            dst[x] = argb;
        }
    }

    if (bits == 32) {
        // A 32-bit file whose alpha is zero throughout (or that has no alpha mask) does
        // not use its alpha channel: the common convention is to show it opaque.
        const bool anyAlpha =
            ca.mask != 0 && std::any_of(out.argb.begin(), out.argb.end(),
                                        [](std::uint32_t p) { return (p >> 24) != 0; });
        if (!anyAlpha) {
            for (auto& p : out.argb) p |= 0xFF000000u;
        }
        out.hasMask = std::any_of(out.argb.begin(), out.argb.end(),
                                  [](std::uint32_t p) { return (p >> 24) != 0xFF; });
    }
    return out;
}

}  // namespace talvik
