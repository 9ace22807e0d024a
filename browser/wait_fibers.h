#pragma once

#include <QEventLoop>

#include <exception>
#include <functional>
#include <memory>
#include <vector>

namespace larkspan::browser {

class Fiber;

// Runs several jobs at once on the one thread, each on a stack of its own. A job is ordinary
// blocking code: where it would block (a LocalWait), the others run instead, and it goes on once
// what it waits for has happened. So several page chains can each wait on their own page while
// the engine loads them all.
//
// Only waits switch between jobs, so a job's code between two waits runs undisturbed. A job must
// not start a modal dialog or an event loop of its own; LocalWait is the way to wait.
class WaitFibers {
public:
    WaitFibers();
    ~WaitFibers();
    WaitFibers(const WaitFibers&) = delete;
    WaitFibers& operator=(const WaitFibers&) = delete;

    void add(std::function<void()> job);

    // Runs the jobs until every one has ended. When the application quits meanwhile (an
    // interrupt), every wait of the jobs ends with ApplicationQuit, now and later, so they wind
    // up. An exception a job leaves is thrown again here once all have ended.
    void runAll();

    // The group whose job is running; null outside the jobs.
    static WaitFibers* current();
    // Whether the application quit during runAll(): the jobs' waits end at once.
    bool quitting() const { return m_quitting; }

    // Asked by a wait in a job: lets the other jobs run until wake() is called for this one.
    void suspend();
    // The waiting job may go on; called from anywhere, any number of times.
    void wake(Fiber* fiber);
    Fiber* runningFiber() const { return m_running; }

private:
    void resume(Fiber& fiber);

    std::vector<std::unique_ptr<Fiber>> m_fibers;
    std::vector<Fiber*> m_ready;
    Fiber* m_running = nullptr;
    QEventLoop m_events;
    bool m_quitting = false;
    std::exception_ptr m_failure;
};

}  // namespace larkspan::browser
