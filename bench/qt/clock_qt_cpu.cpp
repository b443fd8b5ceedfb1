// What a ticking analog clock costs the process, per second of clock, in the Qt host:
// one iteration is one second of simulated time, the control's QTimer timing out once
// and the event loop painting what the tick changed. Two ways side by side: the
// library's TimerPicture, which repaints only around the hands that moved, and the clock
// a Qt developer paints by hand (the same face pixmap and three antialiased lines,
// update() of the whole widget each second). BM_EventLoopAlone is the floor: the same
// loop with nothing to do.
//
// Reported beside the times: process CPU milliseconds per second of clock (and the share
// of one core that is), and the pixels repainted per tick.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise; set
// QT_SCALE_FACTOR=2 for a screen of two device pixels per pixel.
#include <QApplication>
#include <QMetaObject>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <time.h>

#include <cmath>
#include <memory>

#include "frame/host/ResourceStore.h"
#include "hosts/qt/QtControlWidget.h"
#include "resources/Resources.h"

using namespace talvik;

namespace {

double processCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

void settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

// The area of the regions a widget repaints.
class PaintedArea : public QObject {
public:
    explicit PaintedArea(QWidget& w) { w.installEventFilter(this); }
    double pixels = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            for (const QRect& r : static_cast<QPaintEvent*>(e)->region()) pixels += double(r.width()) * r.height();
        return false;
    }
};

// Simulated seconds since midnight, from 10:10:10 on.
struct SimulatedTime {
    int seconds = 10 * 3600 + 10 * 60 + 10;
    TimeOfDay now() const { return {seconds / 3600 % 24, seconds / 60 % 60, seconds % 60}; }
};

void report(benchmark::State& state, double cpuMs, const PaintedArea& painted) {
    const double perTick = cpuMs / double(state.iterations());
    state.counters["cpu_ms_per_clock_s"] = perTick;
    state.counters["core_share_pct"] = perTick / 1000 * 100;
    state.counters["px_painted_per_tick"] = painted.pixels / double(state.iterations());
}

void BM_TimerPictureTick(benchmark::State& state) {
    QWidget form;
    auto* clock = new QtControlWidget("TimerPicture", nullptr, &form);
    SimulatedTime time;
    clock->timeOfDay = [&time] { return time.now(); };
    QTimer* timer = clock->findChild<QTimer*>("Timer1");
    if (timer == nullptr) return state.SkipWithError("no Timer1");
    // The bench gives the timeouts itself, one per simulated second.
    timer->stop();
    form.resize(clock->size() + QSize(20, 20));
    form.show();
    settle();
    PaintedArea painted(*clock);
    const double cpu0 = processCpuMs();
    for (auto _ : state) {
        ++time.seconds;
        QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
        QCoreApplication::processEvents();
    }
    report(state, processCpuMs() - cpu0, painted);
}
BENCHMARK(BM_TimerPictureTick)->Unit(benchmark::kMicrosecond);

// The clock a Qt developer paints: the face, then the hands from the time, all of it
// each second.
class HandPaintedClock : public QWidget {
public:
    explicit HandPaintedClock(QWidget* parent) : QWidget(parent) {
        const Bitmap& b = *findResourcePicture(resources::kPictureFiles, "CLOCK_FIREFOX").bitmap();
        const bool large = devicePixelRatioF() > 1 && b.large;
        const Bitmap& src = large ? *b.large : b;
        face_ = QPixmap::fromImage(QImage(reinterpret_cast<const uchar*>(src.argb.data()), src.width, src.height,
                                          qsizetype(src.width) * 4, QImage::Format_ARGB32)
                                       .copy());
        face_.setDevicePixelRatio(large ? 2 : 1);
        setAttribute(Qt::WA_OpaquePaintEvent);
        resize(121, 120);
    }
    SimulatedTime time;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawPixmap(0, 0, face_);
        p.setRenderHint(QPainter::Antialiasing);
        const TimeOfDay t = time.now();
        const QPointF c(60.5, 60);
        const auto hand = [&](double length, double turns) {
            const double a = turns * 2 * M_PI;
            p.setPen(QPen(QColor(0, 0, 64), 2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(c, c + QPointF(length * std::sin(a), -length * std::cos(a)));
        };
        hand(33, t.minute / 60.0);
        hand(43, t.second / 60.0);
        hand(23, (t.hour % 12 + t.minute / 60.0) / 12.0);
    }

private:
    QPixmap face_;
};

void BM_HandPaintedClockTick(benchmark::State& state) {
    QWidget form;
    auto* clock = new HandPaintedClock(&form);
    form.resize(clock->size() + QSize(20, 20));
    form.show();
    settle();
    PaintedArea painted(*clock);
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, clock, [clock] { clock->update(); });
    const double cpu0 = processCpuMs();
    for (auto _ : state) {
        ++clock->time.seconds;
        QMetaObject::invokeMethod(&timer, "timeout", Qt::DirectConnection);
        QCoreApplication::processEvents();
    }
    report(state, processCpuMs() - cpu0, painted);
}
BENCHMARK(BM_HandPaintedClockTick)->Unit(benchmark::kMicrosecond);

void BM_EventLoopAlone(benchmark::State& state) {
    QWidget form;
    form.resize(141, 140);
    form.show();
    settle();
    PaintedArea painted(form);
    const double cpu0 = processCpuMs();
    for (auto _ : state) QCoreApplication::processEvents();
    report(state, processCpuMs() - cpu0, painted);
}
BENCHMARK(BM_EventLoopAlone)->Unit(benchmark::kMicrosecond);

}  // namespace
