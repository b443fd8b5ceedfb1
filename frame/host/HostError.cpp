#include "frame/host/HostError.h"

#include <utility>

namespace talvik {

HostError::HostError(std::int32_t n, std::string d) : number(n), description(std::move(d)) {}

namespace err {
void invalidCall() { throw HostError(InvalidCall, "Invalid procedure call or argument"); }
void overflow() { throw HostError(Overflow, "Overflow"); }
void subscriptOutOfRange() { throw HostError(SubscriptOutOfRange, "Subscript out of range"); }
void typeMismatch() { throw HostError(TypeMismatch, "Type mismatch"); }
void resourceNotFound(std::string_view id) {
    throw HostError(ResourceNotFound, "Resource with identifier '" + std::string(id) + "' not found");
}
void noSuchArrayElement(std::int64_t index) {
    throw HostError(NoSuchArrayElement,
                    "Control array element '" + std::to_string(index) + "' doesn't exist");
}
void invalidPropertyValue() { throw HostError(InvalidPropertyValue, "Invalid property value"); }
void injectedFault() { throw HostError(InvalidCall, "Injected fault"); }
}  // namespace err

}  // namespace talvik
