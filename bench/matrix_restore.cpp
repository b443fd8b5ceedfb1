// Restoring an answer sheet in the headless host: Initialize, then ReadProperties with
// all four keys (each through its let, so four more layouts), and one layout alone; and
// the heap a restored sheet keeps.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>
#include <vector>

#include "answer/Matrix.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik {
using namespace controls;
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

// What a container does for every sheet it opens: create, Initialize, ReadProperties.
void BM_MatrixCreateAndRestore(benchmark::State& state) {
    for (auto _ : state) {
        HeadlessHost host(Matrix::Class);
        host.Initialize();
        host.ReadProperties(kStored);
        benchmark::DoNotOptimize(host.surface().Width());
    }
}
BENCHMARK(BM_MatrixCreateAndRestore)->Unit(benchmark::kMicrosecond);

// Heap kept per restored sheet (host, elements and control), its damage taken as a host
// does after painting.
void BM_Heap_HeadlessSheet(benchmark::State& state) {
    constexpr int kSheets = 20;
    {
        HeadlessHost warm(Matrix::Class);  // the template's shared pictures and prototype
        warm.Initialize();
    }
    for (auto _ : state) {
        std::vector<std::unique_ptr<HeadlessHost>> sheets;
        sheets.reserve(kSheets);
        const std::size_t before = mallinfo2().uordblks;
        for (int i = 0; i < kSheets; ++i) {
            sheets.push_back(std::make_unique<HeadlessHost>(Matrix::Class));
            sheets.back()->Initialize();
            sheets.back()->ReadProperties(kStored);
            sheets.back()->takeDamage();
        }
        const std::size_t after = mallinfo2().uordblks;
        state.counters["bytes_per_sheet"] = double(after - before) / kSheets;
    }
}
BENCHMARK(BM_Heap_HeadlessSheet)->Iterations(1)->Unit(benchmark::kMillisecond);

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
