#pragma once
// The exam screen: the exam header, an answer sheet of 40 questions in two columns, the
// option strip of the current question, and a "Hand in" button that shows the
// candidate's answers as the sheet reports them.
#include <QWidget>

#include "frame/host/Variant.h"

namespace talvik {

class AnswerStrip;
class QtControlWidget;

class ExamWindow : public QWidget {
    Q_OBJECT

public:
    explicit ExamWindow(QWidget* parent = nullptr);

    QtControlWidget& sheet() const { return *sheet_; }
    // The option strip for the sheet's current question, kept in step with the sheet.
    AnswerStrip& answerStrip() const { return *answerStrip_; }
    // The answers read from the sheet's result, one line a question.
    QString answers() const;

private:
    void handIn();

    QtControlWidget* sheet_ = nullptr;  // owned by this window
    AnswerStrip* answerStrip_ = nullptr;  // owned by this window
};

// "Question 7: B" for each question; the choices 1 to 4 of a result read as A to D.
QString formatAnswers(const StringArray& result);

}  // namespace talvik
