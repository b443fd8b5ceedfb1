// How long the screen's thread is blocked while a candidate works: the exam program on the
// sample test of 40 items, a change through the screen every 100 ms (60 changes: clicks on
// the sheet and the strip, letter keys, flags, next and previous), and a 1 ms precise
// timer on the same thread whose lateness is the time the thread could not answer. Side
// by side in the same run:
//   Background   the program as it is: the change handler schedules the save, which the
//                autosaver's thread writes;
//   OnUiThread   the same program with the save written in the change handler
//                (SessionStore::save: write, flush to disk, rename, keep the previous);
//   NoSave       the floor: the change handler only shows the change, nothing is saved.
// Reported: the longest, 99th percentile and median lateness of the timer, in ms; the
// same of the time each change held the thread (the input event handled, the screen
// refreshed, the save scheduled or written: change_*_ms); and
// the session's changes (a click on another row's bubble is two: go there, answer). Set TALVIK_BENCH_DIR to a folder on the disk to measure (default: the
// system's temporary folder).
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <random>
#include <vector>

#include "ExamApp.h"
#include "ExamWindow.h"
#include "session/ExamSession.h"
#include "session/SessionStore.h"
#include "tests/random_candidate.h"

namespace talvik::exam {
namespace {

constexpr int kChanges = 60;
constexpr int kChangeEveryMs = 100;

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, std::size_t(p * double(v.size() - 1) + 0.5))];
}

enum class Saving { Background, OnUiThread, None };

void sitting(benchmark::State& state, Saving saving) {
    const QByteArray base = qgetenv("TALVIK_BENCH_DIR");
    QTemporaryDir dir(base.isEmpty() ? QDir::tempPath() + QStringLiteral("/exam-ui-block-XXXXXX")
                                     : QString::fromLocal8Bit(base) + QStringLiteral("/exam-ui-block-XXXXXX"));
    std::vector<double> lateness;
    std::vector<double> handling;
    int saves = 0;
    for (auto _ : state) {
        ExamOptions options;
        options.exam = TALVIK_EXAM_SAMPLE;
        options.candidate = "bench";
        options.sessionDirectory = dir.path().toStdString();
        ExamApp app(options);
        app.window().resize(1280, 720);
        app.window().show();
        QApplication::setActiveWindow(&app.window());
        SessionStore store(options.sessionDirectory);
        if (saving == Saving::OnUiThread) {
            app.session().onChange([&] {
                app.window().refresh();
                store.save(app.session().state());
                ++saves;
            });
        } else if (saving == Saving::None) {
            app.session().onChange([&] {
                app.window().refresh();
                ++saves;
            });
        } else {
            QObject::connect(&app, &ExamApp::sessionChanged, &app, [&] { ++saves; });
        }
        for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();

        std::mt19937 rng(20261206u);
        QEventLoop loop;
        QElapsedTimer clock;
        qint64 lastTick = -1;
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            if (lastTick >= 0) lateness.push_back(std::max<double>(0.0, double(now - lastTick) / 1e6 - 1.0));
            lastTick = now;
        });
        int done = 0;
        QTimer changes;
        changes.setTimerType(Qt::PreciseTimer);
        QObject::connect(&changes, &QTimer::timeout, [&] {
            const qint64 begun = clock.nsecsElapsed();
            testing::actAtRandom(app, rng);
            handling.push_back(double(clock.nsecsElapsed() - begun) / 1e6);
            if (++done == kChanges) loop.quit();
        });
        clock.start();
        ticker.start(1);
        changes.start(kChangeEveryMs);
        loop.exec();
        ticker.stop();
        changes.stop();
    }
    state.counters["max_ms"] = percentile(lateness, 1.0);
    state.counters["p99_ms"] = percentile(lateness, 0.99);
    state.counters["median_ms"] = percentile(lateness, 0.5);
    state.counters["change_max_ms"] = percentile(handling, 1.0);
    state.counters["change_p99_ms"] = percentile(handling, 0.99);
    state.counters["change_median_ms"] = percentile(handling, 0.5);
    state.counters["ticks"] = double(lateness.size());
    state.counters["changes"] = double(saves);
}

void BM_ExamUiBlock_Background(benchmark::State& state) { sitting(state, Saving::Background); }
void BM_ExamUiBlock_OnUiThread(benchmark::State& state) { sitting(state, Saving::OnUiThread); }
void BM_ExamUiBlock_NoSave(benchmark::State& state) { sitting(state, Saving::None); }

BENCHMARK(BM_ExamUiBlock_Background)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExamUiBlock_OnUiThread)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExamUiBlock_NoSave)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace talvik::exam
