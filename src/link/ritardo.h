#pragma once

#include "core/clock.h"

namespace velora {

// The pacing gap after a byte handed to the sign: at least kPacingInterval on the monotonic
// clock. The wait no longer rests on DelayLoopCount: a calibration that failed or ran across
// midnight leaves a count of 0 or below, and a gap of nothing would flood the sign.
void Ritardo(Clock& clock);  // "delay"

}  // namespace velora
