#pragma once
// The scrolling box: the skinned frame with four arrow buttons above its bottom row (up,
// down, left, right) that light up under the mouse and raise ButtonClick and
// ButtonDoubleClick. The box scrolls nothing itself: its container decides what an
// arrow does.
#include <cstdint>

#include "boxes/ButtonRow.h"

namespace talvik::controls {

class ScrollBox : public ButtonRow {
public:
    static const ControlClass Class;

    explicit ScrollBox(ControlHost& host);

    using SkinFrame::BottomHeight;

protected:
    void SkinLoading() override;
    void ArrangeButtons(FrameSteps& step) override;
    void PlaceButtons() override;
};

}  // namespace talvik::controls
