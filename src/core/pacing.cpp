#include "pacing.h"

#include <chrono>
#include <cmath>
#include <thread>

#include "fatal_error.h"

namespace velora {
namespace {

// Keeps the optimiser from dropping or folding the counting loop.
inline void keepCounting(double& counter) {
#if defined(__GNUC__) || defined(__clang__)
    asm volatile("" : "+x"(counter));
#else
    volatile double sink = counter;
    counter = sink;
#endif
}

// The sleep of the operating system can overshoot by a few tens of microseconds; the last part
// of a wait is spun so that it ends on time.
constexpr auto kSpinMargin = std::chrono::microseconds(250);

}  // namespace

double countEmptyLoop(double iterations) {
    double counter = 0;
    for (; counter < iterations; counter += 1) keepCounting(counter);
    return counter;
}

void CalibrateDelay(Modulo1& state, Services& services) {
    trapErrors(services, [&] {
        const double start = services.clock.monotonicSeconds();
        countEmptyLoop(10'000'001);
        const double elapsed = services.clock.monotonicSeconds() - start;
        if (elapsed == 0) throw RunTimeError(kDivisionByZero);
        state.DelayLoopCount = std::floor(20000 / elapsed);
    });
}

void preciseWait(double seconds) {
    using Clock = std::chrono::steady_clock;
    if (!(seconds > 0)) return;
    const auto deadline =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    const auto sleepUntil = deadline - kSpinMargin;
    if (Clock::now() < sleepUntil) std::this_thread::sleep_until(sleepUntil);
    while (Clock::now() < deadline) {
    }
}

}  // namespace velora
