// Marking the answer sheet with the mouse and the keyboard, the marker, reset and result.
#include <gtest/gtest.h>

#include "answer/Matrix.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik {
using namespace controls;
namespace {

constexpr std::int16_t kSpace = 32, kLeft = 37, kUp = 38, kRight = 39, kDown = 40;

struct Sheet {
    HeadlessHost host{Matrix::Class};
    Matrix& m;
    explicit Sheet(std::int16_t items = 100) : m(static_cast<Matrix&>(*host.control())) {
        host.Initialize();
        if (items != 100) m.MaxItems(items);
    }
    Image choice(int k, int i) { return host.images("Image" + std::to_string(k))(i); }
    const Picture& mark(int k, int state) { return host.pictureBoxes("Picture" + std::to_string(k))(state).picture(); }
    bool marked(int k, int i) { return choice(k, i).picture() == mark(k, 1); }
    void click(int k, int i) { host.deliver({EventKind::Click, choice(k, i)}); }
    void key(std::int16_t code, std::int16_t shift = 0) {
        host.deliver({.kind = EventKind::KeyDown, .shift = shift, .key = code});
    }
    Image marker() { return host.image("imgArrow"); }
};

float rowTop(int i) { return 50.0f + 390.0f * i + 20.0f * (i / 5); }

TEST(MatrixSelection, ClicksToggleByPictureIdentity) {
    Sheet s;
    s.click(2, 2);
    EXPECT_TRUE(s.marked(2, 2));
    EXPECT_EQ(s.m.RowSel(), 2);
    EXPECT_EQ(s.marker().Top(), rowTop(2) + 60);
    EXPECT_EQ(s.marker().Left(), 325);
    s.click(2, 2);
    EXPECT_FALSE(s.marked(2, 2));
    EXPECT_EQ(s.choice(2, 2).picture(), s.mark(2, 0));
    EXPECT_EQ(s.m.RowSel(), 2);

    // Each choice is a toggle of its own; the other three stay as they are.
    s.click(1, 6);
    s.click(3, 6);
    EXPECT_TRUE(s.marked(1, 6));
    EXPECT_FALSE(s.marked(2, 6));
    EXPECT_TRUE(s.marked(3, 6));
    // The marker is placed from choice A of the row whichever choice was clicked.
    s.click(4, 30);
    EXPECT_EQ(s.marker().Left(), 3290 - 140);
    EXPECT_EQ(s.marker().Top(), rowTop(5) + 60);  // element 30 is the sixth row of column 2
    // Clicks on labels or on the marker change nothing.
    s.host.deliver({EventKind::Click, s.host.labels("Label1")(9)});
    s.host.deliver({EventKind::Click, s.marker()});
    EXPECT_EQ(s.m.RowSel(), 30);
}

TEST(MatrixSelection, ChoiceKeysAndSpaceActOnTheCurrentQuestion) {
    struct Case { std::vector<std::int16_t> keys; bool a, b, c, d; };
    const Case cases[] = {
        {{65}, true, false, false, false},        {{49}, true, false, false, false},
        {{66}, false, true, false, false},        {{50}, false, true, false, false},
        {{67}, false, false, true, false},        {{51}, false, false, true, false},
        {{68}, false, false, false, true},        {{52}, false, false, false, true},
        {{65, 49}, false, false, false, false},   // letter and digit toggle the same choice
        {{65, 67, kSpace}, false, false, false, false},
        {{69, 53, 96, 97, 13, 0}, false, false, false, false},  // E, 5, keypad 0 and 1, Enter: ignored
    };
    for (const Case& c : cases) {
        Sheet s;
        s.m.RowSel(4);
        for (std::int16_t k : c.keys) s.key(k);
        EXPECT_EQ(s.marked(1, 4), c.a);
        EXPECT_EQ(s.marked(2, 4), c.b);
        EXPECT_EQ(s.marked(3, 4), c.c);
        EXPECT_EQ(s.marked(4, 4), c.d);
        EXPECT_EQ(s.m.RowSel(), 4);
        EXPECT_EQ(s.marker().Top(), 110);  // choice keys never move the marker
    }
    Sheet shifted;
    shifted.key(66, 1);
    EXPECT_TRUE(shifted.marked(2, 0));
}

TEST(MatrixSelection, SpaceClearsMarksMadeByClicks) {
    Sheet s;
    s.click(1, 0);
    s.click(3, 0);
    s.key(kSpace);
    EXPECT_EQ(s.m.result().at(1), "");
    EXPECT_EQ(s.m.RowSel(), 0);
}

TEST(MatrixSelection, ArrowKeysMoveAsTheGridRuns) {
    struct Case { std::int16_t items, maxCols, perCol, from, key, to; };
    const Case cases[] = {
        {100, 4, 25, 80, kRight, 6},   {100, 4, 25, 99, kRight, 99}, {100, 4, 25, 24, kLeft, 24},
        {100, 4, 25, 25, kLeft, 0},    {100, 4, 25, 25, kUp, 24},    {100, 4, 25, 99, kDown, 99},
        {100, 4, 25, 24, kDown, 25},   {100, 4, 25, 0, kUp, 0},      {100, 4, 25, 74, kRight, 99},
        {100, 4, 25, 75, kRight, 1},   {60, 4, 25, 40, kRight, 40},  {60, 4, 25, 30, kRight, 55},
        {90, 4, 25, 64, kRight, 89},   {90, 4, 25, 65, kRight, 65},  {40, 2, 20, 19, kRight, 39},
        {40, 2, 20, 39, kRight, 39},   {40, 2, 20, 38, kRight, 19},  {40, 2, 20, 21, kLeft, 1},
        {30, 1, 25, 3, kRight, 4},     {30, 1, 25, 24, kRight, 25},  {30, 1, 25, 29, kDown, 29},
    };
    for (const Case& c : cases) {
        Sheet s;
        s.m.MaxCols(c.maxCols);
        s.m.MaxItemPerCol(c.perCol);
        s.m.MaxItems(c.items);
        s.m.RowSel(c.from);
        const float markerTop = s.marker().Top();
        s.key(c.key);
        SCOPED_TRACE("from " + std::to_string(c.from) + " key " + std::to_string(c.key));
        EXPECT_EQ(s.m.RowSel(), c.to);
        if (c.to != c.from) {
            EXPECT_EQ(s.marker().Top(), s.choice(1, c.to).Top() + 60);
            EXPECT_EQ(s.marker().Left(), s.choice(1, c.to).Left() - 140);
        } else {
            EXPECT_EQ(s.marker().Top(), markerTop);
        }
    }
}

TEST(MatrixSelection, ResultListsMarkedChoicesPerQuestion) {
    Sheet s(10);
    s.click(4, 4);
    s.click(1, 6);
    s.click(2, 6);
    s.click(1, 0);
    s.click(3, 0);
    s.m.RowSel(9);
    for (std::int16_t k : {49, 50, 51, 52}) s.key(k);
    const StringArray r = s.m.result();
    EXPECT_EQ(r.lbound, 1);
    EXPECT_EQ(r.ubound(), 10);
    const std::vector<std::string> expected = {"1,3", "", "", "", "4", "", "1,2", "", "", "1,2,3,4"};
    EXPECT_EQ(r.items, expected);
}

TEST(MatrixSelection, MarksSurviveLayoutChangesAndHiddenOnesAreNotReported) {
    Sheet s;
    s.click(2, 59);
    s.m.MaxItems(40);
    EXPECT_FALSE(s.choice(2, 59).Visible());
    EXPECT_EQ(s.m.result().items.size(), 40u);
    s.m.DistanceItems(100);
    s.m.MaxItems(60);
    EXPECT_EQ(s.m.result().at(60), "2");
}

TEST(MatrixSelection, ResetClearsEveryQuestionAndLeavesTheMarker) {
    Sheet s(20);
    s.click(1, 3);
    s.m.RowSel(140);  // a hidden question still takes choice keys
    s.key(68);
    s.m.RowSel(151);
    s.key(65);
    const float top = s.marker().Top();
    s.m.reset();
    for (int i = 0; i < 152; ++i)
        for (int k = 1; k <= 4; ++k) ASSERT_FALSE(s.marked(k, i)) << k << " " << i;
    EXPECT_EQ(s.marker().Top(), top);
    EXPECT_EQ(s.m.RowSel(), 151);
}

TEST(MatrixSelection, AMarkRepaintsOneBubbleAndNothingElse) {
    Sheet s;
    s.host.takeDamage();
    s.click(3, 0);  // the current row: the marker stays
    const std::vector<RectF> expected = {{1645, 50, 240, 240}};
    EXPECT_EQ(s.host.takeDamage(), expected);
    s.key(67);
    EXPECT_EQ(s.host.takeDamage(), expected);
}

}  // namespace
}  // namespace talvik
