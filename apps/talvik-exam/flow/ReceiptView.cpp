#include "flow/ReceiptView.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace talvik::exam {

QString ReceiptView::receiptCode(const QByteArray& bytes) {
    const QString hex =
        QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(8)).toUpper();
    return hex.left(4) + QLatin1Char('-') + hex.mid(4);
}

QString ReceiptView::handedInText(qint64 epochMs) {
    return QDateTime::fromMSecsSinceEpoch(epochMs).toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString ReceiptView::field(const QString& name) const {
    const auto* label = findChild<QLabel*>(name);
    return label != nullptr ? label->text() : QString();
}

ReceiptView::ReceiptView(const ExamSession& session, const QString& reportPath, const QByteArray& reportBytes,
                         QWidget* parent)
    : QWidget(parent), code_(receiptCode(reportBytes)) {
    setAccessibleName(tr("Receipt"));
    const SessionState& s = session.state();

    auto* heading = new QLabel(tr("Your answers have been handed in"));
    QFont big = heading->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    heading->setFont(big);
    heading->setWordWrap(true);
    heading->setObjectName(QStringLiteral("heading"));

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight);
    form->setHorizontalSpacing(16);
    form->setVerticalSpacing(8);
    const auto row = [&](const QString& label, const QString& objectName, const QString& value) {
        if (value.isEmpty()) return static_cast<QLabel*>(nullptr);
        auto* shown = new QLabel(value);
        shown->setObjectName(objectName);
        shown->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        form->addRow(label, shown);
        return shown;
    };
    row(tr("Candidate:"), QStringLiteral("candidate"), QString::fromStdString(s.candidate));
    row(tr("Class:"), QStringLiteral("class"), QString::fromStdString(s.className));
    row(tr("Test:"), QStringLiteral("test"), QString::fromStdString(session.test().title));
    if (s.handedIn) row(tr("Handed in at:"), QStringLiteral("handedIn"), handedInText(s.handedInAtMs));
    row(tr("Answered:"), QStringLiteral("answered"),
        tr("%1 of %2").arg(session.answeredCount()).arg(session.itemCount()));
    row(tr("Flagged:"), QStringLiteral("flagged"), QString::number(session.flaggedCount()));
    if (QLabel* report = row(tr("Report file:"), QStringLiteral("report"), reportPath)) {
        // A long path breaks anywhere rather than widening the receipt.
        report->setWordWrap(true);
        report->setMinimumWidth(report->fontMetrics().averageCharWidth() * 30);
    }
    if (QLabel* code = row(tr("Receipt code:"), QStringLiteral("code"), code_)) {
        QFont mono = code->font();
        mono.setFamily(QStringLiteral("monospace"));
        mono.setStyleHint(QFont::Monospace);
        mono.setPointSizeF(mono.pointSizeF() * 1.4);
        mono.setBold(true);
        code->setFont(mono);
    }

    auto* note = new QLabel(tr("Quote the receipt code if you ask about your result. You may now leave the test."));
    note->setWordWrap(true);

    auto* close = new QPushButton(tr("Close"));
    close->setObjectName(QStringLiteral("close"));
    connect(close, &QPushButton::clicked, this, &ReceiptView::closeRequested);

    auto* panel = new QWidget;
    panel->setMaximumWidth(panel->fontMetrics().averageCharWidth() * 80);
    auto* inner = new QVBoxLayout(panel);
    inner->addWidget(heading);
    inner->addSpacing(12);
    inner->addLayout(form);
    inner->addSpacing(12);
    inner->addWidget(note);
    inner->addSpacing(8);
    inner->addWidget(close, 0, Qt::AlignLeft);

    auto* across = new QHBoxLayout;
    across->addStretch(1);
    across->addWidget(panel, 4);
    across->addStretch(1);
    auto* outer = new QVBoxLayout(this);
    outer->addStretch(1);
    outer->addLayout(across);
    outer->addStretch(2);
    setFocusProxy(close);
}

}  // namespace talvik::exam
