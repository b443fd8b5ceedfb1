// Announcements reach assistive technology through a label that is an alert, named with
// the text, which the window keeps out of sight; each announcement says it anew. With a
// screen reader's bridge (the AT-SPI run of these tests, on a display with the
// accessibility bus: hosts/qt/tests/atspi/with_atspi.sh) the alert is also heard as a
// screen reader hears it: a listener registered with the registry for object events hears
// the label appear ("showing") and change its name, then reads the name and the role, an
// alert. (Qt's bridge sends no event of its own for QAccessible::Alert.) Skipped elsewhere.
#include <QAccessible>
#include <QAccessibleEvent>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
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

constexpr int kAtspiRoleAlert = 2;  // AtspiRole ATSPI_ROLE_ALERT

struct AtspiEvent {
    QString sender;
    QString path;
    QString member;  // PropertyChange, StateChanged, ...
    QString detail;  // accessible-name, showing, ...
    int detail1 = 0;
};

}  // namespace

// Listens to the object events on the accessibility bus as a screen reader would.
class AtspiEars : public QObject {
    Q_OBJECT
public:
    explicit AtspiEars(const QDBusConnection& bus) : bus_(bus) {
        for (const char* member : {"PropertyChange", "StateChanged", "ChildrenChanged"})
            bus_.connect(QString(), QString(), QStringLiteral("org.a11y.atspi.Event.Object"), QLatin1String(member), this,
                         SLOT(heard(QDBusMessage)));
    }
    std::vector<AtspiEvent> events;

public slots:
    void heard(const QDBusMessage& m) {
        const QVariantList args = m.arguments();
        AtspiEvent e{m.service(), m.path(), m.member()};
        if (args.size() >= 4) {
            e.detail = args.at(0).toString();
            e.detail1 = args.at(1).toInt();
        }
        events.push_back(e);
    }

private:
    QDBusConnection bus_;
};

namespace {

TEST(AtspiAnnouncer, AScreenReaderHearsTheAlertAppearWithTheText) {
    if (QGuiApplication::platformName() == u"offscreen") GTEST_SKIP() << "no accessibility bus offscreen";
    QDBusMessage getAddress = QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                                                      QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress"));
    const QDBusMessage address = QDBusConnection::sessionBus().call(getAddress);
    if (address.type() != QDBusMessage::ReplyMessage) GTEST_SKIP() << "no accessibility bus";
    QDBusConnection bus = QDBusConnection::connectToBus(address.arguments().at(0).toString(), QStringLiteral("ears"));
    ASSERT_TRUE(bus.isConnected());
    QAccessible::setActive(true);
    ASSERT_TRUE(QTest::qWaitFor([] { return QAccessible::isActive(); }, 5000));

    AtspiEars ears(bus);
    QDBusMessage registerEvents = QDBusMessage::createMethodCall(
        QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("/org/a11y/atspi/registry"),
        QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("RegisterEvent"));
    registerEvents << QStringLiteral("object:") << QStringList() << QString();
    ASSERT_EQ(bus.call(registerEvents).type(), QDBusMessage::ReplyMessage);

    QWidget window;
    window.resize(300, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    // A screen reader is told that a name changed and asks for it (and for the role);
    // asked without blocking, since the answer comes from this process.
    const auto ask = [&](const QString& sender, const QString& path, const QString& iface, const QString& method,
                         const QVariantList& args) {
        QDBusMessage call = QDBusMessage::createMethodCall(sender, path, iface, method);
        call.setArguments(args);
        QDBusPendingCallWatcher watcher(bus.asyncCall(call));
        if (!QTest::qWaitFor([&] { return watcher.isFinished(); }, 5000)) return QVariant();
        const QDBusMessage reply = watcher.reply();
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return QVariant();
        QVariant value = reply.arguments().at(0);
        if (value.canConvert<QDBusVariant>()) value = value.value<QDBusVariant>().variant();
        return value;
    };
    const auto renamed = [&] {
        for (const AtspiEvent& e : ears.events)
            if (e.member == u"PropertyChange" && e.detail == u"accessible-name") return e;
        return AtspiEvent{};
    };
    // The bridge learns of the new listener from the registry's signal; until then it
    // sends nothing, so the first announcement is repeated until one is heard.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            Announcer::announce(&window, QStringLiteral("5 minutes left"));
            return !renamed().path.isEmpty();
        },
        5000));

    // The same text once more and a new one: each heard as the label showing again and
    // renamed, and the label read as an alert with the text.
    for (const QString& text : {QStringLiteral("5 minutes left"), QStringLiteral("1 minute left")}) {
        SCOPED_TRACE(text.toStdString());
        ears.events.clear();
        Announcer::announce(&window, text);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !renamed().path.isEmpty(); }, 5000));
        const AtspiEvent named = renamed();
        bool shownAgain = false;
        for (const AtspiEvent& e : ears.events)
            if (e.path == named.path && e.member == u"StateChanged" && e.detail == u"showing" && e.detail1 == 1)
                shownAgain = true;
        EXPECT_TRUE(shownAgain);
        EXPECT_EQ(ask(named.sender, named.path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                      {QStringLiteral("org.a11y.atspi.Accessible"), QStringLiteral("Name")})
                      .toString(),
                  text);
        EXPECT_EQ(ask(named.sender, named.path, QStringLiteral("org.a11y.atspi.Accessible"), QStringLiteral("GetRole"), {})
                      .toUInt(),
                  static_cast<uint>(kAtspiRoleAlert));
    }
}

}  // namespace
}  // namespace talvik::exam

#include "announcer_test.moc"
