// The mouse sweeping over the boxes with buttons in the headless host: 10,000 moves a
// round across the buttons, the frame slices, the caption and the surface. Once a
// style has been shown no move may load a bitmap (the counter bitmap_loads stays 0),
// and a move that changes no picture damages nothing.
//
// BM_MoveOverNothing is the baseline of the same run: moves that reach the box and are
// handled by nothing (the surface of a ScrollBox), the cost of delivering a move.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "boxes/ScrollBox.h"
#include "boxes/vltSwitch.h"
#include "boxes/vltZoomBox.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik {
using namespace controls;
namespace {

constexpr int kMoves = 10000;

template <class Box>
void BM_Hover(benchmark::State& state) {
    HeadlessHost host{Box::Class};
    host.Initialize();
    host.InitProperties();
    host.resizeTo(4000, 2000);
    auto& box = static_cast<Box&>(*host.control());
    box.Style(static_cast<std::int32_t>(state.range(0)));
    // The path of the mouse: each button in turn, then off it onto the frame, the caption
    // and the surface, and now and then the same button twice.
    std::vector<InputEvent> path;
    const auto move = [&](Element over) {
        InputEvent ev;
        ev.kind = EventKind::MouseMove;
        ev.source = over;
        path.push_back(ev);
    };
    for (const Image b : host.images("Image4")) {
        move(b);
        move(b);
        move(host.find("Image2", 1));
        move(b);
        move(host.find("Label1"));
        move(Element());
    }
    // The first showing of the style loads its pictures; what is counted comes after.
    for (const InputEvent& ev : path) host.deliver(ev);
    host.takeDamage();
    const int loadsBefore = host.resourceLoads();
    std::int64_t moves = 0;
    std::size_t damaged = 0;
    for (auto _ : state) {
        for (int i = 0; i < kMoves; ++i) {
            host.deliver(path[std::size_t(i) % path.size()]);
            damaged += host.takeDamage().size();
        }
        moves += kMoves;
    }
    state.counters["bitmap_loads"] = double(host.resourceLoads() - loadsBefore);
    state.counters["damage_per_move"] = double(damaged) / double(moves);
    state.counters["per_move_ns"] =
        benchmark::Counter(double(moves), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Hover<vltSwitch>)->Arg(0)->Arg(5)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Hover<vltZoomBox>)->Arg(0)->Arg(5)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Hover<ScrollBox>)->Arg(0)->Arg(5)->Unit(benchmark::kMillisecond);

void BM_MoveOverNothing(benchmark::State& state) {
    HeadlessHost host{ScrollBox::Class};
    host.Initialize();
    InputEvent ev;
    ev.kind = EventKind::MouseMove;
    std::int64_t moves = 0;
    for (auto _ : state) {
        for (int i = 0; i < kMoves; ++i) {
            host.deliver(ev);
            benchmark::DoNotOptimize(host.takeDamage());
        }
        moves += kMoves;
    }
    state.counters["per_move_ns"] =
        benchmark::Counter(double(moves), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MoveOverNothing)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace talvik

BENCHMARK_MAIN();
