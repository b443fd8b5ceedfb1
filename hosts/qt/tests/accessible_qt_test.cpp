// Hosted controls as a screen reader sees them through Qt's accessibility, which of them
// take the keyboard focus, and the ring that shows it.
#include <QAccessible>
#include <QAccessibleEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QTest>

#include "SheetFixture.h"

namespace talvik {
namespace {

using testing::bubbleRect;
using testing::Shown;
using Lines = std::vector<std::string>;

QAccessibleInterface* of(QWidget& w) { return QAccessible::queryAccessibleInterface(&w); }
void act(QAccessibleInterface* part, const QString& action) { part->actionInterface()->doAction(action); }

// What Qt's accessibility said while a Listener lived: the event, the part's name then
// and, for a change of its checked state, the new state.
std::vector<std::pair<QAccessible::Event, std::string>> heard;

struct Listener {
    Listener() {
        heard.clear();
        QAccessible::installUpdateHandler([](QAccessibleEvent* e) {
            QAccessibleInterface* part = e->accessibleInterface();
            std::string said = part != nullptr ? part->text(QAccessible::Name).toStdString() : "";
            if (e->type() == QAccessible::StateChanged && static_cast<QAccessibleStateChangeEvent*>(e)->changedStates().checked)
                said += part->state().checked ? " checked" : " unchecked";
            heard.emplace_back(e->type(), said);
        });
        QAccessible::setActive(true);
    }
    ~Listener() {
        QAccessible::installUpdateHandler(nullptr);
        QAccessible::setActive(false);
    }
};

Lines said(QAccessible::Event type) {
    Lines out;
    for (const auto& [t, text] : heard)
        if (t == type) out.push_back(text);
    return out;
}

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
    ASSERT_TRUE(sheet != nullptr && sheet->childCount() == 100);  // MaxItems 100 in 4 columns of 25
    EXPECT_EQ(sheet->text(QAccessible::Name), "Answer sheet");
    const QPoint origin = s.widget.mapToGlobal(QPoint(0, 0));
    for (const auto& [question, choice, name] : {std::tuple{1, 1, "Question 1, choice A"},
                                                 std::tuple{12, 3, "Question 12, choice C"},
                                                 std::tuple{25, 4, "Question 25, choice D"}}) {
        SCOPED_TRACE(name);
        QAccessibleInterface* row = sheet->child(question - 1);
        ASSERT_TRUE(row != nullptr && row->childCount() == 4);
        EXPECT_EQ(row->text(QAccessible::Name), QString("Question %1").arg(question));
        EXPECT_TRUE(row->parent() == sheet && sheet->indexOfChild(row) == question - 1);
        QAccessibleInterface* bubble = row->child(choice - 1);
        ASSERT_TRUE(bubble != nullptr && bubble->actionInterface() != nullptr);
        EXPECT_EQ(bubble->text(QAccessible::Name), name);
        EXPECT_EQ(bubble->role(), QAccessible::CheckBox);
        EXPECT_TRUE(bubble->state().checkable && !bubble->state().checked);
        EXPECT_TRUE(bubble->parent() == row && row->indexOfChild(bubble) == choice - 1);
        EXPECT_EQ(bubble->rect(), bubbleRect(choice, question).translated(origin));
        EXPECT_EQ(sheet->childAt(bubble->rect().center().x(), bubble->rect().center().y()), row);
        EXPECT_EQ(bubble->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::toggleAction()});
    }
    // The toggle action marks through the sheet's own click: the mark is in result (from
    // 1) and the question is current; again, it unmarks.
    QAccessibleInterface* bubble = sheet->child(1)->child(0);
    for (const char* result : {"1", ""}) {
        act(bubble, QAccessibleActionInterface::toggleAction());
        EXPECT_EQ(bubble->state().checked, *result != 0);
        EXPECT_EQ(s.widget.get("result").value.toStringArray().at(2), result);
        EXPECT_EQ(s.widget.get("RowSel").value.toInt16(), 1);
    }
    // Fewer questions: fewer rows.
    ASSERT_TRUE(s.widget.let("MaxItems", std::int16_t{10}).ok());
    EXPECT_EQ(sheet->childCount(), 10);
}

