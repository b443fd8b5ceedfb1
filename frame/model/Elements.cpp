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
    if (!inArray()) return name();
    return name() + "(" + std::to_string(s_.index) + ")";
}

void Label::setFontSize(float points) const { m_->setFontSize(s_, points); }

}  // namespace talvik
