// The skinned boxes and the banner drawn by the Qt host at any size and at the device
// pixel ratios of common screens: the pieces tile the control and meet without a gap, an
// overlap or a step, corners and edges show their pictures of the screen's density,
// texts are drawn only where their labels lie, and a transparent box shows the form.
#include <climits>
#include <memory>

#include "SheetFixture.h"

namespace talvik {
namespace {

using testing::difference;
using testing::Shown;

const QColor kSurface(142, 176, 218);  // every box's back colour 0x00DAB08E

// The nine slices of a shown box at a pixel ratio.
struct Slices {
    const QtControlWidget& w;
    qreal ratio;

    Image image(int row, int i) const { return w.host().find("Image" + std::to_string(row), i).as<Image>(); }
    const Picture& picture(int row, int i) const { return image(row, i).picture(); }
    bool skinned() const {
        for (int r = 1; r <= 3; ++r)
            for (int i = 0; i < 3; ++i)
                if (picture(r, i).empty() || !image(r, i).Visible()) return false;
        return true;
    }
    QRect device(int row, int i) const { return testing::devicePixels(w, image(row, i).bounds(), ratio); }
    // The bitmap the slice is drawn from at this ratio.
    const Bitmap& source(int row, int i) const {
        const Bitmap& own = *picture(row, i).bitmap();
        return ratio > 1 && own.large ? *own.large : own;
    }
    // Where visible elements other than the slices (captions, buttons) are drawn.
    QRegion notSlices() const {
        QRegion out;
        for (const Element& e : w.host().elements()) {
            const bool slice = e.is<Image>() && (e.name() == "Image1" || e.name() == "Image2" || e.name() == "Image3");
            if (!slice && e.isVisible()) out += testing::devicePixels(w, e.bounds(), ratio).adjusted(-2, -2, 2, 2);
        }
        return out;
    }
};

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
            worst = std::max(worst, difference(img.pixel(pA), img.pixel(pB)) - allowed);
            ++at;
        }
    }
};

TEST(QtSkinScale, SlicesTileAndMeetAtEverySizeAndPixelRatio) {
    // 420 x 240 is whole device pixels at every ratio; 333 x 157 is not a multiple of a slice.
    const std::pair<QSize, qreal> views[] = {{{420, 240}, 1},   {{420, 240}, 1.25}, {{420, 240}, 1.5}, {{420, 240}, 1.75},
                                             {{420, 240}, 2},   {{420, 240}, 3},    {{333, 157}, 1}};
    for (const std::string& box : testing::BoxClasses())
        for (std::int32_t style = 0; style <= 5; ++style) {
            Shown shown(box, PropertyBag{{"Style", style}, {"Caption", ""}});
            shown.widget.clearFocus();  // the focus ring would lie over the corner slices
            for (const auto& [size, ratio] : views) {
                SCOPED_TRACE(box + " style " + std::to_string(style) + " at " + std::to_string(size.width()) + " x " +
                             std::to_string(size.height()) + ", ratio " + std::to_string(ratio));
                shown.widget.resize(size);
                shown.settle();
                const QImage img = testing::renderAt(shown.widget, ratio);
                const Slices s{shown.widget, ratio};
                if (!s.skinned()) continue;  // a style this box has no skin for

                // The surface shows nowhere between the slices.
                int uncovered = 0;
                for (int y = 0; y < img.height(); ++y)
                    for (int x = 0; x < img.width(); ++x) uncovered += img.pixelColor(x, y) == kSurface;
                EXPECT_EQ(uncovered, 0);

                Seam seam{s, img};
                const QRegion skip = s.notSlices();  // a box's texts and buttons lie over its slices
                for (int r = 1; r <= 3; ++r)
                    for (int c = 0; c < 2; ++c) seam.compare(r, c, r, c + 1, false, skip);
                for (int r = 1; r <= 2; ++r)
                    for (int c = 0; c < 3; ++c)
                        for (int c2 = 0; c2 < 3; ++c2) seam.compare(r, c, r + 1, c2, true, skip);
                EXPECT_GT(seam.at, 0);
                EXPECT_LE(seam.worst, 3);
                if (ratio != 1 && ratio != 2) continue;

                // At one and two device pixels a pixel the corners are their pictures of that
                // density pixel for pixel, not their own pixels doubled.
                const auto wrongPixels = [&](const Bitmap& b, QRect at, int column) {
                    int wrong = 0;
                    for (int y = 0; y < at.height(); ++y)
                        for (int x = 0; x < at.width(); ++x)
                            if (const QPoint p = at.topLeft() + QPoint(x, y); !skip.contains(p))
                                wrong += difference(img.pixel(p), testing::pixelOf(b, column < 0 ? x : column, y).rgb()) > 2;
                    return wrong;
                };
                for (const auto& [r, c] : {std::pair(1, 0), std::pair(1, 2), std::pair(3, 0), std::pair(3, 2)}) {
                    const Bitmap &b = s.source(r, c), &own = *s.picture(r, c).bitmap();
                    ASSERT_EQ(QSize(b.width, b.height), QSize(own.width, own.height) * ratio);
                    ASSERT_EQ(s.device(r, c).size(), QSize(b.width, b.height));
                    EXPECT_EQ(wrongPixels(b, s.device(r, c), -1), 0) << "corner " << r << "," << c;
                }
                // Along the top and bottom edges every column shows the edge picture's middle one.
                if (ratio == 1)
                    for (const int r : {1, 3}) {
                        const Bitmap& b = s.source(r, 1);
                        EXPECT_EQ(wrongPixels(b, s.device(r, 1), b.width / 2), 0) << "edge " << r;
                    }
            }
        }
}

