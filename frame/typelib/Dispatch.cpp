#include "frame/typelib/Dispatch.h"

namespace talvik {

namespace {

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

std::optional<std::int32_t> Dispatcher::idOf(std::string_view name) const {
    if (const MemberDesc* m = findMember(members_, name)) return m->id;
    return std::nullopt;
}

Variant Dispatcher::invoke(Control& control, std::int32_t id, InvokeKind kind, std::span<const Variant> args) const {
    const MemberDesc* m = findMember(members_, id);
    if (m == nullptr || !m->bound()) noSuchMember();
    const bool method = m->kind == MemberKind::Method;
    const VarType type = m->type.coerced();
    switch (kind) {
        case InvokeKind::PropertyPut:
            if (method) noSuchMember();
            if (!m->hasLet()) throw DispatchError(DISP_E_MEMBERNOTFOUND, err::PropertyReadOnly, "Property is read-only");
            if (args.size() != 1) wrongArgumentCount();
            m->binding.let(control, coerce(args[0], type));
            return {};
        case InvokeKind::PropertyGet:
        case InvokeKind::Method: {
            if (method != (kind == InvokeKind::Method)) noSuchMember();
            if (!args.empty()) wrongArgumentCount();
            Variant v = m->binding.get(control);
            // A result the control gives in a narrower type reaches the host in the
            // described one.
            return type != VarType::Empty && !v.empty() ? v.as(type) : v;
        }
    }
    noSuchMember();
}

}  // namespace talvik
