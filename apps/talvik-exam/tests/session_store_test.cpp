// The session's folder and its autosaver: saves replace the current file atomically and
// keep the one before; a damaged file is kept aside under a name of its own and the
// candidate resumes from the last good save; a save that cannot be written says so and
// leaves the earlier saves alone. The autosaver writes the newest state, tries a failed
// save again, and loses nothing scheduled at destruction.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QThread>
#include <condition_variable>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>

#include "qti_test_items.h"
#include "session/AtomicFile.h"
#include "session/Autosaver.h"
#include "session/SessionStore.h"
#include "session_test_support.h"

namespace talvik::exam {
namespace {
namespace fs = std::filesystem;
using qti::testing::TempDir;

SessionState atRevision(std::uint64_t revision) {
    SessionState s;
    s.testIdentifier = "t";
    s.candidate = "Mari";
    s.revision = revision;
    s.items = {{"q1", {0, 1, 2}, {"A"}, revision % 2 == 1}};
    return s;
}

std::set<std::string> names(const fs::path& dir) {
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(dir)) out.insert(e.path().filename().string());
    return out;
}

std::string bytesOf(const fs::path& file) { return readWholeFile(file.string()); }
std::uint64_t revisionOf(const std::string& file) { return parseSession(bytesOf(file), file).revision; }

// The text with the scratch folder written as DIR.
std::string withDir(std::string text, const fs::path& dir) {
    const std::string d = dir.string();
    for (std::size_t at; (at = text.find(d)) != std::string::npos;) text.replace(at, d.size(), "DIR");
    return text;
}

TEST(SessionStore, KeepsTheSaveBeforeTheCurrentOne) {
    const TempDir dir;
    SessionStore store((dir.path() / "new" / "folder").string());
    EXPECT_FALSE(store.read().state);
    store.save(atRevision(1));
    EXPECT_EQ(names(store.directory()), (std::set<std::string>{"session.json"}));
    store.save(atRevision(2));
    store.save(atRevision(3));
    EXPECT_EQ(names(store.directory()), (std::set<std::string>{"session.json", "session.prev.json"}));
    EXPECT_EQ(revisionOf(store.currentPath()), 3u);
    EXPECT_EQ(revisionOf(store.previousPath()), 2u);
    const LoadedSession loaded = store.load();
    ASSERT_TRUE(loaded.state);
    EXPECT_EQ(testing::stateDifference(*loaded.state, atRevision(3)), "");
    EXPECT_EQ(loaded.path, store.currentPath());
    EXPECT_TRUE(loaded.problems.empty());
    // Only the candidate can read the answers.
    struct stat st {};
    ASSERT_EQ(::stat(store.currentPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(SessionStore, DamagedFilesAreKeptAsideAndTheLastGoodSaveResumes) {
    const testing::ScopedEnv utc("TZ", "UTC");
    using Damage = std::function<std::string(const std::string&)>;
    const Damage truncate = [](const std::string& b) { return b.substr(0, b.size() / 2); };
    const Damage flip = [](std::string b) {
        b[b.size() / 3] ^= 0x10;
        return b;
    };
    const Damage empty = [](const std::string&) { return std::string(); };
    const auto keptAside = [](const std::string& file, const char* then) {
        return "The session file DIR/" + file + " was damaged and has been kept as DIR/" + file + ".damaged-STAMP; " +
               then;
    };
    const std::string cur = "session.json", prev = "session.prev.json";
    const char* const from31 = "resuming from the save of 14:22:31.";
    const char* const none = "no earlier save could be read.";
    struct Case {
        const char* name;
        Damage current, previous;  // empty: left alone
        std::uint64_t resumed;     // 0: nothing to resume
        std::vector<std::string> problems;
    };
    const std::vector<Case> cases = {
        {"current cut short", truncate, {}, 4, {keptAside(cur, from31)}},
        {"current empty after a power cut", empty, {}, 4, {keptAside(cur, from31)}},
        {"previous damaged", {}, flip, 5, {keptAside(prev, "resuming from the save of 14:22:32.")}},
        {"both damaged", truncate, flip, 0, {keptAside(cur, none), keptAside(prev, none)}},
    };
    constexpr std::time_t k142231 = 1796566951;  // 2026-12-06 14:22:31 UTC
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir dir;
        SessionStore store(dir.path().string());
        store.save(atRevision(4));
        store.save(atRevision(5));
        std::map<std::string, std::string> damaged;  // name -> bytes written
        for (const auto& [name, damage] : {std::pair{cur, c.current}, std::pair{prev, c.previous}}) {
            if (!damage) continue;
            damaged[name] = damage(bytesOf(dir.path() / name));
            fs::remove(dir.path() / name);
            dir.write(name, damaged[name]);
        }
        // The times of day the files were written, as the machine's clock shows them.
        for (const auto& [name, when] : {std::pair{prev, k142231}, std::pair{cur, k142231 + 1}}) {
            const struct timespec times[2] = {{when, 0}, {when, 0}};
            ASSERT_EQ(::utimensat(AT_FDCWD, (dir.path() / name).c_str(), times, 0), 0);
        }

        // Reading for a report changes nothing.
        EXPECT_EQ(store.read().state.has_value(), c.resumed != 0);
        EXPECT_EQ(names(dir.path()).size(), 2u);

        const LoadedSession loaded = store.load();
        ASSERT_EQ(loaded.state.has_value(), c.resumed != 0);
        if (loaded.state) {
            EXPECT_EQ(testing::stateDifference(*loaded.state, atRevision(c.resumed)), "");
        }
        EXPECT_EQ(loaded.details.size(), damaged.size());
        ASSERT_EQ(loaded.problems.size(), c.problems.size());
        // The damaged files keep their bytes under the names the problems give.
        for (std::size_t i = 0; i < c.problems.size(); ++i) {
            const std::string& problem = loaded.problems[i];
            const std::size_t keptAt = problem.find(" kept as ") + 9;
            const fs::path kept = problem.substr(keptAt, problem.find(';') - keptAt);
            std::string shown = withDir(problem, dir.path());
            const std::size_t stamp = shown.find(".damaged-");
            ASSERT_NE(stamp, std::string::npos);
            EXPECT_EQ(shown.replace(stamp + 9, 16, "STAMP"), c.problems[i]);  // yyyymmddThhmmssZ
            const std::string from = kept.filename().string();
            EXPECT_EQ(bytesOf(kept), damaged.at(from.substr(0, from.find(".damaged-"))));
        }
        // Saving again never touches them, and a second damaged file gets a name of its own.
        store.save(atRevision(9));
        store.save(atRevision(10));
        dir.write(cur, "TALVIK-EXAM-SESSION 1 5 0\nhello");
        const LoadedSession again = store.load();
        ASSERT_TRUE(again.state);
        EXPECT_EQ(again.state->revision, 9u);
        std::multiset<std::string> aside;
        for (const std::string& n : names(dir.path()))
            if (n.find(".damaged-") != std::string::npos) aside.insert(bytesOf(dir.path() / n));
        EXPECT_EQ(aside.size(), damaged.size() + 1);
        for (const auto& [name, bytes] : damaged) EXPECT_EQ(aside.count(bytes), 1u) << name;
    }
}

TEST(SessionStore, LeftoversOfAnInterruptedSaveAreRemovedOnLoad) {
    const TempDir dir;
    SessionStore store(dir.path().string());
    store.save(atRevision(1));
    dir.write(".session.json.Ab12Cd", "half a sa");
    dir.write(".session.prev.json.new", "x");
    dir.write("notes.txt", "the invigilator's");
    store.read();
    EXPECT_EQ(names(dir.path()).size(), 4u);
    EXPECT_EQ(store.load().state->revision, 1u);
    EXPECT_EQ(names(dir.path()), (std::set<std::string>{"notes.txt", "session.json"}));
}

// Restores a resource limit when it goes.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead
        struct rlimit r = old_;
        r.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &r);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    struct rlimit old_ {};
    void (*oldHandler_)(int) = nullptr;
};

// The save's error message, from a child process that has given up root's rights.
std::string saveAsNobody(const SessionStore& store, const SessionState& state) {
    int out[2];
    if (::pipe(out) != 0) return "no pipe";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(out[0]);
        std::string message = "saved";
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
            message = "cannot become nobody";
        } else {
            try {
                SessionStore(store).save(state);
            } catch (const SessionFileError& e) {
                message = e.what();
            }
        }
        [[maybe_unused]] const ssize_t n = ::write(out[1], message.data(), message.size());
        ::_exit(0);
    }
    ::close(out[1]);
    std::string message;
    char buf[512];
    for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;) message.append(buf, static_cast<std::size_t>(n));
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return message;
}

