#pragma once
// The common part of the typed widgets (talvik::Matrix, talvik::vltSwitch, ...): a
// hosted control whose members are read and written with Qt types, and whose events
// and property notices reach the widget class that declares them as signals.
#include <QString>
#include <QStringList>
#include <span>
#include <string_view>

#include "hosts/qt/QtControlWidget.h"

namespace talvik {

class TypedWidget : public QtControlWidget {
    Q_OBJECT

public:
    TypedWidget(std::string_view className, const PropertyBag* saved, QWidget* parent);

    // Library text (Windows-1252 bytes) and Qt text; a character the library's code
    // page lacks becomes '?'.
    static QString fromLibraryText(std::string_view bytes);
    static std::string toLibraryText(const QString& text);

protected:
    // A member's value; on failure the error goes out as controlError and the value is
    // empty (every conversion below then gives its type's zero).
    Variant value(std::string_view property);
    void setValue(std::string_view property, const Variant& v);
    Variant invokeMethod(std::string_view method);

    static qint16 int16Of(const Variant& v);
    static qint32 int32Of(const Variant& v);
    static bool boolOf(const Variant& v);
    static float floatOf(const Variant& v);
    static QString textOf(const Variant& v);
    static QStringList textsOf(const Variant& v);

    // An event of the control, raised while the control waits for it: the typed signal
    // is emitted and the by-reference arguments its handlers changed are written back.
    virtual void raised(const EventDecl& event, std::span<Variant> args);
    // A property notice of the control, by the property's name.
    virtual void changed(const QString& property);

private:
    Variant checked(std::string_view member, Outcome o);
};

}  // namespace talvik
