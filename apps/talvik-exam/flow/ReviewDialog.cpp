#include "flow/ReviewDialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <vector>

namespace talvik::exam {

namespace {

bool askYesNo(QWidget* parent, const QString& text) {
    // On the heap: when the time runs out meanwhile, the review closes and takes the
    // question with it, which a box on this stack would not survive.
    const QPointer<QMessageBox> box =
        new QMessageBox(QMessageBox::Question, QObject::tr("Hand in"), text, QMessageBox::Yes | QMessageBox::No, parent);
    box->setDefaultButton(QMessageBox::No);
    box->button(QMessageBox::Yes)->setText(QObject::tr("Hand in"));
    box->button(QMessageBox::No)->setText(QObject::tr("Not yet"));
    const int answer = box->exec();
    if (box == nullptr) return false;
    box->deleteLater();
    return answer == QMessageBox::Yes;
}

QString questions(int n) { return n == 1 ? QObject::tr("1 question") : QObject::tr("%1 questions").arg(n); }

}  // namespace

QString ReviewDialog::questionLabel(const ExamSession& session, int index) {
    const QString title = QString::fromStdString(session.item(index).title).simplified();
    const QString number = tr("Question %1").arg(index + 1);
    return title.isEmpty() ? number : number + QStringLiteral(" \u2014 ") + title;
}

QString ReviewDialog::confirmationText(const ExamSession& session) {
    QString text = tr("Hand in your answers? You cannot change them afterwards.");
    const int unanswered = session.itemCount() - session.answeredCount();
    if (unanswered == 1) text += QLatin1Char('\n') + tr("1 question is unanswered.");
    else if (unanswered > 1) text += QLatin1Char('\n') + tr("%1 questions are unanswered.").arg(unanswered);
    return text;
}

ReviewDialog::ReviewDialog(const ExamSession& session, QWidget* parent)
    : QDialog(parent), session_(session), confirm_(&askYesNo) {
    setWindowTitle(tr("Review your answers"));
    setAccessibleName(windowTitle());

    const int count = session.itemCount();
    std::vector<int> unanswered, flagged, answered;
    for (int i = 0; i < count; ++i) {
        (session.isAnswered(i) ? answered : unanswered).push_back(i);
        if (session.itemState(i).flagged) flagged.push_back(i);
    }

    auto* summary = new QLabel(tr("You have answered %1 of %2. %3 unanswered, %4 flagged.")
                                   .arg(answered.size())
                                   .arg(questions(count))
                                   .arg(unanswered.size())
                                   .arg(flagged.size()));
    summary->setObjectName(QStringLiteral("summary"));
    summary->setWordWrap(true);

    auto* content = new QWidget;
    // Links to the questions: left-aligned rows with a focus mark that cannot be missed.
    content->setStyleSheet(QStringLiteral(
        "QPushButton { text-align: left; padding: 5px 9px; border: 1px solid palette(mid); border-radius: 3px;"
        " background: palette(button); }"
        "QPushButton:hover { background: palette(light); }"
        "QPushButton:pressed { background: palette(midlight); }"
        "QPushButton:focus { border: 3px solid palette(highlight); padding: 3px 7px; }"));
    auto* groups = new QVBoxLayout(content);
    const auto addGroup = [&](const QString& name, const QString& objectName, const std::vector<int>& indexes) {
        auto* box = new QGroupBox(QStringLiteral("%1 (%2)").arg(name).arg(indexes.size()));
        box->setObjectName(objectName);
        auto* rows = new QVBoxLayout(box);
        if (indexes.empty()) {
            auto* none = new QLabel(tr("None"));
            none->setEnabled(false);
            rows->addWidget(none);
        }
        for (const int i : indexes) {
            auto* go = new QPushButton(questionLabel(session, i));
            go->setProperty("question", i);
            connect(go, &QPushButton::clicked, this, [this, i] {
                emit goToQuestion(i);
                done(GoToQuestion);
            });
            rows->addWidget(go);
        }
        groups->addWidget(box);
    };
    addGroup(tr("Unanswered"), QStringLiteral("unanswered"), unanswered);
    addGroup(tr("Flagged"), QStringLiteral("flagged"), flagged);
    addGroup(tr("Answered"), QStringLiteral("answered"), answered);
    groups->addStretch();

    auto* scroll = new QScrollArea;
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);

    auto* buttons = new QDialogButtonBox;
    back_ = buttons->addButton(tr("Back to the test"), QDialogButtonBox::RejectRole);
    handIn_ = buttons->addButton(tr("Hand in\u2026"), QDialogButtonBox::AcceptRole);
    back_->setDefault(true);
    handIn_->setEnabled(!session.state().handedIn);
    connect(back_, &QPushButton::clicked, this, &QDialog::reject);
    connect(handIn_, &QPushButton::clicked, this, &ReviewDialog::askHandIn);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(scroll, 1);
    layout->addWidget(buttons);
    resize(560, 600);
}

void ReviewDialog::askHandIn() {
    if (session_.state().handedIn) return;
    const QPointer<ReviewDialog> self(this);
    // The dialog may be gone when the answer comes: closed by a hand-in when the time ran out.
    if (!confirm_(this, confirmationText(session_)) || self == nullptr || session_.state().handedIn) return;
    emit handInConfirmed();
    accept();
}

}  // namespace talvik::exam
