// Kill and resume: a program changes a session from a seed while its autosaver writes,
// reports each completed save, and is killed with SIGKILL at a random moment. Each time,
// the saved session must be readable, at least as new as the last save reported, and
// exactly what the same seeded changes give at its revision. Then the next program resumes
// it. TALVIK_KILL_ROUNDS sets the number of rounds (200 by default), TALVIK_KILL_SEED the seed.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <random>
#include <string>

#include "kill_support.h"
#include "qti_test_items.h"
#include "session/SessionStore.h"
#include "session_test_support.h"

namespace talvik::exam {
namespace {
using testing::knob;

TEST(SessionKill, NoSaveReportedIsEverLost) {
    const unsigned long rounds = knob("TALVIK_KILL_ROUNDS", 200);
    const auto seed = static_cast<std::uint32_t>(knob("TALVIK_KILL_SEED", 20261206));
    std::mt19937 rng(seed);
    const qti::testing::TempDir dir;
    SessionStore store(dir.path().string());
    std::optional<SessionState> base;
    unsigned long losses = 0, reportedSaves = 0, killedInWrite = 0;
    const auto start = std::chrono::steady_clock::now();

    for (unsigned long round = 0; round < rounds && losses == 0; ++round) {
        const std::uint32_t roundSeed = static_cast<std::uint32_t>(rng());
        const std::uint32_t savesBeforeKill = rng() % 6;
        const useconds_t delay = static_cast<useconds_t>(rng() % 3000);
        SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(round));

        std::uint64_t lastReported = 0;
        std::uint32_t seen = 0;
        const std::string ended = testing::runAndKill(
            TALVIK_SESSION_CHILD, dir.path().string(), roundSeed, [&] { return seen >= savesBeforeKill; }, delay,
            [&](const std::string& line) {
                if (line.rfind("S ", 0) == 0) {
                    lastReported = std::max<std::uint64_t>(lastReported, std::stoull(line.substr(2)));
                    ++seen;
                    ++reportedSaves;
                } else if (line.rfind("L ", 0) == 0) {
                    EXPECT_EQ(std::stoull(line.substr(2)), base ? base->revision : 0u) << "resumed another save";
                } else {
                    ADD_FAILURE() << "child: " << line;
                }
            });
        ASSERT_EQ(ended, "");
        if (testing::saveInterrupted(dir.path())) ++killedInWrite;

        const LoadedSession loaded = store.load();
        EXPECT_TRUE(loaded.problems.empty()) << loaded.problems.front();
        if (!loaded.state) {
            if (lastReported > 0) ++losses;
            EXPECT_EQ(lastReported, 0u) << "no session on disk after a reported save";
            continue;
        }
        if (loaded.state->revision < lastReported) {
            ++losses;
            ADD_FAILURE() << "saved revision " << loaded.state->revision << " older than reported " << lastReported;
            continue;
        }
        // The same changes from the same start, up to the saved revision.
        std::optional<ExamSession> replay;
        if (base)
            replay.emplace(testing::killLoopTest(), *base);
        else
            replay.emplace(testing::killLoopTest(), testing::kKillSessionSeed);
        std::mt19937 changes(roundSeed);
        for (long step = 0; replay->state().revision < loaded.state->revision && step < 50'000'000; ++step)
            testing::randomChange(*replay, changes);
        const std::string difference = testing::stateDifference(*loaded.state, replay->state());
        if (!difference.empty()) {
            ++losses;
            ADD_FAILURE() << "saved state is not the state of its revision: " << difference;
        }
        base = loaded.state;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf(
        "kill and resume: %lu rounds in %.1f s, %lu saves reported, %lu kills during a write, "
        "last revision %llu, %lu losses\n",
        rounds, seconds, reportedSaves, killedInWrite, static_cast<unsigned long long>(base ? base->revision : 0),
        losses);
    EXPECT_EQ(losses, 0u);
}

}  // namespace
}  // namespace talvik::exam
