#include "core/pacing.h"

#include <gtest/gtest.h>

#include "fakes/fake_services.h"

namespace velora {
namespace {

TEST(CalibrateDelayTest, DerivesTheLoopCountOfTwoMilliseconds) {
    testing::FakeServices fake;
    fake.clock.autoAdvance = 0.04;  // the measuring loop "took" 40 ms
    Modulo1 state;
    CalibrateDelay(state, fake.services);
    EXPECT_DOUBLE_EQ(state.DelayLoopCount, 500000);  // 20000 / 0.04
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

TEST(CalibrateDelayTest, AClockThatDidNotAdvanceIsReportedAsDivisionByZero) {
    testing::FakeServices fake;
    Modulo1 state;
    state.DelayLoopCount = 7;
    CalibrateDelay(state, fake.services);
    EXPECT_DOUBLE_EQ(state.DelayLoopCount, 7);
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_NE(fake.dialogs.messages()[0].find("(11)."), std::string::npos);
}

// The start-up's measurement can be taken ahead on another thread, on a clock of its own.
TEST(CalibrateDelayTest, TakesTheMeasurementStartedAheadOnceThenCountsItself) {
    testing::FakeServices fake;  // its clock stands still: counting here would divide by zero
    testing::FakeClock aheadClock;
    aheadClock.autoAdvance = 0.01;
    Modulo1 state;
    {
        CalibrationAhead ahead(aheadClock);
        CalibrateDelay(state, fake.services);
        EXPECT_DOUBLE_EQ(state.DelayLoopCount, 2000000);  // 20000 / 0.01
        EXPECT_TRUE(fake.dialogs.shown.empty());

        CalibrateDelay(state, fake.services);
        EXPECT_DOUBLE_EQ(state.DelayLoopCount, 2000000);
        ASSERT_EQ(fake.dialogs.messages().size(), 1u);
        EXPECT_NE(fake.dialogs.messages()[0].find("(11)."), std::string::npos);
    }
    // One that ended without being taken leaves nothing behind.
    { CalibrationAhead unused(aheadClock); }
    fake.clock.autoAdvance = 0.04;
    CalibrateDelay(state, fake.services);
    EXPECT_DOUBLE_EQ(state.DelayLoopCount, 500000);
}

TEST(CalibrateDelayTest, AStalledClockAheadIsReportedLikeOneCountedHere) {
    testing::FakeServices fake;
    fake.clock.autoAdvance = 0.04;
    testing::FakeClock stalled;
    Modulo1 state;
    state.DelayLoopCount = 7;
    CalibrationAhead ahead(stalled);
    CalibrateDelay(state, fake.services);
    EXPECT_DOUBLE_EQ(state.DelayLoopCount, 7);
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_NE(fake.dialogs.messages()[0].find("(11)."), std::string::npos);
}

TEST(CountEmptyLoopTest, CountsEveryIteration) {
    EXPECT_DOUBLE_EQ(countEmptyLoop(10'000'001), 10'000'001);
}

}  // namespace
}  // namespace velora
