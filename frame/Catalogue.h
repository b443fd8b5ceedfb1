#pragma once
// The controls the library holds: the record a host reads to create a control by name.
#include <span>
#include <string_view>

#include "frame/Control.h"

namespace talvik {

// Every control class the library implements, private ones included.
std::span<const ControlClass* const> controlClasses();
// The class of that name (exact case), or null.
const ControlClass* findControlClass(std::string_view name);

}  // namespace talvik
