// The clock in its Qt widget: its timer is a QTimer of one second, a tick repaints only
// where the hands that moved were and are, and the hands are drawn antialiased in their
// navy over the face, crisp at two device pixels per pixel with the large face.
#include "SheetFixture.h"

namespace talvik {
namespace {

const char* const kHands[] = {"kimgiay", "kimphut", "kimgio"};
const QColor kNavy(0, 0, 64);

struct Clock : testing::Clock {
    RectF hand(const char* name) const { return widget.host().find(name).bounds(); }
    // A point `along` of the way from the hand's centre to its end, in device pixels at `ratio`.
    QPoint on(const char* name, double along, double ratio = 1) const {
        const Line l = widget.host().find(name).as<Line>();
        const QPointF a = widget.scale().point(l.X1(), l.Y1()), b = widget.scale().point(l.X2(), l.Y2());
        return ((a + (b - a) * along) * ratio).toPoint();
    }
};

// How near in colour to the navy the nearest pixel within one of a point is.
int navyNear(const QImage& img, QPoint at) {
    int best = 255;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) best = std::min(best, testing::difference(img.pixel(at + QPoint(dx, dy)), kNavy.rgb()));
    return best;
}

TEST(QtTimerPicture, TicksOnceASecondAndRepaintsOnlyTheHandsThatMoved) {
    Clock c;
    ASSERT_EQ(c.widget.logicalDpiX(), 96);
    EXPECT_EQ(c.widget.size(), QSize(121, 120));  // 1815 x 1800 twips
    ASSERT_NE(c.timer, nullptr);
    EXPECT_TRUE(c.timer->isActive());
    EXPECT_EQ(c.timer->interval(), 1000);
    c.repaintedBy([&] { c.tick(); });
    // The time, and which hands move: second, minute, hour. Twelve hours on, the hour hand
    // ends a twip lower (697 to 698): 12 x 3.14 / 6 is not quite a whole turn.
    const std::tuple<TimeOfDay, bool, bool, bool> steps[] = {
        {{10, 10, 11}, true, false, false}, {{10, 10, 11}, false, false, false}, {{10, 11, 0}, true, true, true},
        {{10, 11, 1}, true, false, false},  {{22, 11, 1}, false, false, true},
    };
    for (const auto& [now, second, minute, hour] : steps) {
        SCOPED_TRACE(std::to_string(now.hour) + ":" + std::to_string(now.minute) + ":" + std::to_string(now.second));
        RectF before[3];
        for (int i = 0; i < 3; ++i) before[i] = c.hand(kHands[i]);
        c.now = now;
        const QRegion painted = c.repaintedBy([&] { c.tick(); });
        const bool moves[] = {second, minute, hour};
        QRegion allowed;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(!(c.hand(kHands[i]) == before[i]), moves[i]) << kHands[i];
            if (moves[i]) allowed += QRegion(c.widget.scale().covering(before[i])) + c.widget.scale().covering(c.hand(kHands[i]));
        }
        EXPECT_EQ(painted.isEmpty(), allowed.isEmpty());
        EXPECT_TRUE((painted - allowed).isEmpty()) << "repainted beyond the hands that moved";
        // A second's step of the second hand is far less than the face.
        if (!minute) {
            EXPECT_LT(painted.boundingRect().width() * painted.boundingRect().height(), 121 * 120 / 3);
        }
    }

    // The hands are drawn in their colour, antialiased: along each, a pixel of the navy
    // and, beside it, pixels between the navy and the face.
    const QImage img = c.image();
    for (const char* name : kHands) {
        SCOPED_TRACE(name);
        for (const double along : {0.5, 0.75, 0.95}) EXPECT_LE(navyNear(img, c.on(name, along)), 40) << "at " << along;
        int between = 0;
        for (int dy = -3; dy <= 3; ++dy)
            for (int dx = -3; dx <= 3; ++dx) {
                const QColor p = img.pixelColor(c.on(name, 0.6) + QPoint(dx, dy));
                between += p.red() > 60 && p.red() < 190 && p.blue() > p.red();
            }
        EXPECT_GT(between, 0);
    }
    // Where the second hand was a second ago (10:11:00, straight up) the face shows again.
    EXPECT_GT(img.pixelColor(QPoint(60, 30)).red(), 200);

    // At two device pixels a pixel the top-left of the face, away from every hand, is the
    // large bitmap's own pixels, and each hand, four device pixels wide, has pixels of
    // the navy itself all along.
    const QImage sharp = testing::renderAt(c.widget, 2);
    const Bitmap& face = *c.widget.host().surface().picture().bitmap();
    ASSERT_TRUE(face.large);
    ASSERT_EQ(face.large->width, 244);
    int differ = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            differ += testing::difference(sharp.pixel(x, y), testing::pixelOf(*face.large, x, y).rgb()) > 2;
    EXPECT_EQ(differ, 0);
    for (const char* name : kHands)
        for (const double along : {0.4, 0.7, 0.95})
            EXPECT_LE(navyNear(sharp, c.on(name, along, 2)), 12) << name << " at " << along;
}

}  // namespace
}  // namespace talvik
