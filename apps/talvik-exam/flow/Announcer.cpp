#include "flow/Announcer.h"

#include <QAccessible>
#include <QAccessibleEvent>
#include <QLabel>
#include <QPalette>

#include "flow/AccessibleRoles.h"

namespace talvik::exam {

namespace {
constexpr char kName[] = "talvikAnnouncement";
}

QWidget* Announcer::label(QWidget* window) {
    return window != nullptr ? window->findChild<QLabel*>(QLatin1String(kName), Qt::FindDirectChildrenOnly) : nullptr;
}

void Announcer::announce(QWidget* window, const QString& text) {
    if (window == nullptr || text.isEmpty()) return;
    auto* alert = static_cast<QLabel*>(label(window));
    if (alert == nullptr) {
        alert = new QLabel(window);  // owned by the window
        alert->setObjectName(QLatin1String(kName));
        setAccessibleRole(alert, QAccessible::AlertMessage);
        // Present for assistive technology, invisible on the screen: one pixel, behind
        // everything, drawn in no colour and deaf to the mouse.
        alert->setGeometry(0, 0, 1, 1);
        alert->setAttribute(Qt::WA_TransparentForMouseEvents);
        alert->setFocusPolicy(Qt::NoFocus);
        QPalette p = alert->palette();
        p.setColor(QPalette::WindowText, Qt::transparent);
        alert->setPalette(p);
    }
    // Hidden, renamed and shown again, so that a repeated text is spoken again too:
    // screen readers present an alert when it appears.
    alert->hide();
    alert->setText(text);
    alert->lower();
    alert->show();
    QAccessibleEvent named(alert, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    QAccessibleEvent alerted(alert, QAccessible::Alert);
    QAccessible::updateAccessibility(&alerted);
}

}  // namespace talvik::exam
