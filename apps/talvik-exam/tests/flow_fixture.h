// Sessions made up for the flow's tests, and a way to answer a modal dialog.
#pragma once

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <map>
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

// Runs `act` on the modal dialog of type T as soon as one is open (the calls that open
// one block until it closes).
template <class T>
void whenModal(std::function<void(T*)> act, int tries = 200) {
    QTimer::singleShot(0, [act = std::move(act), tries]() mutable {
        if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget())) act(modal);
        else if (tries > 0) whenModal<T>(std::move(act), tries - 1);
    });
}

// The question buttons of the group box named `group`, by the question's index.
inline std::map<int, QPushButton*> questionButtons(const QWidget& dialog, const char* group) {
    std::map<int, QPushButton*> out;
    if (const auto* box = dialog.findChild<QGroupBox*>(QLatin1String(group)))
        for (QPushButton* b : box->findChildren<QPushButton*>()) out[b->property("question").toInt()] = b;
    return out;
}

}  // namespace talvik::exam::testing
