#include "frame/model/Surface.h"

#include <algorithm>
#include <cmath>

#include "frame/host/ControlHost.h"
#include "frame/host/HostError.h"

namespace talvik {

void Surface::setSize(float w, float h) {
    if (!std::isfinite(w) || !std::isfinite(h) || w < 0 || h < 0) err::invalidPropertyValue();
    if (w == width_ && h == height_) return;
    // The background is anchored at the top-left corner, so a new size changes only the
    // strips that the old and the new size do not share.
    const float commonW = std::min(w, width_), commonH = std::min(h, height_);
    const float outerW = std::max(w, width_), outerH = std::max(h, height_);
    host_.model_.damage().add({commonW, 0, outerW - commonW, outerH});
    host_.model_.damage().add({0, commonH, outerW, outerH - commonH});
    width_ = w;
    height_ = h;
    host_.surfaceResized();
}

void Surface::setPicture(const Picture& p) {
    if (p == picture_) return;
    picture_ = p;
    damageAll();
}

void Surface::BackStyle(std::int16_t v) {
    if (v == backStyle_) return;
    backStyle_ = v;
    damageAll();
}

void Surface::BackColor(Colour c) {
    if (c == backColor_) return;
    backColor_ = c;
    damageAll();
}

TextExtent Surface::TextExtentOf(std::string_view text) const { return host_.MeasureText(text, font_); }

void Surface::damageAll() const { host_.model_.damage().add(bounds()); }

}  // namespace talvik
