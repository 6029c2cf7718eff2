#include "pacing.h"

#include <atomic>
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

constexpr double kCalibrationIterations = 10'000'001;

// The measurement waiting for the start-up's CalibrateDelay, if one was started.
std::atomic<CalibrationAhead*> pendingCalibration{nullptr};

}  // namespace

double countEmptyLoop(double iterations) {
    double counter = 0;
    for (; counter < iterations; counter += 1) keepCounting(counter);
    return counter;
}

CalibrationAhead::CalibrationAhead(const Clock& clock) {
    m_thread = std::thread([this, &clock] {
        m_start = clock.monotonicSeconds();
        countEmptyLoop(kCalibrationIterations);
        m_end = clock.monotonicSeconds();
    });
    pendingCalibration.store(this);
}

CalibrationAhead::~CalibrationAhead() {
    CalibrationAhead* self = this;
    pendingCalibration.compare_exchange_strong(self, nullptr);
    if (m_thread.joinable()) m_thread.join();
}

void CalibrationAhead::readings(double& start, double& end) {
    if (m_thread.joinable()) m_thread.join();
    start = m_start;
    end = m_end;
}

void CalibrateDelay(Modulo1& state, Services& services) {
    trapErrors(services, [&] {
        double start = 0;
        double end = 0;
        if (CalibrationAhead* ahead = pendingCalibration.exchange(nullptr)) {
            ahead->readings(start, end);
        } else {
            start = services.clock.monotonicSeconds();
            countEmptyLoop(kCalibrationIterations);
            end = services.clock.monotonicSeconds();
        }
        const double elapsed = end - start;
        if (elapsed == 0) throw RunTimeError(kDivisionByZero);
        state.DelayLoopCount = std::floor(20000 / elapsed);
    });
}

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
