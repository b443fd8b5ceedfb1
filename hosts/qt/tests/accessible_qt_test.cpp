// Hosted controls as a screen reader sees them through Qt's accessibility: the answer
// sheet's rows and named bubbles with their checked state, the change and focus events
// a mark and a marker move send, the box buttons' names, the link and its address, the
// clock's time, which controls take the keyboard focus, and the ring that shows it.
//
// Positions follow the sheet's layout after Initialize (4 columns of 25, spacing 150):
// choice A of question i+1 at Left 465 and Top 50 + 390 i + 20 (i div 5) twips, each
// further choice 590 twips to the right, bubbles 240 twips; 15 twips a pixel at 96 DPI.
#include <QAccessible>
#include <QAccessibleEvent>
#include <QGuiApplication>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "SheetFixture.h"

namespace talvik {
namespace {

using testing::Shown;

QRect bubbleRect(int k, int q) {
    const int i = q - 1;
    return {QPoint(qRound((465 + 590 * (k - 1)) / 15.0), qRound((50 + 390 * i + 20 * (i / 5)) / 15.0)), QSize(16, 16)};
}

QAccessibleInterface* of(QWidget& w) { return QAccessible::queryAccessibleInterface(&w); }

// The events Qt's accessibility sends while an instance lives, with what they said at
// the time they were sent.
struct Heard {
    QAccessible::Event type;
    QString name;
    bool checkedChanged = false;
    bool checked = false;
};

class Listener {
public:
    Listener() {
        heard().clear();
        QAccessible::installUpdateHandler(&record);
        QAccessible::setActive(true);
    }
    ~Listener() {
        QAccessible::installUpdateHandler(nullptr);
        QAccessible::setActive(false);
    }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    // Whether Qt sends accessibility events at all: only with a platform bridge (AT-SPI),
    // which the offscreen platform has none of.
    // The AT-SPI bridge turns active once it has found the accessibility bus.
    static bool active() {
        if (QGuiApplication::platformName() == u"offscreen") return false;
        QAccessible::setActive(true);
        for (int i = 0; i < 100 && !QAccessible::isActive(); ++i) QTest::qWait(30);
        return QAccessible::isActive();
    }
    static std::vector<Heard>& heard() {
        static std::vector<Heard> events;
        return events;
    }
    static std::vector<Heard> of(QAccessible::Event type) {
        std::vector<Heard> found;
        for (const Heard& h : heard())
            if (h.type == type) found.push_back(h);
        return found;
    }

private:
    static void record(QAccessibleEvent* e) {
        QAccessibleInterface* iface = e->accessibleInterface();
        Heard h{e->type(), iface != nullptr ? iface->text(QAccessible::Name) : QString()};
        if (e->type() == QAccessible::StateChanged) {
            h.checkedChanged = static_cast<QAccessibleStateChangeEvent*>(e)->changedStates().checked;
            h.checked = iface != nullptr && iface->state().checked;
        }
        heard().push_back(h);
    }
};

// Gives the widget the keyboard focus in its active window.
void focus(Shown& s) {
    s.form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&s.form));
    s.widget.setFocus(Qt::OtherFocusReason);
    Shown::settle();
    ASSERT_TRUE(s.widget.hasFocus());
}

