#pragma once
// The hyperlink: one underlined blue label showing a text. A left press on it asks the
// container through GoToURL (which may change the address or cancel) and then has the
// system shell open the address. The address can be shown as the label's tool tip.
#include <string>

#include "frame/describe/Control.h"
#include "frame/model/Elements.h"

namespace talvik::controls {

class URLLink : public Control {
public:
    static const ControlClass Class;
    static const ControlTemplate& Design();

    explicit URLLink(ControlHost& host);

    // The label's caption. Setting it moves the label to the top-left corner with the
    // text's extent in the surface's font; the control keeps its own size.
    std::string Text() const { return lblURL.Caption(); }
    void Text(std::string text);
    // The address a left press opens.
    std::string URL() const { return url_; }
    void URL(std::string address);
    // Whether the label's tool tip shows the address.
    bool ShowToolTip() const { return showToolTip_; }
    void ShowToolTip(bool flag);

    void InitProperties() override;
    void ReadProperties(const PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) override;
    void OnEvent(const InputEvent& ev) override;
    // A link named by its text, with the address as its value; pressing it presses the label.
    AccessibleParts DescribeParts() const override;

private:
    void UpdateToolTip();
    void LabelMouseDown(std::int16_t button);

    std::string url_;
    bool showToolTip_ = false;
    Label lblURL;
};

}  // namespace talvik::controls
