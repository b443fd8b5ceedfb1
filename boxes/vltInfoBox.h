#pragma once
// The information box. Described so far, not built: hosts find its members and events in
// the type description, and creating it gives class-not-available.
#include "frame/describe/Control.h"

namespace talvik {

class vltInfoBox {
public:
    static const ControlClass Class;
};

}  // namespace talvik
