#include "BoxFrame.h"

#include <QResizeEvent>

namespace talvik {

BoxFrame::BoxFrame(QWidget* box, QWidget* content, const QMargins& margins, QWidget* parent)
    : QWidget(parent), box_(box), content_(content), margins_(margins) {
    box_->setParent(this);
    // Made a child after the box, the content lies above it.
    content_->setParent(this);
    setSizePolicy(content_->sizePolicy());
}

QSize BoxFrame::sizeHint() const { return content_->sizeHint().grownBy(margins_).expandedTo(box_->minimumSizeHint()); }

QSize BoxFrame::minimumSizeHint() const {
    const QSize content = content_->minimumSizeHint().isValid() ? content_->minimumSizeHint() : content_->minimumSize();
    return content.grownBy(margins_).expandedTo(box_->minimumSize());
}

void BoxFrame::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    box_->setGeometry(rect());
    content_->setGeometry(rect().marginsRemoved(margins_));
}

}  // namespace talvik
