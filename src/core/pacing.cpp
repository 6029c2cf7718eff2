#include "pacing.h"

#include <cmath>

#include "fatal_error.h"

namespace velora {

void CalibrateDelay(Modulo1& state, Services& services, const LoopTiming& timing) {
    trapErrors(services, [&] {
        const double elapsed = timing.end - timing.start;
        if (elapsed == 0) throw RunTimeError(kDivisionByZero);
        state.DelayLoopCount = std::floor(20000 / elapsed);
    });
}

}  // namespace velora