TEST(QtAccessible, AnswerSheetIsRowsOfNamedCheckBoxes) {
    Shown s("Matrix");
    QAccessibleInterface* sheet = of(s.widget);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->text(QAccessible::Name), "Answer sheet");
    ASSERT_EQ(sheet->childCount(), 100);  // MaxItems 100 in 4 columns of 25
    const QPoint origin = s.widget.mapToGlobal(QPoint(0, 0));
    struct Case { int question, choice; const char* name; };
    for (const Case c : {Case{1, 1, "Question 1, choice A"}, Case{12, 3, "Question 12, choice C"},
                         Case{25, 4, "Question 25, choice D"}}) {
        SCOPED_TRACE(c.name);
        QAccessibleInterface* row = sheet->child(c.question - 1);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->text(QAccessible::Name), QString("Question %1").arg(c.question));
        EXPECT_EQ(row->parent(), sheet);
        EXPECT_EQ(sheet->indexOfChild(row), c.question - 1);
        ASSERT_EQ(row->childCount(), 4);
        QAccessibleInterface* bubble = row->child(c.choice - 1);
        ASSERT_NE(bubble, nullptr);
        EXPECT_EQ(bubble->text(QAccessible::Name), c.name);
        EXPECT_EQ(bubble->role(), QAccessible::CheckBox);
        EXPECT_TRUE(bubble->state().checkable);
        EXPECT_FALSE(bubble->state().checked);
        EXPECT_EQ(bubble->parent(), row);
        EXPECT_EQ(row->indexOfChild(bubble), c.choice - 1);
        EXPECT_EQ(bubble->rect(), bubbleRect(c.choice, c.question).translated(origin));
        EXPECT_EQ(sheet->childAt(bubble->rect().center().x(), bubble->rect().center().y()), row);
        ASSERT_NE(bubble->actionInterface(), nullptr);
        EXPECT_EQ(bubble->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::toggleAction()});
    }
    // Fewer questions: fewer rows.
    ASSERT_TRUE(s.widget.let("MaxItems", std::int16_t{10}).ok());
    EXPECT_EQ(sheet->childCount(), 10);
}

TEST(QtAccessible, ClicksAndKeysChangeCheckedStateAndCurrentQuestion) {
    Shown s("Matrix");
    focus(s);
    QAccessibleInterface* sheet = of(s.widget);
    EXPECT_EQ(sheet->focusChild(), sheet->child(0));  // question 1 is current at first
    // A click on C of question 12 marks it and makes question 12 current.
    QTest::mouseClick(&s.widget, Qt::LeftButton, {}, bubbleRect(3, 12).center());
    EXPECT_TRUE(sheet->child(11)->child(2)->state().checked);
    EXPECT_EQ(sheet->focusChild(), sheet->child(11));
    EXPECT_TRUE(sheet->child(11)->state().focused);
    EXPECT_FALSE(sheet->child(0)->state().focused);
    // Down, then C marks choice C of question 13; Space unmarks it again.
    QTest::keyClick(&s.widget, Qt::Key_Down);
    EXPECT_EQ(sheet->focusChild(), sheet->child(12));
    QTest::keyClick(&s.widget, Qt::Key_C);
    EXPECT_TRUE(sheet->child(12)->child(2)->state().checked);
    QTest::keyClick(&s.widget, Qt::Key_Space);
    EXPECT_FALSE(sheet->child(12)->child(2)->state().checked);
    EXPECT_TRUE(sheet->child(11)->child(2)->state().checked);
    // Without the focus no part is focused.
    s.widget.clearFocus();
    EXPECT_EQ(sheet->focusChild(), nullptr);
    EXPECT_FALSE(sheet->child(12)->state().focused);
}

