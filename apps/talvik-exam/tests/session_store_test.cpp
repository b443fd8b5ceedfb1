// The session's folder: saves replace the current file atomically and keep the one before;
// a damaged file is kept aside under a name of its own and the candidate resumes from the
// last good save; a save that cannot be written says so and leaves the earlier saves alone.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>

#include "qti_test_items.h"
#include "session/AtomicFile.h"
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

// Sets the time of day a file was written, as the clock of the machine shows it (UTC here).
void setWritten(const fs::path& file, std::time_t when) {
    const struct timespec times[2] = {{when, 0}, {when, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
}

class UtcZone {
public:
    UtcZone() {
        if (const char* tz = std::getenv("TZ")) old_ = tz;
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
    ~UtcZone() {
        if (old_.empty())
            ::unsetenv("TZ");
        else
            ::setenv("TZ", old_.c_str(), 1);
        ::tzset();
    }

private:
    std::string old_;
};

constexpr std::time_t k140231 = 1796566951;  // 2026-12-06 14:22:31 UTC

TEST(SessionStore, KeepsTheSaveBeforeTheCurrentOne) {
    const TempDir dir;
    SessionStore store((dir.path() / "new" / "folder").string());
    EXPECT_FALSE(store.read().state);
    store.save(atRevision(1));
    EXPECT_EQ(names(store.directory()), (std::set<std::string>{"session.json"}));
    store.save(atRevision(2));
    store.save(atRevision(3));
    EXPECT_EQ(names(store.directory()), (std::set<std::string>{"session.json", "session.prev.json"}));
    EXPECT_EQ(parseSession(bytesOf(store.currentPath()), "").revision, 3u);
    EXPECT_EQ(parseSession(bytesOf(store.previousPath()), "").revision, 2u);
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
    const UtcZone utc;
    struct Case {
        const char* name;
        std::function<std::string(const std::string&)> damageCurrent;  // empty: current left alone
        std::function<std::string(const std::string&)> damagePrevious;
        std::uint64_t resumed;  // 0: nothing to resume
        std::vector<std::string> problems;
    };
    auto truncate = [](const std::string& b) { return b.substr(0, b.size() / 2); };
    auto flip = [](const std::string& b) {
        std::string out = b;
        out[out.size() / 3] ^= 0x10;
        return out;
    };
    auto empty = [](const std::string&) { return std::string(); };
    const std::string cur = "session.json";
    const std::string prev = "session.prev.json";
    const std::vector<Case> cases = {
        {"current cut short",
         truncate,
         {},
         4,
         {"The session file DIR/session.json was damaged and has been kept as DIR/session.json.damaged-STAMP; "
          "resuming from the save of 14:22:31."}},
        {"current with a flipped bit",
         flip,
         {},
         4,
         {"The session file DIR/session.json was damaged and has been kept as DIR/session.json.damaged-STAMP; "
          "resuming from the save of 14:22:31."}},
        {"current empty after a power cut",
         empty,
         {},
         4,
         {"The session file DIR/session.json was damaged and has been kept as DIR/session.json.damaged-STAMP; "
          "resuming from the save of 14:22:31."}},
        {"previous damaged",
         {},
         flip,
         5,
         {"The session file DIR/session.prev.json was damaged and has been kept as "
          "DIR/session.prev.json.damaged-STAMP; resuming from the save of 14:22:32."}},
        {"both damaged",
         truncate,
         flip,
         0,
         {"The session file DIR/session.json was damaged and has been kept as DIR/session.json.damaged-STAMP; "
          "no earlier save could be read.",
          "The session file DIR/session.prev.json was damaged and has been kept as "
          "DIR/session.prev.json.damaged-STAMP; no earlier save could be read."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir dir;
        SessionStore store(dir.path().string());
        store.save(atRevision(4));
        store.save(atRevision(5));
        std::map<std::string, std::string> damaged;  // name -> bytes written
        for (const auto& [name, damage] : {std::pair{cur, c.damageCurrent}, std::pair{prev, c.damagePrevious}}) {
            if (!damage) continue;
            const fs::path file = dir.path() / name;
            damaged[name] = damage(bytesOf(file));
            fs::remove(file);
            dir.write(name, damaged[name]);
        }
        setWritten(dir.path() / prev, k140231);
        setWritten(dir.path() / cur, k140231 + 1);

        // Reading for a report changes nothing.
        const LoadedSession peek = store.read();
        EXPECT_EQ(peek.state.has_value(), c.resumed != 0);
        EXPECT_EQ(names(dir.path()).size(), 2u);

        LoadedSession loaded = store.load();
        ASSERT_EQ(loaded.state.has_value(), c.resumed != 0);
        if (loaded.state) {
            EXPECT_EQ(testing::stateDifference(*loaded.state, atRevision(c.resumed)), "");
        }
        EXPECT_EQ(loaded.details.size(), damaged.size());
        ASSERT_EQ(loaded.problems.size(), c.problems.size());
        // The damaged files keep their bytes under the names the problems give.
        for (std::size_t i = 0; i < c.problems.size(); ++i) {
            std::string problem = loaded.problems[i];
            const std::string d = dir.path().string();
            for (std::size_t at; (at = problem.find(d)) != std::string::npos;) problem.replace(at, d.size(), "DIR");
            const std::size_t stamp = problem.find(".damaged-") + 9;
            ASSERT_NE(stamp, 8u);
            const std::string kept =
                loaded.problems[i].substr(loaded.problems[i].find(" kept as ") + 9,
                                          loaded.problems[i].find(';') - loaded.problems[i].find(" kept as ") - 9);
            problem.replace(stamp, 16, "STAMP");  // yyyymmddThhmmssZ
            EXPECT_EQ(problem, c.problems[i]);
            const std::string from =
                fs::path(kept).filename().string().substr(0, fs::path(kept).filename().string().find(".damaged-"));
            EXPECT_EQ(bytesOf(kept), damaged.at(from));
        }
        // Saving again never touches them, and a second damaged file gets a name of its own.
        store.save(atRevision(9));
        store.save(atRevision(10));
        dir.write(cur, "TALVIK-EXAM-SESSION 1 5 0\nhello");
        const LoadedSession again = store.load();
        ASSERT_TRUE(again.state);
        EXPECT_EQ(again.state->revision, 9u);
        std::set<std::string> aside;
        for (const std::string& n : names(dir.path()))
            if (n.find(".damaged-") != std::string::npos) aside.insert(n);
        EXPECT_EQ(aside.size(), damaged.size() + 1);
        for (const auto& [name, bytes] : damaged) {
            std::size_t matching = 0;
            for (const std::string& n : aside)
                if (bytesOf(dir.path() / n) == bytes) ++matching;
            EXPECT_EQ(matching, 1u) << name;
        }
    }
}

TEST(SessionStore, LeftoversOfAnInterruptedSaveAreRemovedOnLoad) {
    const TempDir dir;
    SessionStore store(dir.path().string());
    store.save(atRevision(1));
    dir.write(".session.json.Ab12Cd", "half a sa");
    dir.write(".session.prev.json.new", "x");
    dir.write("notes.txt", "the invigilator's");
    EXPECT_EQ(names(dir.path()).size(), 4u);
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
    struct Case {
        const char* name;
        std::function<void(const fs::path& dir)> before;  // makes the next save fail
        std::function<void(const fs::path& dir)> after;
        std::string folder;   // the store's folder below the temporary one
        std::string message;  // SessionFileError, DIR for the temporary folder
    };
    const std::vector<Case> cases = {
        {"the folder's place taken by a file",
         [](const fs::path& d) {
             fs::rename(d / "s", d / "s.keep");
             std::ofstream(d / "s") << "x";
         },
         [](const fs::path& d) {
             fs::remove(d / "s");
             fs::rename(d / "s.keep", d / "s");
         },
         "s/", "Cannot save DIR/s/session.json: cannot create the folder DIR/s: Not a directory"},
        {"a file system full for this file",
         {},
         {},
         "s/",
         "Cannot save DIR/s/session.json: cannot write DIR/s/.session.json.XXXXXX: File too large"},
        {"a read-only folder",
         [](const fs::path& d) { fs::permissions(d / "s", fs::perms::owner_read | fs::perms::owner_exec); },
         [](const fs::path& d) { fs::permissions(d / "s", fs::perms::owner_all); }, "s/",
         "Cannot save DIR/s/session.json: cannot create a new file in DIR/s: Permission denied"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir dir;
        SessionStore store((dir.path() / "s").string());
        store.save(atRevision(1));
        store.save(atRevision(2));
        const std::string current = bytesOf(store.currentPath());
        const std::string previous = bytesOf(store.previousPath());
        if (c.before) c.before(dir.path());
        std::string message;
        if (std::string(c.name) == "a read-only folder" && ::geteuid() == 0) {
            message = saveAsNobody(store, atRevision(3));  // root may write anywhere
        } else {
            try {
                std::optional<FileSizeLimit> limit;
                if (std::string(c.name) == "a file system full for this file") limit.emplace(100);
                store.save(atRevision(3));
            } catch (const SessionFileError& e) {
                message = e.what();
            }
        }
        if (c.after) c.after(dir.path());
        const std::string d = dir.path().string();
        for (std::size_t at; (at = message.find(d)) != std::string::npos;) message.replace(at, d.size(), "DIR");
        if (const std::size_t tmp = message.find(".session.json."); tmp != std::string::npos)
            message.replace(tmp + 14, 6, "XXXXXX");
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(bytesOf(store.currentPath()), current);
        EXPECT_EQ(bytesOf(store.previousPath()), previous);
        EXPECT_EQ(names(store.directory()), (std::set<std::string>{"session.json", "session.prev.json"}));
        // The next save goes through.
        store.save(atRevision(4));
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
    struct Case {
        std::string name;
        std::string safe;
    };
    const std::vector<Case> cases = {
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(safeFileName(c.name), c.safe);
        EXPECT_TRUE(seen.insert(safeFileName(c.name)).second);
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
    const char* oldXdg = std::getenv("XDG_DATA_HOME");
    const std::string savedXdg = oldXdg ? oldXdg : "";
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    ::setenv("HOME", "/home/mari", 1);
    struct Case {
        const char* xdg;  // nullptr: not set
        std::string folder;
    };
    const std::vector<Case> cases = {
        {"/data/xdg", "/data/xdg/talvik/exam/füüsika/Mari%20Maasikas"},
        {nullptr, "/home/mari/.local/share/talvik/exam/füüsika/Mari%20Maasikas"},
        {"", "/home/mari/.local/share/talvik/exam/füüsika/Mari%20Maasikas"},
        {"relative/data", "/home/mari/.local/share/talvik/exam/füüsika/Mari%20Maasikas"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xdg ? c.xdg : "(unset)");
        if (c.xdg)
            ::setenv("XDG_DATA_HOME", c.xdg, 1);
        else
            ::unsetenv("XDG_DATA_HOME");
        EXPECT_EQ(defaultSessionDirectory("füüsika", "Mari Maasikas"), c.folder);
    }
    if (oldXdg)
        ::setenv("XDG_DATA_HOME", savedXdg.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
    if (oldHome)
        ::setenv("HOME", savedHome.c_str(), 1);
    else
        ::unsetenv("HOME");
}

}  // namespace
}  // namespace talvik::exam
