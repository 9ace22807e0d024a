#include "browser/local_wait.h"

#include "browser/wait_fibers.h"

namespace larkspan::browser {

LocalWait::LocalWait(QObject* watched) : m_watched(watched) {
    m_timeLimit.setSingleShot(true);
    connect(&m_timeLimit, &QTimer::timeout, this, [this] { end(Outcome::TimedOut); });
    if (watched == nullptr) {
        m_outcome = Outcome::WatchedObjectDestroyed;
    } else {
        connect(watched, &QObject::destroyed, this,
                [this] { end(Outcome::WatchedObjectDestroyed); });
    }
}

void LocalWait::setTimeLimit(std::chrono::milliseconds limit) {
    m_timeLimit.start(limit);
}

void LocalWait::clearTimeLimit() {
    m_timeLimit.stop();
}

void LocalWait::finish() {
    end(Outcome::Finished);
}

void LocalWait::end(Outcome outcome) {
    if (m_outcome) {
        return;
    }
    m_outcome = outcome;
    if (m_fiber != nullptr) {
        m_fibers->wake(m_fiber);
    } else {
        m_loop.quit();
    }
}

LocalWait::Outcome LocalWait::exec() {
    if (WaitFibers* const fibers = WaitFibers::current(); fibers != nullptr) {
        m_fibers = fibers;
        m_fiber = fibers->runningFiber();
        while (!m_outcome && !fibers->quitting()) {
            fibers->suspend();
        }
        m_fiber = nullptr;
    } else if (!m_outcome) {
        m_loop.exec();
    }
    // Leaving the loop with nothing settled means the application told every loop to quit.
    return m_outcome.value_or(Outcome::ApplicationQuit);
}

}  // namespace larkspan::browser
