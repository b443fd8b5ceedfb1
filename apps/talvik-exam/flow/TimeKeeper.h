// Counts the candidate's time against the session's limit (limit plus extra time), from
// the time already used when the session was resumed. Time runs on while dialogs are
// open, as in an exam room; it stands still only while the program is not running, since
// the session keeps the time used.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <QtGlobal>
#include <functional>
#include <iterator>

#include "session/ExamSession.h"

namespace talvik::exam {

class TimeKeeper : public QObject {
    Q_OBJECT
public:
    using Clock = std::function<qint64()>;  // monotonic milliseconds

    // Without a clock, a monotonic timer of the machine's.
    explicit TimeKeeper(ExamSession& session, Clock clock = {}, QObject* parent = nullptr);

    // Starts counting from the time the session has used so far, and reports at once what
    // is due: the time left and a warning or expiry already reached.
    void start();
    // Stops counting (after hand-in); the session keeps the time used up to now.
    void stop();
    bool running() const { return running_; }

    // Brings the session's time used up to the clock and sends what became due since.
    // The timer calls it a few times a second.
    void poll();

    // Time left in milliseconds, 0 when up; -1 when the test has no limit.
    qint64 remainingMs() const { return session_.remainingMs(); }

    // Time as a countdown shows it, rounded up to whole seconds so that "0:00" means
    // the time is up: "1:02:03", "12:34", "0:59". Empty for a negative time.
    static QString format(qint64 ms);
    // What a warning says, to be shown or announced: "5 minutes left", "1 minute left".
    static QString warningText(int minutes);

    // Warnings are given at these many minutes left.
    static constexpr int kWarningMinutes[] = {5, 1};

signals:
    // The time left, whenever the second shown changes.
    void remainingChanged(qint64 ms);
    // Once per threshold while the time left passes it.
    void warning(int minutes);
    // Once when the time is up.
    void expired();

private:
    ExamSession& session_;
    Clock clock_;
    QTimer timer_;
    bool running_ = false;
    qint64 startedAt_ = 0;     // the clock when counting started
    qint64 usedBefore_ = 0;    // the session's time used then
    qint64 shownSecond_ = -1;  // the second last reported, -1 before any
    bool warned_[std::size(kWarningMinutes)] = {};
    bool expired_ = false;
};

}  // namespace talvik::exam
