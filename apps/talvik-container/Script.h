#pragma once
// The words of a script line and the values written in them.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/host/Variant.h"

namespace talvik::container {

// What makes a line not understood; the container reports the text.
struct SyntaxError {
    std::string what;
};

// The words of a line, split at spaces outside double quotes. Throws SyntaxError for
// an unterminated string.
std::vector<std::string> splitWords(std::string_view line);

// A value: an integer (a 16-bit one when it fits, else 32-bit, else a double), a
// decimal number (a double), a string in double quotes with \" \\ \n escapes, true
// or false. Throws SyntaxError for anything else.
Variant parseValue(std::string_view word);

// KEY=VALUE; throws SyntaxError without a key or a value.
std::pair<std::string, Variant> parseAssignment(std::string_view word);

// An element name: "Label1" (index -1) or "Image2(6)"; nullopt when malformed.
struct ElementName {
    std::string name;
    int index = -1;
};
std::optional<ElementName> parseElementName(std::string_view word);

}  // namespace talvik::container
