#pragma once
// A hosted control as Qt's accessibility (AT-SPI on Linux) sees it: the widget's
// interface takes its role, name and value from the control's DescribeParts, and every
// part (a bubble, a box, a button) is a child interface with its own role, name, state,
// rectangle and default action. Activating a part clicks it as the mouse would.
#include <QAccessibleWidget>
#include <QPointer>
#include <vector>

#include "frame/describe/AccessibleParts.h"

namespace talvik {

class QtControlWidget;

class AccessibleControl : public QAccessibleWidget {
public:
    explicit AccessibleControl(QtControlWidget* widget);
    ~AccessibleControl() override;

    QString text(QAccessible::Text t) const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    QStringList actionNames() const override;
    void doAction(const QString& action) override;

    // The interface of part `part` of the control's description, made once and kept
    // until the parts change their meaning.
    QAccessibleInterface* part(int part) const;
    // Forgets the parts' interfaces: their numbers now mean other parts.
    void forgetParts();
    QtControlWidget* control() const;

private:
    mutable std::vector<QAccessible::Id> parts_;  // by part number; 0 for none made yet
};

// The interface of one part of a hosted control.
class AccessiblePartInterface : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    AccessiblePartInterface(QtControlWidget* widget, int part) : widget_(widget), part_(part) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& action) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    int partNumber() const { return part_; }

private:
    const AccessiblePart* described() const;

    QPointer<QtControlWidget> widget_;
    int part_;
};

// Installs the factory that gives every QtControlWidget its AccessibleControl; once.
void installAccessibleFactory();

// Tells Qt's accessibility what the control announced about a part (-1: the control).
void announceAccessibleChange(QtControlWidget& widget, PartChange what, int part);

}  // namespace talvik
