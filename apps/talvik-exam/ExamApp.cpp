#include "ExamApp.h"

#include <QDateTime>
#include <QFile>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <cstdlib>
#include <utility>

#include "ExamWindow.h"
#include "flow/Announcer.h"
#include "flow/CloseConfirmation.h"
#include "flow/HelpOverlay.h"
#include "flow/ReceiptView.h"
#include "flow/ReviewDialog.h"
#include "flow/TimeKeeper.h"
#include "qti/QtiReader.h"
#include "session/AtomicFile.h"
#include "session/Autosaver.h"
#include "session/ExamSession.h"
#include "session/ResultsReport.h"
#include "session/SessionFile.h"
#include "session/SessionStore.h"

namespace talvik::exam {

namespace {

// The time used is saved with every change; between changes this often, so that a
// candidate resumed after a kill gets back at most this much time.
constexpr int kTimeSaveIntervalMs = 5000;

std::string loginName() {
    for (const char* name : {"USER", "LOGNAME"})
        if (const char* value = std::getenv(name); value != nullptr && *value != '\0') return value;
    return "candidate";
}

std::uint32_t freshSeed() {
    return static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch()) ^
           static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

QString joined(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& line : lines) out << QString::fromStdString(line);
    return out.join(u' ');
}

}  // namespace

ExamApp::ExamApp(const ExamOptions& options, Clocks clocks) : clocks_(std::move(clocks)) {
    qti::Test test;
    try {
        test = qti::loadTest(options.exam);
    } catch (const qti::QtiError& e) {
        throw ExamStartError(e.what());
    }
    const std::string candidate = options.candidate.value_or(loginName());
    directory_ = options.sessionDirectory.empty() ? defaultSessionDirectory(test.identifier, candidate)
                                                  : options.sessionDirectory;
    try {
        lock_ = std::make_unique<SessionLock>(directory_);
    } catch (const SessionBusyError& e) {
        throw ExamStartError(e.what());
    }

    SessionStore store(directory_);
    LoadedSession loaded = store.load();
    resumed_ = loaded.state.has_value();
    if (resumed_) {
        session_ = std::make_unique<ExamSession>(std::move(test), std::move(*loaded.state));
    } else {
        session_ = std::make_unique<ExamSession>(std::move(test), freshSeed());
        session_->setCandidate(candidate, options.className.value_or(std::string()));
    }
    // Kept absolute, so that --report finds the test from wherever it is run; a resumed
    // session learns where its test is now.
    std::error_code ignored;
    session_->setTestPath(std::filesystem::absolute(options.exam, ignored).lexically_normal().string());
    if (session_->itemCount() == 0)
        throw ExamStartError(options.exam + ": the test has no item this program can deliver");
    // The saved candidate stays the saved one: the folder is theirs. A class given anew holds.
    if (resumed_ && options.className) session_->setCandidate(session_->state().candidate, *options.className);
    // A limit or extra time given on the command line holds, on a resumed session too: an
    // invigilator may grant extra time after a restart.
    if (options.limitMs || options.extraMs)
        session_->setTimeLimit(options.limitMs.value_or(session_->state().timeLimitMs),
                               options.extraMs.value_or(session_->state().extraTimeMs));

    saver_ = std::make_unique<Autosaver>(std::move(store), nullptr, clocks_.epochMs);
    ExamScreenOptions screen;
    screen.instructions = options.instructions;
    window_ = std::make_unique<ExamWindow>(*session_, screen);
    time_ = std::make_unique<TimeKeeper>(*session_, clocks_.monotonicMs);
    help_ = new HelpOverlay(window_->helpAnchor(), window_->shortcuts());

    session_->onChange([this] {
        window_->refresh();
        emit sessionChanged(session_->state().revision);
        saver_->schedule(session_->state());
    });
    connect(saver_.get(), &Autosaver::saved, window_.get(), [this](quint64, qint64 epochMs) {
        window_->setLastSaved(QDateTime::fromMSecsSinceEpoch(epochMs));
        window_->setSaveProblem(QString());
    });
    connect(saver_.get(), &Autosaver::failed, window_.get(), [this](const QString& message) {
        window_->setSaveProblem(message);
        Announcer::announce(window_.get(), message);
    });
    connect(time_.get(), &TimeKeeper::remainingChanged, window_.get(), [this](qint64 ms) { window_->setRemaining(ms); });
    connect(time_.get(), &TimeKeeper::warning, window_.get(), [this](int minutes) {
        const QString text = TimeKeeper::warningText(minutes);
        window_->showNotice(text);
        Announcer::announce(window_.get(), text);
    });
    connect(time_.get(), &TimeKeeper::expired, this, [this] { handIn(true); });
    connect(window_.get(), &ExamWindow::handInRequested, this, &ExamApp::openReview);
    connect(window_.get(), &ExamWindow::reviewRequested, this, &ExamApp::openReview);
    window_->confirmClose = [this] {
        if (!exam::confirmClose(window_.get(), *session_)) return false;
        saver_->schedule(session_->state());
        saver_->flush();
        return true;
    };
    auto* timeSave = new QTimer(this);
    connect(timeSave, &QTimer::timeout, this, [this] {
        if (!session_->state().handedIn) saver_->schedule(session_->state());
    });
    timeSave->start(kTimeSaveIntervalMs);

    if (!loaded.problems.empty()) window_->showNotice(joined(loaded.problems));
    if (session_->state().handedIn) {
        std::string bytes;
        QFile report(QString::fromStdString(reportPath()));
        if (report.open(QIODevice::ReadOnly)) bytes = report.readAll().toStdString();
        showReceipt(bytes, bytes.empty() ? tr("The results report was not found; it can be written again from the session.")
                                         : QString());
        return;
    }
    window_->setRemaining(time_->remainingMs());
    saver_->schedule(session_->state());  // a new session is on disk before the first answer
    time_->start();
}