TEST(SessionStore, AFailedSaveSaysWhyAndKeepsEarlierSaves) {
    // (A folder that cannot be made is the autosaver's test below.)
    enum How { kFileSizeLimit, kNotAsRoot };
    struct Case {
        const char* name;
        How how;
        std::function<void(const fs::path& dir)> before, after;  // make the next save fail, and undo it
        std::string message;                                      // DIR for the scratch folder
    };
    const std::vector<Case> cases = {
        {"a file system full for this file", kFileSizeLimit, {}, {},
         "Cannot save DIR/s/session.json: cannot write DIR/s/.session.json.XXXXXX: File too large"},
        {"a read-only folder", kNotAsRoot,
         [](const fs::path& d) { fs::permissions(d / "s", fs::perms::owner_read | fs::perms::owner_exec); },
         [](const fs::path& d) { fs::permissions(d / "s", fs::perms::owner_all); },
         "Cannot save DIR/s/session.json: cannot create a new file in DIR/s: Permission denied"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir dir;
        SessionStore store((dir.path() / "s").string());
        store.save(atRevision(1));
        store.save(atRevision(2));
        const std::string current = bytesOf(store.currentPath()), previous = bytesOf(store.previousPath());
        if (c.before) c.before(dir.path());
        std::string message;
        if (c.how == kNotAsRoot && ::geteuid() == 0) {
            message = saveAsNobody(store, atRevision(3));  // root may write anywhere
        } else {
            try {
                std::optional<FileSizeLimit> limit;
                if (c.how == kFileSizeLimit) limit.emplace(100);
                store.save(atRevision(3));
            } catch (const SessionFileError& e) {
                message = e.what();
            }
        }
        if (c.after) c.after(dir.path());
        message = withDir(message, dir.path());
        if (const std::size_t tmp = message.find(".session.json."); tmp != std::string::npos)
            message.replace(tmp + 14, 6, "XXXXXX");
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(bytesOf(store.currentPath()), current);
        EXPECT_EQ(bytesOf(store.previousPath()), previous);
        EXPECT_EQ(names(store.directory()), (std::set<std::string>{"session.json", "session.prev.json"}));
        store.save(atRevision(4));  // the next save goes through
        EXPECT_EQ(store.load().state->revision, 4u);
    }
}

TEST(SessionStore, ASecondWindowOnTheSameSessionIsRefused) {
    const TempDir dir;
    const std::string folder = (dir.path() / "s").string();
    std::optional<SessionLock> first(std::in_place, folder);
    try {
        SessionLock second(folder);
        ADD_FAILURE() << "a second lock was granted";
    } catch (const SessionFileError& e) {
        EXPECT_EQ(std::string(e.what()), "The session in " + folder + " is already open in another window (process " +
                                             std::to_string(::getpid()) + ")");
    }
    SessionLock other((dir.path() / "t").string());  // another candidate's session is free
    first.reset();
    EXPECT_NO_THROW(SessionLock again(folder));
}

TEST(SessionStore, FolderNamesAreSafeAndKeepNamesApart) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"physics-9_b.2026", "physics-9_b.2026"},
        {"Tõnu Põder", "Tõnu%20Põder"},
        {"../../etc", "%2E.%2F..%2Fetc"},
        {".", "%2E"},
        {"..", "%2E."},
        {"", "(none)"},
        {"a/b\\c:d*e?f\"g<h>i|j", "a%2Fb%5Cc%3Ad%2Ae%3Ff%22g%3Ch%3Ei%7Cj"},
        {"100%", "100%25"},
        {"tab\there", "tab%09here"},
        {"\xff\xfe", "%FF%FE"},
        {"Zoë 🙂", "Zoë%20%F0%9F%99%82"},
    };
    std::set<std::string> seen;
    for (const auto& [name, safe] : cases) {
        EXPECT_EQ(safeFileName(name), safe) << name;
        EXPECT_TRUE(seen.insert(safeFileName(name)).second) << name;
    }
    // A long name keeps its first 100 bytes and a part of its hash, and stays apart from its neighbour.
    const std::string longA(300, 'a');
    const std::string longB = std::string(299, 'a') + "b";
    EXPECT_EQ(safeFileName(longA).substr(0, 101), std::string(100, 'a') + "~");
    EXPECT_EQ(safeFileName(longA).size(), 117u);
    EXPECT_NE(safeFileName(longA), safeFileName(longB));
    EXPECT_EQ(safeFileName(std::string(99, 'a') + "/////////////").substr(0, 100), std::string(99, 'a') + "~");
}