TEST(QtAccessible, MarksMarkerMovesAndNewNamesAreAnnounced) {
    // Qt sends accessibility events only through a platform bridge (AT-SPI), which turns
    // active once it has found the accessibility bus; the offscreen platform has none.
    bool bridge = QGuiApplication::platformName() != u"offscreen";
    if (bridge) {
        QAccessible::setActive(true);
        for (int i = 0; i < 100 && !QAccessible::isActive(); ++i) QTest::qWait(30);
        bridge = QAccessible::isActive();
    }
    if (!bridge) {
        ASSERT_FALSE(qEnvironmentVariableIsSet("TALVIK_ATSPI_SESSION")) << "Qt's AT-SPI bridge did not turn active";
        GTEST_SKIP() << "Qt sends no accessibility events on this platform; ctest runs these under AT-SPI";
    }
    Listener listener;
    {
        SCOPED_TRACE("answer sheet");
        Shown s("Matrix");
        focus(s);
        heard.clear();
        QTest::mouseClick(&s.widget, Qt::LeftButton, {}, bubbleRect(3, 12).center());
        EXPECT_EQ(said(QAccessible::StateChanged), Lines{"Question 12, choice C checked"});
        ASSERT_FALSE(said(QAccessible::Focus).empty());
        EXPECT_EQ(said(QAccessible::Focus).back(), "Question 12");
        heard.clear();
        QTest::keyClick(&s.widget, Qt::Key_Down);
        QTest::keyClick(&s.widget, Qt::Key_C);
        EXPECT_EQ(said(QAccessible::Focus), Lines{"Question 13"});
        EXPECT_EQ(said(QAccessible::StateChanged), Lines{"Question 13, choice C checked"});
        heard.clear();
        QTest::keyClick(&s.widget, Qt::Key_Space);  // only question 13's one mark is news
        EXPECT_EQ(said(QAccessible::StateChanged), Lines{"Question 13, choice C unchecked"});
    }
    {
        SCOPED_TRACE("clock");
        testing::Clock c;
        heard.clear();
        // A second later the hands show the same minute: nothing new to tell.
        for (const int second : {5, 6}) {
            c.now = {10, 42, second};
            c.tick();
        }
        EXPECT_EQ(said(QAccessible::NameChanged), Lines{"10:42"});
    }
}

