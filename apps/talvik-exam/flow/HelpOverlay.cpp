#include "flow/HelpOverlay.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QShortcut>
#include <QVBoxLayout>

#include "flow/AccessibleRoles.h"

namespace talvik::exam {

HelpOverlay::HelpOverlay(QWidget* window, const Shortcuts& shortcuts) : QWidget(window) {
    setObjectName(QStringLiteral("helpOverlay"));
    setAccessibleRole(this, QAccessible::Dialog);
    setAccessibleName(tr("Keyboard shortcuts"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_NoSystemBackground);

    panel_ = new QFrame(this);
    panel_->setObjectName(QStringLiteral("helpPanel"));
    panel_->setFrameShape(QFrame::StyledPanel);
    panel_->setAutoFillBackground(true);
    panel_->setBackgroundRole(QPalette::Base);

    auto* title = new QLabel(tr("Keyboard shortcuts"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    title->setFont(big);

    auto* table = new QGridLayout;
    table->setHorizontalSpacing(24);
    table->setVerticalSpacing(8);
    int row = 0;
    QStringList spoken;
    for (const auto& [key, action] : shortcuts) {
        spoken << key + QStringLiteral(": ") + action;
        auto* k = new QLabel(key);
        k->setStyleSheet(QStringLiteral("QLabel { font-weight: bold; border: 1px solid palette(mid);"
                                        " border-radius: 3px; padding: 2px 8px; background: palette(window); }"));
        k->setAlignment(Qt::AlignCenter);
        auto* a = new QLabel(action);
        table->addWidget(k, row, 0, Qt::AlignLeft | Qt::AlignVCenter);
        table->addWidget(a, row, 1);
        ++row;
    }
    table->setColumnStretch(1, 1);
    // Read out when the overlay takes the focus, since the labels themselves take none.
    setAccessibleDescription(spoken.join(QStringLiteral("; ")));

    auto* hint = new QLabel(tr("Press Esc or F1 to close."));

    auto* inner = new QVBoxLayout(panel_);
    inner->setContentsMargins(24, 20, 24, 20);
    inner->setSpacing(16);
    inner->addWidget(title);
    inner->addLayout(table);
    inner->addWidget(hint);

    auto* centre = new QGridLayout(this);
    centre->addWidget(panel_, 0, 0, Qt::AlignCenter);

    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), window);
    f1->setContext(Qt::WindowShortcut);
    connect(f1, &QShortcut::activated, this, &HelpOverlay::toggle);
    connect(this, &QObject::destroyed, f1, &QObject::deleteLater);  // the window outlives the help

    window->installEventFilter(this);
    hide();
}

void HelpOverlay::open() {
    if (isOpen()) return;
    QWidget* focused = QApplication::focusWidget();
    returnFocus_ = (focused != nullptr && focused != this && !isAncestorOf(focused)) ? focused : nullptr;
    setGeometry(parentWidget()->rect());
    raise();
    show();
    setFocus(Qt::OtherFocusReason);
}

void HelpOverlay::dismiss() {
    if (!isOpen()) return;
    hide();
    if (returnFocus_ != nullptr) returnFocus_->setFocus(Qt::OtherFocusReason);
    returnFocus_ = nullptr;
    emit closed();
}

void HelpOverlay::toggle() { isOpen() ? dismiss() : open(); }

bool HelpOverlay::event(QEvent* event) {
    // The window's own shortcuts stay quiet while the help is over it; F1 still closes it.
    if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

bool HelpOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void HelpOverlay::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0, 0, 0, 140));
}

void HelpOverlay::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F1) {
        dismiss();
        return;
    }
    // The window behind takes no keys while the help is over it.
    event->accept();
}

void HelpOverlay::mousePressEvent(QMouseEvent* event) {
    event->accept();
    dismiss();
}

bool HelpOverlay::focusNextPrevChild(bool) { return true; }

}  // namespace talvik::exam
