#pragma once
// A control shown in its Qt host widget on the offscreen platform, with the pixels it
// draws and the areas it repaints, and the layout of the answer sheet and the boxes.
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPaintEvent>
#include <QRegion>
#include <QTimer>
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "frame/host/PropertyBag.h"
#include "frame/model/Picture.h"
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
    // Where an element lies in the widget's pixels.
    QRect placed(std::string_view element, int index = -1) const {
        return widget.scale().snapped((index < 0 ? widget.host().find(element) : widget.host().find(element, index)).bounds());
    }
};

// The clock on a form, at the time of day the test sets.
struct Clock : Shown {
    TimeOfDay now{10, 10, 10};
    QTimer* timer = widget.findChild<QTimer*>("Timer1");

    Clock() : Shown("TimerPicture") { widget.timeOfDay = [this] { return now; }; }
    // One timeout of the control's QTimer, as a second passing would give.
    void tick() { QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection); }
};

// The largest difference of two colours in one channel.
inline int difference(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}
inline bool near(QColor a, QColor b) { return difference(a.rgb(), b.rgb()) <= 2; }

// The relative luminance of a colour, 0 to 1, and the contrast ratio of two, 1 to 21.
inline double luminance(QColor c) {
    const auto linear = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue());
}
inline double contrast(QColor a, QColor b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

inline QColor pixelOf(const Bitmap& b, int x, int y) {
    return QColor::fromRgba(b.argb[std::size_t(y) * std::size_t(b.width) + std::size_t(x)]);
}
inline QColor pixelOf(const Picture& pic, int x, int y) { return pixelOf(*pic.bitmap(), x, y); }

// Whether the block of pixels at `at` is `pic` drawn over `background`: each channel
// within 2 of the picture's pixel blended by its alpha. Without a background only the
// opaque pixels are compared.
inline ::testing::AssertionResult showsPicture(const QImage& img, QPoint at, const Picture& pic,
                                               std::optional<QColor> background) {
    for (int y = 0; y < pic.bitmap()->height; ++y)
        for (int x = 0; x < pic.bitmap()->width; ++x) {
            const QColor p = pixelOf(pic, x, y);
            if (!background && p.alpha() != 255) continue;
            const double a = p.alphaF();
            const QColor bg = background.value_or(p);
            const auto blend = [&](int src, int under) { return int(src * a + under * (1 - a) + 0.5); };
            const QColor want(blend(p.red(), bg.red()), blend(p.green(), bg.green()), blend(p.blue(), bg.blue()));
            if (const QPoint px = at + QPoint(x, y); !near(img.pixelColor(px), want))
                return ::testing::AssertionFailure() << "pixel (" << px.x() << ", " << px.y() << ") is "
                                                     << img.pixelColor(px).name().toStdString()
                                                     << ", the picture there is " << want.name().toStdString();
        }
    return ::testing::AssertionSuccess();
}

// The widget drawn on `ground` into an image of `ratio` device pixels per pixel, as a
// screen of that density shows it.
inline QImage renderAt(QWidget& w, qreal ratio, QColor ground = Qt::magenta) {
    QImage img(QSize(int(std::lround(w.width() * ratio)), int(std::lround(w.height() * ratio))),
               QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(ratio);
    img.fill(ground);
    w.render(&img, QPoint(), QRegion(), QWidget::RenderFlags());
    img.setDevicePixelRatio(1);
    return img.convertToFormat(QImage::Format_ARGB32);
}

// The device pixels a rectangle in twips covers at `ratio`: its edges rounded one by one.
inline QRect devicePixels(const QtControlWidget& w, const RectF& r, qreal ratio) {
    const double k = w.scale().pxPerTwip() * ratio;
    const auto at = [k](float t) { return int(std::lround(double(t) * k)); };
    return QRect(QPoint(at(r.left), at(r.top)), QPoint(at(r.right()) - 1, at(r.bottom()) - 1));
}

// The answer sheet after Initialize, 4 columns of 25 questions with spacing 150: choice
// k (1 to 4) of question q (1 to 25) at Left 465 + 590 (k - 1) and Top 50 + 390 (q - 1)
// + 20 ((q - 1) div 5) twips, 240 twips square; 15 twips a pixel at 96 DPI, an edge on
// the nearest pixel.
inline QPoint bubble(int k, int q) {
    const int i = q - 1;
    return {qRound((465 + 590 * (k - 1)) / 15.0), qRound((50 + 390 * i + 20 * (i / 5)) / 15.0)};
}
inline QRect bubbleRect(int k, int q) { return {bubble(k, q), QSize(16, 16)}; }

// The five skinned boxes.
inline const std::vector<std::string>& BoxClasses() {
    static const std::vector<std::string> boxes = {"vltBox", "vltInfoBox", "ScrollBox", "vltZoomBox", "vltSwitch"};
    return boxes;
}

}  // namespace talvik::testing
