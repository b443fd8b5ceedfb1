#include "frame/Surface.h"

#include <cmath>

#include "frame/ControlHost.h"
#include "frame/HostError.h"

namespace talvik {

void Surface::setSize(float w, float h) {
    if (w < 0 || h < 0 || std::isnan(w) || std::isnan(h)) err::invalidPropertyValue();
    if (w == width_ && h == height_) return;
    damageAll();
    width_ = w;
    height_ = h;
    damageAll();
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

void Surface::damageAll() const { host_.damage_.add(bounds()); }

}  // namespace talvik
