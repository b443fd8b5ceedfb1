#pragma once
// A widget framed by one of the skinned boxes: the box is drawn behind the widget and
// sized with it, and the widget keeps clear of the box's frame rows and buttons.
#include <QMargins>
#include <QWidget>

namespace talvik {

class BoxFrame : public QWidget {
public:
    // Takes `box` and `content` as its own children; `margins` (pixels) is where the
    // content stays clear of the box's frame, caption and buttons.
    BoxFrame(QWidget* box, QWidget* content, const QMargins& margins, QWidget* parent = nullptr);

    QWidget& box() const { return *box_; }
    QWidget& content() const { return *content_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    QWidget* box_;
    QWidget* content_;
    QMargins margins_;
};

}  // namespace talvik
