// A candidate at the exam screen: clicks sent straight to a widget, keys to the focused
// one, a box's named button pressed, and the queued events let through after each.
#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include "hosts/qt/QtControlWidget.h"
#include "random_candidate.h"

namespace talvik::exam::testing {

inline void settle() {
    for (int i = 0; i < 4; ++i) QCoreApplication::processEvents();
}

inline void click(QWidget* w, QPoint at) {
    sendClick(w, at);
    settle();
}

// To the focused widget, else to `window`.
inline void key(QWidget& window, int k, Qt::KeyboardModifiers m = {}) {
    QWidget* to = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &window;
    QTest::keyClick(to, Qt::Key(k), m);
    settle();
}

inline void focus(QWidget& w) {
    QApplication::setActiveWindow(w.window());
    w.setFocus(Qt::TabFocusReason);
    settle();
}

// A button of a box, found by what the box calls it.
inline void press(QtControlWidget& box, const char* name) {
    for (const AccessiblePart& p : box.accessibleParts().parts)
        if (p.name == name) return click(&box, box.scale().snapped(p.bounds).center());
    ADD_FAILURE() << "no button " << name;
}

}  // namespace talvik::exam::testing