// The banner's three pieces come from one drawing whose middle is the same in every column, so
// across each seam a row keeps its colour; a gap, an overlap or a piece one pixel off
// shows a step or the background.
TEST(QtSkinScale, BannerPiecesMeetWithoutSeamsAtFractionalRatios) {
    Shown shown("Banner");
    for (const int width : {491, 700, 803})
        for (const qreal ratio : {1.0, 1.25, 1.5, 1.75, 2.0}) {
            SCOPED_TRACE(std::to_string(ratio) + " at " + std::to_string(width));
            shown.widget.resize(QSize(width, 194));
            shown.settle();
            const QImage img = testing::renderAt(shown.widget, ratio);
            const auto device = [&](float twips) { return qRound(qreal(twips) / 15 * ratio); };
            const int leftEnd = device(75), rightStart = device(width * 15.0f - 2745), end = device(width * 15.0f);
            const int stripBottom = device(1830);
            ASSERT_EQ(end, img.width());
            // Away from the rounded corners and the banner's top and bottom borders.
            int steps = 0, rows = 0;
            for (int y = stripBottom / 8; y < stripBottom * 7 / 8; ++y, ++rows) {
                for (int x = 0; x < end; ++x) steps += img.pixel(x, y) == qRgb(255, 0, 255);
                steps += difference(img.pixel(leftEnd - 1, y), img.pixel(leftEnd, y)) > 3;
                steps += difference(img.pixel(leftEnd, y), img.pixel(rightStart - 1, y)) > 0;
                steps += difference(img.pixel(rightStart - 1, y), img.pixel(rightStart, y)) > 3;
            }
            EXPECT_GT(rows, stripBottom / 2);
            EXPECT_EQ(steps, 0);
        }
}

// A box of `cls` restored from `bag` and shown at `size`.
std::unique_ptr<Shown> shownAt(const char* cls, PropertyBag bag, QSize size) {
    auto s = std::make_unique<Shown>(cls, std::move(bag));
    s->form.resize(size + QSize(100, 100));
    s->widget.resize(size);
    s->settle();
    return s;
}

// The widget as the form shows it, with whatever lies under a transparent surface.
QImage onForm(Shown& s) { return s.form.grab(s.widget.geometry()).toImage().convertToFormat(QImage::Format_ARGB32); }

