// vltBox drawn by the Qt host at sizes other than its design size: corners keep their
// bitmap's pixels, edges repeat their bitmap's profile along the stretch, no gap lets the
// surface show through between slices, and the caption is drawn only where it is placed.
#include "SheetFixture.h"

namespace talvik {
namespace {

using testing::Shown;
using testing::showsPicture;

const QColor kSurface(142, 176, 218);  // the box's back colour 0x00DAB08E

// A box restored with a style and a caption, shown on a form at a size.
struct Box : Shown {
    Box(std::int32_t style, const char* caption, QSize size)
        : Shown("vltBox", PropertyBag{{"Style", style}, {"Caption", caption}}) {
        widget.resize(size);
        settle();
    }
    const Picture& slice(int row, int i) const {
        return widget.host().find("Image" + std::to_string(row), i).as<Image>().picture();
    }
    int width(int row, int i) const { return slice(row, i).bitmap()->width; }
    int height(int row, int i) const { return slice(row, i).bitmap()->height; }
};

TEST(QtvltBox, SkinAtAnySize) {
    for (std::int32_t style = 0; style <= 5; ++style) {
        for (const QSize size : {QSize(420, 180), QSize(333, 157)}) {
            SCOPED_TRACE("style " + std::to_string(style) + " at " + std::to_string(size.width()) + " x " +
                         std::to_string(size.height()));
            Box b(style, "", size);
            const QImage img = b.image();
            ASSERT_EQ(img.size(), size);
            const int W = size.width(), H = size.height();

            // The four corners, unscaled, against the box's edges.
            EXPECT_TRUE(showsPicture(img, {0, 0}, b.slice(1, 0), kSurface));
            EXPECT_TRUE(showsPicture(img, {W - b.width(1, 2), 0}, b.slice(1, 2), kSurface));
            EXPECT_TRUE(showsPicture(img, {0, H - b.height(3, 0)}, b.slice(3, 0), kSurface));
            EXPECT_TRUE(showsPicture(img, {W - b.width(3, 2), H - b.height(3, 2)}, b.slice(3, 2), kSurface));

            // The top and bottom edges: every column between the corners shows the edge
            // bitmap's own middle column, at its own height.
            for (const int row : {1, 3}) {
                SCOPED_TRACE("Image" + std::to_string(row) + "(1)");
                const int top = row == 1 ? 0 : H - b.height(3, 0);
                int wrong = 0;
                for (int y = 0; y < b.height(row, 1); ++y) {
                    const QColor want = testing::pixelOf(b.slice(row, 1), b.width(row, 1) / 2, y);
                    for (int x = b.width(row, 0); x < W - b.width(row, 2); ++x)
                        wrong += !testing::near(img.pixelColor(x, top + y), want);
                }
                EXPECT_EQ(wrong, 0);
            }

            // The slices meet: the surface's own colour shows nowhere.
            int uncovered = 0;
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) uncovered += img.pixelColor(x, y) == kSurface;
            EXPECT_EQ(uncovered, 0);
        }
    }
}

TEST(QtvltBox, CaptionIsDrawnWhereItIsPlaced) {
    for (std::int32_t style : {0, 1, 4, 5}) {
        for (int width : {500, 333}) {
            SCOPED_TRACE("style " + std::to_string(style) + " at " + std::to_string(width));
            Box plain(style, "", QSize(width, 240)), captioned(style, "Answer sheet", QSize(width, 240));
            const QImage a = plain.image(), c = captioned.image();
            const QRect label = captioned.widget.scale().snapped(captioned.widget.host().find("Label1").bounds());
            // In the bottom row, or in the top row of the Baby_FireFox skin.
            if (style == 5)
                EXPECT_LE(label.bottom(), captioned.height(1, 0));
            else
                EXPECT_GE(label.top(), 240 - captioned.height(3, 0));
            EXPECT_NEAR(label.center().x(), width / 2.0, 1);
            int inside = 0, outside = 0, left = width, right = -1;
            for (int y = 0; y < a.height(); ++y)
                for (int x = 0; x < a.width(); ++x) {
                    if (a.pixel(x, y) == c.pixel(x, y)) continue;
                    // A caption's halo may reach a pixel past its label.
                    (label.adjusted(-1, -1, 1, 1).contains(x, y) ? inside : outside)++;
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
