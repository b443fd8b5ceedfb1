// The keyboard shortcuts, laid over the window on a dimmed backdrop. F1 opens and closes
// it; Esc or a click closes it, and the focus goes back to where it was.
#pragma once

#include <QList>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QWidget>

class QFrame;

namespace talvik::exam {

class HelpOverlay : public QWidget {
    Q_OBJECT
public:
    using Shortcuts = QList<QPair<QString, QString>>;  // key, what it does

    // Lays itself over `window` (hidden until opened) and takes F1 there.
    HelpOverlay(QWidget* window, const Shortcuts& shortcuts);

    void open();
    void dismiss();
    void toggle();
    bool isOpen() const { return isVisible(); }

    QFrame* panel() const { return panel_; }

signals:
    void closed();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    QFrame* panel_ = nullptr;
    QPointer<QWidget> returnFocus_;
};

}  // namespace talvik::exam
