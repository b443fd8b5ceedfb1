// The answer sheet's layout: positions worked out by hand from the layout rules, the
// clamping of its four numeric properties, the errors past the template, persistence.
#include <gtest/gtest.h>

#include <tuple>

#include "answer/Matrix.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik {
using namespace controls;
namespace {

struct Sheet {
    HeadlessHost host{Matrix::Class};
    Matrix& m;
    Sheet() : m(static_cast<Matrix&>(*host.control())) { host.Initialize(); }
    Image choice(int k, int i) { return host.images("Image" + std::to_string(k))(i); }
    Label label(int i) { return host.labels("Label1")(i); }
    Line line(int i) { return host.lines("Line1")(i); }
};

// Top of choice A of element i in column 1 with the spacing after Initialize.
float rowTop(int i) { return 50.0f + 390.0f * i + 20.0f * (i / 5); }

TEST(MatrixLayout, WorkedExampleColumnsAndRows) {
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
            EXPECT_EQ(s.label(i).Left(), c.label);
            EXPECT_EQ(s.choice(1, i).Left(), c.a);
            EXPECT_EQ(s.choice(2, i).Left(), c.b);
            EXPECT_EQ(s.choice(3, i).Left(), c.c);
            EXPECT_EQ(s.choice(4, i).Left(), c.d);
            // Group gaps come from the element's index, so every column repeats the
            // first column's rows only because 25 is a multiple of 5.
            EXPECT_EQ(s.choice(1, i).Top(), rowTop(row));
            EXPECT_EQ(s.choice(4, i).Top(), rowTop(row));
            EXPECT_EQ(s.label(i).Top(), rowTop(row) + 22.5f);
            EXPECT_TRUE(s.choice(3, i).Visible());
            EXPECT_EQ(s.label(i).Caption(), std::to_string(i + 1));
        }
    }
    EXPECT_EQ(s.choice(1, 4).Top(), 1610);
    EXPECT_EQ(s.choice(1, 5).Top(), 2020);
    EXPECT_EQ(s.choice(1, 24).Top(), 9490);
    EXPECT_EQ(s.host.surface().Width(), 11070);
    EXPECT_EQ(s.host.surface().Height(), 9780);
    for (int i = 100; i < 152; ++i) {
        EXPECT_FALSE(s.label(i).Visible()) << i;
        EXPECT_FALSE(s.choice(1, i).Visible()) << i;
    }
}

TEST(MatrixLayout, WorkedExampleBorderLines) {
    Sheet s;
    const float x[8] = {0, 2575, 2825, 5400, 5650, 8225, 8475, 11050};
    for (int a = 0; a < 8; ++a) {
        SCOPED_TRACE("line " + std::to_string(a));
        EXPECT_EQ(s.line(a).X1(), x[a]);
        EXPECT_EQ(s.line(a).X2(), x[a]);
        EXPECT_EQ(s.line(a).Y1(), 22.5f);
        EXPECT_EQ(s.line(a).Y2(), 9757.5f);
        EXPECT_TRUE(s.line(a).Visible());
        EXPECT_EQ(s.line(a).BorderColor(), rgb(255, 128, 128));
        EXPECT_EQ(s.line(a).BorderWidth(), 1);
    }
}

