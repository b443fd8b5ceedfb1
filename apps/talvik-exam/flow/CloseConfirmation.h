// Closing the window during the test asks first; after hand-in there is nothing to lose.
#pragma once

#include <QString>

#include "session/ExamSession.h"

class QWidget;

namespace talvik::exam {

// True when the window may close: after hand-in at once, during the test when the
// candidate says yes (the default answer is no).
bool confirmClose(QWidget* parent, const ExamSession& session);

// What the question says.
QString closeQuestion();

}  // namespace talvik::exam
