// Qt input as a control receives it: focus, keys, double clicks, drag and drop with
// the control's answer deciding the drop, and timers that follow the control's timer
// elements. A control made for these tests logs every event it receives.
#include <QCoreApplication>
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
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "frame/com/ClassFactory.h"
#include "frame/com/ControlObject.h"
#include "frame/com/EntryPoints.h"
#include "hosts/qt/DropEffects.h"
#include "hosts/qt/QtControlWidget.h"
#include "resources/Resources.h"

namespace talvik {
namespace {

// Logs each event with its arguments; answers OLEDragOver and OLEDragDrop with
// `answer` (-1: leaves the effect as it came).
class Pad : public Control {
public:
    using Control::Control;
    static const ControlTemplate& Design() {
        static const ControlTemplate t = [] {
            ControlTemplate t{.width = 1500, .height = 1500};
            // 20 to 60 pixels across at 96 DPI; "off" below it takes no input.
            t.add({.kind = ElementKind::Image, .name = "pic", .left = 300, .top = 300, .width = 600, .height = 600});
            t.add({.kind = ElementKind::Image, .name = "off", .left = 300, .top = 1050, .width = 600, .height = 300,
                   .enabled = false});
            // 70 to 90 pixels across and down, with a pointing hand of its own.
            t.add({.kind = ElementKind::Label, .name = "link", .left = 1050, .top = 1050, .width = 300, .height = 300,
                   .cursor = "hand", .cursorX = 13, .cursorY = 5});
            t.add({.kind = ElementKind::Timer, .name = "Timer1", .interval = 1000});
            t.add({.kind = ElementKind::Timer, .name = "Timer2", .enabled = false, .interval = 500});
            return t;
        }();
        return t;
    }
    std::int32_t Timer1Interval() const { return host().timer("Timer1").Interval(); }
    void Timer1Interval(std::int32_t ms) { host().timer("Timer1").Interval(ms); }
    bool Timer1On() const { return host().timer("Timer1").Enabled(); }
    void Timer1On(bool on) { host().timer("Timer1").Enabled(on); }
    bool Timer2On() const { return host().timer("Timer2").Enabled(); }
    void Timer2On(bool on) { host().timer("Timer2").Enabled(on); }

    void OnEvent(const InputEvent& ev) override {
        std::string line = std::string(eventName(ev.kind)) + " " + (ev.source ? ev.source.displayName() : "-");
        char args[160] = "";
        switch (ev.kind) {
            case EventKind::KeyDown:
            case EventKind::KeyUp: std::snprintf(args, sizeof args, " %d s%d", ev.key, ev.shift); break;
            case EventKind::KeyPress: std::snprintf(args, sizeof args, " %d", ev.key); break;
            case EventKind::MouseDown:
            case EventKind::DblClick:
                std::snprintf(args, sizeof args, " b%d s%d %g,%g", ev.button, ev.shift, double(ev.x), double(ev.y));
                break;
            case EventKind::OLEDragOver:
            case EventKind::OLEDragDrop: {
                const std::string text = ev.data->GetFormat(kFormatText) ? ev.data->GetData(kFormatText).toString() : "";
                std::snprintf(args, sizeof args, " st%d e%d b%d s%d %g,%g \"%s\" files%zu", ev.state, ev.effect,
                              ev.button, ev.shift, double(ev.x), double(ev.y), text.c_str(), ev.data->Files().size());
                if (answer >= 0) ev.effect = answer;
                break;
            }
            default: break;
        }
        log.push_back(line + args);
    }

