#pragma once
// The type description: the library's identity and version record, its eleven public
// classes with their identifiers, members and events, and its five enumerations. The
// classes are assembled from the catalogue's rows, each written in its control's source;
// dispatch, registration, the factories, the container and the hosts all read this.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "frame/describe/Enumerations.h"
#include "frame/model/Events.h"
#include "frame/describe/Guid.h"
#include "frame/describe/Members.h"

namespace talvik {

struct ControlClass;

struct ClassDesc {
    std::string_view name;
    Guid clsid;
    std::string propertyInterface;  // "_Matrix"
    Guid propertyIid;
    std::string eventInterface;  // "__Matrix"
    Guid eventIid;
    std::span<const MemberDesc> members;  // in the order of the type description
    std::span<const EventDecl> events;
    const ControlClass* source = nullptr;  // the catalogue's row
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
const MemberDesc* findMember(std::span<const MemberDesc> members, std::string_view name);
const MemberDesc* findMember(std::span<const MemberDesc> members, std::int32_t id);
inline const MemberDesc* findMember(const ClassDesc& cls, std::string_view name) {
    return findMember(cls.members, name);
}
inline const MemberDesc* findMember(const ClassDesc& cls, std::int32_t id) { return findMember(cls.members, id); }
const EnumDesc* findEnum(std::string_view name);

// The declaration of an event a control of the catalogue raises, for
// ControlHost::RaiseEvent. Asking for an event the control does not declare is a bug
// and throws logic_error.
const EventDecl& eventOf(std::string_view className, std::string_view eventName);

// "int16", "int32", "bool", "float", "double", "string", "string[]", "object", the
// enumeration's name, or "void".
std::string_view typeName(const TypeRef& t);
std::string_view typeName(VarType t);

}  // namespace talvik
