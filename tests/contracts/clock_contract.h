#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "core/clock.h"

namespace velora::testing {

// One implementation of Clock under test: a name for the report and a way to make one.
struct ClockMaker {
    const char* name;
    std::function<std::unique_ptr<Clock>()> make;
};

inline void PrintTo(const ClockMaker& maker, std::ostream* out) {
    *out << maker.name;
}

// What every clock promises, fakes included, so that a fake cannot drift from the real thing.
// A test file instantiates it with its clocks:
//     INSTANTIATE_TEST_SUITE_P(Clocks, ClockContractTest, ::testing::Values(ClockMaker{...}),
//                              [](const auto& row) { return std::string(row.param.name); });
class ClockContractTest : public ::testing::TestWithParam<ClockMaker> {};

// The pacing gap after each byte to the sign is a wait: one that ended early could flood it.
TEST_P(ClockContractTest, NoWaitEndsEarly) {
    // Readings are seconds in a double, so the difference of two can be off by its last bits;
    // a nanosecond is far below any gap the sign could notice.
    constexpr double kRounding = 1e-9;
    const std::unique_ptr<Clock> clock = GetParam().make();
    for (const double length : {0.0, 0.0001, 0.002, 0.002, 0.0125, 0.03}) {
        SCOPED_TRACE(length);
        const double before = clock->monotonicSeconds();
        clock->wait(length);
        EXPECT_GE(clock->monotonicSeconds() - before, length - kRounding);
    }
}

TEST_P(ClockContractTest, ANegativeWaitReturnsAndTheReadingNeverGoesBack) {
    const std::unique_ptr<Clock> clock = GetParam().make();
    double last = clock->monotonicSeconds();
    clock->wait(-1);
    for (int i = 0; i < 1000; ++i) {
        const double now = clock->monotonicSeconds();
        ASSERT_GE(now, last);
        last = now;
    }
}

}  // namespace velora::testing
