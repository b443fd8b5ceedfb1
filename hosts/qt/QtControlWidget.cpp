#include "hosts/qt/QtControlWidget.h"

#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QTimer>
#include <QGuiApplication>
#include <QToolTip>
#include <QtDebug>

#include "frame/host/HostError.h"
#include "hosts/qt/AccessibleControl.h"
#include "hosts/qt/DropEffects.h"
#include "hosts/qt/FocusRing.h"
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

QtControlWidget::QtControlWidget(std::string_view classNameOrId, const PropertyBag* saved, QWidget* parent,
                                 const EntryPoints& entry)
    : QtControlWidget([&](ControlHost& host, ControlHandle& h) { return createControl(classNameOrId, host, h, entry); },
                      saved, parent) {}

QtControlWidget::QtControlWidget(LibraryInternal cls, const PropertyBag* saved, QWidget* parent,
                                 const EntryPoints& entry)
    : QtControlWidget([&](ControlHost& host, ControlHandle& h) { return createPrivateControl(cls.className, host, h, entry); },
                      saved, parent) {}

QtControlWidget::QtControlWidget(const std::function<Outcome(ControlHost&, ControlHandle&)>& create,
                                 const PropertyBag* saved, QWidget* parent)
    : QWidget(parent), host_(std::make_unique<QtHost>(*this)) {
    installAccessibleFactory();
    // A control keeps the size it has, as on a form; a container that stretches it
    // (a skinned box) says so with a policy of its own.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // Contents stay anchored at the top-left, so a resize exposes only the new strip.
    setAttribute(Qt::WA_StaticContents);
    require(create(*host_, handle_));
    require(handle_.initialize());
    require(saved != nullptr ? handle_.readProperties(*saved) : handle_.initProperties());
    resize(surfacePixels());
    afterCall();
    // Tab stops only where there is something to operate.
    if (!accessibleParts().takesFocus) setFocusPolicy(Qt::NoFocus);
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
    for (const RectF& r : takeDamage()) update(s.covering(r));
    parts_.reset();
    for (const auto& [what, part] : std::exchange(announced_, {})) announceAccessibleChange(*this, what, part);
    if (ringMoved_) followFocusRing();
}

// ---- Screen readers and the focus ring ----

void QtControlWidget::partChanged(PartChange what, int part) {
    // Kept until the control's call is over, when what it describes is whole again.
    announced_.emplace_back(what, part);
    if (what == PartChange::Current || what == PartChange::Structure) ringMoved_ = true;
}

const AccessibleParts& QtControlWidget::accessibleParts() const {
    if (!parts_) {
        const Control* control = host_->control();
        try {
            parts_ = control != nullptr ? control->DescribeParts() : AccessibleParts{};
        } catch (const std::exception& e) {
            qWarning("describing the control for screen readers failed: %s", e.what());
            parts_ = AccessibleParts{};
        }
    }
    return *parts_;
}

QRect QtControlWidget::focusRing() const {
    const AccessibleParts& d = accessibleParts();
    const int current = d.current();
    if (current < 0) return rect();
    // A little outside the part, so that the ring does not cover it.
    return scale().snapped(d.parts[std::size_t(current)].bounds).adjusted(-3, -3, 3, 3).intersected(rect());
}

void QtControlWidget::followFocusRing() {
    ringMoved_ = false;
    const QRect ring = hasFocus() ? focusRing() : QRect();
    if (ring == ringShown_) return;
    update(ringShown_);
    update(ring);
    ringShown_ = ring;
}

std::vector<RectF> QtControlWidget::takeDamage() {
    std::vector<RectF> damage = host_->takeDamage();
    index_.update(*host_, scale(), damage);
    return damage;
}

