#pragma once
// The option strip: up to nine answer boxes in a row, each a check box or an option
// button, with a label under each. A box is marked when it shows one of the marked
// pictures; the host sets and reads the marks as a short string through VelValue.
#include <cstdint>
#include <span>
#include <string>

#include "frame/describe/Control.h"
#include "frame/model/ElementArray.h"
#include "frame/describe/Enumerations.h"

namespace talvik::controls {

class VelOptionToolBar : public Control {
public:
    static const ControlClass Class;
    static const ControlTemplate& Design();

    // StyleEnum, TypeOfCharEnum and TypeOfOptionEnum: the properties take any number.
    using enum StyleEnum;
    using enum TypeOfCharEnum;
    using enum TypeOfOptionEnum;

    explicit VelOptionToolBar(ControlHost& host);

    // Background and box pictures; any number is stored. Unmarks every box, keeps the value.
    std::int32_t VelStyle() const { return style_; }
    void VelStyle(std::int32_t s);
    // Visible boxes, 1 to 9; any other number is ignored.
    std::int16_t VelCountItems() const { return countItems_; }
    void VelCountItems(std::int16_t n);
    // The marked boxes in ascending order, as digits, or letters for VelLChar / VelUChar.
    std::string VelValue() const;
    // Marks the boxes whose digits or letters ("a"/"A" is box 1) the text holds.
    void VelValue(std::string text);
    // Labels "1".."9", "a".."i" (also any unknown number) or "A".."I".
    std::int32_t VelOptionChar() const { return optionChar_; }
    void VelOptionChar(std::int32_t c);
    // Check boxes (1) or option buttons (2); unmarks every box and clears the value.
    std::int32_t VelOptionBox() const { return optionBox_; }
    void VelOptionBox(std::int32_t b);
    // Unmarks every box, rewrites the labels and clears the value.
    void VelReset();
    // Enables or disables every child element, so a disabled strip takes no clicks.
    bool Enabled() const { return enabled_; }
    void Enabled(bool e);

    void Initialize() override;
    void ReadProperties(const PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) override;
    void Resize() override;
    void OnEvent(const InputEvent& ev) override;
    // The shown boxes, as check boxes or option buttons named by their labels.
    AccessibleParts DescribeParts() const override;

private:
    const Picture& UnmarkedPicture() const;
    const Picture& MarkedPicture() const;
    bool IsMarked(const Image& box) const;
    // Gives box k a picture and tells a screen reader when its mark changed.
    void ShowMark(std::int16_t k, const Picture& p);
    void UnmarkAll();
    void MarkDigits(const std::string& text);
    void LabelBoxes();
    void EnableElements(bool e);
    void BoxClick(std::int16_t k);

    std::int32_t style_ = WindowXP;
    std::int16_t countItems_ = 4;
    std::int32_t optionChar_ = VelUChar;
    std::int32_t optionBox_ = VelOption;
    std::string value_;  // digits "1".."9"
    bool enabled_ = true;

    Image Image1;
    ElementArray<Image> Image2;
    ElementArray<Label> Label1;
    ElementArray<PictureBox> Picture1;  // check box: (0) unmarked, (1) marked
    ElementArray<PictureBox> Picture2;  // option button: (0) unmarked, (1) marked
    ElementArray<PictureBox> Picture3;  // background: (0) WindowXP, (1) none
    ElementArray<PictureBox> Picture4;  // Veltrane (0) unmarked (1) marked; FireFox2007 (2) marked (3) unmarked
};

}  // namespace talvik::controls
