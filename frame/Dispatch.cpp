#include "frame/Dispatch.h"

#include <algorithm>
#include <cctype>

#include "frame/Text.h"

namespace talvik {

namespace {

const MemberBinding* bindingOf(const ControlClass& cls, std::string_view name) {
    for (const MemberBinding& b : cls.members())
        if (b.name == name) return &b;
    return nullptr;
}

MemberKind shapeOf(const MemberBinding& b) {
    if (b.isMethod) return MemberKind::Method;
    return b.let != nullptr ? MemberKind::Property : MemberKind::ReadOnlyProperty;
}

bool shaped(const MemberBinding& b, MemberKind kind) {
    return b.get != nullptr && shapeOf(b) == kind && !(b.isMethod && b.let != nullptr);
}

[[noreturn]] void noSuchMember() {
    throw DispatchError(DISP_E_MEMBERNOTFOUND, err::NoSuchMember, "Object doesn't support this property or method");
}

[[noreturn]] void wrongArgumentCount() {
    throw DispatchError(DISP_E_BADPARAMCOUNT, err::WrongArgumentCount,
                        "Wrong number of arguments or invalid property assignment");
}

// The variant rules' errors, raised before the control sees the value.
Variant coerce(const Variant& v, VarType t) {
    try {
        return v.as(t);
    } catch (const HostError& e) {
        throw DispatchError(e.number == err::Overflow ? DISP_E_OVERFLOW : DISP_E_TYPEMISMATCH, e.number,
                            e.description);
    }
}

}  // namespace

Dispatcher::Dispatcher(const ControlClass& cls, const ClassDesc* desc) {
    if (desc != nullptr) {
        for (const MemberDesc& m : desc->members) {
            const MemberBinding* b = bindingOf(cls, m.name);
            if (b != nullptr && !shaped(*b, m.kind)) b = nullptr;
            const VarType t = m.type.coerced();
            entries_.push_back({m.name, m.id, m.kind, t == VarType::Empty ? std::nullopt : std::optional(t), b});
        }
        return;
    }
    std::int32_t id = 1;
    for (const MemberBinding& b : cls.members()) entries_.push_back({b.name, id++, shapeOf(b), std::nullopt, &b});
}

std::optional<std::int32_t> Dispatcher::idOf(std::string_view name) const {
    for (const Entry& e : entries_)
        if (equalsNoCase(e.name, name)) return e.id;
    return std::nullopt;
}

const Dispatcher::Entry* Dispatcher::find(std::int32_t id) const {
    for (const Entry& e : entries_)
        if (e.id == id) return &e;
    return nullptr;
}

Variant Dispatcher::invoke(Control& control, std::int32_t id, InvokeKind kind, std::span<const Variant> args) const {
    const Entry* e = find(id);
    if (e == nullptr || e->binding == nullptr) noSuchMember();
    const bool method = e->kind == MemberKind::Method;
    switch (kind) {
        case InvokeKind::PropertyPut:
            if (method) noSuchMember();
            if (e->kind == MemberKind::ReadOnlyProperty)
                throw DispatchError(DISP_E_MEMBERNOTFOUND, err::PropertyReadOnly, "Property is read-only");
            if (args.size() != 1) wrongArgumentCount();
            e->binding->let(control, e->type ? coerce(args[0], *e->type) : args[0]);
            return {};
        case InvokeKind::PropertyGet:
        case InvokeKind::Method: {
            if (method != (kind == InvokeKind::Method)) noSuchMember();
            if (!args.empty()) wrongArgumentCount();
            Variant v = e->binding->get(control);
            // A result the control gives in a narrower type reaches the host in the
            // described one (an enumeration as a 32-bit integer).
            return e->type && !v.empty() ? v.as(*e->type) : v;
        }
    }
    noSuchMember();
}

std::vector<std::string> bindingMismatches(const ControlClass& cls, const ClassDesc& desc) {
    std::vector<std::string> problems;
    const auto kindText = [](MemberKind k) {
        switch (k) {
            case MemberKind::Property: return "a property with get and let";
            case MemberKind::ReadOnlyProperty: return "a get-only property";
            case MemberKind::Method: return "a method";
        }
        return "";
    };
    for (const MemberDesc& m : desc.members) {
        const MemberBinding* b = bindingOf(cls, m.name);
        if (b == nullptr)
            problems.push_back(std::string(desc.name) + "." + std::string(m.name) + " has no binding");
        else if (!shaped(*b, m.kind))
            problems.push_back(std::string(desc.name) + "." + std::string(m.name) + " is not bound as " +
                               kindText(m.kind));
    }
    for (const MemberBinding& b : cls.members())
        if (findMember(desc, b.name) == nullptr || findMember(desc, b.name)->name != b.name)
            problems.push_back(std::string(desc.name) + "." + std::string(b.name) + " is bound but not described");
    return problems;
}

}  // namespace talvik
