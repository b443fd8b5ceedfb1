#pragma once
// Whole-number helpers with the host's rules: rounding takes halves to the even
// neighbour, and 16-bit arithmetic raises "Overflow" instead of wrapping.
#include <cmath>
#include <compare>
#include <cstdint>

#include "frame/host/HostError.h"

namespace talvik {

// Rounds to the nearest whole number, a half going to the even neighbour (2.5 -> 2,
// 3.5 -> 4). Raises Overflow when the result does not fit 32 bits or is not a number.
inline std::int32_t roundHalfEven(double v) {
    if (!std::isfinite(v)) err::overflow();
    const double r = std::nearbyint(v);  // the default rounding mode is to nearest, ties to even
    if (r < -2147483648.0 || r > 2147483647.0) err::overflow();
    return static_cast<std::int32_t>(r);
}

inline std::int16_t checked16(std::int64_t v) {
    if (v < -32768 || v > 32767) err::overflow();
    return static_cast<std::int16_t>(v);
}

// A 16-bit integer whose arithmetic raises Overflow past -32768..32767, so that an
// expression over 16-bit fields reads as written and fails where the host would.
class I16 {
public:
    I16(std::int64_t v = 0) : v_(checked16(v)) {}
    std::int16_t v() const { return v_; }

    friend I16 operator+(I16 a, I16 b) { return I16(std::int64_t{a.v_} + b.v_); }
    friend I16 operator-(I16 a, I16 b) { return I16(std::int64_t{a.v_} - b.v_); }
    friend I16 operator*(I16 a, I16 b) { return I16(std::int64_t{a.v_} * b.v_); }
    friend bool operator==(I16 a, I16 b) { return a.v_ == b.v_; }
    friend auto operator<=>(I16 a, I16 b) { return a.v_ <=> b.v_; }

private:
    std::int16_t v_;
};

}  // namespace talvik
