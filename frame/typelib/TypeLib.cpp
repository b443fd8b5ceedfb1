#include "frame/typelib/TypeLib.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "frame/typelib/Catalogue.h"
#include "frame/text/Text.h"

namespace talvik {

namespace {

constexpr EnumDesc kEnums[] = {TypeOfCharEnumDesc, TypeOfOptionEnumDesc, StyleEnumDesc, BackStyleEnumDesc,
                               BoxStyleEnumDesc};

// The public rows of the catalogue, in its order.
std::vector<ClassDesc> publicClasses() {
    std::vector<ClassDesc> classes;
    for (const ControlClass* c : catalogue()) {
        if (!c->isPublic()) continue;
        const std::string name(c->name);
        classes.push_back({c->name, c->ids->clsid, "_" + name, c->ids->propertyIid, "__" + name, c->ids->eventIid,
                           c->members, c->events, c});
    }
    return classes;
}

struct Assembled {
    std::vector<ClassDesc> classes = publicClasses();
    LibraryDesc library{
        "TalvikSkills",
        "TalvikSkills.ocx",
        guid("{AD8BC1B3-2D95-4C15-8B3B-16F2FE11DFD3}"),
        1,
        0,
        0x409,
        {{4, 0, 0, 0}, {4, 0, 0, 0}, "4.00", "TalvikControls", true},
        classes,
        kEnums,
    };
};

const Assembled& assembled() {
    static const Assembled a;
    return a;
}

}  // namespace

const LibraryDesc& typeLibrary() { return assembled().library; }

const ClassDesc* findClass(std::string_view name) {
    for (const ClassDesc& c : assembled().classes)
        if (c.name == name) return &c;
    return nullptr;
}

const ClassDesc* findClass(const Guid& clsid) {
    for (const ClassDesc& c : assembled().classes)
        if (c.clsid == clsid) return &c;
    return nullptr;
}

const MemberDesc* findMember(std::span<const MemberDesc> members, std::string_view name) {
    for (const MemberDesc& m : members)
        if (equalsNoCase(m.name, name)) return &m;
    return nullptr;
}

const MemberDesc* findMember(std::span<const MemberDesc> members, std::int32_t id) {
    for (const MemberDesc& m : members)
        if (m.id == id) return &m;
    return nullptr;
}

const EnumDesc* findEnum(std::string_view name) {
    for (const EnumDesc& e : kEnums)
        if (e.name == name) return &e;
    return nullptr;
}

const EventDecl& eventOf(std::string_view className, std::string_view eventName) {
    if (const ControlClass* c = findCatalogued(className))
        for (const EventDecl& e : c->events)
            if (e.name == eventName) return e;
    throw std::logic_error(std::string(className) + " declares no event " + std::string(eventName));
}

std::string_view typeName(VarType t) {
    switch (t) {
        case VarType::Empty: return "void";
        case VarType::Int16: return "int16";
        case VarType::Int32: return "int32";
        case VarType::Bool: return "bool";
        case VarType::Float: return "float";
        case VarType::Double: return "double";
        case VarType::String: return "string";
        case VarType::StringArray: return "string[]";
        case VarType::Object: return "object";
    }
    return "void";
}

std::string_view typeName(const TypeRef& t) { return t.enumName.empty() ? typeName(t.type) : t.enumName; }

}  // namespace talvik
