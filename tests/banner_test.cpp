// The banner strip at several widths: the left end at the corner, the right piece flush
// with the right edge, the middle piece stretched between them. The ends are 5 and 183
// pixels wide (75 and 2745 twips), all three 122 pixels (1830 twips) high.
#include "Support.h"
#include "controls/Banner.h"

namespace talvik {
using namespace controls;
namespace {

TEST(Banner, ArrangedAtEveryWidth) {
    // One strip through every width in turn, from its design size (arranged by Initialize)
    // and back to it.
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
        {7365, 2910, {0, 0, 75, 1830}, {75, 0, 4545, 1830}, {4620, 0, 2745, 1830}},
    };
    testing::Hosted<Banner> s;
    const auto piece = [&](int i) { return s.images("Image1")(i); };
    for (int i = 0; i < 3; ++i) EXPECT_EQ(piece(i).picture().bitmap()->height, 122);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        s.resizeTo(c.width, c.height);
        EXPECT_EQ(piece(0).bounds(), c.left);
        EXPECT_EQ(piece(1).bounds(), c.middle);
        EXPECT_EQ(piece(2).bounds(), c.right);
        EXPECT_FALSE(piece(0).Stretch());
        EXPECT_TRUE(piece(1).Stretch());
        EXPECT_FALSE(piece(2).Stretch());
        // The strip never sizes its control.
        EXPECT_EQ(s.surface().Width(), c.width);
        EXPECT_EQ(s.surface().Height(), c.height);
    }
}

}  // namespace
}  // namespace talvik
