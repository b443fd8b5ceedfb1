// Every skinned box drawn at the device pixel ratios of common screens: the nine slices
// meet without a gap, an overlap or a step, and each slice is drawn from the picture of
// the screen's density.
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <cmath>
#include <string>
#include <vector>

#include "SheetFixture.h"
#include "frame/typelib/Catalogue.h"
#include "hosts/qt/ElementPainter.h"
#include "legibility.h"
#include "skin_boxes.h"

namespace talvik {
namespace {

using testing::BoxClasses;
using testing::renderAt;
using testing::Slices;

constexpr qreal kRatios[] = {1, 1.25, 1.5, 1.75, 2, 3};

int difference(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

// The source pixels (first, end) that device pixel i of a slice d pixels long shows,
// where the slice's picture is n pixels long: those under its share of the length.
std::pair<int, int> sourceSpan(int n, int d, int i) {
    const double step = double(n) / d;
    const int first = int(std::floor(i * step + 1e-9));
    const int end = std::min(n, int(std::ceil((i + 1) * step - 1e-9)));
    return {first, std::max(end, first + 1)};
}

// Across the seam between two slices, the two device pixels either side may differ only
// as much as the picture pixels they stand for differ: a row or column drawn one pixel
// off (a step), a gap or an overlap shows colours from elsewhere in the picture.
struct Seam {
    const Slices& s;
    const QImage& img;
    int worst = 0;  // the largest excess over what the pictures allow, at any seam pixel
    int at = 0;     // seam pixels compared

    // `a` above `b` (horizontal seam) or `a` left of `b` (vertical seam).
    void compare(int ra, int ca, int rb, int cb, bool horizontal, const QRegion& skip) {
        const QRect A = s.device(ra, ca), B = s.device(rb, cb);
        const Bitmap &pa = s.source(ra, ca), &pb = s.source(rb, cb);
        if (A.isEmpty() || B.isEmpty()) return;
        const int from = horizontal ? std::max(A.left(), B.left()) : std::max(A.top(), B.top());
        const int to = horizontal ? std::min(A.right(), B.right()) : std::min(A.bottom(), B.bottom());
        for (int t = from; t <= to; ++t) {
            const QPoint pA = horizontal ? QPoint(t, A.bottom()) : QPoint(A.right(), t);
            const QPoint pB = horizontal ? QPoint(t, B.top()) : QPoint(B.left(), t);
            if (skip.contains(pA) || skip.contains(pB)) continue;
            // What each device pixel stands for in its own picture.
            const auto spanA = horizontal ? sourceSpan(pa.width, A.width(), t - A.left())
                                          : sourceSpan(pa.height, A.height(), t - A.top());
            const auto edgeA = horizontal ? sourceSpan(pa.height, A.height(), A.height() - 1)
                                          : sourceSpan(pa.width, A.width(), A.width() - 1);
            const auto spanB = horizontal ? sourceSpan(pb.width, B.width(), t - B.left())
                                          : sourceSpan(pb.height, B.height(), t - B.top());
            const auto edgeB = horizontal ? sourceSpan(pb.height, B.height(), 0) : sourceSpan(pb.width, B.width(), 0);
            const auto px = [](const Bitmap& b, int along, int across, bool h) {
                return h ? b.argb[std::size_t(across) * std::size_t(b.width) + std::size_t(along)]
                         : b.argb[std::size_t(along) * std::size_t(b.width) + std::size_t(across)];
            };
            int allowed = 0;
            for (int i = spanA.first; i < spanA.second; ++i)
                for (int e = edgeA.first; e < edgeA.second; ++e)
                    for (int j = spanB.first; j < spanB.second; ++j)
                        for (int f = edgeB.first; f < edgeB.second; ++f)
                            allowed = std::max(allowed, difference(px(pa, i, e, horizontal), px(pb, j, f, horizontal)));
            const int seen = difference(img.pixel(pA), img.pixel(pB));
            worst = std::max(worst, seen - allowed);
            ++at;
        }
    }
};

TEST(QtSkinScale, SlicesMeetAtEveryPixelRatio) {
    const auto boxes = BoxClasses();
    ASSERT_FALSE(boxes.empty());
    const QColor surface(142, 176, 218);  // every box's back colour 0x00DAB08E
    for (const std::string& box : boxes)
        for (std::int32_t style = 0; style <= 5; ++style)
            for (const qreal ratio : kRatios) {
                SCOPED_TRACE(box + " style " + std::to_string(style) + " at " + std::to_string(ratio));
                testing::Shown shown(box, PropertyBag{{"Style", style}, {"Caption", ""}});
                shown.widget.resize(QSize(420, 240));  // whole device pixels at every ratio
                shown.settle();
                const QImage img = renderAt(shown.widget, ratio);
                const Slices s(shown.widget, ratio);
                if (!s.skinned()) continue;  // a style this box has no skin for

                // The nine slices tile the box: every device pixel in exactly one.
                const QRect whole(QPoint(0, 0), img.size());
                int covered = 0;
                for (int r = 1; r <= 3; ++r)
                    for (int c = 0; c < 3; ++c) {
                        covered += s.device(r, c).width() * s.device(r, c).height();
                        for (int r2 = 1; r2 <= 3; ++r2)
                            for (int c2 = 0; c2 < 3; ++c2)
                                if (r2 * 3 + c2 > r * 3 + c) {
                                    EXPECT_FALSE(s.device(r, c).intersects(s.device(r2, c2)));
                                }
                    }
                EXPECT_EQ(covered, whole.width() * whole.height());
                int uncovered = 0;
                for (int y = 0; y < img.height(); ++y)
                    for (int x = 0; x < img.width(); ++x) uncovered += img.pixelColor(x, y) == surface;
                EXPECT_EQ(uncovered, 0);

                Seam seam{s, img};
                const QRegion skip = s.notSlices();
                for (int r = 1; r <= 3; ++r)
                    for (int c = 0; c < 2; ++c) seam.compare(r, c, r, c + 1, false, skip);
                for (int r = 1; r <= 2; ++r)
                    for (int c = 0; c < 3; ++c)
                        for (int c2 = 0; c2 < 3; ++c2) seam.compare(r, c, r + 1, c2, true, skip);
                EXPECT_GT(seam.at, 0);
                EXPECT_LE(seam.worst, 3);
            }
}

// On a screen of twice the density every slice is drawn from its picture at twice the
// size, pixel for pixel, not from its own pixels doubled.
TEST(QtSkinScale, DoubleDensityDrawsTheLargePictures) {
    for (const std::string& box : BoxClasses())
        for (std::int32_t style = 0; style <= 5; ++style) {
            SCOPED_TRACE(box + " style " + std::to_string(style));
            testing::Shown shown(box, PropertyBag{{"Style", style}, {"Caption", ""}});
            shown.widget.resize(QSize(420, 240));
            shown.widget.clearFocus();  // the focus ring would lie over the corner slices
            shown.settle();
            const QImage img = renderAt(shown.widget, 2);
            const Slices s(shown.widget, 2);
            if (!s.skinned()) continue;
            // A box's texts and buttons may lie over a corner.
            const QRegion skip = s.notSlices();
            for (const auto& [r, c] : {std::pair(1, 0), std::pair(1, 2), std::pair(3, 0), std::pair(3, 2)}) {
                const Bitmap& large = s.source(r, c);
                const Bitmap& own = *s.picture(r, c).bitmap();
                ASSERT_EQ(large.width, 2 * own.width);
                ASSERT_EQ(large.height, 2 * own.height);
                const QRect at = s.device(r, c);
                ASSERT_EQ(at.size(), QSize(large.width, large.height));
                int wrong = 0;
                for (int y = 0; y < large.height; ++y)
                    for (int x = 0; x < large.width; ++x)
                        wrong += !skip.contains(QPoint(at.left() + x, at.top() + y)) && difference(img.pixel(at.left() + x, at.top() + y),
                                            large.argb[std::size_t(y) * std::size_t(large.width) + std::size_t(x)]) > 2;
                EXPECT_EQ(wrong, 0) << "slice " << r << "," << c;
            }
        }
}

// Every caption and text label of every box, in every style, reaches a contrast of 4.5:1
// against what is drawn around its letters: in the design's colour on a new box, and in
// the white that a box keeps after a skin that turns its captions white; under a light
// and under a dark palette. Over the skins the letters keep their colour.
TEST(QtSkinScale, CaptionsReadOnEverySkin) {
    const std::pair<const char*, QPalette> palettes[] = {{"light", testing::lightPalette()},
                                                         {"dark", testing::darkPalette()}};
    for (const auto& [paletteName, palette] : palettes) {
        double worst = 21;
        for (const std::string& box : testing::BoxClasses())
            for (std::int32_t style = 0; style <= 5; ++style)
                for (const bool afterWhite : {false, true})
                    for (const qreal ratio : {1.0, 1.5, 2.0}) {
                        SCOPED_TRACE(box + " style " + std::to_string(style) + (afterWhite ? " after style 4" : "") +
                                     " at " + std::to_string(ratio) + ", " + paletteName + " palette");
                        testing::Shown shown(
                            box, PropertyBag{{"Style", afterWhite ? 4 : style},
                                             {"Caption", "Answer sheet, page 1"},
                                             {"Info", "Read each question"}});
                        shown.form.setPalette(palette);
                        if (afterWhite) shown.widget.let("Style", Variant(style));
                        shown.widget.resize(QSize(420, 240));
                        shown.settle();
                        for (const char* name : {"Label1", "Label2"}) {
                            const Element e = shown.widget.host().find(name);
                            if (!e || !e.isVisible() || e.as<Label>().Caption().empty()) continue;
                            const Label l = e.as<Label>();
                            const testing::Reading r = testing::read(shown.widget, l, ratio);
                            ASSERT_GT(r.pixels, 0) << name;
                            EXPECT_GE(r.worst, 4.5) << name;
                            EXPECT_TRUE(testing::near(r.drawn, qtColour(l.ForeColor(), palette)))
                                << name << " drawn in " << r.drawn.name().toStdString();
                            worst = std::min(worst, r.worst);
                        }
                    }
        std::printf("boxes, %s palette: worst caption contrast %.2f\n", paletteName, worst);
    }
}

}  // namespace
}  // namespace talvik
