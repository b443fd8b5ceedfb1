// What the kill-and-resume loops share: their knobs, and a child program run over a pipe
// and killed at a chosen moment.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

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

}  // namespace talvik::exam::testing
