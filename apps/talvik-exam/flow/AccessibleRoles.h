// Widgets of the flow that a screen reader must take for something other than a plain
// widget: the help overlay as a dialog, the announcer's label as an alert.
#pragma once

#include <QAccessible>
#include <QWidget>

namespace talvik::exam {

// Gives `widget` the accessible role `role` (with its accessible name, or a label's text,
// as the name). Call before the widget is first asked for its accessible interface.
void setAccessibleRole(QWidget* widget, QAccessible::Role role);

}  // namespace talvik::exam
