#pragma once
// The control's own surface: its size, background and font.
#include <cstdint>

#include "frame/model/Elements.h"
#include "frame/model/Picture.h"

namespace talvik {

class ControlHost;

class Surface {
public:
    explicit Surface(ControlHost& host) : host_(host) {}

    float Width() const { return width_; }
    float Height() const { return height_; }
    // Setting the size raises Resize at once, before the call returns, unless the size
    // is unchanged. A negative or non-finite size raises "Invalid property value".
    void Width(float w) { setSize(w, height_); }
    void Height(float h) { setSize(width_, h); }
    void setSize(float w, float h);

    const Picture& picture() const { return picture_; }
    void setPicture(const Picture& p);  // drawn unscaled at the top-left corner
    std::int16_t BackStyle() const { return backStyle_; }  // 0 transparent, 1 opaque
    void BackStyle(std::int16_t v);
    Colour BackColor() const { return backColor_; }
    void BackColor(Colour c);
    const Font& font() const { return font_; }
    void setFont(const Font& f) { font_ = f; }

    // The text's extent in the surface's own font.
    TextExtent TextExtentOf(std::string_view text) const;
    RectF bounds() const { return {0, 0, width_, height_}; }

private:
    void damageAll() const;

    ControlHost& host_;
    float width_ = 0, height_ = 0;
    Picture picture_;
    std::int16_t backStyle_ = 1;
    Colour backColor_ = kButtonFace;
    Font font_;
};

}  // namespace talvik
