#pragma once
// What the five skinned boxes share: nine slice images drawn from one of six skins, a
// caption label on them, the routines that load the skin (NineSliceFrame) and lay it out
// (ArrangeFrame, PlaceCaption), the Style and Caption properties and their persistence.
// A box describes how it differs in a BoxVariant and adds its own work (buttons, a
// second label) through the hooks, which run at fixed steps of those routines.
#include <cstdint>
#include <string>

#include "boxes/BoxVariant.h"
#include "boxes/FrameSteps.h"
#include "frame/describe/Control.h"
#include "frame/model/ElementArray.h"

namespace talvik::controls {

class SkinFrame : public Control {
public:
    // Any value is stored, also one without a skin; the skin is loaded and laid out
    // again even when the value is unchanged.
    std::int32_t Style() const { return style_; }
    void Style(std::int32_t v);
    // Shown at once; the label's Change places it.
    std::string Caption() const { return caption_; }
    void Caption(std::string v);

    void Initialize() override;
    void InitProperties() override;
    void ReadProperties(const PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) override;
    void Resize() override;
    void OnEvent(const InputEvent& ev) override;
    // A group named by the caption; a box with nothing to operate takes no focus.
    AccessibleParts DescribeParts() const override;

protected:
    SkinFrame(ControlHost& host, const BoxVariant& variant);

    // The box surface and the elements every box's template starts with: the nine
    // slices and, above them, the caption label.
    static ControlTemplate frameTemplate();

    void NineSliceFrame();
    void ArrangeFrame(bool reloadSkin);
    void PlaceCaption();
    // Height of the bottom frame row in whole twips; a box that offers it makes it public.
    std::int32_t BottomHeight() const;

    // Hooks; each does nothing unless a box overrides it. The ones that take the steps
    // run inside ArrangeFrame, under the box's way of treating a failing step.
    // First of all in NineSliceFrame, whatever the Style.
    virtual void SkinLoading() {}
    // Right after NineSliceFrame, whatever the Style (also one without a skin).
    virtual void SkinLoaded(FrameSteps&) {}
    // Step 6, between the frame rows and the caption.
    virtual void ArrangeButtons(FrameSteps&) {}
    // Step 8: the placement of the box's texts.
    virtual void PlaceTexts(FrameSteps& step);
    // After step 8, last of all.
    virtual void ArrangeFinished(FrameSteps&) {}

    std::int32_t style_ = 0;
    std::string caption_;

    ElementArray<Image> Image1;  // top row
    ElementArray<Image> Image2;  // middle row
    ElementArray<Image> Image3;  // bottom row
    Label Label1;

private:
    const BoxVariant& variant_;
};

}  // namespace talvik::controls
