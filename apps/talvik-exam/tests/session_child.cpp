// The candidate the session's kill-and-resume loop kills: resumes the session saved in DIR
// (or starts one), then changes it from SEED with an autosaver running, writing the lines
// the loop reads (kill_support.h), until it is killed or has made MAX changes.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>

#include "session/Autosaver.h"
#include "session/SessionStore.h"
#include "session_test_support.h"

int main(int argc, char** argv) {
    using namespace talvik::exam;
    using testing::say;
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
    for (const std::string& problem : loaded.problems) say("problem " + problem);
    std::optional<ExamSession> session;
    if (loaded.state)
        session.emplace(testing::killLoopTest(), *loaded.state);
    else
        session.emplace(testing::killLoopTest(), testing::kKillSessionSeed);

    Autosaver saver(store);
    QObject::connect(
        &saver, &Autosaver::saved, &saver, [](quint64 revision, qint64) { say("saved " + std::to_string(revision)); },
        Qt::DirectConnection);
    QObject::connect(
        &saver, &Autosaver::failed, &saver, [](const QString& message) { say("failed " + message.toStdString()); },
        Qt::DirectConnection);
    session->onChange([&] {
        testing::sayState("change", session->state(), testing::stateDigest);
        saver.schedule(session->state());
    });
    testing::sayState("start", session->state(), testing::stateDigest);

    std::mt19937 rng(seed);
    for (long i = 0; i < max; ++i) {
        testing::randomChange(*session, rng);
        // A candidate's pace, quickened: changes arrive while saves are being written.
        if (i % 8 == 7) ::usleep(100);
    }
    saver.flush();
    return 0;
}
