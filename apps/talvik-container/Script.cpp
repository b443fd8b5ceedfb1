#include "apps/talvik-container/Script.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace talvik::container {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t digitsAt(std::string_view s, std::size_t i) {
    const std::size_t start = i;
    while (i < s.size() && isDigit(s[i])) ++i;
    return i - start;
}

std::string unquote(std::string_view word) {
    if (word.size() < 2 || word.back() != '"') throw SyntaxError{"unterminated string " + std::string(word)};
    std::string out;
    for (std::size_t i = 1; i + 1 < word.size(); ++i) {
        char c = word[i];
        if (c == '"') throw SyntaxError{"unescaped quote in " + std::string(word)};
        if (c == '\\') {
            if (i + 2 >= word.size()) throw SyntaxError{"unterminated string " + std::string(word)};
            c = word[++i];
            if (c == 'n') c = '\n';
            else if (c != '"' && c != '\\') throw SyntaxError{"unknown escape \\" + std::string(1, c)};
        }
        out += c;
    }
    return out;
}

Variant numberValue(std::string_view word) {
    std::size_t i = word[0] == '-' ? 1 : 0;
    const std::size_t whole = digitsAt(word, i);
    i += whole;
    bool decimal = false;
    if (i < word.size() && word[i] == '.') {
        ++i;
        const std::size_t frac = digitsAt(word, i);
        if (frac == 0) throw SyntaxError{"not a value: " + std::string(word)};
        i += frac;
        decimal = true;
    }
    if (whole == 0) throw SyntaxError{"not a value: " + std::string(word)};
    if (i < word.size() && (word[i] == 'e' || word[i] == 'E')) {
        ++i;
        if (i < word.size() && (word[i] == '+' || word[i] == '-')) ++i;
        const std::size_t exp = digitsAt(word, i);
        if (exp == 0) throw SyntaxError{"not a value: " + std::string(word)};
        i += exp;
        decimal = true;
    }
    if (i != word.size()) throw SyntaxError{"not a value: " + std::string(word)};
    if (!decimal) {
        std::int64_t n = 0;
        const auto [p, ec] = std::from_chars(word.data(), word.data() + word.size(), n);
        if (ec == std::errc() && p == word.data() + word.size()) {
            if (n >= std::numeric_limits<std::int16_t>::min() && n <= std::numeric_limits<std::int16_t>::max())
                return static_cast<std::int16_t>(n);
            if (n >= std::numeric_limits<std::int32_t>::min() && n <= std::numeric_limits<std::int32_t>::max())
                return static_cast<std::int32_t>(n);
        }
    }
    double d = 0;
    const auto [p, ec] = std::from_chars(word.data(), word.data() + word.size(), d);
    if (ec == std::errc::result_out_of_range) throw SyntaxError{"number out of range: " + std::string(word)};
    if (ec != std::errc() || p != word.data() + word.size()) throw SyntaxError{"not a value: " + std::string(word)};
    return d;
}

}  // namespace

std::vector<std::string> splitWords(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, inString = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (inString) {
            word += c;
            if (c == '\\' && i + 1 < line.size()) word += line[++i];
            else if (c == '"') inString = false;
            continue;
        }
        if (c == ' ' || c == '\t') {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        word += c;
        if (c == '"') inString = true;
    }
    if (inString) throw SyntaxError{"unterminated string"};
    if (inWord) words.push_back(std::move(word));
    return words;
}

Variant parseValue(std::string_view word) {
    if (word.empty()) throw SyntaxError{"missing value"};
    if (word.front() == '"') return unquote(word);
    if (word == "true") return true;
    if (word == "false") return false;
    return numberValue(word);
}

std::pair<std::string, Variant> parseAssignment(std::string_view word) {
    const auto eq = word.find('=');
    if (eq == std::string_view::npos || eq == 0) throw SyntaxError{"expected KEY=VALUE: " + std::string(word)};
    return {std::string(word.substr(0, eq)), parseValue(word.substr(eq + 1))};
}

std::optional<ElementName> parseElementName(std::string_view word) {
    const auto isNameChar = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || isDigit(c) || c == '_';
    };
    std::size_t i = 0;
    while (i < word.size() && isNameChar(word[i])) ++i;
    if (i == 0 || isDigit(word[0])) return std::nullopt;
    ElementName e{std::string(word.substr(0, i))};
    if (i == word.size()) return e;
    if (word[i] != '(' || word.back() != ')') return std::nullopt;
    const std::string_view digits = word.substr(i + 1, word.size() - i - 2);
    int n = 0;
    const auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (digits.empty() || ec != std::errc() || p != digits.data() + digits.size() || n < 0) return std::nullopt;
    e.index = n;
    return e;
}

}  // namespace talvik::container
