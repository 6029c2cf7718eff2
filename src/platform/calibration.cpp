#include "calibration.h"

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

constexpr double kCalibrationIterations = 10'000'001;

}  // namespace

double countEmptyLoop(double iterations) {
    double counter = 0;
    for (; counter < iterations; counter += 1) keepCounting(counter);
    return counter;
}

LoopTiming timeCountingLoop(const Clock& clock) {
    LoopTiming timing;
    timing.start = clock.monotonicSeconds();
    countEmptyLoop(kCalibrationIterations);
    timing.end = clock.monotonicSeconds();
    return timing;
}

}  // namespace velora
