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

    CalibrationAhead ahead(clock);
    const LoopTiming first = ahead.timing();
    EXPECT_NEAR(first.end - first.start, 0.01, 1e-9);
    EXPECT_GT(first.start, here.end - 1e-9);
    // Asked again, it answers the same measurement instead of counting once more.
    const LoopTiming again = ahead.timing();
    EXPECT_DOUBLE_EQ(again.start, first.start);
    EXPECT_DOUBLE_EQ(again.end, first.end);
}

}  // namespace
}  // namespace velora