const ElementIndex& QtControlWidget::index() {
    const TwipScale s = scale();
    if (index_.stale(*host_, s)) {
        // Built right after the damage is taken, so the next damage covers every
        // element where the index lists it.
        for (const RectF& r : takeDamage()) update(s.covering(r));
        index_.rebuild(*host_, s);
    }
    return index_;
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
    for (const RectF& r : takeDamage())
        if (const QRect px = s.covering(r); !(QRegion(px) - e->region()).isEmpty()) update(px);

    // One pass over the whole region (the paint is clipped to it), and only over the
    // elements under it.
    static thread_local std::vector<Element> shown;
    if (ElementIndex::large(e->region(), size()))
        ElementIndex::visibleInAll(*host_, s, e->region(), shown);
    else
        index().visibleIn(*host_, e->region(), shown);
    QPainter p(this);
    // The pixel ratio of what is painted on: a widget rendered into an image of another
    // ratio is drawn for that image.
    const QPaintDevice* target = p.paintEngine() != nullptr ? p.paintEngine()->paintDevice() : p.device();
    const ElementPainter::Context ctx{s, qreal(logicalDpiX()), target->devicePixelRatioF(), palette()};
    painter_.paint(p, *host_, e->region(), shown, ctx);
    if (hasFocus()) paintFocusRing(p, focusRing(), palette(), target->devicePixelRatioF());
}

void QtControlWidget::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    ringMoved_ = true;
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
        index_.invalidate();
        cursorShown_ = nullptr;
        updateGeometry();
        resize(surfacePixels());
        update();
    }
    return QWidget::event(e);
}

// ---- Input ----

Element QtControlWidget::elementAt(QPointF px) {
    const Element hit = index().at(*host_, px);
    // Mouse input goes only to elements that take it (images and labels), and a
    // disabled one keeps it from the surface too.
    if (!hit || !hit.takesMouse() || !hit.isEnabled()) return Element();
    return hit;
}

void QtControlWidget::deliver(const InputEvent& ev) {
    report(handle_.deliver(ev));
    afterCall();
}

void QtControlWidget::deliverMouse(EventKind kind, const QMouseEvent& e) {
    deliverMouse(kind, e, elementAt(e.position()));
}

void QtControlWidget::deliverMouse(EventKind kind, const QMouseEvent& e, Element target) {
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
    const Element target = elementAt(e->position());
    if (e->button() == Qt::LeftButton) {
        pressed_ = target;
        pressing_ = true;
    }
    deliverMouse(EventKind::MouseDown, *e, target);
}

void QtControlWidget::mouseReleaseEvent(QMouseEvent* e) {
    const Element target = elementAt(e->position());
    deliverMouse(EventKind::MouseUp, *e, target);
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

void QtControlWidget::mouseMoveEvent(QMouseEvent* e) {
    const Element hit = index().at(*host_, e->position());
    showCursorOf(hit);
    deliverMouse(EventKind::MouseMove, *e, hit && hit.isEnabled() ? hit : Element());
}

// A label with a cursor of its own shows it while the pointer is over the label; made
// into a QCursor only when the pointer moves onto another cursor.
void QtControlWidget::showCursorOf(const Element& hit) {
    const Bitmap* wanted = nullptr;
    int hotX = 0, hotY = 0;
    if (hit.is<Label>()) {
        const LabelCursor c = hit.as<Label>().cursor();
        if (!c.picture.empty()) {
            wanted = c.picture.bitmap();
            hotX = c.x;
            hotY = c.y;
        }
    }
    if (wanted == cursorShown_) return;
    cursorShown_ = wanted;
    if (wanted == nullptr) return unsetCursor();
    // On a denser X11 screen the cursor is made from the picture at twice the size, at
    // the screen's density, so that it keeps its size beside the window; X11 shows the
    // image and takes the hot spot in its own pixels. Other platforms get the picture
    // as it is.
    const qreal ratio = devicePixelRatioF();
    const bool dense = ratio > 1 && QGuiApplication::platformName() == u"xcb";
    const Bitmap& source = dense && wanted->large ? *wanted->large : *wanted;
    QImage image(reinterpret_cast<const uchar*>(source.argb.data()), source.width, source.height,
                 qsizetype(source.width) * 4, QImage::Format_ARGB32);
    if (dense) {
        image = image.scaled(qRound(wanted->width * ratio), qRound(wanted->height * ratio), Qt::IgnoreAspectRatio,
                             Qt::SmoothTransformation);
        hotX = qRound(hotX * ratio);
        hotY = qRound(hotY * ratio);
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(dense ? ratio : 1);
    setCursor(QCursor(pixmap, hotX, hotY));
}

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
    followFocusRing();
    // The window coming to the front again, or a popup closing, gives back a focus that
    // the control kept.
    if (focused_ && (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason)) return;
    focused_ = true;
    deliver({EventKind::EnterFocus});
    deliver({EventKind::GotFocus});
}

void QtControlWidget::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    followFocusRing();
    // Another window (the control's own message box, say) or a popup has the keyboard
    // for a while; the control stays the focused one of its form.
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason) return;
    if (!focused_) return;
    focused_ = false;
    deliver({EventKind::LostFocus});
    deliver({EventKind::ExitFocus});
}

