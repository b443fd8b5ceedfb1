#pragma once
// How well a label of a shown control reads: the colour its letters are drawn in and the
// worst contrast of those letters against what is drawn around them, under a light and a
// dark palette.
#include <QApplication>
#include <QImage>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <map>

#include "SheetFixture.h"
#include "hosts/qt/DarkPalette.h"
#include "hosts/qt/ElementPainter.h"

namespace talvik::testing {

// The application's own palette, which on the test platform is a light one.
inline QPalette lightPalette() { return QApplication::palette(); }

// The dark palette with a link colour as hard to read as its highlight, so that the
// tint of a link's text is put to the test.
inline QPalette darkPalette() {
    QPalette p = talvik::darkPalette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Link, p.color(group, QPalette::Highlight));
    return p;
}

// The relative luminance of a colour, 0 to 1.
inline double luminance(QColor c) {
    const auto linear = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue());
}

inline int channelDifference(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

// A colour of another hue and about the same luminance: recoloured to it, a label changes
// its letters and keeps whatever is drawn to make them read.
inline QColor sameLightnessOtherHue(QColor c) {
    const double want = luminance(c);
    QColor best;
    double gap = 2;
    for (int r = 0; r < 256; r += 17)
        for (int g = 0; g < 256; g += 17)
            for (int b = 0; b < 256; b += 17) {
                const QColor other(r, g, b);
                if (channelDifference(other.rgb(), c.rgb()) < 64) continue;
                if (const double d = std::abs(luminance(other) - want); d < gap) {
                    gap = d;
                    best = other;
                }
            }
    return best;
}

// The widget drawn into an image of `ratio` device pixels per pixel, on its palette's
// window colour as on a form.
inline QImage renderOnWindow(QWidget& w, qreal ratio) {
    QImage img(QSize(int(std::lround(w.width() * ratio)), int(std::lround(w.height() * ratio))),
               QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(ratio);
    img.fill(w.palette().color(QPalette::Window));
    w.render(&img, QPoint(), QRegion(), QWidget::RenderFlags());
    img.setDevicePixelRatio(1);
    return img.convertToFormat(QImage::Format_ARGB32);
}

struct Reading {
    int pixels = 0;      // letter pixels found
    QColor drawn;        // the colour the letters are drawn in
    double worst = 0;    // the lowest contrast of a letter pixel against its surroundings
};

// Reads a visible, enabled label of a shown control. Its letters are the pixels that
// change when the label is recoloured, in the colour of those that change most; each counts with
// the best contrast met walking out from it (four ways, up to 8 device pixels) until the
// control's own drawing without the label resumes, and the worst of those is the label's.
inline Reading read(QtControlWidget& w, const Label& l, qreal ratio) {
    const QImage with = renderOnWindow(w, ratio);
    l.Visible(false);
    const QImage without = renderOnWindow(w, ratio);
    l.Visible(true);
    const Colour own = l.ForeColor();
    // The colour's channels as the library writes them, red lowest.
    const QColor other = sameLightnessOtherHue(qtColour(own, w.palette()));
    l.ForeColor(Colour(other.red()) | Colour(other.green()) << 8 | Colour(other.blue()) << 16);
    const QImage recoloured = renderOnWindow(w, ratio);
    l.ForeColor(own);

    const double k = w.scale().pxPerTwip() * ratio;
    const auto at = [k](float t) { return int(std::lround(double(t) * k)); };
    const RectF b = l.bounds();
    const QRect label = QRect(QPoint(at(b.left), at(b.top)), QPoint(at(b.right()) - 1, at(b.bottom()) - 1)) & with.rect();

    Reading out;
    // Where a letter covers a pixel whole, recolouring changes it most; at its edges only
    // by the share the letter covers.
    std::map<QRgb, int> counts;
    int most = 16;
    for (int y = label.top(); y <= label.bottom(); ++y)
        for (int x = label.left(); x <= label.right(); ++x) {
            const int d = channelDifference(with.pixel(x, y), recoloured.pixel(x, y));
            if (d < most) continue;
            if (d > most) counts.clear();
            most = d;
            ++counts[with.pixel(x, y)];
        }
    if (counts.empty()) return out;
    out.drawn = QColor(std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& c) {
                           return a.second < c.second;
                       })->first);
    out.worst = 21;
    for (int y = label.top(); y <= label.bottom(); ++y)
        for (int x = label.left(); x <= label.right(); ++x) {
            const QRgb c = with.pixel(x, y);
            if (channelDifference(c, out.drawn.rgb()) > 16 || channelDifference(c, recoloured.pixel(x, y)) <= 16)
                continue;
            ++out.pixels;
            double best = 1;
            for (const auto& [dx, dy] : {std::pair(1, 0), std::pair(-1, 0), std::pair(0, 1), std::pair(0, -1)})
                for (int step = 1; step <= 8; ++step) {
                    const QPoint q(x + dx * step, y + dy * step);
                    if (!with.rect().contains(q)) break;
                    // Where the control's own drawing resumes, its own pixel: the last
                    // faint edge of a letter does not count as what lies around it.
                    const bool resumed = channelDifference(with.pixel(q), without.pixel(q)) <= 4;
                    best = std::max(best, contrast(out.drawn, QColor((resumed ? without : with).pixel(q))));
                    if (resumed) break;
                }
            out.worst = std::min(out.worst, best);
        }
    return out;
}

}  // namespace talvik::testing
