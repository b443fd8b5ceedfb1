#pragma once
// The plain skinned box: the nine-slice frame and its caption, nothing else. It raises
// no events and persists Caption and Style.
#include <cstdint>
#include <span>

#include "boxes/SkinFrame.h"

namespace talvik::controls {

class vltBox : public SkinFrame {
public:
    static const ControlClass Class;
    static const ControlTemplate& Design();

    explicit vltBox(ControlHost& host);

    using SkinFrame::BottomHeight;
};

}  // namespace talvik::controls
