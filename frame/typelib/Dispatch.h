#pragma once
// Late-bound calls on a control: a member found by identifier or by name, its
// argument coerced to the member's type before the control's let runs, and the
// binding the control gave for it invoked.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "frame/describe/Control.h"
#include "frame/host/HostError.h"
#include "frame/com/Interfaces.h"
#include "frame/typelib/TypeLib.h"

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
    // Dispatches by the class's member rows: the identifiers and types they give, the
    // operations they bind.
    explicit Dispatcher(const ControlClass& cls) : members_(cls.members) {}

    std::optional<std::int32_t> idOf(std::string_view name) const;
    // Raises DispatchError for an unknown or unbound member, a call of the wrong kind
    // or argument count, and a value that cannot be coerced; the control's own errors
    // pass through.
    Variant invoke(Control& control, std::int32_t id, InvokeKind kind, std::span<const Variant> args) const;

private:
    std::span<const MemberDesc> members_;
};

}  // namespace talvik
