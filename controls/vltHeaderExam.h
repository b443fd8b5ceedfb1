#pragma once
// The exam header: a design-only control, a frame with a "Lớp:" (class) label, with no
// members, no events and no code of its own.
#include "frame/describe/Control.h"

namespace talvik::controls {

class vltHeaderExam : public Control {
public:
    static const ControlClass Class;
    static const ControlTemplate& Design();

    using Control::Control;
    // Only a picture of the header: no focus.
    AccessibleParts DescribeParts() const override;
};

}  // namespace talvik::controls
