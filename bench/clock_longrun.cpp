// A day of the analog clock in the headless host: 86,400 ticks, the host's clock moved
// on 1000 ms at a time, and after every tick the three hands' end points compared with
// the angles worked out here again from the time of day. Reported: the time a tick takes
// (the advance that fires it and the damage a host then takes, without the comparison),
// the end points that differ (must be 0), and the heap and the host's record of service
// calls at the start, after the first hour and at the end of the day: the record keeps
// the latest 1024 calls, so it fills within the first hour, and after that nothing may
// grow.
//
// BM_ClockTick is the same tick alone, many times over, for a steadier time per tick.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <cmath>

#include "controls/TimerPicture.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik {
using namespace controls;
namespace {

constexpr int kDay = 24 * 60 * 60;

struct End {
    float x, y;
    friend bool operator==(const End&, const End&) = default;
};

// Where a hand of that length ends at that angle: the angle kept as a 32-bit float, the
// end point rounded to whole twips, halves to even.
End handEnd(double length, double angle) {
    const double a = double(float(angle));
    return {float(std::nearbyint(907.5 + length * std::cos(a))), float(std::nearbyint(900.0 - length * std::sin(a)))};
}

End lineEnd(const Line& l) { return {l.X2(), l.Y2()}; }

void BM_ClockDay(benchmark::State& state) {
    std::int64_t mismatches = 0;
    for (auto _ : state) {
        HeadlessHost host(TimerPicture::Class);
        host.setClock({0, 0, 0});
        host.Initialize();
        host.takeDamage();
        const Line second = host.line("kimgiay"), minute = host.line("kimphut"), hour = host.line("kimgio");
        const std::size_t heapStart = mallinfo2().uordblks;
        const std::size_t callsStart = host.calls().size();
        std::size_t heapHour = 0;
        std::chrono::steady_clock::duration ticking{};
        for (int i = 1; i <= kDay; ++i) {
            if (i == 3601) heapHour = mallinfo2().uordblks;
            const auto t0 = std::chrono::steady_clock::now();
            host.advance(1000);
            benchmark::DoNotOptimize(host.takeDamage());
            ticking += std::chrono::steady_clock::now() - t0;
            const int now = i % kDay, h = now / 3600, m = now / 60 % 60, s = now % 60;
            mismatches += lineEnd(second) != handEnd(650, (3.14 / 2 + 6.28) - 3.14 * s / 30);
            mismatches += lineEnd(minute) != handEnd(500, (3.14 / 2 + 6.28) - 3.14 * m / 30);
            mismatches += lineEnd(hour) != handEnd(350, 3.14 / 2 - 3.14 * h / 6 - (3.14 / 360) * m);
        }
        state.counters["ns_per_tick"] = double(std::chrono::duration_cast<std::chrono::nanoseconds>(ticking).count()) / kDay;
        state.counters["heap_start_bytes"] = double(heapStart);
        const auto heapEnd = std::int64_t(mallinfo2().uordblks);
        state.counters["heap_growth_first_hour"] = double(std::int64_t(heapHour) - std::int64_t(heapStart));
        state.counters["heap_growth_last_23h"] = double(heapEnd - std::int64_t(heapHour));
        state.counters["calls_recorded_start"] = double(callsStart);
        state.counters["calls_recorded_end"] = double(host.calls().size());
        state.counters["elapsed_ms"] = double(host.elapsed());
    }
    state.counters["mismatches"] = double(mismatches);
    state.counters["ticks"] = benchmark::Counter(double(kDay) * double(state.iterations()));
    if (mismatches != 0) state.SkipWithError("a hand ended where the time of day does not put it");
}
BENCHMARK(BM_ClockDay)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_ClockTick(benchmark::State& state) {
    HeadlessHost host(TimerPicture::Class);
    host.setClock({0, 0, 0});
    host.Initialize();
    host.takeDamage();
    for (auto _ : state) {
        host.advance(1000);
        benchmark::DoNotOptimize(host.takeDamage());
    }
}
BENCHMARK(BM_ClockTick);

}  // namespace
}  // namespace talvik

BENCHMARK_MAIN();
