// The option strip: how VelValue reads and writes the marks, clicks in each mode and
// style, what unmarks the boxes, the count of boxes, persistence and the fixed size.
// A box's state is named by the picture box whose picture it shows: "21" is
// Picture2(1), a marked option button; "--" is no picture.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "answer/VelOptionToolBar.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik {
namespace {

using V = VelOptionToolBar;

struct Strip {
    HeadlessHost host{V::Class};
    V& v;
    Strip() : v(static_cast<V&>(*host.control())) { host.Initialize(); }
    Image& box(int i) { return host.images("Image2")(i); }
    Label& label(int i) { return host.labels("Label1")(i); }
    const Picture& stored(const char* array, int i) { return host.pictureBoxes(array)(i).picture(); }
    void click(int i) { host.deliver({EventKind::Click, &box(i)}); }

    std::string code(const Picture& p) {
        if (p.empty()) return "--";
        for (const char* array : {"Picture1", "Picture2", "Picture3", "Picture4"})
            for (int i = 0; i < host.pictureBoxes(array).Count(); ++i)
                if (stored(array, i) == p) return std::string(1, array[7]) + std::to_string(i);
        return "??";
    }
    // The pictures of the nine boxes.
    std::string shown() {
        std::string out;
        for (int i = 0; i < 9; ++i) out += (i ? " " : "") + code(box(i).picture());
        return out;
    }
    int messageBoxes() const {
        int n = 0;
        for (const ServiceCall& c : host.calls()) n += c.kind == ServiceCall::Kind::MsgBox;
        return n;
    }
};

std::string all(const char* code) {
    std::string out = code;
    for (int i = 1; i < 9; ++i) out += std::string(" ") + code;
    return out;
}

TEST(VelOptionToolBar, InitializeShowsFourOptionButtonsOnTheXPBackground) {
    Strip s;
    EXPECT_EQ(s.host.surface().Width(), 6150);
    EXPECT_EQ(s.host.surface().Height(), 1020);
    const Image& back = s.host.image("Image1");
    EXPECT_EQ(back.Left(), -5);
    EXPECT_EQ(back.Top(), -30);
    EXPECT_EQ(back.Width(), 6150);
    EXPECT_EQ(back.Height(), 1080);
    EXPECT_TRUE(back.Visible());
    EXPECT_EQ(s.code(back.picture()), "30");
    EXPECT_EQ(s.shown(), all("20"));
    const char* const captions = "ABCDEFGHI";
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(s.box(i).Visible(), i < 4);
        EXPECT_EQ(s.label(i).Visible(), i < 4);
        EXPECT_EQ(s.box(i).Left(), 300 + 630 * i);
        EXPECT_EQ(s.box(i).Top(), 60);
        EXPECT_EQ(s.box(i).Width(), 480);  // a 32-pixel icon, unstretched
        EXPECT_EQ(s.label(i).Caption(), std::string(1, captions[i]));
    }
    EXPECT_EQ(s.v.VelValue(), "");
    EXPECT_EQ(s.v.VelStyle(), V::WindowXP);
    EXPECT_EQ(s.v.VelOptionBox(), V::VelOption);
    EXPECT_EQ(s.v.VelOptionChar(), V::VelUChar);
    EXPECT_EQ(s.v.VelCountItems(), 4);
    EXPECT_TRUE(s.v.Enabled());
}

