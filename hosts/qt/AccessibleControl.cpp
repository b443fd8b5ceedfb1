#include "hosts/qt/AccessibleControl.h"

#include <QAccessibleEvent>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QWindow>

#include "hosts/qt/QtControlWidget.h"
#include "hosts/qt/QtText.h"

namespace talvik {

namespace {

QAccessible::Role qtRole(PartRole r) {
    switch (r) {
        case PartRole::Group: return QAccessible::Grouping;
        case PartRole::Row: return QAccessible::Grouping;
        case PartRole::Button: return QAccessible::PushButton;
        case PartRole::CheckBox: return QAccessible::CheckBox;
        case PartRole::RadioButton: return QAccessible::RadioButton;
        case PartRole::Link: return QAccessible::Link;
        case PartRole::StaticText: return QAccessible::StaticText;
        // AT-SPI knows no clock: a reader meets it as a text, described as a clock.
        case PartRole::Clock: return QAccessible::StaticText;
    }
    return QAccessible::Grouping;
}

QString actionName(PartAction a) {
    switch (a) {
        case PartAction::Press: return QAccessibleActionInterface::pressAction();
        case PartAction::Toggle: return QAccessibleActionInterface::toggleAction();
        case PartAction::None: break;
    }
    return {};
}

// What a reader tells besides the name: a link's address; that a clock is one.
QString description(const AccessiblePart& p) {
    switch (p.role) {
        case PartRole::Link: return decodeText(p.value);
        case PartRole::Clock: return QStringLiteral("Clock");
        default: return {};
    }
}

void addStates(QAccessible::State& s, const AccessiblePart& p) {
    if (p.role == PartRole::CheckBox || p.role == PartRole::RadioButton) {
        s.checkable = true;
        s.checked = p.checked;
    }
    if (p.disabled) s.disabled = true;
    if (p.readOnly) s.readOnly = true;
}

// A click on the part's element at its middle, through the widget's own mouse
// handling, so that the control's handlers decide what it does.
void click(QtControlWidget& w, const AccessiblePart& p) {
    if (p.action == PartAction::None || !p.element) return;
    const RectF b = p.element.bounds();
    const QPointF at = w.scale().point(b.left + b.width / 2, b.top + b.height / 2);
    const QPointF global = w.mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &release);
}

// The deepest part under a point of the widget among `children` of the description.
int partAt(const AccessibleParts& d, const std::vector<int>& children, const RectF& point) {
    for (const int i : children) {
        const AccessiblePart& p = d.parts[static_cast<std::size_t>(i)];
        if (!p.bounds.contains(point)) continue;
        const int inner = partAt(d, p.children, point);
        return inner >= 0 ? inner : i;
    }
    return -1;
}

AccessibleControl* controlInterface(QtControlWidget* w) {
    return w == nullptr ? nullptr : dynamic_cast<AccessibleControl*>(QAccessible::queryAccessibleInterface(w));
}

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className == QLatin1String("talvik::QtControlWidget") && object->isWidgetType())
        return new AccessibleControl(static_cast<QtControlWidget*>(object));
    return nullptr;
}

}  // namespace

void installAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(&factory);
        return true;
    }();
    (void)installed;
}

// ---- The control ----

AccessibleControl::AccessibleControl(QtControlWidget* widget) : QAccessibleWidget(widget, QAccessible::Grouping) {}

AccessibleControl::~AccessibleControl() { forgetParts(); }

QtControlWidget* AccessibleControl::control() const { return static_cast<QtControlWidget*>(widget()); }

void AccessibleControl::forgetParts() {
    for (const QAccessible::Id id : parts_)
        if (id != 0) QAccessible::deleteAccessibleInterface(id);
    parts_.clear();
}

QAccessibleInterface* AccessibleControl::part(int part) const {
    if (part < 0 || std::size_t(part) >= control()->accessibleParts().parts.size()) return nullptr;
    if (parts_.size() <= std::size_t(part)) parts_.resize(std::size_t(part) + 1, 0);
    QAccessible::Id& id = parts_[std::size_t(part)];
    if (id == 0) id = QAccessible::registerAccessibleInterface(new AccessiblePartInterface(control(), part));
    return QAccessible::accessibleInterface(id);
}

