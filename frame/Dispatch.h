#pragma once
// Late-bound calls on a control: a member found by identifier or by name, its
// argument coerced to the member's type before the control's let runs, and the
// binding the control gave for it invoked.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frame/Control.h"
#include "frame/HostError.h"
#include "frame/Interfaces.h"
#include "frame/TypeLib.h"

namespace talvik {

namespace err {
inline constexpr std::int32_t PropertyReadOnly = 383;
inline constexpr std::int32_t WrongArgumentCount = 450;
inline constexpr std::int32_t NoSuchMember = 438;
}  // namespace err

// A failure of the call itself rather than of the control: it carries the result
// code a dispatch interface answers with, besides the host error.
class DispatchError : public HostError {
public:
    DispatchError(HRESULT hr, std::int32_t number, std::string description)
        : HostError(number, std::move(description)), hr(hr) {}
    HRESULT hr;
};

class Dispatcher {
public:
    // A public class dispatches by its type description; a private class (desc null)
    // by its bindings, numbered from 1 in their order, with no coercion of its own.
    Dispatcher(const ControlClass& cls, const ClassDesc* desc);

    std::optional<std::int32_t> idOf(std::string_view name) const;
    // Raises DispatchError for an unknown member, a call of the wrong kind or argument
    // count, and a value that cannot be coerced; the control's own errors pass through.
    Variant invoke(Control& control, std::int32_t id, InvokeKind kind, std::span<const Variant> args) const;

private:
    struct Entry {
        std::string_view name;
        std::int32_t id;
        MemberKind kind;
        std::optional<VarType> type;  // none: the binding converts
        const MemberBinding* binding;  // null when the control does not implement it
    };
    const Entry* find(std::int32_t id) const;

    std::vector<Entry> entries_;
};

// What is wrong with a class's bindings against its type description: a member
// without a binding, or bound with the wrong shape (get, let, method). Empty when
// every member is bound as described.
std::vector<std::string> bindingMismatches(const ControlClass& cls, const ClassDesc& desc);

}  // namespace talvik
