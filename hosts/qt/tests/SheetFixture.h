#pragma once
// A control shown in its Qt host widget on the offscreen platform, with the pixels it
// draws and the areas it repaints.
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPaintEvent>
#include <QRegion>
#include <gtest/gtest.h>

#include "frame/Picture.h"
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

// A control on a form, as a container places it.
struct Shown {
    QWidget form;
    QtControlWidget widget;
    PaintRecorder recorder{widget};

    explicit Shown(std::string_view className, const PropertyBag* saved = nullptr) : widget(className, saved, &form) {
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
        const Element* e = widget.host().find(element, index);
        if (const auto* box = dynamic_cast<const PictureBox*>(e)) return box->picture();
        return static_cast<const Image*>(e)->picture();
    }
};

// Whether the block of pixels at `at` is `pic` drawn over `background`, each of its
// pixels as a square of `scale` device pixels: each channel within 2 of the picture's
// pixel blended by its alpha.
inline ::testing::AssertionResult showsPicture(const QImage& img, QPoint at, const Picture& pic, QColor background,
                                               int scale = 1) {
    const Bitmap& b = *pic.bitmap();
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) {
            const std::uint32_t argb = b.argb[std::size_t(y) * std::size_t(b.width) + std::size_t(x)];
            const double a = double(argb >> 24) / 255.0;
            const auto blend = [&](int src, int bg) { return int(src * a + bg * (1 - a) + 0.5); };
            const QColor want(blend(int((argb >> 16) & 0xFF), background.red()),
                              blend(int((argb >> 8) & 0xFF), background.green()),
                              blend(int(argb & 0xFF), background.blue()));
            for (int dy = 0; dy < scale; ++dy)
                for (int dx = 0; dx < scale; ++dx) {
                    const QPoint px(at.x() + x * scale + dx, at.y() + y * scale + dy);
                    const QColor got = img.pixelColor(px);
                    if (std::abs(got.red() - want.red()) > 2 || std::abs(got.green() - want.green()) > 2 ||
                        std::abs(got.blue() - want.blue()) > 2)
                        return ::testing::AssertionFailure()
                               << "pixel (" << px.x() << ", " << px.y() << ") is " << got.name().toStdString()
                               << ", the picture there is " << want.name().toStdString();
                }
        }
    return ::testing::AssertionSuccess();
}

}  // namespace talvik::testing
