#include "platform/calibration.h"

#include <gtest/gtest.h>

#include "fakes/fake_clock.h"

namespace velora {
namespace {

// The loop is timed by two readings of the clock it is given, one on each side of it.
TEST(CalibrationTest, TimesTheLoopOnTheClockItIsGiven) {
    testing::FakeClock clock;
    clock.autoAdvance = 0.01;
    const LoopTiming here = timeCountingLoop(clock);
    EXPECT_NEAR(here.end - here.start, 0.01, 1e-9);
}

}  // namespace
}  // namespace velora
