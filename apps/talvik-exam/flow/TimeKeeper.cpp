#include "flow/TimeKeeper.h"

#include <QElapsedTimer>
#include <memory>

namespace talvik::exam {

namespace {

constexpr int kPollMs = 200;

TimeKeeper::Clock machineClock() {
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->elapsed(); };
}

}  // namespace

TimeKeeper::TimeKeeper(ExamSession& session, Clock clock, QObject* parent)
    : QObject(parent), session_(session), clock_(clock ? std::move(clock) : machineClock()) {
    timer_.setInterval(kPollMs);
    connect(&timer_, &QTimer::timeout, this, &TimeKeeper::poll);
}

void TimeKeeper::start() {
    if (running_ || session_.state().handedIn) return;
    running_ = true;
    startedAt_ = clock_();
    usedBefore_ = session_.state().elapsedMs;
    timer_.start();
    poll();
}

void TimeKeeper::stop() {
    if (!running_) return;
    poll();
    running_ = false;
    timer_.stop();
}

void TimeKeeper::poll() {
    if (!running_) return;
    if (session_.state().handedIn) {
        running_ = false;
        timer_.stop();
        return;
    }
    session_.setElapsed(usedBefore_ + (clock_() - startedAt_), false);
    const qint64 left = session_.remainingMs();
    if (left < 0) return;

    const qint64 second = (left + 999) / 1000;
    if (second != shownSecond_) {
        shownSecond_ = second;
        emit remainingChanged(left);
    }

    // A threshold counts only for a test longer than it: a five-minute test does not
    // start with "5 minutes left". Time granted later arms a passed threshold again.
    const qint64 allowed = session_.state().timeLimitMs + session_.state().extraTimeMs;
    int due = -1;
    for (std::size_t k = 0; k < std::size(kWarningMinutes); ++k) {
        const qint64 threshold = qint64{kWarningMinutes[k]} * 60'000;
        if (left > threshold) {
            warned_[k] = false;
        } else if (!warned_[k] && allowed > threshold) {
            warned_[k] = true;
            due = kWarningMinutes[k];  // the thresholds run from long to short
        }
    }
    if (left > 0) expired_ = false;
    // Passing several thresholds at once (a resumed session, a machine woken from sleep)
    // says only the most urgent; at expiry the expiry says it all.
    if (due > 0 && left > 0) emit warning(due);
    if (left == 0 && !expired_) {
        expired_ = true;
        emit expired();
    }
}

QString TimeKeeper::format(qint64 ms) {
    if (ms < 0) return {};
    const qint64 total = (ms + 999) / 1000;
    const qint64 hours = total / 3600;
    const qint64 minutes = total / 60 % 60;
    const qint64 seconds = total % 60;
    if (hours > 0)
        return QStringLiteral("%1:%2:%3").arg(hours).arg(minutes, 2, 10, QLatin1Char('0')).arg(seconds, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(minutes).arg(seconds, 2, 10, QLatin1Char('0'));
}

QString TimeKeeper::warningText(int minutes) {
    return minutes == 1 ? tr("1 minute left") : tr("%1 minutes left").arg(minutes);
}

}  // namespace talvik::exam
