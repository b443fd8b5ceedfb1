#include "AnswerStrip.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <string>

#include "frame/host/PropertyBag.h"
#include "hosts/qt/QtControlWidget.h"

namespace talvik {

namespace {

std::string digitsOf(std::bitset<4> choices) {
    std::string s;
    for (int k = 0; k < 4; ++k)
        if (choices[std::size_t(k)]) s += char('1' + k);
    return s;
}

}  // namespace

AnswerStrip::AnswerStrip(QtControlWidget& sheet, QWidget* parent)
    : QGroupBox(QStringLiteral("Current question"), parent), sheet_(sheet) {
    // Check boxes A to D, as a question of the sheet may have more than one mark.
    const PropertyBag design{{"VelOptionBox", std::int32_t{1}}, {"VelOptionChar", std::int32_t{3}},
                             {"VelCountItems", std::int16_t{4}}, {"VelStyle", std::int32_t{1}}};
    strip_ = new QtControlWidget("VelOptionToolBar", &design);
    // The sheet keeps the keyboard, so its keys still work after a click on the strip.
    strip_->setFocusPolicy(Qt::NoFocus);
    title_ = new QLabel;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addWidget(strip_, 0, Qt::AlignLeft);
    sheet_.installEventFilter(this);
    strip_->installEventFilter(this);
    showCurrentQuestion();
}

void AnswerStrip::showCurrentQuestion() {
    const Outcome row = sheet_.get("RowSel");
    const Outcome result = sheet_.get("result");
    if (!row || !result) return;
    const StringArray& answers = result.value.toStringArray();
    const std::int32_t q = row.value.toInt32() + 1;
    if (q < answers.lbound || q > answers.ubound()) return;
    question_ = q;
    title_->setText(tr("Question %1: mark it here or on the sheet").arg(q));
    strip_->let("VelValue", digitsOf(choicesIn(answers.at(q))));
}

void AnswerStrip::markSheetFromStrip() {
    const Outcome row = sheet_.get("RowSel");
    const Outcome result = sheet_.get("result");
    const Outcome value = strip_->get("VelValue");
    if (!row || !result || !value) return;
    // The sheet moved on since the strip last showed it: the strip follows the sheet.
    if (row.value.toInt32() + 1 != question_) return showCurrentQuestion();
    const std::bitset<4> wanted = choicesIn(value.value.toString());
    const std::bitset<4> marked = choicesIn(result.value.toStringArray().at(question_));
    // The sheet has no property for the marks of one question; its keys A to D toggle
    // the choices of its current question, which is the one the strip shows.
    for (int k = 0; k < 4; ++k) {
        if (wanted[std::size_t(k)] == marked[std::size_t(k)]) continue;
        const auto key = Qt::Key(Qt::Key_A + k);
        const QString text(QChar(u'a' + k));
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(&sheet_, &press);
        QCoreApplication::sendEvent(&sheet_, &release);
    }
}

bool AnswerStrip::eventFilter(QObject* watched, QEvent* e) {
    // The filter sees input before the control does: follow it once it has been handled.
    const QEvent::Type t = e->type();
    if (watched == &sheet_ && (t == QEvent::MouseButtonRelease || t == QEvent::KeyPress))
        QMetaObject::invokeMethod(this, [this] { showCurrentQuestion(); }, Qt::QueuedConnection);
    else if (watched == strip_ && t == QEvent::MouseButtonRelease)
        QMetaObject::invokeMethod(this, [this] { markSheetFromStrip(); }, Qt::QueuedConnection);
    return QGroupBox::eventFilter(watched, e);
}

std::bitset<4> choicesIn(std::string_view text) {
    std::bitset<4> choices;
    for (const char c : text) {
        if (c >= '1' && c <= '4') choices.set(std::size_t(c - '1'));
        else if (c >= 'A' && c <= 'D') choices.set(std::size_t(c - 'A'));
        else if (c >= 'a' && c <= 'd') choices.set(std::size_t(c - 'a'));
    }
    return choices;
}

}  // namespace talvik
