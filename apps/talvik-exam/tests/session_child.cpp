// The candidate the kill-and-resume loop kills: resumes the session saved in DIR (or
// starts one), then changes it from SEED with an autosaver running, writing "S <revision>"
// to standard output as each save completes, until it is killed or has made MAX changes.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>

#include "session/Autosaver.h"
#include "session/SessionStore.h"
#include "session_test_support.h"

namespace {

void say(const std::string& line) {
    const std::string text = line + "\n";
    // One write per line: the parent may read while the saver thread writes.
    [[maybe_unused]] const ssize_t n = ::write(STDOUT_FILENO, text.data(), text.size());
}

}  // namespace

int main(int argc, char** argv) {
    using namespace talvik::exam;
    if (argc < 3) {
        std::fprintf(stderr, "usage: talvik_session_child DIR SEED [MAX]\n");
        return 2;
    }
    const std::uint32_t seed = static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10));
    const long max = argc > 3 ? std::strtol(argv[3], nullptr, 10) : 10'000'000;
    // Refused if the program killed before this one still held the session.
    const SessionLock lock(argv[1]);
    SessionStore store(argv[1]);
    const LoadedSession loaded = store.load();
    for (const std::string& problem : loaded.problems) say("P " + problem);
    std::optional<ExamSession> session;
    if (loaded.state)
        session.emplace(testing::killLoopTest(), *loaded.state);
    else
        session.emplace(testing::killLoopTest(), testing::kKillSessionSeed);

    Autosaver saver(store);
    QObject::connect(
        &saver, &Autosaver::saved, &saver, [](quint64 revision, qint64) { say("S " + std::to_string(revision)); },
        Qt::DirectConnection);
    QObject::connect(
        &saver, &Autosaver::failed, &saver, [](const QString& message) { say("F " + message.toStdString()); },
        Qt::DirectConnection);
    session->onChange([&] { saver.schedule(session->state()); });
    say("L " + std::to_string(session->state().revision));

    std::mt19937 rng(seed);
    for (long i = 0; i < max; ++i) {
        testing::randomChange(*session, rng);
        // A candidate's pace, quickened: changes arrive while saves are being written.
        if (i % 8 == 7) ::usleep(100);
    }
    saver.flush();
    say("E");
    return 0;
}
