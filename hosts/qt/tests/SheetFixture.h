#pragma once
// A control shown in its Qt host widget on the offscreen platform, with the pixels it
// draws and the areas it repaints.
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPaintEvent>
#include <QRegion>
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <optional>

#include "frame/model/Picture.h"
#include "frame/host/PropertyBag.h"
#include "hosts/qt/QtControlWidget.h"

namespace talvik::testing {

// Records the regions a widget repaints while recording is on.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget& w) { w.installEventFilter(this); }
    bool recording = false;
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (recording && e->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(e)->region();
        return false;
    }
};

// A control on a form, as a container places it: new, or restored from `saved`.
struct Shown {
    std::optional<PropertyBag> saved;
    QWidget form;
    QtControlWidget widget;
    PaintRecorder recorder{widget};

    explicit Shown(std::string_view className, std::optional<PropertyBag> bag = std::nullopt)
        : saved(std::move(bag)), widget(className, saved ? &*saved : nullptr, &form) {
        show();
    }
    // A class private to the library, made through its private factory.
    Shown(QtControlWidget::LibraryInternal cls, std::optional<PropertyBag> bag)
        : saved(std::move(bag)), widget(cls, saved ? &*saved : nullptr, &form) {
        show();
    }
    void show() {
        form.resize(widget.size() + QSize(100, 100));
        form.show();
        settle();
    }
    // Delivers what is posted: updates become paint events.
    static void settle() {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }
    QImage image() { return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32); }
    // What the widget repaints while `action` runs and its updates are delivered.
    template <class F>
    QRegion repaintedBy(F&& action) {
        settle();
        recorder.painted = {};
        recorder.recording = true;
        action();
        settle();
        recorder.recording = false;
        return recorder.painted;
    }
    const Picture& picture(std::string_view element, int index) const {
        const Element e = widget.host().find(element, index);
        if (e.is<PictureBox>()) return e.as<PictureBox>().picture();
        return e.as<Image>().picture();
    }
};

inline bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) <= 2 && std::abs(a.green() - b.green()) <= 2 &&
           std::abs(a.blue() - b.blue()) <= 2;
}

// The contrast ratio of two colours from their relative luminances, 1 to 21.
inline double contrast(QColor a, QColor b) {
    const auto luminance = [](QColor c) {
        const auto linear = [](int v) {
            const double s = v / 255.0;
            return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

inline QColor pixelOf(const Picture& pic, int x, int y) {
    const Bitmap& b = *pic.bitmap();
    return QColor::fromRgba(b.argb[std::size_t(y) * std::size_t(b.width) + std::size_t(x)]);
}

// Whether the block of pixels at `at` is `pic` drawn over `background`, each of its
// pixels as a square of `scale` device pixels: each channel within 2 of the picture's
// pixel blended by its alpha. Without a background only the opaque pixels are compared.
inline ::testing::AssertionResult showsPicture(const QImage& img, QPoint at, const Picture& pic,
                                               std::optional<QColor> background, int scale = 1) {
    for (int y = 0; y < pic.bitmap()->height; ++y)
        for (int x = 0; x < pic.bitmap()->width; ++x) {
            const QColor p = pixelOf(pic, x, y);
            if (!background && p.alpha() != 255) continue;
            const double a = p.alphaF();
            const QColor bg = background.value_or(p);
            const auto blend = [&](int src, int under) { return int(src * a + under * (1 - a) + 0.5); };
            const QColor want(blend(p.red(), bg.red()), blend(p.green(), bg.green()), blend(p.blue(), bg.blue()));
            for (int dy = 0; dy < scale; ++dy)
                for (int dx = 0; dx < scale; ++dx) {
                    const QPoint px(at.x() + x * scale + dx, at.y() + y * scale + dy);
                    if (!near(img.pixelColor(px), want))
                        return ::testing::AssertionFailure()
                               << "pixel (" << px.x() << ", " << px.y() << ") is "
                               << img.pixelColor(px).name().toStdString() << ", the picture there is "
                               << want.name().toStdString();
                }
        }
    return ::testing::AssertionSuccess();
}

}  // namespace talvik::testing