ExamApp::~ExamApp() {
    // The window and the time keeper still point at the session; the saver writes what is left.
    time_.reset();
    window_.reset();
    saver_.reset();
}

std::string ExamApp::reportPath() const { return directory_ + "/results.xml"; }

std::int64_t ExamApp::now() const {
    return clocks_.epochMs ? clocks_.epochMs() : QDateTime::currentMSecsSinceEpoch();
}

void ExamApp::openReview() {
    if (session_->state().handedIn) return;
    if (review_) {
        review_->raise();
        review_->activateWindow();
        return;
    }
    review_ = new ReviewDialog(*session_, window_.get());
    review_->setAttribute(Qt::WA_DeleteOnClose);
    connect(review_, &ReviewDialog::goToQuestion, this, [this](int index) { session_->goTo(index); });
    connect(review_, &ReviewDialog::handInConfirmed, this, [this] { handIn(false); });
    review_->open();
}

void ExamApp::handIn(bool timeUp) {
    if (session_->state().handedIn) return;
    time_->stop();
    // The receipt must be in sight: nothing the candidate opened stays over it.
    if (review_) review_->close();
    help_->dismiss();
    session_->handIn(now());
    saver_->flush();
    std::string bytes;
    QString problem;
    try {
        bytes = writeReport(*session_, reportPath(), now());
    } catch (const std::exception& e) {
        problem = tr("The results report could not be written (%1). Your answers are kept in the session.")
                      .arg(QString::fromStdString(e.what()));
    }
    showReceipt(bytes, problem);
    const QString why = timeUp ? tr("Time is up. Your answers have been handed in.")
                               : tr("Your answers have been handed in.");
    window_->showNotice(problem.isEmpty() ? why : why + u' ' + problem);
    Announcer::announce(window_.get(), why);
}

void ExamApp::showReceipt(const std::string& reportBytes, const QString& problem) {
    auto* receipt = new ReceiptView(*session_, QString::fromStdString(reportPath()), QByteArray::fromStdString(reportBytes));
    connect(receipt, &ReceiptView::closeRequested, window_.get(), &QWidget::close);
    window_->lock(receipt);
    if (!problem.isEmpty()) window_->showNotice(problem);
}

}  // namespace talvik::exam