QString AccessibleControl::text(QAccessible::Text t) const {
    const AccessiblePart& self = control()->accessibleParts().self;
    switch (t) {
        case QAccessible::Name:
            if (const QString own = widget()->accessibleName(); !own.isEmpty()) return own;
            return decodeText(self.name, self.encoding);
        case QAccessible::Value: return decodeText(self.value);
        case QAccessible::Description:
            if (const QString own = widget()->accessibleDescription(); !own.isEmpty()) return own;
            return description(self);
        default: return QAccessibleWidget::text(t);
    }
}

QAccessible::Role AccessibleControl::role() const { return qtRole(control()->accessibleParts().self.role); }

QAccessible::State AccessibleControl::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    addStates(s, control()->accessibleParts().self);
    return s;
}

int AccessibleControl::childCount() const {
    return static_cast<int>(control()->accessibleParts().self.children.size());
}

QAccessibleInterface* AccessibleControl::child(int index) const {
    const std::vector<int>& children = control()->accessibleParts().self.children;
    if (index < 0 || std::size_t(index) >= children.size()) return nullptr;
    return part(children[std::size_t(index)]);
}

int AccessibleControl::indexOfChild(const QAccessibleInterface* child) const {
    const auto* p = dynamic_cast<const AccessiblePartInterface*>(child);
    if (p == nullptr || child->parent() != this) return -1;
    return control()->accessibleParts().parts[std::size_t(p->partNumber())].indexInParent;
}

QAccessibleInterface* AccessibleControl::childAt(int x, int y) const {
    QtControlWidget* w = control();
    const QPoint local = w->mapFromGlobal(QPoint(x, y));
    if (!w->rect().contains(local)) return nullptr;
    const RectF point = w->scale().fromPixels(QRectF(local, QSizeF(0, 0)));
    const AccessibleParts& d = w->accessibleParts();
    int found = -1;
    for (const int i : d.self.children) {
        const AccessiblePart& p = d.parts[std::size_t(i)];
        if (p.bounds.contains(point)) {
            found = i;
            break;
        }
    }
    return found >= 0 ? part(found) : nullptr;
}

QAccessibleInterface* AccessibleControl::focusChild() const {
    if (!widget()->hasFocus()) return nullptr;
    const int current = control()->accessibleParts().current();
    return current >= 0 ? part(current) : nullptr;
}

QStringList AccessibleControl::actionNames() const {
    QStringList names = QAccessibleWidget::actionNames();
    if (const QString own = actionName(control()->accessibleParts().self.action); !own.isEmpty()) names.prepend(own);
    return names;
}

void AccessibleControl::doAction(const QString& action) {
    const AccessiblePart& self = control()->accessibleParts().self;
    if (!action.isEmpty() && action == actionName(self.action)) {
        const AccessiblePart copy = self;  // the click may describe the control anew
        return click(*control(), copy);
    }
    QAccessibleWidget::doAction(action);
}

// ---- A part ----

const AccessiblePart* AccessiblePartInterface::described() const {
    if (!widget_) return nullptr;
    const AccessibleParts& d = widget_->accessibleParts();
    return std::size_t(part_) < d.parts.size() ? &d.parts[std::size_t(part_)] : nullptr;
}

bool AccessiblePartInterface::isValid() const { return described() != nullptr; }

