#include "precise_wait.h"

#include <cerrno>
#include <chrono>
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

}  // namespace

void preciseWait(double seconds) {
    if (!(seconds > 0)) return;
    tightenTimerSlack();
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    const auto whole = static_cast<long long>(seconds);
    long long nanoseconds =
        deadline.tv_nsec + static_cast<long long>((seconds - static_cast<double>(whole)) * 1e9);
    deadline.tv_sec += static_cast<time_t>(whole + nanoseconds / 1000000000LL);
    deadline.tv_nsec = static_cast<long>(nanoseconds % 1000000000LL);
    // An absolute deadline: a signal that wakes the sleep early does not lengthen the wait, and
    // the wake-up is never before the deadline.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
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
