#pragma once
// The navigation box: the skinned frame with four buttons above its bottom row (first,
// previous, next, last) that light up under the mouse and raise ButtonClick. It keeps a
// width that fits its buttons.
#include "boxes/ButtonRow.h"

namespace talvik::controls {

class vltSwitch : public ButtonRow {
public:
    static const ControlClass Class;

    explicit vltSwitch(ControlHost& host);

    void Resize() override;

protected:
    void SkinLoaded(FrameSteps& step) override;
    void ArrangeFinished(FrameSteps& step) override;
    void PlaceButtons() override;
};

}  // namespace talvik::controls
