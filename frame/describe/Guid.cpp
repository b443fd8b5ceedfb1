#include "frame/describe/Guid.h"

namespace talvik {

std::string Guid::text() const {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string s = "{";
    const auto put = [&](std::uint64_t v, int count) {
        for (int i = count - 1; i >= 0; --i) s += digits[(v >> (4 * i)) & 0xF];
    };
    put(data1, 8);
    s += '-';
    put(data2, 4);
    s += '-';
    put(data3, 4);
    s += '-';
    put(data4[0], 2);
    put(data4[1], 2);
    s += '-';
    for (int i = 2; i < 8; ++i) put(data4[static_cast<std::size_t>(i)], 2);
    return s + "}";
}

}  // namespace talvik
