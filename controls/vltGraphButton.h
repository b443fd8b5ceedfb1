#pragma once
// The graphic push button, private to the library: a left edge, a stretched middle and a
// right edge in a normal and a highlighted set, with a caption centred on top. Focus or
// the mouse over its bare surface shows the highlighted set; losing the focus brings the
// normal one back. Nearly all input is passed on to the container as the button's own
// events. It persists CaptionText and Enabled and applies a stored ToolTipText.
#include <string>

#include "frame/describe/Control.h"
#include "frame/model/ElementArray.h"

namespace talvik::controls {

class vltGraphButton : public Control {
public:
    static const ControlClass Class;
    static const ControlTemplate& Design();

    explicit vltGraphButton(ControlHost& host);

    // Shown by the caption label and centred at once; any text is taken.
    std::string CaptionText() const { return caption_; }
    void CaptionText(std::string v);
    // Enables or disables every child element; the surface itself stays enabled.
    bool Enabled() const { return enabled_; }
    void Enabled(bool v);

    void Initialize() override;
    void ReadProperties(const PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) override;
    void Resize() override;
    void Paint() override;
    void Terminate() override;
    void OnEvent(const InputEvent& ev) override;

private:
    void ShowHighlighted();
    void ShowNormal();
    void Arrange();
    void CenterCaption();
    void SetChildrenEnabled(bool v);

    std::string caption_;
    bool enabled_ = true;

    ElementArray<Image> Image1;  // left edge: normal (0), highlighted (1)
    ElementArray<Image> Image2;  // middle
    ElementArray<Image> Image3;  // right edge
    Label Label1;                // caption
};

}  // namespace talvik::controls
