// Makes assistive technology speak a text without showing anything: a label that screen
// readers see as an alert, kept out of sight in the window, whose text changes and which
// appears anew with each announcement.
#pragma once

#include <QString>

class QWidget;

namespace talvik::exam {

class Announcer {
public:
    // Speaks `text` in `window` (the label is made on first use and lives with the window).
    static void announce(QWidget* window, const QString& text);
    // The label last used in `window`, nullptr before any announcement.
    static QWidget* label(QWidget* window);
};

}  // namespace talvik::exam
