// Kill and resume with the real program: the exam driver sits the sample test through
// the screen, logging each change's revision and digest before its save is scheduled and
// each save that reached the disk, and is killed with SIGKILL at a random moment. Each
// time the folder must hold a readable session at least as new as the last save logged,
// and exactly the state logged for its revision; the next driver resumes it.
// TALVIK_EXAM_KILL_ROUNDS sets the number of rounds, TALVIK_EXAM_KILL_SEED the seed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>

#include "exam_driver_digest.h"
#include "session/SessionStore.h"

extern char** environ;

namespace talvik::exam {
namespace {

unsigned long knob(const char* name, unsigned long fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::strtoul(v, nullptr, 10) : fallback;
}

class Lines {
public:
    explicit Lines(int fd) : fd_(fd) {}
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

struct Driver {
    pid_t pid = -1;
    int out = -1;
};

Driver spawn(const std::string& dir, std::uint32_t seed) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    const std::string seedText = std::to_string(seed);
    std::string exe = TALVIK_EXAM_DRIVER;
    char* argv[] = {exe.data(), const_cast<char*>(dir.c_str()), const_cast<char*>(seedText.c_str()), nullptr};
    Driver d;
    if (posix_spawn(&d.pid, exe.c_str(), &actions, nullptr, argv, environ) != 0) d.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    d.out = pipeFds[0];
    return d;
}

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

        const Driver driver = spawn(folder, driverSeed);
        ASSERT_GT(driver.pid, 0) << "cannot start " << TALVIK_EXAM_DRIVER;
        Lines lines(driver.out);
        std::map<std::uint64_t, std::uint64_t> logged;  // revision -> digest, this round
        if (last) logged[last->first] = last->second;
        std::uint64_t lastSaved = 0;
        std::uint32_t savedSeen = 0;
        bool started = false;
        auto take = [&](const std::string& line) {
            std::istringstream in(line);
            std::string what;
            std::uint64_t revision = 0, digest = 0;
            in >> what >> revision;
            if (what == "change" || what == "start") {
                in >> digest;
                if (what == "start") {
                    started = true;
                    if (last) {
                        EXPECT_EQ(revision, last->first) << "resumed another save";
                        EXPECT_EQ(digest, last->second) << "resumed another state";
                    }
                } else {
                    ++changes;
                }
                logged[revision] = digest;
            } else if (what == "saved") {
                lastSaved = std::max(lastSaved, revision);
                ++savedSeen;
                ++saves;
            } else {
                ADD_FAILURE() << "driver: " << line;
            }
        };
        std::string line;
        if (!early) {
            while (!started && lines.next(line)) take(line);
            while (savedSeen < savesFirst && lines.next(line)) take(line);
        }
        ::usleep(delay);
        ::kill(driver.pid, SIGKILL);
        while (lines.next(line)) take(line);
        ::close(driver.out);
        int status = 0;
        ::waitpid(driver.pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the driver ended by itself: " << status;
        if (!started) ++beforeStart;
        else if (savedSeen == 0) ++beforeFirstSave;
        // A save's temporary file left behind: the kill came in the middle of a write.
        if (!QDir(dir.path()).entryList({QStringLiteral(".session.*")}, QDir::Files | QDir::Hidden).isEmpty()) ++inWrite;

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