TEST(QtAccessible, MarksMarkerMovesAndNewNamesAreAnnounced) {
    if (!Listener::active()) {
        // Under the screen reader's setting the bridge must be there.
        ASSERT_FALSE(qEnvironmentVariableIsSet("TALVIK_ATSPI_SESSION")) << "Qt's AT-SPI bridge did not turn active";
        GTEST_SKIP() << "Qt sends no accessibility events on this platform; ctest runs these under AT-SPI";
    }
    Listener listener;
    {
        SCOPED_TRACE("answer sheet");
        Shown s("Matrix");
        focus(s);
        Listener::heard().clear();
        QTest::mouseClick(&s.widget, Qt::LeftButton, {}, bubbleRect(3, 12).center());
        const std::vector<Heard> changed = Listener::of(QAccessible::StateChanged);
        ASSERT_EQ(changed.size(), 1u);
        EXPECT_EQ(changed[0].name, "Question 12, choice C");
        EXPECT_TRUE(changed[0].checkedChanged);
        EXPECT_TRUE(changed[0].checked);
        std::vector<Heard> focused = Listener::of(QAccessible::Focus);
        ASSERT_FALSE(focused.empty());
        EXPECT_EQ(focused.back().name, "Question 12");

        Listener::heard().clear();
        QTest::keyClick(&s.widget, Qt::Key_Down);
        focused = Listener::of(QAccessible::Focus);
        ASSERT_EQ(focused.size(), 1u);
        EXPECT_EQ(focused[0].name, "Question 13");
        QTest::keyClick(&s.widget, Qt::Key_C);
        ASSERT_EQ(Listener::of(QAccessible::StateChanged).size(), 1u);
        EXPECT_EQ(Listener::of(QAccessible::StateChanged)[0].name, "Question 13, choice C");
        // Space unmarks question 13: only its one mark is news.
        Listener::heard().clear();
        QTest::keyClick(&s.widget, Qt::Key_Space);
        ASSERT_EQ(Listener::of(QAccessible::StateChanged).size(), 1u);
        EXPECT_FALSE(Listener::of(QAccessible::StateChanged)[0].checked);
    }
    {
        SCOPED_TRACE("option strip");
        Shown s("VelOptionToolBar");
        QAccessibleInterface* strip = of(s.widget);
        Listener::heard().clear();
        strip->child(1)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        strip->child(3)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        const std::vector<Heard> changed = Listener::of(QAccessible::StateChanged);
        ASSERT_EQ(changed.size(), 3u);  // B on; then B off and D on
        EXPECT_EQ(changed[0].name, "B");
        EXPECT_TRUE(changed[0].checked);
        EXPECT_FALSE(changed[1].checked);
        EXPECT_EQ(changed[2].name, "D");
    }
    {
        SCOPED_TRACE("box caption");
        Shown s("vltSwitch");
        Listener::heard().clear();
        ASSERT_TRUE(s.widget.let("Caption", std::string("Pages")).ok());
        ASSERT_EQ(Listener::of(QAccessible::NameChanged).size(), 1u);
        EXPECT_EQ(Listener::of(QAccessible::NameChanged)[0].name, "Pages");
    }
    {
        SCOPED_TRACE("clock");
        Shown s("TimerPicture");
        QTimer* timer = s.widget.findChild<QTimer*>("Timer1");
        ASSERT_NE(timer, nullptr);
        s.widget.timeOfDay = [] { return TimeOfDay{10, 42, 5}; };
        Listener::heard().clear();
        QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
        ASSERT_EQ(Listener::of(QAccessible::NameChanged).size(), 1u);
        EXPECT_EQ(Listener::of(QAccessible::NameChanged)[0].name, "10:42");
        // A second later the hands show the same minute: nothing new to tell.
        s.widget.timeOfDay = [] { return TimeOfDay{10, 42, 6}; };
        QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
        EXPECT_EQ(Listener::of(QAccessible::NameChanged).size(), 1u);
    }
}

TEST(QtAccessible, ToggleActionMarksThroughTheSheetsOwnClick) {
    Shown s("Matrix");
    QAccessibleInterface* bubble = of(s.widget)->child(1)->child(0);  // question 2, choice A
    bubble->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(bubble->state().checked);
    EXPECT_EQ(s.widget.get("result").value.toStringArray().at(2), "1");  // bounds from 1
    EXPECT_EQ(s.widget.get("RowSel").value.toInt16(), 1);
    bubble->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(bubble->state().checked);
    EXPECT_EQ(s.widget.get("result").value.toStringArray().at(2), "");
}

TEST(QtAccessible, OptionStripBoxesFollowTheirKind) {
    Shown s("VelOptionToolBar");
    QAccessibleInterface* strip = of(s.widget);
    ASSERT_EQ(strip->childCount(), 4);  // four boxes, option buttons lettered A to D
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(strip->child(k)->role(), QAccessible::RadioButton);
        EXPECT_EQ(strip->child(k)->text(QAccessible::Name), QString(QChar('A' + k)));
    }
    strip->child(1)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(strip->child(1)->state().checked);
    EXPECT_EQ(s.widget.get("VelValue").value.toString(), "B");
    strip->child(3)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(strip->child(1)->state().checked);  // one option at a time
    EXPECT_TRUE(strip->child(3)->state().checked);

    ASSERT_TRUE(s.widget.let("VelOptionBox", std::int32_t{1}).ok());  // check boxes
    ASSERT_TRUE(s.widget.let("VelOptionChar", std::int32_t{1}).ok());  // digits
    ASSERT_TRUE(s.widget.let("VelCountItems", std::int16_t{6}).ok());
    ASSERT_EQ(strip->childCount(), 6);
    EXPECT_EQ(strip->child(5)->role(), QAccessible::CheckBox);
    EXPECT_EQ(strip->child(5)->text(QAccessible::Name), "6");
}

