#include "cli/interrupt_signal.h"

#include <QSocketNotifier>

#include <atomic>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace larkspan {
namespace {

// Written by the signal handler, read by the event loop: the only async-signal-safe hand-over.
int g_signalPipe[2] = {-1, -1};
// Set by the signal handler for work that cannot wait for the event loop.
std::atomic<bool> g_raised{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

extern "C" void handleInterrupt(int) {
    g_raised.store(true, std::memory_order_relaxed);
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_signalPipe[0], &byte, 1);
}

void setHandler(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

}  // namespace

InterruptSignal::InterruptSignal(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) {
        return;  // without the pair an interrupt simply ends the process, as by default
    }
    g_raised.store(false, std::memory_order_relaxed);
    m_notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const auto read = ::read(g_signalPipe[1], &byte, 1);
        emit interrupted();
    });
    setHandler(handleInterrupt);
}

bool InterruptSignal::isRaised() const {
    return g_raised.load(std::memory_order_relaxed);
}

InterruptSignal::~InterruptSignal() {
    if (m_notifier == nullptr) {
        return;
    }
    setHandler(SIG_DFL);
    ::close(g_signalPipe[0]);
    ::close(g_signalPipe[1]);
    g_signalPipe[0] = g_signalPipe[1] = -1;
}

}  // namespace larkspan
