#pragma once
// The type description: the library's identity and version record, its eleven public
// classes with their identifiers, members and events, and its five enumerations. One
// table drives dispatch, registration, the container and the hosts' bindings.
#include <cstdint>
#include <span>
#include <string_view>

#include "frame/Events.h"
#include "frame/Guid.h"
#include "frame/Variant.h"

namespace talvik {

// A member's type: a variant type, or a public enumeration (held as a 32-bit integer).
struct TypeRef {
    VarType type = VarType::Empty;
    std::string_view enumName;  // non-empty for an enumeration

    // The variant type a value is coerced to.
    VarType coerced() const { return enumName.empty() ? type : VarType::Int32; }
};

enum class MemberKind { Property, ReadOnlyProperty, Method };

struct MemberDesc {
    std::string_view name;
    MemberKind kind;
    TypeRef type;  // a method's result, Empty for none
    std::int32_t id;

    bool hasLet() const { return kind == MemberKind::Property; }
};

struct ClassDesc {
    std::string_view name;
    Guid clsid;
    std::string_view propertyInterface;  // "_Matrix"
    Guid propertyIid;
    std::string_view eventInterface;  // "__Matrix"
    Guid eventIid;
    std::span<const MemberDesc> members;  // in the order of the type description
    std::span<const EventDecl> events;
};

struct EnumItem {
    std::string_view name;
    std::int32_t value;
};

struct EnumDesc {
    std::string_view name;
    Guid id;
    std::span<const EnumItem> items;
};

struct VersionRecord {
    std::uint16_t fileVersion[4];
    std::uint16_t productVersion[4];
    std::string_view versionText;  // "4.00"
    std::string_view productName;
    bool selfRegistering;
};

struct LibraryDesc {
    std::string_view name;  // also the help string and the internal name
    std::string_view fileName;
    Guid id;
    std::uint16_t major, minor;
    std::uint32_t locale;
    VersionRecord version;
    std::span<const ClassDesc> classes;
    std::span<const EnumDesc> enums;
};

const LibraryDesc& typeLibrary();

// Lookups; null when there is none. Class names are exact, member names without
// regard to case as dispatch takes them.
const ClassDesc* findClass(std::string_view name);
const ClassDesc* findClass(const Guid& clsid);
const MemberDesc* findMember(const ClassDesc& cls, std::string_view name);
const MemberDesc* findMember(const ClassDesc& cls, std::int32_t id);
const EnumDesc* findEnum(std::string_view name);

// The declaration of an event a public control raises, for ControlHost::RaiseEvent.
// Asking for an event the description does not hold is a bug and throws logic_error.
const EventDecl& eventOf(std::string_view className, std::string_view eventName);

// "int16", "int32", "bool", "float", "double", "string", "string[]", the enumeration's
// name, or "void".
std::string_view typeName(const TypeRef& t);

}  // namespace talvik
