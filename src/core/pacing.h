#pragma once

#include "modulo1.h"
#include "services.h"

namespace velora {

// The gap the sign needs after every byte it receives, in seconds.
inline constexpr double kPacingInterval = 0.002;

// Measures how fast this machine runs an empty counting loop of 10,000,001 iterations and stores
// in DelayLoopCount the iterations of a 2 ms delay. Timed on the monotonic clock, so a start-up
// across midnight measures correctly. A clock that did not advance is a division by zero (11),
// reported through ReportFatalError, and DelayLoopCount stays as it was.
void CalibrateDelay(Modulo1& state, Services& services);

// Runs `iterations` empty iterations that the compiler may not remove. Returns the last counter
// value so that callers can check it was counted.
double countEmptyLoop(double iterations);

// Holds the calling thread for at least `seconds` on the monotonic clock: it sleeps for most of
// the interval and spins only at its end, so it is exact without burning a core.
void preciseWait(double seconds);

}  // namespace velora
