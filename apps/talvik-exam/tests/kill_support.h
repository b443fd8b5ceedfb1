// The kill-and-resume loop, which the session's saver and the whole exam program both go
// through: a child program run over a pipe and killed at a chosen moment, round after round.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>

#include "qti_test_items.h"
#include "session/SessionStore.h"

extern char** environ;

namespace talvik::exam::testing {

inline unsigned long knob(const char* name, unsigned long fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::strtoul(v, nullptr, 10) : fallback;
}

// Runs `exe DIR SEED` and hands each line it writes to `take` until `ready()`, then waits
// `delay` microseconds, kills it with SIGKILL and hands over the lines it wrote before it
// died. Empty when the kill ended it, else what went wrong.
inline std::string runAndKill(std::string exe, std::string dir, std::uint32_t seed, const std::function<bool()>& ready,
                              useconds_t delay, const std::function<void(const std::string&)>& take) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return "no pipe";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    std::string seedText = std::to_string(seed);
    char* argv[] = {exe.data(), dir.data(), seedText.data(), nullptr};
    pid_t pid = -1;
    const bool spawned = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (!spawned) {
        ::close(fds[0]);
        return "cannot start " + exe;
    }
    std::string buffer;
    const auto next = [&](std::string& line) {  // false at the end of the output
        for (;;) {
            if (const std::size_t nl = buffer.find('\n'); nl != std::string::npos) {
                line = buffer.substr(0, nl);
                buffer.erase(0, nl + 1);
                return true;
            }
            char buf[4096];
            const ssize_t n = ::read(fds[0], buf, sizeof buf);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            buffer.append(buf, static_cast<std::size_t>(n));
        }
    };
    std::string line;
    while (!ready() && next(line)) take(line);
    ::usleep(delay);  // a random moment: between saves, in the middle of one, before the first
    ::kill(pid, SIGKILL);
    while (next(line)) take(line);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL ? "" : "it ended by itself: " + std::to_string(status);
}

// A save's temporary file left behind: the kill came in the middle of a write.
inline bool saveInterrupted(const std::filesystem::path& dir) {
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (e.path().filename().string().rfind(".session.", 0) == 0) return true;
    return false;
}

// Each round runs `exe DIR SEED` on the same session folder. The child resumes what is
// saved there and writes
//   start REV DIGEST    once the session is open,
//   change REV DIGEST   after each change, before that change's save is scheduled,
//   saved REV           when a save has reached the disk,
// and is killed with SIGKILL at a random moment: mostly after a few saves, sometimes
// while it is still starting. Each time the folder must hold a readable session at least
// as new as the last save written, and exactly the state logged for its revision; the
// next child must resume that one. The knobs `NAME_ROUNDS` and `NAME_SEED` set the number
// of rounds (200 by default) and the seed.
struct KillLoop {
    std::string knobs;  // NAME
    std::string exe;
    useconds_t maxDelay;  // after the saves waited for
    std::uint64_t (*digest)(const SessionState&);
};

inline void runKillLoop(const KillLoop& loop) {
    const unsigned long rounds = knob((loop.knobs + "_ROUNDS").c_str(), 200);
    const auto seed = static_cast<std::uint32_t>(knob((loop.knobs + "_SEED").c_str(), 20261206));
    std::mt19937 rng(seed);
    const qti::testing::TempDir dir;
    const std::string folder = dir.path().string();
    const SessionStore store(folder);

    std::optional<std::pair<std::uint64_t, std::uint64_t>> last;  // revision, digest on disk
    unsigned long losses = 0, changes = 0, saves = 0, beforeStart = 0, beforeFirstSave = 0, inWrite = 0;
    const auto began = std::chrono::steady_clock::now();

    unsigned long round = 0;
    for (; round < rounds && losses == 0; ++round) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(round));
        const std::uint32_t childSeed = static_cast<std::uint32_t>(rng());
        const bool early = round > 0 && rng() % 8 == 0;
        const std::uint32_t savesFirst = rng() % 6;
        const useconds_t delay = static_cast<useconds_t>(rng() % loop.maxDelay);

        std::map<std::uint64_t, std::uint64_t> logged;  // revision -> digest, this round
        if (last) logged[last->first] = last->second;
        std::uint64_t lastSaved = 0;
        std::uint32_t savedSeen = 0;
        bool started = false;
        const std::string ended = runAndKill(
            loop.exe, folder, childSeed, [&] { return early || (started && savedSeen >= savesFirst); }, delay,
            [&](const std::string& line) {
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
                    ADD_FAILURE() << "child: " << line;
                }
            });
        ASSERT_EQ(ended, "");
        if (!started) ++beforeStart;
        else if (savedSeen == 0) ++beforeFirstSave;
        if (saveInterrupted(folder)) ++inWrite;

        const LoadedSession onDisk = store.read();
        EXPECT_TRUE(onDisk.problems.empty()) << onDisk.problems.front();
        if (!onDisk.state) {
            EXPECT_EQ(lastSaved, 0u) << "no session on disk after a logged save";
            if (lastSaved > 0 || last) ++losses;
            continue;
        }
        const std::uint64_t revision = onDisk.state->revision;
        const std::uint64_t digest = loop.digest(*onDisk.state);
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
        "%s: %lu rounds in %.1f s, %lu changes, %lu saves logged, %lu kills while starting, "
        "%lu before the first save, %lu during a write, last revision %llu, %lu losses\n",
        std::filesystem::path(loop.exe).filename().c_str(), round, seconds, changes, saves, beforeStart, beforeFirstSave, inWrite,
        static_cast<unsigned long long>(last ? last->first : 0), losses);
    EXPECT_EQ(losses, 0u);
}

}  // namespace talvik::exam::testing
