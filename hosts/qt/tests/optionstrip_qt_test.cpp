// The option strip in a real widget: the four styles drawn, boxes marked with the mouse,
// a disabled strip and its labels taking no clicks, the wrong-value message as a modal
// dialog, and the fixed size.
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

QPoint boxAt(int i) { return {20 + 42 * i, 4}; }
// A point in the gap between box 0 and box 1 in every style, where only the background
// is drawn.
constexpr QPoint kGap(61, 20);

struct Stored {
    PropertyBag bag;
};

// A strip restored with a style and kind of box, shown on a form.
struct Strip : Stored, Shown {
    Strip(std::int32_t style, std::int32_t optionBox)
        : Stored{{{"VelStyle", style}, {"VelOptionBox", optionBox}, {"VelOptionChar", std::int32_t{1}}}},
          Shown("VelOptionToolBar", &bag) {}
    // The picture the rule gives a box in this strip's style.
    const Picture& rulePicture(std::int32_t style, std::int32_t optionBox, bool marked) const {
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

// Whether every opaque pixel of `pic` is drawn unscaled at `at` (its transparent pixels
// show whatever lies behind, which on the WindowXP background is no single colour).
::testing::AssertionResult showsOpaque(const QImage& img, QPoint at, const Picture& pic) {
    const Bitmap& b = *pic.bitmap();
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) {
            const QColor want = QColor::fromRgba(b.argb[std::size_t(y) * std::size_t(b.width) + std::size_t(x)]);
            if (want.alpha() != 255) continue;
            const QColor got = img.pixelColor(at + QPoint(x, y));
            if (std::abs(got.red() - want.red()) > 2 || std::abs(got.green() - want.green()) > 2 ||
                std::abs(got.blue() - want.blue()) > 2)
                return ::testing::AssertionFailure() << "pixel (" << at.x() + x << ", " << at.y() + y << ") is "
                                                     << got.name().toStdString() << ", the picture has "
                                                     << want.name().toStdString();
        }
    return ::testing::AssertionSuccess();
}

TEST(QtOptionStrip, DrawsEveryStyleWithBothKindsOfBox) {
    for (std::int32_t style = 1; style <= 4; ++style) {
        for (std::int32_t optionBox = 1; optionBox <= 2; ++optionBox) {
            SCOPED_TRACE("style " + std::to_string(style) + ", box " + std::to_string(optionBox));
            Strip s(style, optionBox);
            EXPECT_EQ(s.widget.size(), QSize(410, 68));
            const QImage img = s.image();
            for (int i = 0; i < 4; ++i)
                EXPECT_TRUE(showsOpaque(img, boxAt(i), s.rulePicture(style, optionBox, false))) << "box " << i;
            const QColor face = s.widget.palette().color(QPalette::Button);
            if (style == 1) {
                // The 256 x 28 background stretched over the whole strip, 410 x 72 pixels
                // from two pixels above it: its colour at the matching point of the bitmap.
                const Picture& back = s.picture("Picture3", 0);
                for (int y : {10, 30, 50, 64}) {
                    const int bx = kGap.x() * 256 / 410, by = (y + 2) * 28 / 72;
                    const QColor want = QColor::fromRgba(back.bitmap()->argb[std::size_t(by * 256 + bx)]);
                    const QColor got = img.pixelColor(kGap.x(), y);
                    EXPECT_NEAR(got.red(), want.red(), 12) << y;
                    EXPECT_NEAR(got.green(), want.green(), 12) << y;
                    EXPECT_NEAR(got.blue(), want.blue(), 12) << y;
                }
            } else {
                // No background picture: the host's default surface shows, also where the
                // hidden fifth box would be.
                EXPECT_EQ(img.pixelColor(kGap), face);
                EXPECT_EQ(img.pixelColor(boxAt(4) + QPoint(16, 16)), face);
                EXPECT_EQ(img.pixelColor(400, 60), face);
            }
        }
    }
}

TEST(QtOptionStrip, ClicksMarkBoxesInEveryStyle) {
    struct Case {
        std::int32_t style, optionBox;
        std::vector<int> clicks;
        const char* value;
        std::vector<int> marked;
    };
    const Case cases[] = {
        {1, 1, {0, 2}, "13", {0, 2}},  {1, 2, {0, 2}, "3", {2}},  {2, 1, {3}, "4", {3}},
        {2, 2, {1, 1}, "", {}},        {3, 1, {1, 3}, "24", {1, 3}}, {3, 2, {3, 0}, "1", {0}},
        {4, 1, {2, 2}, "", {}},        {4, 2, {1}, "2", {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("style " + std::to_string(c.style) + ", box " + std::to_string(c.optionBox));
        Strip s(c.style, c.optionBox);
        const int size = c.style >= 3 ? 40 : 32;
        for (int k : c.clicks) s.click(boxAt(k) + QPoint(size / 2, size / 2));
        EXPECT_EQ(s.value(), c.value);
        const QImage img = s.image();
        for (int i = 0; i < 4; ++i) {
            const bool marked = std::find(c.marked.begin(), c.marked.end(), i) != c.marked.end();
            EXPECT_TRUE(showsOpaque(img, boxAt(i), s.rulePicture(c.style, c.optionBox, marked))) << "box " << i;
        }
    }
}

TEST(QtOptionStrip, LabelsAndADisabledStripTakeNoClicks) {
    struct Case {
        const char* name;
        bool disable;
        QPoint at;
    };
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
        EXPECT_TRUE(showsOpaque(img, boxAt(0), s.picture("Picture1", 1)));
        EXPECT_TRUE(showsOpaque(img, boxAt(2), s.picture("Picture1", 0)));
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
    EXPECT_TRUE(showsOpaque(s.image(), boxAt(2), s.picture("Picture2", 1)));
}

TEST(QtOptionStrip, KeepsItsSizeWhateverTheContainerAsks) {
    for (const QSize asked : {QSize(600, 200), QSize(100, 30), QSize(410, 100)}) {
        SCOPED_TRACE(std::to_string(asked.width()) + " x " + std::to_string(asked.height()));
        Strip s(3, 1);
        s.widget.resize(asked);
        Shown::settle();
        EXPECT_EQ(s.widget.size(), QSize(410, 68));
    }
}

}  // namespace
}  // namespace talvik
