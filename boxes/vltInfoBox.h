#pragma once
// The information box: the skinned frame with its caption and a second text, the
// information, which keeps its own place except in the Baby_reddarkbox skin. Its skin
// can be hidden so that only the two texts show over the container. It raises no events
// and persists Caption, Style, Info and BackStyle.
#include <cstdint>
#include <string>

#include "boxes/SkinFrame.h"

namespace talvik::controls {

class vltInfoBox : public SkinFrame {
public:
    static const ControlClass Class;
    static const ControlTemplate& Design();

    explicit vltInfoBox(ControlHost& host);

    // 0 hides the nine slices, any other value shows them; either way the surface turns
    // transparent. The frame is not laid out again.
    std::int32_t BackStyle() const { return backStyle_; }
    void BackStyle(std::int32_t v);
    // Shown at once, where the information label already is.
    std::string Info() const { return info_; }
    void Info(std::string v);

    using SkinFrame::BottomHeight;

    void Initialize() override;
    void ReadProperties(const PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) override;
    // The information as a text inside the captioned group.
    AccessibleParts DescribeParts() const override;

private:
    void PlaceTexts(FrameSteps& step) override;
    void PlaceInfo();
    void ApplyBackStyle();

    std::int32_t backStyle_ = 0;
    std::string info_;
    Label Label2;
};

}  // namespace talvik::controls
