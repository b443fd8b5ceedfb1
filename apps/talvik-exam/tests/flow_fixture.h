// Sessions made up for the flow's tests, and a way to look at what a widget draws.
#pragma once

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include "session/ExamSession.h"

namespace talvik::exam::testing {

// A test of `count` single-choice items "i1".."iN" titled "Item 1".."Item N" (item 3 has
// no title), each with choices A..D in the order given, and a limit of `limitSeconds`.
inline qti::Test makeTest(int count, double limitSeconds = 0) {
    qti::Test test;
    test.identifier = "flow-test";
    test.title = "Physics, autumn term";
    if (limitSeconds > 0) test.maxTimeSeconds = limitSeconds;
    qti::Section section;
    section.identifier = "s1";
    for (int i = 1; i <= count; ++i) {
        qti::Item item;
        item.identifier = "i" + std::to_string(i);
        item.title = i == 3 ? "" : "Item " + std::to_string(i);
        item.delivered = true;
        for (const char* id : {"A", "B", "C", "D"}) item.choices.push_back(qti::Choice{id, id, false});
        section.items.push_back(item);
    }
    test.sections.push_back(section);
    return test;
}

// Writes what `widget` draws at `ratio` device pixels per pixel to
// $TALVIK_FLOW_PNG_DIR/name@ratio.png, when that variable names a folder.
inline void renderPng(QWidget& widget, const QString& name, qreal ratio) {
    const QString dir = qEnvironmentVariable("TALVIK_FLOW_PNG_DIR");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    if (!widget.isVisible()) widget.show();  // lays it out as on the screen
    QPixmap pixmap(widget.size() * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::white);
    widget.render(&pixmap);
    pixmap.save(QStringLiteral("%1/%2@%3.png").arg(dir, name).arg(ratio));
}

// Runs `act` on the modal dialog of type T as soon as one is open (the calls that open
// one block until it closes).
template <class T>
void whenModal(std::function<void(T*)> act, int tries = 200) {
    QTimer::singleShot(0, [act = std::move(act), tries]() mutable {
        if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget())) act(modal);
        else if (tries > 0) whenModal<T>(std::move(act), tries - 1);
    });
}

}  // namespace talvik::exam::testing
