#include "precise_wait.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <thread>

#if defined(__linux__) || defined(__unix__) || defined(__APPLE__)
#include <time.h>
#define VELORA_POSIX_WAIT 1
#endif
#if defined(__linux__)
#include <sys/prctl.h>
#endif

namespace velora {

#if defined(VELORA_POSIX_WAIT)

namespace {

// The kernel may add its timer slack (50 us by default) to every sleep; a thread that paces
// bytes asks for the least, once.
void tightenTimerSlack() {
#if defined(__linux__)
    thread_local bool tightened = false;
    if (tightened) return;
    tightened = true;
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
}

constexpr long long kNanosecondsPerSecond = 1'000'000'000LL;

long long monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

// Sleeps to an absolute moment on the monotonic clock: a signal that wakes the sleep early does
// not shorten it.
void sleepUntil(long long moment) {
    timespec at{};
    at.tv_sec = static_cast<time_t>(moment / kNanosecondsPerSecond);
    at.tv_nsec = static_cast<long>(moment % kNanosecondsPerSecond);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
    }
}

// How long before its deadline a thread goes to sleep. A wake-up comes some tens of
// microseconds after the moment asked for, more on a busy machine: sleeping all the way to the
// deadline made every 2 ms gap that much longer. The thread sleeps to a margin before it, then
// spins the rest. The margin follows the thread's own wake-ups, two steps up after one that came
// later than the margin and one down after one in time: it settles where about two in three come
// in time, so that the spin and what is left late are both a few microseconds on average.
class WakeMargin {
public:
    long long nanoseconds() const { return m_margin; }
    void note(long long lateness) {
        m_margin += lateness > m_margin ? 2 * kStep : -kStep;
        m_margin = std::clamp(m_margin, 0LL, kLargest);
    }

private:
    static constexpr long long kStep = 1'000;       // 1 us
    static constexpr long long kLargest = 100'000;  // never more spin than this
    long long m_margin = 50'000;
};

}  // namespace

void preciseWait(double seconds) {
    if (!(seconds > 0)) return;
    tightenTimerSlack();
    const long long start = monotonicNanoseconds();
    const long long deadline = start + static_cast<long long>(std::ceil(seconds * 1e9));
    thread_local WakeMargin margin;
    const long long wake = deadline - margin.nanoseconds();
    if (wake > start) {
        sleepUntil(wake);
        margin.note(monotonicNanoseconds() - wake);
    }
    // The deadline is checked on the clock itself: the wait never ends before it.
    while (monotonicNanoseconds() < deadline) {
    }
}

#else

void preciseWait(double seconds) {
    if (!(seconds > 0)) return;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(seconds));
    while (Clock::now() < deadline) std::this_thread::sleep_until(deadline);
}

#endif

}  // namespace velora
