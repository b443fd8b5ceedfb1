// The answer sheet: its layout worked out by hand from the layout rules, the clamping of
// its four numeric properties, persistence, and marking with the mouse and the keyboard,
// the marker, reset and the result.
#include <tuple>

#include "Support.h"
#include "answer/Matrix.h"

namespace talvik {
using namespace controls;
namespace {

constexpr std::int16_t kSpace = 32, kLeft = 37, kUp = 38, kRight = 39, kDown = 40;

struct Sheet : testing::Hosted<Matrix> {
    Matrix& m = ctl;
    explicit Sheet(std::int16_t items = 100) {
        if (items != 100) m.MaxItems(items);
    }
    Image choice(int k, int i) { return images("Image" + std::to_string(k))(i); }
    Label number(int i) { return labels("Label1")(i); }
    Line rule(int i) { return lines("Line1")(i); }
    const Picture& mark(int k, int state) { return pictureBoxes("Picture" + std::to_string(k))(state).picture(); }
    bool marked(int k, int i) { return choice(k, i).picture() == mark(k, 1); }
    void click(int k, int i) { deliver({EventKind::Click, choice(k, i)}); }
    void key(std::int16_t code, std::int16_t shift = 0) { deliver({.kind = EventKind::KeyDown, .shift = shift, .key = code}); }
    Image marker() { return image("imgArrow"); }
};

// Top of choice A of element i in column 1 with the spacing after Initialize.
float rowTop(int i) { return 50.0f + 390.0f * i + 20.0f * (i / 5); }

TEST(MatrixLayout, WorkedExample) {
    Sheet s;
    struct Col { int first; float label, a, b, c, d; };
    const Col cols[] = {{0, 50, 465, 1055, 1645, 2235},
                        {25, 2875, 3290, 3880, 4470, 5060},
                        {50, 5700, 6115, 6705, 7295, 7885},
                        {75, 8525, 8940, 9530, 10120, 10710}};
    for (const Col& c : cols) {
        for (int row = 0; row < 25; ++row) {
            const int i = c.first + row;
            SCOPED_TRACE("element " + std::to_string(i));
            EXPECT_EQ(s.number(i).Left(), c.label);
            EXPECT_EQ(s.choice(1, i).Left(), c.a);
            EXPECT_EQ(s.choice(2, i).Left(), c.b);
            EXPECT_EQ(s.choice(3, i).Left(), c.c);
            EXPECT_EQ(s.choice(4, i).Left(), c.d);
            // Group gaps come from the element's index, so every column repeats the
            // first column's rows only because 25 is a multiple of 5.
            EXPECT_EQ(s.choice(1, i).Top(), rowTop(row));
            EXPECT_EQ(s.choice(4, i).Top(), rowTop(row));
            EXPECT_EQ(s.number(i).Top(), rowTop(row) + 22.5f);
            EXPECT_TRUE(s.choice(3, i).Visible());
            EXPECT_EQ(s.number(i).Caption(), std::to_string(i + 1));
        }
    }
    EXPECT_EQ(s.choice(1, 4).Top(), 1610);
    EXPECT_EQ(s.choice(1, 5).Top(), 2020);
    EXPECT_EQ(s.choice(1, 24).Top(), 9490);
    EXPECT_EQ(s.surface().Width(), 11070);
    EXPECT_EQ(s.surface().Height(), 9780);
    for (int i = 100; i < 152; ++i) {
        EXPECT_FALSE(s.number(i).Visible()) << i;
        EXPECT_FALSE(s.choice(1, i).Visible()) << i;
    }
    const float x[8] = {0, 2575, 2825, 5400, 5650, 8225, 8475, 11050};
    for (int a = 0; a < 8; ++a) {
        SCOPED_TRACE("line " + std::to_string(a));
        EXPECT_EQ(s.rule(a).X1(), x[a]);
        EXPECT_EQ(s.rule(a).X2(), x[a]);
        EXPECT_EQ(s.rule(a).Y1(), 22.5f);
        EXPECT_EQ(s.rule(a).Y2(), 9757.5f);
        EXPECT_TRUE(s.rule(a).Visible());
        EXPECT_EQ(s.rule(a).BorderColor(), rgb(255, 128, 128));
    }
}

TEST(MatrixLayout, LetsClampTheirValues) {
    using Get = std::int16_t (Matrix::*)() const;
    using Let = void (Matrix::*)(std::int16_t);
    const auto items = std::pair<Get, Let>{&Matrix::MaxItems, &Matrix::MaxItems};
    const auto cols = std::pair<Get, Let>{&Matrix::MaxCols, &Matrix::MaxCols};
    const auto perCol = std::pair<Get, Let>{&Matrix::MaxItemPerCol, &Matrix::MaxItemPerCol};
    const auto distance = std::pair<Get, Let>{&Matrix::DistanceItems, &Matrix::DistanceItems};
    const std::tuple<const char*, std::pair<Get, Let>, std::int16_t, std::int16_t> cases[] = {
        {"MaxItems", items, 0, 25},           {"MaxItems", items, 151, 150},       {"MaxItems", items, 32767, 150},
        {"MaxItems", items, -5, 25},          {"MaxItems", items, 1, 1},           {"MaxItems", items, 150, 150},
        {"MaxCols", cols, 0, 1},              {"MaxCols", cols, 9, 4},             {"MaxCols", cols, -32768, 1},
        {"MaxCols", cols, 2, 2},              {"MaxItemPerCol", perCol, 1, 25},    {"MaxItemPerCol", perCol, 2, 2},
        {"MaxItemPerCol", perCol, 0, 25},     {"MaxItemPerCol", perCol, -3, 25},   {"DistanceItems", distance, 0, 210},
        {"DistanceItems", distance, -1, 210}, {"DistanceItems", distance, 1, 1},
    };
    for (const auto& [name, member, value, expected] : cases) {
        SCOPED_TRACE(std::string(name) + " = " + std::to_string(value));
        Sheet s;
        (s.m.*member.second)(value);
        EXPECT_EQ((s.m.*member.first)(), expected);
    }
}

TEST(MatrixLayout, OtherGrids) {
    Sheet s;
    // With 23 rows the gaps of column 2 fall before elements 25, 30, 35, 40 and 45.
    s.m.MaxCols(2);
    s.m.MaxItems(46);
    s.m.MaxItemPerCol(23);
    EXPECT_EQ(s.choice(1, 23).Top(), 50);
    for (int i = 24; i < 46; ++i)
        EXPECT_EQ(s.choice(1, i).Top() - s.choice(1, i - 1).Top(), i % 5 == 0 ? 410 : 390) << "element " << i;

    // Fewer questions than four columns hold: lines are still set for all four columns,
    // outside the control's width.
    Sheet few(40);
    for (int i = 40; i < 100; ++i) EXPECT_FALSE(few.number(i).Visible()) << i;
    EXPECT_TRUE(few.choice(4, 39).Visible());
    EXPECT_EQ(few.surface().Width(), 5060 + 240 + 120);
    EXPECT_TRUE(few.rule(7).Visible());
    EXPECT_EQ(few.rule(4).X1(), 5650);

    // Setting a value again leaves the grid as it was.
    const auto snapshot = [&] {
        std::vector<float> v;
        for (int i = 0; i < 152; ++i)
            v.insert(v.end(), {s.number(i).Left(), s.number(i).Top(), float(s.number(i).Visible()),
                               s.choice(4, i).Left(), s.choice(4, i).Top(), float(s.choice(4, i).Visible())});
        return v;
    };
    const auto before = snapshot();
    s.m.MaxCols(2);
    s.m.MaxItemPerCol(23);
    s.m.DistanceItems(150);
    EXPECT_EQ(snapshot(), before);
}

TEST(MatrixLayout, QuestionsPastTheLastColumnAreHiddenAndKeepTheirMarks) {
    Sheet s;
    s.click(2, 27);
    s.m.MaxCols(1);
    s.m.MaxItems(30);
    // Element 25 is placed as a 26th row below the bottom edge, but no question past
    // the column is shown.
    EXPECT_EQ(s.choice(1, 25).Top(), rowTop(25));
    for (int i = 25; i < 30; ++i) {
        EXPECT_FALSE(s.number(i).Visible()) << i;
        EXPECT_FALSE(s.choice(1, i).Visible()) << i;
        // Numbered all the same, so a wider grid shows the right number at once.
        EXPECT_EQ(s.number(i).Caption(), std::to_string(i + 1)) << i;
    }
    EXPECT_EQ(s.surface().Height(), 9780);
    EXPECT_EQ(s.surface().Width(), 2235 + 240 + 120);
    for (int a = 2; a < 8; ++a) EXPECT_FALSE(s.rule(a).Visible()) << a;
    s.m.MaxCols(2);
    EXPECT_TRUE(s.choice(2, 27).Visible());
    EXPECT_EQ(s.m.result().at(28), "2");
}

// The keys, values and defaults a save writes are in the container's write script.
TEST(MatrixLayout, RestoredValuesArrangeTheGrid) {
    Sheet s;
    s.ReadProperties(PropertyBag{
        {"MaxItemPerCol", std::int16_t{38}}, {"DistanceItems", std::int16_t{120}}, {"MaxItems", std::int16_t{150}}});
    EXPECT_EQ(s.m.MaxItemPerCol(), 38);
    EXPECT_EQ(s.choice(1, 149).Top(), 50 + (240 + 120) * 35 + 20 * 7);  // row 36 of column 4

    Sheet empty;
    empty.ReadProperties(PropertyBag{});
    EXPECT_EQ(empty.m.DistanceItems(), 150);
    EXPECT_EQ(empty.m.MaxItems(), 100);
}

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
    s.deliver({EventKind::Click, s.number(9)});
    s.deliver({EventKind::Click, s.marker()});
    EXPECT_EQ(s.m.RowSel(), 30);
    // A mark on the current row repaints one bubble and nothing else, by click or key.
    Sheet t;
    t.takeDamage();
    t.click(3, 0);
    const std::vector<RectF> bubble = {{1645, 50, 240, 240}};
    EXPECT_EQ(t.takeDamage(), bubble);
    t.key(67);
    EXPECT_EQ(t.takeDamage(), bubble);
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
    // Space also clears marks made by clicks.
    Sheet clicked;
    clicked.click(1, 0);
    clicked.click(3, 0);
    clicked.key(kSpace);
    EXPECT_EQ(clicked.m.result().at(1), "");
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
    const std::vector<std::string> expected = {"1,3", "", "", "", "4", "", "1,2", "", "", "1,2,3,4"};
    EXPECT_EQ(r.items, expected);

    // Marks survive layout changes; hidden ones are not reported.
    Sheet t;
    t.click(2, 59);
    t.m.MaxItems(40);
    EXPECT_FALSE(t.choice(2, 59).Visible());
    EXPECT_EQ(t.m.result().items.size(), 40u);
    t.m.DistanceItems(100);
    t.m.MaxItems(60);
    EXPECT_EQ(t.m.result().at(60), "2");
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

}  // namespace
}  // namespace talvik