TEST(VelOptionToolBar, ValueParsingAndFormatting) {
    struct Case {
        std::int32_t style, optionBox, optionChar;
        std::int16_t count;
        std::function<void(Strip&)> before;  // marks set up first, or null
        const char* text;
        const char* value;
        std::string pictures;
        bool message;
    };
    const auto value = [](const char* t) { return [t](Strip& s) { s.v.VelValue(t); }; };
    const Case cases[] = {
        // Check boxes: every digit or letter marks its box, in ascending order.
        {1, 1, 1, 9, {}, "31", "13", "11 10 11 10 10 10 10 10 10", false},
        {1, 1, 2, 9, {}, "31", "ac", "11 10 11 10 10 10 10 10 10", false},
        {1, 1, 3, 9, {}, "31", "AC", "11 10 11 10 10 10 10 10 10", false},
        {1, 1, 1, 9, {}, "1,3", "13", "11 10 11 10 10 10 10 10 10", false},
        {1, 1, 1, 9, {}, "ac", "13", "11 10 11 10 10 10 10 10 10", false},
        {1, 1, 1, 9, {}, "C a", "13", "11 10 11 10 10 10 10 10 10", false},
        {1, 1, 3, 9, {}, "i9I", "I", "10 10 10 10 10 10 10 10 11", false},
        {1, 1, 1, 9, value("2"), "jz0", "", all("10"), false},
        // A number keeps its letters: "1e2" marks 1 and 2, "1f2" is no number.
        {1, 1, 1, 9, {}, "1e2", "12", "11 11 10 10 10 10 10 10 10", false},
        {1, 1, 1, 9, {}, "1f2", "126", "11 11 10 10 10 11 10 10 10", false},
        {1, 1, 1, 9, {}, "-3.5", "35", "10 10 11 10 11 10 10 10 10", false},
        // Blank texts unmark every box.
        {1, 1, 1, 9, value("123"), "   ", "", all("10"), false},
        {1, 1, 1, 9, value("123"), "", "", all("10"), false},
        {1, 2, 1, 9, value("4"), " ", "", all("20"), false},
        // Hidden boxes keep their pictures and stay out of the value.
        {1, 1, 1, 9, [](Strip& s) { s.v.VelValue("5"); s.v.VelCountItems(3); }, "15", "1",
         "11 10 10 10 11 10 10 10 10", false},
        {1, 1, 1, 3, {}, "123456789", "123", "11 11 11 10 10 10 10 10 10", false},
        // Option buttons: one character marks one box.
        {1, 2, 1, 4, {}, "b", "2", "20 21 20 20 20 20 20 20 20", false},
        {1, 2, 2, 4, {}, "b", "b", "20 21 20 20 20 20 20 20 20", false},
        {1, 2, 3, 4, {}, "B", "B", "20 21 20 20 20 20 20 20 20", false},
        {1, 2, 1, 4, value("1"), "4", "4", "20 20 20 21 20 20 20 20 20", false},
        {1, 2, 1, 4, value("1"), "x", "", all("20"), false},
        {1, 2, 1, 3, {}, "5", "", all("20"), false},
        // Two or more characters for option buttons: a message, nothing changes.
        {1, 2, 1, 4, value("3"), "12", "", "20 20 21 20 20 20 20 20 20", true},
        {1, 2, 1, 4, value("3"), "ab", "", "20 20 21 20 20 20 20 20 20", true},
        {1, 2, 1, 4, {}, " 1", "", all("20"), true},
        // An option box outside the enumeration behaves as option buttons.
        {1, 7, 1, 4, {}, "2", "2", "20 21 20 20 20 20 20 20 20", false},
        {1, 7, 1, 4, {}, "23", "", all("20"), true},
        // Styles with their own pictures, for both kinds of box.
        {3, 1, 1, 4, {}, "24", "24", "40 41 40 41 40 40 40 40 40", false},
        {4, 1, 1, 4, {}, "24", "24", "43 42 43 42 43 43 43 43 43", false},
        {3, 2, 1, 4, {}, "c", "3", "40 40 41 40 40 40 40 40 40", false},
        {4, 2, 1, 4, {}, "c", "3", "43 43 42 43 43 43 43 43 43", false},
        {2, 1, 1, 4, {}, "1", "1", "11 10 10 10 10 10 10 10 10", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("style ") + std::to_string(c.style) + ", box " + std::to_string(c.optionBox) +
                     ", char " + std::to_string(c.optionChar) + ", text \"" + c.text + "\"");
        Strip s;
        s.v.VelOptionBox(c.optionBox);
        s.v.VelStyle(c.style);
        s.v.VelOptionChar(c.optionChar);
        s.v.VelCountItems(c.count);
        if (c.before) c.before(s);
        s.host.clearCalls();
        s.v.VelValue(c.text);
        EXPECT_EQ(s.v.VelValue(), c.value);
        EXPECT_EQ(s.shown(), c.pictures);
        ASSERT_EQ(s.messageBoxes(), c.message ? 1 : 0);
        if (c.message) {
            const ServiceCall& m = s.host.calls().back();
            EXPECT_EQ(m.text, "Wrong value with VelOptionToolbar");
            EXPECT_EQ(m.flags, 16);
            EXPECT_EQ(m.title, std::optional<std::string>("Veltrane"));
        }
    }
}

