#include "ExamWindow.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "AnswerStrip.h"
#include "BoxFrame.h"
#include "frame/typelib/Catalogue.h"
#include "hosts/qt/QtControlWidget.h"

namespace talvik {

namespace {
constexpr std::int16_t kQuestions = 40;
constexpr std::int16_t kColumns = 2;
constexpr std::int16_t kPerColumn = 20;
constexpr std::int32_t kSheetBoxStyle = 2;  // Natural_greenbox
}  // namespace

ExamWindow::ExamWindow(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Talvik exam"));

    auto* left = new QVBoxLayout;
    left->setSpacing(12);
    if (findControlClass("vltHeaderExam") != nullptr)
        left->addWidget(new QtControlWidget("vltHeaderExam"), 0, Qt::AlignLeft | Qt::AlignTop);

    auto* help = new QLabel(QStringLiteral(
        "<b>How to answer</b><br>"
        "Click a bubble to mark or unmark that choice; a question may have more than one.<br>"
        "With the keyboard: the arrow keys move the marker from question to question, "
        "A to D (or 1 to 4) mark or unmark a choice of that question, and Space clears it.<br>"
        "When you are done, press <b>Hand in</b>."));
    help->setWordWrap(true);
    help->setMinimumWidth(300);
    help->setMaximumWidth(560);
    left->addWidget(help);
    left->addStretch(1);
    auto* handInButton = new QPushButton(QStringLiteral("Hand in"));
    handInButton->setMinimumWidth(120);
    connect(handInButton, &QPushButton::clicked, this, &ExamWindow::handIn);
    left->addWidget(handInButton, 0, Qt::AlignRight);

    const PropertyBag sheetLayout{{"MaxItems", kQuestions}, {"MaxCols", kColumns}, {"MaxItemPerCol", kPerColumn}};
    sheet_ = new QtControlWidget("Matrix", &sheetLayout);
    auto* sheetBox = new BoxFrame(sheet_, QStringLiteral("Answer sheet"), kSheetBoxStyle);
    answerStrip_ = new AnswerStrip(*sheet_);
    left->insertWidget(left->indexOf(help) + 1, answerStrip_, 0, Qt::AlignLeft);

    auto* main = new QHBoxLayout(this);
    main->setContentsMargins(16, 16, 16, 16);
    main->setSpacing(20);
    main->addLayout(left, 1);
    main->addWidget(sheetBox, 0, Qt::AlignTop);
    sheet_->setFocus();
}

QString ExamWindow::answers() const {
    const Outcome result = sheet_->get("result");
    if (!result) return QStringLiteral("The answer sheet could not be read: %1").arg(QString::fromStdString(result.error.description));
    return formatAnswers(result.value.toStringArray());
}

void ExamWindow::handIn() {
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Answers handed in"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* text = new QPlainTextEdit(answers());
    text->setReadOnly(true);
    text->setMinimumSize(320, 480);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.exec();
}

QString formatAnswers(const StringArray& result) {
    QStringList lines;
    for (std::int32_t q = result.lbound; q <= result.ubound(); ++q) {
        QStringList choices;
        for (const QString& digit : QString::fromStdString(result.at(q)).split(u',', Qt::SkipEmptyParts))
            choices << QString(QChar(u'A' + digit.toInt() - 1));
        lines << QStringLiteral("Question %1: %2").arg(q).arg(choices.isEmpty() ? QStringLiteral("no answer") : choices.join(u", "));
    }
    return lines.join(u'\n');
}

}  // namespace talvik
