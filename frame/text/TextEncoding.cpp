#include "frame/text/TextEncoding.h"

#include <cstdint>

namespace talvik {

namespace {

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// 0x80..0x9F of Windows-1252; the five bytes it leaves undefined keep their value.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t windows1252(std::uint8_t b) {
    return b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : char32_t{b};
}

// TCVN3 from 0xA1 on; 0 where the byte is not a Vietnamese letter.
constexpr char16_t kTcvn3[0x100 - 0xA1] = {
    /* A1 */ 0x0102, 0x00C2, 0x00CA, 0x00D4, 0x01A0, 0x01AF, 0x0110,  // Ă Â Ê Ô Ơ Ư Đ
    /* A8 */ 0x0103, 0x00E2, 0x00EA, 0x00F4, 0x01A1, 0x01B0, 0x0111,  // ă â ê ô ơ ư đ
    /* AF */ 0, 0, 0, 0, 0, 0,
    /* B5 */ 0x00E0, 0x1EA3, 0x00E3, 0x00E1, 0x1EA1,  // à ả ã á ạ
    /* BA */ 0,
    /* BB */ 0x1EB1, 0x1EB3, 0x1EB5, 0x1EAF,  // ằ ẳ ẵ ắ
    /* BF */ 0, 0, 0, 0, 0, 0, 0,
    /* C6 */ 0x1EB7,                                  // ặ
    /* C7 */ 0x1EA7, 0x1EA9, 0x1EAB, 0x1EA5, 0x1EAD,  // ầ ẩ ẫ ấ ậ
    /* CC */ 0x00E8, 0,                               // è
    /* CE */ 0x1EBB, 0x1EBD, 0x00E9, 0x1EB9,          // ẻ ẽ é ẹ
    /* D2 */ 0x1EC1, 0x1EC3, 0x1EC5, 0x1EBF, 0x1EC7,  // ề ể ễ ế ệ
    /* D7 */ 0x00EC, 0x1EC9, 0, 0, 0,                 // ì ỉ
    /* DC */ 0x0129, 0x00ED, 0x1ECB,                  // ĩ í ị
    /* DF */ 0x00F2, 0,                               // ò
    /* E1 */ 0x1ECF, 0x00F5, 0x00F3, 0x1ECD,          // ỏ õ ó ọ
    /* E5 */ 0x1ED3, 0x1ED5, 0x1ED7, 0x1ED1, 0x1ED9,  // ồ ổ ỗ ố ộ
    /* EA */ 0x1EDD, 0x1EDF, 0x1EE1, 0x1EDB, 0x1EE3,  // ờ ở ỡ ớ ợ
    /* EF */ 0x00F9, 0,                               // ù
    /* F1 */ 0x1EE7, 0x0169, 0x00FA, 0x1EE5,          // ủ ũ ú ụ
    /* F5 */ 0x1EEB, 0x1EED, 0x1EEF, 0x1EE9, 0x1EF1,  // ừ ử ữ ứ ự
    /* FA */ 0x1EF3, 0x1EF7, 0x1EF9, 0x00FD, 0x1EF5,  // ỳ ỷ ỹ ý ỵ
};

}  // namespace

std::string windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char ch : bytes) appendUtf8(out, windows1252(static_cast<std::uint8_t>(ch)));
    return out;
}

std::string tcvn3ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char ch : bytes) {
        const auto b = static_cast<std::uint8_t>(ch);
        const char32_t v = b >= 0xA1 ? kTcvn3[b - 0xA1] : 0;
        appendUtf8(out, v != 0 ? v : windows1252(b));
    }
    return out;
}

std::string toUtf8(std::string_view bytes, TextEncoding encoding) {
    return encoding == TextEncoding::Tcvn3 ? tcvn3ToUtf8(bytes) : windows1252ToUtf8(bytes);
}

}  // namespace talvik
