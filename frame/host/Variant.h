#pragma once
// A value as hosts exchange it: in the property store, in dispatch calls and in event
// arguments. Conversions follow the host's variant rules and raise its errors.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "frame/model/Elements.h"

namespace talvik {

// An array of strings that knows its own lower bound (the answers of an answer sheet
// run from 1 to the number of questions).
struct StringArray {
    std::int32_t lbound = 0;
    std::vector<std::string> items;

    std::int32_t ubound() const { return lbound + static_cast<std::int32_t>(items.size()) - 1; }
    // Raises "Subscript out of range" outside lbound..ubound.
    const std::string& at(std::int32_t i) const;
    friend bool operator==(const StringArray&, const StringArray&) = default;
};

// Makes an array with bounds lo..hi; raises "Subscript out of range" when hi < lo.
StringArray makeStringArray(std::int32_t lo, std::int32_t hi);

class DataObject;

// An object an event hands over: one of the control's child elements, the data object
// of a data transfer, or nothing. The variant refers to it and does not own it.
struct ObjectRef {
    Element element;  // none: no element
    const DataObject* data = nullptr;
    friend bool operator==(const ObjectRef&, const ObjectRef&) = default;
};

enum class VarType { Empty, Int16, Int32, Bool, Float, Double, String, StringArray, Object };

class Variant {
public:
    Variant() = default;
    Variant(std::int16_t v) : v_(v) {}
    Variant(std::int32_t v) : v_(v) {}
    Variant(bool v) : v_(v) {}
    Variant(float v) : v_(v) {}
    Variant(double v) : v_(v) {}
    Variant(std::string v) : v_(std::move(v)) {}
    Variant(std::string_view v) : v_(std::string(v)) {}
    Variant(const char* v) : v_(std::string(v)) {}
    Variant(StringArray v) : v_(std::move(v)) {}
    Variant(ObjectRef v) : v_(v) {}

    VarType type() const { return static_cast<VarType>(v_.index()); }
    bool empty() const { return type() == VarType::Empty; }

    // Conversions by the variant rules: integers narrow only when they fit (else
    // Overflow), decimals round half to even, strings convert when they read as a
    // number as a whole (else Type mismatch), booleans are -1 and 0.
    std::int16_t toInt16() const;
    std::int32_t toInt32() const;
    bool toBool() const;
    float toFloat() const;
    double toDouble() const;
    std::string toString() const;
    const StringArray& toStringArray() const;  // Type mismatch unless an array
    ObjectRef toObject() const;                 // Empty is no object; Type mismatch unless an object

    // The value converted to another type, as a dispatch layer coerces arguments.
    Variant as(VarType t) const;

    template <class T>
    const T* get() const { return std::get_if<T>(&v_); }

    friend bool operator==(const Variant&, const Variant&) = default;

private:
    std::variant<std::monostate, std::int16_t, std::int32_t, bool, float, double, std::string,
                 StringArray, ObjectRef>
        v_;
};

// Whether a text as a whole reads as a number: optional sign, digits with optional
// group separators, an optional decimal part, an optional exponent; surrounding spaces
// are allowed. The empty text is not a number.
bool isNumericText(std::string_view text);

// The shortest text that reads back as the same value: 22.5, 1072.5, 9780, 1e+30.
std::string shortestText(double v);
std::string shortestText(float v);

}  // namespace talvik
