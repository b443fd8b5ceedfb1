#pragma once
// The option strip for the answer sheet's current question, kept in step with the sheet:
// a mark made on either shows on the other. Both are reached only as a container
// reaches them: properties, and for the sheet the keys a candidate presses.
#include <QGroupBox>
#include <bitset>
#include <string_view>

class QLabel;

namespace talvik {

class QtControlWidget;

class AnswerStrip : public QGroupBox {
    Q_OBJECT

public:
    // `sheet` is a Matrix that outlives this strip.
    explicit AnswerStrip(QtControlWidget& sheet, QWidget* parent = nullptr);

    QtControlWidget& strip() const { return *strip_; }
    // The question the strip shows, from 1.
    int question() const { return question_; }

    // The strip shows the sheet's current question and its marks.
    void showCurrentQuestion();
    // The sheet's current question takes the marks of the strip.
    void markSheetFromStrip();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QtControlWidget& sheet_;
    QtControlWidget* strip_ = nullptr;  // owned by this box
    QLabel* title_ = nullptr;
    int question_ = 0;
};

// Choices A to D (bits 0 to 3) named in a text: "1,3" as the sheet's result gives them,
// "AC" or "ac" as the strip's value does.
std::bitset<4> choicesIn(std::string_view text);

}  // namespace talvik
