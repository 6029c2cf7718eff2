#pragma once

#include "core/clock.h"
#include "core/pacing.h"

namespace velora {

// Runs `iterations` empty iterations that the compiler may not remove. Returns the last counter
// value so that callers can check it was counted.
double countEmptyLoop(double iterations);

// Times the start-up's counting loop of 10,000,001 iterations on `clock`, here and now.
LoopTiming timeCountingLoop(const Clock& clock);

}  // namespace velora
