#pragma once
// A control's public members: one row each, in the control's own source, holding
// everything known of the member: its name, kind, type, identifier and the C++
// operations behind it.
//
//     constexpr MemberDesc kMembers[] = {
//         method<&Matrix::reset>("reset", 0x6003000C),
//         property<Matrix, std::int16_t, &Matrix::DistanceItems, &Matrix::DistanceItems>("DistanceItems", kProperty + 5),
//         readOnly<&Matrix::result>("result", kProperty + 0),
//     };
//
// A bound row takes its type from the C++ operations (an enumeration is named, its
// operations use 32-bit integers); a row of a control that is not built yet is written
// out as {name, kind, type, identifier} and has no binding.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

#include "frame/host/Variant.h"

namespace talvik {

class Control;

// A member's type: a variant type, or a public enumeration (held as a 32-bit integer).
struct TypeRef {
    VarType type = VarType::Empty;
    std::string_view enumName;  // non-empty for an enumeration

    // The variant type a value is coerced to.
    constexpr VarType coerced() const { return enumName.empty() ? type : VarType::Int32; }
};

inline constexpr TypeRef kVoid{VarType::Empty, {}};
inline constexpr TypeRef kInt16{VarType::Int16, {}};
inline constexpr TypeRef kInt32{VarType::Int32, {}};
inline constexpr TypeRef kBool{VarType::Bool, {}};
inline constexpr TypeRef kFloat{VarType::Float, {}};
inline constexpr TypeRef kString{VarType::String, {}};
inline constexpr TypeRef kStrings{VarType::StringArray, {}};

// Properties of a control count down to this identifier; methods carry 0x6003xxxx.
inline constexpr std::int32_t kProperty = 0x68030000;

enum class MemberKind { Property, ReadOnlyProperty, Method };

// Values arrive already coerced to the member's type by the dispatch layer.
struct MemberBinding {
    Variant (*get)(Control&) = nullptr;               // properties and methods
    void (*let)(Control&, const Variant&) = nullptr;  // properties with a let
};

struct MemberDesc {
    std::string_view name;
    MemberKind kind;
    TypeRef type;  // a method's result, kVoid for none
    std::int32_t id;
    MemberBinding binding{};  // none while the control is described only

    constexpr bool hasLet() const { return kind == MemberKind::Property; }
    constexpr bool bound() const { return binding.get != nullptr; }
};

namespace detail {
template <class T>
struct Fn;
template <class C, class R>
struct Fn<R (C::*)() const> {
    using Class = C;
    using Result = R;
};
template <class C, class R>
struct Fn<R (C::*)()> {
    using Class = C;
    using Result = R;
};

template <class T>
constexpr VarType varTypeOf() {
    if constexpr (std::is_void_v<T>) return VarType::Empty;
    else if constexpr (std::is_same_v<T, std::int16_t>) return VarType::Int16;
    else if constexpr (std::is_same_v<T, std::int32_t>) return VarType::Int32;
    else if constexpr (std::is_same_v<T, bool>) return VarType::Bool;
    else if constexpr (std::is_same_v<T, float>) return VarType::Float;
    else if constexpr (std::is_same_v<T, std::string>) return VarType::String;
    else if constexpr (std::is_same_v<T, StringArray>) return VarType::StringArray;
    else static_assert(sizeof(T) == 0, "no variant type for this C++ type");
}

template <class T>
T fromVariant(const Variant& v) {
    if constexpr (std::is_same_v<T, std::int16_t>) return v.toInt16();
    else if constexpr (std::is_same_v<T, std::int32_t>) return v.toInt32();
    else if constexpr (std::is_same_v<T, bool>) return v.toBool();
    else if constexpr (std::is_same_v<T, float>) return v.toFloat();
    else if constexpr (std::is_same_v<T, std::string>) return v.toString();
    else static_assert(sizeof(T) == 0, "no conversion from a variant to this type");
}

template <auto F>
Variant callGet(Control& c) {
    using Info = Fn<decltype(F)>;
    auto& self = static_cast<typename Info::Class&>(c);
    if constexpr (std::is_void_v<typename Info::Result>) {
        (self.*F)();
        return {};
    } else {
        return Variant((self.*F)());
    }
}

template <class C, class T, void (C::*Let)(T)>
void callLet(Control& c, const Variant& v) {
    (static_cast<C&>(c).*Let)(fromVariant<T>(v));
}

}  // namespace detail

// A property with a get `T Name() const` and a let `void Name(T)`; the two may share
// the member's name, as the class's own interface reads.
template <class C, class T, T (C::*Get)() const, void (C::*Let)(T)>
constexpr MemberDesc property(std::string_view name, std::int32_t id) {
    return {name, MemberKind::Property, {detail::varTypeOf<T>(), {}}, id,
            {&detail::callGet<Get>, &detail::callLet<C, T, Let>}};
}

// A property of an enumeration type, whose operations take and give 32-bit integers
// (a property may hold a value the enumeration does not name).
template <class C, class T, T (C::*Get)() const, void (C::*Let)(T)>
constexpr MemberDesc property(std::string_view name, const TypeRef& enumeration, std::int32_t id) {
    static_assert(std::is_same_v<T, std::int32_t>, "an enumeration travels as a 32-bit integer");
    if (enumeration.enumName.empty()) throw std::logic_error("a property of an enumeration names it");
    return {name, MemberKind::Property, enumeration, id, {&detail::callGet<Get>, &detail::callLet<C, T, Let>}};
}

template <auto Get>
constexpr MemberDesc readOnly(std::string_view name, std::int32_t id) {
    using T = typename detail::Fn<decltype(Get)>::Result;
    return {name, MemberKind::ReadOnlyProperty, {detail::varTypeOf<T>(), {}}, id, {&detail::callGet<Get>, nullptr}};
}

// A method without arguments; its result, if any, is the member's type.
template <auto F>
constexpr MemberDesc method(std::string_view name, std::int32_t id) {
    using T = typename detail::Fn<decltype(F)>::Result;
    return {name, MemberKind::Method, {detail::varTypeOf<T>(), {}}, id, {&detail::callGet<F>, nullptr}};
}

}  // namespace talvik
