#pragma once
// The value types that elements are described with: kinds, colours, fonts, alignment.
#include <cstdint>
#include <string>
#include <string_view>

namespace talvik {

enum class ElementKind : std::uint8_t { Image, Label, Line, PictureBox, Timer, Frame };
std::string_view kindName(ElementKind k);  // "image", "label", ...

// Colours: 0x00BBGGRR, or 0x80000000 + n for the host's system colour n.
using Colour = std::uint32_t;
inline constexpr Colour kSystemColourFlag = 0x80000000u;
inline constexpr Colour kHighlight = 0x8000000Du;
inline constexpr Colour kButtonText = 0x80000012u;
inline constexpr Colour kButtonFace = 0x8000000Fu;
constexpr Colour rgb(int r, int g, int b) { return Colour(r) | (Colour(g) << 8) | (Colour(b) << 16); }

// How a label's caption bytes are to be read when they are drawn.
enum class TextEncoding : std::uint8_t { Windows1252, Tcvn3 };

enum class Alignment : std::int16_t { Left = 0, Right = 1, Center = 2 };

struct Font {
    std::string name = "MS Sans Serif";
    float size = 8.25f;  // points
    bool bold = false;
    bool underline = false;
    friend bool operator==(const Font&, const Font&) = default;
};

struct TextExtent {
    float width = 0, height = 0;  // twips
};

}  // namespace talvik
