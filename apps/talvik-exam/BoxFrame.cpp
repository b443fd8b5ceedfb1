#include "BoxFrame.h"

#include <QResizeEvent>

#include "hosts/qt/QtControlWidget.h"

namespace talvik {

namespace {
constexpr int kRim = 8;  // pixels between the frame's outer edge and the content
}  // namespace

BoxFrame::BoxFrame(QWidget* content, const QString& caption, std::int32_t style, QWidget* parent)
    : QWidget(parent), content_(content) {
    const PropertyBag saved{{"Caption", caption.toStdString()}, {"Style", style}};
    box_ = new QtControlWidget("vltBox", &saved, this);
    box_->setFocusPolicy(Qt::NoFocus);
    // Created after the box, the content lies above it.
    content_->setParent(this);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // The bottom row holds the caption; the box reports its height, which only a new
    // style changes.
    const Outcome bottom = box_->call("BottomHeight");
    const int bottomPx = bottom ? qRound(box_->scale().px(float(bottom.value.toInt32()))) : 0;
    margins_ = {kRim, kRim, kRim, bottomPx + kRim / 2};
}

QSize BoxFrame::sizeHint() const { return content_->sizeHint().grownBy(margins_); }

void BoxFrame::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    box_->setGeometry(rect());
    content_->setGeometry(rect().marginsRemoved(margins_));
}

}  // namespace talvik
