// Restoring an answer sheet in the headless host: Initialize, then ReadProperties with
// all four keys (each through its let, so four more layouts), and one layout alone.
#include <benchmark/benchmark.h>

#include "answer/Matrix.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik {
namespace {

const PropertyBag kStored{{"MaxItemPerCol", std::int16_t{38}},
                          {"DistanceItems", std::int16_t{120}},
                          {"MaxCols", std::int16_t{4}},
                          {"MaxItems", std::int16_t{150}}};

// Creating the elements from the template, for comparison with the restore itself.
void BM_MatrixCreate(benchmark::State& state) {
    for (auto _ : state) {
        HeadlessHost host(Matrix::Class);
        benchmark::DoNotOptimize(host.control());
    }
}
BENCHMARK(BM_MatrixCreate)->Unit(benchmark::kMicrosecond);

void BM_MatrixRestore(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto host = std::make_unique<HeadlessHost>(Matrix::Class);
        state.ResumeTiming();
        host->Initialize();
        host->ReadProperties(kStored);
        benchmark::DoNotOptimize(host->surface().Width());
        state.PauseTiming();
        host.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MatrixRestore)->Unit(benchmark::kMicrosecond);

void BM_MatrixArrangeGrid(benchmark::State& state) {
    HeadlessHost host(Matrix::Class);
    host.Initialize();
    host.ReadProperties(kStored);
    auto& m = static_cast<Matrix&>(*host.control());
    std::int16_t d = 120;
    for (auto _ : state) {
        d = d == 120 ? 121 : 120;  // a changed spacing moves every placed element
        m.DistanceItems(d);
        host.takeDamage();
    }
}
BENCHMARK(BM_MatrixArrangeGrid)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace talvik

BENCHMARK_MAIN();
