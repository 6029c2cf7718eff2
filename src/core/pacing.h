#pragma once

#include <thread>

#include "clock.h"
#include "modulo1.h"
#include "services.h"

namespace velora {

// The gap the sign needs after every byte it receives, in seconds.
inline constexpr double kPacingInterval = 0.002;

// Measures how fast this machine runs an empty counting loop of 10,000,001 iterations and stores
// in DelayLoopCount the iterations of a 2 ms delay. Timed on the monotonic clock, so a start-up
// across midnight measures correctly. A clock that did not advance is a division by zero (11),
// reported through ReportFatalError, and DelayLoopCount stays as it was. When a CalibrationAhead
// is alive and not yet taken, its readings are used instead of counting here.
void CalibrateDelay(Modulo1& state, Services& services);

// Times the counting loop of CalibrateDelay on a thread of its own, from construction on, so
// that the program can build its windows meanwhile instead of holding them up for the whole
// loop. The next CalibrateDelay waits for the loop to end and takes its two clock readings;
// later ones count for themselves again. One may be alive at a time; `clock` must outlive it.
class CalibrationAhead {
public:
    explicit CalibrationAhead(const Clock& clock);
    CalibrationAhead(const CalibrationAhead&) = delete;
    CalibrationAhead& operator=(const CalibrationAhead&) = delete;
    ~CalibrationAhead();

    // Waits for the loop to end; the readings before and after it on the clock.
    void readings(double& start, double& end);

private:
    double m_start = 0;
    double m_end = 0;
    std::thread m_thread;
};

// Runs `iterations` empty iterations that the compiler may not remove. Returns the last counter
// value so that callers can check it was counted.
double countEmptyLoop(double iterations);

// Holds the calling thread for at least `seconds` on the monotonic clock: it sleeps for most of
// the interval and spins only at its end, so it is exact without burning a core.
void preciseWait(double seconds);

}  // namespace velora
