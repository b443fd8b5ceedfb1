// The option strip: how VelValue reads and writes the marks, clicks in each mode and
// style, what unmarks the boxes, the count of boxes, persistence and the fixed size.
// A box's state is named by the picture box whose picture it shows: "21" is
// Picture2(1), a marked option button; "--" is no picture.
#include <algorithm>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "Support.h"
#include "answer/VelOptionToolBar.h"

namespace talvik {
using namespace controls;
namespace {

using V = VelOptionToolBar;

struct Strip : testing::Hosted<V> {
    V& v = ctl;
    Strip() = default;
    Strip(std::int32_t style, std::int32_t optionBox, std::int32_t optionChar, std::int16_t count) : Strip() {
        v.VelOptionBox(optionBox);
        v.VelStyle(style);
        v.VelOptionChar(optionChar);
        v.VelCountItems(count);
    }
    Image box(int i) { return images("Image2")(i); }
    Label label(int i) { return labels("Label1")(i); }
    void click(int i) { deliver({EventKind::Click, box(i)}); }

    std::string code(const Picture& p) {
        if (p.empty()) return "--";
        for (const char* array : {"Picture1", "Picture2", "Picture3", "Picture4"})
            for (int i = 0; i < pictureBoxes(array).Count(); ++i)
                if (pictureBoxes(array)(i).picture() == p) return std::string(1, array[7]) + std::to_string(i);
        return "??";
    }
    // One text for each of the nine boxes, joined.
    template <class F>
    std::string each(F text, const char* between = "") {
        std::string out;
        for (int i = 0; i < 9; ++i) out += (i ? between : "") + text(i);
        return out;
    }
    std::string shown() { return each([&](int i) { return code(box(i).picture()); }, " "); }
    std::string visible() {
        return each([&](int i) { return std::string(box(i).Visible() && label(i).Visible() ? "v" : "-"); });
    }
    std::string captions() { return each([&](int i) { return label(i).Caption(); }); }
    int messageBoxes() const {
        return int(std::count_if(calls().begin(), calls().end(),
                                 [](const ServiceCall& c) { return c.kind == ServiceCall::Kind::MsgBox; }));
    }
    void expectFixedSize() { EXPECT_EQ(surface().bounds(), (RectF{0, 0, 6150, 1020})); }
};

std::string all(const char* code) {
    std::string out = code;
    for (int i = 1; i < 9; ++i) out += std::string(" ") + code;
    return out;
}

TEST(VelOptionToolBar, InitializeShowsFourOptionButtonsOnTheXPBackground) {
    Strip s;
    s.expectFixedSize();
    const Image back = s.image("Image1");
    EXPECT_EQ(back.bounds(), (RectF{-5, -30, 6150, 1080}));
    EXPECT_TRUE(back.Visible());
    EXPECT_EQ(s.code(back.picture()), "30");
    EXPECT_EQ(s.shown(), all("20"));
    EXPECT_EQ(s.visible(), "vvvv-----");
    EXPECT_EQ(s.captions(), "ABCDEFGHI");
    EXPECT_EQ(s.box(0).Width(), 480);  // a 32-pixel icon, unstretched
    EXPECT_EQ(s.v.VelValue(), "");
}

TEST(VelOptionToolBar, ValueParsingAndFormatting) {
    struct Case {
        std::int32_t style, optionBox, optionChar;
        std::int16_t count;
        std::function<void(Strip&)> before;  // marks set up first, or null
        const char *text, *value;
        std::string pictures;
        bool message;
    };
    const auto value = [](const char* t) { return [t](Strip& s) { s.v.VelValue(t); }; };
    const Case cases[] = {
        // Check boxes: every digit or letter marks its box, in ascending order.
        {1, 1, 1, 9, {}, "31", "13", "11 10 11 10 10 10 10 10 10", false},
        {1, 1, 2, 9, {}, "31", "ac", "11 10 11 10 10 10 10 10 10", false},
        {1, 1, 3, 9, {}, "31", "AC", "11 10 11 10 10 10 10 10 10", false},
        {1, 1, 1, 9, {}, "C a", "13", "11 10 11 10 10 10 10 10 10", false},
        {1, 1, 3, 9, {}, "i9I", "I", "10 10 10 10 10 10 10 10 11", false},
        {1, 1, 1, 9, value("2"), "jz0", "", all("10"), false},
        // A number keeps its letters: "1e2" marks 1 and 2, "1f2" is no number.
        {1, 1, 1, 9, {}, "1e2", "12", "11 11 10 10 10 10 10 10 10", false},
        {1, 1, 1, 9, {}, "1f2", "126", "11 11 10 10 10 11 10 10 10", false},
        // Blank texts unmark every box.
        {1, 1, 1, 9, value("123"), "   ", "", all("10"), false},
        {1, 2, 1, 9, value("4"), " ", "", all("20"), false},
        // Hidden boxes keep their pictures and stay out of the value.
        {1, 1, 1, 9, [](Strip& s) { s.v.VelValue("5"); s.v.VelCountItems(3); }, "15", "1",
         "11 10 10 10 11 10 10 10 10", false},
        // Option buttons: one character marks one box.
        {1, 2, 2, 4, {}, "b", "b", "20 21 20 20 20 20 20 20 20", false},
        {1, 2, 3, 4, {}, "B", "B", "20 21 20 20 20 20 20 20 20", false},
        {1, 2, 1, 4, value("1"), "4", "4", "20 20 20 21 20 20 20 20 20", false},
        {1, 2, 1, 4, value("1"), "x", "", all("20"), false},
        // Two or more characters for option buttons: a message, nothing changes.
        {1, 2, 1, 4, value("3"), "12", "", "20 20 21 20 20 20 20 20 20", true},
        {1, 2, 1, 4, {}, " 1", "", all("20"), true},
        // An option box outside the enumeration behaves as option buttons.
        {1, 7, 1, 4, {}, "2", "2", "20 21 20 20 20 20 20 20 20", false},
        {1, 7, 1, 4, {}, "23", "", all("20"), true},
        // Styles with their own pictures, for both kinds of box.
        {3, 1, 1, 4, {}, "24", "24", "40 41 40 41 40 40 40 40 40", false},
        {4, 2, 1, 4, {}, "c", "3", "43 43 42 43 43 43 43 43 43", false},
        {2, 1, 1, 4, {}, "1", "1", "11 10 10 10 10 10 10 10 10", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("style ") + std::to_string(c.style) + ", box " + std::to_string(c.optionBox) +
                     ", char " + std::to_string(c.optionChar) + ", text \"" + c.text + "\"");
        Strip s(c.style, c.optionBox, c.optionChar, c.count);
        if (c.before) c.before(s);
        s.clearCalls();
        s.v.VelValue(c.text);
        EXPECT_EQ(s.v.VelValue(), c.value);
        EXPECT_EQ(s.shown(), c.pictures);
        ASSERT_EQ(s.messageBoxes(), c.message ? 1 : 0);
        if (c.message) {
            const ServiceCall& m = s.calls().back();
            EXPECT_EQ(m.text, "Wrong value with VelOptionToolbar");
            EXPECT_EQ(m.flags, 16);
            EXPECT_EQ(m.title, std::optional<std::string>("Veltrane"));
        }
    }
}

TEST(VelOptionToolBar, Clicks) {
    struct Case { std::int32_t style, optionBox; std::function<void(Strip&)> act; const char* value; std::string pictures; };
    const auto clicks = [](std::vector<int> boxes) {
        return [boxes](Strip& s) { for (int k : boxes) s.click(k); };
    };
    const Case cases[] = {
        {1, 1, clicks({3, 0}), "14", "11 10 10 11 10 10 10 10 10"},
        {1, 1, clicks({2, 2}), "", all("10")},
        {2, 1, clicks({8}), "9", "10 10 10 10 10 10 10 10 11"},
        {3, 1, clicks({1, 5}), "26", "40 41 40 40 40 41 40 40 40"},
        {4, 1, clicks({1}), "2", "43 42 43 43 43 43 43 43 43"},
        {4, 1, clicks({1, 1}), "", all("43")},
        {1, 2, clicks({2, 2}), "", all("20")},
        {1, 2, clicks({5, 2}), "3", "20 20 21 20 20 20 20 20 20"},
        {2, 2, clicks({0, 8}), "9", "20 20 20 20 20 20 20 20 21"},
        {3, 2, clicks({4, 4}), "", all("40")},
        {4, 2, clicks({3, 6}), "7", "43 43 43 43 43 43 42 43 43"},
        {4, 2, clicks({3, 3}), "", all("43")},
        // An option box outside the enumeration changes no picture, but the value is
        // read back from the pictures: box 2 still shows a marked option button...
        {1, 5, [](Strip& s) { s.v.VelValue("3"); s.click(0); }, "3", "20 20 21 20 20 20 20 20 20"},
        // ...while a marked check box does not count for it.
        {1, 1, [](Strip& s) { s.click(0); s.v.VelOptionBox(5); s.click(1); }, "", "11 10 10 10 10 10 10 10 10"},
        // Only visible and enabled boxes take clicks, and only single ones; VelValue still
        // marks a disabled strip.
        {1, 2, [](Strip& s) { s.v.VelValue("2"); s.deliver({EventKind::Click, s.label(0)}); }, "2",
         "20 21 20 20 20 20 20 20 20"},
        {1, 2, [](Strip& s) { s.v.VelCountItems(4); s.click(6); }, "", all("20")},
        {1, 2, [](Strip& s) { s.deliver({EventKind::DblClick, s.box(0)}); }, "", all("20")},
        {1, 2, [](Strip& s) { s.v.Enabled(false); s.v.VelValue("a"); s.click(0); }, "1", "21 20 20 20 20 20 20 20 20"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE("case " + std::to_string(i) + ": style " + std::to_string(c.style) + ", box " +
                     std::to_string(c.optionBox));
        Strip s(c.style, c.optionBox, V::VelNumber, 9);
        c.act(s);
        EXPECT_EQ(s.v.VelValue(), c.value);
        EXPECT_EQ(s.shown(), c.pictures);
    }
}

TEST(VelOptionToolBar, StyleAndOptionBoxChangesUnmarkTheBoxes) {
    struct Case { const char* what; std::function<void(V&)> change; const char* value; std::string pictures, background; };
    // Every case starts from check boxes 1 and 3 marked by clicks in the XP style. The
    // background is what Image1 shows, "" while it is hidden.
    const std::string marked = "11 10 11 10 10 10 10 10 10";
    const Case cases[] = {
        {"style Window2k3", [](V& v) { v.VelStyle(V::Window2k3); }, "13", all("10"), "--"},
        {"style Veltrane", [](V& v) { v.VelStyle(V::Veltrane); }, "13", all("40"), ""},
        {"style FireFox2007", [](V& v) { v.VelStyle(V::FireFox2007); }, "13", all("43"), "--"},
        {"same style again", [](V& v) { v.VelStyle(V::WindowXP); }, "13", all("10"), "30"},
        {"unknown style", [](V& v) { v.VelStyle(0); }, "13", all("10"), "30"},
        {"Veltrane, then unknown", [](V& v) { v.VelStyle(V::Veltrane); v.VelStyle(7); }, "13", all("10"), ""},
        {"Veltrane, then WindowXP", [](V& v) { v.VelStyle(V::Veltrane); v.VelStyle(1); }, "13", all("10"), "30"},
        {"check boxes again", [](V& v) { v.VelOptionBox(V::VelCheck); }, "", all("10"), "30"},
        {"option buttons", [](V& v) { v.VelOptionBox(V::VelOption); }, "", all("20"), "30"},
        {"unknown option box", [](V& v) { v.VelOptionBox(3); }, "", marked, "30"},
        {"reset", [](V& v) { v.VelReset(); }, "", all("10"), "30"},
        {"reset, unknown option box", [](V& v) { v.VelOptionBox(0); v.VelReset(); }, "", marked, "30"},
        {"fewer boxes", [](V& v) { v.VelCountItems(2); }, "13", marked, "30"},
        {"labels", [](V& v) { v.VelOptionChar(V::VelLChar); }, "13", marked, "30"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Strip s(V::WindowXP, V::VelCheck, V::VelNumber, 4);
        s.click(0);
        s.click(2);
        c.change(s.v);
        s.v.VelOptionChar(V::VelNumber);
        EXPECT_EQ(s.v.VelValue(), c.value);
        EXPECT_EQ(s.shown(), c.pictures);
        const Image back = s.image("Image1");
        EXPECT_EQ(back.Visible() ? s.code(back.picture()) : "", c.background);
        EXPECT_EQ(back.Width(), 6150);  // stretched, whatever it shows
    }
}

TEST(VelOptionToolBar, LabelsFollowTheOptionChar) {
    const std::pair<std::int32_t, const char*> cases[] = {
        {1, "123456789"}, {2, "abcdefghi"}, {3, "ABCDEFGHI"}, {0, "abcdefghi"}};
    for (const auto& [optionChar, captions] : cases) {
        Strip s;
        s.v.VelOptionChar(optionChar);
        EXPECT_EQ(s.captions(), captions) << optionChar;
    }
}

TEST(VelOptionToolBar, CountsOutsideOneToNineAreIgnored) {
    const struct { std::int16_t n, count; const char* visible; } cases[] = {
        {0, 4, "vvvv-----"}, {10, 4, "vvvv-----"}, {1, 1, "v--------"}, {9, 9, "vvvvvvvvv"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.n);
        Strip s;
        s.v.VelValue("c");
        s.v.VelCountItems(c.n);
        EXPECT_EQ(s.v.VelCountItems(), c.count);
        EXPECT_EQ(s.visible(), c.visible);
        // The marks stay, even on a box that is now hidden.
        EXPECT_EQ(s.v.VelValue(), "C");
        EXPECT_EQ(s.code(s.box(2).picture()), "21");
        s.expectFixedSize();
    }
}

TEST(VelOptionToolBar, SizeIsFixedWhateverTheContainerAsks) {
    const std::pair<float, float> sizes[] = {{100, 100}, {20000, 9000}, {6150, 500}};
    for (const auto& [w, h] : sizes) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        Strip s(V::Veltrane, V::VelOption, V::VelUChar, 9);  // larger boxes do not change it
        s.resizeTo(w, h);
        s.expectFixedSize();
    }
}

TEST(VelOptionToolBar, EnabledReachesEveryChildElement) {
    for (const bool enabled : {false, true}) {
        Strip s;
        s.v.Enabled(!enabled);
        s.v.Enabled(enabled);
        for (const Element e : s.elements()) {
            const bool hasEnabled = e.is<Image>() || e.is<Label>() || e.is<PictureBox>() || e.is<Timer>();
            EXPECT_EQ(hasEnabled ? e.isEnabled() : enabled, enabled) << e.displayName();
        }
    }
}

TEST(VelOptionToolBar, PropertiesRoundTripThroughTheStore) {
    Strip a(V::Veltrane, V::VelCheck, V::VelNumber, 5);
    a.v.Enabled(false);
    a.v.VelValue("2");
    PropertyBag bag;
    a.WriteProperties(bag);
    testing::expectWrites(bag, {
                                   {"VelOptionBox", std::int32_t{1}, std::int32_t{2}},
                                   {"VelOptionChar", std::int32_t{1}, std::int32_t{3}},
                                   {"VelCountItems", std::int16_t{5}, std::int16_t{4}},
                                   {"VelStyle", std::int32_t{3}, std::int32_t{1}},
                                   {"Enabled", false, true},
                               });

    Strip b;
    b.ReadProperties(bag);
    EXPECT_FALSE(b.v.Enabled());
    EXPECT_FALSE(b.box(0).Enabled());
    EXPECT_FALSE(b.image("Image1").Visible());
    EXPECT_EQ(b.visible(), "vvvvv----");
    EXPECT_EQ(b.captions(), "123456789");
    // The value is not kept: every box comes back unmarked.
    EXPECT_EQ(b.v.VelValue(), "");
    EXPECT_EQ(b.shown(), all("40"));
}

TEST(VelOptionToolBar, ReadingRestoresWhatItCanAndSkipsTheRest) {
    struct Case {
        const char* what;
        PropertyBag bag;
        std::int32_t style, optionBox, optionChar;
        std::int16_t count;
        bool enabled;
    };
    const Case cases[] = {
        {"empty store", {}, 1, 2, 3, 4, true},
        {"Veltrane with five boxes", {{"VelStyle", std::int32_t{3}}, {"VelCountItems", std::int16_t{5}}}, 3, 2, 3, 5, true},
        {"count too large for 16 bits", {{"VelCountItems", std::int32_t{40000}}, {"VelStyle", std::int32_t{4}}}, 4, 2, 3, 4, true},
        {"count out of range", {{"VelCountItems", std::int16_t{12}}, {"VelOptionBox", std::int32_t{1}}}, 1, 1, 3, 4, true},
        {"unnamed values kept", {{"VelStyle", std::int32_t{9}}, {"VelOptionBox", std::int32_t{0}}}, 9, 0, 3, 4, true},
        {"disabled", {{"Enabled", false}}, 1, 2, 3, 4, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Strip s;
        EXPECT_NO_THROW(s.ReadProperties(c.bag));
        EXPECT_EQ(s.v.VelStyle(), c.style);
        EXPECT_EQ(s.v.VelOptionBox(), c.optionBox);
        EXPECT_EQ(s.v.VelOptionChar(), c.optionChar);
        EXPECT_EQ(s.v.VelCountItems(), c.count);
        EXPECT_EQ(s.v.Enabled(), c.enabled);
        EXPECT_EQ(s.box(0).Enabled(), c.enabled);
        EXPECT_EQ(s.pictureBoxes("Picture1")(0).Enabled(), c.enabled);
    }
}

}  // namespace
}  // namespace talvik