TEST(QtAccessible, OptionStripBoxesFollowTheirKind) {
    Shown s("VelOptionToolBar");
    QAccessibleInterface* strip = of(s.widget);
    ASSERT_EQ(strip->childCount(), 4);  // four boxes, option buttons lettered A to D
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(strip->child(k)->role() == QAccessible::RadioButton &&
                    strip->child(k)->text(QAccessible::Name) == QChar('A' + k));
    act(strip->child(1), QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(strip->child(1)->state().checked);
    EXPECT_EQ(s.widget.get("VelValue").value.toString(), "B");
    act(strip->child(3), QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(strip->child(1)->state().checked);  // one option at a time
    EXPECT_TRUE(strip->child(3)->state().checked);
}

using Events = std::vector<std::pair<std::string, std::string>>;

// The events the widget raises, each with its first argument.
void record(QtControlWidget& w, Events& events) {
    QObject::connect(&w, &QtControlWidget::eventRaised, [&events](const EventDecl& e, std::span<Variant> args) {
        events.emplace_back(e.name, args.empty() ? "" : args[0].toString());
    });
}

// A box's buttons are push buttons pressed in their order, and the box is named by its
// caption.
TEST(QtAccessible, BoxButtonsArePressedInOrder) {
    Events events;  // outlives the widget, which raises events until it is gone
    Shown s("vltZoomBox", PropertyBag{{"Caption", "Navigation"}, {"Style", 5}});
    record(s.widget, events);
    QAccessibleInterface* box = of(s.widget);
    EXPECT_EQ(box->text(QAccessible::Name), "Navigation");
    ASSERT_EQ(box->childCount(), 3);  // zoom out, zoom in, fit
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(box->child(i)->role(), QAccessible::PushButton);
        act(box->child(i), QAccessibleActionInterface::pressAction());
    }
    EXPECT_EQ(events, (Events{{"vltZoomBoxClick", "0"}, {"vltZoomBoxClick", "1"}, {"vltZoomBoxClick", "2"}}));
    ASSERT_TRUE(s.widget.let("Caption", std::string("Pages")).ok());
    EXPECT_EQ(box->text(QAccessible::Name), "Pages");
}

// A mouse moving over a box's button, with no mouse button down, shows its hover picture
// and repaints that button alone; a click on it reaches the container as the box's event
// with the button's index. Not among the accessibility tests, which also run on a real
// display, where the window's own exposure may repaint it at any moment.
TEST(QtBoxButtons, HoverRepaintsThatButtonAloneAndAClickRaisesItsEvent) {
    Events events;
    Shown s("vltSwitch", PropertyBag{{"Style", 0}});
    record(s.widget, events);
    const auto origin = [&] {
        const Picture& p = s.picture("Image4", 2);
        return p.empty() ? std::string() : p.bitmap()->origin;
    };
    EXPECT_TRUE(s.widget.hasMouseTracking());
    const QRect button = s.placed("Image4", 2);  // next question
    const QPointF at = QRectF(button).center();
    EXPECT_EQ(origin(), "res:115");
    const QRegion repainted = s.repaintedBy([&] {
        QMouseEvent move(QEvent::MouseMove, at, s.widget.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&s.widget, &move);
    });
    EXPECT_EQ(origin(), "res:114");
    EXPECT_TRUE(QRegion(button.adjusted(-1, -1, 1, 1)).contains(repainted.boundingRect()));
    EXPECT_TRUE(testing::showsPicture(s.image(), button.topLeft(), s.picture("Image4", 2), std::nullopt));
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, at, s.widget.mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&s.widget, &e);
    }
    EXPECT_EQ(events, (Events{{"ButtonClick", "2"}}));
}

