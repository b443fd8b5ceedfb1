#include "hosts/qt/FocusRing.h"

#include <QPainterPath>

namespace talvik {

void paintFocusRing(QPainter& p, const QRect& around, const QPalette& palette, qreal devicePixelRatio) {
    if (around.isEmpty()) return;
    // Two device pixels, whatever the ratio, so the ring is as plain on a dense screen.
    const qreal width = 2.0 / (devicePixelRatio > 0 ? devicePixelRatio : 1.0);
    const QRectF outer(around);
    QPainterPath ring;
    ring.addRect(outer);
    ring.addRect(outer.adjusted(width, width, -width, -width));
    ring.setFillRule(Qt::OddEvenFill);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillPath(ring, palette.color(QPalette::Active, QPalette::Highlight));
    p.restore();
}

}  // namespace talvik
