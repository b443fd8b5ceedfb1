#pragma once
// The controls the library holds, one row each: the public classes in the order of the
// type description, then the private ones. Each row is the class record its control's
// source writes; adding a control means adding its row here.
#include <span>
#include <string_view>

#include "frame/describe/Control.h"

namespace talvik {

// Every row of the library, implemented or described only.
std::span<const ControlClass* const> catalogue();
// The row of that name (exact case), implemented or not; null when there is none.
const ControlClass* findCatalogued(std::string_view name);
// The implemented class of that name (exact case), or null.
const ControlClass* findControlClass(std::string_view name);

// A private class the library's own tests add for as long as this lives: reached by
// name through the private factory like any private row, absent from catalogue().
class ScopedPrivateClass {
public:
    // A class with an identity is refused (logic_error): it would change the type
    // description.
    explicit ScopedPrivateClass(const ControlClass& cls);
    ~ScopedPrivateClass();
    ScopedPrivateClass(const ScopedPrivateClass&) = delete;
    ScopedPrivateClass& operator=(const ScopedPrivateClass&) = delete;

private:
    const ControlClass& cls_;
};

}  // namespace talvik
