// The exam on a disk that fills up or turns read-only under it: the candidate is told that
// the answers are not being saved, the test goes on with every answer kept in memory, the
// saves made before stay as they were, and once the disk can be written again the next
// save puts everything there.
//
// The session lives on a small memory file system mounted in a mount namespace of this
// process's own, so that the rest of the machine sees nothing of it. Where that is not
// allowed (not root, no namespaces), the tests are skipped and say why.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QtTest/QTest>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "ExamApp.h"
#include "ExamWindow.h"
#include "session/Autosaver.h"
#include "session/ExamSession.h"
#include "session/SessionStore.h"

namespace talvik::exam {
namespace {

namespace fs = std::filesystem;

// Why mounting is not possible here, empty when it is.
std::string& mountProblem() {
    static std::string problem;
    return problem;
}

std::string readBytes(const std::string& path) {
    std::stringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

// A memory file system of 512 kB, mounted for one test.
struct SmallDisk {
    fs::path dir = fs::path(::testing::TempDir()) / ("talvik-exam-disk-" + std::to_string(::getpid()));
    bool mounted = false;
    SmallDisk() {
        fs::create_directories(dir);
        mounted = ::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=512k,mode=0700") == 0;
    }
    ~SmallDisk() {
        if (mounted)
            while (::umount2(dir.c_str(), MNT_DETACH) == 0) {
            }
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    std::string session() const { return (dir / "session").string(); }
    std::string filler() const { return (dir / "filler").string(); }

    // Writes until the file system has no room left.
    void fill() const {
        const int fd = ::open(filler().c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        ASSERT_GE(fd, 0);
        const std::string block(4096, 'x');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        EXPECT_EQ(errno, ENOSPC);
        char byte = 'x';
        while (::write(fd, &byte, 1) > 0) {
        }
        ::close(fd);
    }
    void unfill() const { ::unlink(filler().c_str()); }
    // A read-only view of the disk laid over it. Files the program already holds open
    // (its session lock) stay on the writable mount beneath, which is why this is a bind
    // mount rather than the file system remounted: that fails while files are open to write.
    bool makeReadOnly() const {
        return ::mount(dir.c_str(), dir.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
               ::mount(nullptr, dir.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
    }
    // Remounted rather than unmounted: a program that started on the read-only view holds
    // its lock file open there.
    bool makeWritable() const { return ::mount(nullptr, dir.c_str(), nullptr, MS_REMOUNT | MS_BIND, nullptr) == 0; }
};

struct Setback {
    const char* what;
    void (*begin)(const SmallDisk&);
    void (*end)(const SmallDisk&);
};

const Setback kSetbacks[] = {
    {"a full disk", [](const SmallDisk& d) { d.fill(); }, [](const SmallDisk& d) { d.unfill(); }},
    {"a read-only disk", [](const SmallDisk& d) { ASSERT_TRUE(d.makeReadOnly()) << std::strerror(errno); },
     [](const SmallDisk& d) { ASSERT_TRUE(d.makeWritable()) << std::strerror(errno); }},
};

class ExamDisk : public ::testing::Test {
protected:
    void SetUp() override {
        if (!mountProblem().empty()) GTEST_SKIP() << mountProblem();
    }
};

// Lets queued signals of the saver's thread reach the window.
void settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

void answer(ExamApp& app, int item, int position) {
    app.session().goTo(item);
    settle();
    QWidget* to = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &app.window();
    QTest::keyClick(to, Qt::Key(Qt::Key_A + position));
    settle();
}

bool notSavedShown(const ExamWindow& w) {
    return w.noticeLabel().isVisibleTo(const_cast<ExamWindow*>(&w)) &&
           w.noticeLabel().text().startsWith(QStringLiteral("Your answers could not be saved"));
}

// The sample test sat on the disk's session folder, its window shown and active; the
// clocks stand still.
std::unique_ptr<ExamApp> startExam(const SmallDisk& disk) {
    ExamOptions options;
    options.exam = TALVIK_EXAM_SAMPLE;
    options.candidate = "disk-campaign";
    options.sessionDirectory = disk.session();
    auto app = std::make_unique<ExamApp>(
        options, ExamApp::Clocks{[] { return std::int64_t{0}; }, [] { return std::int64_t{1'800'000'000'000}; }});
    app->window().resize(1280, 800);
    app->window().show();
    QApplication::setActiveWindow(&app->window());
    return app;
}

TEST_F(ExamDisk, TheCandidateIsToldTheTestGoesOnAndNothingSavedIsLost) {
    for (const Setback& setback : kSetbacks) {
        SCOPED_TRACE(setback.what);
        SmallDisk disk;
        ASSERT_TRUE(disk.mounted) << std::strerror(errno);

        const std::unique_ptr<ExamApp> started = startExam(disk);
        ExamApp& app = *started;
        app.saver().setRetryDelay(std::chrono::hours(1));  // retries come from flush() only
        settle();

        answer(app, 0, 1);
        answer(app, 1, 2);
        ASSERT_TRUE(app.session().isChosen(0, 1));
        ASSERT_TRUE(app.session().isChosen(1, 2));
        ASSERT_TRUE(app.saver().flush());
        answer(app, 2, 0);  // the save before this one becomes the previous save
        ASSERT_TRUE(app.saver().flush());
        settle();
        EXPECT_FALSE(notSavedShown(app.window()));
        SessionStore store(disk.session());
        const std::string current = readBytes(store.currentPath()), previous = readBytes(store.previousPath());
        ASSERT_FALSE(current.empty());
        ASSERT_FALSE(previous.empty());
        const std::uint64_t savedRevision = app.session().state().revision;

        setback.begin(disk);
        answer(app, 3, 2);
        answer(app, 4, 1);
        EXPECT_FALSE(app.saver().flush());
        settle();
        // The candidate is told, and sees it in the status too.
        EXPECT_TRUE(notSavedShown(app.window())) << app.window().noticeLabel().text().toStdString();
        // The answers are taken all the same.
        EXPECT_TRUE(app.session().isChosen(3, 2));
        EXPECT_TRUE(app.session().isChosen(4, 1));
        answer(app, 5, 0);
        EXPECT_TRUE(app.session().isChosen(5, 0));
        EXPECT_FALSE(app.saver().flush());
        // What was saved before is as it was.
        EXPECT_EQ(readBytes(store.currentPath()), current);
        EXPECT_EQ(readBytes(store.previousPath()), previous);
        const LoadedSession before = store.read();
        ASSERT_TRUE(before.state.has_value());
        EXPECT_EQ(before.state->revision, savedRevision);
        EXPECT_TRUE(before.state->items.at(2).response.size() == 1);
        EXPECT_TRUE(before.state->items.at(3).response.empty());

        setback.end(disk);
        EXPECT_TRUE(app.saver().flush());
        settle();
        EXPECT_FALSE(notSavedShown(app.window())) << app.window().noticeLabel().text().toStdString();
        const LoadedSession after = store.read();
        ASSERT_TRUE(after.state.has_value());
        EXPECT_EQ(after.state->revision, app.session().state().revision);
        for (int item : {0, 1, 2, 3, 4, 5})
            EXPECT_EQ(after.state->items.at(item).response, app.session().itemState(item).response) << item;
        EXPECT_EQ(after.state->items.at(3).response, (std::vector<std::string>{app.session().choiceAt(3, 2).identifier}));
    }
}

// Disks that cannot take a save when the candidate starts: the first save fails and says
// so, an earlier save resumes and stays as it was, and the test can be sat all the same.
TEST_F(ExamDisk, ADiskThatCannotBeWrittenAtTheStartIsToldAndTheTestCanBeSat) {
    for (const Setback& setback : kSetbacks) {
        for (const bool earlierSave : {false, true}) {
            SCOPED_TRACE(std::string(setback.what) + (earlierSave ? ", resumed" : ""));
            SmallDisk disk;
            ASSERT_TRUE(disk.mounted) << std::strerror(errno);
            std::string earlier;
            if (earlierSave) {
                const std::unique_ptr<ExamApp> first = startExam(disk);
                answer(*first, 1, 1);
                ASSERT_TRUE(first->saver().flush());
                earlier = readBytes(SessionStore(disk.session()).currentPath());
                ASSERT_FALSE(earlier.empty());
            }
            setback.begin(disk);

            const std::unique_ptr<ExamApp> started = startExam(disk);
            ExamApp& app = *started;
            app.saver().setRetryDelay(std::chrono::hours(1));
            EXPECT_FALSE(app.saver().flush());
            settle();
            EXPECT_TRUE(notSavedShown(app.window())) << app.window().noticeLabel().text().toStdString();
            EXPECT_EQ(app.session().isChosen(1, 1), earlierSave);
            answer(app, 0, 2);
            EXPECT_TRUE(app.session().isChosen(0, 2));
            // The answer's save has failed too (flush waits for it); a save still under way when
            // room comes back is retried by the worker a moment later, not by flush.
            EXPECT_FALSE(app.saver().flush());
            if (earlierSave) {
                EXPECT_EQ(readBytes(SessionStore(disk.session()).currentPath()), earlier);
            }

            setback.end(disk);
            EXPECT_TRUE(app.saver().flush());
            const LoadedSession saved = SessionStore(disk.session()).read();
            ASSERT_TRUE(saved.state.has_value());
            EXPECT_EQ(saved.state->items.at(0).response,
                      (std::vector<std::string>{app.session().choiceAt(0, 2).identifier}));
            EXPECT_EQ(saved.state->items.at(1).response, app.session().itemState(1).response);
        }
    }
}

// A second window on a session already open is refused, on a read-only disk too, where
// the lock can only be taken on a read-only handle.
TEST_F(ExamDisk, ASecondWindowIsRefusedOnAReadOnlyDisk) {
    SmallDisk disk;
    ASSERT_TRUE(disk.mounted) << std::strerror(errno);
    ASSERT_NO_THROW(SessionLock{disk.session()});  // leaves the lock file behind, as a program would
    ASSERT_TRUE(disk.makeReadOnly()) << std::strerror(errno);
    {
        const SessionLock first(disk.session());
        EXPECT_TRUE(first.held());
        EXPECT_THROW(SessionLock{disk.session()}, SessionBusyError);
    }
    EXPECT_TRUE(SessionLock(disk.session()).held());
    ASSERT_TRUE(disk.makeWritable()) << std::strerror(errno);
}

}  // namespace
}  // namespace talvik::exam

int main(int argc, char** argv) {
    // A mount namespace of this process alone, before any thread exists; mounts made in it
    // never reach the rest of the system.
    if (::geteuid() != 0) {
        talvik::exam::mountProblem() = "needs root to mount a small file system in a private mount namespace";
    } else if (::unshare(CLONE_NEWNS) != 0) {
        talvik::exam::mountProblem() = std::string("no private mount namespace: ") + std::strerror(errno);
    } else if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        talvik::exam::mountProblem() = std::string("mounts cannot be made private: ") + std::strerror(errno);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
