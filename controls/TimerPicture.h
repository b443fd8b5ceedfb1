#pragma once
// The analog clock. Described so far, not built: hosts find its members and events in
// the type description, and creating it gives class-not-available.
#include "frame/describe/Control.h"

namespace talvik {

class TimerPicture {
public:
    static const ControlClass Class;
};

}  // namespace talvik