TEST(SessionStore, DefaultFolderIsUnderTheUsersDataFolder) {
    const testing::ScopedEnv home("HOME", "/home/mari");
    testing::ScopedEnv xdg("XDG_DATA_HOME", nullptr);
    const std::string fallback = "/home/mari/.local/share/talvik/exam/füüsika/Mari%20Maasikas";
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"/data/xdg", "/data/xdg/talvik/exam/füüsika/Mari%20Maasikas"},
        {nullptr, fallback},
        {"", fallback},
        {"relative/data", fallback},
    };
    for (const auto& [value, folder] : cases) {
        xdg.set(value);
        EXPECT_EQ(defaultSessionDirectory("füüsika", "Mari Maasikas"), folder) << (value ? value : "(unset)");
    }
}

// What the autosaver reports, from whichever thread it reports on.
struct Heard {
    std::mutex mutex;
    std::vector<std::uint64_t> saved;
    std::vector<std::int64_t> times;
    std::vector<std::string> failed;

    explicit Heard(Autosaver& saver) {
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
    Heard heard(saver);

    saver.schedule(atRevision(1));
    {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return clockReads == 1; });
    }
    EXPECT_EQ(revisionOf(store.currentPath()), 1u);
    for (std::uint64_t r = 2; r <= 4; ++r) saver.schedule(atRevision(r));
    {
        const std::lock_guard lock(m);
        open = true;
    }
    cv.notify_all();
    EXPECT_TRUE(saver.flush());
    EXPECT_EQ(heard.saved, (std::vector<std::uint64_t>{1, 4}));
    EXPECT_EQ(heard.times, (std::vector<std::int64_t>{1'796'566'951'001, 1'796'566'951'002}));
    EXPECT_EQ(revisionOf(store.currentPath()), 4u);
    EXPECT_EQ(saver.lastSavedRevision(), 4u);
}

