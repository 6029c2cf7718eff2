#pragma once

#include <thread>

#include "core/clock.h"
#include "core/pacing.h"

namespace velora {

// Runs `iterations` empty iterations that the compiler may not remove. Returns the last counter
// value so that callers can check it was counted.
double countEmptyLoop(double iterations);

// Times the start-up's counting loop of 10,000,001 iterations on `clock`, here and now.
LoopTiming timeCountingLoop(const Clock& clock);

// Times the counting loop on a thread of its own, from construction on, so that the program can
// build its windows meanwhile instead of holding them up for the whole loop. `clock` must
// outlive it.
class CalibrationAhead {
public:
    explicit CalibrationAhead(const Clock& clock);
    CalibrationAhead(const CalibrationAhead&) = delete;
    CalibrationAhead& operator=(const CalibrationAhead&) = delete;
    ~CalibrationAhead();

    // Waits for the loop to end; its timing. Every call answers the same readings.
    LoopTiming timing();

private:
    LoopTiming m_timing;
    std::thread m_thread;
};

}  // namespace velora
