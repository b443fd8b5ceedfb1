#pragma once
// A widget framed by a vltBox: the box is drawn behind the widget and sized to hold it,
// with the box's caption in the bottom frame row below it.
#include <QWidget>
#include <cstdint>

namespace talvik {

class QtControlWidget;

class BoxFrame : public QWidget {
public:
    // Takes `content` as its own child.
    BoxFrame(QWidget* content, const QString& caption, std::int32_t style, QWidget* parent = nullptr);

    QtControlWidget& box() const { return *box_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    QtControlWidget* box_;
    QWidget* content_;
    QMargins margins_;  // where the content goes: inside the rims, above the bottom row
};

}  // namespace talvik
