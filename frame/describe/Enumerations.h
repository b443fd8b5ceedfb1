#pragma once
// The library's public enumerations. Each is written once, as a list of its members and
// values, from which come both the C++ enumeration that controls use and the entry of
// the type description (name, identifier, members).
//
// The enumerations are unscoped with 32-bit values: a property of an enumeration type
// stores any number it is given, also one that no member names, as a 32-bit integer.
#include <cstdint>
#include <span>
#include <string_view>

#include "frame/describe/Guid.h"
#include "frame/describe/Members.h"

namespace talvik {

struct EnumItem {
    std::string_view name;
    std::int32_t value;
};

struct EnumDesc {
    std::string_view name;
    Guid id;
    std::span<const EnumItem> items;
};

// Makes `enum Name`, `NameType` (the member type that names it) and `NameDesc`.
#define TALVIK_ENUM_MEMBER(member, value) member = value,
#define TALVIK_ENUM_ITEM(member, value) {#member, member},
#define TALVIK_ENUMERATION(Name, id, MEMBERS)                                   \
    enum Name : std::int32_t { MEMBERS(TALVIK_ENUM_MEMBER) };                  \
    inline constexpr EnumItem Name##Items[] = {MEMBERS(TALVIK_ENUM_ITEM)};     \
    inline constexpr TypeRef Name##Type{VarType::Int32, #Name};                \
    inline constexpr EnumDesc Name##Desc{#Name, guid(id), Name##Items};

#define TALVIK_TYPE_OF_CHAR(X) X(VelNumber, 1) X(VelLChar, 2) X(VelUChar, 3)
TALVIK_ENUMERATION(TypeOfCharEnum, "{22A07E5A-CBE8-4254-BCAB-60B6849A4A95}", TALVIK_TYPE_OF_CHAR)

#define TALVIK_TYPE_OF_OPTION(X) X(VelCheck, 1) X(VelOption, 2)
TALVIK_ENUMERATION(TypeOfOptionEnum, "{3E0E3057-8792-4815-AF3F-1B69A3B2CFC5}", TALVIK_TYPE_OF_OPTION)

#define TALVIK_STYLE(X) X(WindowXP, 1) X(Window2k3, 2) X(Veltrane, 3) X(FireFox2007, 4)
TALVIK_ENUMERATION(StyleEnum, "{171A9275-B414-4781-9E86-9D20F058719D}", TALVIK_STYLE)

#define TALVIK_BACK_STYLE(X) X(Transparent_box, 0) X(Opaque_box, 1)
TALVIK_ENUMERATION(BackStyleEnum, "{AB3CA9AD-E592-415A-BBDB-E30C5E6B9614}", TALVIK_BACK_STYLE)

// No member 6 to 9: Classicbox is 10.
#define TALVIK_BOX_STYLE(X)                                                                       \
    X(Office2007box, 0) X(Natural_bluebox, 1) X(Natural_greenbox, 2) X(Natural_redlightbox, 3) \
    X(Baby_reddarkbox, 4) X(Baby_FireFox, 5) X(Classicbox, 10)
TALVIK_ENUMERATION(BoxStyleEnum, "{D1F7D940-EDD5-4102-9B82-5E5D9D334138}", TALVIK_BOX_STYLE)

#undef TALVIK_TYPE_OF_CHAR
#undef TALVIK_TYPE_OF_OPTION
#undef TALVIK_STYLE
#undef TALVIK_BACK_STYLE
#undef TALVIK_BOX_STYLE
#undef TALVIK_ENUMERATION
#undef TALVIK_ENUM_ITEM
#undef TALVIK_ENUM_MEMBER

}  // namespace talvik
