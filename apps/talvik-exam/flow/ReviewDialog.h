// The overview before hand-in: the questions unanswered, flagged and answered, each a
// button that goes to the question, and the way to hand in with a confirmation.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "session/ExamSession.h"

class QPushButton;

namespace talvik::exam {

class ReviewDialog : public QDialog {
    Q_OBJECT
public:
    // How the dialog ended, as exec() returns it.
    enum Outcome { Back = QDialog::Rejected, HandIn = QDialog::Accepted, GoToQuestion = 2 };

    // Asks the candidate a yes/no question; true for yes.
    using Confirmation = std::function<bool(QWidget* parent, const QString& text)>;

    // Shows the session as it is now; the session must outlive the dialog.
    explicit ReviewDialog(const ExamSession& session, QWidget* parent = nullptr);

    // Replaces the message box that asks before hand-in (tests, a themed box).
    void setConfirmation(Confirmation confirm) { confirm_ = std::move(confirm); }

    // What the confirmation asks, with the number of questions left unanswered.
    static QString confirmationText(const ExamSession& session);
    // "Question 7 — title" for the item at `index`.
    static QString questionLabel(const ExamSession& session, int index);

    QPushButton* backButton() const { return back_; }
    QPushButton* handInButton() const { return handIn_; }

signals:
    void goToQuestion(int index);
    void handInConfirmed();

private:
    void askHandIn();

    const ExamSession& session_;
    Confirmation confirm_;
    QPushButton* back_ = nullptr;
    QPushButton* handIn_ = nullptr;
};

}  // namespace talvik::exam
