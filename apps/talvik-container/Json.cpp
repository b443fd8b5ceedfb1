#include "apps/talvik-container/Json.h"

#include <cmath>

#include "frame/model/Elements.h"
#include "frame/text/TextEncoding.h"

namespace talvik::container {

namespace {

// Length of the valid UTF-8 sequence at the start of s, 0 when there is none.
std::size_t utf8Length(std::string_view s) {
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char c = b(0);
    std::size_t n = 0;
    char32_t min = 0;
    if (c >= 0xC2 && c <= 0xDF) n = 2, min = 0x80;
    else if (c >= 0xE0 && c <= 0xEF) n = 3, min = 0x800;
    else if (c >= 0xF0 && c <= 0xF4) n = 4, min = 0x10000;
    else return 0;
    if (s.size() < n) return 0;
    char32_t v = c & (0x7F >> n);
    for (std::size_t i = 1; i < n; ++i) {
        if ((b(i) & 0xC0) != 0x80) return 0;
        v = (v << 6) | (b(i) & 0x3F);
    }
    if (v < min || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return 0;
    return n;
}

}  // namespace

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            if (const std::size_t n = utf8Length(text.substr(i)); n != 0) {
                out.append(text.substr(i, n));
                i += n;
            } else {
                out += windows1252ToUtf8(text.substr(i, 1));
                ++i;
            }
            continue;
        }
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    static constexpr char hex[] = "0123456789abcdef";
                    out += "\\u00";
                    out += hex[c >> 4];
                    out += hex[c & 0xF];
                } else {
                    out += static_cast<char>(c);
                }
        }
        ++i;
    }
    return out + "\"";
}

std::string number(float v) { return std::isfinite(v) ? shortestText(v) : "null"; }
std::string number(double v) { return std::isfinite(v) ? shortestText(v) : "null"; }
std::string number(std::int64_t v) { return std::to_string(v); }

std::string value(const Variant& v) {
    switch (v.type()) {
        case VarType::Empty: return "null";
        case VarType::Int16: return number(std::int64_t{*v.get<std::int16_t>()});
        case VarType::Int32: return number(std::int64_t{*v.get<std::int32_t>()});
        case VarType::Bool: return *v.get<bool>() ? "true" : "false";
        case VarType::Float: return number(*v.get<float>());
        case VarType::Double: return number(*v.get<double>());
        case VarType::String: return quoted(*v.get<std::string>());
        case VarType::StringArray: {
            Array a;
            for (const std::string& s : v.get<StringArray>()->items) a.add(quoted(s));
            return a.text();
        }
        case VarType::Object: {
            // An element by its name; nothing and a data object have none.
            const Element e = v.get<ObjectRef>()->element;
            return e ? quoted(e.displayName()) : "null";
        }
    }
    return "null";
}

Object& Object::add(std::string_view key, std::string_view json) {
    if (!body_.empty()) body_ += ',';
    body_ += quoted(key);
    body_ += ':';
    body_ += json;
    return *this;
}

Array& Array::add(std::string_view json) {
    if (!body_.empty()) body_ += ',';
    body_ += json;
    return *this;
}

}  // namespace talvik::container