    std::vector<std::string> log;
    std::int32_t answer = -1;
};

constexpr MemberDesc kPadMembers[] = {
    property<Pad, std::int32_t, &Pad::Timer1Interval, &Pad::Timer1Interval>("Timer1Interval", 0x68030002),
    property<Pad, bool, &Pad::Timer1On, &Pad::Timer1On>("Timer1On", 0x68030001),
    property<Pad, bool, &Pad::Timer2On, &Pad::Timer2On>("Timer2On", 0x68030000),
};
// The pad's one template picture, the hand, is the library's hyperlink cursor.
std::optional<PictureFile> padPicture(std::string_view id) {
    return id == "Pad/hand" ? resources::kPictureFiles.templatePicture("URLLink/lblURL") : std::nullopt;
}
const PictureFiles kPadPictures{nullptr, &padPicture};
const ControlClass kPadClass = controlClass<Pad>("Pad", kPadMembers, {}, &kPadPictures);
constexpr const char* kPadId = "{5A1D0C3E-7B2F-4C11-9E8A-2D4F6B8C0E13}";

HRESULT padClassObject(const Guid& clsid, const Guid& iid, void** object) {
    return clsid == guid(kPadId) ? classObjectOf(kPadClass, iid, object) : getClassObject(clsid, iid, object);
}

const EntryPoints& padEntryPoints() {
    const EntryPoints& linked = linkedEntryPoints();
    static const EntryPoints entry{linked.registerServer, linked.unregisterServer, &padClassObject,
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
    struct Step { QEvent::Type type; Qt::FocusReason reason; Lines expected; };
    const Step steps[] = {
        {QEvent::FocusIn, Qt::TabFocusReason, {"EnterFocus -", "GotFocus -"}},
        // Another window in front (a message box) and back: the control kept the focus.
        {QEvent::FocusOut, Qt::ActiveWindowFocusReason, {}},
        {QEvent::FocusIn, Qt::ActiveWindowFocusReason, {}},
        {QEvent::FocusOut, Qt::PopupFocusReason, {}},
        {QEvent::FocusIn, Qt::PopupFocusReason, {}},
        {QEvent::FocusOut, Qt::MouseFocusReason, {"LostFocus -", "ExitFocus -"}},
        // The window coming to the front with the control as its focused widget.
        {QEvent::FocusIn, Qt::ActiveWindowFocusReason, {"EnterFocus -", "GotFocus -"}},
        {QEvent::FocusOut, Qt::TabFocusReason, {"LostFocus -", "ExitFocus -"}},
    };
    for (const Step& s : steps) {
        QFocusEvent e(s.type, s.reason);
        EXPECT_EQ(p.received([&] { p.send(e); }), s.expected) << "focus event " << s.type << " reason " << s.reason;
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
        bool autoRepeat;
        Lines expected;
    };
    const Case cases[] = {
        {"a letter with shift", QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier, "A", false, {"KeyDown - 65 s1", "KeyPress - 65"}},
        {"its release", QEvent::KeyRelease, Qt::Key_A, Qt::ShiftModifier, "A", false, {"KeyUp - 65 s1"}},
        {"a letter with control", QEvent::KeyPress, Qt::Key_B, Qt::ControlModifier, "\x02", false,
         {"KeyDown - 66 s2", "KeyPress - 2"}},
        {"Enter", QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", false, {"KeyDown - 13 s0", "KeyPress - 13"}},
        {"Enter of the keypad", QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier, "\r", false,
         {"KeyDown - 13 s0", "KeyPress - 13"}},
        {"a character beyond ASCII", QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QString(QChar(0xE9)), false,
         {"KeyPress - 233"}},
        {"a character the host has no code for", QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier,
         QString(QChar(0x416)), false, {}},
        {"an arrow has no character", QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, "", false, {"KeyDown - 40 s0"}},
        {"held down, it repeats", QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, "", true, {"KeyDown - 40 s0"}},
        {"and is let go once", QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, "", true, {}},
        {"let go", QEvent::KeyRelease, Qt::Key_Down, Qt::AltModifier, "", false, {"KeyUp - 40 s4"}},
    };
    for (const Case& c : cases) {
        QKeyEvent e(c.type, c.key, c.mods, c.text, c.autoRepeat);
        EXPECT_EQ(p.received([&] { p.send(e); }), c.expected) << c.what;
    }
}

TEST(QtInput, DoubleClicksGoToTheElementUnderTheMouse) {
    PadWidget p;
    struct Case { QPoint px; Qt::MouseButton button; Lines expected; };
    // pic is 20 to 60 pixels across and down; an element's event has its own coordinates.
    const Case cases[] = {
        {{25, 30}, Qt::LeftButton, {"DblClick pic b1 s0 " + p.at(5, 10)}},
        {{70, 30}, Qt::LeftButton, {"DblClick - b1 s0 " + p.at(70, 30)}},
        // A disabled element leaves the double click to the surface.
        {{25, 75}, Qt::LeftButton, {"DblClick - b1 s0 " + p.at(25, 75)}},
        // Another button's second press is only pressed again.
        {{25, 30}, Qt::RightButton, {"MouseDown pic b2 s0 " + p.at(5, 10)}},
    };
    for (const Case& c : cases) {
        QMouseEvent e(QEvent::MouseButtonDblClick, QPointF(c.px), p.widget.mapToGlobal(QPointF(c.px)), c.button,
                      c.button, Qt::NoModifier);
        EXPECT_EQ(p.received([&] { p.send(e); }), c.expected) << c.px.x() << "," << c.px.y();
    }
}

TEST(QtInput, ADragOverTheControlAsksItWhetherToDrop) {
    PadWidget p;
    QMimeData mime;
    mime.setText("answer 7");
    mime.setUrls({QUrl::fromLocalFile("/tmp/a.txt"), QUrl("http://example.com/")});
    const QString what = R"( "answer 7" files1)";
    const Qt::DropActions copyOrMove = Qt::CopyAction | Qt::MoveAction;

    // Until its container makes it a drop target, a drag passes the control by.
    QDragEnterEvent passing(QPoint(10, 12), copyOrMove, &mime, Qt::LeftButton, Qt::NoModifier);
    EXPECT_EQ(p.received([&] { p.send(passing); }), Lines{});
    EXPECT_FALSE(passing.isAccepted());
    p.widget.setAcceptDrops(true);

    // Entering, the control hears of the drag whatever it answers.
    p.pad().answer = kDropNone;
    QDragEnterEvent enter(QPoint(10, 12), copyOrMove, &mime, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(p.received([&] { p.send(enter); }),
              Lines{"OLEDragOver - st0 e3 b1 s1 " + p.at(10, 12) + what.toStdString()});
    EXPECT_TRUE(enter.isAccepted());

    struct Case {
        const char* what;
        std::int32_t answer;
        Qt::DropActions possible;
        Qt::DropAction expected;  // IgnoreAction: no drop here; NoAction: the proposed one
    };
    const Case cases[] = {
        {"refused", kDropNone, copyOrMove, Qt::IgnoreAction},
        {"moved", kDropMove, copyOrMove, Qt::MoveAction},
        {"copied", kDropCopy, copyOrMove, Qt::CopyAction},
        {"the source's choice", kDropCopy | kDropMove, copyOrMove, Qt::ActionMask},
        {"left as it came", -1, copyOrMove, Qt::ActionMask},
        {"an effect the source does not allow", kDropLink, copyOrMove, Qt::IgnoreAction},
        {"the one allowed of two", kDropCopy | kDropLink, Qt::LinkAction, Qt::LinkAction},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        p.pad().answer = c.answer;
        const std::string effects = std::to_string(dropEffects(c.possible));
        // Qt moves a drag only over the widget it entered.
        QDragEnterEvent enter(QPoint(39, 49), c.possible, &mime, Qt::LeftButton, Qt::NoModifier);
        QDragMoveEvent move(QPoint(40, 50), c.possible, &mime, Qt::LeftButton, Qt::NoModifier);
        EXPECT_EQ(p.received([&] {
            p.send(enter);
            p.send(move);
        }),
                  (Lines{"OLEDragOver - st0 e" + effects + " b1 s0 " + p.at(39, 49) + what.toStdString(),
                         "OLEDragOver - st2 e" + effects + " b1 s0 " + p.at(40, 50) + what.toStdString()}));
        QDropEvent drop(QPointF(41, 51), c.possible, &mime, Qt::LeftButton, Qt::ControlModifier);
        EXPECT_EQ(p.received([&] { p.send(drop); }),
                  Lines{"OLEDragDrop - st0 e" + effects + " b1 s2 " + p.at(41, 51) + what.toStdString()});
        for (const QDropEvent* e : {static_cast<QDropEvent*>(&move), &drop}) {
            if (c.expected == Qt::IgnoreAction) {
                EXPECT_FALSE(e->isAccepted());
            } else {
                EXPECT_TRUE(e->isAccepted());
                EXPECT_EQ(e->dropAction(), c.expected == Qt::ActionMask ? e->proposedAction() : c.expected);
            }
        }
    }

    // Leaving, where and as the drag was last, with what it carried.
    QDragEnterEvent again(QPoint(30, 31), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    p.send(again);
    QDragLeaveEvent leave;
    EXPECT_EQ(p.received([&] { p.send(leave); }),
              Lines{"OLEDragOver - st1 e1 b1 s0 " + p.at(30, 31) + what.toStdString()});
}

TEST(QtInput, DropEffectsAndActions) {
    EXPECT_EQ(dropEffects(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction | Qt::TargetMoveAction), 7);
    EXPECT_EQ(dropEffects(Qt::IgnoreAction), 0);
    struct Case { std::int32_t effect; Qt::DropActions possible; Qt::DropAction proposed; Qt::DropAction action; };
    const Case cases[] = {
        {kDropCopy | kDropMove, Qt::CopyAction | Qt::MoveAction, Qt::MoveAction, Qt::MoveAction},
        {kDropCopy | kDropMove | kDropScroll, Qt::CopyAction | Qt::MoveAction, Qt::CopyAction, Qt::CopyAction},
        {kDropMove, Qt::CopyAction | Qt::MoveAction, Qt::CopyAction, Qt::MoveAction},
        {kDropLink | kDropMove, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::CopyAction, Qt::MoveAction},
        {kDropLink, Qt::CopyAction, Qt::CopyAction, Qt::IgnoreAction},
        {kDropNone, Qt::CopyAction, Qt::CopyAction, Qt::IgnoreAction},
        {kDropScroll, Qt::CopyAction, Qt::CopyAction, Qt::IgnoreAction},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dropActionFor(c.effect, c.possible, c.proposed), c.action) << "effect " << c.effect;
}

TEST(QtInput, QtTimersFollowTheTimerElements) {
    PadWidget p;
    const auto qtimer = [&](const char* name) { return p.widget.findChild<QTimer*>(name); };
    struct Step {
        const char* what;
        const char* property;  // nullptr: none
        Variant value;
        bool active1, active2;
        int interval1, interval2;
    };
    const Step steps[] = {
        {"as the template has them", nullptr, {}, true, false, 1000, 500},
        {"a timer turned on", "Timer2On", true, true, true, 1000, 500},
        {"a new interval", "Timer1Interval", std::int32_t{250}, true, true, 250, 500},
        {"an interval of 0 stops it", "Timer1Interval", std::int32_t{0}, false, true, 0, 500},
        {"another interval starts it", "Timer1Interval", std::int32_t{100}, true, true, 100, 500},
        {"a timer turned off", "Timer1On", false, false, true, 100, 500},
        {"and on again", "Timer1On", true, true, true, 100, 500},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        if (s.property != nullptr) {
            ASSERT_TRUE(p.widget.let(s.property, s.value).ok());
        }
        ASSERT_NE(qtimer("Timer1"), nullptr);
        ASSERT_NE(qtimer("Timer2"), nullptr);
        EXPECT_EQ(qtimer("Timer1")->isActive(), s.active1);
        EXPECT_EQ(qtimer("Timer2")->isActive(), s.active2);
        if (s.active1) {
            EXPECT_EQ(qtimer("Timer1")->interval(), s.interval1);
        }
        if (s.active2) {
            EXPECT_EQ(qtimer("Timer2")->interval(), s.interval2);
        }
    }
    // A timeout ticks the element it belongs to.
    QTimerEvent due(qtimer("Timer2")->timerId());
    EXPECT_EQ(p.received([&] { QCoreApplication::sendEvent(qtimer("Timer2"), &due); }), Lines{"Timer Timer2"});
    ASSERT_TRUE(p.widget.let("Timer2On", false).ok());
    EXPECT_FALSE(qtimer("Timer2")->isActive());
}

TEST(QtInput, ALabelsOwnCursorShowsWhileThePointerIsOverIt) {
    PadWidget p;
    const auto moveTo = [&](QPoint px) {
        QMouseEvent e(QEvent::MouseMove, QPointF(px), p.widget.mapToGlobal(QPointF(px)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        p.send(e);
    };
    moveTo({80, 80});
    EXPECT_EQ(p.widget.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(p.widget.cursor().hotSpot(), QPoint(13, 5));
    EXPECT_EQ(p.widget.cursor().pixmap().size(), QSize(32, 32));
    for (const QPoint away : {QPoint(30, 30), QPoint(95, 10)}) {
        moveTo({80, 80});
        moveTo(away);
        EXPECT_EQ(p.widget.cursor().shape(), Qt::ArrowCursor) << away.x() << "," << away.y();
    }
}

}  // namespace
}  // namespace talvik
