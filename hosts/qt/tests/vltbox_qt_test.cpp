// vltBox drawn by the Qt host at sizes other than its design size: corners keep their
// bitmap's pixels, edges repeat their bitmap's profile along the stretch, no gap lets the
// surface show through between slices, and the caption is drawn only where it is placed.
#include <QColor>

#include "SheetFixture.h"
#include "frame/Catalogue.h"

namespace talvik {
namespace {

using testing::Shown;
using testing::showsPicture;

const QColor kSurface(142, 176, 218);  // the box's back colour 0x00DAB08E

bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) <= 2 && std::abs(a.green() - b.green()) <= 2 &&
           std::abs(a.blue() - b.blue()) <= 2;
}

QColor bitmapPixel(const Picture& pic, int x, int y) {
    const Bitmap& b = *pic.bitmap();
    return QColor::fromRgba(b.argb[std::size_t(y) * std::size_t(b.width) + std::size_t(x)]);
}

struct Stored {
    PropertyBag bag;
};

// A box restored with a style and a caption, shown on a form.
struct Box : Stored, Shown {
    Box(std::int32_t style, const char* caption)
        : Stored{{{"Style", style}, {"Caption", caption}}}, Shown("vltBox", &bag) {}
    const Image& slice(int row, int i) const {
        return static_cast<const Image&>(*widget.host().find("Image" + std::to_string(row), i));
    }
    QRect label() const { return widget.scale().snapped(widget.host().find("Label1")->bounds()); }
};

TEST(QtvltBox, SkinAtAnySize) {
    if (findControlClass("vltBox") == nullptr) GTEST_SKIP() << "no vltBox in this build";
    const QSize sizes[] = {{420, 180}, {333, 157}, {900, 600}};
    for (std::int32_t style = 0; style <= 5; ++style) {
        for (const QSize size : sizes) {
            SCOPED_TRACE("style " + std::to_string(style) + " at " + std::to_string(size.width()) + " x " +
                         std::to_string(size.height()));
            Box b(style, "");
            b.widget.resize(size);
            Shown::settle();
            const QImage img = b.image();
            ASSERT_EQ(img.size(), size);
            const int W = size.width(), H = size.height();

            // The four corners, unscaled, against the box's edges.
            const Picture& tl = b.slice(1, 0).picture();
            const Picture& tr = b.slice(1, 2).picture();
            const Picture& bl = b.slice(3, 0).picture();
            const Picture& br = b.slice(3, 2).picture();
            EXPECT_TRUE(showsPicture(img, {0, 0}, tl, kSurface));
            EXPECT_TRUE(showsPicture(img, {W - tr.bitmap()->width, 0}, tr, kSurface));
            EXPECT_TRUE(showsPicture(img, {0, H - bl.bitmap()->height}, bl, kSurface));
            EXPECT_TRUE(showsPicture(img, {W - br.bitmap()->width, H - br.bitmap()->height}, br, kSurface));

            // The top and bottom edges: every column between the corners shows the edge
            // bitmap's own column, at its own height.
            const auto edgeRepeats = [&](int row, int top) {
                const Picture& edge = b.slice(row, 1).picture();
                const int from = b.slice(row, 0).picture().bitmap()->width;
                const int to = W - b.slice(row, 2).picture().bitmap()->width;
                const int column = edge.bitmap()->width / 2;
                for (int y = 0; y < edge.bitmap()->height; ++y)
                    for (int x = from; x < to; ++x)
                        if (!near(img.pixelColor(x, top + y), bitmapPixel(edge, column, y)))
                            return ::testing::AssertionFailure() << "Image" << row << "(1) at " << x << ", " << top + y;
                return ::testing::AssertionSuccess();
            };
            EXPECT_TRUE(edgeRepeats(1, 0));
            EXPECT_TRUE(edgeRepeats(3, H - bl.bitmap()->height));

            // The slices meet: the surface's own colour shows nowhere.
            int uncovered = 0;
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) uncovered += img.pixelColor(x, y) == kSurface;
            EXPECT_EQ(uncovered, 0);
        }
    }
}

TEST(QtvltBox, CaptionIsDrawnWhereItIsPlaced) {
    if (findControlClass("vltBox") == nullptr) GTEST_SKIP() << "no vltBox in this build";
    for (std::int32_t style : {0, 1, 4, 5}) {
        for (int width : {500, 600, 333}) {
            SCOPED_TRACE("style " + std::to_string(style) + " at " + std::to_string(width));
            Box plain(style, ""), captioned(style, "Answer sheet");
            for (Box* b : {&plain, &captioned}) {
                b->widget.resize(width, 240);
                Shown::settle();
            }
            const QImage a = plain.image(), c = captioned.image();
            const QRect label = captioned.label();
            // In the bottom row, or in the top row of the FireFox skin.
            if (style == 5) {
                EXPECT_LE(label.bottom(), captioned.slice(1, 0).picture().bitmap()->height);
            } else {
                EXPECT_GE(label.top(), 240 - captioned.slice(3, 0).picture().bitmap()->height);
            }
            EXPECT_NEAR(label.center().x(), width / 2.0, 1);
            int inside = 0, outside = 0, left = width, right = -1;
            for (int y = 0; y < a.height(); ++y)
                for (int x = 0; x < a.width(); ++x) {
                    if (a.pixel(x, y) == c.pixel(x, y)) continue;
                    (label.contains(x, y) ? inside : outside)++;
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            EXPECT_GT(inside, 50);
            EXPECT_EQ(outside, 0);
            // On one line, across the label: a label sized to its text does not wrap it.
            EXPECT_GE(right - left + 1, label.width() - 4);
        }
    }
}

}  // namespace
}  // namespace talvik
