// The pacing delay after every byte sent to the sign: its real length over many calls and the
// CPU time it burns. It must never be shorter than 2.0 ms; the median should stay below 2.2 ms,
// and less than a quarter of the wait should be spent spinning.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "core/modulo1.h"
#include "core/pacing.h"
#include "core/services.h"
#include "platform/calibration.h"
#include "platform/system_clock.h"

namespace {

double processCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

}  // namespace

int main(int argc, char* argv[]) {
    const int calls = argc > 1 ? std::atoi(argv[1]) : 5000;
    velora::SystemClock clock;

    // The start-up calibration, for reference.
    const double calibrationStart = clock.monotonicSeconds();
    velora::countEmptyLoop(10'000'001);
    const double calibration = clock.monotonicSeconds() - calibrationStart;

    std::vector<double> lengths;
    lengths.reserve(static_cast<std::size_t>(calls));
    const double cpuStart = processCpuSeconds();
    const double wallStart = clock.monotonicSeconds();
    for (int i = 0; i < calls; ++i) {
        const double start = clock.monotonicSeconds();
        clock.wait(velora::kPacingInterval);
        lengths.push_back(clock.monotonicSeconds() - start);
    }
    const double wall = clock.monotonicSeconds() - wallStart;
    const double cpu = processCpuSeconds() - cpuStart;

    std::sort(lengths.begin(), lengths.end());
    const double ms = 1000.0;
    std::printf("calibration loop: %.1f ms (DelayLoopCount %.0f)\n", calibration * ms,
                std::floor(20000 / calibration));
    std::printf(
        "pacing delay over %d calls: min %.4f ms, median %.4f ms, p99 %.4f ms, max %.4f ms\n",
        calls, lengths.front() * ms, lengths[lengths.size() / 2] * ms,
        lengths[lengths.size() * 99 / 100] * ms, lengths.back() * ms);
    std::printf("CPU per call: %.4f ms (%.1f%% of the wait)\n", cpu / calls * ms,
                100.0 * cpu / wall);
    const bool ok = lengths.front() >= velora::kPacingInterval &&
                    lengths[lengths.size() / 2] < 0.0022 && cpu / wall < 0.25;
    std::printf("%s\n", ok ? "targets met" : "targets MISSED");
    return ok ? 0 : 1;
}
