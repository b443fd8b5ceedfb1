#include "frame/host/Variant.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "frame/host/Arith.h"
#include "frame/host/HostError.h"
#include "frame/text/Text.h"

namespace talvik {

const std::string& StringArray::at(std::int32_t i) const {
    if (i < lbound || i > ubound()) err::subscriptOutOfRange();
    return items[static_cast<std::size_t>(i - lbound)];
}

StringArray makeStringArray(std::int32_t lo, std::int32_t hi) {
    if (hi < lo) err::subscriptOutOfRange();
    StringArray a;
    a.lbound = lo;
    a.items.resize(static_cast<std::size_t>(std::int64_t{hi} - lo + 1));
    return a;
}

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
    return s;
}

// Parses a numeric text (see isNumericText); group separators are dropped.
std::optional<double> parseNumber(std::string_view text) {
    std::string_view s = trim(text);
    std::string clean;
    clean.reserve(s.size());
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) clean += s[i++];
    bool digits = false;
    while (i < s.size() && ((s[i] >= '0' && s[i] <= '9') || (s[i] == ',' && digits))) {
        if (s[i] != ',') clean += s[i];
        digits = true;
        ++i;
    }
    if (i < s.size() && s[i] == '.') {
        clean += s[i++];
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            clean += s[i++];
            digits = true;
        }
    }
    if (!digits) return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        clean += 'e';
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) clean += s[i++];
        const std::size_t start = i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') clean += s[i++];
        if (i == start) return std::nullopt;
    }
    if (i != s.size()) return std::nullopt;
    double v = 0;
    const char* b = clean.data();
    if (*b == '+') ++b;
    auto [p, ec] = std::from_chars(b, clean.data() + clean.size(), v);
    if (ec == std::errc::result_out_of_range) return std::numeric_limits<double>::infinity();
    if (ec != std::errc() || p != clean.data() + clean.size()) return std::nullopt;
    return v;
}

double stringToNumber(const std::string& s) {
    const auto v = parseNumber(s);
    if (!v) err::typeMismatch();
    return *v;
}

std::int64_t toWhole(double d, double lo, double hi) {
    if (!std::isfinite(d)) err::overflow();
    const double r = std::nearbyint(d);
    if (r < lo || r > hi) err::overflow();
    return static_cast<std::int64_t>(r);
}

template <class Int>
Int toInteger(const Variant& v) {
    constexpr double lo = std::numeric_limits<Int>::min();
    constexpr double hi = std::numeric_limits<Int>::max();
    switch (v.type()) {
        case VarType::Empty: return 0;
        case VarType::Int16: return static_cast<Int>(toWhole(*v.get<std::int16_t>(), lo, hi));
        case VarType::Int32: return static_cast<Int>(toWhole(*v.get<std::int32_t>(), lo, hi));
        case VarType::Bool: return *v.get<bool>() ? Int(-1) : Int(0);
        case VarType::Float: return static_cast<Int>(toWhole(*v.get<float>(), lo, hi));
        case VarType::Double: return static_cast<Int>(toWhole(*v.get<double>(), lo, hi));
        case VarType::String: return static_cast<Int>(toWhole(stringToNumber(*v.get<std::string>()), lo, hi));
        case VarType::StringArray:
        case VarType::Object: break;
    }
    err::typeMismatch();
}

}  // namespace

std::int16_t Variant::toInt16() const { return toInteger<std::int16_t>(*this); }
std::int32_t Variant::toInt32() const { return toInteger<std::int32_t>(*this); }

double Variant::toDouble() const {
    switch (type()) {
        case VarType::Empty: return 0;
        case VarType::Int16: return *get<std::int16_t>();
        case VarType::Int32: return *get<std::int32_t>();
        case VarType::Bool: return *get<bool>() ? -1 : 0;
        case VarType::Float: return *get<float>();
        case VarType::Double: return *get<double>();
        case VarType::String: return stringToNumber(*get<std::string>());
        case VarType::StringArray:
        case VarType::Object: break;
    }
    err::typeMismatch();
}

float Variant::toFloat() const {
    const double d = toDouble();
    if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max()) err::overflow();
    return static_cast<float>(d);
}

bool Variant::toBool() const {
    if (const auto* s = get<std::string>()) {
        const std::string_view t = trim(*s);
        if (equalsNoCase(t, "true")) return true;
        if (equalsNoCase(t, "false")) return false;
        return stringToNumber(*s) != 0;
    }
    if (const auto* b = get<bool>()) return *b;
    return toDouble() != 0;
}

std::string Variant::toString() const {
    switch (type()) {
        case VarType::Empty: return {};
        case VarType::Int16: return std::to_string(*get<std::int16_t>());
        case VarType::Int32: return std::to_string(*get<std::int32_t>());
        case VarType::Bool: return *get<bool>() ? "True" : "False";
        case VarType::Float: return shortestText(*get<float>());
        case VarType::Double: return shortestText(*get<double>());
        case VarType::String: return *get<std::string>();
        case VarType::StringArray:
        case VarType::Object: break;
    }
    err::typeMismatch();
}

const StringArray& Variant::toStringArray() const {
    if (const auto* a = get<StringArray>()) return *a;
    err::typeMismatch();
}

ObjectRef Variant::toObject() const {
    if (empty()) return {};
    if (const auto* o = get<ObjectRef>()) return *o;
    err::typeMismatch();
}

Variant Variant::as(VarType t) const {
    switch (t) {
        case VarType::Empty: return {};
        case VarType::Int16: return toInt16();
        case VarType::Int32: return toInt32();
        case VarType::Bool: return toBool();
        case VarType::Float: return toFloat();
        case VarType::Double: return toDouble();
        case VarType::String: return toString();
        case VarType::StringArray: return toStringArray();
        case VarType::Object: return toObject();
    }
    err::typeMismatch();
}

bool isNumericText(std::string_view text) { return parseNumber(text).has_value(); }

std::string shortestText(double v) {
    if (v == 0) return "0";
    char buf[64];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, p);
}

std::string shortestText(float v) {
    if (v == 0) return "0";
    char buf[64];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, p);
}

}  // namespace talvik
