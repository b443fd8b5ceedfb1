// What the candidate sees after hand-in instead of the question: that the answers are in,
// whose they are, how many were answered, where the report is, and a short code derived
// from the report that the candidate can quote.
#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>

#include "session/ExamSession.h"

class QLabel;
class QPushButton;

namespace talvik::exam {

class ReceiptView : public QWidget {
    Q_OBJECT
public:
    ReceiptView(const ExamSession& session, const QString& reportPath, const QByteArray& reportBytes,
                QWidget* parent = nullptr);

    // The first 8 hexadecimal digits of the SHA-256 of `bytes`, upper case, as XXXX-XXXX.
    static QString receiptCode(const QByteArray& bytes);
    // The hand-in time in local time, as the receipt shows it: "2026-12-06 17:05".
    static QString handedInText(qint64 epochMs);

    QString code() const { return code_; }
    // The shown value of a row: "candidate", "class", "test", "handedIn", "answered",
    // "flagged", "report", "code"; empty for a row not shown.
    QString field(const QString& name) const;

signals:
    // The candidate is done and may leave the program.
    void closeRequested();

private:
    QString code_;
};

}  // namespace talvik::exam
