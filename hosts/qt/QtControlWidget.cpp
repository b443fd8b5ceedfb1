#include "hosts/qt/QtControlWidget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>
#include <QtDebug>

#include "frame/HostError.h"
#include "hosts/qt/KeyCodes.h"
#include "hosts/qt/QtText.h"

namespace talvik {

namespace {

void require(const Outcome& o) {
    if (o) return;
    throw HostError(o.error.number != 0 ? o.error.number : o.hr, o.error.description);
}

std::int16_t buttonOf(Qt::MouseButtons b) {
    std::int16_t mask = 0;
    if (b & Qt::LeftButton) mask |= kLeftButton;
    if (b & Qt::RightButton) mask |= kRightButton;
    if (b & Qt::MiddleButton) mask |= kMiddleButton;
    return mask;
}

}  // namespace

// ---- Creation and lifecycle ----

QtControlWidget::QtControlWidget(std::string_view classNameOrId, const PropertyBag* saved, QWidget* parent)
    : QWidget(parent), host_(std::make_unique<QtHost>(*this)) {
    // A control keeps the size it has, as on a form; a container that stretches it
    // (a skinned box) says so with a policy of its own.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // Contents stay anchored at the top-left, so a resize exposes only the new strip.
    setAttribute(Qt::WA_StaticContents);
    require(createControl(classNameOrId, *host_, handle_));
    require(handle_.initialize());
    require(saved != nullptr ? handle_.readProperties(*saved) : handle_.initProperties());
    resize(surfacePixels());
    afterCall();
}

QtControlWidget::~QtControlWidget() {
    for (auto& [timer, qtimer] : timers_) qtimer->stop();
    if (const Outcome o = handle_.destroy(); !o)
        qWarning("Terminate failed: error %d, %s", o.error.number, o.error.description.c_str());
    handle_.reset();
}

void QtControlWidget::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (shown_) return;
    shown_ = true;
    const TwipScale s = scale();
    if (size() != surfacePixels()) report(handle_.resize(s.twips(width()), s.twips(height())));
    report(handle_.show());
    afterCall();
}

// ---- The container's calls ----

Outcome QtControlWidget::get(std::string_view property) {
    Outcome o = handle_.get(property);
    afterCall();
    return o;
}

Outcome QtControlWidget::let(std::string_view property, const Variant& value) {
    Outcome o = handle_.let(property, value);
    afterCall();
    return o;
}

Outcome QtControlWidget::call(std::string_view method) {
    Outcome o = handle_.call(method);
    afterCall();
    return o;
}

Outcome QtControlWidget::save(PropertyBag& bag) {
    Outcome o = handle_.writeProperties(bag);
    afterCall();
    return o;
}

TwipScale QtControlWidget::scale() const { return TwipScale(logicalDpiX()); }

QSize QtControlWidget::surfacePixels() const {
    return scale().size(host_->surface().Width(), host_->surface().Height());
}

QSize QtControlWidget::sizeHint() const { return surfacePixels(); }

void QtControlWidget::afterCall() {
    setAttribute(Qt::WA_OpaquePaintEvent, host_->surface().BackStyle() != 0);
    // The widget follows the control when the control's size changed, not whenever the
    // two differ: a size the container gave a hidden widget is still on its way.
    if (const QSize wanted = surfacePixels(); wanted != synced_) {
        synced_ = wanted;
        if (wanted != size()) {
            updateGeometry();
            resize(wanted);
        }
    }
    const TwipScale s = scale();
    for (const RectF& r : host_->takeDamage()) update(s.covering(r));
}

Outcome QtControlWidget::report(Outcome o) {
    if (!o) {
        qWarning("%s: error %d, %s", host_->controlClass() ? std::string(host_->controlClass()->name).c_str() : "control",
                 o.error.number, o.error.description.c_str());
        emit controlError(o.error.number, QString::fromStdString(o.error.description));
    }
    return o;
}

// ---- Drawing ----

void QtControlWidget::paintEvent(QPaintEvent* e) {
    report(handle_.paint());
    const TwipScale s = scale();
    // Whatever Paint itself changed outside this round is painted in the next one.
    for (const RectF& r : host_->takeDamage())
        if (const QRect px = s.covering(r); !(QRegion(px) - e->region()).isEmpty()) update(px);

    QPainter p(this);
    const ElementPainter::Context ctx{s, qreal(logicalDpiX()), p.device()->devicePixelRatioF(), palette()};
    for (const QRect& r : e->region()) {
        p.setClipRect(r);
        painter_.paint(p, *host_, r, ctx);
    }
}