// ---- Drag and drop ----

void QtControlWidget::dragOver(QDropEvent& e, std::int16_t state) {
    const TwipScale s = scale();
    dragLast_ = {.kind = EventKind::OLEDragOver, .button = buttonOf(e.buttons()), .shift = shiftMask(e.modifiers()),
                 .x = s.twips(e.position().x()), .y = s.twips(e.position().y()),
                 .effect = dropEffects(e.possibleActions()), .data = &*dragData_};
    InputEvent ev = dragLast_;
    ev.state = state;
    deliver(ev);
    const Qt::DropAction action = dropActionFor(ev.effect, e.possibleActions(), e.proposedAction());
    e.setDropAction(action);
    e.setAccepted(action != Qt::IgnoreAction);
}

void QtControlWidget::dragEnterEvent(QDragEnterEvent* e) {
    dragData_ = dataObjectOf(*e->mimeData());
    dragOver(*e, kDragEnter);
    // Taken whatever the control answered, so that it keeps hearing of the drag as it
    // moves: it may take the drop at another point.
    e->accept();
}

void QtControlWidget::dragMoveEvent(QDragMoveEvent* e) {
    if (!dragData_) dragData_ = dataObjectOf(*e->mimeData());
    dragOver(*e, kDragOver);
}

void QtControlWidget::dragLeaveEvent(QDragLeaveEvent* e) {
    QWidget::dragLeaveEvent(e);
    if (!dragData_) return;
    InputEvent ev = dragLast_;
    ev.state = kDragLeave;
    deliver(ev);
    dragData_.reset();
}

void QtControlWidget::dropEvent(QDropEvent* e) {
    DataObject data = dragData_ ? std::move(*dragData_) : dataObjectOf(*e->mimeData());
    dragData_.reset();
    const TwipScale s = scale();
    const InputEvent ev{.kind = EventKind::OLEDragDrop, .button = buttonOf(e->buttons()),
                        .shift = shiftMask(e->modifiers()), .x = s.twips(e->position().x()),
                        .y = s.twips(e->position().y()), .effect = dropEffects(e->possibleActions()), .data = &data};
    deliver(ev);
    const Qt::DropAction action = dropActionFor(ev.effect, e->possibleActions(), e->proposedAction());
    e->setDropAction(action);
    e->setAccepted(action != Qt::IgnoreAction);
}

// ---- Timers ----

void QtControlWidget::timerChanged(const Timer& t) {
    std::unique_ptr<QTimer>& qtimer = timers_[t.id()];
    if (!qtimer) {
        // A child named after the element, so that tools and tests can find it.
        qtimer = std::make_unique<QTimer>(this);
        qtimer->setObjectName(QString::fromStdString(t.displayName()));
        connect(qtimer.get(), &QTimer::timeout, this, [this, t] {
            report(handle_.tick(t));
            afterCall();
        });
    }
    if (t.Enabled() && t.Interval() > 0) qtimer->start(t.Interval());
    else qtimer->stop();
}

}  // namespace talvik
