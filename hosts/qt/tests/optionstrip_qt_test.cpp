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
        : Shown("VelOptionToolBar", PropertyBag{{"VelStyle", s}, {"VelOptionBox", b}, {"VelOptionChar", 1}}),
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
                EXPECT_LE(testing::difference(img.pixel(kGap.x(), y), want.rgb()), 12) << y;
            }
        } else {
            // No background picture: the host's default surface shows, also where the
            // hidden fifth box would be.
            for (const QPoint at : {kGap, boxAt(4) + QPoint(16, 16), QPoint(400, 60)})
                EXPECT_EQ(img.pixelColor(at), s.widget.palette().color(QPalette::Button));
        }
    }
}

// A click on a label, on the background or on a disabled strip marks nothing; the
// wrong-value message is a modal dialog on the strip's window, answered from the event
// loop it runs, after which the value is gone and the marked box still shows its mark.
TEST(QtOptionStrip, LabelsAndADisabledStripTakeNoClicksAndAWrongValueIsAModalMessage) {
    for (const auto& [name, disable, at] : {std::tuple{"label of box 2", false, QPoint(20 + 84 + 16, 52)},
                                            std::tuple{"background between boxes", false, kGap},
                                            std::tuple{"box 2 of a disabled strip", true, boxAt(2) + QPoint(16, 16)}}) {
        SCOPED_TRACE(name);
        Strip s(1, 1);
        ASSERT_TRUE(s.widget.let("VelValue", "1").ok());
        ASSERT_TRUE(s.widget.let("Enabled", !disable).ok());
        s.click(at);
        EXPECT_EQ(s.value(), "1");
        const QImage img = s.image();
        EXPECT_TRUE(showsPicture(img, boxAt(0), s.picture("Picture1", 1), {}));
        EXPECT_TRUE(showsPicture(img, boxAt(2), s.picture("Picture1", 0), {}));
    }
    Strip s(1, 2);
    ASSERT_TRUE(s.widget.let("VelValue", "3").ok());
    std::optional<std::tuple<bool, QString, QString, QMessageBox::Icon, QMessageBox::StandardButtons, QWidget*>> seen;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen.emplace(box->isModal(), box->text(), box->windowTitle(), box->icon(), box->standardButtons(), box->parentWidget());
            box->button(QMessageBox::Ok)->click();
        }
    });
    EXPECT_TRUE(s.widget.let("VelValue", "12").ok());
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(*seen, std::tuple(true, QString("Wrong value with VelOptionToolbar"), QString("Veltrane"),
                                QMessageBox::Critical, QMessageBox::StandardButtons(QMessageBox::Ok), &s.form));
    EXPECT_EQ(s.value(), "");
    EXPECT_TRUE(showsPicture(s.image(), boxAt(2), s.picture("Picture2", 1), {}));
}

}  // namespace
}  // namespace talvik
