#pragma once
// Reading the 8-bit text that labels hold as Unicode (UTF-8), by the encoding the
// label's template gives it: Windows-1252, or TCVN3, the Vietnamese encoding of the
// ".Vn" fonts.
#include <string>
#include <string_view>

#include "frame/model/Elements.h"

namespace talvik {

std::string windows1252ToUtf8(std::string_view bytes);
// The Vietnamese letters of TCVN3 (the lower-case letters with their tones and the
// upper-case letters without them); bytes outside that set read as Windows-1252.
std::string tcvn3ToUtf8(std::string_view bytes);
std::string toUtf8(std::string_view bytes, TextEncoding encoding);

}  // namespace talvik
