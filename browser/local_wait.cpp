#include "browser/local_wait.h"

namespace larkspan::browser {

LocalWait::LocalWait(QObject* watched) : m_watched(watched) {
    m_timeLimit.setSingleShot(true);
    connect(&m_timeLimit, &QTimer::timeout, this, [this] { end(Outcome::TimedOut); });
    if (watched == nullptr) {
        m_outcome = Outcome::WatchedObjectDestroyed;
    } else {
        connect(watched, &QObject::destroyed, this, [this] { end(Outcome::WatchedObjectDestroyed); });
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
    m_loop.quit();
}

LocalWait::Outcome LocalWait::exec() {
    if (!m_outcome) {
        m_loop.exec();
    }
    // Leaving the loop with nothing settled means the application told every loop to quit.
    return m_outcome.value_or(Outcome::ApplicationQuit);
}

}  // namespace larkspan::browser
