#pragma once
// Twips to the widget's logical pixels: 1440 twips an inch at the screen's logical DPI,
// so 15 twips a pixel at 96 DPI.
#include <QPointF>
#include <QRect>
#include <QRectF>

#include "frame/model/Geometry.h"

namespace talvik {

class TwipScale {
public:
    explicit TwipScale(qreal dpi = 96.0) : pxPerTwip_(dpi / 1440.0) {}

    qreal px(float twips) const { return qreal(twips) * pxPerTwip_; }
    float twips(qreal px) const { return float(px / pxPerTwip_); }
    QPointF point(float x, float y) const { return {px(x), px(y)}; }
    // Edges rounded one by one, so that elements that touch in twips touch on screen.
    QRect snapped(const RectF& r) const {
        const int l = qRound(px(r.left)), t = qRound(px(r.top));
        return QRect(QPoint(l, t), QPoint(qRound(px(r.right())) - 1, qRound(px(r.bottom())) - 1));
    }
    // Every pixel the rectangle touches, and one more on each side for what rounding
    // and antialiasing may spill.
    QRect covering(const RectF& r) const {
        return QRectF(px(r.left), px(r.top), px(r.width), px(r.height)).toAlignedRect().adjusted(-1, -1, 1, 1);
    }
    RectF fromPixels(const QRectF& r) const {
        return {twips(r.left()), twips(r.top()), twips(r.width()), twips(r.height())};
    }
    QSize size(float widthTwips, float heightTwips) const {
        return {qRound(px(widthTwips)), qRound(px(heightTwips))};
    }
    qreal pxPerTwip() const { return pxPerTwip_; }
    friend bool operator==(const TwipScale&, const TwipScale&) = default;

private:
    qreal pxPerTwip_;
};

}  // namespace talvik
