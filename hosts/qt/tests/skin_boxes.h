#pragma once
// The skinned boxes of the catalogue as the Qt host draws them at a device pixel ratio:
// which classes they are, a box rendered into an image of that ratio, and where its
// nine slices fall in that image's device pixels.
#include <QImage>
#include <QRegion>
#include <cmath>
#include <string>
#include <vector>

#include "SheetFixture.h"
#include "frame/typelib/Catalogue.h"

namespace talvik::testing {

// Every implemented class whose template holds the nine slices and the caption.
inline std::vector<std::string> BoxClasses() {
    std::vector<std::string> out;
    for (const ControlClass* cls : catalogue()) {
        if (cls == nullptr || !cls->implemented()) continue;
        int slices = 0;
        bool caption = false;
        for (const ElementSpec& e : cls->design().elements) {
            // Three arrays of three images each: the answer sheet's Image1 is larger.
            if (e.name == "Image1" || e.name == "Image2" || e.name == "Image3") slices += e.index >= 0 && e.index <= 2 ? 1 : 100;
            caption |= e.name == "Label1";
        }
        if (slices == 9 && caption) out.emplace_back(cls->name);
    }
    return out;
}

// The widget drawn into an image of `ratio` device pixels per pixel, as a screen of that
// density shows it.
inline QImage renderAt(QWidget& w, qreal ratio) {
    QImage img(QSize(int(std::lround(w.width() * ratio)), int(std::lround(w.height() * ratio))),
               QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(ratio);
    img.fill(Qt::magenta);
    w.render(&img, QPoint(), QRegion(), QWidget::RenderFlags());
    img.setDevicePixelRatio(1);
    return img.convertToFormat(QImage::Format_ARGB32);
}

// The nine slices of a shown box at a pixel ratio.
class Slices {
public:
    Slices(const QtControlWidget& w, qreal ratio) : w_(w), ratio_(ratio) {}

    Image image(int row, int i) const { return w_.host().find("Image" + std::to_string(row), i).as<Image>(); }
    const Picture& picture(int row, int i) const { return image(row, i).picture(); }
    bool skinned() const {
        for (int r = 1; r <= 3; ++r)
            for (int i = 0; i < 3; ++i)
                if (picture(r, i).empty() || !image(r, i).Visible()) return false;
        return true;
    }
    // The device pixels a rectangle in twips covers: its edges rounded one by one.
    QRect device(const RectF& r) const {
        const double k = w_.scale().pxPerTwip() * ratio_;
        const auto at = [k](float t) { return int(std::lround(double(t) * k)); };
        return QRect(QPoint(at(r.left), at(r.top)), QPoint(at(r.right()) - 1, at(r.bottom()) - 1));
    }
    QRect device(int row, int i) const { return device(image(row, i).bounds()); }
    // The bitmap the slice is drawn from at this ratio.
    const Bitmap& source(int row, int i) const {
        const Bitmap& own = *picture(row, i).bitmap();
        return ratio_ > 1 && own.large ? *own.large : own;
    }
    // Where visible elements other than the slices (captions, buttons) are drawn.
    QRegion notSlices() const {
        QRegion out;
        for (const Element& e : w_.host().elements()) {
            const bool slice = e.is<Image>() && (e.name() == "Image1" || e.name() == "Image2" || e.name() == "Image3");
            if (slice || !e.isVisible()) continue;
            out += device(e.bounds()).adjusted(-2, -2, 2, 2);
        }
        return out;
    }

private:
    const QtControlWidget& w_;
    qreal ratio_;
};

}  // namespace talvik::testing
