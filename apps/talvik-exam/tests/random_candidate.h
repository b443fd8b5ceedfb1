// A candidate who works at random: what the kill loop's driver and the screen-thread
// benchmark both do to the exam screen, one change a call. Needs no test framework.
#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QTextBrowser>
#include <algorithm>
#include <cstdint>
#include <random>

#include "AnswerSheet.h"
#include "ExamApp.h"
#include "ExamWindow.h"
#include "hosts/qt/widgets/VelOptionToolBar.h"
#include "hosts/qt/widgets/vltSwitch.h"
#include "session/ExamSession.h"

namespace talvik::exam::testing {

// A press and a release: clicks in a row stay single clicks, where the platform would
// pair two quick ones into a double click.
inline void sendClick(QWidget* w, QPoint at) {
    const QPointF p(at);
    QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QCoreApplication::sendEvent(w, &release);
}

// The middle of the strip's box `i` (32 pixels square at 20 + 42 i, 4).
inline QPoint stripBox(int i) { return {36 + 42 * i, 20}; }

inline void keyInto(QWidget& w, int k, Qt::KeyboardModifiers m = {}) {
    w.setFocus(Qt::OtherFocusReason);
    QTest::keyClick(&w, Qt::Key(k), m);
}

// One thing a candidate does: a bubble of any row of the sheet, a box of the strip, a
// letter key, a flag, the next or the previous question.
inline void actAtRandom(ExamApp& app, std::mt19937& rng) {
    ExamWindow& window = app.window();
    const ExamSession& session = app.session();
    const int choices = int(session.itemState(session.state().current).order.size());
    switch (rng() % 8) {
        case 0:
        case 1: {
            const int item = int(rng() % std::uint32_t(session.itemCount()));
            const int position = int(rng() % AnswerSheet::kBubbles);
            sendClick(&window.sheet(), window.sheet().bubbleRect(item, position).center());
            break;
        }
        case 2:
            sendClick(&window.strip(), stripBox(int(rng() % std::uint32_t(std::min(choices, ExamWindow::kStripChoices)))));
            break;
        case 3: keyInto(window.pane(), Qt::Key_A + int(rng() % std::uint32_t(choices))); break;
        case 4: keyInto(window.pane(), Qt::Key_F, Qt::ControlModifier); break;
        case 5: keyInto(window.pane(), Qt::Key_PageDown); break;
        case 6: keyInto(window.pane(), Qt::Key_PageUp); break;
        default: keyInto(window.questionSwitch(), rng() % 2 ? Qt::Key_Right : Qt::Key_Left); break;
    }
}

}  // namespace talvik::exam::testing
