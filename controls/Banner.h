#pragma once
// The banner strip across the top of its control: a left end, a right piece flush with
// the control's right edge, and a middle piece stretched between them. It has no
// members, raises no events and persists nothing.
#include "frame/describe/Control.h"
#include "frame/model/ElementArray.h"

namespace talvik::controls {

class Banner : public Control {
public:
    static const ControlClass Class;
    static const ControlTemplate& Design();

    explicit Banner(ControlHost& host);

    void Initialize() override;
    void Resize() override;
    // A picture with nothing to operate: no focus.
    AccessibleParts DescribeParts() const override;

private:
    void Arrange();

    ElementArray<Image> Image1;  // (0) left end, (1) middle, (2) right piece
};

}  // namespace talvik::controls