// The pixels a text changes against the same box without it: inside its label (and up
// to `halo` around it) or outside, and the columns they span.
struct TextDrawn {
    int inside = 0, outside = 0, left = INT_MAX, right = -1;
};
TextDrawn textDrawn(Shown& without, Shown& with, const QRect& label, int halo) {
    const QImage a = onForm(without), c = onForm(with);
    TextDrawn out;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) == c.pixel(x, y)) continue;
            if (!label.adjusted(-halo, -halo, halo, halo).contains(x, y)) {
                ++out.outside;
                continue;
            }
            ++out.inside;
            out.left = std::min(out.left, x);
            out.right = std::max(out.right, x);
        }
    return out;
}

TEST(QtSkinScale, TextsAreDrawnOnlyWhereTheirLabelsLie) {
    // A box's caption: centred, in the bottom row or in the top row of Baby_FireFox, on one
    // line (a label sized to its text does not wrap it); a caption's halo may reach a pixel past it.
    for (const std::int32_t style : {0, 1, 4, 5})
        for (const int width : {500, 333}) {
            SCOPED_TRACE("vltBox style " + std::to_string(style) + " at " + std::to_string(width));
            const auto plain = shownAt("vltBox", {{"Style", style}, {"Caption", ""}}, QSize(width, 240));
            const auto shown = shownAt("vltBox", {{"Style", style}, {"Caption", "Answer sheet"}}, QSize(width, 240));
            const QRect label = shown->placed("Label1");
            const Slices s{shown->widget, 1};
            if (style == 5)
                EXPECT_LE(label.bottom(), s.device(1, 0).bottom() + 1);
            else
                EXPECT_GE(label.top(), s.device(3, 0).top());
            EXPECT_NEAR(label.center().x(), width / 2.0, 1);
            const TextDrawn d = textDrawn(*plain, *shown, label, 1);
            EXPECT_GT(d.inside, 50);
            EXPECT_EQ(d.outside, 0);
            EXPECT_GE(d.right - d.left + 1, label.width() - 4);
        }
    // The information text at Left 150 and Top 120 twips, or 465 below Baby_reddarkbox's
    // top row, over the skin or the form (how well it reads is the palette tests' part).
    for (std::int32_t style = 0; style <= 5; ++style)
        for (const std::int32_t backStyle : {1, 0}) {
            SCOPED_TRACE("vltInfoBox style " + std::to_string(style) + ", back style " + std::to_string(backStyle));
            const auto bag = [&](const char* info) {
                return PropertyBag{{"Style", style}, {"Caption", ""}, {"Info", info}, {"BackStyle", backStyle}};
            };
            const auto plain = shownAt("vltInfoBox", bag(""), QSize(360, 160));
            const auto shown = shownAt("vltInfoBox", bag("Read every question"), QSize(360, 160));
            const QRect label = shown->placed("Label2");
            EXPECT_EQ(label.topLeft(), style == 4 ? QPoint(10, 31) : QPoint(10, 8));
            const TextDrawn d = textDrawn(*plain, *shown, label, 0);
            EXPECT_GT(d.inside, 100);
            EXPECT_EQ(d.outside, 0);
        }
}

TEST(QtSkinScale, TransparentInfoBoxShowsTheFormExceptItsTexts) {
    for (const std::int32_t backStyle : {0, 1, 7}) {
        SCOPED_TRACE("back style " + std::to_string(backStyle));
        const auto b = shownAt("vltInfoBox",
                               {{"Style", 2}, {"Caption", ""}, {"Info", "Read every question"}, {"BackStyle", backStyle}},
                               QSize(300, 140));
        const QImage img = onForm(*b);
        const QColor form = b->form.grab(QRect(b->form.width() - 2, b->form.height() - 2, 1, 1)).toImage().pixelColor(0, 0);
        const QRegion texts = QRegion(b->placed("Label2")) + b->placed("Label1");
        int formShown = 0, elsewhere = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (!texts.contains(QPoint(x, y))) {
                    ++elsewhere;
                    formShown += img.pixelColor(x, y) == form;
                }
        // Transparent: the form everywhere but the texts; opaque: the skin everywhere.
        EXPECT_EQ(formShown, backStyle == 0 ? elsewhere : 0);
    }
}

}  // namespace
}  // namespace talvik
