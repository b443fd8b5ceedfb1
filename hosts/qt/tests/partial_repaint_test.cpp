// Repaints of only what changed, one after another, must leave on screen what painting
// the whole sheet anew shows; and a click must reach the bubble under the mouse however
// the layout has moved the bubbles since the sheet was first painted.
#include <QBackingStore>
#include <QTest>
#include <functional>
#include <vector>

#include "SheetFixture.h"

namespace talvik {
namespace {

using testing::Shown;

// Paints what is dirty now, as the window system's update request does.
void flush(QWidget& window) {
    Shown::settle();
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(&window, &request);
}

// The widget's pixels as the screen has them: the window's backing store.
QImage onScreen(Shown& s) {
    QPaintDevice* device = s.form.backingStore()->paintDevice();
    if (device == nullptr || device->devType() != QInternal::Image) return {};
    const QImage& store = *static_cast<QImage*>(device);
    const qreal ratio = store.devicePixelRatio();
    const QRect at(s.widget.geometry().topLeft() * ratio, s.widget.size() * ratio);
    return store.copy(at).convertToFormat(QImage::Format_ARGB32);
}

QImage paintedAnew(Shown& s) {
    QImage img = s.widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    img.setDevicePixelRatio(1);
    return img;
}

// The centre of element `index` of a choice array, in the widget's pixels.
QPoint centreOf(const Shown& s, const char* array, int index) {
    const RectF b = s.widget.host().find(array, index).bounds();
    return s.widget.scale().point(b.left + b.width / 2, b.top + b.height / 2).toPoint();
}

TEST(QtPartialRepaint, LeavesWhatAFullPaintShowsAndClicksFindTheirBubble) {
    // After each step in turn: the question and choice (1 to 4) a click marked, if any.
    struct Step {
        const char* name;
        std::function<void(Shown&)> act;
        int question = 0, choice = 0;
    };
    const auto clickOn = [](int question, int choice) {
        return [=](Shown& s) {
            const std::string array = "Image" + std::to_string(choice);
            QTest::mouseClick(&s.widget, Qt::LeftButton, {}, centreOf(s, array.c_str(), question - 1));
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
    flush(s.form);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act(s);
        flush(s.form);
        const QImage screen = onScreen(s);
        ASSERT_FALSE(screen.isNull());
        EXPECT_TRUE(screen == paintedAnew(s));
        const Outcome r = s.widget.get("result");
        ASSERT_TRUE(r.ok());
        if (step.question != 0) {
            EXPECT_EQ(r.value.toStringArray().at(step.question), std::to_string(step.choice));
        }
    }
    EXPECT_EQ(s.widget.get("result").value.toStringArray().at(150), "");
}

}  // namespace
}  // namespace talvik
