// The exam application put together: the test loaded, the candidate's session resumed or
// begun, the screen over it, every change saved in the background, the time kept, and the
// hand-in with its review, report and receipt.
#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "flow/ReviewDialog.h"

namespace talvik::exam {

class Autosaver;
class ExamSession;
class ExamWindow;
class HelpOverlay;
class SessionLock;
class TimeKeeper;

struct ExamOptions {
    std::string exam;                       // an item file, a folder, a test or a content package
    std::optional<std::string> candidate;   // unset: the saved one, or the login name
    std::optional<std::string> className;
    std::optional<std::int64_t> limitMs;    // unset: the test's own (or the saved one)
    std::optional<std::int64_t> extraMs;
    std::string sessionDirectory;           // empty: one per test and candidate
    QUrl instructions;
};

// The test cannot be sat: it cannot be loaded, has nothing to deliver, or the session is
// open in another window.
struct ExamStartError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class ExamApp : public QObject {
    Q_OBJECT

public:
    struct Clocks {
        std::function<std::int64_t()> monotonicMs;  // the time keeper's; unset: the machine's
        std::function<std::int64_t()> epochMs;      // hand-in time; unset: the system clock
    };

    explicit ExamApp(const ExamOptions& options, Clocks clocks = {});
    ~ExamApp() override;

    ExamWindow& window() const { return *window_; }
    ExamSession& session() const { return *session_; }
    Autosaver& saver() const { return *saver_; }
    TimeKeeper& timeKeeper() const { return *time_; }
    HelpOverlay& help() const { return *help_; }
    ReviewDialog* review() const { return review_; }
    const std::string& sessionDirectory() const { return directory_; }
    std::string reportPath() const;
    bool resumed() const { return resumed_; }

    // The review before hand-in, opened without blocking: the time goes on meanwhile.
    void openReview();
    // Hands in now: the session is closed and saved, the report written, the screen locked
    // with the receipt. `timeUp` says why, for the candidate.
    void handIn(bool timeUp);

signals:
    // After every change of the session, once the screen shows it and before its save is
    // scheduled: a watcher sees each revision before any save of it can complete.
    void sessionChanged(quint64 revision);

private:
    void showReceipt(const std::string& reportBytes, const QString& problem);
    std::int64_t now() const;

    Clocks clocks_;
    std::string directory_;
    std::unique_ptr<SessionLock> lock_;
    std::unique_ptr<ExamSession> session_;
    std::unique_ptr<Autosaver> saver_;
    std::unique_ptr<ExamWindow> window_;
    std::unique_ptr<TimeKeeper> time_;
    HelpOverlay* help_ = nullptr;          // a child of the window
    QPointer<ReviewDialog> review_;
    bool resumed_ = false;
};

}  // namespace talvik::exam
