// The typed widgets through Qt's own interfaces: the meta-objects answer to the type
// description member by member, properties of every type are set and read with
// QObject::setProperty/property, a slot runs, and an event's handler changes its
// by-reference arguments before the control goes on.
#include <QDesktopServices>
#include <QMetaEnum>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <type_traits>
#include <string>
#include <vector>

#include "frame/typelib/TypeLib.h"
#include "hosts/qt/widgets/Matrix.h"
#include "hosts/qt/widgets/TimerPicture.h"
#include "hosts/qt/widgets/URLLink.h"
#include "hosts/qt/widgets/VelOptionToolBar.h"
#include "hosts/qt/widgets/Widgets.h"
#include "hosts/qt/widgets/vltSwitch.h"
#include "hosts/qt/widgets/vltZoomBox.h"

namespace talvik {
namespace {

// The Qt type each type of the library's members is offered as. Designer edits int and
// double, not short and float: the properties take those, the getters give the
// member's own type.
QMetaType expectedType(VarType t) {
    switch (t) {
        case VarType::Int16: return QMetaType::fromType<int>();
        case VarType::Int32: return QMetaType::fromType<qint32>();
        case VarType::Bool: return QMetaType::fromType<bool>();
        case VarType::Float: return QMetaType::fromType<double>();
        case VarType::String: return QMetaType::fromType<QString>();
        case VarType::StringArray: return QMetaType::fromType<QStringList>();
        default: return QMetaType();
    }
}

// As a signal's signature spells it.
std::string qtName(VarType t) {
    switch (t) {
        case VarType::Int16: return "qint16";
        case VarType::Int32: return "qint32";
        case VarType::Bool: return "bool";
        case VarType::Float: return "float";
        case VarType::String: return "QString";
        default: return "?";
    }
}

TEST(TypedWidgets, MetaObjectsAnswerToTheTypeDescription) {
    const LibraryDesc& lib = typeLibrary();
    ASSERT_EQ(widgetClasses().size(), 11u);
    for (const ClassDesc& cls : lib.classes) {
        SCOPED_TRACE(std::string(cls.name));
        const WidgetClass* w = findWidgetClass(cls.name);
        ASSERT_NE(w, nullptr);
        const QMetaObject& mo = *w->meta;
        EXPECT_EQ(std::string(mo.className()), "talvik::" + std::string(cls.name));

        std::set<std::string> properties, slotSigs, signalSigs;
        for (int i = mo.propertyOffset(); i < mo.propertyCount(); ++i) properties.insert(mo.property(i).name());
        for (int i = mo.methodOffset(); i < mo.methodCount(); ++i) {
            const QMetaMethod m = mo.method(i);
            (m.methodType() == QMetaMethod::Signal ? signalSigs : slotSigs).insert(m.methodSignature().toStdString());
        }

        std::set<std::string> wantProperties, wantSlots, wantSignals;
        for (const MemberDesc& m : cls.members) {
            const std::string name(m.name);
            if (m.kind == MemberKind::Method) {
                wantSlots.insert(name + "()");
                const QMetaMethod slot = mo.method(mo.indexOfSlot((name + "()").c_str()));
                ASSERT_TRUE(slot.isValid()) << name;
                if (m.type.type == VarType::Empty)
                    EXPECT_EQ(slot.returnMetaType(), QMetaType::fromType<void>()) << name;
                else if (m.type.type == VarType::Int32)
                    EXPECT_EQ(slot.returnMetaType(), QMetaType::fromType<qint32>()) << name;
                else
                    ADD_FAILURE() << name << ": a method of a type no control has";
                continue;
            }
            wantProperties.insert(name);
            wantSignals.insert(name + "Changed()");
            const QMetaProperty p = mo.property(mo.indexOfProperty(name.c_str()));
            ASSERT_TRUE(p.isValid()) << name;
            EXPECT_EQ(p.isWritable(), m.kind == MemberKind::Property) << name;
            EXPECT_TRUE(p.hasNotifySignal()) << name;
            if (m.type.enumName.empty()) {
                EXPECT_EQ(p.metaType(), expectedType(m.type.type)) << name;
                continue;
            }
            // An enumeration: registered with Qt, with the members and values it has.
            ASSERT_TRUE(p.isEnumType()) << name;
            const QMetaEnum e = p.enumerator();
            EXPECT_EQ(std::string(e.enumName()), std::string(m.type.enumName));
            const EnumDesc* d = findEnum(m.type.enumName);
            ASSERT_NE(d, nullptr);
            ASSERT_EQ(e.keyCount(), int(d->items.size()));
            for (std::size_t k = 0; k < d->items.size(); ++k) {
                EXPECT_EQ(std::string(e.key(int(k))), std::string(d->items[k].name));
                EXPECT_EQ(e.value(int(k)), d->items[k].value);
            }
        }
        for (const EventDecl& ev : cls.events) {
            std::vector<std::string> params;
            for (const ArgDecl& a : ev.args) params.push_back(qtName(a.type) + (a.byRef ? "&" : ""));
            std::string sig(ev.name);
            sig += '(';
            for (std::size_t i = 0; i < params.size(); ++i) sig += (i ? "," : "") + params[i];
            wantSignals.insert(sig + ')');
        }
        EXPECT_EQ(properties, wantProperties);
        EXPECT_EQ(slotSigs, wantSlots);
        EXPECT_EQ(signalSigs, wantSignals);
    }
    // The private push button has no widget.
    EXPECT_EQ(findWidgetClass("vltGraphButton"), nullptr);
}

TEST(TypedWidgets, EveryWidgetIsMadeByNameAndStartsAtItsOwnSize) {
    for (const WidgetClass& w : widgetClasses()) {
        SCOPED_TRACE(std::string(w.name));
        QWidget form;
        const auto widget = w.create(&form);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->metaObject(), w.meta);
        EXPECT_TRUE(widget->sizeHint().isValid());
        EXPECT_EQ(widget->size(), widget->sizeHint());
    }
}

TEST(TypedWidgets, AnswerSheetCountClampsAndTheWidgetFollowsTheSheet) {
    // MaxItems: above 150 becomes 150, 0 or below 25. With 25 questions a column, four
    // columns and spacing 150, 40 questions fill column 1 and part of column 2: the
    // sheet is 5420 twips wide (the last shown question's choice D ends at 5300) and
    // 9780 high (25 rows of 240 with 150 between and 20 more before rows 5, 10, 15, 20).
    const struct {
        int given;
        qint16 kept;
    } cases[] = {{40, 40}, {151, 150}, {32767, 150}, {0, 25}, {-5, 25}, {1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given);
        Matrix sheet;
        ASSERT_TRUE(sheet.setProperty("MaxItems", QVariant::fromValue(qint16(c.given))));
        EXPECT_EQ(sheet.property("MaxItems").toInt(), c.kept);
        static_assert(std::is_same_v<decltype(sheet.MaxItems()), qint16>);
        EXPECT_EQ(sheet.MaxItems(), c.kept);
        EXPECT_EQ(sheet.property("result").toStringList(), QStringList(c.kept, QString()));
    }
    // A count no 16-bit integer holds is refused with Overflow (6); the count stays.
    {
        Matrix sheet;
        QSignalSpy errors(&sheet, &QtControlWidget::controlError);
        sheet.setProperty("MaxItems", 40000);
        ASSERT_EQ(errors.count(), 1);
        EXPECT_EQ(errors.at(0).at(0).toInt(), 6);
        EXPECT_EQ(sheet.MaxItems(), 100);
    }
    Matrix sheet;
    EXPECT_EQ(sheet.sizeHint(), sheet.scale().size(11070, 9780));  // 100 questions in four columns
    sheet.setProperty("MaxItems", 40);
    EXPECT_EQ(sheet.sizeHint(), sheet.scale().size(5420, 9780));
    EXPECT_EQ(sheet.size(), sheet.sizeHint());
}

TEST(TypedWidgets, FollowTheSizeTheControlKeeps) {
    // The navigation box is at least as wide as its four buttons and 100 twips: a
    // container that makes it narrower gets it back at that width.
    QWidget form;
    vltSwitch box(&form);
    form.resize(800, 400);
    form.show();
    box.resize(20, box.height());
    QCoreApplication::processEvents();
    EXPECT_GT(box.width(), 20);
    EXPECT_EQ(box.width(), box.sizeHint().width());
    EXPECT_EQ(box.width(), box.scale().size(box.host().surface().Width(), 0).width());
}

TEST(TypedWidgets, PropertiesOfEachTypeGoThroughQtProperties) {
    // Style, an enumeration: any style but 0 keeps the zoom box at least 1595 twips high,
    // style 0 makes it 1485 whatever it was.
    vltZoomBox zoom;
    ASSERT_TRUE(zoom.setProperty("Style", QVariant::fromValue(vltZoomBox::Natural_bluebox)));
    EXPECT_EQ(zoom.property("Style").value<vltZoomBox::BoxStyleEnum>(), vltZoomBox::Natural_bluebox);
    EXPECT_EQ(zoom.sizeHint().height(), zoom.scale().size(0, 1595).height());
    EXPECT_EQ(zoom.height(), zoom.sizeHint().height());
    ASSERT_TRUE(zoom.setProperty("Style", "Office2007box"));  // by the member's name, as Designer keeps it
    EXPECT_EQ(zoom.Style(), vltZoomBox::Office2007box);
    EXPECT_EQ(zoom.height(), zoom.scale().size(0, 1485).height());
    zoom.setStyle(vltZoomBox::BoxStyleEnum(6));  // no member is 6; the property keeps it
    EXPECT_EQ(int(zoom.Style()), 6);

    // Text in the library's code page: the euro sign is byte 0x80 there.
    URLLink link;
    QSignalSpy textNotices(&link, &URLLink::TextChanged);
    ASSERT_TRUE(link.setProperty("Text", QStringLiteral("Café €5")));
    EXPECT_EQ(link.property("Text").toString(), QStringLiteral("Café €5"));
    EXPECT_EQ(textNotices.count(), 1);
    ASSERT_TRUE(link.setProperty("ShowToolTip", true));
    EXPECT_EQ(link.property("ShowToolTip"), QVariant(true));

    TimerPicture clock;
    ASSERT_TRUE(clock.setProperty("Duration", 2.5));
    EXPECT_EQ(clock.property("Duration").toDouble(), 2.5);
    static_assert(std::is_same_v<decltype(clock.Duration()), float>);
    EXPECT_EQ(clock.Duration(), 2.5f);
    ASSERT_TRUE(clock.setProperty("Enable", false));
    EXPECT_EQ(clock.property("Enable"), QVariant(false));

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
    EXPECT_FALSE(strip.isEnabled());
}

// Stands in for the desktop's browser: records the addresses it is asked to open.
class Browser : public QObject {
    Q_OBJECT

public:
    Browser() { QDesktopServices::setUrlHandler("http", this, "open"); }
    ~Browser() override { QDesktopServices::unsetUrlHandler("http"); }
    QStringList opened;

public slots:
    void open(const QUrl& url) { opened.push_back(url.toString()); }
};

TEST(TypedWidgets, GoToURLHandlersChangeTheAddressOrCancel) {
    const struct {
        const char* what;
        bool cancel;
        QString replace;  // empty: the address stays
        QStringList opened;
    } cases[] = {
        {"the address is opened", false, {}, {"http://a.example/"}},
        {"the handler's address is opened instead", false, "http://b.example/", {"http://b.example/"}},
        {"the handler cancels", true, {}, {}},
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
        const QRect label = link.scale().snapped(link.host().find("lblURL").bounds());
        QTest::mouseClick(&link, Qt::LeftButton, {}, label.center());
        EXPECT_EQ(seen, QStringList{"http://a.example/"});
        EXPECT_EQ(browser.opened, c.opened);
        EXPECT_EQ(link.URL(), "http://a.example/");
    }
}

}  // namespace
}  // namespace talvik

#include "typed_widgets_test.moc"
