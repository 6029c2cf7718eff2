#include "precise_wait.h"

#include <chrono>
#include <thread>

namespace velora {
namespace {

// The sleep of the operating system can overshoot by a few tens of microseconds; the last part
// of a wait is spun so that it ends on time.
constexpr auto kSpinMargin = std::chrono::microseconds(250);

}  // namespace

void preciseWait(double seconds) {
    using Clock = std::chrono::steady_clock;
    if (!(seconds > 0)) return;
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(seconds));
    const auto sleepUntil = deadline - kSpinMargin;
    if (Clock::now() < sleepUntil) std::this_thread::sleep_until(sleepUntil);
    while (Clock::now() < deadline) {
    }
}

}  // namespace velora
