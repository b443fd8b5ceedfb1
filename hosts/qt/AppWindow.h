#pragma once
// How the applications run their main window: on screen, or with `--screenshot FILE`
// rendered off-screen to a PNG, after which the program exits (no display needed with
// QT_QPA_PLATFORM=offscreen).
#include <QWidget>

namespace talvik {

// Shows the window and runs the event loop, or writes the screenshot the command line
// asks for: of `whole` when given (the contents of a scroll area, in full), else of the
// window. Returns the program's exit status.
int runMainWindow(QWidget& window, QWidget* whole = nullptr);

// Renders a window that is not on screen, laid out and painted as it would be shown.
QImage renderOffscreen(QWidget& window);

}  // namespace talvik
