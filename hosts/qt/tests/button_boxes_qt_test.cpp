// The boxes with buttons in the Qt host: a mouse moving over a button, with no mouse
// button down, shows its hover picture and repaints that button alone; a click on it
// reaches the container as the box's event with the button's index.
#include <QMouseEvent>
#include <string>
#include <vector>

#include "SheetFixture.h"

namespace talvik {
namespace {

using testing::Shown;

std::string origin(const Picture& p) { return p.empty() ? "" : p.bitmap()->origin; }

TEST(QtButtonBoxes, HoverAndClick) {
    struct Case {
        const char* className;
        std::int32_t style;
        int button;
        const char* normal;
        const char* hover;
        const char* event;
    };
    const Case cases[] = {
        {"vltSwitch", 0, 2, "res:115", "res:114", "ButtonClick"},
        {"vltZoomBox", 5, 1, "res:PHONG_TO_NORMAL", "res:PHONG_TO_HOVER", "vltZoomBoxClick"},
        {"ScrollBox", 1, 3, "res:SCROLL_NORMAL_4", "res:SCROLL_4", "ButtonClick"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.className);
        Shown box(c.className, PropertyBag{{"Style", c.style}});
        // A mouse without a pressed button reaches the control too.
        EXPECT_TRUE(box.widget.hasMouseTracking());
        std::vector<std::string> events;
        QObject::connect(&box.widget, &QtControlWidget::eventRaised,
                         [&](const EventDecl& ev, std::span<Variant> args) {
                             events.push_back(std::string(ev.name) + " " + args[0].toString());
                         });
        const QRect button = box.widget.scale().snapped(box.widget.host().find("Image4", c.button).bounds());
        const QPointF at = QRectF(button).center();
        EXPECT_EQ(origin(box.picture("Image4", c.button)), c.normal);

        const QRegion repainted = box.repaintedBy([&] {
            QMouseEvent move(QEvent::MouseMove, at, box.widget.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            QCoreApplication::sendEvent(&box.widget, &move);
        });
        EXPECT_EQ(origin(box.picture("Image4", c.button)), c.hover);
        EXPECT_TRUE(QRegion(button.adjusted(-1, -1, 1, 1)).contains(repainted.boundingRect()))
            << "repainted " << repainted.boundingRect().x() << "," << repainted.boundingRect().y() << " "
            << repainted.boundingRect().width() << "x" << repainted.boundingRect().height();
        EXPECT_TRUE(testing::showsPicture(box.image(), button.topLeft(), box.picture("Image4", c.button), std::nullopt));

        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, at, box.widget.mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&box.widget, &e);
        }
        EXPECT_EQ(events, std::vector<std::string>{std::string(c.event) + " " + std::to_string(c.button)});
    }
}

}  // namespace
}  // namespace talvik
