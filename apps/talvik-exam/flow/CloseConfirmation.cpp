#include "flow/CloseConfirmation.h"

#include <QMessageBox>
#include <QObject>
#include <QPushButton>

namespace talvik::exam {

QString closeQuestion() {
    return QObject::tr("Close the test? Your answers are saved and you can continue where you left off.");
}

bool confirmClose(QWidget* parent, const ExamSession& session) {
    if (session.state().handedIn) return true;
    QMessageBox box(QMessageBox::Question, QObject::tr("Close the test"), closeQuestion(),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace talvik::exam