TEST(QtAccessible, BoxButtonsAreNamedAndPressedInTheirOrder) {
    struct Case { const char* box; std::vector<QString> names; const char* event; };
    const Case cases[] = {
        {"vltSwitch", {"First question", "Previous question", "Next question", "Last question"}, "ButtonClick"},
        {"vltZoomBox", {"Zoom out", "Zoom in", "Fit"}, "vltZoomBoxClick"},
        {"ScrollBox", {"Scroll up", "Scroll down", "Scroll left", "Scroll right"}, "ButtonClick"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        Shown s(c.box, PropertyBag{{"Caption", "Navigation"}});
        QAccessibleInterface* box = of(s.widget);
        EXPECT_EQ(box->text(QAccessible::Name), "Navigation");
        ASSERT_EQ(box->childCount(), int(c.names.size()));
        std::vector<int> pressed;
        QObject::connect(&s.widget, &QtControlWidget::eventRaised, [&](const EventDecl& e, std::span<Variant> args) {
            if (e.name == c.event) pressed.push_back(args[0].toInt16());
        });
        for (int i = 0; i < box->childCount(); ++i) {
            QAccessibleInterface* button = box->child(i);
            EXPECT_EQ(button->role(), QAccessible::PushButton);
            EXPECT_EQ(button->text(QAccessible::Name), c.names[std::size_t(i)]);
            button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        }
        std::vector<int> expected(c.names.size());
        for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = int(i);
        EXPECT_EQ(pressed, expected);
        ASSERT_TRUE(s.widget.let("Caption", std::string("Pages")).ok());
        EXPECT_EQ(box->text(QAccessible::Name), "Pages");
    }
}

TEST(QtAccessible, LinkCarriesItsAddress) {
    Shown s("URLLink");
    ASSERT_TRUE(s.widget.let("Text", std::string("Exam rules")).ok());
    ASSERT_TRUE(s.widget.let("URL", std::string("https://example.org/rules")).ok());
    QAccessibleInterface* link = of(s.widget);
    EXPECT_EQ(link->role(), QAccessible::Link);
    EXPECT_EQ(link->text(QAccessible::Name), "Exam rules");
    EXPECT_EQ(link->text(QAccessible::Value), "https://example.org/rules");
    EXPECT_EQ(link->text(QAccessible::Description), "https://example.org/rules");
    // Pressing it presses the label: the container hears GoToURL and cancels the opening.
    QString asked;
    QObject::connect(&s.widget, &QtControlWidget::eventRaised, [&](const EventDecl& e, std::span<Variant> args) {
        if (e.name != std::string_view("GoToURL")) return;
        asked = QString::fromStdString(args[0].toString());
        args[1] = Variant(true);
    });
    ASSERT_NE(link->actionInterface(), nullptr);
    ASSERT_TRUE(link->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(asked, "https://example.org/rules");
}

TEST(QtAccessible, ClockReadsTheTimeItsHandsShow) {
    Shown s("TimerPicture");
    QTimer* timer = s.widget.findChild<QTimer*>("Timer1");
    ASSERT_NE(timer, nullptr);
    QAccessibleInterface* clock = of(s.widget);
    EXPECT_EQ(clock->role(), QAccessible::StaticText);  // AT-SPI has no clock role
    EXPECT_EQ(clock->text(QAccessible::Description), "Clock");
    EXPECT_TRUE(clock->state().readOnly);
    for (const auto& [now, shown] : {std::pair{TimeOfDay{10, 42, 5}, "10:42"}, std::pair{TimeOfDay{9, 5, 59}, "09:05"},
                                     std::pair{TimeOfDay{0, 0, 0}, "00:00"}, std::pair{TimeOfDay{23, 59, 1}, "23:59"}}) {
        s.widget.timeOfDay = [at = now] { return at; };
        QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
        EXPECT_EQ(clock->text(QAccessible::Name), shown);
        EXPECT_EQ(clock->text(QAccessible::Value), shown);
    }
}

TEST(QtAccessible, OnlyControlsWithSomethingToOperateTakeTheFocus) {
    struct Case { const char* control; bool takesFocus; };
    for (const Case c : {Case{"Matrix", true}, Case{"VelOptionToolBar", true}, Case{"vltSwitch", true},
                         Case{"vltZoomBox", true}, Case{"ScrollBox", true}, Case{"URLLink", true},
                         Case{"vltBox", false}, Case{"vltInfoBox", false}, Case{"TimerPicture", false},
                         Case{"Banner", false}, Case{"vltHeaderExam", false}}) {
        SCOPED_TRACE(c.control);
        QtControlWidget w(c.control);
        EXPECT_EQ(w.focusPolicy(), c.takesFocus ? Qt::StrongFocus : Qt::NoFocus);
    }
}

TEST(QtAccessible, TabLeavesTheSheetForTheNextControlAndSkipsTheHeader) {
    Shown s("Matrix");
    QtControlWidget header("vltHeaderExam", nullptr, &s.form);
    QtControlWidget next("vltSwitch", nullptr, &s.form);
    header.show();
    next.show();
    focus(s);
    QTest::keyClick(&s.widget, Qt::Key_Down);  // the sheet takes its arrows
    EXPECT_EQ(s.widget.get("RowSel").value.toInt16(), 1);
    QTest::keyClick(&s.widget, Qt::Key_Tab);
    EXPECT_TRUE(next.hasFocus());
    QTest::keyClick(&next, Qt::Key_Backtab);
    EXPECT_TRUE(s.widget.hasFocus());
    EXPECT_EQ(s.widget.get("RowSel").value.toInt16(), 1);
}

// Pixels of the ring's colour inside a rectangle of the widget.
int ringPixels(const QImage& img, const QRect& r, QColor ring) {
    int n = 0;
    for (int y = std::max(0, r.top()); y <= std::min(img.height() - 1, r.bottom()); ++y)
        for (int x = std::max(0, r.left()); x <= std::min(img.width() - 1, r.right()); ++x) n += img.pixelColor(x, y) == ring;
    return n;
}

TEST(QtAccessible, FocusRingSurroundsTheCurrentQuestionOnlyWhileFocused) {
    Shown s("Matrix");
    const QColor ring(255, 0, 255);  // no colour of the sheet's own
    QPalette p = s.widget.palette();
    p.setColor(QPalette::Highlight, ring);
    s.widget.setPalette(p);
    // The row of question q: from its number (Left 50) to choice D, with some room for the ring.
    const auto around = [](int q) {
        return QRect(QPoint(0, bubbleRect(1, q).top() - 5), QPoint(bubbleRect(4, q).right() + 5, bubbleRect(1, q).bottom() + 5));
    };
    s.widget.clearFocus();
    Shown::settle();
    EXPECT_EQ(ringPixels(s.image(), s.widget.rect(), ring), 0);
    focus(s);
    QImage img = s.image();
    EXPECT_GT(ringPixels(img, around(1), ring), 2 * 16);  // at least both sides of the row, two pixels each
    EXPECT_EQ(ringPixels(img, around(1), ring), ringPixels(img, s.widget.rect(), ring));
    // Not over the bubbles themselves.
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(ringPixels(img, bubbleRect(k, 1), ring), 0);

    QTest::keyClick(&s.widget, Qt::Key_Down);
    Shown::settle();
    img = s.image();
    EXPECT_EQ(ringPixels(img, around(1), ring), 0);
    EXPECT_GT(ringPixels(img, around(2), ring), 2 * 16);

    s.widget.clearFocus();
    Shown::settle();
    EXPECT_EQ(ringPixels(s.image(), s.widget.rect(), ring), 0);
}

TEST(QtAccessible, FocusRingGoesAroundAControlWithoutACurrentPart) {
    Shown s("vltSwitch");
    const QColor ring(255, 0, 255);
    QPalette p = s.widget.palette();
    p.setColor(QPalette::Highlight, ring);
    s.widget.setPalette(p);
    focus(s);
    const QImage img = s.image();
    const int w = img.width(), h = img.height();
    // Two pixels deep along every edge.
    for (const QPoint at : {QPoint(w / 2, 0), QPoint(w / 2, 1), QPoint(w / 2, h - 1), QPoint(0, h / 2), QPoint(w - 2, h / 2)})
        EXPECT_EQ(img.pixelColor(at), ring) << at.x() << "," << at.y();
    EXPECT_NE(img.pixelColor(w / 2, 2), ring);
}

}  // namespace
}  // namespace talvik
