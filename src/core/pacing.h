#pragma once

#include <functional>

#include "modulo1.h"
#include "services.h"

namespace velora {

// The gap the sign needs after every byte it receives, in seconds.
inline constexpr double kPacingInterval = 0.002;

// Two readings of the monotonic clock, in seconds, taken before and after the start-up's
// counting loop of 10,000,001 empty iterations. The loop itself runs in the platform layer,
// where threads and the real clock live; the model only turns its timing into a count.
struct LoopTiming {
    double start = 0;
    double end = 0;
};

// Where the editor's calibration gets its loop timing from. The desktop program times the loop on
// the system's clock once its window is up; tests hand in readings of a fake clock.
using LoopTimingSource = std::function<LoopTiming()>;

// Stores in DelayLoopCount the iterations of a 2 ms delay, from the timing of the counting loop.
// A loop that took no time is a division by zero (11), reported through ReportFatalError, and
// DelayLoopCount stays as it was.
void CalibrateDelay(Modulo1& state, Services& services, const LoopTiming& timing);

}  // namespace velora
