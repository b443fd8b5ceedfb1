#include "apps/talvik-container/TypeLibJson.h"

#include "apps/talvik-container/Json.h"
#include "frame/typelib/TypeLib.h"

namespace talvik::container {

namespace {

std::string versionText(const std::uint16_t (&v)[4]) {
    return std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) + "." +
           std::to_string(v[3]);
}

std::string memberJson(const MemberDesc& m) {
    Object o;
    o.str("name", m.name).str("kind", m.kind == MemberKind::Method ? "method" : "property");
    o.str("type", typeName(m.type));
    if (m.kind != MemberKind::Method) o.boolean("let", m.hasLet());
    return o.num("id", std::int64_t{m.id}).text();
}

std::string eventJson(const EventDecl& e) {
    Array args;
    for (const ArgDecl& a : e.args)
        args.add(Object().str("name", a.name).str("type", typeName(a.type)).boolean("byRef", a.byRef).text());
    return Object().str("name", e.name).num("id", std::int64_t{e.id}).add("args", args.text()).text();
}

std::string classJson(const ClassDesc& c) {
    Array members, events;
    for (const MemberDesc& m : c.members) members.add(memberJson(m));
    for (const EventDecl& e : c.events) events.add(eventJson(e));
    return Object()
        .str("name", c.name)
        .str("clsid", c.clsid.text())
        .str("interface", c.propertyInterface)
        .str("iid", c.propertyIid.text())
        .str("eventInterface", c.eventInterface)
        .str("eventIid", c.eventIid.text())
        .add("members", members.text())
        .add("events", events.text())
        .text();
}

std::string enumJson(const EnumDesc& e) {
    Array items;
    for (const EnumItem& i : e.items) items.add(Object().str("name", i.name).num("value", std::int64_t{i.value}).text());
    return Object().str("name", e.name).str("id", e.id.text()).add("members", items.text()).text();
}

}  // namespace

std::string typeLibraryJson() {
    const LibraryDesc& lib = typeLibrary();
    Array classes, enums;
    for (const ClassDesc& c : lib.classes) classes.add(classJson(c));
    for (const EnumDesc& e : lib.enums) enums.add(enumJson(e));
    return Object()
        .str("name", lib.name)
        .str("file", lib.fileName)
        .str("id", lib.id.text())
        .str("version", std::to_string(lib.major) + "." + std::to_string(lib.minor))
        .num("locale", std::int64_t{lib.locale})
        .str("fileVersion", versionText(lib.version.fileVersion))
        .str("productVersion", versionText(lib.version.productVersion))
        .str("versionText", lib.version.versionText)
        .str("productName", lib.version.productName)
        .boolean("selfRegistering", lib.version.selfRegistering)
        .add("classes", classes.text())
        .add("enums", enums.text())
        .text();
}

}  // namespace talvik::container
