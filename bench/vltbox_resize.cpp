// A vltBox dragged to 10,000 different sizes in the headless host, in each of the six
// skins: every resize lays the nine slices and the caption out again, and none may load
// a bitmap (the counter bitmap_loads must stay 0).
#include <benchmark/benchmark.h>

#include "boxes/vltBox.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik {
using namespace controls;
namespace {

constexpr int kResizes = 10000;

void BM_vltBoxResize(benchmark::State& state) {
    HeadlessHost host{vltBox::Class};
    auto& box = static_cast<vltBox&>(*host.control());
    host.Initialize();
    host.InitProperties();
    box.Style(static_cast<std::int32_t>(state.range(0)));
    box.Caption("Answer sheet");
    const int loadsBefore = host.resourceLoads();
    std::int64_t resizes = 0;
    for (auto _ : state) {
        for (int i = 0; i < kResizes; ++i) {
            // Sizes sweep from narrower than the corners to full screen and back.
            const float w = float(300 + (i * 37) % 14000);
            const float h = float(200 + (i * 23) % 9000);
            host.resizeTo(w, h);
            benchmark::DoNotOptimize(host.takeDamage());
        }
        resizes += kResizes;
    }
    state.counters["bitmap_loads"] = double(host.resourceLoads() - loadsBefore);
    state.counters["per_resize_ns"] =
        benchmark::Counter(double(resizes), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_vltBoxResize)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace talvik

BENCHMARK_MAIN();