TEST(VelOptionToolBar, ClicksInBothModesAndAllStyles) {
    struct Case {
        std::int32_t style, optionBox;
        std::vector<int> clicks;
        const char* value;
        std::string pictures;
    };
    const Case cases[] = {
        {1, 1, {0, 2}, "13", "11 10 11 10 10 10 10 10 10"},
        {1, 1, {3, 0}, "14", "11 10 10 11 10 10 10 10 10"},
        {1, 1, {2, 2}, "", all("10")},
        {2, 1, {8}, "9", "10 10 10 10 10 10 10 10 11"},
        {3, 1, {1, 5}, "26", "40 41 40 40 40 41 40 40 40"},
        {3, 1, {1, 1}, "", all("40")},
        {4, 1, {1}, "2", "43 42 43 43 43 43 43 43 43"},
        {4, 1, {1, 1}, "", all("43")},
        {1, 2, {2}, "3", "20 20 21 20 20 20 20 20 20"},
        {1, 2, {2, 2}, "", all("20")},
        {1, 2, {5, 2}, "3", "20 20 21 20 20 20 20 20 20"},
        {2, 2, {0, 8}, "9", "20 20 20 20 20 20 20 20 21"},
        {3, 2, {0, 1}, "2", "40 41 40 40 40 40 40 40 40"},
        {3, 2, {4, 4}, "", all("40")},
        {4, 2, {3, 6}, "7", "43 43 43 43 43 43 42 43 43"},
        {4, 2, {3, 3}, "", all("43")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("style " + std::to_string(c.style) + ", box " + std::to_string(c.optionBox));
        Strip s;
        s.v.VelOptionBox(c.optionBox);
        s.v.VelStyle(c.style);
        s.v.VelOptionChar(V::VelNumber);
        s.v.VelCountItems(9);
        for (int k : c.clicks) s.click(k);
        EXPECT_EQ(s.v.VelValue(), c.value);
        EXPECT_EQ(s.shown(), c.pictures);
    }
}

TEST(VelOptionToolBar, ClicksThatChangeNoPicture) {
    struct Case {
        const char* what;
        std::function<void(Strip&)> act;
        const char* value;
        std::string pictures;
    };
    const Case cases[] = {
        // An option box outside the enumeration changes no picture, but the value is
        // read back from the pictures: box 2 still shows a marked option button.
        {"unknown option box", [](Strip& s) { s.v.VelOptionBox(5); s.v.VelValue("3"); s.host.clearCalls(); s.click(0); },
         "3", "20 20 21 20 20 20 20 20 20"},
        // A marked check box does not count for option buttons of an unknown kind.
        {"check marks, then unknown box",
         [](Strip& s) { s.v.VelOptionBox(1); s.click(0); s.v.VelOptionBox(5); s.click(1); }, "",
         "11 10 10 10 10 10 10 10 10"},
        {"label", [](Strip& s) { s.v.VelValue("2"); s.host.deliver({EventKind::Click, &s.label(0)}); }, "2",
         "20 21 20 20 20 20 20 20 20"},
        {"background", [](Strip& s) { s.v.VelValue("2"); s.host.deliver({EventKind::Click, &s.host.image("Image1")}); },
         "2", "20 21 20 20 20 20 20 20 20"},
        {"hidden box", [](Strip& s) { s.click(6); }, "", all("20")},
        {"disabled strip", [](Strip& s) { s.v.Enabled(false); s.click(1); }, "", all("20")},
        {"disabled strip, value set", [](Strip& s) { s.v.Enabled(false); s.v.VelValue("a"); s.click(0); }, "1",
         "21 20 20 20 20 20 20 20 20"},
        {"double click", [](Strip& s) { s.host.deliver({EventKind::DblClick, &s.box(0)}); }, "", all("20")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Strip s;
        s.v.VelOptionChar(V::VelNumber);
        c.act(s);
        EXPECT_EQ(s.v.VelValue(), c.value);
        EXPECT_EQ(s.shown(), c.pictures);
    }
}

TEST(VelOptionToolBar, StyleAndOptionBoxChangesUnmarkTheBoxes) {
    struct Case {
        const char* what;
        std::function<void(V&)> change;
        const char* value;  // digits
        std::string pictures;
    };
    // Every case starts from check boxes 1 and 3 marked by clicks in the XP style.
    const Case cases[] = {
        {"style Veltrane", [](V& v) { v.VelStyle(V::Veltrane); }, "13", all("40")},
        {"style FireFox2007", [](V& v) { v.VelStyle(V::FireFox2007); }, "13", all("43")},
        {"style Window2k3", [](V& v) { v.VelStyle(V::Window2k3); }, "13", all("10")},
        {"same style again", [](V& v) { v.VelStyle(V::WindowXP); }, "13", all("10")},
        {"unknown style", [](V& v) { v.VelStyle(0); }, "13", all("10")},
        {"check boxes again", [](V& v) { v.VelOptionBox(V::VelCheck); }, "", all("10")},
        {"option buttons", [](V& v) { v.VelOptionBox(V::VelOption); }, "", all("20")},
        {"unknown option box", [](V& v) { v.VelOptionBox(3); }, "", "11 10 11 10 10 10 10 10 10"},
        {"reset", [](V& v) { v.VelReset(); }, "", all("10")},
        {"reset, unknown option box", [](V& v) { v.VelOptionBox(0); v.VelReset(); }, "", "11 10 11 10 10 10 10 10 10"},
        {"fewer boxes", [](V& v) { v.VelCountItems(2); }, "13", "11 10 11 10 10 10 10 10 10"},
        {"labels", [](V& v) { v.VelOptionChar(V::VelNumber); }, "13", "11 10 11 10 10 10 10 10 10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Strip s;
        s.v.VelOptionBox(V::VelCheck);
        s.click(0);
        s.click(2);
        c.change(s.v);
        s.v.VelOptionChar(V::VelNumber);
        EXPECT_EQ(s.v.VelValue(), c.value);
        EXPECT_EQ(s.shown(), c.pictures);
    }
}

TEST(VelOptionToolBar, BackgroundAndBoxSizeFollowTheStyle) {
    struct Case {
        std::int32_t first, then;
        bool visible;
        const char* background;
        float boxWidth;
    };
    const Case cases[] = {
        {1, 1, true, "30", 480}, {1, 2, true, "--", 480},  {1, 3, false, "30", 600},
        {1, 4, true, "--", 600}, {3, 7, false, "30", 480}, {2, -1, true, "--", 480},
        {3, 1, true, "30", 480}, {4, 3, false, "--", 600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + " then " + std::to_string(c.then));
        Strip s;
        s.v.VelStyle(c.first);
        s.v.VelStyle(c.then);
        const Image& back = s.host.image("Image1");
        EXPECT_EQ(back.Visible(), c.visible);
        EXPECT_EQ(s.code(back.picture()), c.background);
        EXPECT_EQ(back.Width(), 6150);  // stretched, whatever it shows
        EXPECT_EQ(s.box(0).Width(), c.boxWidth);
        EXPECT_EQ(s.host.surface().Width(), 6150);
        EXPECT_EQ(s.host.surface().Height(), 1020);
    }
}

TEST(VelOptionToolBar, LabelsFollowTheOptionChar) {
    const struct {
        std::int32_t c;
        const char* captions;
    } cases[] = {{1, "123456789"}, {2, "abcdefghi"}, {3, "ABCDEFGHI"}, {0, "abcdefghi"}, {4, "abcdefghi"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.c);
        Strip s;
        s.v.VelOptionChar(c.c);
        for (int i = 0; i < 9; ++i) EXPECT_EQ(s.label(i).Caption(), std::string(1, c.captions[i])) << i;
    }
}

TEST(VelOptionToolBar, CountsOutsideOneToNineAreIgnored) {
    struct Case {
        std::int16_t n;
        std::int16_t count;
        int visible;
    };
    const Case cases[] = {{0, 4, 4}, {10, 4, 4}, {-1, 4, 4}, {32767, 4, 4}, {-32768, 4, 4},
                          {1, 1, 1}, {9, 9, 9},  {5, 5, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        Strip s;
        s.v.VelValue("c");
        s.v.VelCountItems(c.n);
        EXPECT_EQ(s.v.VelCountItems(), c.count);
        for (int i = 0; i < 9; ++i) {
            EXPECT_EQ(s.box(i).Visible(), i < c.visible) << i;
            EXPECT_EQ(s.label(i).Visible(), i < c.visible) << i;
        }
        // The marks stay, even on a box that is now hidden.
        EXPECT_EQ(s.v.VelValue(), "C");
        EXPECT_EQ(s.code(s.box(2).picture()), "21");
        EXPECT_EQ(s.host.surface().Width(), 6150);
        EXPECT_EQ(s.host.surface().Height(), 1020);
    }
}

TEST(VelOptionToolBar, SizeIsFixedWhateverTheContainerAsks) {
    const struct {
        float w, h;
    } sizes[] = {{100, 100}, {0, 0}, {20000, 9000}, {6150, 500}, {3000, 1020}, {6150, 1020}};
    for (const auto& z : sizes) {
        SCOPED_TRACE(std::to_string(z.w) + " x " + std::to_string(z.h));
        Strip s;
        s.v.VelStyle(V::Veltrane);  // larger boxes do not change the size either
        s.v.VelCountItems(9);
        s.host.resizeTo(z.w, z.h);
        EXPECT_EQ(s.host.surface().Width(), 6150);
        EXPECT_EQ(s.host.surface().Height(), 1020);
    }
}

TEST(VelOptionToolBar, EnabledReachesEveryChildElement) {
    Strip s;
    s.v.Enabled(false);
    int images = 0, labels = 0, boxes = 0;
    for (const auto& e : s.host.elements()) {
        SCOPED_TRACE(e->displayName());
        if (auto* b = dynamic_cast<const BoxElement*>(e.get())) {
            EXPECT_FALSE(b->Enabled());
            (e->kind() == ElementKind::Image ? images : labels) += 1;
        } else if (auto* p = dynamic_cast<const PictureBox*>(e.get())) {
            EXPECT_FALSE(p->Enabled());
            ++boxes;
        }
    }
    EXPECT_EQ(images, 10);
    EXPECT_EQ(labels, 9);
    EXPECT_EQ(boxes, 10);
    s.v.Enabled(true);
    EXPECT_TRUE(s.box(3).Enabled());
    EXPECT_TRUE(s.host.pictureBoxes("Picture4")(3).Enabled());
}

TEST(VelOptionToolBar, PropertiesRoundTripThroughTheStore) {
    Strip a;
    a.v.VelOptionBox(V::VelCheck);
    a.v.VelOptionChar(V::VelNumber);
    a.v.VelCountItems(5);
    a.v.VelStyle(V::Veltrane);
    a.v.Enabled(false);
    a.v.VelValue("2");
    PropertyBag bag;
    a.host.WriteProperties(bag);
    const std::vector<PropertyBag::Write> expected = {
        {"VelOptionBox", std::int32_t{1}, std::int32_t{2}},
        {"VelOptionChar", std::int32_t{1}, std::int32_t{3}},
        {"VelCountItems", std::int16_t{5}, std::int16_t{4}},
        {"VelStyle", std::int32_t{3}, std::int32_t{1}},
        {"Enabled", false, true},
    };
    ASSERT_EQ(bag.writes().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].key);
        EXPECT_EQ(bag.writes()[i].key, expected[i].key);
        EXPECT_EQ(bag.writes()[i].value, expected[i].value);
        EXPECT_EQ(bag.writes()[i].defaultValue, expected[i].defaultValue);
    }

    Strip b;
    b.host.ReadProperties(bag);
    EXPECT_EQ(b.v.VelOptionBox(), V::VelCheck);
    EXPECT_EQ(b.v.VelOptionChar(), V::VelNumber);
    EXPECT_EQ(b.v.VelCountItems(), 5);
    EXPECT_EQ(b.v.VelStyle(), V::Veltrane);
    EXPECT_FALSE(b.v.Enabled());
    EXPECT_FALSE(b.box(0).Enabled());
    EXPECT_FALSE(b.label(8).Enabled());
    EXPECT_FALSE(b.host.image("Image1").Visible());
    EXPECT_TRUE(b.box(4).Visible());
    EXPECT_FALSE(b.box(5).Visible());
    EXPECT_EQ(b.label(0).Caption(), "1");
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
        {"text where a number belongs", {{"VelStyle", "abc"}, {"VelCountItems", std::int16_t{5}}}, 1, 2, 3, 5, true},
        {"count too large for 16 bits", {{"VelCountItems", std::int32_t{40000}}, {"VelStyle", std::int32_t{4}}}, 4, 2, 3, 4, true},
        {"count out of range", {{"VelCountItems", std::int16_t{12}}, {"VelOptionBox", std::int32_t{1}}}, 1, 1, 3, 4, true},
        {"numbers as text", {{"VelOptionChar", "2"}, {"VelStyle", 2.0}}, 2, 2, 2, 4, true},
        {"unnamed values kept", {{"VelStyle", std::int32_t{9}}, {"VelOptionBox", std::int32_t{0}}}, 9, 0, 3, 4, true},
        {"disabled", {{"Enabled", false}}, 1, 2, 3, 4, false},
        {"enabled as text", {{"Enabled", "False"}}, 1, 2, 3, 4, false},
        {"unreadable enabled", {{"Enabled", "maybe"}, {"VelOptionChar", std::int32_t{1}}}, 1, 2, 1, 4, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Strip s;
        EXPECT_NO_THROW(s.host.ReadProperties(c.bag));
        EXPECT_EQ(s.v.VelStyle(), c.style);
        EXPECT_EQ(s.v.VelOptionBox(), c.optionBox);
        EXPECT_EQ(s.v.VelOptionChar(), c.optionChar);
        EXPECT_EQ(s.v.VelCountItems(), c.count);
        EXPECT_EQ(s.v.Enabled(), c.enabled);
        EXPECT_EQ(s.box(0).Enabled(), c.enabled);
        EXPECT_EQ(s.host.pictureBoxes("Picture1")(0).Enabled(), c.enabled);
    }
}

TEST(VelOptionToolBar, MembersForDispatch) {
    Strip s;
    const auto members = V::Members();
    const char* const names[] = {"VelStyle", "VelCountItems", "VelValue", "VelOptionChar",
                                 "VelOptionBox", "VelReset", "Enabled"};
    ASSERT_EQ(members.size(), std::size(names));
    for (std::size_t i = 0; i < members.size(); ++i) {
        EXPECT_EQ(members[i].name, names[i]);
        EXPECT_EQ(members[i].isMethod, members[i].name == "VelReset");
        EXPECT_EQ(members[i].let != nullptr, members[i].name != "VelReset");
    }
    const auto member = [&](std::string_view n) -> const MemberBinding& {
        for (const MemberBinding& m : members)
            if (m.name == n) return m;
        throw std::logic_error("no member");
    };
    // The enumerations are 32-bit integers, the count a 16-bit one.
    EXPECT_EQ(member("VelStyle").get(s.v).type(), VarType::Int32);
    EXPECT_EQ(member("VelCountItems").get(s.v).type(), VarType::Int16);
    EXPECT_EQ(member("Enabled").get(s.v).type(), VarType::Bool);
    member("VelOptionBox").let(s.v, Variant(std::int16_t{1}));
    member("VelValue").let(s.v, Variant(31));
    EXPECT_EQ(member("VelValue").get(s.v), Variant("AC"));
    try {
        member("VelCountItems").let(s.v, Variant(std::int32_t{70000}));
        FAIL() << "expected an overflow";
    } catch (const HostError& e) {
        EXPECT_EQ(e.number, 6);
    }
    EXPECT_EQ(s.v.VelCountItems(), 4);
    member("VelReset").get(s.v);
    EXPECT_EQ(s.v.VelValue(), "");
    EXPECT_EQ(s.shown(), all("10"));
}

}  // namespace
}  // namespace talvik
