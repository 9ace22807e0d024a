#include "browser/wait_fibers.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <sys/mman.h>
#include <ucontext.h>
#include <unistd.h>
#include <utility>

namespace larkspan::browser {
namespace {

// The engine's own code runs on a job's stack when the job calls it. Reserved, not used, until
// touched; a page below it that nothing may touch turns an overflow into a crash on the spot.
constexpr std::size_t kStackSize = std::size_t{8} << 20;

// What a wake ends the waiting loop with: anything else means the application quit.
constexpr int kWoken = 0x5741'4b45;

thread_local WaitFibers* t_current = nullptr;

}  // namespace

class Fiber {
public:
    explicit Fiber(std::function<void()> job) : m_job(std::move(job)) {
        m_guard = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
        void* memory = ::mmap(nullptr, kStackSize + m_guard, PROT_READ | PROT_WRITE,
                              MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (memory == MAP_FAILED) {
            throw std::bad_alloc();
        }
        m_stack = static_cast<char*>(memory);
        ::mprotect(m_stack, m_guard, PROT_NONE);
        ::getcontext(&m_context);
        m_context.uc_stack.ss_sp = m_stack + m_guard;
        m_context.uc_stack.ss_size = kStackSize;
        m_context.uc_link = nullptr;
        const auto address = reinterpret_cast<std::uintptr_t>(this);
        ::makecontext(&m_context, reinterpret_cast<void (*)()>(&Fiber::entry), 2,
                      static_cast<unsigned>(address >> 32), static_cast<unsigned>(address));
    }

    ~Fiber() { ::munmap(m_stack, kStackSize + m_guard); }
    Fiber(const Fiber&) = delete;
    Fiber& operator=(const Fiber&) = delete;

    void switchIn() { ::swapcontext(&m_caller, &m_context); }
    void switchOut() { ::swapcontext(&m_context, &m_caller); }

    bool finished() const { return m_finished; }
    std::exception_ptr failure() const { return m_failure; }
    bool ready = false;

private:
    static void entry(unsigned high, unsigned low) {
        auto* fiber = reinterpret_cast<Fiber*>((std::uintptr_t{high} << 32) | low);
        // Nothing may leave the stack it was thrown on.
        try {
            fiber->m_job();
        } catch (...) {
            fiber->m_failure = std::current_exception();
        }
        fiber->m_finished = true;
        fiber->switchOut();
    }

    std::function<void()> m_job;
    char* m_stack = nullptr;
    std::size_t m_guard = 0;
    ucontext_t m_context{};
    ucontext_t m_caller{};
    bool m_finished = false;
    std::exception_ptr m_failure;
};

WaitFibers::WaitFibers() = default;
WaitFibers::~WaitFibers() = default;

void WaitFibers::add(std::function<void()> job) {
    m_fibers.push_back(std::make_unique<Fiber>(std::move(job)));
    wake(m_fibers.back().get());
}

WaitFibers* WaitFibers::current() {
    return t_current;
}

void WaitFibers::runAll() {
    m_quitting = false;
    const auto unfinished = [this] {
        return std::any_of(m_fibers.begin(), m_fibers.end(),
                           [](const auto& fiber) { return !fiber->finished(); });
    };
    while (unfinished()) {
        if (m_ready.empty()) {
            if (m_quitting) {
                // Every job still waiting sees its wait end.
                for (const auto& fiber : m_fibers) {
                    if (!fiber->finished()) {
                        wake(fiber.get());
                    }
                }
            } else if (m_events.exec() != kWoken && m_ready.empty()) {
                m_quitting = true;
            }
            continue;
        }
        for (Fiber* fiber : std::exchange(m_ready, {})) {
            fiber->ready = false;
            if (!fiber->finished()) {
                resume(*fiber);
            }
        }
    }
    for (const auto& fiber : m_fibers) {
        if (fiber->failure() && !m_failure) {
            m_failure = fiber->failure();
        }
    }
    m_fibers.clear();
    if (m_failure) {
        std::rethrow_exception(std::exchange(m_failure, nullptr));
    }
}

void WaitFibers::resume(Fiber& fiber) {
    WaitFibers* const outer = std::exchange(t_current, this);
    m_running = &fiber;
    fiber.switchIn();
    m_running = nullptr;
    t_current = outer;
}

void WaitFibers::suspend() {
    m_running->switchOut();
}

void WaitFibers::wake(Fiber* fiber) {
    if (!fiber->ready) {
        fiber->ready = true;
        m_ready.push_back(fiber);
    }
    if (m_events.isRunning()) {
        m_events.exit(kWoken);
    }
}

}  // namespace larkspan::browser
