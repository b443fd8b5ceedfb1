#pragma once
// A QWidget that hosts one control of the library. It creates the control through the
// class factory, drives its lifecycle, draws its surface and windowless elements, turns
// Qt input into the control's events and repaints only what the control changed.
//
//     QtControlWidget sheet("Matrix", &savedProperties);
//     sheet.let("MaxItems", std::int16_t{40});
//     const Outcome answers = sheet.get("result");
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "frame/com/ControlHandle.h"
#include "frame/model/DataObject.h"
#include "hosts/qt/ElementIndex.h"
#include "hosts/qt/ElementPainter.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/Twips.h"

class QMessageBox;
class QTimer;

namespace talvik {

class QtControlWidget : public QWidget {
    Q_OBJECT

public:
    // Creates the control of a class, by name ("Matrix") or class identifier, runs
    // Initialize and then ReadProperties from `saved` or, without it, InitProperties.
    // A class the library does not offer, or an error the control raises on the way,
    // throws the HostError.
    // A test or a tool passes the entry points that serve a class of its own.
    //
    // The control is a drop target once the container calls setAcceptDrops(true): a Qt
    // drag over it then raises OLEDragOver on the surface, with the state 0 entering, 2
    // moving and 1 leaving, and a drop OLEDragDrop; the effect the control leaves in the
    // event decides whether Qt accepts, and with which action.
    explicit QtControlWidget(std::string_view classNameOrId, const PropertyBag* saved = nullptr,
                             QWidget* parent = nullptr, const EntryPoints& entry = linkedEntryPoints());
    // A private class of the library ("vltGraphButton"), made by the library's private
    // factory, for the library's own tools.
    struct LibraryInternal {
        std::string_view className;
    };
    explicit QtControlWidget(LibraryInternal cls, const PropertyBag* saved = nullptr, QWidget* parent = nullptr,
                             const EntryPoints& entry = linkedEntryPoints());
    // Terminate, then the control is released.
    ~QtControlWidget() override;

    // The container's calls, by member name; each repaints what it changed.
    Outcome get(std::string_view property);
    Outcome let(std::string_view property, const Variant& value);
    Outcome call(std::string_view method);
    // WriteProperties into the container's store.
    Outcome save(PropertyBag& bag);

    // The element model the control draws into, for tools and tests.
    const ControlHost& host() const { return *host_; }
    const ControlHandle& handle() const { return handle_; }
    // Twips to this widget's pixels, at the screen's logical DPI.
    TwipScale scale() const;
    QSize sizeHint() const override;

    // The control and its parts as a screen reader sees them, as of the last call into
    // the control.
    const AccessibleParts& accessibleParts() const;
    // Where the focus ring goes while the widget has the focus: around the current part
    // when the control has one, else around the whole control.
    QRect focusRing() const;

    // Shows a message box for the control and returns the button's value; unset, the
    // box runs modally. Tests and scripted hosts answer without a user.
    std::function<std::int32_t(QMessageBox&)> runMessageBox;
    // The present time of day the control reads; unset, the system clock's. Tests and
    // tools that must not wait on the wall clock give their own.
    std::function<TimeOfDay()> timeOfDay;

signals:
    // The control told its container that a property changed.
    void propertyChanged(const QString& property);
    // An event the control raised; by-reference arguments may be changed by the slot
    // (connect directly). The slot runs inside the control's call: to close the
    // control from there, deleteLater() the widget.
    void eventRaised(const talvik::EventDecl& event, std::span<talvik::Variant> args);
    // An error the control raised while handling input, a timer or painting, which has
    // no caller to go back to.
    void controlError(int number, const QString& description);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool event(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dragLeaveEvent(QDragLeaveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    friend class QtHost;

    QtControlWidget(const std::function<Outcome(ControlHost&, ControlHandle&)>& create, const PropertyBag* saved,
                    QWidget* parent);

    // After every call into the control: follow a size the control gave itself and
    // schedule a repaint of what it changed.
    void afterCall();
    Outcome report(Outcome o);
    void deliverMouse(EventKind kind, const QMouseEvent& e);
    void deliverMouse(EventKind kind, const QMouseEvent& e, Element target);
    void deliver(const InputEvent& ev);
    // The element a mouse event at a pixel goes to: the topmost visible one that takes
    // mouse input, or null for the surface (also when that element is disabled).
    Element elementAt(QPointF px);
    // What the control changed since the last call: the index follows it.
    std::vector<RectF> takeDamage();
    // The index of the elements, rebuilt first when it no longer follows the model.
    const ElementIndex& index();
    QSize surfacePixels() const;
    void timerChanged(const Timer& t);
    void showCursorOf(const Element& hit);
    // OLEDragOver in that state; whether Qt may drop here, and how, follows the effect
    // the control chose.
    void dragOver(QDropEvent& e, std::int16_t state);
    // What the control announced to screen readers, told once its call is over.
    void partChanged(PartChange what, int part);
    // Repaints where the focus ring was and where it is now.
    void followFocusRing();

    std::map<std::uint32_t, std::unique_ptr<QTimer>> timers_;  // by element id
    std::unique_ptr<QtHost> host_;
    ControlHandle handle_;  // after the host: the control goes before the host it is sited on
    ElementPainter painter_;
    ElementIndex index_;
    Element pressed_;  // where the left button went down (none: the surface)
    const Bitmap* cursorShown_ = nullptr;  // the label cursor shown, or none
    bool pressing_ = false;
    bool focused_ = false;  // between GotFocus and LostFocus
    // The Qt drag over the widget: its data, and where and how it was last (for the
    // leave, which Qt tells none of it).
    std::optional<DataObject> dragData_;
    InputEvent dragLast_;
    bool shown_ = false;
    QSize synced_;  // the control's size in pixels that the widget last took
    mutable std::optional<AccessibleParts> parts_;  // made when asked, dropped after every call
    std::vector<std::pair<PartChange, int>> announced_;
    QRect ringShown_;  // where the focus ring was last painted
    bool ringMoved_ = true;  // the current part or the size changed since
};

}  // namespace talvik
