// The clock in its Qt widget: its timer is a QTimer of one second, a tick repaints only
// where the hands that moved were and are, and the hands are drawn antialiased in their
// navy over the face, crisp at two device pixels per pixel with the large face.
#include <QMetaObject>
#include <QPainter>
#include <QTimer>

#include "SheetFixture.h"
#include "frame/model/Bitmap.h"

namespace talvik {
namespace {

using testing::Shown;

const char* const kHands[] = {"kimgiay", "kimphut", "kimgio"};

struct Clock : Shown {
    TimeOfDay now{10, 10, 10};
    QTimer* timer = widget.findChild<QTimer*>("Timer1");

    Clock() : Shown("TimerPicture") {
        widget.timeOfDay = [this] { return now; };
    }
    // One timeout of the control's QTimer, as a second passing would give.
    void tick() { QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection); }
    Line hand(const char* name) const { return widget.host().find(name).as<Line>(); }
    // A point `along` of the way from the hand's centre to its end, in logical pixels.
    QPointF on(const char* name, double along) const {
        const Line l = hand(name);
        const QPointF a = widget.scale().point(l.X1(), l.Y1()), b = widget.scale().point(l.X2(), l.Y2());
        return a + (b - a) * along;
    }
};

int distance(QColor a, QColor b) {
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue())});
}

// The pixel nearest in colour to `want` among those within `reach` of a point.
QColor nearestAround(const QImage& img, QPoint at, QColor want, int reach = 1) {
    QColor best = img.pixelColor(at);
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
            const QColor c = img.pixelColor(at + QPoint(dx, dy));
            if (distance(c, want) < distance(best, want)) best = c;
        }
    return best;
}

const QColor kNavy(0, 0, 64);

TEST(QtTimerPicture, TicksOnceASecondAndRepaintsOnlyTheHandsThatMoved) {
    Clock c;
    ASSERT_EQ(c.widget.logicalDpiX(), 96);
    EXPECT_EQ(c.widget.size(), QSize(121, 120));  // 1815 x 1800 twips
    ASSERT_NE(c.timer, nullptr);
    EXPECT_TRUE(c.timer->isActive());
    EXPECT_EQ(c.timer->interval(), 1000);
    c.repaintedBy([&] { c.tick(); });

    struct Step {
        TimeOfDay now;
        bool second, minute, hour;  // which hands move
    };
    const Step steps[] = {
        {{10, 10, 11}, true, false, false},
        {{10, 10, 11}, false, false, false},
        {{10, 11, 0}, true, true, true},
        {{10, 11, 1}, true, false, false},
        // Twelve hours on, the hour hand ends a twip lower (697 to 698): 12 x 3.14 / 6 is
        // not quite a whole turn.
        {{22, 11, 1}, false, false, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(std::to_string(step.now.hour) + ":" + std::to_string(step.now.minute) + ":" +
                     std::to_string(step.now.second));
        RectF before[3];
        for (int i = 0; i < 3; ++i) before[i] = c.hand(kHands[i]).bounds();
        c.now = step.now;
        const QRegion painted = c.repaintedBy([&] { c.tick(); });
        const bool moves[] = {step.second, step.minute, step.hour};
        QRegion allowed;
        for (int i = 0; i < 3; ++i) {
            const RectF after = c.hand(kHands[i]).bounds();
            EXPECT_EQ(!(after == before[i]), moves[i]) << kHands[i];
            if (!moves[i]) continue;
            allowed += c.widget.scale().covering(before[i]);
            allowed += c.widget.scale().covering(after);
        }
        EXPECT_EQ(painted.isEmpty(), allowed.isEmpty());
        EXPECT_TRUE((painted - allowed).isEmpty()) << "repainted beyond the hands that moved";
        // A second's step of the second hand is far less than the face.
        if (!moves[1]) {
            EXPECT_LT(painted.boundingRect().width() * painted.boundingRect().height(), 121 * 120 / 3);
        }
    }

    // The hands are drawn in their colour, antialiased: along each, a pixel of the navy
    // and, beside it, pixels between the navy and the face.
    const QImage img = c.image();
    for (const char* name : kHands) {
        SCOPED_TRACE(name);
        for (const double along : {0.5, 0.75, 0.95}) {
            const QPoint at = c.on(name, along).toPoint();
            EXPECT_LE(distance(nearestAround(img, at, kNavy), kNavy), 40) << "at " << along;
        }
        const QPoint mid = c.on(name, 0.6).toPoint();
        int between = 0;
        for (int dy = -3; dy <= 3; ++dy)
            for (int dx = -3; dx <= 3; ++dx) {
                const QColor p = img.pixelColor(mid + QPoint(dx, dy));
                between += p.red() > 60 && p.red() < 190 && p.blue() > p.red();
            }
        EXPECT_GT(between, 0);
    }
    // Where the second hand was a second ago (10:11:00, straight up) the face shows again.
    const QColor face = img.pixelColor(QPoint(60, 30));
    EXPECT_GT(face.red(), 200) << face.name().toStdString();
}

TEST(QtTimerPicture, AtTwoDevicePixelsThePictureIsTheLargeFaceAndTheHandsAreCrisp) {
    Clock c;
    c.tick();
    Shown::settle();
    QImage img(c.widget.size() * 2, QImage::Format_ARGB32);
    img.setDevicePixelRatio(2);
    img.fill(Qt::magenta);
    c.widget.render(&img);
    img.setDevicePixelRatio(1);

    // The top-left of the face, away from every hand, is the large bitmap's own pixels.
    const Bitmap& face = *c.widget.host().surface().picture().bitmap();
    ASSERT_TRUE(face.large);
    const Bitmap& large = *face.large;
    ASSERT_EQ(large.width, 244);
    int differ = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x) {
            const QColor want = QColor::fromRgb(large.argb[std::size_t(y * large.width + x)]);
            differ += distance(img.pixelColor(x, y), want) > 2;
        }
    EXPECT_EQ(differ, 0);

    // Four device pixels wide, each hand has pixels of the navy itself all along.
    for (const char* name : kHands) {
        SCOPED_TRACE(name);
        for (const double along : {0.4, 0.7, 0.95}) {
            const QPoint at = (c.on(name, along) * 2).toPoint();
            EXPECT_LE(distance(nearestAround(img, at, kNavy), kNavy), 12) << "at " << along;
        }
    }
}

}  // namespace
}  // namespace talvik
