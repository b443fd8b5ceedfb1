#include "frame/model/Elements.h"

#include <algorithm>
#include <cmath>

#include "frame/host/HostError.h"

namespace talvik {

std::string_view kindName(ElementKind k) {
    switch (k) {
        case ElementKind::Image: return "image";
        case ElementKind::Label: return "label";
        case ElementKind::Line: return "line";
        case ElementKind::PictureBox: return "picturebox";
        case ElementKind::Timer: return "timer";
        case ElementKind::Frame: return "frame";
    }
    return "element";
}

std::string Element::displayName() const {
    if (!inArray()) return name_;
    return name_ + "(" + std::to_string(index_) + ")";
}

void BoxElement::move(float l, float t, float w, float h) {
    if (w < 0 || h < 0 || std::isnan(w) || std::isnan(h)) err::invalidPropertyValue();
    if (l == left_ && t == top_ && w == width_ && h == height_) return;
    left_ = l;
    top_ = t;
    width_ = w;
    height_ = h;
    changed();
}

void Image::setPicture(const Picture& p) {
    if (p == picture_) return;
    picture_ = p;
    if (!stretch_ && !p.empty())
        move(left_, top_, p.widthTwips(), p.heightTwips());
    changed();
}

void Image::Stretch(bool v) {
    if (v == stretch_) return;
    stretch_ = v;
    if (!v && !picture_.empty()) move(left_, top_, picture_.widthTwips(), picture_.heightTwips());
    changed();
}

void Label::Caption(std::string v) {
    if (v == caption_) return;
    caption_ = std::move(v);
    if (autoSize_) fitToText();
    changed();
    owner_->captionChanged(*this);
}

void Label::ForeColor(Colour c) {
    if (c == foreColor_) return;
    foreColor_ = c;
    changed();
}

void Label::setAlignment(Alignment a) {
    if (a == alignment_) return;
    alignment_ = a;
    changed();
}

void Label::FontSize(float points) {
    if (!(points > 0) || points > 2048) err::invalidPropertyValue();
    if (points == font_.size) return;
    Font f = font_;
    f.size = points;
    setFont(f);
}

void Label::setFont(const Font& f) {
    if (f == font_) return;
    font_ = f;
    if (autoSize_) fitToText();
    changed();
}

void Label::setAutoSize(bool v) {
    autoSize_ = v;
    if (v) fitToText();
}

void Label::fitToText() {
    const TextExtent e = owner_->measure(caption_, font_);
    move(left_, top_, e.width, e.height);
}

RectF Line::bounds() const {
    // The pen is centred on the line, and a pixel's worth of slack covers rounding.
    const float pad = width_ * kTwipsPerPixel / 2 + kTwipsPerPixel;
    const float l = std::min(x1_, x2_), t = std::min(y1_, y2_);
    return {l - pad, t - pad, std::fabs(x2_ - x1_) + 2 * pad, std::fabs(y2_ - y1_) + 2 * pad};
}

void Line::set(float x1, float y1, float x2, float y2) {
    if (x1 == x1_ && y1 == y1_ && x2 == x2_ && y2 == y2_) return;
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    changed();
}

void Line::BorderColor(Colour c) {
    if (c == colour_) return;
    colour_ = c;
    changed();
}

void Line::BorderWidth(std::int16_t w) {
    if (w < 1) err::invalidPropertyValue();
    if (w == width_) return;
    width_ = w;
    changed();
}

void Line::Visible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    changed();
}

void Timer::Enabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    owner_->timerChanged(*this);
}

void Timer::Interval(std::int32_t ms) {
    if (ms < 0) err::invalidPropertyValue();
    if (ms == interval_) return;
    interval_ = ms;
    owner_->timerChanged(*this);
}

}  // namespace talvik
