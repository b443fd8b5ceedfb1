// The host widget as a control meets it: Qt's input, timers and sizes turned into the
// control's. A control made for these tests logs every event it receives.
#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTest>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QTimerEvent>
#include <QUrl>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "SheetFixture.h"
#include "frame/com/ClassFactory.h"
#include "frame/com/ControlObject.h"
#include "frame/com/EntryPoints.h"
#include "hosts/qt/DropEffects.h"
#include "resources/Resources.h"

namespace talvik {
namespace {

// Logs each event with its arguments; answers OLEDragOver and OLEDragDrop with
// `answer` (-1: leaves the effect as it came).
class Pad : public Control {
public:
    using Control::Control;
    using Control::host;  // the tests change its timers as the control would
    static const ControlTemplate& Design() {
        static const ControlTemplate t = [] {
            ControlTemplate t{.width = 1500, .height = 1500};
            // At 96 DPI pic is 20 to 60 pixels across and down, and "off" below it takes no
            // input; link, 70 to 90 pixels across and down, has a pointing hand of its own.
            t.add({.kind = ElementKind::Image, .name = "pic", .left = 300, .top = 300, .width = 600, .height = 600});
            t.add({.kind = ElementKind::Image, .name = "off", .left = 300, .top = 1050, .width = 600, .height = 300,
                   .enabled = false});
            t.add({.kind = ElementKind::Label, .name = "link", .left = 1050, .top = 1050, .width = 300, .height = 300,
                   .cursor = "hand", .cursorX = 13, .cursorY = 5});
            t.add({.kind = ElementKind::Timer, .name = "Timer1", .interval = 1000});
            t.add({.kind = ElementKind::Timer, .name = "Timer2", .enabled = false, .interval = 500});
            return t;
        }();
        return t;
    }
    void OnEvent(const InputEvent& ev) override {
        char args[160] = "";
        const double x = ev.x, y = ev.y;
        if (ev.kind == EventKind::KeyDown || ev.kind == EventKind::KeyUp) {
            std::snprintf(args, sizeof args, " %d s%d", ev.key, ev.shift);
        } else if (ev.kind == EventKind::KeyPress) {
            std::snprintf(args, sizeof args, " %d", ev.key);
        } else if (ev.kind == EventKind::MouseDown || ev.kind == EventKind::DblClick) {
            std::snprintf(args, sizeof args, " b%d s%d %g,%g", ev.button, ev.shift, x, y);
        } else if (ev.kind == EventKind::OLEDragOver || ev.kind == EventKind::OLEDragDrop) {
            const std::string text = ev.data->GetFormat(kFormatText) ? ev.data->GetData(kFormatText).toString() : "";
            std::snprintf(args, sizeof args, " st%d e%d b%d s%d %g,%g \"%s\" files%zu", ev.state, ev.effect, ev.button,
                          ev.shift, x, y, text.c_str(), ev.data->Files().size());
            if (answer >= 0) ev.effect = answer;
        }
        log.push_back(std::string(eventName(ev.kind)) + " " + (ev.source ? ev.source.displayName() : "-") + args);
    }

