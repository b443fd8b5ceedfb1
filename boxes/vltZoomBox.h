#pragma once
// The zooming box: the skinned frame with three buttons above its bottom row (shrink,
// enlarge, fit) that light up under the mouse and raise vltZoomBoxClick. Its layout
// goes on past a failing step, and it keeps a least height.
#include "boxes/ButtonRow.h"

namespace talvik::controls {

class vltZoomBox : public ButtonRow {
public:
    static const ControlClass Class;

    explicit vltZoomBox(ControlHost& host);

protected:
    void SkinLoaded(FrameSteps& step) override;
    void ArrangeFinished(FrameSteps& step) override;
    void PlaceButtons() override;
};

}  // namespace talvik::controls
