// The autosaver: the newest scheduled state is what gets written, a burst of changes
// during a write costs one more write, a failed save is tried again, the screen's thread
// hears of saves through its event queue, and nothing scheduled is lost at destruction.
#include "session/Autosaver.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <vector>

#include "qti_test_items.h"
#include "session/AtomicFile.h"

namespace talvik::exam {
namespace {
namespace fs = std::filesystem;
using qti::testing::TempDir;

SessionState atRevision(std::uint64_t revision) {
    SessionState s;
    s.candidate = "Mari";
    s.revision = revision;
    s.items = {{"q1", {1, 0}, {"B"}, false}};
    return s;
}

std::uint64_t revisionOnDisk(const SessionStore& store) {
    return parseSession(readWholeFile(store.currentPath()), store.currentPath()).revision;
}

// Records what the saver reports, from whichever thread it reports on.
struct Heard {
    std::mutex mutex;
    std::vector<std::uint64_t> saved;
    std::vector<std::int64_t> times;
    std::vector<std::string> failed;

    void listen(Autosaver& saver) {
        QObject::connect(
            &saver, &Autosaver::saved, &saver,
            [this](quint64 r, qint64 t) {
                const std::lock_guard lock(mutex);
                saved.push_back(r);
                times.push_back(t);
            },
            Qt::DirectConnection);
        QObject::connect(
            &saver, &Autosaver::failed, &saver,
            [this](const QString& m) {
                const std::lock_guard lock(mutex);
                failed.push_back(m.toStdString());
            },
            Qt::DirectConnection);
    }
};

TEST(Autosaver, WritesTheNewestStateAfterTheWriteInFlight) {
    const TempDir dir;
    const SessionStore store(dir.path().string());
    // The saver reads the clock after each write: holding the clock holds the worker there.
    std::mutex m;
    std::condition_variable cv;
    bool open = false;
    int clockReads = 0;
    Autosaver saver(store, nullptr, [&] {
        std::unique_lock lock(m);
        ++clockReads;
        cv.notify_all();
        cv.wait(lock, [&] { return open; });
        return std::int64_t{1'796'566'951'000} + clockReads;
    });
    Heard heard;
    heard.listen(saver);

    saver.schedule(atRevision(1));
    {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return clockReads == 1; });
    }
    EXPECT_EQ(revisionOnDisk(store), 1u);
    for (std::uint64_t r = 2; r <= 4; ++r) saver.schedule(atRevision(r));
    {
        const std::lock_guard lock(m);
        open = true;
    }
    cv.notify_all();
    EXPECT_TRUE(saver.flush());
    EXPECT_EQ(heard.saved, (std::vector<std::uint64_t>{1, 4}));
    EXPECT_EQ(heard.times, (std::vector<std::int64_t>{1'796'566'951'001, 1'796'566'951'002}));
    EXPECT_EQ(revisionOnDisk(store), 4u);
    EXPECT_EQ(saver.lastSavedRevision(), 4u);
}

TEST(Autosaver, AFailedSaveIsTriedAgainByFlushAndByTheNextChange) {
    const TempDir dir;
    const fs::path blocked = dir.path() / "blocked";
    const SessionStore store((blocked / "s").string());
    Autosaver saver(store);
    saver.setRetryDelay(std::chrono::hours(1));  // only flush and schedule retry here
    Heard heard;
    heard.listen(saver);
    const std::string why = "Cannot save " + (blocked / "s" / "session.json").string() + ": cannot create the folder " +
                            (blocked / "s").string() + ": Not a directory";

    std::ofstream(blocked) << "a file where the folder should be";
    saver.schedule(atRevision(1));
    EXPECT_FALSE(saver.flush());
    EXPECT_EQ(heard.failed, std::vector<std::string>{why});
    EXPECT_FALSE(saver.flush());  // tried again, still failing
    EXPECT_EQ(heard.failed.size(), 2u);

    fs::remove(blocked);
    EXPECT_TRUE(saver.flush());  // the failed state is written once the folder can be made
    EXPECT_EQ(heard.saved, std::vector<std::uint64_t>{1});
    EXPECT_EQ(revisionOnDisk(store), 1u);

    fs::remove_all(blocked);
    std::ofstream(blocked) << "blocked again";
    saver.schedule(atRevision(2));
    EXPECT_FALSE(saver.flush());
    fs::remove(blocked);
    saver.schedule(atRevision(3));  // the next change writes its newer state
    EXPECT_TRUE(saver.flush());
    EXPECT_EQ(heard.saved, (std::vector<std::uint64_t>{1, 3}));
    EXPECT_EQ(revisionOnDisk(store), 3u);
    EXPECT_EQ(saver.lastSavedRevision(), 3u);
}

TEST(Autosaver, DestructionWritesWhatIsScheduled) {
    const TempDir dir;
    const SessionStore store(dir.path().string());
    {
        Autosaver saver(store);
        EXPECT_TRUE(saver.flush());  // nothing scheduled
        for (std::uint64_t r = 1; r <= 50; ++r) saver.schedule(atRevision(r));
    }
    EXPECT_EQ(revisionOnDisk(store), 50u);
}

TEST(Autosaver, TheScreensThreadHearsOfSavesThroughItsEventQueue) {
    int argc = 1;
    char name[] = "autosaver_test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    const TempDir dir;
    Autosaver saver(SessionStore(dir.path().string()));
    QObject screen;
    std::vector<std::pair<std::uint64_t, QThread*>> heard;
    QObject::connect(&saver, &Autosaver::saved, &screen,
                     [&](quint64 r, qint64) { heard.emplace_back(r, QThread::currentThread()); });
    saver.schedule(atRevision(8));
    ASSERT_TRUE(saver.flush());
    EXPECT_TRUE(heard.empty());  // queued, not called on the worker
    QCoreApplication::processEvents();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].first, 8u);
    EXPECT_EQ(heard[0].second, app.thread());
}

}  // namespace
}  // namespace talvik::exam
