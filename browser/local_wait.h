#pragma once

#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <optional>

namespace larkspan::browser {

class Fiber;
class WaitFibers;

// Keeps the event loop running until the awaited thing has happened. The thread sleeps in the
// event dispatcher meanwhile and every other handler of the program may run, the way the user
// expects of a browser that is loading. exec() is the one place where the program blocks on the
// engine; everything else that waits goes through it. In a job of WaitFibers it lets the other
// jobs run instead.
class LocalWait : public QObject {
    Q_OBJECT

public:
    enum class Outcome {
        Finished,
        TimedOut,
        WatchedObjectDestroyed,
        ApplicationQuit,
    };

    // The wait ends early when `watched` is destroyed (or already is null).
    explicit LocalWait(QObject* watched);

    // Ends the wait with TimedOut once `limit` has passed from this call on; replaces an earlier
    // limit. Without a limit the wait has none.
    void setTimeLimit(std::chrono::milliseconds limit);
    void clearTimeLimit();

    // Ends the wait with Finished. May come before exec(), which then returns at once.
    void finish();

    Outcome exec();

private:
    void end(Outcome outcome);

    QPointer<QObject> m_watched;
    QEventLoop m_loop;
    // The group of the job waiting, while it waits.
    WaitFibers* m_fibers = nullptr;
    Fiber* m_fiber = nullptr;
    QTimer m_timeLimit;
    std::optional<Outcome> m_outcome;
};

}  // namespace larkspan::browser
