#include "hosts/qt/TypedWidget.h"

#include <QHash>
#include <array>

#include "hosts/qt/QtText.h"

namespace talvik {

TypedWidget::TypedWidget(std::string_view className, const PropertyBag* saved, QWidget* parent)
    : QtControlWidget(className, saved, parent) {
    // Direct: a handler's change to a by-reference argument must be in place before the
    // control reads it back.
    connect(this, &QtControlWidget::eventRaised, this,
            [this](const EventDecl& event, std::span<Variant> args) { raised(event, args); }, Qt::DirectConnection);
    connect(this, &QtControlWidget::propertyChanged, this, [this](const QString& property) { changed(property); },
            Qt::DirectConnection);
}

QString TypedWidget::fromLibraryText(std::string_view bytes) { return decodeText(bytes); }

std::string TypedWidget::toLibraryText(const QString& text) {
    static const QHash<char16_t, char> codes = [] {
        QHash<char16_t, char> map;
        for (int b = 255; b >= 1; --b) {
            const char byte = char(b);
            const QString c = decodeText(std::string_view(&byte, 1));
            if (c.size() == 1) map.insert(c.at(0).unicode(), byte);
        }
        return map;
    }();
    std::string out;
    out.reserve(std::size_t(text.size()));
    for (const QChar c : text) out.push_back(c.unicode() == 0 ? '\0' : codes.value(c.unicode(), '?'));
    return out;
}

Variant TypedWidget::checked(std::string_view member, Outcome o) {
    if (o) return std::move(o.value);
    qWarning("%.*s: error %d, %s", int(member.size()), member.data(), o.error.number, o.error.description.c_str());
    emit controlError(o.error.number, QString::fromStdString(o.error.description));
    return {};
}

Variant TypedWidget::value(std::string_view property) { return checked(property, get(property)); }
void TypedWidget::setValue(std::string_view property, const Variant& v) { checked(property, let(property, v)); }
Variant TypedWidget::invokeMethod(std::string_view method) { return checked(method, call(method)); }

qint16 TypedWidget::int16Of(const Variant& v) { return v.type() == VarType::Empty ? 0 : v.toInt16(); }
qint32 TypedWidget::int32Of(const Variant& v) { return v.type() == VarType::Empty ? 0 : v.toInt32(); }
bool TypedWidget::boolOf(const Variant& v) { return v.type() == VarType::Empty ? false : v.toBool(); }
float TypedWidget::floatOf(const Variant& v) { return v.type() == VarType::Empty ? 0.0f : v.toFloat(); }
QString TypedWidget::textOf(const Variant& v) {
    return v.type() == VarType::Empty ? QString() : fromLibraryText(v.toString());
}
QStringList TypedWidget::textsOf(const Variant& v) {
    QStringList out;
    if (v.type() != VarType::StringArray) return out;
    for (const std::string& s : v.toStringArray().items) out.push_back(fromLibraryText(s));
    return out;
}

void TypedWidget::raised(const EventDecl&, std::span<Variant>) {}
void TypedWidget::changed(const QString&) {}

}  // namespace talvik
