// The banner strip at several widths: the left end at the corner, the right piece flush
// with the right edge, the middle piece stretched between them. The ends are 5 and 183
// pixels wide (75 and 2745 twips), all three 122 pixels (1830 twips) high.
#include <gtest/gtest.h>

#include "controls/Banner.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik {
using namespace controls;
namespace {

struct Strip : HeadlessHost {
    Strip() : HeadlessHost(Banner::Class) { Initialize(); }
    Image piece(int i) { return images("Image1")(i); }
};

TEST(Banner, ArrangedAtEveryWidth) {
    const struct {
        float width, height;
        RectF left, middle, right;
    } cases[] = {
        {7365, 2910, {0, 0, 75, 1830}, {75, 0, 4545, 1830}, {4620, 0, 2745, 1830}},
        {12000, 1830, {0, 0, 75, 1830}, {75, 0, 9180, 1830}, {9255, 0, 2745, 1830}},
        {2820, 2910, {0, 0, 75, 1830}, {75, 0, 0, 1830}, {75, 0, 2745, 1830}},
        // Narrower than the two ends: no middle, the right piece still ends at the edge.
        {2000, 900, {0, 0, 75, 1830}, {75, 0, 0, 1830}, {-745, 0, 2745, 1830}},
        {0, 0, {0, 0, 75, 1830}, {75, 0, 0, 1830}, {-2745, 0, 2745, 1830}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        Strip s;
        s.resizeTo(c.width, c.height);
        EXPECT_EQ(s.piece(0).bounds(), c.left);
        EXPECT_EQ(s.piece(1).bounds(), c.middle);
        EXPECT_EQ(s.piece(2).bounds(), c.right);
        EXPECT_FALSE(s.piece(0).Stretch());
        EXPECT_TRUE(s.piece(1).Stretch());
        EXPECT_FALSE(s.piece(2).Stretch());
        // The strip never sizes its control.
        EXPECT_EQ(s.surface().Width(), c.width);
        EXPECT_EQ(s.surface().Height(), c.height);
    }
}

// Initialize arranges the design size at once; a later Resize follows the new width and
// a width back again restores the first arrangement.
TEST(Banner, InitializeAndResize) {
    Strip s;
    EXPECT_EQ(s.piece(1).bounds(), (RectF{75, 0, 4545, 1830}));
    EXPECT_EQ(s.piece(2).bounds(), (RectF{4620, 0, 2745, 1830}));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(s.piece(i).picture().bitmap()->height, 122);
    s.resizeTo(1000, 2910);
    s.resizeTo(7365, 2910);
    EXPECT_EQ(s.piece(0).bounds(), (RectF{0, 0, 75, 1830}));
    EXPECT_EQ(s.piece(1).bounds(), (RectF{75, 0, 4545, 1830}));
    EXPECT_EQ(s.piece(2).bounds(), (RectF{4620, 0, 2745, 1830}));
}

}  // namespace
}  // namespace talvik
