// An announcement as a screen reader hears it over AT-SPI: a listener registered with the
// registry for object events hears the announcing label appear ("showing") and change its
// name, then reads the name, the text, and the role, an alert. (Qt's bridge sends no
// event of its own for QAccessible::Alert.) Runs only on a display with the
// accessibility bus (hosts/qt/tests/atspi/with_atspi.sh); skipped elsewhere.
#include <QAccessible>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusInterface>
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

#include "atspi_announce_test.moc"
