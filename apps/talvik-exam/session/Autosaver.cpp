#include "session/Autosaver.h"

#include <QDateTime>
#include <utility>

namespace talvik::exam {

Autosaver::Autosaver(SessionStore store, QObject* parent, Clock clock)
    : QObject(parent),
      store_(std::move(store)),
      clock_(clock ? std::move(clock) : Clock([] { return QDateTime::currentMSecsSinceEpoch(); })),
      worker_([this] { run(); }) {}

Autosaver::~Autosaver() {
    flush();
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

void Autosaver::schedule(const SessionState& state) {
    Job job{state, 0};  // the copy is made before taking the lock
    std::optional<Job> replaced;
    std::optional<Job> superseded;
    {
        const std::lock_guard lock(mutex_);
        job.sequence = ++scheduled_;
        replaced = std::exchange(pending_, std::move(job));
        superseded = std::exchange(unsaved_, std::nullopt);
    }
    wake_.notify_one();
    // `replaced` and `superseded` are freed here, outside the lock.
}

bool Autosaver::flush() {
    std::unique_lock lock(mutex_);
    if (unsaved_ && !pending_) {
        unsaved_->sequence = ++scheduled_;
        pending_ = std::exchange(unsaved_, std::nullopt);
        wake_.notify_one();
    }
    const std::uint64_t target = scheduled_;
    done_.wait(lock, [&] { return attempted_ >= target; });
    return written_ >= target;
}

std::uint64_t Autosaver::lastSavedRevision() const {
    const std::lock_guard lock(mutex_);
    return savedRevision_;
}

void Autosaver::setRetryDelay(std::chrono::milliseconds delay) {
    {
        const std::lock_guard lock(mutex_);
        retryDelay_ = delay;
    }
    wake_.notify_one();
}

void Autosaver::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        while (!pending_ && !stop_) {
            if (!unsaved_) {
                wake_.wait(lock);
            } else if (!wake_.wait_for(lock, retryDelay_, [&] { return pending_ || stop_; })) {
                pending_ = std::exchange(unsaved_, std::nullopt);
            }
        }
        if (!pending_) return;  // stopping, nothing left to write
        Job job = std::move(*pending_);
        pending_.reset();
        lock.unlock();

        std::string error;
        try {
            store_.save(job.state);
        } catch (const std::exception& e) {
            error = e.what();
        }
        const std::int64_t when = clock_();
        const std::uint64_t revision = job.state.revision;
        if (error.empty())
            emit saved(revision, when);
        else
            emit failed(QString::fromStdString(error));
        if (error.empty()) job.state = SessionState{};  // freed outside the lock

        lock.lock();
        attempted_ = std::max(attempted_, job.sequence);
        if (error.empty()) {
            written_ = std::max(written_, job.sequence);
            savedRevision_ = revision;
        } else if (!pending_) {
            unsaved_ = std::move(job);
        }
        done_.notify_all();
    }
}

}  // namespace talvik::exam
