// Announcements reach assistive technology through a label that is an alert, named with
// the text, which the window keeps out of sight; each announcement says it anew.
#include <QAccessible>
#include <QAccessibleEvent>
#include <QGuiApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

#include "flow/Announcer.h"

namespace talvik::exam {
namespace {

TEST(Announcer, SpeaksThroughAHiddenAlert) {
    QWidget window;
    window.resize(400, 300);
    window.show();
    EXPECT_EQ(Announcer::label(&window), nullptr);

    for (const QString& text : {QStringLiteral("5 minutes left"), QStringLiteral("1 minute left"),
                                QStringLiteral("1 minute left")}) {
        Announcer::announce(&window, text);
        QWidget* label = Announcer::label(&window);
        ASSERT_NE(label, nullptr);
        // One label however often the window announces.
        EXPECT_EQ(window.findChildren<QWidget*>().size(), 1);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(label);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->role(), QAccessible::AlertMessage);
        EXPECT_EQ(a->text(QAccessible::Name), text);
        EXPECT_TRUE(label->isVisible());
        EXPECT_FALSE(a->state().invisible);
        // Out of sight: a pixel, not in the way of the mouse, not taking the focus.
        EXPECT_LE(label->width() * label->height(), 1);
        EXPECT_TRUE(label->testAttribute(Qt::WA_TransparentForMouseEvents));
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
    }

    Announcer::announce(nullptr, QStringLiteral("nowhere"));  // no window: nothing, no crash
}

std::vector<std::pair<QAccessible::Event, QString>>& heard() {
    static std::vector<std::pair<QAccessible::Event, QString>> events;
    return events;
}

void record(QAccessibleEvent* e) {
    QAccessibleInterface* iface = e->accessibleInterface();
    heard().emplace_back(e->type(), iface != nullptr ? iface->text(QAccessible::Name) : QString());
}

// With a screen reader's bridge (the AT-SPI run of these tests), the alert is shown and
// named again with each announcement, so a repeated text is spoken again as well.
TEST(Announcer, SendsTheAlertWithItsName) {
    if (QGuiApplication::platformName() == u"offscreen") GTEST_SKIP() << "no accessibility bridge offscreen";
    QAccessible::setActive(true);
    // The bridge turns active once it has found the accessibility bus.
    if (!QTest::qWaitFor([] { return QAccessible::isActive(); }, 3000)) GTEST_SKIP() << "no accessibility bridge";
    QWidget window;
    window.show();
    heard().clear();
    QAccessible::installUpdateHandler(&record);
    Announcer::announce(&window, QStringLiteral("5 minutes left"));
    Announcer::announce(&window, QStringLiteral("5 minutes left"));
    QAccessible::installUpdateHandler(nullptr);
    int alerts = 0, shown = 0;
    for (const auto& [type, name] : heard()) {
        if (type == QAccessible::Alert) {
            ++alerts;
            EXPECT_EQ(name, QStringLiteral("5 minutes left"));
        }
        if (type == QAccessible::ObjectShow && name == u"5 minutes left") ++shown;
    }
    EXPECT_EQ(alerts, 2);
    EXPECT_EQ(shown, 2);
}

}  // namespace
}  // namespace talvik::exam
