#pragma once
// A 128-bit class, interface or library identifier, written
// "{1E2E8703-D9FD-48D0-9002-8B673A58920A}".
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace talvik {

struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0, data3 = 0;
    std::array<std::uint8_t, 8> data4{};

    // The identifier a text names: 32 hex digits in groups of 8-4-4-4-12, in braces;
    // digits in either case. Anything else is no identifier.
    static constexpr std::optional<Guid> parse(std::string_view text);
    // Upper-case digits in braces.
    std::string text() const;

    friend constexpr bool operator==(const Guid&, const Guid&) = default;
};

// An identifier written in the source; a malformed one does not compile.
consteval Guid guid(std::string_view text) {
    const std::optional<Guid> g = Guid::parse(text);
    if (!g) throw "malformed identifier";
    return *g;
}

constexpr std::optional<Guid> Guid::parse(std::string_view s) {
    if (s.size() != 38 || s.front() != '{' || s.back() != '}') return std::nullopt;
    constexpr std::size_t dashes[] = {9, 14, 19, 24};
    for (std::size_t d : dashes)
        if (s[d] != '-') return std::nullopt;
    std::size_t pos = 1;
    const auto hex = [&](int digits, std::uint64_t& out) {
        out = 0;
        for (int i = 0; i < digits; ++i, ++pos) {
            if (pos == 9 || pos == 14 || pos == 19 || pos == 24) ++pos;
            const char c = s[pos];
            int v = -1;
            if (c >= '0' && c <= '9') v = c - '0';
            else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
            if (v < 0) return false;
            out = out * 16 + static_cast<std::uint64_t>(v);
        }
        return true;
    };
    Guid g;
    std::uint64_t v = 0;
    if (!hex(8, v)) return std::nullopt;
    g.data1 = static_cast<std::uint32_t>(v);
    if (!hex(4, v)) return std::nullopt;
    g.data2 = static_cast<std::uint16_t>(v);
    if (!hex(4, v)) return std::nullopt;
    g.data3 = static_cast<std::uint16_t>(v);
    for (auto& b : g.data4) {
        if (!hex(2, v)) return std::nullopt;
        b = static_cast<std::uint8_t>(v);
    }
    return g;
}

}  // namespace talvik