void QtControlWidget::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    // The size the control gave itself needs no Resize back.
    if (e->size() == surfacePixels()) return;
    const TwipScale s = scale();
    report(handle_.resize(s.twips(e->size().width()), s.twips(e->size().height())));
    synced_ = QSize();  // a control that keeps its own size takes the widget back to it
    afterCall();
}

void QtControlWidget::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::PaletteChange) update();
}

bool QtControlWidget::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(e);
        const Element at = elementAt(help->pos());
        const std::string tip = !at ? std::string() : at.is<Image>() ? at.as<Image>().ToolTipText() : at.as<Label>().ToolTipText();
        if (!tip.empty())
            QToolTip::showText(help->globalPos(), decodeText(tip), this);
        else
            QToolTip::hideText();
        return true;
    }
    if (e->type() == QEvent::ScreenChangeInternal) {
        // Another DPI: the same twips take another number of pixels.
        painter_.clear();
        updateGeometry();
        resize(surfacePixels());
        update();
    }
    return QWidget::event(e);
}

// ---- Input ----

Element QtControlWidget::elementAt(QPointF px) const {
    const TwipScale s = scale();
    return host_->elementAt(s.twips(px.x()), s.twips(px.y()));
}

void QtControlWidget::deliver(const InputEvent& ev) {
    report(handle_.deliver(ev));
    afterCall();
}

void QtControlWidget::deliverMouse(EventKind kind, const QMouseEvent& e) {
    const Element target = elementAt(e.position());
    const TwipScale s = scale();
    float x = s.twips(e.position().x()), y = s.twips(e.position().y());
    // An element's event carries the point in the element's own coordinates.
    if (target) {
        x -= target.bounds().left;
        y -= target.bounds().top;
    }
    const Qt::MouseButtons buttons = kind == EventKind::MouseMove ? e.buttons() : Qt::MouseButtons(e.button());
    deliver({kind, target, buttonOf(buttons), shiftMask(e.modifiers()), x, y});
}

void QtControlWidget::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        pressed_ = elementAt(e->position());
        pressing_ = true;
    }
    deliverMouse(EventKind::MouseDown, *e);
}

void QtControlWidget::mouseReleaseEvent(QMouseEvent* e) {
    const Element target = elementAt(e->position());
    deliverMouse(EventKind::MouseUp, *e);
    if (e->button() != Qt::LeftButton || !pressing_) return;
    pressing_ = false;
    if (target != pressed_) return;
    // Click follows MouseUp on the element where the button went down, at the same point.
    InputEvent click{EventKind::Click, target, kLeftButton, shiftMask(e->modifiers())};
    deliver(click);
}

void QtControlWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    // The second press of a double click raises DblClick instead of MouseDown, and its
    // release no Click.
    pressing_ = false;
    if (e->button() == Qt::LeftButton) deliverMouse(EventKind::DblClick, *e);
    else deliverMouse(EventKind::MouseDown, *e);
}

void QtControlWidget::mouseMoveEvent(QMouseEvent* e) { deliverMouse(EventKind::MouseMove, *e); }

void QtControlWidget::keyPressEvent(QKeyEvent* e) {
    const std::int16_t shift = shiftMask(e->modifiers());
    if (const std::int16_t vk = virtualKey(e->key(), e->modifiers()); vk != 0)
        deliver({EventKind::KeyDown, nullptr, 0, shift, 0, 0, vk});
    const QString text = e->text();
    if (text.size() == 1 && text.front().unicode() < 256)
        deliver({EventKind::KeyPress, nullptr, 0, shift, 0, 0, std::int16_t(text.front().unicode())});
}

void QtControlWidget::keyReleaseEvent(QKeyEvent* e) {
    if (e->isAutoRepeat()) return;
    if (const std::int16_t vk = virtualKey(e->key(), e->modifiers()); vk != 0)
        deliver({EventKind::KeyUp, nullptr, 0, shiftMask(e->modifiers()), 0, 0, vk});
}

void QtControlWidget::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    deliver({EventKind::EnterFocus});
    deliver({EventKind::GotFocus});
}

void QtControlWidget::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    deliver({EventKind::LostFocus});
    deliver({EventKind::ExitFocus});
}

// ---- Timers ----

void QtControlWidget::timerChanged(const Timer& t) {
    std::unique_ptr<QTimer>& qtimer = timers_[t.id()];
    if (!qtimer) {
        qtimer = std::make_unique<QTimer>();
        connect(qtimer.get(), &QTimer::timeout, this, [this, t] {
            report(handle_.tick(t));
            afterCall();
        });
    }
    if (t.Enabled() && t.Interval() > 0) qtimer->start(t.Interval());
    else qtimer->stop();
}

}  // namespace talvik
