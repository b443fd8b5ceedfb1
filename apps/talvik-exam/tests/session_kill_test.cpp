// Kill and resume: a program changes a session from a seed while its autosaver writes,
// reports each completed save, and is killed with SIGKILL at a random moment. Each time,
// the saved session must be readable, at least as new as the last save reported, and
// exactly what the same seeded changes give at its revision. Then the next program resumes
// it. TALVIK_KILL_ROUNDS sets the number of rounds (200 by default), TALVIK_KILL_SEED the seed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <string>

#include "qti_test_items.h"
#include "session/SessionStore.h"
#include "session_test_support.h"

extern char** environ;

namespace talvik::exam {
namespace {
namespace fs = std::filesystem;
using qti::testing::TempDir;

unsigned long knob(const char* name, unsigned long fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::strtoul(v, nullptr, 10) : fallback;
}

// The child's standard output, line by line.
class Lines {
public:
    explicit Lines(int fd) : fd_(fd) {}
    // False at the end of the output.
    bool next(std::string& line) {
        for (;;) {
            if (const std::size_t nl = buffer_.find('\n'); nl != std::string::npos) {
                line = buffer_.substr(0, nl);
                buffer_.erase(0, nl + 1);
                return true;
            }
            char buf[4096];
            const ssize_t n = ::read(fd_, buf, sizeof buf);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            buffer_.append(buf, static_cast<std::size_t>(n));
        }
    }

private:
    int fd_;
    std::string buffer_;
};

struct Child {
    pid_t pid = -1;
    int out = -1;
};

Child spawn(const std::string& dir, std::uint32_t seed) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    const std::string seedText = std::to_string(seed);
    std::string exe = TALVIK_SESSION_CHILD;
    char* argv[] = {exe.data(), const_cast<char*>(dir.c_str()), const_cast<char*>(seedText.c_str()), nullptr};
    Child child;
    if (posix_spawn(&child.pid, exe.c_str(), &actions, nullptr, argv, environ) != 0) child.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    child.out = pipeFds[0];
    return child;
}

bool interruptedWriteLeftOver(const fs::path& dir) {
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().filename().string().rfind(".session.", 0) == 0) return true;
    return false;
}

TEST(SessionKill, NoSaveReportedIsEverLost) {
    const unsigned long rounds = knob("TALVIK_KILL_ROUNDS", 200);
    const auto seed = static_cast<std::uint32_t>(knob("TALVIK_KILL_SEED", 20261206));
    std::mt19937 rng(seed);
    const TempDir dir;
    SessionStore store(dir.path().string());
    std::optional<SessionState> base;
    unsigned long losses = 0;
    unsigned long reportedSaves = 0;
    unsigned long killedInWrite = 0;
    const auto start = std::chrono::steady_clock::now();

    for (unsigned long round = 0; round < rounds && losses == 0; ++round) {
        const std::uint32_t roundSeed = static_cast<std::uint32_t>(rng());
        const std::uint32_t savesBeforeKill = rng() % 6;
        const useconds_t delay = static_cast<useconds_t>(rng() % 3000);
        SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(round));

        const Child child = spawn(dir.path().string(), roundSeed);
        ASSERT_GT(child.pid, 0) << "cannot start " << TALVIK_SESSION_CHILD;
        Lines lines(child.out);
        std::uint64_t lastReported = 0;
        std::uint32_t seen = 0;
        auto take = [&](const std::string& line) {
            if (line.rfind("S ", 0) == 0) {
                lastReported = std::max<std::uint64_t>(lastReported, std::stoull(line.substr(2)));
                ++seen;
                ++reportedSaves;
            } else if (line.rfind("L ", 0) == 0) {
                EXPECT_EQ(std::stoull(line.substr(2)), base ? base->revision : 0u) << "resumed another save";
            } else {
                ADD_FAILURE() << "child: " << line;
            }
        };
        std::string line;
        while (seen < savesBeforeKill && lines.next(line)) take(line);
        // A random moment: between saves, in the middle of one, before the first.
        ::usleep(delay);
        ::kill(child.pid, SIGKILL);
        while (lines.next(line)) take(line);  // what it reported before it died counts too
        ::close(child.out);
        int status = 0;
        ::waitpid(child.pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the child ended by itself: " << status;
        if (interruptedWriteLeftOver(dir.path())) ++killedInWrite;

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