TEST(Autosaver, AFailedSaveIsTriedAgainByFlushAndByTheNextChange) {
    const TempDir dir;
    const fs::path blocked = dir.path() / "blocked";
    const SessionStore store((blocked / "s").string());
    Autosaver saver(store);
    saver.setRetryDelay(std::chrono::hours(1));  // only flush and schedule retry here
    Heard heard(saver);

    std::ofstream(blocked) << "a file where the folder should be";
    saver.schedule(atRevision(1));
    EXPECT_FALSE(saver.flush());
    EXPECT_EQ(heard.failed, std::vector<std::string>{"Cannot save " + (blocked / "s" / "session.json").string() +
                                                     ": cannot create the folder " + (blocked / "s").string() +
                                                     ": Not a directory"});
    EXPECT_FALSE(saver.flush());  // tried again, still failing
    EXPECT_EQ(heard.failed.size(), 2u);

    fs::remove(blocked);
    EXPECT_TRUE(saver.flush());  // the failed state is written once the folder can be made
    EXPECT_EQ(heard.saved, std::vector<std::uint64_t>{1});
    EXPECT_EQ(revisionOf(store.currentPath()), 1u);

    fs::remove_all(blocked);
    std::ofstream(blocked) << "blocked again";
    saver.schedule(atRevision(2));
    EXPECT_FALSE(saver.flush());
    fs::remove(blocked);
    saver.schedule(atRevision(3));  // the next change writes its newer state
    EXPECT_TRUE(saver.flush());
    EXPECT_EQ(heard.saved, (std::vector<std::uint64_t>{1, 3}));
    EXPECT_EQ(revisionOf(store.currentPath()), 3u);
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
    EXPECT_EQ(revisionOf(store.currentPath()), 50u);
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