QWindow* AccessiblePartInterface::window() const {
    return widget_ ? widget_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* AccessiblePartInterface::parent() const {
    const AccessiblePart* p = described();
    if (p == nullptr) return nullptr;
    AccessibleControl* control = controlInterface(widget_);
    if (control == nullptr) return nullptr;
    return p->parent < 0 ? static_cast<QAccessibleInterface*>(control) : control->part(p->parent);
}

int AccessiblePartInterface::childCount() const {
    const AccessiblePart* p = described();
    return p == nullptr ? 0 : static_cast<int>(p->children.size());
}

QAccessibleInterface* AccessiblePartInterface::child(int index) const {
    const AccessiblePart* p = described();
    if (p == nullptr || index < 0 || std::size_t(index) >= p->children.size()) return nullptr;
    AccessibleControl* control = controlInterface(widget_);
    return control != nullptr ? control->part(p->children[std::size_t(index)]) : nullptr;
}

int AccessiblePartInterface::indexOfChild(const QAccessibleInterface* child) const {
    const auto* c = dynamic_cast<const AccessiblePartInterface*>(child);
    const AccessiblePart* p = described();
    if (c == nullptr || p == nullptr || c->widget_ != widget_) return -1;
    const AccessiblePart* cp = c->described();
    return cp != nullptr && cp->parent == part_ ? cp->indexInParent : -1;
}

QAccessibleInterface* AccessiblePartInterface::childAt(int x, int y) const {
    const AccessiblePart* p = described();
    if (p == nullptr) return nullptr;
    const QPoint local = widget_->mapFromGlobal(QPoint(x, y));
    const RectF point = widget_->scale().fromPixels(QRectF(local, QSizeF(0, 0)));
    const AccessibleParts& d = widget_->accessibleParts();
    for (const int i : p->children)
        if (d.parts[std::size_t(i)].bounds.contains(point)) return controlInterface(widget_)->part(i);
    return nullptr;
}

QString AccessiblePartInterface::text(QAccessible::Text t) const {
    const AccessiblePart* p = described();
    if (p == nullptr) return {};
    switch (t) {
        case QAccessible::Name: return decodeText(p->name, p->encoding);
        case QAccessible::Value: return decodeText(p->value);
        case QAccessible::Description: return description(*p);
        default: return {};
    }
}

QRect AccessiblePartInterface::rect() const {
    const AccessiblePart* p = described();
    if (p == nullptr) return {};
    const QRect local = widget_->scale().snapped(p->bounds);
    return QRect(widget_->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::Role AccessiblePartInterface::role() const {
    const AccessiblePart* p = described();
    return p == nullptr ? QAccessible::NoRole : qtRole(p->role);
}

QAccessible::State AccessiblePartInterface::state() const {
    QAccessible::State s;
    const AccessiblePart* p = described();
    if (p == nullptr) {
        s.invalid = true;
        return s;
    }
    addStates(s, *p);
    const bool focusable = widget_->focusPolicy() != Qt::NoFocus;
    s.focusable = focusable && (p->action != PartAction::None || p->role == PartRole::Row);
    s.focused = p->current && widget_->hasFocus();
    if (!widget_->isVisible() || p->bounds.isEmpty()) s.invisible = true;
    if (!widget_->isEnabled()) s.disabled = true;
    return s;
}

void* AccessiblePartInterface::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

QStringList AccessiblePartInterface::actionNames() const {
    const AccessiblePart* p = described();
    if (p == nullptr) return {};
    const QString name = actionName(p->action);
    return name.isEmpty() ? QStringList() : QStringList{name};
}

void AccessiblePartInterface::doAction(const QString& action) {
    const AccessiblePart* p = described();
    if (p == nullptr || p->disabled || action != actionName(p->action)) return;
    const AccessiblePart copy = *p;  // the click may describe the control anew
    click(*widget_, copy);
}

// ---- Announcements ----

void announceAccessibleChange(QtControlWidget& widget, PartChange what, int part) {
    if (!QAccessible::isActive()) return;
    AccessibleControl* control = controlInterface(&widget);
    if (control == nullptr) return;
    if (what == PartChange::Structure) {
        control->forgetParts();
        QAccessibleEvent e(&widget, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&e);
        return;
    }
    QAccessibleInterface* iface = part < 0 ? control : control->part(part);
    if (iface == nullptr) return;
    switch (what) {
        case PartChange::State: {
            QAccessible::State changed;
            changed.checked = true;
            QAccessibleStateChangeEvent e(iface, changed);
            QAccessible::updateAccessibility(&e);
            break;
        }
        case PartChange::Name: {
            QAccessibleEvent e(iface, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&e);
            break;
        }
        case PartChange::Current: {
            if (!widget.hasFocus()) break;
            QAccessibleEvent e(iface, QAccessible::Focus);
            QAccessible::updateAccessibility(&e);
            break;
        }
        case PartChange::Structure: break;
    }
}

}  // namespace talvik
