// Autosaving a 150-item session: one save through the store (write, flush to disk,
// rename, keep the previous save, flush the folder) against a plain write of the same
// bytes without flush or rename; the time schedule() takes on the screen's thread; and
// the time from a change to its save being on disk. Each reports the median and the
// worst of 1,000.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "session/AtomicFile.h"
#include "session/Autosaver.h"
#include "session/SessionFile.h"
#include "session/SessionStore.h"

namespace talvik::exam {
namespace {
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRuns = 1000;

qti::Test test150() {
    qti::Test test;
    test.identifier = "bench-150";
    test.title = "150 questions";
    qti::Section section;
    for (int k = 0; k < 150; ++k) {
        qti::Item item;
        item.identifier = "item-" + std::to_string(1000 + k);
        item.title = "Question " + std::to_string(k + 1);
        item.delivered = true;
        item.shuffle = true;
        item.maxChoices = k % 5 == 0 ? 0 : 1;
        for (int c = 0; c < 4 + k % 2; ++c) item.choices.push_back({"choice-" + std::string(1, char('A' + c)), "text"});
        section.items.push_back(std::move(item));
    }
    test.sections.push_back(std::move(section));
    return test;
}

// Most questions answered, some flagged, part-way through the time.
ExamSession session150() {
    ExamSession session(test150(), 12345u);
    session.setCandidate("Tõnu Põder", "9B");
    std::mt19937 rng(7);
    for (int k = 0; k < 150; ++k) {
        if (k % 10 != 9) session.toggleChoice(k, static_cast<std::int32_t>(rng() % 4));
        if (k % 5 == 0) session.toggleChoice(k, static_cast<std::int32_t>(rng() % 4));
        if (k % 13 == 0) session.setFlagged(k, true);
    }
    session.goTo(97);
    session.setElapsed(1'800'000, true);
    return session;
}

class Folder {
public:
    Folder() {
        path_ = fs::temp_directory_path() / ("talvik-bench-" + std::to_string(::getpid()));
        fs::create_directories(path_);
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

double threadCpuUs() {
    timespec ts{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e6 + static_cast<double>(ts.tv_nsec) / 1e3;
}

void report(benchmark::State& state, std::vector<double>& us) {
    std::sort(us.begin(), us.end());
    state.counters["median_us"] = us[us.size() / 2];
    state.counters["p99_us"] = us[us.size() * 99 / 100];
    state.counters["worst_us"] = us.back();
}

// One autosave as the worker does it.
void BM_StoreSave150(benchmark::State& state) {
    const Folder folder;
    SessionStore store(folder.path().string());
    SessionState s = session150().state();
    store.save(s);
    std::vector<double> us;
    for (auto _ : state) {
        ++s.revision;
        const auto t0 = Clock::now();
        store.save(s);
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
    }
    state.counters["bytes"] = static_cast<double>(serializeSession(s).size());
    report(state, us);
}
BENCHMARK(BM_StoreSave150)->Iterations(kRuns)->Unit(benchmark::kMicrosecond);

// The same bytes written in place: no flush to disk, no rename, nothing kept.
void BM_PlainWrite150(benchmark::State& state) {
    const Folder folder;
    const std::string bytes = serializeSession(session150().state());
    const std::string path = (folder.path() / "plain.json").string();
    std::vector<double> us;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        ::close(fd);
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
        benchmark::DoNotOptimize(n);
    }
    report(state, us);
}
BENCHMARK(BM_PlainWrite150)->Iterations(kRuns)->Unit(benchmark::kMicrosecond);

// The same bytes as a new file each time (ext4 flushes a file rewritten in place on close).
void BM_PlainNewFile150(benchmark::State& state) {
    const Folder folder;
    const std::string bytes = serializeSession(session150().state());
    std::vector<double> us;
    int k = 0;
    for (auto _ : state) {
        const std::string path = (folder.path() / ("plain-" + std::to_string(k++) + ".json")).string();
        const auto t0 = Clock::now();
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        ::close(fd);
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
        benchmark::DoNotOptimize(n);
    }
    report(state, us);
}
BENCHMARK(BM_PlainNewFile150)->Iterations(kRuns)->Unit(benchmark::kMicrosecond);

// The part of a save that is only the processor's: the state to bytes with its checksum.
void BM_Serialize150(benchmark::State& state) {
    const SessionState s = session150().state();
    std::vector<double> us;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(serializeSession(s));
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
    }
    report(state, us);
}
BENCHMARK(BM_Serialize150)->Iterations(kRuns)->Unit(benchmark::kMicrosecond);

// What the screen's thread pays for a change: the copy under the lock, while the worker
// writes the changes before it.
void BM_Schedule150(benchmark::State& state) {
    const Folder folder;
    Autosaver saver(SessionStore(folder.path().string()));
    ExamSession session = session150();
    std::vector<double> us;
    std::vector<double> cpu;  // the thread's own time, without waits for a processor on a busy machine
    std::int32_t k = 0;
    for (auto _ : state) {
        session.setFlagged(k, !session.itemState(k).flagged);
        k = (k + 1) % 150;
        const auto t0 = Clock::now();
        const double c0 = threadCpuUs();
        saver.schedule(session.state());
        cpu.push_back(threadCpuUs() - c0);
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
    }
    saver.flush();
    report(state, us);
    std::sort(cpu.begin(), cpu.end());
    state.counters["cpu_median_us"] = cpu[cpu.size() / 2];
    state.counters["cpu_worst_us"] = cpu.back();
}
BENCHMARK(BM_Schedule150)->Iterations(kRuns)->Unit(benchmark::kMicrosecond);

// From a change to its save on disk, with nothing else in flight.
void BM_ChangeToDisk150(benchmark::State& state) {
    const Folder folder;
    Autosaver saver(SessionStore(folder.path().string()));
    ExamSession session = session150();
    std::vector<double> us;
    std::int32_t k = 0;
    for (auto _ : state) {
        session.setFlagged(k, !session.itemState(k).flagged);
        k = (k + 1) % 150;
        const auto t0 = Clock::now();
        saver.schedule(session.state());
        saver.flush();
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
    }
    report(state, us);
}
BENCHMARK(BM_ChangeToDisk150)->Iterations(kRuns)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace talvik::exam

BENCHMARK_MAIN();
