// A candidate's whole test on a 150-question sheet (38 rows, 4 columns): for every
// question a click on one choice and an arrow key, then one result.
#include <benchmark/benchmark.h>

#include "answer/Matrix.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik {
using namespace controls;
namespace {

struct Sheet {
    HeadlessHost host{Matrix::Class};
    Matrix& m = static_cast<Matrix&>(*host.control());
    Sheet() {
        host.Initialize();
        host.ReadProperties(PropertyBag{{"MaxItemPerCol", std::int16_t{38}}, {"MaxItems", std::int16_t{150}}});
    }
};

void BM_WholeTest(benchmark::State& state) {
    Sheet s;
    const ElementArray<Image> choices[4] = {s.host.images("Image1"), s.host.images("Image2"),
                                            s.host.images("Image3"), s.host.images("Image4")};
    std::int64_t events = 0;
    for (auto _ : state) {
        for (std::int16_t i = 0; i < 150; ++i) {
            s.host.deliver({EventKind::Click, choices[i % 4](i)});
            s.host.deliver({.kind = EventKind::KeyDown, .key = 40});
            s.host.takeDamage();
        }
        benchmark::DoNotOptimize(s.m.result());
        events += 300;
    }
    state.counters["per_event_ns"] =
        benchmark::Counter(double(events), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_WholeTest)->Unit(benchmark::kMicrosecond);

void BM_InputEvent(benchmark::State& state) {
    Sheet s;
    Image bubble = s.host.images("Image2")(70);
    for (auto _ : state) {
        s.host.deliver({EventKind::Click, bubble});
        s.host.takeDamage();
    }
}
BENCHMARK(BM_InputEvent);

void BM_Result(benchmark::State& state) {
    Sheet s;
    for (std::int16_t i = 0; i < 150; i += 3) s.host.deliver({EventKind::Click, s.host.images("Image1")(i)});
    for (auto _ : state) benchmark::DoNotOptimize(s.m.result());
}
BENCHMARK(BM_Result)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace talvik

BENCHMARK_MAIN();
