#include "flow/AccessibleRoles.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QVariant>

namespace talvik::exam {

namespace {

constexpr char kRoleProperty[] = "talvikAccessibleRole";

class RoleInterface : public QAccessibleWidget {
public:
    RoleInterface(QWidget* w, QAccessible::Role role) : QAccessibleWidget(w, role) {}

    QString text(QAccessible::Text t) const override {
        QString s = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && s.isEmpty())
            if (const auto* label = qobject_cast<const QLabel*>(widget())) s = label->text();
        return s;
    }
};

QAccessibleInterface* roleFactory(const QString&, QObject* object) {
    auto* w = qobject_cast<QWidget*>(object);
    if (w == nullptr) return nullptr;
    const QVariant role = w->property(kRoleProperty);
    if (!role.isValid()) return nullptr;
    return new RoleInterface(w, static_cast<QAccessible::Role>(role.toInt()));
}

}  // namespace

void setAccessibleRole(QWidget* widget, QAccessible::Role role) {
    static const bool installed = [] {
        QAccessible::installFactory(&roleFactory);
        return true;
    }();
    Q_UNUSED(installed);
    widget->setProperty(kRoleProperty, static_cast<int>(role));
}

}  // namespace talvik::exam
