// The option strip in a real widget: the four styles drawn, boxes marked with the mouse,
// a disabled strip and its labels taking no clicks, and the wrong-value message as a
// modal dialog.
//
// At 96 DPI a pixel is 15 twips: box i sits at (20 + 42 i, 4) pixels and is 32 pixels
// square (WindowXP, Window2k3) or 40 (Veltrane, FireFox2007); its label starts at 42
// pixels down; the strip is 6150 x 1020 twips, 410 x 68 pixels.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "SheetFixture.h"

namespace talvik {
namespace {

using testing::Shown;
using testing::showsPicture;

QPoint boxAt(int i) { return {20 + 42 * i, 4}; }
// A point in the gap between box 0 and box 1 in every style, where only the background
// is drawn.
constexpr QPoint kGap(61, 20);

// A strip restored with a style and kind of box, shown on a form. Its pictures are
// compared by their opaque pixels: the transparent ones show whatever lies behind, which
// on the WindowXP background is no single colour.
struct Strip : Shown {
    std::int32_t style, optionBox;
    Strip(std::int32_t s, std::int32_t b)
        : Shown("VelOptionToolBar",
                PropertyBag{{"VelStyle", s}, {"VelOptionBox", b}, {"VelOptionChar", std::int32_t{1}}}),
          style(s), optionBox(b) {}
    // The picture the rule gives a box in this strip's style.
    const Picture& rulePicture(bool marked) const {
        switch (style) {
            case 3: return picture("Picture4", marked ? 1 : 0);
            case 4: return picture("Picture4", marked ? 2 : 3);
            default: return picture(optionBox == 1 ? "Picture1" : "Picture2", marked ? 1 : 0);
        }
    }
    std::string value() {
        const Outcome o = widget.get("VelValue");
        EXPECT_TRUE(o.ok());
        return o.value.toString();
    }
    void click(QPoint px) {
        QTest::mouseClick(&widget, Qt::LeftButton, {}, px);
        settle();
    }
};

TEST(QtOptionStrip, DrawsEveryStyleAndMarksClickedBoxes) {
    struct Case { std::int32_t style, optionBox; std::vector<int> clicks; const char* value; std::vector<int> marked; };
    const Case cases[] = {
        {1, 1, {0, 2}, "13", {0, 2}}, {1, 2, {0, 2}, "3", {2}}, {2, 1, {}, "", {}},   {2, 2, {1, 1}, "", {}},
        {3, 1, {1, 3}, "24", {1, 3}}, {3, 2, {3, 0}, "1", {0}}, {4, 1, {2, 2}, "", {}}, {4, 2, {1}, "2", {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("style " + std::to_string(c.style) + ", box " + std::to_string(c.optionBox));
        Strip s(c.style, c.optionBox);
        EXPECT_EQ(s.widget.size(), QSize(410, 68));
        const int half = c.style >= 3 ? 20 : 16;
        for (int k : c.clicks) s.click(boxAt(k) + QPoint(half, half));
        EXPECT_EQ(s.value(), c.value);
        const QImage img = s.image();
        for (int i = 0; i < 4; ++i) {
            const bool marked = std::find(c.marked.begin(), c.marked.end(), i) != c.marked.end();
            EXPECT_TRUE(showsPicture(img, boxAt(i), s.rulePicture(marked), {})) << "box " << i;
        }
        if (c.style == 1) {
            // The 256 x 28 background stretched over the whole strip, 410 x 72 pixels
            // from two pixels above it: its colour at the matching point of the bitmap.
            for (int y : {10, 30, 50, 64}) {
                const QColor want = testing::pixelOf(s.picture("Picture3", 0), kGap.x() * 256 / 410, (y + 2) * 28 / 72);
                const QColor got = img.pixelColor(kGap.x(), y);
                EXPECT_NEAR(got.red(), want.red(), 12) << y;
                EXPECT_NEAR(got.green(), want.green(), 12) << y;
                EXPECT_NEAR(got.blue(), want.blue(), 12) << y;
            }
        } else {
            // No background picture: the host's default surface shows, also where the
            // hidden fifth box would be.
            for (const QPoint at : {kGap, boxAt(4) + QPoint(16, 16), QPoint(400, 60)})
                EXPECT_EQ(img.pixelColor(at), s.widget.palette().color(QPalette::Button));
        }
    }
}

TEST(QtOptionStrip, LabelsAndADisabledStripTakeNoClicks) {
    struct Case { const char* name; bool disable; QPoint at; };
    const Case cases[] = {
        {"label of box 2", false, {20 + 84 + 16, 52}},
        {"background between boxes", false, kGap},
        {"box 2 of a disabled strip", true, boxAt(2) + QPoint(16, 16)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Strip s(1, 1);
        ASSERT_TRUE(s.widget.let("VelValue", "1").ok());
        if (c.disable) {
            ASSERT_TRUE(s.widget.let("Enabled", false).ok());
        }
        s.click(c.at);
        EXPECT_EQ(s.value(), "1");
        const QImage img = s.image();
        EXPECT_TRUE(showsPicture(img, boxAt(0), s.picture("Picture1", 1), {}));
        EXPECT_TRUE(showsPicture(img, boxAt(2), s.picture("Picture1", 0), {}));
    }
}

TEST(QtOptionStrip, WrongValueShowsAModalMessageBox) {
    Strip s(1, 2);
    ASSERT_TRUE(s.widget.let("VelValue", "3").ok());
    struct Seen {
        bool shown = false, modal = false;
        QString text, title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QWidget* window = nullptr;
    } seen;
    // No answering hook: the host runs the box modally, and it is answered from the
    // event loop it runs.
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        seen = {true, box->isModal(), box->text(), box->windowTitle(), box->icon(), box->standardButtons(),
                box->parentWidget()};
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_TRUE(s.widget.let("VelValue", "12").ok());
    ASSERT_TRUE(seen.shown);
    EXPECT_TRUE(seen.modal);
    EXPECT_EQ(seen.text, QStringLiteral("Wrong value with VelOptionToolbar"));
    EXPECT_EQ(seen.title, QStringLiteral("Veltrane"));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(seen.window, &s.form);
    // The value is gone, the box that was marked still shows its mark.
    EXPECT_EQ(s.value(), "");
    EXPECT_TRUE(showsPicture(s.image(), boxAt(2), s.picture("Picture2", 1), {}));
}

}  // namespace
}  // namespace talvik
