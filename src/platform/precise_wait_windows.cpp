#include "precise_wait.h"

#include <windows.h>

#include <chrono>

// Older headers lack the flag; Windows 10 (1803) and later know it.
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace velora {
namespace {

using Clock = std::chrono::steady_clock;

// A plain sleep on Windows ends on the system's timer tick, 15.6 ms unless a program asked for
// less, far too coarse for the 2 ms between two bytes to the sign. A high-resolution waitable
// timer wakes within about half a millisecond; the last part of a wait is spun.
constexpr auto kSpinMargin = std::chrono::microseconds(1000);

// One timer for each thread that waits, closed when the thread ends; null where the system has
// no high-resolution timer, and then the whole wait is spun, as the counting loop always did.
class WaitTimer {
public:
    WaitTimer()
        : m_handle(CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                          TIMER_ALL_ACCESS)) {}
    ~WaitTimer() {
        if (m_handle) CloseHandle(m_handle);
    }
    WaitTimer(const WaitTimer&) = delete;
    WaitTimer& operator=(const WaitTimer&) = delete;

    // Sleeps for about `interval`; false when there is no timer to sleep on.
    bool sleep(Clock::duration interval) {
        if (!m_handle) return false;
        // Negative: an interval from now, in units of 100 ns.
        LARGE_INTEGER due;
        due.QuadPart =
            -std::chrono::duration_cast<std::chrono::duration<LONGLONG, std::ratio<1, 10'000'000>>>(
                 interval)
                 .count();
        return SetWaitableTimer(m_handle, &due, 0, nullptr, nullptr, FALSE) &&
               WaitForSingleObject(m_handle, INFINITE) == WAIT_OBJECT_0;
    }

private:
    HANDLE m_handle;
};

}  // namespace

void preciseWait(double seconds) {
    if (!(seconds > 0)) return;
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(seconds));
    const auto sleepUntil = deadline - kSpinMargin;
    thread_local WaitTimer timer;
    if (const auto now = Clock::now(); now < sleepUntil) timer.sleep(sleepUntil - now);
    while (Clock::now() < deadline) {
    }
}

}  // namespace velora
