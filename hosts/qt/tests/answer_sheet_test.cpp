// The answer sheet and the option strip in real widgets: what they draw and repaint as
// they are marked, and the strip's wrong-value message as a modal dialog.
//
// The sheet's marker is 120 twips square, 20 twips left of choice A and 60 twips below its top.
#include <QApplication>
#include <QBackingStore>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "SheetFixture.h"

namespace talvik {
namespace {

using testing::bubble;
using testing::bubbleRect;
using testing::Shown;
using testing::showsPicture;

// The marker's 8 x 8 pixels beside question q.
QRect markerRect(int q) {
    const int i = q - 1;
    const double top = 50 + 390 * i + 20 * (i / 5) + 60;
    return {QPoint(qRound(325 / 15.0), qRound(top / 15)), QPoint(qRound(445 / 15.0) - 1, qRound((top + 120) / 15) - 1)};
}

bool hasMarker(const QImage& img, const QRect& r) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (const QColor c = img.pixelColor(x, y); c.blue() > c.red() + 50 && c.blue() > c.green() + 20) return true;
    return false;
}

QColor buttonFace(const QWidget& w) { return w.palette().color(QPalette::Button); }
void click(QWidget& w, int k, int q) { QTest::mouseClick(&w, Qt::LeftButton, {}, bubbleRect(k, q).center()); }
void keys(QWidget& w, std::initializer_list<Qt::Key> ks, Qt::KeyboardModifiers last = {}) {
    for (auto it = ks.begin(); it != ks.end(); ++it) QTest::keyClick(&w, *it, it + 1 == ks.end() ? last : Qt::NoModifier);
}

TEST(QtAnswerSheet, MouseAndKeyboardMarkChoices) {
    // A choice marked afterwards (0 for none), the question's element of result, and the
    // question the marker is beside.
    struct Case {
        const char* name;
        std::function<void(QWidget&)> act;
        int choice, question;
        const char* result;
        int marker;
    };
    // The keypad's digits and a shifted digit's symbol are not the same keys: only the
    // main keyboard's digits choose (a shifted 2 is still the key 2).
    const Case cases[] = {
        {"click B of question 3", [](QWidget& w) { click(w, 2, 3); }, 2, 3, "2", 3},
        {"click D of question 7, Up, C", [](QWidget& w) { click(w, 4, 7); keys(w, {Qt::Key_Up, Qt::Key_C}); }, 3, 6, "3", 6},
        {"shifted 2", [](QWidget& w) { keys(w, {Qt::Key_At}, Qt::ShiftModifier); }, 2, 1, "2", 1},
        {"keypad 2", [](QWidget& w) { keys(w, {Qt::Key_2}, Qt::KeypadModifier); }, 0, 1, "", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Shown s("Matrix");
        ASSERT_EQ(s.widget.logicalDpiX(), 96);
        EXPECT_EQ(s.widget.size(), QSize(738, 652));  // 11070 x 9780 twips
        c.act(s.widget);
        Shown::settle();
        const QImage img = s.image();
        // The last question of the first column, never marked here, shows its bubble.
        EXPECT_TRUE(showsPicture(img, bubble(3, 25), s.picture("Picture3", 0), buttonFace(s.widget)));
        if (c.choice != 0) {
            EXPECT_TRUE(showsPicture(img, bubble(c.choice, c.question),
                                     s.picture("Picture" + std::to_string(c.choice), 1), buttonFace(s.widget)));
        }
        const Outcome r = s.widget.get("result");
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r.value.toStringArray().at(c.question), c.result);
        EXPECT_TRUE(hasMarker(img, markerRect(c.marker)));
        EXPECT_EQ(hasMarker(img, markerRect(1)), c.marker == 1);
    }
}

TEST(QtAnswerSheet, RepaintsOnlyWhatChanged) {
    struct Case { const char* name; std::function<void(Shown&)> act; QRegion allowed; QRect mustCover; };
    const QSize sheet(738, 652);
    // The focused sheet's ring leaves the row of question 1 for that of question 3.
    const auto ringAround = [](int q) {
        return QRect(QPoint(0, bubble(1, q).y() - 4), QPoint(bubble(4, q).x() + 16 + 4, bubble(1, q).y() + 16 + 4));
    };
    const QRegion markerMove = QRegion(markerRect(1).adjusted(-2, -2, 2, 2)) + markerRect(3).adjusted(-2, -2, 2, 2) +
                               ringAround(1) + ringAround(3);
    const Case cases[] = {
        {"a click on B of question 3", [](Shown& s) { click(s.widget, 2, 3); },
         markerMove + bubbleRect(2, 3).adjusted(-2, -2, 2, 2), bubbleRect(2, 3)},
        // Growing the widget exposes two strips; the sheet itself stays as it was.
        {"the widget grown by 45 x 30 pixels", [&](Shown& s) { s.widget.resize(sheet + QSize(45, 30)); },
         QRegion(QRect(sheet.width() - 2, 0, 47, sheet.height() + 30)) + QRect(0, sheet.height() - 2, sheet.width() + 45, 32),
         QRect(sheet.width(), 0, 45, sheet.height() + 30)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);  // repainting no more than `allowed`, all of `mustCover`
        Shown s("Matrix");
        const QRegion painted = s.repaintedBy([&] { c.act(s); });
        const QRect beyond = (painted - c.allowed).boundingRect();
        EXPECT_TRUE(beyond.isEmpty()) << "repainted beyond the change: " << beyond.x() << "," << beyond.y() << " "
                                      << beyond.width() << "x" << beyond.height();
        EXPECT_TRUE((QRegion(c.mustCover) - painted).isEmpty());
    }
}

// After each step, what the window's backing store shows of the sheet is what painting
// it anew shows, and a click reaches the bubble under the mouse however the layout has
// moved the bubbles since the sheet was first painted.
TEST(QtAnswerSheet, PartialRepaintsLeaveWhatAFullPaintShows) {
    struct Step {
        const char* name;
        std::function<void(Shown&)> act;
        int question = 0, choice = 0;  // what a click marked, if any
    };
    const auto clickOn = [](int question, int choice) {
        return [=](Shown& s) {
            const RectF b = s.widget.host().find("Image" + std::to_string(choice), question - 1).bounds();
            const QPoint centre = s.widget.scale().point(b.left + b.width / 2, b.top + b.height / 2).toPoint();
            QTest::mouseClick(&s.widget, Qt::LeftButton, {}, centre);
        };
    };
    const auto let = [](std::initializer_list<std::pair<const char*, std::int16_t>> list) {
        return [values = std::vector(list)](Shown& s) {
            for (const auto& [name, v] : values) ASSERT_TRUE(s.widget.let(name, v).ok());
        };
    };
    const Step steps[] = {
        {"click B of question 3: the marker moves down", clickOn(3, 2), 3, 2},
        {"click D of question 40, in the second column", clickOn(40, 4), 40, 4},
        {"Down: the marker moves again", [](Shown& s) { QTest::keyClick(&s.widget, Qt::Key_Down); }},
        {"click A of question 41", clickOn(41, 1), 41, 1},
        {"60 questions: the rest are hidden", let({{"MaxItems", 60}})},
        {"two columns, wider spacing: every bubble moves", let({{"MaxCols", 2}, {"DistanceItems", 300}})},
        {"click C of question 30 where it is now", clickOn(30, 3), 30, 3},
        {"150 questions in four columns again", let({{"MaxItems", 150}, {"MaxCols", 4}, {"DistanceItems", 150}})},
        {"click B of question 150, the last", clickOn(150, 2), 150, 2},
        {"click B of question 150 again: unmarked", clickOn(150, 2)},
    };
    Shown s("Matrix");
    ASSERT_TRUE(s.widget.let("MaxItemPerCol", std::int16_t{38}).ok());
    ASSERT_TRUE(s.widget.let("MaxItems", std::int16_t{150}).ok());
    s.form.resize(s.widget.size() * 3 / 2);  // room for every layout below
    // Paints what is dirty now, as the window system's update request does.
    const auto flush = [&] {
        Shown::settle();
        QEvent request(QEvent::UpdateRequest);
        QCoreApplication::sendEvent(&s.form, &request);
    };
    flush();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act(s);
        flush();
        QPaintDevice* device = s.form.backingStore()->paintDevice();
        ASSERT_TRUE(device != nullptr && device->devType() == QInternal::Image);
        const QImage& store = *static_cast<QImage*>(device);
        const qreal ratio = store.devicePixelRatio();
        const QImage screen = store.copy(QRect(s.widget.geometry().topLeft() * ratio, s.widget.size() * ratio));
        QImage anew = s.image();
        anew.setDevicePixelRatio(1);
        EXPECT_TRUE(screen.convertToFormat(QImage::Format_ARGB32) == anew);
        if (step.question != 0) {
            EXPECT_EQ(s.widget.get("result").value.toStringArray().at(step.question), std::to_string(step.choice));
        }
    }
    EXPECT_EQ(s.widget.get("result").value.toStringArray().at(150), "");
}

// The option strip: at 96 DPI a pixel is 15 twips: box i sits at (20 + 42 i, 4) pixels
// and is 32 pixels square (WindowXP, Window2k3) or 40 (Veltrane, FireFox2007); its label
// starts at 42 pixels down; the strip is 6150 x 1020 twips, 410 x 68 pixels.
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

// The wrong-value message is a modal dialog on the strip's window, answered from the
// event loop it runs, after which the value is gone and the marked box still shows its
// mark.
TEST(QtOptionStrip, AWrongValueIsAModalMessage) {
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