TEST(MatrixLayout, LabelsAreStyledAndMarkerStartsBesideQuestionOne) {
    Sheet s;
    EXPECT_EQ(s.label(0).Height(), 195);
    EXPECT_EQ(s.label(0).font().size, 6.0f);
    EXPECT_EQ(s.label(0).alignment(), Alignment::Center);
    EXPECT_EQ(s.host.image("imgArrow").Left(), 325);
    EXPECT_EQ(s.host.image("imgArrow").Top(), 110);
    EXPECT_EQ(s.choice(1, 0).Width(), 240);
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

TEST(MatrixLayout, SecondColumnStartsAtTheTopAndKeepsIndexGroupGaps) {
    Sheet s;
    EXPECT_EQ(s.choice(1, 25).Top(), 50);
    EXPECT_EQ(s.choice(1, 30).Top() - s.choice(1, 29).Top(), 390 + 20);

    // With 23 rows the gaps of column 2 fall before elements 25, 30, 35, 40 and 45.
    s.m.MaxCols(2);
    s.m.MaxItems(46);
    s.m.MaxItemPerCol(23);
    EXPECT_EQ(s.choice(1, 23).Top(), 50);
    for (int i = 24; i < 46; ++i) {
        const float gap = s.choice(1, i).Top() - s.choice(1, i - 1).Top();
        EXPECT_EQ(gap, i % 5 == 0 ? 410 : 390) << "element " << i;
    }
}

TEST(MatrixLayout, FewerQuestionsThanColumnsHold) {
    Sheet s;
    s.m.MaxItems(40);
    for (int i = 40; i < 100; ++i) EXPECT_FALSE(s.label(i).Visible()) << i;
    EXPECT_TRUE(s.choice(4, 39).Visible());
    EXPECT_EQ(s.host.surface().Width(), 5060 + 240 + 120);
    // Lines are still set for all four columns, outside the control's width.
    EXPECT_TRUE(s.line(7).Visible());
    EXPECT_EQ(s.line(4).X1(), 5650);
}

TEST(MatrixLayout, QuestionsPastTheLastColumnAreHiddenAndKeepTheirMarks) {
    Sheet s;
    s.host.deliver({EventKind::Click, s.choice(2, 27)});
    s.m.MaxCols(1);
    s.m.MaxItems(30);
    // Element 25 is placed as a 26th row below the bottom edge, but no question past
    // the column is shown.
    EXPECT_EQ(s.choice(1, 25).Top(), rowTop(25));
    for (int i = 25; i < 30; ++i) {
        EXPECT_FALSE(s.label(i).Visible()) << i;
        EXPECT_FALSE(s.choice(1, i).Visible()) << i;
        // Numbered all the same, so a wider grid shows the right number at once.
        EXPECT_EQ(s.label(i).Caption(), std::to_string(i + 1)) << i;
    }
    EXPECT_EQ(s.host.surface().Height(), 9780);
    EXPECT_EQ(s.host.surface().Width(), 2235 + 240 + 120);
    for (int a = 2; a < 8; ++a) EXPECT_FALSE(s.line(a).Visible()) << a;
    s.m.MaxCols(2);
    EXPECT_TRUE(s.choice(2, 27).Visible());
    EXPECT_EQ(s.m.result().at(28), "2");
}

TEST(MatrixLayout, SettingAValueAgainLeavesTheGridAsItWas) {
    Sheet s;
    const auto snapshot = [&] {
        std::vector<float> v;
        for (int i = 0; i < 152; ++i)
            v.insert(v.end(), {s.label(i).Left(), s.label(i).Top(), float(s.label(i).Visible()),
                               s.choice(4, i).Left(), s.choice(4, i).Top(), float(s.choice(4, i).Visible())});
        return v;
    };
    const auto before = snapshot();
    s.m.MaxCols(4);
    s.m.DistanceItems(150);
    EXPECT_EQ(snapshot(), before);
}

TEST(MatrixLayout, PropertiesRoundTripThroughTheStore) {
    Sheet a;
    a.m.MaxItemPerCol(38);
    a.m.DistanceItems(120);
    a.m.MaxCols(4);
    a.m.MaxItems(150);
    PropertyBag bag;
    a.host.WriteProperties(bag);
    ASSERT_EQ(bag.writes().size(), 4u);
    EXPECT_EQ(bag.writes()[0].key, "MaxItemPerCol");
    EXPECT_EQ(bag.writes()[0].defaultValue, Variant(std::int16_t{25}));
    EXPECT_EQ(bag.writes()[1].key, "DistanceItems");
    EXPECT_EQ(bag.writes()[2].key, "MaxCols");
    EXPECT_EQ(bag.writes()[3].key, "MaxItems");

    Sheet b;
    b.host.ReadProperties(bag);
    EXPECT_EQ(b.m.MaxItemPerCol(), 38);
    EXPECT_EQ(b.m.DistanceItems(), 120);
    EXPECT_EQ(b.m.MaxCols(), 4);
    EXPECT_EQ(b.m.MaxItems(), 150);
    EXPECT_EQ(b.choice(1, 149).Top(), 50 + (240 + 120) * 35 + 20 * 7);  // row 36 of column 4
}

TEST(MatrixLayout, AnEmptyStoreGivesTheDefaults) {
    Sheet empty;
    empty.host.ReadProperties(PropertyBag{});
    EXPECT_EQ(empty.m.DistanceItems(), 150);
    EXPECT_EQ(empty.m.MaxItems(), 100);
}

}  // namespace
}  // namespace talvik
