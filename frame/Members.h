#pragma once
// Bindings from a control's public members to its C++ operations, so that a dispatch
// layer can reach any property or method by name without knowing the control. A
// control lists its members once, in its own source:
//
//     static const MemberBinding kMembers[] = {
//         method<&Matrix::reset>("reset"),
//         property<Matrix, std::int16_t, &Matrix::DistanceItems, &Matrix::DistanceItems>("DistanceItems"),
//         readOnly<&Matrix::result>("result"),
//     };
//
// Values arrive already coerced to the member's type by the dispatch layer.
#include <string>
#include <string_view>
#include <type_traits>

#include "frame/Variant.h"

namespace talvik {

class Control;

struct MemberBinding {
    std::string_view name;
    Variant (*get)(Control&) = nullptr;               // properties and functions
    void (*let)(Control&, const Variant&) = nullptr;  // properties with a let
    bool isMethod = false;                            // called with no arguments
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
template <class C, class A>
struct Fn<void (C::*)(A)> {
    using Class = C;
    using Arg = std::remove_cvref_t<A>;
};

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

template <auto F>
void callLet(Control& c, const Variant& v) {
    using Info = Fn<decltype(F)>;
    (static_cast<typename Info::Class&>(c).*F)(fromVariant<typename Info::Arg>(v));
}
}  // namespace detail

// A property with a get `T Name() const` and a let `void Name(T)`; the two may share
// the member's name, as the class's own interface reads.
template <class C, class T, T (C::*Get)() const, void (C::*Let)(T)>
constexpr MemberBinding property(std::string_view name) {
    return {name, &detail::callGet<Get>, &detail::callLet<Let>, false};
}

template <auto Get>
constexpr MemberBinding readOnly(std::string_view name) {
    return {name, &detail::callGet<Get>, nullptr, false};
}

template <auto F>
constexpr MemberBinding method(std::string_view name) {
    return {name, &detail::callGet<F>, nullptr, true};
}

}  // namespace talvik