TEST(QtAccessible, LinkCarriesItsAddressAndClockItsTime) {
    Shown s("URLLink", PropertyBag{{"Text", "Exam rules"}, {"URL", "https://example.org/rules"}});
    QAccessibleInterface* link = of(s.widget);
    EXPECT_EQ(link->role(), QAccessible::Link);
    EXPECT_EQ(link->text(QAccessible::Name), "Exam rules");
    for (const auto text : {QAccessible::Value, QAccessible::Description})
        EXPECT_EQ(link->text(text), "https://example.org/rules");
    // Pressing it presses the label: the container hears GoToURL and cancels the opening.
    std::string asked;
    QObject::connect(&s.widget, &QtControlWidget::eventRaised, [&](const EventDecl& e, std::span<Variant> args) {
        if (e.name != std::string_view("GoToURL")) return;
        asked = args[0].toString();
        args[1] = Variant(true);
    });
    ASSERT_TRUE(link->actionInterface() != nullptr &&
                link->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    act(link, QAccessibleActionInterface::pressAction());
    EXPECT_EQ(asked, "https://example.org/rules");

    testing::Clock t;
    QAccessibleInterface* clock = of(t.widget);
    EXPECT_EQ(clock->role(), QAccessible::StaticText);  // AT-SPI has no clock role
    EXPECT_EQ(clock->text(QAccessible::Description), "Clock");
    EXPECT_TRUE(clock->state().readOnly);
    for (const auto& [now, shown] : {std::pair{TimeOfDay{10, 42, 5}, "10:42"}, std::pair{TimeOfDay{9, 5, 59}, "09:05"},
                                     std::pair{TimeOfDay{0, 0, 0}, "00:00"}, std::pair{TimeOfDay{23, 59, 1}, "23:59"}}) {
        t.now = now;
        t.tick();
        EXPECT_TRUE(clock->text(QAccessible::Name) == shown && clock->text(QAccessible::Value) == shown) << shown;
    }
}

TEST(QtAccessible, OnlyControlsWithSomethingToOperateTakeTheFocus) {
    for (const auto& [control, takesFocus] :
         {std::pair{"Matrix", true}, std::pair{"URLLink", true}, std::pair{"vltBox", false},
          std::pair{"TimerPicture", false}}) {
        SCOPED_TRACE(control);
        EXPECT_EQ(QtControlWidget(control).focusPolicy(), takesFocus ? Qt::StrongFocus : Qt::NoFocus);
    }
    // Tab leaves the answer sheet, which takes its arrows, for the next control and skips the header.
    Shown s("Matrix");
    QtControlWidget header("vltHeaderExam", nullptr, &s.form), next("vltSwitch", nullptr, &s.form);
    header.show();
    next.show();
    focus(s);
    QTest::keyClick(&s.widget, Qt::Key_Down);
    EXPECT_EQ(s.widget.get("RowSel").value.toInt16(), 1);
    QTest::keyClick(&s.widget, Qt::Key_Tab);
    EXPECT_TRUE(next.hasFocus());
    QTest::keyClick(&next, Qt::Key_Backtab);
    EXPECT_TRUE(s.widget.hasFocus());
    EXPECT_EQ(s.widget.get("RowSel").value.toInt16(), 1);
}

// The focus ring, in the palette's highlight: around the current question of the sheet,
// its row the focused part, and around the whole of a control without a current part;
// none without the focus.
TEST(QtAccessible, FocusRingSurroundsTheCurrentPartOnlyWhileFocused) {
    const QColor ring(255, 0, 255);  // no colour of the controls' own
    const auto ringPixels = [&](const QImage& img, const QRect& r) {
        int n = 0;
        for (int y = std::max(0, r.top()); y <= std::min(img.height() - 1, r.bottom()); ++y)
            for (int x = std::max(0, r.left()); x <= std::min(img.width() - 1, r.right()); ++x) n += img.pixelColor(x, y) == ring;
        return n;
    };
    const auto ringed = [&](Shown& s) {
        QPalette p = s.widget.palette();
        p.setColor(QPalette::Highlight, ring);
        s.widget.setPalette(p);
    };
    // The row of question q: from its number (Left 50) to choice D, with some room for the ring.
    const auto around = [](int q) {
        return QRect(QPoint(0, bubbleRect(1, q).top() - 5), QPoint(bubbleRect(4, q).right() + 5, bubbleRect(1, q).bottom() + 5));
    };
    Shown s("Matrix");
    ringed(s);
    QAccessibleInterface* sheet = of(s.widget);
    s.widget.clearFocus();
    Shown::settle();
    EXPECT_EQ(ringPixels(s.image(), s.widget.rect()), 0);
    EXPECT_EQ(sheet->focusChild(), nullptr);
    focus(s);
    QImage img = s.image();
    EXPECT_GT(ringPixels(img, around(1)), 2 * 16);  // at least both sides of the row, two pixels each
    EXPECT_EQ(ringPixels(img, around(1)), ringPixels(img, s.widget.rect()));
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(ringPixels(img, bubbleRect(k, 1)), 0);  // not over the bubbles
    EXPECT_EQ(sheet->focusChild(), sheet->child(0));
    QTest::keyClick(&s.widget, Qt::Key_Down);
    Shown::settle();
    img = s.image();
    EXPECT_EQ(ringPixels(img, around(1)), 0);
    EXPECT_GT(ringPixels(img, around(2)), 2 * 16);
    EXPECT_EQ(sheet->focusChild(), sheet->child(1));
    EXPECT_TRUE(sheet->child(1)->state().focused && !sheet->child(0)->state().focused);
    s.widget.clearFocus();
    Shown::settle();
    EXPECT_EQ(ringPixels(s.image(), s.widget.rect()), 0);
    EXPECT_TRUE(sheet->focusChild() == nullptr && !sheet->child(1)->state().focused);

    // Two pixels deep along every edge of a box.
    Shown box("vltSwitch");
    ringed(box);
    focus(box);
    img = box.image();
    const int w = img.width(), h = img.height();
    for (const QPoint at : {QPoint(w / 2, 0), QPoint(w / 2, 1), QPoint(w / 2, h - 1), QPoint(0, h / 2), QPoint(w - 2, h / 2)})
        EXPECT_EQ(img.pixelColor(at), ring) << at.x() << "," << at.y();
    EXPECT_NE(img.pixelColor(w / 2, 2), ring);
}

}  // namespace
}  // namespace talvik
