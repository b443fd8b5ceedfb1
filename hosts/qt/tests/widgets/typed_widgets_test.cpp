// The typed widgets through Qt's own interfaces: the meta-objects answer to the type
// description member by member, properties of every type go through
// QObject::setProperty/property, a slot runs, and an event's handler changes its
// by-reference arguments before the control goes on.
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMetaEnum>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <type_traits>

#include "frame/typelib/TypeLib.h"
#include "hosts/qt/widgets/Matrix.h"
#include "hosts/qt/widgets/TimerPicture.h"
#include "hosts/qt/widgets/URLLink.h"
#include "hosts/qt/widgets/VelOptionToolBar.h"
#include "hosts/qt/widgets/Widgets.h"
#include "hosts/qt/widgets/vltZoomBox.h"

namespace talvik {
namespace {

// Every member as Qt offers it: a property with its type (Designer edits int and double,
// not short and float: the properties take those, the getters give the member's own
// type) or enumeration and its members, writable or read-only, each with its notify
// signal; a method as a slot; an event as a signal whose signature spells the member's
// types, by reference where the handler may change them.
TEST(TypedWidgets, MetaObjectsAnswerToTheTypeDescription) {
    const std::map<VarType, std::pair<QMetaType, std::string>> types = {
        {VarType::Int16, {QMetaType::fromType<int>(), "qint16"}},     {VarType::Int32, {QMetaType::fromType<qint32>(), "qint32"}},
        {VarType::Bool, {QMetaType::fromType<bool>(), "bool"}},       {VarType::Float, {QMetaType::fromType<double>(), "float"}},
        {VarType::String, {QMetaType::fromType<QString>(), "QString"}},
        {VarType::StringArray, {QMetaType::fromType<QStringList>(), "QStringList"}},
    };
    ASSERT_EQ(widgetClasses().size(), 11u);
    EXPECT_EQ(findWidgetClass("vltGraphButton"), nullptr);  // the private push button has none
    for (const ClassDesc& cls : typeLibrary().classes) {
        SCOPED_TRACE(std::string(cls.name));
        const WidgetClass* w = findWidgetClass(cls.name);
        ASSERT_NE(w, nullptr);
        const QMetaObject& mo = *w->meta;
        EXPECT_EQ(std::string(mo.className()), "talvik::" + std::string(cls.name));
        // Made by name, at its own size.
        QWidget form;
        const auto made = w->create(&form);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->metaObject(), w->meta);
        EXPECT_TRUE(made->sizeHint().isValid());
        EXPECT_EQ(made->size(), made->sizeHint());

        std::set<std::string> have, want;
        for (int i = mo.propertyOffset(); i < mo.propertyCount(); ++i) {
            const QMetaProperty p = mo.property(i);
            std::string type = p.isEnumType() ? std::string(p.enumerator().enumName()) + ":" : p.metaType().name();
            for (int k = 0; p.isEnumType() && k < p.enumerator().keyCount(); ++k)
                type += " " + std::string(p.enumerator().key(k)) + "=" + std::to_string(p.enumerator().value(k));
            have.insert(std::string(p.name()) + " " + type + (p.isWritable() ? " rw" : " r") +
                        (p.hasNotifySignal() ? "" : " silent"));
        }
        for (int i = mo.methodOffset(); i < mo.methodCount(); ++i) {
            const QMetaMethod m = mo.method(i);
            have.insert(m.methodSignature().toStdString() + (m.methodType() == QMetaMethod::Signal ? " signal " : " slot ") +
                        m.returnMetaType().name());
        }
        for (const MemberDesc& m : cls.members) {
            const std::string name(m.name);
            if (m.kind == MemberKind::Method) {
                want.insert(name + "() slot " + (m.type.type == VarType::Empty ? "void" : QMetaType::fromType<qint32>().name()));
                continue;
            }
            std::string type = m.type.enumName.empty() ? types.at(m.type.type).first.name() : std::string(m.type.enumName) + ":";
            if (const EnumDesc* d = m.type.enumName.empty() ? nullptr : findEnum(m.type.enumName))
                for (const auto& item : d->items) type += " " + std::string(item.name) + "=" + std::to_string(item.value);
            want.insert(name + " " + type + (m.kind == MemberKind::Property ? " rw" : " r"));
            want.insert(name + "Changed() signal void");
        }
        for (const EventDecl& ev : cls.events) {
            std::string sig = std::string(ev.name) + '(';
            for (const ArgDecl& a : ev.args)
                sig += (&a == ev.args.data() ? "" : ",") + types.at(a.type).second + (a.byRef ? "&" : "");
            want.insert(sig + ") signal void");
        }
        EXPECT_EQ(have, want);
    }
}

TEST(TypedWidgets, PropertiesOfEachTypeGoThroughQtProperties) {
    // A 16-bit count, clamped by the control to 1 to 150 (0 or below is 25), read back
    // in its own type; one no 16-bit integer holds is refused with Overflow (6).
    Matrix sheet;
    for (const auto& [given, kept] : {std::pair{151, 150}, std::pair{0, 25}, std::pair{1, 1}, std::pair{40, 40}}) {
        ASSERT_TRUE(sheet.setProperty("MaxItems", QVariant::fromValue(qint16(given))));
        EXPECT_EQ(sheet.property("MaxItems").toInt(), kept);
        EXPECT_EQ(sheet.property("result").toStringList(), QStringList(kept, QString()));
    }
    static_assert(std::is_same_v<decltype(sheet.MaxItems()), qint16>);
    QSignalSpy errors(&sheet, &QtControlWidget::controlError);
    sheet.setProperty("MaxItems", 40000);
    ASSERT_EQ(errors.count(), 1);
    EXPECT_EQ(errors.at(0).at(0).toInt(), 6);
    EXPECT_EQ(sheet.MaxItems(), 40);
    // The widget follows the sheet: 40 questions fill column 1 and part of column 2.
    EXPECT_EQ(sheet.sizeHint(), sheet.scale().size(5420, 9780));
    EXPECT_EQ(sheet.size(), sheet.sizeHint());

    // An enumeration, by value or by the member's name as Designer keeps it; any style
    // but 0 keeps the zoom box at least 1595 twips high, style 0 makes it 1485; a value
    // no member has is kept.
    vltZoomBox zoom;
    ASSERT_TRUE(zoom.setProperty("Style", QVariant::fromValue(vltZoomBox::Natural_bluebox)));
    EXPECT_EQ(zoom.property("Style").value<vltZoomBox::BoxStyleEnum>(), vltZoomBox::Natural_bluebox);
    EXPECT_EQ(zoom.height(), zoom.scale().size(0, 1595).height());
    ASSERT_TRUE(zoom.setProperty("Style", "Office2007box"));
    EXPECT_EQ(zoom.Style(), vltZoomBox::Office2007box);
    EXPECT_EQ(zoom.height(), zoom.scale().size(0, 1485).height());
    zoom.setStyle(vltZoomBox::BoxStyleEnum(6));
    EXPECT_EQ(int(zoom.Style()), 6);

    // Text in the library's code page (the euro sign is byte 0x80 there), and a bool.
    URLLink link;
    QSignalSpy textNotices(&link, &URLLink::TextChanged);
    ASSERT_TRUE(link.setProperty("Text", QStringLiteral("Café €5")));
    EXPECT_EQ(link.property("Text").toString(), QStringLiteral("Café €5"));
    EXPECT_EQ(textNotices.count(), 1);
    ASSERT_TRUE(link.setProperty("ShowToolTip", true));
    EXPECT_EQ(link.property("ShowToolTip"), QVariant(true));

    // A float offered as a double.
    TimerPicture clock;
    ASSERT_TRUE(clock.setProperty("Duration", 2.5));
    static_assert(std::is_same_v<decltype(clock.Duration()), float>);
    EXPECT_EQ(clock.Duration(), 2.5f);

    // A slot: the strip with letters marks box 2, read back as "B", and VelReset clears it.
    VelOptionToolBar strip;
    strip.setProperty("VelOptionChar", QVariant::fromValue(VelOptionToolBar::VelUChar));
    ASSERT_TRUE(strip.setProperty("VelValue", "2"));
    EXPECT_EQ(strip.property("VelValue").toString(), "B");
    ASSERT_TRUE(QMetaObject::invokeMethod(&strip, "VelReset"));
    EXPECT_EQ(strip.property("VelValue").toString(), "");
    // Enabled of the strip is also the widget's enabled state.
    strip.setEnabled(false);
    EXPECT_FALSE(strip.Enabled());
}

// Stands in for the desktop's browser: records what it is asked to open and whether the
// hourglass was up meanwhile.
class Browser : public QObject {
    Q_OBJECT

public:
    Browser() {
        for (const char* scheme : {"http", "https"}) QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~Browser() override {
        for (const char* scheme : {"http", "https"}) QDesktopServices::unsetUrlHandler(scheme);
    }
    QStringList opened;
    bool hourglass = false;

public slots:
    void open(const QUrl& url) {
        opened.push_back(url.toString());
        hourglass = QGuiApplication::overrideCursor() != nullptr && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
    }
};

// A press on the link's label asks the container with GoToURL, whose handler may change
// the address or cancel; the address opens with the hourglass up, and the link's own
// URL stays.
TEST(TypedWidgets, LinkPressGoesThroughTheHandlersAnswer) {
    const struct {
        const char* what;
        Qt::MouseButton button;
        bool cancel;
        QString replace;  // empty: the address stays
        QStringList opened;
    } cases[] = {
        {"the address is opened", Qt::LeftButton, false, {}, {"http://a.example/"}},
        {"the handler's address is opened instead", Qt::LeftButton, false, "http://b.example/", {"http://b.example/"}},
        {"the handler cancels", Qt::LeftButton, true, {}, {}},
        {"a right press asks nothing", Qt::RightButton, false, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QWidget form;
        URLLink link(&form);
        link.setURL("http://a.example/");
        link.setText("Open the example");
        form.show();
        Browser browser;
        QStringList seen;
        QObject::connect(&link, &URLLink::GoToURL, [&](QString& url, bool& cancel) {
            seen.push_back(url);
            EXPECT_FALSE(cancel);
            if (!c.replace.isEmpty()) url = c.replace;
            cancel = c.cancel;
        });
        // The label lies at the corner with its text's extent.
        const QRect label = link.scale().snapped(link.host().find("lblURL").bounds());
        ASSERT_EQ(label.topLeft(), QPoint(0, 0));
        ASSERT_GT(label.width(), 20);
        QTest::mouseClick(&link, c.button, {}, label.center());
        EXPECT_EQ(seen, c.button == Qt::LeftButton ? QStringList{"http://a.example/"} : QStringList{});
        EXPECT_EQ(browser.opened, c.opened);
        EXPECT_EQ(browser.hourglass, !c.opened.empty());
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(link.URL(), "http://a.example/");
    }
}

}  // namespace
}  // namespace talvik

#include "typed_widgets_test.moc"
