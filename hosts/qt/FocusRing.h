#pragma once
// The keyboard focus indicator of a hosted control: a ring two device pixels wide in
// the palette's highlight colour, drawn over the control inside `around`.
#include <QPainter>
#include <QPalette>
#include <QRect>

namespace talvik {

void paintFocusRing(QPainter& p, const QRect& around, const QPalette& palette, qreal devicePixelRatio);

}  // namespace talvik
