#include "hosts/qt/QtText.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QStringList>
#include <algorithm>

#include "frame/text/TextEncoding.h"

namespace talvik {

namespace {

QStringList fallbacksFor(const QString& face) {
    static const QString systemSans = [] {
        const QFont f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        return f.family().isEmpty() ? QStringLiteral("Sans Serif") : f.family();
    }();
    const QString key = face.toLower();
    if (key == u"ms sans serif" || key == u"veltrane sans serif") return {systemSans};
    if (key == u"times new roman")
        return {QStringLiteral("Liberation Serif"), QStringLiteral("Tinos"), QStringLiteral("Nimbus Roman"),
                QStringLiteral("Times"), QStringLiteral("DejaVu Serif")};
    return {};
}

// A 96 DPI device to measure on.
const QImage& measuringDevice() {
    static const QImage device = [] {
        QImage img(1, 1, QImage::Format_ARGB32_Premultiplied);
        img.setDotsPerMeterX(3780);
        img.setDotsPerMeterY(3780);
        return img;
    }();
    return device;
}

}  // namespace

QString decodeText(std::string_view bytes, TextEncoding encoding) {
    return QString::fromStdString(toUtf8(bytes, encoding));
}

QFont qtFont(const Font& font) {
    const QString face = QString::fromStdString(font.name);
    QStringList families{face};
    families += fallbacksFor(face);
    QFont f;
    f.setFamilies(families);
    f.setStyleHint(face.contains(u"Times", Qt::CaseInsensitive) ? QFont::Serif : QFont::SansSerif);
    f.setPointSizeF(std::max(0.5f, font.size));
    f.setBold(font.bold);
    f.setUnderline(font.underline);
    return f;
}

QFont qtFontFor(const Font& font, qreal widgetDpi, const QPaintDevice& device) {
    QFont f = qtFont(font);
    const int deviceDpi = device.logicalDpiY();
    if (deviceDpi > 0 && deviceDpi != qRound(widgetDpi)) f.setPointSizeF(f.pointSizeF() * widgetDpi / deviceDpi);
    return f;
}

TextExtent measureText(std::string_view bytes, const Font& font) {
    const QFontMetricsF metrics(qtFont(font), &measuringDevice());
    const QStringList lines = decodeText(bytes).remove(u'\r').split(u'\n');
    qreal width = 0;
    for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
    constexpr float kTwipsPerPixel96 = 15.0f;
    return {float(width) * kTwipsPerPixel96, float(metrics.height() * lines.size()) * kTwipsPerPixel96};
}

}  // namespace talvik
