// Kill and resume with the real program: the exam driver sits the sample test through
// the screen, logging each change's revision and digest before its save is scheduled and
// each save that reached the disk, and is killed with SIGKILL at a random moment. Each
// time the folder must hold a readable session at least as new as the last save logged,
// and exactly the state logged for its revision; the next driver resumes it.
// TALVIK_EXAM_KILL_ROUNDS sets the number of rounds, TALVIK_EXAM_KILL_SEED the seed.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <chrono>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>

#include "kill_support.h"
#include "session/SessionStore.h"
#include "session_test_support.h"

namespace talvik::exam {
namespace {
using testing::knob;

TEST(ExamKill, NoChangeSavedIsEverLostWhenTheProgramIsKilled) {
    const unsigned long rounds = knob("TALVIK_EXAM_KILL_ROUNDS", 200);
    const auto seed = static_cast<std::uint32_t>(knob("TALVIK_EXAM_KILL_SEED", 20261206));
    std::mt19937 rng(seed);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string folder = dir.path().toStdString();
    const SessionStore store(folder);

    std::optional<std::pair<std::uint64_t, std::uint64_t>> last;  // revision, digest on disk
    unsigned long losses = 0, changes = 0, saves = 0, beforeStart = 0, beforeFirstSave = 0, inWrite = 0;
    const auto began = std::chrono::steady_clock::now();

    unsigned long round = 0;
    for (; round < rounds && losses == 0; ++round) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(round));
        const std::uint32_t driverSeed = static_cast<std::uint32_t>(rng());
        // Mostly after a few saves; sometimes while the program is still starting.
        const bool early = round > 0 && rng() % 8 == 0;
        const std::uint32_t savesFirst = rng() % 6;
        const useconds_t delay = static_cast<useconds_t>(rng() % 20000);

        std::map<std::uint64_t, std::uint64_t> logged;  // revision -> digest, this round
        if (last) logged[last->first] = last->second;
        std::uint64_t lastSaved = 0;
        std::uint32_t savedSeen = 0;
        bool started = false;
        const std::string ended = testing::runAndKill(
            TALVIK_EXAM_DRIVER, folder, driverSeed, [&] { return early || (started && savedSeen >= savesFirst); },
            delay, [&](const std::string& line) {
                std::istringstream in(line);
                std::string what;
                std::uint64_t revision = 0, digest = 0;
                in >> what >> revision >> digest;
                if (what == "start" && last) {
                    EXPECT_EQ(revision, last->first) << "resumed another save";
                    EXPECT_EQ(digest, last->second) << "resumed another state";
                }
                if (what == "change" || what == "start") {
                    started = started || what == "start";
                    changes += what == "change";
                    logged[revision] = digest;
                } else if (what == "saved") {
                    lastSaved = std::max(lastSaved, revision);
                    ++savedSeen;
                    ++saves;
                } else {
                    ADD_FAILURE() << "driver: " << line;
                }
            });
        ASSERT_EQ(ended, "");
        if (!started) ++beforeStart;
        else if (savedSeen == 0) ++beforeFirstSave;
        if (testing::saveInterrupted(folder)) ++inWrite;

        const LoadedSession onDisk = store.read();
        EXPECT_TRUE(onDisk.problems.empty()) << onDisk.problems.front();
        if (!onDisk.state) {
            EXPECT_EQ(lastSaved, 0u) << "no session on disk after a logged save";
            if (lastSaved > 0 || last) ++losses;
            continue;
        }
        const std::uint64_t revision = onDisk.state->revision;
        const std::uint64_t digest = testing::answerDigest(*onDisk.state);
        if (revision < lastSaved) {
            ++losses;
            ADD_FAILURE() << "revision " << revision << " on disk, older than the save logged " << lastSaved;
            continue;
        }
        const auto it = logged.find(revision);
        if (it == logged.end() || it->second != digest) {
            ++losses;
            ADD_FAILURE() << "revision " << revision << " on disk is not the state logged for it";
            continue;
        }
        last = {revision, digest};
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::printf(
        "exam kill and resume: %lu rounds in %.1f s, %lu changes, %lu saves logged, %lu kills while starting, "
        "%lu before the first save, %lu during a write, last revision %llu, %lu losses\n",
        round, seconds, changes, saves, beforeStart, beforeFirstSave, inWrite,
        static_cast<unsigned long long>(last ? last->first : 0), losses);
    EXPECT_EQ(losses, 0u);
}

}  // namespace
}  // namespace talvik::exam