    std::vector<std::string> log;
    std::int32_t answer = -1;
};

// The pad's one template picture, the hand, is the library's hyperlink cursor.
std::optional<PictureFile> padPicture(std::string_view id) {
    return id == "Pad/hand" ? resources::kPictureFiles.templatePicture("URLLink/lblURL") : std::nullopt;
}
const PictureFiles kPadPictures{nullptr, &padPicture};
const ControlClass kPadClass = controlClass<Pad>("Pad", {}, {}, &kPadPictures);
constexpr const char* kPadId = "{5A1D0C3E-7B2F-4C11-9E8A-2D4F6B8C0E13}";

const EntryPoints& padEntryPoints() {
    const EntryPoints& linked = linkedEntryPoints();
    static const EntryPoints entry{linked.registerServer, linked.unregisterServer,
                                   [](const Guid& clsid, const Guid& iid, void** object) {
                                       return clsid == guid(kPadId) ? classObjectOf(kPadClass, iid, object)
                                                                    : getClassObject(clsid, iid, object);
                                   },
                                   linked.canUnloadNow};
    return entry;
}

struct PadWidget {
    QtControlWidget widget{kPadId, nullptr, nullptr, padEntryPoints()};
    Pad& pad() { return static_cast<Pad&>(*widget.host().control()); }
    // What the pad received while `action` ran.
    template <class F>
    std::vector<std::string> received(F&& action) {
        pad().log.clear();
        action();
        return pad().log;
    }
    void send(QEvent& e) { QCoreApplication::sendEvent(&widget, &e); }
    // A pixel position as the control receives it, in twips.
    std::string at(int x, int y) const {
        char text[40];
        std::snprintf(text, sizeof text, "%g,%g", double(widget.scale().twips(x)), double(widget.scale().twips(y)));
        return text;
    }
};

using Lines = std::vector<std::string>;

TEST(QtInput, FocusComesAndGoesWithTheControlAsAWhole) {
    PadWidget p;
    const Lines in = {"EnterFocus -", "GotFocus -"}, out = {"LostFocus -", "ExitFocus -"};
    // Another window in front (a message box, a popup) and back: the control kept the
    // focus. The window coming to the front with the control focused in it gives it.
    const std::tuple<QEvent::Type, Qt::FocusReason, Lines> steps[] = {
        {QEvent::FocusIn, Qt::TabFocusReason, in},           {QEvent::FocusOut, Qt::ActiveWindowFocusReason, {}},
        {QEvent::FocusIn, Qt::ActiveWindowFocusReason, {}},  {QEvent::FocusOut, Qt::PopupFocusReason, {}},
        {QEvent::FocusIn, Qt::PopupFocusReason, {}},         {QEvent::FocusOut, Qt::MouseFocusReason, out},
        {QEvent::FocusIn, Qt::ActiveWindowFocusReason, in},  {QEvent::FocusOut, Qt::TabFocusReason, out},
    };
    for (const auto& [type, reason, expected] : steps) {
        QFocusEvent e(type, reason);
        EXPECT_EQ(p.received([&] { p.send(e); }), expected) << "focus event " << type << " reason " << reason;
    }
}

TEST(QtInput, KeysGiveKeyDownKeyPressAndKeyUp) {
    PadWidget p;
    struct Case {
        const char* what;
        QEvent::Type type;
        int key;
        Qt::KeyboardModifiers mods;
        QString text;
        bool repeat;
        Lines expected;
    };
    const auto press = QEvent::KeyPress, release = QEvent::KeyRelease;
    const Case cases[] = {
        {"a letter with shift", press, Qt::Key_A, Qt::ShiftModifier, "A", false, {"KeyDown - 65 s1", "KeyPress - 65"}},
        {"its release", release, Qt::Key_A, Qt::ShiftModifier, "A", false, {"KeyUp - 65 s1"}},
        {"a letter with control", press, Qt::Key_B, Qt::ControlModifier, "\x02", false, {"KeyDown - 66 s2", "KeyPress - 2"}},
        {"Enter", press, Qt::Key_Return, Qt::NoModifier, "\r", false, {"KeyDown - 13 s0", "KeyPress - 13"}},
        {"Enter of the keypad", press, Qt::Key_Enter, Qt::KeypadModifier, "\r", false, {"KeyDown - 13 s0", "KeyPress - 13"}},
        {"a character beyond ASCII", press, Qt::Key_Eacute, Qt::NoModifier, QString(QChar(0xE9)), false, {"KeyPress - 233"}},
        {"a character the host has no code for", press, Qt::Key_unknown, Qt::NoModifier, QString(QChar(0x416)), false, {}},
        {"an arrow has no character", press, Qt::Key_Down, Qt::NoModifier, "", false, {"KeyDown - 40 s0"}},
        {"held down, it repeats", press, Qt::Key_Down, Qt::NoModifier, "", true, {"KeyDown - 40 s0"}},
        {"and is let go once", release, Qt::Key_Down, Qt::NoModifier, "", true, {}},
        {"let go", release, Qt::Key_Down, Qt::AltModifier, "", false, {"KeyUp - 40 s4"}},
    };
    for (const Case& c : cases) {
        QKeyEvent e(c.type, c.key, c.mods, c.text, c.repeat);
        EXPECT_EQ(p.received([&] { p.send(e); }), c.expected) << c.what;
    }
}

TEST(QtInput, DoubleClicksGoToTheElementUnderTheMouse) {
    PadWidget p;
    // pic is 20 to 60 pixels across and down; an element's event has its own coordinates.
    // A disabled element leaves the double click to the surface; another button's second
    // press is only pressed again.
    const std::tuple<QPoint, Qt::MouseButton, std::string> cases[] = {
        {{25, 30}, Qt::LeftButton, "DblClick pic b1 s0 " + p.at(5, 10)},
        {{70, 30}, Qt::LeftButton, "DblClick - b1 s0 " + p.at(70, 30)},
        {{25, 75}, Qt::LeftButton, "DblClick - b1 s0 " + p.at(25, 75)},
        {{25, 30}, Qt::RightButton, "MouseDown pic b2 s0 " + p.at(5, 10)},
    };
    for (const auto& [px, button, expected] : cases) {
        QMouseEvent e(QEvent::MouseButtonDblClick, QPointF(px), p.widget.mapToGlobal(QPointF(px)), button, button,
                      Qt::NoModifier);
        EXPECT_EQ(p.received([&] { p.send(e); }), Lines{expected}) << px.x() << "," << px.y();
    }
}

TEST(QtInput, ADragOverTheControlAsksItWhetherToDrop) {
    PadWidget p;
    QMimeData mime;
    mime.setText("answer 7");
    mime.setUrls({QUrl::fromLocalFile("/tmp/a.txt"), QUrl("http://example.com/")});
    const Qt::DropActions copyOrMove = Qt::CopyAction | Qt::MoveAction;
    // What the control hears: the state, the effects, button, shift, where, and what the drag carries.
    const auto heard = [&](const char* event, int state, Qt::DropActions possible, int shift, int x, int y) {
        return std::string(event) + " - st" + std::to_string(state) + " e" + std::to_string(dropEffects(possible)) +
               " b1 s" + std::to_string(shift) + " " + p.at(x, y) + R"( "answer 7" files1)";
    };

    // Until its container makes it a drop target, a drag passes the control by.
    QDragEnterEvent passing(QPoint(10, 12), copyOrMove, &mime, Qt::LeftButton, Qt::NoModifier);
    EXPECT_EQ(p.received([&] { p.send(passing); }), Lines{});
    EXPECT_FALSE(passing.isAccepted());
    p.widget.setAcceptDrops(true);

    // Entering, the control hears of the drag whatever it answers.
    p.pad().answer = kDropNone;
    QDragEnterEvent enter(QPoint(10, 12), copyOrMove, &mime, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(p.received([&] { p.send(enter); }), Lines{heard("OLEDragOver", 0, copyOrMove, 1, 10, 12)});
    EXPECT_TRUE(enter.isAccepted());

    // The answer and the actions the source allows; IgnoreAction: no drop here, ActionMask: the proposed one.
    const std::tuple<const char*, std::int32_t, Qt::DropActions, Qt::DropAction> cases[] = {
        {"refused", kDropNone, copyOrMove, Qt::IgnoreAction},
        {"moved", kDropMove, copyOrMove, Qt::MoveAction},
        {"copied", kDropCopy, copyOrMove, Qt::CopyAction},
        {"the source's choice", kDropCopy | kDropMove, copyOrMove, Qt::ActionMask},
        {"an effect the source does not allow", kDropLink, copyOrMove, Qt::IgnoreAction},
        {"the one allowed of two", kDropCopy | kDropLink, Qt::LinkAction, Qt::LinkAction},
    };
    for (const auto& [what, answer, possible, expected] : cases) {
        SCOPED_TRACE(what);
        p.pad().answer = answer;
        // Qt moves a drag only over the widget it entered.
        QDragEnterEvent enter(QPoint(39, 49), possible, &mime, Qt::LeftButton, Qt::NoModifier);
        QDragMoveEvent move(QPoint(40, 50), possible, &mime, Qt::LeftButton, Qt::NoModifier);
        EXPECT_EQ(p.received([&] { p.send(enter), p.send(move); }),
                  (Lines{heard("OLEDragOver", 0, possible, 0, 39, 49), heard("OLEDragOver", 2, possible, 0, 40, 50)}));
        QDropEvent drop(QPointF(41, 51), possible, &mime, Qt::LeftButton, Qt::ControlModifier);
        EXPECT_EQ(p.received([&] { p.send(drop); }), Lines{heard("OLEDragDrop", 0, possible, 2, 41, 51)});
        for (const QDropEvent* e : {static_cast<QDropEvent*>(&move), &drop}) {
            EXPECT_EQ(e->isAccepted(), expected != Qt::IgnoreAction);
            if (expected != Qt::IgnoreAction) {
                EXPECT_EQ(e->dropAction(), expected == Qt::ActionMask ? e->proposedAction() : expected);
            }
        }
    }

    // Leaving, where and as the drag was last, with what it carried.
    QDragEnterEvent again(QPoint(30, 31), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    p.send(again);
    QDragLeaveEvent leave;
    EXPECT_EQ(p.received([&] { p.send(leave); }), Lines{heard("OLEDragOver", 1, Qt::CopyAction, 0, 30, 31)});

    // Beyond what the drags above show: every action's effect, the proposed action when
    // allowed, move before link when not, and the scroll bit is no action.
    EXPECT_EQ(dropEffects(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction | Qt::TargetMoveAction), 7);
    EXPECT_EQ(dropActionFor(kDropCopy | kDropMove, copyOrMove, Qt::MoveAction), Qt::MoveAction);
    EXPECT_EQ(dropActionFor(kDropLink | kDropMove, copyOrMove | Qt::LinkAction, Qt::CopyAction), Qt::MoveAction);
    EXPECT_EQ(dropActionFor(kDropCopy | kDropMove | kDropScroll, copyOrMove, Qt::CopyAction), Qt::CopyAction);
    EXPECT_EQ(dropActionFor(kDropScroll, Qt::CopyAction, Qt::CopyAction), Qt::IgnoreAction);
}

TEST(QtInput, QtTimersFollowTheTimerElements) {
    PadWidget p;
    const auto qtimer = [&](const char* name) { return p.widget.findChild<QTimer*>(name); };
    const auto timer = [&](const char* name) { return p.pad().host().timer(name); };
    // After the control changes its timer elements: whether each QTimer runs, and Timer1's interval.
    const std::tuple<const char*, std::function<void()>, bool, bool, int> steps[] = {
        {"as the template has them", [] {}, true, false, 1000},
        {"a timer turned on", [&] { timer("Timer2").Enabled(true); }, true, true, 1000},
        {"a new interval", [&] { timer("Timer1").Interval(250); }, true, true, 250},
        {"an interval of 0 stops it", [&] { timer("Timer1").Interval(0); }, false, true, 0},
        {"another interval starts it", [&] { timer("Timer1").Interval(100); }, true, true, 100},
        {"a timer turned off", [&] { timer("Timer1").Enabled(false); }, false, true, 100},
        {"and on again", [&] { timer("Timer1").Enabled(true); }, true, true, 100},
    };
    for (const auto& [what, change, active1, active2, interval1] : steps) {
        SCOPED_TRACE(what);
        change();
        ASSERT_TRUE(qtimer("Timer1") != nullptr && qtimer("Timer2") != nullptr);
        EXPECT_EQ(qtimer("Timer1")->isActive(), active1);
        EXPECT_EQ(qtimer("Timer2")->isActive(), active2);
        EXPECT_TRUE(!active1 || qtimer("Timer1")->interval() == interval1) << qtimer("Timer1")->interval();
        EXPECT_TRUE(!active2 || qtimer("Timer2")->interval() == 500) << qtimer("Timer2")->interval();
    }
    // A timeout ticks the element it belongs to.
    QTimerEvent due(qtimer("Timer2")->timerId());
    EXPECT_EQ(p.received([&] { QCoreApplication::sendEvent(qtimer("Timer2"), &due); }), Lines{"Timer Timer2"});
    timer("Timer2").Enabled(false);
    EXPECT_FALSE(qtimer("Timer2")->isActive());
}

TEST(QtInput, ALabelsOwnCursorShowsWhileThePointerIsOverIt) {
    PadWidget p;
    const auto moveTo = [&](QPoint px) {
        QMouseEvent e(QEvent::MouseMove, QPointF(px), p.widget.mapToGlobal(QPointF(px)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        p.send(e);
    };
    for (const QPoint away : {QPoint(30, 30), QPoint(95, 10)}) {
        moveTo({80, 80});
        EXPECT_EQ(p.widget.cursor().shape(), Qt::BitmapCursor);
        EXPECT_EQ(p.widget.cursor().hotSpot(), QPoint(13, 5));
        EXPECT_EQ(p.widget.cursor().pixmap().size(), QSize(32, 32));
        moveTo(away);
        EXPECT_EQ(p.widget.cursor().shape(), Qt::ArrowCursor) << away.x() << "," << away.y();
    }
}

// The container's size reaches the control even when it was given before the widget was
// shown; a control that keeps its own size (the option strip's 6150 x 1020 twips, the
// navigation box at least as wide as its buttons) takes the widget back to it.
TEST(QtInput, TheControlFollowsTheContainersSizeOrKeepsItsOwn) {
    const float perPixel = 1440.0f / 96;
    const std::tuple<const char*, QSize, QSize> cases[] = {
        {"vltBox", {300, 200}, {300, 200}},
        {"VelOptionToolBar", {530, 108}, {410, 68}},
        {"vltSwitch", {20, 100}, {0, 0}},  // 0: its own width
    };
    for (const auto& [cls, given, kept] : cases) {
        SCOPED_TRACE(cls);
        QWidget form;
        QtControlWidget w(cls, nullptr, &form);
        ASSERT_EQ(w.logicalDpiX(), 96);
        w.resize(given);
        (void)w.get("Caption");  // a call in between must not undo the container's size
        form.resize(800, 400);
        form.show();
        testing::Shown::settle();
        w.resize(given);  // and again once shown
        testing::Shown::settle();
        if (kept.isEmpty()) {
            EXPECT_GT(w.width(), given.width());
            EXPECT_EQ(w.width(), w.scale().size(w.host().surface().Width(), 0).width());
            continue;
        }
        EXPECT_EQ(w.size(), kept);
        EXPECT_FLOAT_EQ(w.host().surface().Width(), kept.width() * perPixel);
        EXPECT_FLOAT_EQ(w.host().surface().Height(), kept.height() * perPixel);
    }
}

// The library's private push button, made through the private route, in a window after
// a line edit: reached with Tab, lit while it has the focus, pressed with Enter.
TEST(QtInput, GraphicButtonTakesTabAndIsPressedWithEnter) {
    Lines events;  // outlives the window: closing the button raises Terminate
    QWidget window;
    auto* before = new QLineEdit(&window);
    const PropertyBag saved{{"CaptionText", "Next"}};
    auto* button = new QtControlWidget(QtControlWidget::LibraryInternal{"vltGraphButton"}, &saved, &window);
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(before);
    layout->addWidget(button);
    QObject::connect(button, &QtControlWidget::eventRaised, [&](const EventDecl& ev, std::span<Variant>) {
        events.push_back(std::string(ev.name));
    });
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    before->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    // The middle piece shows the second of its two sets while lit.
    const auto lit = [&] { return button->host().find("Image2", 1).as<Image>().Visible(); };
    EXPECT_FALSE(lit());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), button);
    EXPECT_TRUE(lit());
    events.clear();
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(events, (Lines{"KeyDown", "Click", "KeyUp"}));
    QTest::keyClick(button, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), before);
    EXPECT_FALSE(lit());
}

}  // namespace
}  // namespace talvik
