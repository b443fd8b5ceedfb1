// Saves the candidate's session on a thread of its own, so that the screen never waits
// for the disk. The screen calls schedule() after every change; the worker always writes
// the newest state it has been given, one write at a time, so a burst of changes costs
// one or two writes rather than one each.
#pragma once

#include <QObject>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "session/ExamSession.h"
#include "session/SessionStore.h"

namespace talvik::exam {

class Autosaver : public QObject {
    Q_OBJECT
public:
    // Milliseconds since the epoch, for the `saved` signal.
    using Clock = std::function<std::int64_t()>;

    explicit Autosaver(SessionStore store, QObject* parent = nullptr, Clock clock = {});
    // Writes what is still scheduled, then stops the worker.
    ~Autosaver() override;
    Autosaver(const Autosaver&) = delete;
    Autosaver& operator=(const Autosaver&) = delete;

    // Copies the state and wakes the worker; never waits for a write.
    void schedule(const SessionState& state);
    // Waits until the newest scheduled state is on disk (a failed one is tried once more).
    // True when it is; false when its save failed.
    bool flush();

    std::uint64_t lastSavedRevision() const;
    const SessionStore& store() const { return store_; }
    // After a failed save with no newer change, the worker tries again after this long.
    void setRetryDelay(std::chrono::milliseconds delay);

signals:
    // Emitted on the worker thread; receivers in the screen's thread get them queued.
    void saved(quint64 revision, qint64 epochMs);
    void failed(QString message);

private:
    struct Job {
        SessionState state;
        std::uint64_t sequence = 0;  // which schedule() it came from
    };

    void run();

    SessionStore store_;
    Clock clock_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;  // the worker: work or stop
    std::condition_variable done_;  // flush: a write ended
    std::optional<Job> pending_;    // the newest state not yet taken by the worker
    std::optional<Job> unsaved_;    // a state whose save failed, kept to try again
    std::uint64_t scheduled_ = 0;   // sequence of the newest schedule()
    std::uint64_t attempted_ = 0;   // sequence of the last write that ended
    std::uint64_t written_ = 0;     // sequence of the last write that succeeded
    std::uint64_t savedRevision_ = 0;
    std::chrono::milliseconds retryDelay_{1000};
    bool stop_ = false;
    std::thread worker_;  // last: starts once everything above exists
};

}  // namespace talvik::exam
