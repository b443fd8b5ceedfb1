#pragma once
// The container's output: one JSON object a line, written as text.
#include <cstdint>
#include <string>
#include <string_view>

#include "frame/host/Variant.h"

namespace talvik::container {

// A JSON string. Valid UTF-8 passes through; a byte that is not part of a UTF-8
// sequence is read as Windows-1252, so that every output line is valid UTF-8.
std::string quoted(std::string_view text);
// Numbers in the shortest form that reads back as the same value (a float as the
// 32-bit value it is); null for what JSON cannot hold (infinities, NaN).
std::string number(float v);
std::string number(double v);
std::string number(std::int64_t v);
// A variant's value: null when empty, an array of strings for a string array.
std::string value(const Variant& v);

// An object built member by member, in order.
class Object {
public:
    Object& add(std::string_view key, std::string_view json);  // json is already JSON text
    Object& str(std::string_view key, std::string_view text) { return add(key, quoted(text)); }
    Object& num(std::string_view key, std::int64_t v) { return add(key, number(v)); }
    Object& num(std::string_view key, float v) { return add(key, number(v)); }
    Object& boolean(std::string_view key, bool v) { return add(key, v ? "true" : "false"); }
    std::string text() const { return "{" + body_ + "}"; }

private:
    std::string body_;
};

// A JSON array of already formatted items.
class Array {
public:
    Array& add(std::string_view json);
    std::string text() const { return "[" + body_ + "]"; }

private:
    std::string body_;
};

}  // namespace talvik::container
